#include "apps/designer/Designer.h"

#include <algorithm>

#include "apps/designer/HelpForms.h"
#include "platform/graphics/Drawing.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/backends/EventScript.h"
#include "platform/toolkit/resources/FormReader.h"

namespace {

constexpr int HandleSize = 5, IndentPerLevel = 14;
// What lies around the page in the preview.
constexpr TColor WorkspaceColor = 0x808080;

TRect Handle(int X, int Y) { return Bounds(X - HandleSize / 2, Y - HandleSize / 2, HandleSize, HandleSize); }

// The eight grab handles round R, filled in Color with a dark outline.
void DrawHandles(TCanvas& C, const TRect& R, TColor Color)
{
    const int MidX = (R.Left + R.Right - 1) / 2, MidY = (R.Top + R.Bottom - 1) / 2;
    C.Brush.Color = Color;
    C.Pen.Color = clBlack;
    for (const TPoint P : {TPoint{R.Left, R.Top}, TPoint{MidX, R.Top}, TPoint{R.Right - 1, R.Top},
                           TPoint{R.Left, MidY}, TPoint{R.Right - 1, MidY}, TPoint{R.Left, R.Bottom - 1},
                           TPoint{MidX, R.Bottom - 1}, TPoint{R.Right - 1, R.Bottom - 1}})
        C.Rectangle(Handle(P.X, P.Y));
}

// The collections that Object publishes, by property name.
std::vector<std::pair<std::string, TCollection*>> CollectionsOf(TPersistent& Object)
{
    std::vector<std::pair<std::string, TCollection*>> Found;
    for (const TPropInfo* P : Object.ClassInfo().AllProperties())
        if (P->PropType->Kind == TTypeKind::Class)
            if (auto* C = dynamic_cast<TCollection*>(GetObjectProp(Object, *P))) Found.emplace_back(P->Name, C);
    return Found;
}

TModalResult AskToSave(const std::string& Name)
{
    return MessageBox("Qell Designer", "Save the changes to " + Name + "?",
                      {{"Save", "&Save", mrYes}, {"Discard", "&Discard", mrNo}, {"Cancel", "Cancel", mrCancel}});
}

} // namespace

// ---------------------------------------------------------------------------------

const TClassInfo& TPagePreview::StaticClassInfo()
{
    static const TClassInfo Info = MakeClassInfo<TPagePreview>("TPagePreview", PublishNothing<TPagePreview>);
    return Info;
}

TPagePreview::TPagePreview(TDesignerForm& Designer) : TControl(&Designer), FDesigner(Designer) {}

TRect TPagePreview::ComponentRect(const TComponent& C) const
{
    const TQellPage& Page = FDesigner.Page();
    if (&C == &Page) return Bounds(Margin, Margin, Page.Width, Page.Height);
    const auto* Control = dynamic_cast<const TQellControl*>(&C);
    if (!Control) return {};
    return Bounds(Margin + Control->Left, Margin + Control->Top, Control->Width, Control->Height);
}

TComponent* TPagePreview::ComponentAt(int X, int Y) const
{
    TQellPage& Page = FDesigner.Page();
    for (int I = Page.ComponentCount() - 1; I >= 0; --I) {
        TComponent* C = Page.Components(I);
        if (Intersect(ComponentRect(*C), ComponentRect(Page)).Contains(X, Y)) return C;
    }
    return ComponentRect(Page).Contains(X, Y) ? &Page : nullptr;
}

void TPagePreview::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        if (TComponent* C = ComponentAt(X, Y)) {
            if (Shift.Contains(ssCtrl)) FDesigner.ToggleSelected(C);
            else FDesigner.Select({C});
        }
    TControl::MouseDown(Button, Shift, X, Y);
}

void TPagePreview::Paint(TCanvas& C)
{
    const TQellPage& Page = FDesigner.Page();
    C.Brush.Color = WorkspaceColor;
    C.FillRect(ClientRect());
    const TRect PageRect = ComponentRect(Page);
    C.Brush.Color = Page.Color;
    C.FillRect(PageRect);
    // Each component draws itself on a canvas of its own place, clipped to the page.
    const TCanvas OnPage(C, PageRect);
    for (int I = 0; I < Page.ComponentCount(); ++I)
        if (const auto* Control = dynamic_cast<const TQellControl*>(Page.Components(I))) {
            TCanvas Own(OnPage, Bounds(Control->Left, Control->Top, Control->Width, Control->Height));
            Control->Paint(Own);
        }
    // One selected component has white handles, several grey ones, as designers mark
    // which of them the inspector's single-object rows would follow.
    const TColor HandleColor = FDesigner.Selection().size() == 1 ? clWhite : clGray;
    for (const TPersistent* Object : FDesigner.Selection())
        for (const TDesignerForm::TEntry& E : FDesigner.Entries())
            if (E.Object == Object) {
                const TRect R = ComponentRect(*E.Component);
                if (E.Component == E.Object) {
                    DrawHandles(C, R, HandleColor);
                } else {
                    // A collection item: its owner framed.
                    C.Pen.Color = clBlack;
                    DrawFocusRect(C, R);
                }
            }
}

