#include "platform/toolkit/Splitter.h"

#include <algorithm>

#include "platform/rtl/Publish.h"

QELL_DEFINE_CLASS_INFO(TSplitter)

TSplitter::TSplitter(TComponent* AOwner) : TControl(AOwner)
{
    Cursor = crSizeWE;
    SetBounds(0, 0, DefaultThickness, 100);
}

void TSplitter::SetKind(TSplitterKind V)
{
    FKind = V;
    Cursor = V == skVertical ? crSizeWE : crSizeNS;
    Invalidate();
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (Shift.Contains(ssDouble)) {
        FDragging = false;
        if (OnDblClick) OnDblClick(this);
        return;
    }
    FDragging = true;
    FGrab = Along(X, Y);
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TControl::MouseMove(Shift, X, Y);
    if (!FDragging || !Shift.Contains(ssLeft)) return;
    // The point taken hold of stays under the pointer, as far as the range allows.
    const int To = std::clamp(Position() + Along(X, Y) - FGrab, MinPosition, std::max(MinPosition, MaxPosition));
    if (To == Position()) return;
    if (FKind == skVertical) SetLeft(To);
    else SetTop(To);
    if (OnMoved) OnMoved(this);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) FDragging = false;
    TControl::MouseUp(Button, Shift, X, Y);
}

void TSplitter::Paint(TCanvas& C)
{
    C.Brush.Color = EffectiveColor();
    C.FillRect(ClientRect());
    // A grip of three dots in the middle says that the bar can be taken hold of.
    C.Brush.Color = clBtnShadow;
    const int MidX = Width() / 2, MidY = Height() / 2;
    for (const int D : {-6, 0, 6}) {
        const TPoint P = FKind == skVertical ? TPoint{MidX, MidY + D} : TPoint{MidX + D, MidY};
        C.FillRect(Rect(P.X - 1, P.Y - 1, P.X + 1, P.Y + 1));
    }
}

std::vector<int> FitSpans(const std::vector<TPaneSpan>& Spans, size_t Flexible, int Room)
{
    std::vector<int> Sizes(Spans.size());
    long long Others = 0, Slack = 0;
    for (size_t I = 0; I < Spans.size(); ++I) {
        if (I == Flexible) continue;
        Sizes[I] = std::max(Spans[I].Wanted, Spans[I].Min);
        Others += Sizes[I];
        Slack += Sizes[I] - Spans[I].Min;
    }
    if (Flexible >= Spans.size()) return Sizes;
    const long long Deficit = std::min(Slack, Spans[Flexible].Min - (Room - Others));
    if (Deficit > 0) {
        // Shares worked out on the running sums, so that they add up to the deficit.
        long long SlackSoFar = 0, Given = 0;
        for (size_t I = 0; I < Spans.size(); ++I) {
            if (I == Flexible) continue;
            SlackSoFar += Sizes[I] - Spans[I].Min;
            const long long Share = Deficit * SlackSoFar / Slack - Given;
            Sizes[I] -= static_cast<int>(Share);
            Given += Share;
        }
        Others -= Deficit;
    }
    Sizes[Flexible] = static_cast<int>(std::max(0LL, Room - Others));
    return Sizes;
}
