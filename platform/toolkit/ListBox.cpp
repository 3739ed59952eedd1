#include "platform/toolkit/ListBox.h"

#include <algorithm>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"

namespace {

constexpr const char* StyleNames[] = {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"};

void Publish(TPublisher<TListBox>& P)
{
    P.Redeclare("Width").OrdDefault = TListBox::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TListBox::DefaultHeight;
    P.Redeclare("TabStop").OrdDefault = true;
    P.Redeclare("Color").OrdDefault = clWindow;
    P.Redeclare("ParentColor").OrdDefault = false;
    P.Ordinal("Style", TypeInfoTListBoxStyle, &TListBox::Style, &TListBox::SetStyle, lbStandard)
        .Describe("Whether the list draws its items itself or the owner draws them.");
    P.Ordinal("ItemHeight", TypeInfoInteger, &TListBox::ItemHeight, &TListBox::SetItemHeight,
              TListBox::DefaultItemHeight)
        .Range(1, 1000).Describe("Each item's height in pixels.");
    P.Event("OnClick", TypeInfoTNotifyEvent, &TListBox::OnClick)
        .Describe("Runs when an item is clicked or selected with the keyboard.");
    P.Event("OnChoose", TypeInfoTNotifyEvent, &TListBox::OnChoose)
        .Describe("Runs when an item is chosen with Enter or a click (a double click where clicks only select).");
    P.Event("OnDrawItem", TypeInfoTDrawItemEvent, &TListBox::OnDrawItem)
        .Describe("Draws an item, for an owner-drawn list.");
    P.Event("OnMeasureItem", TypeInfoTMeasureItemEvent, &TListBox::OnMeasureItem)
        .Describe("Gives an item's height, for a list whose items differ in height.");
}

bool StartsWithText(const std::string& S, const std::string& Prefix)
{
    return S.size() >= Prefix.size() && SameText(std::string_view(S).substr(0, Prefix.size()), Prefix);
}

} // namespace

const TTypeInfo TypeInfoTListBoxStyle = EnumTypeInfo("TListBoxStyle", StyleNames);
const TTypeInfo TypeInfoTDrawItemEvent = MethodTypeInfo("TDrawItemEvent");
const TTypeInfo TypeInfoTMeasureItemEvent = MethodTypeInfo("TMeasureItemEvent");

QELL_DEFINE_CLASS_INFO(TListBox, Publish, true)

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner), FScrollBar(new TScrollBar(this))
{
    TabStop = true;
    SetColor(clWindow);
    FScrollBar->SetParent(this);
    FScrollBar->SetVisible(false);
    FScrollBar->OnChange = [this](TObject*) { SetTopIndex(FScrollBar->Position()); };
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

void TListBox::SetItems(std::vector<std::string> Items)
{
    FItems = std::move(Items);
    FItemIndex = -1;
    FTopIndex = 0;
    FSearch.clear();
    Measure();
}

int TListBox::IndexOf(std::string_view S) const
{
    for (int I = 0; I < Count(); ++I)
        if (SameText(FItems[static_cast<size_t>(I)], S)) return I;
    return -1;
}

void TListBox::SetStyle(TListBoxStyle V)
{
    if (V == FStyle) return;
    FStyle = V;
    Measure();
}

void TListBox::SetItemHeight(int V)
{
    V = std::max(V, 1);
    if (V == FItemHeight) return;
    FItemHeight = V;
    Measure();
}

void TListBox::Measure()
{
    FHeights.clear();
    if (FStyle == lbOwnerDrawVariable)
        for (int I = 0; I < Count(); ++I) {
            int H = FItemHeight;
            if (OnMeasureItem) OnMeasureItem(this, I, H);
            FHeights.push_back(std::max(H, 1));
        }
    Layout();
}

int TListBox::ItemHeightOf(int Index) const
{
    return FHeights.empty() ? FItemHeight : FHeights[static_cast<size_t>(Index)];
}

TRect TListBox::ItemArea() const
{
    const int Right = Width() - Border - (FScrollBar->Visible() ? FScrollBar->Width() : 0);
    return Rect(Border, Border, std::max(Border, Right), std::max(Border, Height() - Border));
}

int TListBox::FittingFrom(int First) const
{
    const int Room = Height() - 2 * Border;
    int N = 0, Used = 0;
    for (int I = First; I < Count(); ++I) {
        Used += ItemHeightOf(I);
        if (Used > Room && N > 0) break;
        ++N;
    }
    return std::max(N, 1);
}

void TListBox::Layout()
{
    // The last page: as many items as fit, counting back from the end.
    int LastPage = 0, Used = 0;
    for (int I = Count() - 1; I >= 0; --I) {
        Used += ItemHeightOf(I);
        if (Used > Height() - 2 * Border) break;
        ++LastPage;
    }
    const bool Overflows = LastPage < Count();
    FScrollBar->SetBounds(Width() - Border - TScrollBar::DefaultWidth, Border, TScrollBar::DefaultWidth,
                          std::max(0, Height() - 2 * Border));
    FScrollBar->SetVisible(Overflows);
    FScrollBar->SmallChange = 1;
    FScrollBar->SetParams(0, std::max(Count() - 1, 0), std::max(LastPage, 1));
    FTopIndex = std::clamp(FTopIndex, 0, std::max(0, Count() - std::max(LastPage, 1)));
    FScrollBar->SetPosition(FTopIndex);
    Invalidate();
}

void TListBox::Resized()
{
    TWinControl::Resized();
    Layout();
}

void TListBox::SetTopIndex(int V)
{
    V = std::clamp(V, FScrollBar->Min(), std::max(FScrollBar->Min(), FScrollBar->Max() - FScrollBar->PageSize() + 1));
    if (V == FTopIndex) return;
    FTopIndex = V;
    FScrollBar->SetPosition(V);
    Invalidate();
}

void TListBox::ScrollIntoView(int Index)
{
    if (Index < 0 || Index >= Count()) return;
    if (Index < FTopIndex) {
        SetTopIndex(Index);
        return;
    }
    // Back from Index, as many items as fit: the smallest top that shows it.
    int Top = Index, Used = ItemHeightOf(Index);
    while (Top > 0 && Used + ItemHeightOf(Top - 1) <= Height() - 2 * Border) Used += ItemHeightOf(--Top);
    if (Top > FTopIndex) SetTopIndex(Top);
}

void TListBox::SetItemIndex(int V)
{
    V = std::clamp(V, -1, Count() - 1);
    if (V != FItemIndex) {
        FItemIndex = V;
        Invalidate();
    }
    ScrollIntoView(V);
}

TRect TListBox::ItemRect(int Index) const
{
    if (Index < FTopIndex || Index >= Count()) return {};
    const TRect Area = ItemArea();
    int Top = Area.Top;
    for (int I = FTopIndex; I < Index; ++I) {
        Top += ItemHeightOf(I);
        if (Top >= Area.Bottom) return {};
    }
    return Rect(Area.Left, Top, Area.Right, Top + ItemHeightOf(Index));
}

int TListBox::ItemAtPos(int X, int Y) const
{
    const TRect Area = ItemArea();
    if (!Area.Contains(X, Y)) return -1;
    int Top = Area.Top;
    for (int I = FTopIndex; I < Count() && Top < Area.Bottom; ++I) {
        const int Bottom = Top + ItemHeightOf(I);
        if (Y < Bottom) return I;
        Top = Bottom;
    }
    return -1;
}

void TListBox::UserSelects(int Index)
{
    Index = std::clamp(Index, 0, Count() - 1);
    if (Count() == 0 || Index == FItemIndex) {
        ScrollIntoView(FItemIndex);
        return;
    }
    SetItemIndex(Index);
    if (OnClick) OnClick(this);
}

void TListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FPressedIndex = -1;
    FPressedTwice = Shift.Contains(ssDouble);
    if (Button == mbLeft) {
        FSearch.clear();
        const int Index = ItemAtPos(X, Y);
        if (Index >= 0) {
            UserSelects(Index);
            FPressedIndex = Index;
        }
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    // Dragging with the button held moves the selection along.
    if (Shift.Contains(ssLeft) && FPressedIndex >= 0) {
        const int Index = ItemAtPos(X, Y);
        if (Index >= 0) {
            UserSelects(Index);
            FPressedIndex = Index;
        }
    }
    TWinControl::MouseMove(Shift, X, Y);
}

void TListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool Chosen = Button == mbLeft && FPressedIndex >= 0 && ItemAtPos(X, Y) == FPressedIndex &&
                        (ClickChooses || FPressedTwice);
    FPressedIndex = -1;
    TWinControl::MouseUp(Button, Shift, X, Y);
    if (Chosen && OnChoose) OnChoose(this);
}

