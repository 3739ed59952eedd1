#include "platform/rtl/Classes.h"

#include <algorithm>
#include <cctype>

#include "platform/rtl/Publish.h"

const TClassInfo& TObject::StaticClassInfo()
{
    static const TClassInfo Info = [] {
        TClassInfo I;
        I.Name = "TObject";
        return I;
    }();
    return Info;
}

const std::string& TObject::ClassName() const
{
    return ClassInfo().Name;
}

bool TObject::InheritsFrom(const TClassInfo& Class) const
{
    return ClassInfo().InheritsFrom(Class);
}

QELL_DEFINE_CLASS_INFO(TPersistent)

void TPersistent::Assign(const TPersistent& Source)
{
    Source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& Dest) const
{
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + Dest.ClassName());
}

// The name is shown and edited like a property, but form files carry it in the
// object's header.
QELL_DEFINE_CLASS_INFO(TComponent, [](TPublisher<TComponent>& P) {
    P.String("Name", &TComponent::Name, &TComponent::Rename, "")
        .Describe("The name the component is known by in code and in form files.")
        .StoredWhen([](const TComponent&) { return false; });
})

QELL_DEFINE_CLASS_INFO(TCollectionItem)

int TCollectionItem::Index() const
{
    if (!FCollection) return -1;
    for (int I = 0; I < FCollection->Count(); ++I)
        if (FCollection->Items(I) == this) return I;
    return -1;
}

QELL_DEFINE_CLASS_INFO(TCollection)

const TTypeInfo TypeInfoTCollection = ClassTypeInfo("TCollection", &TCollection::StaticClassInfo);

TCollectionItem* TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<size_t>(Index)].get();
}

TCollectionItem* TCollection::Add()
{
    FItems.push_back(NewItem());
    return FItems.back().get();
}

void TCollection::Delete(int Index)
{
    Extract(Index);
}

std::unique_ptr<TCollectionItem> TCollection::Extract(int Index)
{
    Items(Index);
    std::unique_ptr<TCollectionItem> Item = std::move(FItems[static_cast<size_t>(Index)]);
    FItems.erase(FItems.begin() + Index);
    return Item;
}

void TCollection::Insert(int Index, std::unique_ptr<TCollectionItem> Item)
{
    if (Index < 0 || Index > Count())
        throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
    FItems.insert(FItems.begin() + Index, std::move(Item));
}

void TCollection::Move(int From, int To)
{
    Items(From);
    Items(To);
    std::unique_ptr<TCollectionItem> Item = std::move(FItems[static_cast<size_t>(From)]);
    FItems.erase(FItems.begin() + From);
    FItems.insert(FItems.begin() + To, std::move(Item));
}

void TCollection::Assign(const TPersistent& Source)
{
    const auto* Other = dynamic_cast<const TCollection*>(&Source);
    if (!Other || &Other->ItemClass() != &ItemClass()) return TPersistent::Assign(Source);
    if (Other == this) return;
    Clear();
    for (int I = 0; I < Other->Count(); ++I) CopyPublishedProperties(*Other->Items(I), *Add());
}

void CopyPublishedProperties(const TPersistent& Source, TPersistent& Dest)
{
    for (const TPropInfo* P : Source.ClassInfo().AllProperties()) {
        if (P->ReadOnly()) continue;
        switch (P->Kind()) {
        case TTypeKind::Method: break;
        case TTypeKind::String: SetStrProp(Dest, *P, GetStrProp(Source, *P)); break;
        case TTypeKind::Class: {
            TPersistent* From = GetObjectProp(const_cast<TPersistent&>(Source), *P);
            TPersistent* To = GetObjectProp(Dest, *P);
            if (!From || !To) break;
            if (dynamic_cast<TCollection*>(To)) To->Assign(*From);
            else CopyPublishedProperties(*From, *To);
            break;
        }
        default: SetOrdProp(Dest, *P, GetOrdProp(Source, *P));
        }
    }
}

struct TPropertySnapshot::TValue {
    const TPropInfo* Prop = nullptr;
    int64_t Ord = 0;
    std::string Str;
    // A sub-object's values, or one entry per item of a collection.
    std::vector<TPropertySnapshot> Parts;
    bool Collection = false;
};

TPropertySnapshot::TPropertySnapshot(const TPersistent& Source, const TPropInfo* Only)
{
    for (const TPropInfo* P : Source.ClassInfo().AllProperties()) {
        if ((Only && P != Only) || P->ReadOnly() || P->Kind() == TTypeKind::Method) continue;
        TValue V;
        V.Prop = P;
        if (P->Kind() == TTypeKind::String) {
            V.Str = GetStrProp(Source, *P);
        } else if (P->Kind() == TTypeKind::Class) {
            const TPersistent* Sub = GetObjectProp(const_cast<TPersistent&>(Source), *P);
            if (!Sub) continue;
            if (const auto* Items = dynamic_cast<const TCollection*>(Sub)) {
                V.Collection = true;
                for (int I = 0; I < Items->Count(); ++I) V.Parts.emplace_back(*Items->Items(I));
            } else {
                V.Parts.emplace_back(*Sub);
            }
        } else {
            V.Ord = GetOrdProp(Source, *P);
        }
        FValues.push_back(std::move(V));
    }
}