// ---------------------------------------------------------------------------------

const TClassInfo& TComponentList::StaticClassInfo()
{
    static const TClassInfo Info = MakeClassInfo<TComponentList>("TComponentList", PublishNothing<TComponentList>);
    return Info;
}

TComponentList::TComponentList(TDesignerForm& Designer) : TListBox(&Designer), FDesigner(Designer)
{
    SetStyle(lbOwnerDrawFixed);
    OnDrawItem = [this](TObject*, int Index, const TRect& Rect, TOwnerDrawState) { DrawEntry(Index, Rect); };
    OnClick = [this](TObject*) {
        if (ItemIndex() >= 0) FDesigner.Select({FDesigner.Entries()[static_cast<size_t>(ItemIndex())].Object});
    };
}

void TComponentList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const int Index = ItemAtPos(X, Y);
    if (Button == mbLeft && Shift.Contains(ssCtrl) && Index >= 0) {
        FDesigner.ToggleSelected(FDesigner.Entries()[static_cast<size_t>(Index)].Object);
        return;
    }
    TListBox::MouseDown(Button, Shift, X, Y);
}

void TComponentList::DrawEntry(int Index, const TRect& Rect)
{
    const TDesignerForm::TEntry& E = FDesigner.Entries()[static_cast<size_t>(Index)];
    TCanvas& C = Canvas();
    const bool Selected = FDesigner.IsSelected(E.Object);
    C.Brush.Color = Selected ? clHighlight : EffectiveColor();
    C.FillRect(Rect);
    C.Font = EffectiveFont();
    C.Font.SetColor(Selected ? clHighlightText : clWindowText);
    const std::string& Text = Items(Index);
    C.TextRect(Rect, Rect.Left + 2 + E.Level * IndentPerLevel, Rect.Top + (Rect.Height() - C.TextHeight(Text)) / 2,
               Text);
}

// ---------------------------------------------------------------------------------

const TClassInfo& TDesignerForm::StaticClassInfo()
{
    static const TClassInfo Info = MakeClassInfo<TDesignerForm>("TDesignerForm", PublishNothing<TDesignerForm>);
    return Info;
}

TDesignerForm::TDesignerForm(TComponent* AOwner) : TForm(AOwner), FPage(std::make_unique<TQellPage>(nullptr))
{
    SetName("Designer");
    const auto Header = [this](const char* Name, const char* Caption) {
        auto* L = new TLabel(this);
        L->SetName(Name);
        L->SetParent(this);
        L->SetCaption(Caption);
        return L;
    };
    FListHeader = Header("ComponentsLabel", "Components");
    FPreviewHeader = Header("PreviewLabel", "Page");
    FInspectorHeader = Header("InspectorLabel", "Properties");
    FList = new TComponentList(*this);
    FList->SetName("Components");
    FList->SetParent(this);
    FList->TabStop = true;
    FPreview = new TPagePreview(*this);
    FPreview->SetName("Preview");
    FPreview->SetParent(this);
    FInspector = new TPropertyInspector(this);
    FInspector->SetName("Inspector");
    FInspector->SetParent(this);
    FInspector->Designer = this;
    FInspector->NameWidth = 140; // room for a sub-object's longest names
    const int PreviewWidth = 640 + 2 * TPagePreview::Margin, PreviewHeight = 480 + 2 * TPagePreview::Margin;
    SetBounds(0, 0, ListWidth + InspectorWidth + PreviewWidth + 4 * Gap, HeaderHeight + PreviewHeight + 2 * Gap);
    SetPage(std::make_unique<TQellPage>(nullptr), "");
    AfterConstruction();
}

TDesignerForm::~TDesignerForm()
{
    BeforeDestruction();
    // The inspector's editors hold the page's objects: they go first.
    FInspector->SetSelection({});
}

