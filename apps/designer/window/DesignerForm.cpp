#include "apps/designer/window/DesignerForm.h"

#include <cctype>

#include "apps/designer/window/FileActions.h"
#include "apps/designer/window/HelpForms.h"
#include "platform/rtl/Publish.h"

QELL_DEFINE_CLASS_INFO(TDesignerForm)

TDesignerForm::TDesignerForm(TComponent* AOwner) : TForm(AOwner), FDocument(std::make_unique<TPageDocument>())
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
    FList = new TComponentList(*this, *FDocument);
    FPaletteHeader = Header("PaletteLabel", "Palette");
    FPalette = new TPalette(*this, *FDocument);
    FPreview = new TPagePreview(*this, *FDocument);
    FViewButton = new TButton(this);
    FViewButton->SetName("View");
    FViewButton->SetParent(this);
    FViewButton->SetCaption("View");
    FViewButton->OnClick = [this](TObject*) { OpenViewMenu(); };
    FViewMenu = new TPopupMenu(this);
    FProblemsHeader = Header("ProblemsLabel", "Contrast problems: component, pair, ratio, AA requires");
    FProblemsHeader->SetVisible(false);
    FProblems = new TProblemList(*this, *FDocument);
    FInspectorPane = std::make_unique<TInspectorPane>(*this, *FDocument);
    const auto Splitter = [this](const char* Name) {
        auto* S = new TSplitter(this);
        S->SetName(Name);
        S->SetParent(this);
        S->OnMoved = [this](TObject* Sender) { SplitterMoved(*static_cast<TSplitter*>(Sender)); };
        return S;
    };
    FListSplitter = Splitter("ComponentsSplitter");
    FInspectorSplitter = Splitter("InspectorSplitter");
    FStatus = new TStatusLine(*this, *FDocument);
    FDocument->AddObserver(*this);
    MinClientWidth = MinWidth;
    MinClientHeight = MinHeight;
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
    UpdateCaption();
    AfterConstruction();
}

TDesignerForm::~TDesignerForm()
{
    BeforeDestruction();
    FDocument->RemoveObserver(*this);
    // The panes let go of the document, and the inspector's editors of the page's
    // objects, before the document goes.
    FInspectorPane.reset();
    DestroyComponents();
}

void TDesignerForm::Resized()
{
    TForm::Resized();
    const int Top = Gap + HeaderHeight, Bottom = std::max(Top, Height() - StatusHeight - Gap);
    const int H = Bottom - Top, HeaderTop = Gap + 3;
    // The columns left to right, the page's taking what the others leave; a splitter in
    // each gap between two of them.
    const std::vector<int> Columns = FitSpans(
        {{FListWidth, MinListWidth}, {0, MinPreviewWidth}, {FInspectorWidth, MinInspectorWidth}}, 1, Width() - 4 * Gap);
    const int ListWidth = Columns[0], PreviewWidth = Columns[1], InspectorWidth = Columns[2];
    const int PreviewLeft = 2 * Gap + ListWidth, InspectorLeft = PreviewLeft + PreviewWidth + Gap;
    FListHeader->SetBounds(Gap, HeaderTop, ListWidth, FListHeader->Height());
    FPreviewHeader->SetBounds(PreviewLeft, HeaderTop, FPreviewHeader->Width(), FPreviewHeader->Height());
    // The palette below the list, as tall as its classes while the list keeps half.
    const int PaletteHeight = std::min(H / 2, FPalette->Count() * TPalette::ItemHeight + 4);
    const int ListHeight = std::max(0, H - PaletteHeight - HeaderHeight - Gap);
    FList->SetBounds(Gap, Top, ListWidth, ListHeight);
    FPaletteHeader->SetBounds(Gap, Top + ListHeight + Gap + 3, ListWidth, FPaletteHeader->Height());
    FPalette->SetBounds(Gap, Bottom - PaletteHeight, ListWidth, PaletteHeight);
    // The problems list takes the preview's lower part while it shows.
    const int Below = ProblemsShowing() ? std::min(H / 2, ProblemsHeight + HeaderHeight + Gap) : 0;
    FPreview->SetBounds(PreviewLeft, Top, PreviewWidth, H - Below);
    FProblemsHeader->SetBounds(PreviewLeft, Bottom - Below + Gap + 3, PreviewWidth, FProblemsHeader->Height());
    FProblems->SetBounds(PreviewLeft, Bottom - Below + Gap + HeaderHeight, PreviewWidth,
                         std::max(0, Below - Gap - HeaderHeight));
    FViewButton->SetBounds(FPreview->Left() + FPreview->Width() - ViewButtonWidth, Gap / 2 + 1, ViewButtonWidth,
                           Top - Gap / 2 - 2);
    FInspectorPane->SetBounds(Bounds(InspectorLeft, Top, InspectorWidth, H), HeaderTop);
    // Each splitter goes as far as leaves the page its minimum, the far column as it is.
    FListSplitter->SetBounds(Gap + ListWidth, Top, Gap, H);
    FListSplitter->MinPosition = Gap + MinListWidth;
    FListSplitter->MaxPosition = Width() - 3 * Gap - InspectorWidth - MinPreviewWidth;
    FInspectorSplitter->SetBounds(InspectorLeft - Gap, Top, Gap, H);
    FInspectorSplitter->MinPosition = PreviewLeft + MinPreviewWidth;
    FInspectorSplitter->MaxPosition = Width() - 2 * Gap - MinInspectorWidth;
    FStatus->SetBounds(0, Height() - StatusHeight, Width(), StatusHeight);
}

