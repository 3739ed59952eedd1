#include "platform/toolkit/ScrollBar.h"

#include <algorithm>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"

namespace {

constexpr int MinThumb = 8;

void Publish(TPublisher<TScrollBar>& P)
{
    P.Redeclare("Width").OrdDefault = TScrollBar::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TScrollBar::DefaultHeight;
    P.Ordinal("Position", TypeInfoInteger, &TScrollBar::Position, &TScrollBar::SetPosition, 0)
        .Describe("The scroll bar's value.");
    P.Field("SmallChange", TypeInfoInteger, &TScrollBar::SmallChange, 1).Range(1, 1000000)
        .Describe("How far an arrow button or arrow key moves the position.");
    P.Event("OnChange", TypeInfoTNotifyEvent, &TScrollBar::OnChange).Describe("Runs when the position changes.");
}

// A small triangle pointing up or down, centred in R.
void Arrow(TCanvas& C, const TRect& R, bool Up, TColor Color)
{
    const int CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
    C.Brush.Color = Color;
    for (int I = 0; I < 4; ++I) {
        const int Y = Up ? CY - 2 + I : CY + 1 - I;
        C.FillRect(Rect(CX - I, Y, CX + I + 1, Y + 1));
    }
}

} // namespace

const TClassInfo& TScrollBar::StaticClassInfo()
{
    static const TClassInfo Info = MakeClassInfo<TScrollBar>("TScrollBar", Publish, true);
    return Info;
}

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

int TScrollBar::ArrowSize() const
{
    return std::min(Width(), Height() / 2);
}

TRect TScrollBar::ThumbRect() const
{
    const int64_t Range = int64_t{FMax} - FMin + 1;
    const int Track = Height() - 2 * ArrowSize();
    if (FPageSize >= Range || Track <= MinThumb) return {};
    const int Length = std::max(MinThumb, static_cast<int>(Track * int64_t{FPageSize} / Range));
    const int64_t Span = MaxPosition() - FMin;
    const int Top = ArrowSize() + static_cast<int>(Span == 0 ? 0 : (Track - Length) * (int64_t{FPosition} - FMin) / Span);
    return Rect(0, Top, Width(), Top + Length);
}

void TScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        const TRect Thumb = ThumbRect();
        if (Y < ArrowSize()) {
            SetPosition(FPosition - SmallChange);
        } else if (Y >= Height() - ArrowSize()) {
            SetPosition(FPosition + SmallChange);
        } else if (Thumb.Contains(X, Y)) {
            FDragging = true;
            FDragOffset = Y - Thumb.Top;
        } else if (!Thumb.IsEmpty()) {
            SetPosition(Y < Thumb.Top ? FPosition - FPageSize : FPosition + FPageSize);
        }
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TScrollBar::MouseMove(TShiftState Shift, int X, int Y)
{
    const TRect Thumb = ThumbRect();
    if (FDragging && !Thumb.IsEmpty()) {
        const int Track = Height() - 2 * ArrowSize() - Thumb.Height();
        const int64_t Span = MaxPosition() - FMin;
        const int Along = std::clamp(Y - FDragOffset - ArrowSize(), 0, std::max(Track, 0));
        // Nearest position for the thumb's top.
        if (Track > 0) SetPosition(FMin + static_cast<int>((Along * Span * 2 + Track) / (2 * int64_t{Track})));
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
    for (const TRect& Button : {Rect(0, 0, Width(), A), Rect(0, Height() - A, Width(), Height())}) {
        C.Brush.Color = clBtnFace;
        C.FillRect(Button);
        DrawEdge(C, Button, clBtnHighlight, clBtnShadow);
    }
    Arrow(C, Rect(0, 0, Width(), A), true, ArrowColor);
    Arrow(C, Rect(0, Height() - A, Width(), Height()), false, ArrowColor);
    const TRect Thumb = ThumbRect();
    if (!Thumb.IsEmpty()) {
        C.Brush.Color = clBtnFace;
        C.FillRect(Thumb);
        DrawEdge(C, Thumb, clBtnHighlight, cl3DDkShadow);
        DrawEdge(C, Inflate(Thumb, 1), cl3DLight, clBtnShadow);
    }
}
