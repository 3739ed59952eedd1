// The document's operations that build the page: adding, deleting, pasting and ordering
// components, their bounds, and the items of their collections (PageDocument.h).

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <unordered_set>

#include "apps/designer/document/PageDocument.h"
#include "platform/toolkit/resources/FormReader.h"

namespace {

// A component put on the page or taken off it, at its place in the order. What is off
// the page is held here, so that the objects older steps name stay the same.
class TPlacement : public TStructureChange {
protected:
    TPlacement(TComponent& Owner, TComponent& Component, int Index)
        : FOwner(Owner), FComponent(Component), FIndex(Index)
    {
    }
    void Put() { FOwner.InsertComponent(FHeld.release(), FIndex); }
    void Take()
    {
        FOwner.RemoveComponent(&FComponent);
        FHeld.reset(&FComponent);
    }

private:
    TComponent& FOwner;
    TComponent& FComponent;
    int FIndex;
    std::unique_ptr<TComponent> FHeld;
};

// Made with the component on the page.
class TAddition : public TPlacement {
public:
    TAddition(TComponent& Owner, TComponent& Component, int Index) : TPlacement(Owner, Component, Index) {}
    void Undo() override { Take(); }
    void Redo() override { Put(); }
};

// Takes the component off the page when made.
class TRemoval : public TPlacement {
public:
    TRemoval(TComponent& Owner, TComponent& Component) : TPlacement(Owner, Component, Owner.ComponentIndex(&Component))
    {
        Take();
    }
    void Undo() override { Put(); }
    void Redo() override { Take(); }
};

// A component moved in its owner's order from From to To; made with it moved.
class TReorder : public TStructureChange {
public:
    TReorder(TComponent& Owner, TComponent& Component, int From, int To)
        : FOwner(Owner), FComponent(Component), FFrom(From), FTo(To)
    {
    }
    void Undo() override { Move(FFrom); }
    void Redo() override { Move(FTo); }

private:
    void Move(int To)
    {
        FOwner.RemoveComponent(&FComponent);
        FOwner.InsertComponent(&FComponent, To);
    }
    TComponent& FOwner;
    TComponent& FComponent;
    int FFrom, FTo;
};

// An item put into its collection or taken out of it, at its place. What is out of
// the collection is held here, alive, as TPlacement holds a component.
class TItemPlacement : public TStructureChange {
protected:
    TItemPlacement(TCollection& Collection, int Index) : FCollection(Collection), FIndex(Index) {}
    void Put() { FCollection.Insert(FIndex, std::move(FHeld)); }
    void Take() { FHeld = FCollection.Extract(FIndex); }

private:
    TCollection& FCollection;
    int FIndex;
    std::unique_ptr<TCollectionItem> FHeld;
};

// Made with the item in its collection.
class TItemAddition : public TItemPlacement {
public:
    TItemAddition(TCollection& Collection, int Index) : TItemPlacement(Collection, Index) {}
    void Undo() override { Take(); }
    void Redo() override { Put(); }
};

// Takes the item out when made.
class TItemRemoval : public TItemPlacement {
public:
    TItemRemoval(TCollection& Collection, int Index) : TItemPlacement(Collection, Index) { Take(); }
    void Undo() override { Put(); }
    void Redo() override { Take(); }
};

// An item moved in its collection from From to To; made with it moved.
class TItemMove : public TStructureChange {
public:
    TItemMove(TCollection& Collection, int From, int To) : FCollection(Collection), FFrom(From), FTo(To) {}
    void Undo() override { FCollection.Move(FTo, FFrom); }
    void Redo() override { FCollection.Move(FFrom, FTo); }

private:
    TCollection& FCollection;
    int FFrom, FTo;
};

// The name of the property by which Holder publishes Collection; empty when it does not.
std::string PublishedName(TPersistent& Holder, const TCollection& Collection)
{
    for (const TPropInfo* P : Holder.ClassInfo().AllProperties())
        if (P->Kind() == TTypeKind::Class && GetObjectProp(Holder, *P) == &Collection) return P->Name;
    return {};
}

std::string Indexed(const std::string& Path, int Index) { return Path + "[" + std::to_string(Index) + "]"; }

// Name without the digits it ends in.
std::string_view Stem(std::string_view Name)
{
    size_t End = Name.size();
    while (End > 0 && std::isdigit(static_cast<unsigned char>(Name[End - 1]))) --End;
    return End == 0 ? Name : Name.substr(0, End);
}

// The controls among Components, in the page's order, the page passed over.
std::vector<TComponent*> InPageOrder(const TQellPage& Page, const std::vector<TComponent*>& Components)
{
    const std::unordered_set<const TComponent*> Wanted(Components.begin(), Components.end());
    std::vector<TComponent*> Ordered;
    for (int I = 0; I < Page.ComponentCount(); ++I)
        if (Wanted.contains(Page.Components(I))) Ordered.push_back(Page.Components(I));
    return Ordered;
}

TRect BoundsOf(const TQellControl& C) { return Bounds(C.Left, C.Top, C.Width, C.Height); }

TRect Clamped(const TRect& R)
{
    const auto Clamp = [](int V, int Low, int High) { return std::max(Low, std::min(V, High)); };
    const int W = Clamp(R.Width(), 0, MaxQellExtent), H = Clamp(R.Height(), 0, MaxQellExtent);
    return Bounds(Clamp(R.Left, -MaxQellExtent, MaxQellExtent), Clamp(R.Top, -MaxQellExtent, MaxQellExtent), W, H);
}

// The components of a clipboard text, read onto a page of their own.
std::unique_ptr<TQellPage> ReadClip(std::string_view Text)
{
    // A whole page's text gives its components; object blocks alone are read as the
    // components of a page around them, opened on their first line so that a message
    // names the line of Text.
    const size_t First = Text.find_first_not_of(" \t\r\n");
    std::string_view Head = Text.substr(First == std::string_view::npos ? Text.size() : First);
    Head = Head.substr(0, Head.find('\n'));
    std::string Lower(Head);
    std::transform(Lower.begin(), Lower.end(), Lower.begin(), [](unsigned char C) { return std::tolower(C); });
    if (Lower.rfind("object", 0) != 0) throw EReadError("line 1: not a component: the text must start with 'object'");
    const bool WholePage = Lower.find(": tqellpage") != std::string::npos || Lower.find(":tqellpage") != std::string::npos;
    std::unique_ptr<TQellPage> Clip =
        WholePage ? ReadPageText(Text)
                  : ReadPageText("object Clip: TQellPage " + std::string(Text) + (Text.ends_with('\n') ? "" : "\n") + "end");
    if (Clip->ComponentCount() == 0) throw EReadError("line 1: the text holds no component");
    return Clip;
}

} // namespace

