#include "platform/toolkit/TrackBar.h"

#include <algorithm>
#include <cstdint>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"

namespace {

constexpr const char* OrientationNames[] = {"trHorizontal", "trVertical"};

void Publish(TPublisher<TTrackBar>& P)
{
    P.Redeclare("Width").OrdDefault = TTrackBar::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TTrackBar::DefaultHeight;
    P.Redeclare("TabStop").OrdDefault = true;
    P.Field("Orientation", TypeInfoTTrackBarOrientation, &TTrackBar::Orientation, trHorizontal)
        .Describe("Whether the track runs across or up and down.");
    P.Ordinal("Min", TypeInfoInteger, &TTrackBar::Min, &TTrackBar::SetMin, 0)
        .Describe("The position at the track's start.");
    P.Ordinal("Max", TypeInfoInteger, &TTrackBar::Max, &TTrackBar::SetMax, 10)
        .Describe("The position at the track's end.");
    P.Ordinal("Position", TypeInfoInteger, &TTrackBar::Position, &TTrackBar::SetPosition, 0)
        .Describe("The value the thumb marks, from Min to Max.");
    P.Field("Frequency", TypeInfoInteger, &TTrackBar::Frequency, 1).Range(0, INT32_MAX)
        .Describe("How many positions lie between two tick marks; 0 draws none.");
    P.Field("PageSize", TypeInfoInteger, &TTrackBar::PageSize, 2).Range(0, INT32_MAX)
        .Describe("How far Page Up, Page Down or a click on the track moves the thumb.");
    P.Event("OnChange", TypeInfoTNotifyEvent, &TTrackBar::OnChange)
        .Describe("Runs when the position changes, whether moved or set from code.");
}

// Across the track: the thumb occupies [ThumbInset, ThumbInset + ThumbThickness), the
// ticks follow below (or to the right) of it.
constexpr int ThumbInset = 4, ThumbThickness = 18, ThumbLength = 11;
// Along the track: the thumb's centre stays this far from either end.
constexpr int EndMargin = 8;

} // namespace

const TTypeInfo TypeInfoTTrackBarOrientation = EnumTypeInfo("TTrackBarOrientation", OrientationNames);

QELL_DEFINE_CLASS_INFO(TTrackBar, Publish, true)

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

void TTrackBar::SetMin(int V)
{
    if (V == FMin) return;
    FMin = V;
    FMax = std::max(FMax, FMin);
    Invalidate();
    SetPosition(FPosition);
}

void TTrackBar::SetMax(int V)
{
    if (V == FMax) return;
    FMax = V;
    FMin = std::min(FMin, FMax);
    Invalidate();
    SetPosition(FPosition);
}

void TTrackBar::SetPosition(int V)
{
    V = std::clamp(V, FMin, FMax);
    if (V == FPosition) return;
    FPosition = V;
    Invalidate();
    if (OnChange) OnChange(this);
}

int TTrackBar::TrackStart() const
{
    return EndMargin;
}

int TTrackBar::TrackEnd() const
{
    const int Length = Orientation == trVertical ? Height() : Width();
    return std::max(TrackStart(), Length - EndMargin - 1);
}

int TTrackBar::PositionToPixel(int P) const
{
    const int A = TrackStart(), B = TrackEnd();
    if (FMax == FMin) return A;
    return A + static_cast<int>(static_cast<int64_t>(P - FMin) * (B - A) / (static_cast<int64_t>(FMax) - FMin));
}

int TTrackBar::PositionAt(int X, int Y) const
{
    const int A = TrackStart(), B = TrackEnd();
    if (B == A || FMax == FMin) return FMin;
    const int64_t Along = std::clamp(Orientation == trVertical ? Y : X, A, B) - A;
    const int64_t Range = static_cast<int64_t>(FMax) - FMin;
    // Nearest position: round half up on non-negative values.
    return FMin + static_cast<int>((Along * Range * 2 + (B - A)) / (2 * static_cast<int64_t>(B - A)));
}

