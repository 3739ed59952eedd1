#include "apps/designer/window/ComponentList.h"

#include "platform/rtl/Publish.h"

namespace {

constexpr int IndentPerLevel = 14;

} // namespace

QELL_DEFINE_CLASS_INFO(TComponentList)

TComponentList::TComponentList(TWinControl& Parent, TPageDocument& Document) : TListBox(&Parent), FDocument(Document)
{
    SetName("Components");
    SetParent(&Parent);
    TabStop = true;
    SetStyle(lbOwnerDrawFixed);
    OnDrawItem = [this](TObject*, int Index, const TRect& Rect, TOwnerDrawState) { DrawEntry(Index, Rect); };
    OnClick = [this](TObject*) {
        if (ItemIndex() >= 0) FDocument.Select({FDocument.Entries()[static_cast<size_t>(ItemIndex())].Object});
    };
    FDocument.AddObserver(*this);
    ShowEntries();
}

TComponentList::~TComponentList()
{
    FDocument.RemoveObserver(*this);
}

void TComponentList::DocumentChanged(const TDocumentChange& Change)
{
    if (Change.Entries) ShowEntries();
    if (Change.Selection && !FDocument.Selection().empty())
        if (const TDocumentEntry* E = FDocument.EntryOf(FDocument.Selection().back()))
            SetItemIndex(static_cast<int>(E - FDocument.Entries().data()));
    if (Change.Selection || Change.Entries) Invalidate();
}

void TComponentList::ShowEntries()
{
    std::vector<std::string> Lines;
    Lines.reserve(FDocument.Entries().size());
    for (const TDocumentEntry& E : FDocument.Entries()) Lines.push_back(E.Line);
    const int Index = ItemIndex(), Top = TopIndex();
    SetItems(std::move(Lines));
    SetTopIndex(Top);
    if (Index < Count()) SetItemIndex(Index);
}

void TComponentList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const int Index = ItemAtPos(X, Y);
    if (Button == mbLeft && Shift.Contains(ssCtrl) && Index >= 0) {
        FDocument.ToggleSelected(FDocument.Entries()[static_cast<size_t>(Index)].Object);
        return;
    }
    TListBox::MouseDown(Button, Shift, X, Y);
}

void TComponentList::DrawEntry(int Index, const TRect& Rect)
{
    const TDocumentEntry& E = FDocument.Entries()[static_cast<size_t>(Index)];
    TCanvas& C = Canvas();
    const bool Selected = FDocument.IsSelected(E.Object);
    C.Brush.Color = Selected ? clHighlight : EffectiveColor();
    C.FillRect(Rect);
    C.Font = EffectiveFont();
    C.Font.SetColor(Selected ? clHighlightText : clWindowText);
    const std::string& Text = Items(Index);
    C.TextRect(Rect, Rect.Left + 2 + E.Level * IndentPerLevel, Rect.Top + (Rect.Height() - C.TextHeight(Text)) / 2,
               Text);
}