std::string TPageDocument::NewComponentName(const TClassInfo& Class) const
{
    const std::string Base = Class.Name.size() > 1 && Class.Name[0] == 'T' ? Class.Name.substr(1) : Class.Name;
    for (int N = 1;; ++N)
        if (!FindPageComponent(*FPage, Base + std::to_string(N))) return Base + std::to_string(N);
}

TPoint TPageDocument::FreeSpot(const TClassInfo& Class, TPoint At, TPoint Step) const
{
    if (Step.X == 0 && Step.Y == 0) return At;
    // The page read once, so that passing many placed before costs no more than one.
    std::unordered_set<uint64_t> Taken;
    const auto Key = [](int X, int Y) { return uint64_t(uint32_t(X)) << 32 | uint32_t(Y); };
    for (int I = 0; I < FPage->ComponentCount(); ++I)
        if (const auto* C = dynamic_cast<const TQellControl*>(FPage->Components(I)); C && &C->ClassInfo() == &Class)
            Taken.insert(Key(C->Left, C->Top));
    while (Taken.contains(Key(At.X, At.Y)) && std::abs(At.X) <= MaxQellExtent && std::abs(At.Y) <= MaxQellExtent)
        At = {At.X + Step.X, At.Y + Step.Y};
    return At;
}

TQellControl& TPageDocument::AddComponent(const TClassInfo& Class, const std::string& Name, TPoint At,
                                          std::optional<TPoint> Size)
{
    if (!Class.CreateComponent) throw EComponentError(Class.Name + " is not a component that a page holds");
    std::unique_ptr<TComponent> Made(Class.CreateComponent(nullptr));
    auto* Control = dynamic_cast<TQellControl*>(Made.get());
    if (!Control) throw EComponentError(Class.Name + " is not a component that a page holds");
    const std::string Given = Name.empty() ? NewComponentName(Class) : Name;
    if (!TComponent::IsValidIdent(Given)) throw EComponentError(QuotedInput(Given) + " is not a valid component name");
    if (FindPageComponent(*FPage, Given)) throw EComponentError("A component named " + Given + " already exists");
    Made->SetName(Given);
    const TRect R = Clamped(Bounds(At.X, At.Y, Size ? Size->X : Control->Width, Size ? Size->Y : Control->Height));
    Control->Left = R.Left;
    Control->Top = R.Top;
    Control->Width = R.Width();
    Control->Height = R.Height();
    FPage->InsertComponent(Made.release());
    FHistory.Record(std::make_unique<TAddition>(*FPage, *Control, FPage->ComponentCount() - 1));
    EndStructureEdit("Added " + Given, {Control}, {Control});
    return *Control;
}

