#include "apps/designer/window/InspectorPane.h"

#include <algorithm>

#include "colour/IWColors.h"
#include "platform/designide/PropertyPaths.h"
#include "platform/rtl/Guard.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Dialogs.h"

QELL_DEFINE_CLASS_INFO(TFilterEdit)

TFilterEdit::TFilterEdit(TComponent* AOwner, TPropertyInspector& Inspector) : TEdit(AOwner), FInspector(Inspector)
{
    TabStop = true;
    TextHint = "Filter properties (Ctrl+F)";
    MaxLength = MaxFilter;
    OnChange = [this](TObject*) { FInspector.SetFilter(Text()); };
}

void TFilterEdit::KeyDown(TKey& Key, TShiftState Shift)
{
    if (Key == vkEscape && Shift.Empty() && !Text().empty()) {
        SetText("");
        Key = 0;
        return;
    }
    if (Key == vkDown && Shift.Empty()) {
        // To the first row the filter found, else the row selected.
        if (FInspector.RowCount() > 0) {
            int Row = FInspector.FirstMatchingRow();
            if (Row < 0) Row = std::max(0, FInspector.SelectedRow());
            FInspector.SetSelectedRow(Row);
            FInspector.SetFocus();
        }
        Key = 0;
        return;
    }
    TEdit::KeyDown(Key, Shift);
}

TInspectorPane::TInspectorPane(TWinControl& Form, TPageDocument& Document) : FDocument(Document)
{
    FHeader = new TLabel(&Form);
    FHeader->SetName("InspectorLabel");
    FHeader->SetParent(&Form);
    FHeader->SetCaption("Properties");
    FInspector = new TPropertyInspector(&Form);
    FInspector->SetName("Inspector");
    FInspector->Designer = this;
    FInspector->NameWidth = 140; // room for a sub-object's longest names
    FInspector->OnSelectRow = [this](TObject*) { UpdateDescription(); };
    FInspector->OnAction = [this](const std::string& Action) { FDocument.Announce(Action); };
    FInspector->OnRowMenu = [this](int Row) { return ColourItems(Row); };
    // Copy path then gives what `set` takes: the component's path first.
    FInspector->PathPrefix = [this] {
        const std::vector<TPersistent*>& Selection = FDocument.Selection();
        const TDocumentEntry* E = Selection.size() == 1 ? FDocument.EntryOf(Selection[0]) : nullptr;
        return E ? E->Path : std::string();
    };
    // Before the rows, for Tab as for the eye.
    FFilter = new TFilterEdit(&Form, *FInspector);
    FFilter->SetName("Filter");
    FFilter->SetParent(&Form);
    FInspector->SetParent(&Form);
    FDescription = new TDescriptionLine(&Form);
    FDescription->SetName("Description");
    FDescription->SetParent(&Form);
    FSplitter = new TSplitter(&Form);
    FSplitter->SetName("DescriptionSplitter");
    FSplitter->SetParent(&Form);
    FSplitter->SetKind(skHorizontal);
    FSplitter->OnMoved = [this](TObject*) {
        SetDescriptionHeight(FArea.Bottom - FSplitter->Position() - SplitterHeight);
    };
    FSplitter->OnDblClick = [this](TObject*) { SetDescriptionHeight(0); };
    FDocument.AddObserver(*this);
    FInspector->SetSelection(FDocument.Selection());
    UpdateHeader();
}

TInspectorPane::~TInspectorPane()
{
    FDocument.RemoveObserver(*this);
    // The editors hold the page's objects: they go first.
    FInspector->OnSelectRow = nullptr;
    FInspector->OnAction = nullptr;
    FInspector->OnRowMenu = nullptr;
    FInspector->SetSelection({});
}

void TInspectorPane::DocumentChanged(const TDocumentChange& Change)
{
    if (Change.Selection) {
        FInspector->SetSelection(FDocument.Selection());
        if (!Change.Row.empty()) FInspector->SelectPath(Change.Row);
    }
    else if (Change.Step) ShowStep(*Change.Step);
    else if (Change.Values && !FOwnEdit) FInspector->Refresh();
    if (Change.Selection || Change.Entries) UpdateHeader();
    if (Change.Values) UpdateDescription();
}

bool TInspectorPane::CommitPendingEdit()
{
    return FInspector->LeaveEdit();
}

std::vector<TTypedText> TInspectorPane::PendingText() const
{
    const int Row = FInspector->SelectedRow();
    if (!FInspector->EditChanged() || Row < 0) return {};
    std::vector<TTypedText> Typed;
    for (const TPersistent* Object : FDocument.Selection())
        if (const TDocumentEntry* E = FDocument.EntryOf(Object))
            Typed.push_back({E->Path + "." + FInspector->RowPath(Row), FInspector->InplaceEdit()->Text()});
    return Typed;
}

void TInspectorPane::PropertyChanged(const TPropertyChange& Change)
{
    FDocument.PropertyChanged(Change);
}

void TInspectorPane::Modified()
{
    const int Row = FInspector->SelectedRow();
    const TRestoreOnExit<bool> Guard(FOwnEdit, true);
    FDocument.EndEdit(Row >= 0 ? FInspector->RowPath(Row) : std::string());
}