void TDesignerForm::SplitterMoved(const TSplitter& Splitter)
{
    if (&Splitter == FListSplitter) {
        FListWidth = Splitter.Position() - Gap;
        FInspectorWidth = FInspectorPane->Inspector().Width();
    } else {
        FInspectorWidth = Width() - Gap - (Splitter.Position() + Gap);
        FListWidth = FList->Width();
    }
    Resized();
}

TPaneSizes TDesignerForm::PaneSizes() const
{
    return {FListWidth, FInspectorWidth, Inspector().NameWidth, FInspectorPane->DescriptionHeight()};
}

void TDesignerForm::SetPaneSizes(const TPaneSizes& Sizes)
{
    FListWidth = std::max(Sizes.ListWidth, MinListWidth);
    FInspectorWidth = std::max(Sizes.InspectorWidth, MinInspectorWidth);
    FInspectorPane->SetDescriptionHeight(Sizes.DescriptionHeight);
    Resized();
    // Within the inspector's width as now laid out.
    Inspector().SetNameWidth(Sizes.NameWidth);
}

void TDesignerForm::DocumentChanged(const TDocumentChange& Change)
{
    if (Change.File) UpdateCaption();
}

void TDesignerForm::UpdateCaption()
{
    const std::string& File = FDocument->FileName();
    SetCaption("Qell Designer - " + (File.empty() ? std::string("(new page)") : File) +
               (FDocument->IsModified() ? " *" : ""));
}

void TDesignerForm::SetContrastMarks(bool On)
{
    FPreview->SetContrastMarks(On);
    FStatus->SetCountProblems(On);
}

void TDesignerForm::SetProblemsShowing(bool On)
{
    FProblems->SetShowing(On);
    FProblemsHeader->SetVisible(On);
    Resized();
}

