#include "platform/graphics/Drawing.h"

void DrawEdge(TCanvas& C, const TRect& R, TColor TopLeft, TColor BottomRight)
{
    if (R.IsEmpty()) return;
    const TColor Saved = C.Brush.Color;
    C.Brush.Color = TopLeft;
    C.FillRect(Rect(R.Left, R.Top, R.Right, R.Top + 1));
    C.FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom));
    C.Brush.Color = BottomRight;
    C.FillRect(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
    C.FillRect(Rect(R.Right - 1, R.Top, R.Right, R.Bottom));
    C.Brush.Color = Saved;
}

void DrawFocusRect(TCanvas& C, const TRect& R)
{
    if (R.IsEmpty()) return;
    auto Invert = [&](int X, int Y) {
        const TColor P = C.Pixels(X, Y);
        if (P >= 0) C.SetPixels(X, Y, ~P & 0xFFFFFF);
    };
    for (int X = R.Left; X < R.Right; X += 2) {
        Invert(X, R.Top);
        if (R.Bottom - 1 > R.Top) Invert(X, R.Bottom - 1);
    }
    for (int Y = R.Top + 2; Y < R.Bottom - 1; Y += 2) {
        Invert(R.Left, Y);
        if (R.Right - 1 > R.Left) Invert(R.Right - 1, Y);
    }
}
