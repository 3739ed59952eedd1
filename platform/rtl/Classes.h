#pragma once
// The runtime's object model: components with owners, and string lists.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/SysUtils.h"

class TObject {
public:
    virtual ~TObject() = default;
};

// A callback that takes one text.
using TGetStrProc = std::function<void(const std::string&)>;

class EComponentError : public Exception {
public:
    using Exception::Exception;
};

class EStringListError : public Exception {
public:
    using Exception::Exception;
};

// A named object with an owner. An owner frees what it owns, in reverse order of
// insertion; freeing a component removes it from its owner.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Raises EComponentError on a name that is not an identifier, or that another
    // component of the same owner already has (compared without case). Empty is allowed.
    void SetName(std::string_view NewName);

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(static_cast<size_t>(Index)); }
    // The owned component with this name, ignoring case; nullptr if none.
    TComponent* FindComponent(std::string_view AName) const;

    // The class name as the form resources know it ("TButton").
    virtual std::string ClassName() const { return "TComponent"; }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);

    static bool IsValidIdent(std::string_view S);

    // Handler names the form reader bound, as (property, handler) pairs, so that the
    // writer can write them back.
    std::vector<std::pair<std::string, std::string>> EventBindings;

protected:
    // Called on the owner when one of its components is about to go away.
    virtual void ComponentRemoved(TComponent*) {}

public:
    // Called by the form reader once the whole tree has been read, children first,
    // for values that need their siblings (a page control's active page).
    virtual void Loaded() {}

private:
    TComponent* FOwner = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;
};

// An ordered, unsorted list of texts.
class TStringList : public TObject {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Index checked: EStringListError "List index out of bounds (N)".
    const std::string& Strings(int Index) const;
    void Put(int Index, std::string S);
    const std::string& operator[](int Index) const { return Strings(Index); }
    int Add(std::string S);
    void Insert(int Index, std::string S);
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    // First index of S (exact match), or -1.
    int IndexOf(std::string_view S) const;

private:
    void Check(int Index, int Limit) const;
    std::vector<std::string> FItems;
};