void TDesignerForm::OpenViewMenu()
{
    std::vector<TMenuItem> Items{
        {"Mark contrast problems (F7)", true, ContrastMarks(), false, [this] { SetContrastMarks(!ContrastMarks()); }},
        {"Contrast problems list", true, ProblemsShowing(), false, [this] { SetProblemsShowing(!ProblemsShowing()); }},
        {"", false, false, true, nullptr}};
    for (int V = 0; V <= static_cast<int>(TVisionDeficiency::Achromatopsia); ++V) {
        const auto Vision = static_cast<TVisionDeficiency>(V);
        std::string Caption = Vision == TVisionDeficiency::None ? "normal vision" : VisionDeficiencyName(Vision);
        Caption[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(Caption[0])));
        Items.push_back({Caption, true, Simulation() == Vision, false, [this, Vision] { SetSimulation(Vision); }});
    }
    const TGridSettings Grid = FPreview->Grid();
    const auto WithGrid = [this](auto Change) {
        return [this, Change] {
            TGridSettings G = FPreview->Grid();
            Change(G);
            FPreview->SetGrid(G);
        };
    };
    Items.push_back({"", false, false, true, nullptr});
    Items.push_back({"Snap to grid", true, Grid.Snap, false, WithGrid([](TGridSettings& G) { G.Snap = !G.Snap; })});
    Items.push_back({"Show grid", true, Grid.Show, false, WithGrid([](TGridSettings& G) { G.Show = !G.Show; })});
    for (const int Size : {4, 8, 16})
        Items.push_back({"Grid size " + std::to_string(Size), true, Grid.Size == Size, false,
                         WithGrid([Size](TGridSettings& G) { G.Size = Size; })});
    FViewMenu->Items = std::move(Items);
    FViewMenu->SetFont(EffectiveFont());
    FViewMenu->Popup(*this, FViewButton->Left(), FViewButton->Top() + FViewButton->Height());
}

void TDesignerForm::SetSimulation(TVisionDeficiency Deficiency)
{
    FPreview->SetSimulation(Deficiency);
    FPreviewHeader->SetCaption(Deficiency == TVisionDeficiency::None
                                   ? std::string("Page")
                                   : std::string("Page, as seen with ") + VisionDeficiencyName(Deficiency));
    FStatus->SetAction(Deficiency == TVisionDeficiency::None
                           ? std::string("Preview in normal colour vision")
                           : std::string("Preview as seen with ") + VisionDeficiencyName(Deficiency));
}

void TDesignerForm::Undo()
{
    if (Inspector().EditChanged()) {
        Inspector().CancelEdit();
        return;
    }
    Inspector().CancelEdit();
    FDocument->Undo();
}

void TDesignerForm::Redo()
{
    if (FDocument->CommitPendingEdits()) FDocument->Redo();
}

bool TDesignerForm::CloseQuery()
{
    return AskToClose(*FDocument) && TForm::CloseQuery();
}

bool TDesignerForm::DialogKey(TKey Key, TShiftState Shift)
{
    if (Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
        const bool WithShift = Shift.Contains(ssShift);
        if (Key == 'O' && !WithShift) {
            OpenWithPrompt(*FDocument);
            return true;
        }
        if (Key == 'N' && !WithShift) {
            NewPageWithPrompt(*FDocument);
            return true;
        }
        if (Key == 'S' && !WithShift) {
            SavePage(*FDocument);
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
    if (Key == 'K' && Shift == TShiftState{ssCtrl}) {
        FInspectorPane->ApplySuggestion();
        return true;
    }
    if (Key == 'E' && Shift == TShiftState{ssCtrl}) {
        FInspectorPane->PickFromPage();
        return true;
    }
    // The wait for a pick ends wherever the focus is.
    if (Key == vkEscape && Shift.Empty() && !FDocument->Picking().RowPath.empty()) {
        FDocument->SetPicking({});
        return true;
    }
    if (Key == 'F' && Shift == TShiftState{ssCtrl}) {
        FInspectorPane->FocusFilter();
        return true;
    }
    if (Key == vkF7 && Shift.Empty()) {
        SetContrastMarks(!ContrastMarks());
        return true;
    }
    if (Key == vkF8 && Shift.Empty()) {
        const int Next = (static_cast<int>(Simulation()) + 1) % (static_cast<int>(TVisionDeficiency::Achromatopsia) + 1);
        SetSimulation(static_cast<TVisionDeficiency>(Next));
        return true;
    }
    if (Key == vkF1 && Shift.Empty()) {
        ShowDesignerHelp();
        return true;
    }
    return TForm::DialogKey(Key, Shift);
}

void RegisterDesignerScriptVerbs()
{
    RegisterPreviewScriptVerbs();
}