void TPageDocument::DeleteComponents(const std::vector<TComponent*>& Components)
{
    const std::vector<TComponent*> Doomed = InPageOrder(*FPage, Components);
    if (Doomed.empty()) return;
    // The views let go of them first.
    Select({FPage.get()});
    for (TComponent* C : Doomed) FHistory.Record(std::make_unique<TRemoval>(*FPage, *C));
    EndStructureEdit(Doomed.size() == 1 ? "Deleted " + Doomed[0]->Name()
                                        : "Deleted " + std::to_string(Doomed.size()) + " components",
                     Doomed, {FPage.get()});
}

std::string TPageDocument::ComponentsText(const std::vector<TComponent*>& Components) const
{
    std::string Text;
    for (const TComponent* C : InPageOrder(*FPage, Components)) Text += WriteComponentRes(*C);
    return Text;
}

std::vector<TComponent*> TPageDocument::PasteComponents(std::string_view Text, TPoint Offset)
{
    const std::unique_ptr<TQellPage> Clip = ReadClip(Text);
    TPoint Shift = Offset;
    if (const auto* First = dynamic_cast<const TQellControl*>(Clip->Components(0))) {
        const TPoint At = FreeSpot(First->ClassInfo(), {First->Left + Offset.X, First->Top + Offset.Y}, Offset);
        Shift = {At.X - First->Left, At.Y - First->Top};
    }
    std::vector<TComponent*> Pasted;
    while (Clip->ComponentCount() > 0) {
        TComponent* C = Clip->Components(0);
        Clip->RemoveComponent(C);
        std::unique_ptr<TComponent> Owned(C);
        std::string Name = C->Name();
        if (Name.empty() || FindPageComponent(*FPage, Name)) {
            const std::string Base(Name.empty() ? std::string_view(NewComponentName(C->ClassInfo())) : Stem(Name));
            for (int N = 1; FindPageComponent(*FPage, Name = Base + std::to_string(N)); ++N) {
            }
        }
        C->SetName(Name);
        if (auto* Control = dynamic_cast<TQellControl*>(C)) {
            const TRect R = Clamped(Bounds(Control->Left + Shift.X, Control->Top + Shift.Y, Control->Width, Control->Height));
            Control->Left = R.Left;
            Control->Top = R.Top;
        }
        FPage->InsertComponent(Owned.release());
        FHistory.Record(std::make_unique<TAddition>(*FPage, *C, FPage->ComponentCount() - 1));
        Pasted.push_back(C);
    }
    EndStructureEdit(Pasted.size() == 1 ? "Pasted " + Pasted[0]->Name()
                                        : "Pasted " + std::to_string(Pasted.size()) + " components",
                     Pasted, std::vector<TPersistent*>(Pasted.begin(), Pasted.end()));
    return Pasted;
}

void TPageDocument::BringToFront(const std::vector<TComponent*>& Components)
{
    const std::vector<TComponent*> Moving = InPageOrder(*FPage, Components);
    for (TComponent* C : Moving) {
        const int From = FPage->ComponentIndex(C);
        FPage->RemoveComponent(C);
        FPage->InsertComponent(C);
        FHistory.Record(std::make_unique<TReorder>(*FPage, *C, From, FPage->ComponentCount() - 1));
    }
    if (!Moving.empty()) EndStructureEdit("Brought to front", Moving, std::vector<TPersistent*>(FSelection));
}

void TPageDocument::SendToBack(const std::vector<TComponent*>& Components)
{
    const std::vector<TComponent*> Moving = InPageOrder(*FPage, Components);
    for (size_t I = 0; I < Moving.size(); ++I) {
        TComponent* C = Moving[I];
        const int From = FPage->ComponentIndex(C);
        FPage->RemoveComponent(C);
        FPage->InsertComponent(C, static_cast<int>(I));
        FHistory.Record(std::make_unique<TReorder>(*FPage, *C, From, static_cast<int>(I)));
    }
    if (!Moving.empty()) EndStructureEdit("Sent to back", Moving, std::vector<TPersistent*>(FSelection));
}

// Collections ------------------------------------------------------------------------

std::string TPageDocument::CollectionPath(const TCollection& Collection) const
{
    const auto It = FHolders.find(&Collection);
    const std::string Name = It == FHolders.end() ? std::string() : PublishedName(*It->second, Collection);
    if (Name.empty()) throw EComponentError("The collection is not one that a component of the page publishes");
    return It->second->Name() + "." + Name;
}

TCollectionItem& TPageDocument::AddCollectionItem(TCollection& Collection)
{
    const std::string Path = CollectionPath(Collection);
    TComponent* Holder = FHolders.at(&Collection);
    TCollectionItem& Item = *Collection.Add();
    const int Index = Collection.Count() - 1;
    FHistory.Record(std::make_unique<TItemAddition>(Collection, Index));
    EndStructureEdit("Added " + Indexed(Path, Index), {Holder}, {&Item});
    return Item;
}