TRect TTrackBar::ThumbRect() const
{
    const int Centre = PositionToPixel(FPosition);
    const int Lo = Centre - ThumbLength / 2;
    if (Orientation == trVertical) return Bounds(ThumbInset, Lo, ThumbThickness, ThumbLength);
    return Bounds(Lo, ThumbInset, ThumbLength, ThumbThickness);
}

void TTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        const int Along = Orientation == trVertical ? Y : X;
        if (ThumbRect().Contains(X, Y)) {
            FDragging = true;
            FDragOffset = Along - PositionToPixel(FPosition);
        } else {
            // A press on the track steps a page towards the pointer.
            const int Target = PositionAt(X, Y);
            if (Target > FPosition) SetPosition(std::min(Target, FPosition + PageSize));
            else if (Target < FPosition) SetPosition(std::max(Target, FPosition - PageSize));
        }
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TTrackBar::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FDragging) {
        if (Orientation == trVertical) SetPosition(PositionAt(X, Y - FDragOffset));
        else SetPosition(PositionAt(X - FDragOffset, Y));
    }
    TWinControl::MouseMove(Shift, X, Y);
}

void TTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) FDragging = false;
    TWinControl::MouseUp(Button, Shift, X, Y);
}

void TTrackBar::KeyDown(TKey& Key, TShiftState Shift)
{
    // Min is at the left or top, so Down and Right both move towards Max.
    switch (Key) {
    case vkLeft:
    case vkUp: SetPosition(FPosition - 1); break;
    case vkRight:
    case vkDown: SetPosition(FPosition + 1); break;
    case vkPrior: SetPosition(FPosition - PageSize); break;
    case vkNext: SetPosition(FPosition + PageSize); break;
    case vkHome: SetPosition(FMin); break;
    case vkEnd: SetPosition(FMax); break;
    default: TWinControl::KeyDown(Key, Shift); return;
    }
    Key = 0;
}

void TTrackBar::Paint(TCanvas& C)
{
    const bool Vertical = Orientation == trVertical;
    C.Brush.Color = EffectiveColor();
    C.FillRect(ClientRect());

    // Lays out along/across coordinates on the control.
    auto Place = [&](int AlongLo, int AcrossLo, int AlongHi, int AcrossHi) {
        return Vertical ? Rect(AcrossLo, AlongLo, AcrossHi, AlongHi) : Rect(AlongLo, AcrossLo, AlongHi, AcrossHi);
    };
    const int A = TrackStart(), B = TrackEnd();
    const int Mid = ThumbInset + ThumbThickness / 2;
    const TRect Channel = Place(A - 2, Mid - 2, B + 3, Mid + 2);
    C.Brush.Color = clWindow;
    C.FillRect(Channel);
    DrawEdge(C, Channel, clBtnShadow, clBtnHighlight);

    const int TickAt = ThumbInset + ThumbThickness + 2;
    C.Brush.Color = clBtnText;
    auto Tick = [&](int P) {
        const int Pixel = PositionToPixel(P);
        C.FillRect(Place(Pixel, TickAt, Pixel + 1, TickAt + 3));
    };
    if (Frequency > 0)
        for (int64_t P = FMin; P < FMax; P += Frequency) Tick(static_cast<int>(P));
    Tick(FMin);
    Tick(FMax);

    const TRect Thumb = ThumbRect();
    C.Brush.Color = clBtnFace;
    C.FillRect(Thumb);
    DrawEdge(C, Thumb, clBtnHighlight, cl3DDkShadow);
    DrawEdge(C, Rect(Thumb.Left + 1, Thumb.Top + 1, Thumb.Right - 1, Thumb.Bottom - 1), cl3DLight, clBtnShadow);

    if (Focused()) DrawFocusRect(C, ClientRect());
}
