#include "apps/designer/window/ProblemList.h"

#include "apps/designer/document/ContrastTexts.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Dialogs.h"

namespace {

// The columns' left edges past the component's: the pair, then the two ratios at the
// right, as wide as "21.00:1" needs.
constexpr int ComponentWidth = 110, RatioWidth = 52;

// "Appearance.TextColor on Appearance.BackgroundColor": each path from the component's
// name on, the owner's colour from its own name.
std::string PairText(const TContrastFinding& F)
{
    const std::string Own = F.Component->Name() + ".";
    const auto Below = [&](const std::string& Path) {
        return Path.size() > Own.size() && SameText(Path.substr(0, Own.size()), Own) ? Path.substr(Own.size()) : Path;
    };
    return Below(F.ForegroundPath) + " on " + Below(F.BackgroundPath);
}

std::string ItemText(const TContrastFinding& F)
{
    return F.Component->Name() + "\t" + PairText(F) + "\t" + RatioText(F.Ratio) + ":1\t" +
           RatioText(F.Required(TContrastLevel::AA)) + ":1";
}

} // namespace

QELL_DEFINE_CLASS_INFO(TProblemList)

TProblemList::TProblemList(TWinControl& Parent, TPageDocument& Document) : TListBox(&Parent), FDocument(Document)
{
    SetName("Problems");
    SetParent(&Parent);
    SetVisible(false);
    TabStop = true;
    ClickChooses = false;
    SetStyle(lbOwnerDrawFixed);
    OnDrawItem = [this](TObject*, int Index, const TRect& Rect, TOwnerDrawState State) {
        DrawProblem(Index, Rect, State.Contains(odSelected));
    };
    OnClick = [this](TObject*) { ShowProblem(ItemIndex()); };
    OnChoose = [this](TObject*) { FixProblem(ItemIndex()); };
    FDocument.AddObserver(*this);
}

TProblemList::~TProblemList()
{
    FDocument.RemoveObserver(*this);
}

void TProblemList::SetShowing(bool On)
{
    if (On == Visible()) return;
    SetVisible(On);
    if (On) ShowProblems();
    else FProblems.clear();
}

void TProblemList::DocumentChanged(const TDocumentChange& Change)
{
    if (Visible() && (Change.Values || Change.Entries || Change.NewPage)) ShowProblems();
}

void TProblemList::ShowProblems()
{
    const int Index = ItemIndex();
    const std::string Kept = Index >= 0 ? Items(Index) : std::string();
    FProblems.clear();
    std::vector<std::string> Lines;
    for (const TContrastFinding& F : FDocument.ContrastFindings())
        if (!F.Passes(TContrastLevel::AA)) {
            FProblems.push_back(F);
            Lines.push_back(ItemText(F));
        }
    const int Top = TopIndex();
    SetItems(std::move(Lines));
    SetTopIndex(Top);
    // The same pair by its component and paths: its ratio may have changed.
    const auto Key = [](const std::string& Text) { return Text.substr(0, Text.find('\t', Text.find('\t') + 1)); };
    if (!Kept.empty())
        for (int I = 0; I < Count(); ++I)
            if (Key(Items(I)) == Key(Kept)) SetItemIndex(I);
    Invalidate();
}

bool TProblemList::ShowProblem(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(FProblems.size())) return false;
    const TContrastFinding& F = FProblems[static_cast<size_t>(Index)];
    const TDocumentEntry* Entry = FDocument.EntryOf(F.Component);
    if (!Entry || !FDocument.CommitPendingEdits()) return false;
    FDocument.Select({Entry->Object}, SplitPagePath(FDocument.Page(), F.ForegroundPath).Property);
    return true;
}

bool TProblemList::FixProblem(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(FProblems.size()) || !FDocument.CommitPendingEdits()) return false;
    TRowTexts Rows;
    const TFixText Fix = FixTexts(Rows, FProblems[static_cast<size_t>(Index)], TContrastLevel::AA).Nearer();
    if (!Fix.Found) return false;
    try {
        FDocument.SetPropertyText(Fix.Path, Fix.Value);
    } catch (const std::exception& E) {
        ShowMessage(E.what());
        return false;
    }
    return true;
}

void TProblemList::DrawProblem(int Index, const TRect& Rect, bool Selected)
{
    TCanvas& C = Canvas();
    C.Brush.Color = Selected ? clHighlight : EffectiveColor();
    C.FillRect(Rect);
    C.Font = EffectiveFont();
    C.Font.SetColor(Selected ? clHighlightText : clWindowText);
    // Four columns: the texts clipped to theirs, the ratios right-aligned.
    std::vector<std::string> Parts;
    for (size_t From = 0, Tab;; From = Tab + 1) {
        Tab = Items(Index).find('\t', From);
        Parts.push_back(Items(Index).substr(From, Tab - From));
        if (Tab == std::string::npos) break;
    }
    Parts.resize(4);
    const int Y = Rect.Top + (Rect.Height() - C.TextHeight(Parts[0])) / 2;
    const int Required = Rect.Right - 4 - RatioWidth, Ratio = Required - RatioWidth;
    const int PairLeft = Rect.Left + 2 + ComponentWidth;
    C.TextRect(::Rect(Rect.Left, Rect.Top, PairLeft - 4, Rect.Bottom), Rect.Left + 2, Y, Parts[0]);
    C.TextRect(::Rect(PairLeft, Rect.Top, Ratio - 4, Rect.Bottom), PairLeft, Y, Parts[1]);
    C.TextOut(Required - C.TextWidth(Parts[2]) - 8, Y, Parts[2]);
    C.TextOut(Rect.Right - 4 - C.TextWidth(Parts[3]), Y, Parts[3]);
}