void TDesignerForm::Resized()
{
    TForm::Resized();
    const int Top = Gap + HeaderHeight, H = std::max(0, Height() - Top - Gap);
    const int PreviewLeft = 2 * Gap + ListWidth;
    const int InspectorLeft = std::max(PreviewLeft, Width() - Gap - InspectorWidth);
    FListHeader->SetBounds(Gap, Gap + 3, ListWidth, FListHeader->Height());
    FPreviewHeader->SetBounds(PreviewLeft, Gap + 3, FPreviewHeader->Width(), FPreviewHeader->Height());
    FInspectorHeader->SetBounds(InspectorLeft, Gap + 3, FInspectorHeader->Width(), FInspectorHeader->Height());
    FList->SetBounds(Gap, Top, ListWidth, H);
    FPreview->SetBounds(PreviewLeft, Top, std::max(0, InspectorLeft - Gap - PreviewLeft), H);
    FInspector->SetBounds(InspectorLeft, Top, InspectorWidth, H);
}

void TDesignerForm::SetPage(std::unique_ptr<TQellPage> Page, std::string FileName)
{
    FFileName = std::move(FileName);
    const std::string Text = PageText(*Page);
    FHistory = {Text};
    FStep = 0;
    FSavedText = Text;
    ReplacePage(std::move(Page));
    Select({FPage.get()});
}

void TDesignerForm::ReplacePage(std::unique_ptr<TQellPage> Page)
{
    std::vector<std::string> Paths;
    for (const TEntry& E : FEntries)
        if (IsSelected(E.Object)) Paths.push_back(E.Path);
    FInspector->SetSelection({});
    FSelection.clear();
    FEntries.clear();
    FPage = std::move(Page);
    RebuildEntries();
    std::vector<TPersistent*> Kept;
    for (const std::string& Path : Paths)
        if (const TEntry* E = FindEntry(Path)) Kept.push_back(E->Object);
    Select(Kept.empty() ? std::vector<TPersistent*>{FPage.get()} : Kept);
    FPreview->Invalidate();
    UpdateCaption();
}

void TDesignerForm::RebuildEntries()
{
    FEntries.clear();
    std::vector<std::string> Lines;
    for (TComponent* C : PageComponents(*FPage)) {
        const int Level = C == FPage.get() ? 0 : 1;
        FEntries.push_back({C, C, C->Name(), Level});
        Lines.push_back(C->Name() + ": " + C->ClassName());
        for (const auto& [Property, Collection] : CollectionsOf(*C))
            for (int I = 0; I < Collection->Count(); ++I) {
                const std::string Item = Property + "[" + std::to_string(I) + "]";
                FEntries.push_back({Collection->Items(I), C, C->Name() + "." + Item, Level + 1});
                Lines.push_back(Item + ": " + Collection->Items(I)->ClassName());
            }
    }
    const int Index = FList->ItemIndex(), Top = FList->TopIndex();
    FList->SetItems(std::move(Lines));
    FList->SetTopIndex(Top);
    if (Index < FList->Count()) FList->SetItemIndex(Index);
}

const TDesignerForm::TEntry* TDesignerForm::FindEntry(std::string_view Path) const
{
    for (const TEntry& E : FEntries)
        if (SameText(E.Path, Path)) return &E;
    return nullptr;
}

bool TDesignerForm::IsSelected(const TPersistent* Object) const
{
    return std::find(FSelection.begin(), FSelection.end(), Object) != FSelection.end();
}

void TDesignerForm::Select(std::vector<TPersistent*> Objects)
{
    FSelection = std::move(Objects);
    FInspector->SetSelection(FSelection);
    if (!FSelection.empty())
        for (size_t I = 0; I < FEntries.size(); ++I)
            if (FEntries[I].Object == FSelection.back()) FList->SetItemIndex(static_cast<int>(I));
    FList->Invalidate();
    FPreview->Invalidate();
}

void TDesignerForm::ToggleSelected(TPersistent* Object)
{
    std::vector<TPersistent*> Objects = FSelection;
    const auto It = std::find(Objects.begin(), Objects.end(), Object);
    if (It == Objects.end()) Objects.push_back(Object);
    else if (Objects.size() > 1) Objects.erase(It);
    Select(std::move(Objects));
}

void TDesignerForm::Modified()
{
    std::string Text = PageText(*FPage);
    if (Text != FHistory[FStep]) {
        FHistory.resize(FStep + 1);
        FHistory.push_back(std::move(Text));
        if (FHistory.size() > MaxUndoSteps + 1) FHistory.erase(FHistory.begin());
        FStep = FHistory.size() - 1;
    }
    // A rename shows in the list; every colour at once in the preview.
    RebuildEntries();
    FList->Invalidate();
    FPreview->Invalidate();
    UpdateCaption();
}

void TDesignerForm::ShowStep(size_t Step)
{
    FStep = Step;
    ReplacePage(ReadPageText(FHistory[FStep]));
}

void TDesignerForm::Undo()
{
    if (CanUndo()) ShowStep(FStep - 1);
}