void TPageDocument::DeleteCollectionItem(TCollectionItem& Item)
{
    TCollection* Collection = Item.Collection();
    if (!Collection || Item.Index() < 0) throw EComponentError("The item is not in its collection");
    const std::string Path = CollectionPath(*Collection);
    TComponent* Holder = FHolders.at(Collection);
    const int Index = Item.Index(), Count = Collection->Count();
    TPersistent* Next = Index + 1 < Count ? Collection->Items(Index + 1)
                        : Index > 0       ? Collection->Items(Index - 1)
                                          : static_cast<TPersistent*>(Holder);
    FHistory.Record(std::make_unique<TItemRemoval>(*Collection, Index));
    EndStructureEdit("Deleted " + Indexed(Path, Index), {Holder}, {Next});
}

void TPageDocument::MoveCollectionItem(TCollectionItem& Item, int To)
{
    TCollection* Collection = Item.Collection();
    if (!Collection || Item.Index() < 0) throw EComponentError("The item is not in its collection");
    const std::string Path = CollectionPath(*Collection);
    const int From = Item.Index();
    Collection->Items(To); // checked before anything moves
    if (From == To) return;
    Collection->Move(From, To);
    FHistory.Record(std::make_unique<TItemMove>(*Collection, From, To));
    EndStructureEdit("Moved " + Indexed(Path, From) + " to " + std::to_string(To), {FHolders.at(Collection)},
                     std::vector<TPersistent*>(FSelection));
}

void TPageDocument::EndStructureEdit(const std::string& Action, std::vector<TComponent*> Touched,
                                     std::vector<TPersistent*> Select)
{
    const TUndoStep* Step = FHistory.EndStep("", std::move(Touched));
    RebuildEntries();
    FSelection = std::move(Select);
    TDocumentChange Change;
    Change.Values = Change.Entries = Change.File = Change.Selection = true;
    if (Step) Change.Components = Step->Components;
    Change.Action = Action;
    Notify(Change);
}

// Bounds -----------------------------------------------------------------------------

void TPageDocument::SetLiveBounds(const std::vector<TBounds>& Bounds)
{
    TDocumentChange Change;
    Change.Values = true;
    for (const TBounds& B : Bounds) {
        TQellControl& C = *B.Control;
        if (std::none_of(FLiveFrom.begin(), FLiveFrom.end(), [&](const TBounds& F) { return F.Control == &C; }))
            FLiveFrom.push_back({&C, BoundsOf(C)});
        const TRect R = Clamped(B.Rect);
        C.Left = R.Left;
        C.Top = R.Top;
        C.Width = R.Width();
        C.Height = R.Height();
        Change.Components.push_back(&C);
    }
    Notify(Change);
}

void TPageDocument::CancelLiveBounds()
{
    const std::vector<TBounds> From = std::move(FLiveFrom);
    FLiveFrom.clear();
    SetLiveBounds(From);
    FLiveFrom.clear();
}

void TPageDocument::EndLiveBounds(const std::string& Action)
{
    EndBounds(Action, {});
}

void TPageDocument::EndBounds(const std::string& Action, const std::string& MergeKey)
{
    std::vector<TBounds> From = std::move(FLiveFrom);
    FLiveFrom.clear();
    std::vector<TComponent*> Touched;
    for (const TBounds& F : From) {
        TQellControl& C = *F.Control;
        const std::pair<const char*, std::pair<int, int>> Values[] = {{"Left", {F.Rect.Left, C.Left}},
                                                                      {"Top", {F.Rect.Top, C.Top}},
                                                                      {"Width", {F.Rect.Width(), C.Width}},
                                                                      {"Height", {F.Rect.Height(), C.Height}}};
        for (const auto& [Name, Value] : Values)
            if (Value.first != Value.second)
                FHistory.Record(TPropertyChange{&C, GetPropInfo(C, Name), int64_t{Value.first}, int64_t{Value.second}});
        Touched.push_back(&C);
    }
    if (const TUndoStep* Step = FHistory.EndStep("", std::move(Touched), MergeKey, Clock()))
        NotifyStep(*Step, nullptr, Action);
}

void TPageDocument::SetBounds(const std::vector<TBounds>& Bounds, const std::string& Action, const std::string& MergeKey)
{
    SetLiveBounds(Bounds);
    EndBounds(Action, MergeKey);
}

void TPageDocument::SetPlacingClass(const TClassInfo* Class)
{
    if (Class == FPlacing) return;
    FPlacing = Class;
    TDocumentChange Change;
    Change.Placing = true;
    Notify(Change);
}
