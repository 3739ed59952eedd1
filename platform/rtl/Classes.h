#pragma once
// The runtime's object model: objects that know their class, persistent objects with
// published properties, components with owners, and string lists.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Export.h"
#include "platform/rtl/NameIndex.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

// Declares a class's metaclass inside its body: StaticClassInfo(), built by the .cpp
// from the class's Publish function (Publish.h), and ClassInfo() answering it for
// instances. `inherited` names the parent, as a derived class's code calls it.
#define QELL_CLASS(Class, Parent)                                               \
public:                                                                         \
    using inherited = Parent;                                                   \
    static const TClassInfo& StaticClassInfo();                                 \
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

class QELL_RTL_API TObject {
public:
    virtual ~TObject() = default;
    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    // The class name as form files and messages spell it ("TButton").
    const std::string& ClassName() const;
    bool InheritsFrom(const TClassInfo& Class) const;
};

// A callback that takes one text.
using TGetStrProc = std::function<void(const std::string&)>;

class QELL_RTL_API EComponentError : public Exception {
public:
    using Exception::Exception;
};

class QELL_RTL_API EStringListError : public Exception {
public:
    using Exception::Exception;
};

// An object with published properties.
class QELL_RTL_API TPersistent : public TObject {
    QELL_CLASS(TPersistent, TObject)
    // Copies Source's state into this object. The default asks Source (AssignTo) and
    // raises EConvertError "Cannot assign a TX to a TY" when neither side knows how.
    virtual void Assign(const TPersistent& Source);

protected:
    virtual void AssignTo(TPersistent& Dest) const;
};

// A named object with an owner. An owner frees what it owns, in reverse order of
// insertion; freeing a component removes it from its owner. An owner and the components
// it owns carry different names (without case), so that each can be found by its name;
// finding one by name, and freeing them all, cost the same whatever their number.
class QELL_RTL_API TComponent : public TPersistent {
    QELL_CLASS(TComponent, TPersistent)
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Raises EComponentError on a name that is not an identifier, or that another
    // component of the same owner, the owner itself or one of this component's own
    // components already has (compared without case). Empty is allowed.
    void SetName(std::string_view NewName);
    // SetName as a person renames: the same checks, and the name may not be emptied
    // either, since a component without a name can no longer be addressed. The Name
    // property (the inspector, `set`) goes through here.
    void Rename(std::string_view NewName);

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(static_cast<size_t>(Index)); }
    // The owned component with this name, ignoring case; nullptr if none.
    TComponent* FindComponent(std::string_view AName) const;

    // Makes this component AComponent's owner, at Index of its components (-1, or past
    // the end: the last). Raises EComponentError when AComponent's name is taken here.
    void InsertComponent(TComponent* AComponent, int Index = -1);
    void RemoveComponent(TComponent* AComponent);
    // AComponent's position among the components owned, or -1.
    int ComponentIndex(const TComponent* AComponent) const;
    // Frees the owned components now, last first, as the destructor does: for an owner
    // whose own members must outlive them.
    void DestroyComponents();

    static bool IsValidIdent(std::string_view S);

    // Called by the form reader once the whole tree has been read, children first,
    // for values that need their siblings (a page control's active page).
    virtual void Loaded() {}

protected:
    // Called on the owner when one of its components is about to go away.
    virtual void ComponentRemoved(TComponent*) {}

private:
    // Who else here carries Name: among the owned components, or the owner itself.
    bool NameTaken(std::string_view Name, const TComponent* Except) const;

    TComponent* FOwner = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;
    TNameIndex FNameIndex;
};

class TCollection;

// One item of a collection: a persistent object with published properties, owned by its
// collection.
class QELL_RTL_API TCollectionItem : public TPersistent {
    QELL_CLASS(TCollectionItem, TPersistent)
    explicit TCollectionItem(TCollection* Collection) : FCollection(Collection) {}
    TCollection* Collection() const { return FCollection; }
    // Its position in the collection, or -1.
    int Index() const;

private:
    TCollection* FCollection;
};

// An ordered list of items of one class, a sub-object of the object that publishes it.
// Form files write it as "Slots = < item … end item … end >".
class QELL_RTL_API TCollection : public TPersistent {
    QELL_CLASS(TCollection, TPersistent)
    TCollection() = default;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Index checked: EListError "List index out of bounds (N)".
    TCollectionItem* Items(int Index) const;
    // A new item at the end.
    TCollectionItem* Add();
    void Delete(int Index);
    // Takes the item at Index out, alive, for Insert to put back (an undo keeps it so);
    // Index checked as for Items.
    std::unique_ptr<TCollectionItem> Extract(int Index);
    // Puts Item, an item of this collection, at Index (0..Count()); EListError outside.
    void Insert(int Index, std::unique_ptr<TCollectionItem> Item);
    // Moves the item at From to To, the others keeping their order; both checked.
    void Move(int From, int To);
    void Clear() { FItems.clear(); }
    // The class of the items.
    virtual const TClassInfo& ItemClass() const = 0;
    // The same items as Source, a collection of the same item class: each item's
    // published properties copied. EConvertError for anything else.
    void Assign(const TPersistent& Source) override;

protected:
    virtual std::unique_ptr<TCollectionItem> NewItem() = 0;

private:
    std::vector<std::unique_ptr<TCollectionItem>> FItems;
};

// The type of a property that holds a collection, as a registration names it: an
// editor registered for it serves every collection property, whatever its class.
extern QELL_RTL_API const TTypeInfo TypeInfoTCollection;

// A collection of TItem, which is constructed from its collection.
template <typename TItem>
class TCollectionOf : public TCollection {
public:
    TItem* Items(int Index) const { return static_cast<TItem*>(TCollection::Items(Index)); }
    TItem* Add() { return static_cast<TItem*>(TCollection::Add()); }
    const TClassInfo& ItemClass() const override { return TItem::StaticClassInfo(); }

protected:
    std::unique_ptr<TCollectionItem> NewItem() override { return std::make_unique<TItem>(this); }
};

// Copies every published property of Source into Dest (of the same class or a
// descendant of Source's): values, sub-objects and collections alike.
QELL_RTL_API void CopyPublishedProperties(const TPersistent& Source, TPersistent& Dest);

// The published state of an object (or of one of its properties), to put back later:
// values, sub-objects and collections alike.
class QELL_RTL_API TPropertySnapshot {
public:
    // Every published property of Source, or only Prop.
    explicit TPropertySnapshot(const TPersistent& Source, const TPropInfo* Prop = nullptr);
    TPropertySnapshot(const TPropertySnapshot&);
    TPropertySnapshot(TPropertySnapshot&&) noexcept;
    TPropertySnapshot& operator=(TPropertySnapshot);
    ~TPropertySnapshot();
    // Sets the values back on Dest, the object they were taken of (or one of its class).
    // A property whose setter refuses keeps what it has.
    void Restore(TPersistent& Dest) const noexcept;

private:
    struct TValue;
    std::vector<TValue> FValues;
};

// An ordered, unsorted list of texts.
class QELL_RTL_API TStringList : public TObject {
    QELL_CLASS(TStringList, TObject)
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