void TDesignerForm::Redo()
{
    if (CanRedo()) ShowStep(FStep + 1);
}

bool TDesignerForm::IsModified() const
{
    return FHistory[FStep] != FSavedText;
}

void TDesignerForm::UpdateCaption()
{
    SetCaption("Qell Designer - " + (FFileName.empty() ? std::string("(new page)") : FFileName) +
               (IsModified() ? " *" : ""));
}

bool TDesignerForm::CommitPendingEdit()
{
    return !FInspector->Editing() || FInspector->CommitEdit();
}

bool TDesignerForm::SaveAs(const std::string& FileName)
{
    try {
        SavePageFile(FileName, *FPage);
    } catch (const Exception& E) {
        ShowMessage(E.Message() + "\nThe page is not saved.");
        return false;
    }
    FFileName = FileName;
    FSavedText = FHistory[FStep];
    UpdateCaption();
    return true;
}

bool TDesignerForm::Save()
{
    if (!CommitPendingEdit()) return false;
    std::string Name = FFileName;
    if (Name.empty() && (!InputQuery("Save page", "File name:", Name) || Name.empty())) return false;
    return SaveAs(Name);
}

bool TDesignerForm::OpenFile(const std::string& FileName)
{
    std::unique_ptr<TQellPage> Page;
    try {
        Page = LoadPageFile(FileName);
    } catch (const Exception& E) {
        ShowMessage(E.Message() + "\nThe page shown stays as it was.");
        return false;
    }
    SetPage(std::move(Page), FileName);
    return true;
}

void TDesignerForm::OpenWithPrompt()
{
    if (!CommitPendingEdit() || !CloseQuery()) return;
    std::string Name = FFileName;
    if (InputQuery("Open page", "File name:", Name) && !Name.empty()) OpenFile(Name);
}

bool TDesignerForm::CloseQuery()
{
    if (!IsModified()) return TForm::CloseQuery();
    switch (AskToSave(FFileName.empty() ? "the new page" : QuotedFileName(FFileName))) {
    case mrYes: return Save() && TForm::CloseQuery();
    case mrNo: return TForm::CloseQuery();
    default: return false;
    }
}

bool TDesignerForm::DialogKey(TKey Key, TShiftState Shift)
{
    if (Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
        const bool WithShift = Shift.Contains(ssShift);
        if (Key == 'O' && !WithShift) {
            OpenWithPrompt();
            return true;
        }
        if (Key == 'S' && !WithShift) {
            Save();
            return true;
        }
        if (Key == 'Z' && !WithShift) {
            Undo();
            return true;
        }
        if (Key == 'Y' || (Key == 'Z' && WithShift)) {
            Redo();
            return true;
        }
    }
    if (Key == vkF1 && Shift.Empty()) {
        ShowDesignerHelp();
        return true;
    }
    return TForm::DialogKey(Key, Shift);
}

// ---------------------------------------------------------------------------------

void RegisterDesignerScriptVerbs()
{
    using namespace ScriptSupport;
    RegisterScriptVerb(
        {"pick", "pick NAME [ctrl]", 1, 2,
         [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
             C.Words.push_back(Args[0].Text);
             if (Args.size() == 2) {
                 if (!SameText(Args[1].Text, "ctrl")) throw EScriptError("pick NAME [ctrl]: not " + QuotedInput(Args[1].Text));
                 C.Shift.Include(ssCtrl);
             }
         },
         [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
             auto& Preview = FindShowingAs<TPagePreview>(Form, "Preview", "page preview");
             auto* Designer = dynamic_cast<TDesignerForm*>(&Form);
             TComponent* Target = Designer ? FindPageComponent(Designer->Page(), C.Words[0]) : nullptr;
             if (!Target) throw EScriptError("no component " + QuotedInput(C.Words[0]) + " on the page");
             // The centre, or else the first point row by row, where the click reaches the
             // component and not one lying over it.
             const TRect R = Intersect(Preview.ComponentRect(*Target), Preview.ClientRect());
             const TPoint Centre{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
             if (!R.IsEmpty() && Preview.ComponentAt(Centre.X, Centre.Y) == Target) {
                 Click(Out, At(Preview, Centre.X, Centre.Y), C.Shift);
                 return;
             }
             for (int Y = R.Top; Y < R.Bottom; Y += 2)
                 for (int X = R.Left; X < R.Right; X += 2)
                     if (Preview.ComponentAt(X, Y) == Target) {
                         Click(Out, At(Preview, X, Y), C.Shift);
                         return;
                     }
             throw EScriptError(QuotedInput(C.Words[0]) + " is not in view");
         }});
}
