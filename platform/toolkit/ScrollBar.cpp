#include "platform/toolkit/ScrollBar.h"

#include <algorithm>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"

namespace {

constexpr int MinThumb = 8;
constexpr const char* KindNames[] = {"sbHorizontal", "sbVertical"};

void Publish(TPublisher<TScrollBar>& P)
{
    P.Redeclare("Width").OrdDefault = TScrollBar::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TScrollBar::DefaultHeight;
    P.Ordinal("Position", TypeInfoInteger, &TScrollBar::Position, &TScrollBar::SetPosition, 0)
        .Describe("The scroll bar's value.");
    P.Field("SmallChange", TypeInfoInteger, &TScrollBar::SmallChange, 1).Range(1, 1000000)
        .Describe("How far an arrow button or arrow key moves the position.");
    P.Ordinal("Kind", TypeInfoTScrollBarKind, &TScrollBar::Kind, &TScrollBar::SetKind, sbVertical)
        .Describe("Whether the bar lies across (sbHorizontal) or down (sbVertical).");
    P.Event("OnChange", TypeInfoTNotifyEvent, &TScrollBar::OnChange).Describe("Runs when the position changes.");
}

// A small triangle pointing back (up, or left) or forward (down, or right), centred
// in R.
void Arrow(TCanvas& C, const TRect& R, TScrollBarKind Kind, bool Back, TColor Color)
{
    const int CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
    C.Brush.Color = Color;
    for (int I = 0; I < 4; ++I) {
        if (Kind == sbVertical) {
            const int Y = Back ? CY - 2 + I : CY + 1 - I;
            C.FillRect(Rect(CX - I, Y, CX + I + 1, Y + 1));
        } else {
            const int X = Back ? CX - 2 + I : CX + 1 - I;
            C.FillRect(Rect(X, CY - I, X + 1, CY + I + 1));
        }
    }
}

} // namespace

const TTypeInfo TypeInfoTScrollBarKind = EnumTypeInfo("TScrollBarKind", KindNames);

QELL_DEFINE_CLASS_INFO(TScrollBar, Publish, true)

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

void TScrollBar::SetParams(int AMin, int AMax, int APageSize)
{
    AMax = std::max(AMax, AMin);
    APageSize = std::max(APageSize, 1);
    if (AMin == FMin && AMax == FMax && APageSize == FPageSize) return;
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
    Invalidate();
    SetPosition(FPosition);
}

int TScrollBar::MaxPosition() const
{
    return std::max(FMin, static_cast<int>(std::min<int64_t>(int64_t{FMax} - FPageSize + 1, INT32_MAX)));
}

void TScrollBar::SetPosition(int V)
{
    V = std::clamp(V, FMin, MaxPosition());
    if (V == FPosition) return;
    FPosition = V;
    Invalidate();
    if (OnChange) OnChange(this);
}

void TScrollBar::SetKind(TScrollBarKind V)
{
    if (V == FKind) return;
    FKind = V;
    Invalidate();
}

int TScrollBar::ArrowSize() const
{
    return std::min(Thickness(), Length() / 2);
}

TRect TScrollBar::Span(int Start, int End) const
{
    return FKind == sbVertical ? Rect(0, Start, Width(), End) : Rect(Start, 0, End, Height());
}

TRect TScrollBar::ThumbRect() const
{
    const int64_t Range = int64_t{FMax} - FMin + 1;
    const int Track = Length() - 2 * ArrowSize();
    if (FPageSize >= Range || Track <= MinThumb) return {};
    const int Thumb = std::max(MinThumb, static_cast<int>(Track * int64_t{FPageSize} / Range));
    const int64_t Positions = MaxPosition() - FMin;
    const int Start =
        ArrowSize() + static_cast<int>(Positions == 0 ? 0 : (Track - Thumb) * (int64_t{FPosition} - FMin) / Positions);
    return Span(Start, Start + Thumb);
}

void TScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        const TRect Thumb = ThumbRect();
        const int P = Along(X, Y), ThumbStart = Along(Thumb.Left, Thumb.Top);
        if (P < ArrowSize()) {
            SetPosition(FPosition - SmallChange);
        } else if (P >= Length() - ArrowSize()) {
            SetPosition(FPosition + SmallChange);
        } else if (Thumb.Contains(X, Y)) {
            FDragging = true;
            FDragOffset = P - ThumbStart;
        } else if (!Thumb.IsEmpty()) {
            SetPosition(P < ThumbStart ? FPosition - FPageSize : FPosition + FPageSize);
        }
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TScrollBar::MouseMove(TShiftState Shift, int X, int Y)
{
    const TRect Thumb = ThumbRect();
    if (FDragging && !Thumb.IsEmpty()) {
        const int Track = Length() - 2 * ArrowSize() - Along(Thumb.Width(), Thumb.Height());
        const int64_t Positions = MaxPosition() - FMin;
        const int Moved = std::clamp(Along(X, Y) - FDragOffset - ArrowSize(), 0, std::max(Track, 0));
        // Nearest position for the thumb's start.
        if (Track > 0) SetPosition(FMin + static_cast<int>((Moved * Positions * 2 + Track) / (2 * int64_t{Track})));
    }
    TWinControl::MouseMove(Shift, X, Y);
}

void TScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) FDragging = false;
    TWinControl::MouseUp(Button, Shift, X, Y);
}

bool TScrollBar::MouseWheel(TShiftState, int Delta, int, int)
{
    const int Before = FPosition;
    SetPosition(FPosition - Delta * 3 * SmallChange);
    return FPosition != Before;
}

void TScrollBar::Paint(TCanvas& C)
{
    const TRect R = ClientRect();
    C.Brush.Color = cl3DLight;
    C.FillRect(R);
    const int A = ArrowSize();
    const TColor ArrowColor = Enabled() ? clBtnText : clGrayText;
    const TRect Back = Span(0, A), Forward = Span(Length() - A, Length());
    for (const TRect& Button : {Back, Forward}) {
        C.Brush.Color = clBtnFace;
        C.FillRect(Button);
        DrawEdge(C, Button, clBtnHighlight, clBtnShadow);
    }
    Arrow(C, Back, FKind, true, ArrowColor);
    Arrow(C, Forward, FKind, false, ArrowColor);
    const TRect Thumb = ThumbRect();
    if (!Thumb.IsEmpty()) {
        C.Brush.Color = clBtnFace;
        C.FillRect(Thumb);
        DrawEdge(C, Thumb, clBtnHighlight, cl3DDkShadow);
        DrawEdge(C, Inflate(Thumb, 1), cl3DLight, clBtnShadow);
    }
}