TPropertySnapshot::TPropertySnapshot(const TPropertySnapshot&) = default;
TPropertySnapshot::TPropertySnapshot(TPropertySnapshot&&) noexcept = default;
TPropertySnapshot& TPropertySnapshot::operator=(TPropertySnapshot Other)
{
    FValues.swap(Other.FValues);
    return *this;
}
TPropertySnapshot::~TPropertySnapshot() = default;

void TPropertySnapshot::Restore(TPersistent& Dest) const noexcept
{
    for (const TValue& V : FValues) {
        try {
            if (V.Prop->Kind() == TTypeKind::String) {
                SetStrProp(Dest, *V.Prop, V.Str);
            } else if (V.Prop->Kind() == TTypeKind::Class) {
                TPersistent* Sub = GetObjectProp(Dest, *V.Prop);
                if (auto* Items = dynamic_cast<TCollection*>(Sub); Items && V.Collection) {
                    Items->Clear();
                    for (const TPropertySnapshot& Item : V.Parts) Item.Restore(*Items->Add());
                } else if (Sub && !V.Parts.empty()) {
                    V.Parts.front().Restore(*Sub);
                }
            } else {
                SetOrdProp(Dest, *V.Prop, V.Ord);
            }
        } catch (...) {
            // A setter that refuses (a page's bounds) leaves that value as it is.
        }
    }
}

QELL_DEFINE_CLASS_INFO(TStringList)

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents()
{
    // Last-in first-out; each removes itself from the list. The names go at once,
    // rather than a look-up for each.
    FNameIndex.Clear();
    while (!FComponents.empty()) delete FComponents.back();
}

bool TComponent::IsValidIdent(std::string_view S)
{
    if (S.empty()) return false;
    auto IsStart = [](char C) { return std::isalpha(static_cast<unsigned char>(C)) || C == '_'; };
    if (!IsStart(S[0])) return false;
    return std::all_of(S.begin() + 1, S.end(),
                       [&](char C) { return IsStart(C) || std::isdigit(static_cast<unsigned char>(C)); });
}

bool TComponent::NameTaken(std::string_view Name, const TComponent* Except) const
{
    if (Name.empty()) return false;
    if (this != Except && SameText(FName, Name)) return true;
    TComponent* Found = FindComponent(Name);
    return Found && Found != Except;
}

void TComponent::SetName(std::string_view NewName)
{
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(QuotedInput(NewName) + " is not a valid component name");
    const auto Taken = [&] { throw EComponentError("A component named " + std::string(NewName) + " already exists"); };
    if (NameTaken(NewName, this) || (FOwner && !NewName.empty() && SameText(FOwner->FName, NewName))) Taken();
    if (FOwner && !NewName.empty()) {
        const TComponent* Holder = FOwner->FNameIndex.Find(NewName);
        if (Holder && Holder != this) Taken();
        if (!Holder) FOwner->FNameIndex.Insert(NewName, this);
    }
    if (FOwner && !FName.empty() && !SameText(FName, NewName)) FOwner->FNameIndex.Erase(FName, this);
    FName = NewName;
}

void TComponent::Rename(std::string_view NewName)
{
    if (NewName.empty() && !FName.empty()) throw EComponentError("A component's name may not be empty");
    SetName(NewName);
}

TComponent* TComponent::FindComponent(std::string_view AName) const
{
    return AName.empty() ? nullptr : FNameIndex.Find(AName);
}

void TComponent::InsertComponent(TComponent* AComponent, int Index)
{
    if (NameTaken(AComponent->FName, AComponent))
        throw EComponentError("A component named " + AComponent->FName + " already exists");
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    if (Index < 0 || Index > ComponentCount()) Index = ComponentCount();
    FComponents.insert(FComponents.begin() + Index, AComponent);
    if (!AComponent->FName.empty()) FNameIndex.Insert(AComponent->FName, AComponent);
    AComponent->FOwner = this;
}

int TComponent::ComponentIndex(const TComponent* AComponent) const
{
    const auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
    return It == FComponents.end() ? -1 : static_cast<int>(It - FComponents.begin());
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    // From the back: an owner frees its components last first, each found at once.
    auto It = std::find(FComponents.rbegin(), FComponents.rend(), AComponent);
    if (It == FComponents.rend()) return;
    ComponentRemoved(AComponent);
    FComponents.erase(std::next(It).base());
    if (!AComponent->FName.empty()) FNameIndex.Erase(AComponent->FName, AComponent);
    AComponent->FOwner = nullptr;
}

void TStringList::Check(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit)
        throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

const std::string& TStringList::Strings(int Index) const
{
    Check(Index, Count());
    return FItems[static_cast<size_t>(Index)];
}

void TStringList::Put(int Index, std::string S)
{
    Check(Index, Count());
    FItems[static_cast<size_t>(Index)] = std::move(S);
}

int TStringList::Add(std::string S)
{
    FItems.push_back(std::move(S));
    return Count() - 1;
}

void TStringList::Insert(int Index, std::string S)
{
    Check(Index, Count() + 1);
    FItems.insert(FItems.begin() + Index, std::move(S));
}

void TStringList::Delete(int Index)
{
    Check(Index, Count());
    FItems.erase(FItems.begin() + Index);
}

int TStringList::IndexOf(std::string_view S) const
{
    auto It = std::find(FItems.begin(), FItems.end(), S);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}
