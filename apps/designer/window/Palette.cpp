#include "apps/designer/window/Palette.h"

#include "platform/components/IWQellBase.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/resources/ClassRegistry.h"

namespace {

constexpr char PointerCaption[] = "Pointer";

void Box(TCanvas& C, const TRect& R, TColor Fill)
{
    C.Pen.Color = clBtnShadow;
    C.Brush.Color = Fill;
    C.Rectangle(R);
}

// The pointer's arrow.
void DrawArrow(TCanvas& C, int X, int Y)
{
    C.Brush.Color = clWindowText;
    for (int Row = 0; Row < 11; ++Row) C.FillRect(Rect(X + 4, Y + 2 + Row, X + 5 + std::min(Row, 6), Y + 3 + Row));
    C.FillRect(Rect(X + 8, Y + 12, X + 10, Y + 15));
}

} // namespace

void DrawClassIcon(TCanvas& C, const TClassInfo& Class, int X, int Y)
{
    const int S = TPalette::IconSize;
    const auto Is = [&](const char* Name) { return SameText(Class.Name, Name); };
    if (Is("TQellButton")) {
        Box(C, Rect(X + 1, Y + 4, X + S - 1, Y + S - 4), clBtnFace);
        C.Brush.Color = clWindowText;
        C.FillRect(Rect(X + 5, Y + 7, X + S - 5, Y + 9));
    } else if (Is("TQellOnOffButton")) {
        Box(C, Rect(X + 1, Y + 5, X + S - 1, Y + S - 5), 0x32CD32);
        Box(C, Rect(X + S - 7, Y + 5, X + S - 1, Y + S - 5), clWindow);
    } else if (Is("TQellTrackbar")) {
        C.Brush.Color = clBtnShadow;
        C.FillRect(Rect(X + 1, Y + 7, X + S - 1, Y + 9));
        Box(C, Rect(X + 6, Y + 3, X + 10, Y + S - 3), clBtnFace);
    } else if (Is("TQellList")) {
        Box(C, Rect(X + 1, Y + 1, X + S - 1, Y + S - 1), clWindow);
        C.Brush.Color = clHighlight;
        C.FillRect(Rect(X + 2, Y + 6, X + S - 2, Y + 10));
    } else if (Is("TQellPopup")) {
        Box(C, Rect(X + 1, Y + 2, X + S - 1, Y + S - 2), clWindow);
        C.Brush.Color = clActiveCaption;
        C.FillRect(Rect(X + 2, Y + 3, X + S - 2, Y + 6));
    } else if (Is("TQellSpinner")) {
        Box(C, Rect(X + 3, Y + 1, X + S - 3, Y + S - 1), clBtnFace);
        C.Brush.Color = 0xFACE87;
        C.FillRect(Rect(X + 4, Y + 6, X + S - 4, Y + 10));
    } else if (Is("TQellLabel")) {
        C.Brush.Color = clWindowText;
        // An "A": two legs and a bar.
        for (int Row = 0; Row < 11; ++Row) {
            C.FillRect(Rect(X + 7 - Row / 2, Y + 3 + Row, X + 8 - Row / 2, Y + 4 + Row));
            C.FillRect(Rect(X + 8 + Row / 2, Y + 3 + Row, X + 9 + Row / 2, Y + 4 + Row));
        }
        C.FillRect(Rect(X + 5, Y + 10, X + 11, Y + 11));
    } else {
        Box(C, Rect(X + 2, Y + 2, X + S - 2, Y + S - 2), clBtnFace);
    }
}

QELL_DEFINE_CLASS_INFO(TPalette)

TPalette::TPalette(TWinControl& Parent, TPageDocument& Document) : TListBox(&Parent), FDocument(Document)
{
    SetName("Palette");
    SetParent(&Parent);
    TabStop = true;
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(ItemHeight);
    OnDrawItem = [this](TObject*, int Index, const TRect& R, TOwnerDrawState State) { DrawItem(Index, R, State); };
    OnClick = [this](TObject*) {
        const int I = ItemIndex();
        FDocument.SetPlacingClass(I > 0 ? FClasses[static_cast<size_t>(I - 1)] : nullptr);
    };
    FDocument.AddObserver(*this);
    ShowClasses();
}

TPalette::~TPalette()
{
    FDocument.RemoveObserver(*this);
}

void TPalette::ShowClasses()
{
    FClasses.clear();
    std::vector<std::string> Names{PointerCaption};
    for (const TClassInfo* C : RegisteredClasses())
        if (C->CreateComponent && C->InheritsFrom(TQellControl::StaticClassInfo())) {
            FClasses.push_back(C);
            Names.push_back(C->Name);
        }
    SetItems(std::move(Names));
    SetItemIndex(0);
}

void TPalette::DocumentChanged(const TDocumentChange& Change)
{
    if (!Change.Placing) return;
    const TClassInfo* Placing = FDocument.PlacingClass();
    const auto It = std::find(FClasses.begin(), FClasses.end(), Placing);
    SetItemIndex(Placing && It != FClasses.end() ? static_cast<int>(It - FClasses.begin()) + 1 : 0);
    Invalidate();
}

void TPalette::PlaceAtTopLeft(const TClassInfo& Class)
{
    if (!FDocument.CommitPendingEdits()) return;
    const TPoint At = FDocument.FreeSpot(Class, {FirstPlace, FirstPlace}, {Step, Step});
    FDocument.SetPlacingClass(nullptr);
    FDocument.AddComponent(Class, "", At);
}

void TPalette::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const int Index = ItemAtPos(X, Y);
    if (Button == mbLeft && Shift.Contains(ssDouble) && Index > 0) {
        SetItemIndex(Index);
        PlaceAtTopLeft(*FClasses[static_cast<size_t>(Index - 1)]);
        return;
    }
    TListBox::MouseDown(Button, Shift, X, Y);
}

void TPalette::KeyDown(TKey& Key, TShiftState Shift)
{
    if (Key == vkReturn && Shift.Empty() && ItemIndex() > 0) {
        PlaceAtTopLeft(*FClasses[static_cast<size_t>(ItemIndex() - 1)]);
        Key = 0;
        return;
    }
    if (Key == vkEscape && Shift.Empty() && FDocument.PlacingClass()) {
        FDocument.SetPlacingClass(nullptr);
        Key = 0;
        return;
    }
    TListBox::KeyDown(Key, Shift);
}

void TPalette::DrawItem(int Index, const TRect& R, TOwnerDrawState State)
{
    TCanvas& C = Canvas();
    const bool Selected = State.Contains(odSelected);
    C.Brush.Color = Selected ? clHighlight : EffectiveColor();
    C.FillRect(R);
    const int IconY = R.Top + (R.Height() - IconSize) / 2;
    if (Index == 0) DrawArrow(C, R.Left + 3, IconY);
    else DrawClassIcon(C, *FClasses[static_cast<size_t>(Index - 1)], R.Left + 3, IconY);
    C.Font = EffectiveFont();
    C.Font.SetColor(Selected ? clHighlightText : clWindowText);
    const std::string& Text = Items(Index);
    C.TextRect(R, R.Left + IconSize + 8, R.Top + (R.Height() - C.TextHeight(Text)) / 2, Text);
}