namespace {

// Whether the editor writes one of the step's objects' properties.
bool EditsChanged(TPropertyEditor& Editor, const TUndoStep& Step)
{
    for (const TPropertyChange& C : Step.Changes)
        for (int I = 0; I < Editor.PropCount(); ++I)
            if (Editor.GetComponent(I) == C.Instance && Editor.GetPropInfoAt(I) == C.PropInfo) return true;
    return false;
}

} // namespace

void TInspectorPane::ShowStep(const TUndoStep& Step)
{
    FInspector->Refresh();
    // The row of the property that changed, where the inspector shows that object.
    const int Row = FInspector->FindRow(Step.RowPath);
    if (Row >= 0 && EditsChanged(*FInspector->RowEditor(Row), Step)) FInspector->SetSelectedRow(Row);
}

void TInspectorPane::FocusFilter()
{
    if (!FInspector->LeaveEdit()) return;
    FFilter->SetFocus();
    FFilter->SelectAll();
}

void TInspectorPane::SetBounds(const TRect& Area, int HeaderTop)
{
    FArea = Area;
    FHeaderTop = HeaderTop;
    FHeader->SetBounds(Area.Left, HeaderTop, FHeader->Width(), FHeader->Height());
    const int W = Area.Width();
    const int RowsTop = Area.Top + FilterHeight + Gap;
    const int Wanted = FDescriptionHeight > 0 ? FDescriptionHeight : FDescription->HeightNeeded(W);
    const std::vector<int> Heights = FitSpans({{0, MinRowsHeight}, {Wanted, std::min(Wanted, MinDescriptionHeight)}}, 0,
                                              Area.Bottom - RowsTop - SplitterHeight);
    const int Below = Heights[1];
    FFilter->SetBounds(Area.Left, Area.Top, W, FilterHeight);
    FInspector->SetBounds(Area.Left, RowsTop, W, Heights[0]);
    FSplitter->SetBounds(Area.Left, Area.Bottom - Below - SplitterHeight, W, SplitterHeight);
    FSplitter->MinPosition = RowsTop + MinRowsHeight;
    FSplitter->MaxPosition = Area.Bottom - MinDescriptionHeight - SplitterHeight;
    FDescription->SetBounds(Area.Left, Area.Bottom - Below, W, Below);
}

void TInspectorPane::SetDescriptionHeight(int Height)
{
    FDescriptionHeight = Height > 0 ? std::max(Height, MinDescriptionHeight) : 0;
    SetBounds(FArea, FHeaderTop);
    FInspector->ScrollIntoView(FInspector->SelectedRow());
}

void TInspectorPane::UpdateHeader()
{
    const std::vector<TPersistent*>& Selection = FDocument.Selection();
    std::string Caption = "Properties";
    if (Selection.size() > 1) Caption = std::to_string(Selection.size()) + " objects";
    else if (const TDocumentEntry* E = Selection.size() == 1 ? FDocument.EntryOf(Selection[0]) : nullptr)
        Caption = E->Path + ": " + E->Object->ClassName();
    FHeader->SetCaption(Caption);
}

void TInspectorPane::UpdateDescription()
{
    FFixes.clear();
    std::vector<std::string> Lines;
    const int Row = FInspector->SelectedRow();
    const TPropInfo* P = Row >= 0 ? FInspector->RowEditor(Row)->GetPropInfo() : nullptr;
    if (P) {
        const std::string& Path = FInspector->RowPath(Row);
        const std::string Default = PropDefaultText(*P);
        Lines.push_back(Path + ": " + PropTypeText(*P) + (Default.empty() ? "" : ", default " + Default));
        if (!P->Description.empty()) Lines.push_back(P->Description);
        if (std::string Css = CssLine(Row); !Css.empty()) Lines.push_back(std::move(Css));
        // The pairs a colour of one selected object is drawn in.
        const TDocumentEntry* Entry = SelectedEntry();
        if (Entry && IsColourRow(Row)) {
            const std::string Full = Entry->Path + "." + Path;
            for (const TContrastFinding& F : PairsOfColour(ComponentContrast(*Entry->Component), Full)) {
                const bool Foreground = SameText(F.ForegroundPath, Full);
                const auto Verdict = [&](TContrastLevel Level, const char* Name) {
                    return std::string(F.Passes(Level) ? "passes " : "fails ") + Name;
                };
                const std::string Other =
                    PathWithin(*Entry->Component, Foreground ? F.BackgroundPath : F.ForegroundPath);
                Lines.push_back(RatioText(F.Ratio) + ":1 " + (Foreground ? "on " : "under ") + Other);
                Lines.push_back("  " + Verdict(TContrastLevel::AA, "AA") + ", " + Verdict(TContrastLevel::AAA, "AAA"));
                if (!F.Passes(TContrastLevel::AA)) {
                    TRowTexts Texts;
                    const TFixTexts Fixes = FixTexts(Texts, F, TContrastLevel::AA);
                    Lines.push_back("  " + DescribeFixes(Fixes, FFixes.empty()));
                    if (Fixes.Nearer().Found) FFixes.push_back({(Foreground ? "On " : "Under ") + Other, Fixes});
                }
            }
        }
    }
    FDescription->SetLines(std::move(Lines));
    // The line grows or shrinks with its text; the rows above keep the selected one in view.
    const int Height = FDescription->Height();
    SetBounds(FArea, FHeaderTop);
    if (FDescription->Height() != Height) FInspector->ScrollIntoView(FInspector->SelectedRow());
}