bool TListBox::MouseWheel(TShiftState Shift, int Delta, int X, int Y)
{
    return FScrollBar->Visible() && FScrollBar->MouseWheel(Shift, Delta, X, Y);
}

void TListBox::KeyDown(TKey& Key, TShiftState Shift)
{
    const int Page = FittingFrom(std::max(FTopIndex, 0));
    int Target = FItemIndex;
    switch (Key) {
    case vkUp: Target = FItemIndex - 1; break;
    case vkDown: Target = FItemIndex + 1; break;
    case vkPrior: Target = FItemIndex - Page + 1; break;
    case vkNext: Target = FItemIndex + Page - 1; break;
    case vkHome: Target = 0; break;
    case vkEnd: Target = Count() - 1; break;
    case vkReturn:
        if (!OnChoose || FItemIndex < 0) return TWinControl::KeyDown(Key, Shift);
        Key = 0;
        OnChoose(this);
        return;
    default: TWinControl::KeyDown(Key, Shift); return;
    }
    Key = 0;
    FSearch.clear();
    UserSelects(std::max(Target, 0));
}

void TListBox::TextInput(const std::string& Text)
{
    // More letters narrow the search; a letter that matches nothing starts a new one.
    std::string Search = FSearch + Text;
    auto Find = [&](const std::string& Prefix) {
        for (int I = 0; I < Count(); ++I)
            if (StartsWithText(FItems[static_cast<size_t>(I)], Prefix)) return I;
        return -1;
    };
    int Found = Find(Search);
    if (Found < 0) {
        Search = Text;
        Found = Find(Search);
    }
    FSearch = Found >= 0 ? Search : std::string();
    if (Found >= 0) UserSelects(Found);
}

