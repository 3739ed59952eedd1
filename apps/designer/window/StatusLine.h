#pragma once
// The line at the designer's foot: the keys that apply on the left, where users look
// for them, and on the right what the designer last did ("Saved page.txt", "Reset
// Appearance.TextColor") and, while contrast problems are marked, how many components
// have one.

#include <string>

#include "platform/toolkit/StatusBar.h"

class TStatusLine : public TStatusBar {
    QELL_CLASS(TStatusLine, TStatusBar)
    static constexpr char Keys[] = "Ctrl+O open   Ctrl+S save   Ctrl+Z undo   Ctrl+F filter   F1 keys";
    explicit TStatusLine(TComponent* AOwner);

    const std::string& Action() const { return FAction; }
    void SetAction(const std::string& Action);
    // The count of components with a failing pair; -1 while none are counted.
    int Problems() const { return FProblems; }
    void SetProblems(int Count);
    // "3 contrast problems", "1 contrast problem", "no contrast problems"; empty at -1.
    std::string ProblemsText() const;

protected:
    void Paint(TCanvas& C) override;

private:
    std::string FAction;
    int FProblems = -1;
};
