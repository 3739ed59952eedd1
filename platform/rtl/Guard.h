#pragma once
// Sets a variable for the lifetime of a scope and restores its previous value on every
// way out, exceptions included.

template <typename T>
class TRestoreOnExit {
public:
    TRestoreOnExit(T& Variable, T Value) : FVariable(Variable), FSaved(Variable) { FVariable = Value; }
    ~TRestoreOnExit() { FVariable = FSaved; }
    TRestoreOnExit(const TRestoreOnExit&) = delete;
    TRestoreOnExit& operator=(const TRestoreOnExit&) = delete;

private:
    T& FVariable;
    T FSaved;
};