void TListBox::DoEnter(bool ByTab)
{
    FSearch.clear();
    TWinControl::DoEnter(ByTab);
}

void TListBox::Paint(TCanvas& C)
{
    const TRect R = ClientRect();
    C.Brush.Color = EffectiveColor();
    C.FillRect(R);
    DrawEdge(C, R, clBtnShadow, clBtnHighlight);
    DrawEdge(C, Inflate(R, 1), cl3DDkShadow, cl3DLight);
    const TRect Area = ItemArea();
    const bool HasFocus = Focused();
    for (int I = FTopIndex; I < Count(); ++I) {
        const TRect Item = Intersect(ItemRect(I), Area);
        if (Item.IsEmpty()) break;
        TOwnerDrawState State;
        if (I == FItemIndex) State.Include(odSelected);
        if (I == FItemIndex && HasFocus) State.Include(odFocused);
        const bool Selected = State.Contains(odSelected);
        C.Brush.Color = Selected ? clHighlight : EffectiveColor();
        C.Pen.Color = C.Brush.Color;
        C.Font = EffectiveFont();
        if (Selected) C.Font.SetColor(clHighlightText);
        C.FillRect(Item);
        if (FStyle != lbStandard && OnDrawItem) {
            OnDrawItem(this, I, Item, State);
        } else {
            const std::string& Text = FItems[static_cast<size_t>(I)];
            C.TextOut(Item.Left + 2, Item.Top + (Item.Height() - C.TextHeight(Text)) / 2, Text);
        }
        if (State.Contains(odFocused)) DrawFocusRect(C, Item);
    }
}
