#include "platform/components/Painting.h"

#include <algorithm>
#include <vector>

namespace {

// How far row Y (0 at the corner's outer edge, below Radius) of a corner is cut in: the
// first pixel whose centre lies inside the circle, tested in doubled coordinates so
// that the half-pixel centres stay integers.
int CornerInset(int Radius, int Y)
{
    const int64_t R2 = 4 * int64_t{Radius} * Radius;
    const int64_t DY = 2 * int64_t{Y} + 1 - 2 * Radius;
    int X = 0;
    while (X < Radius) {
        const int64_t DX = 2 * int64_t{X} + 1 - 2 * Radius;
        if (DX * DX + DY * DY <= R2) break;
        ++X;
    }
    return X;
}

} // namespace

void FillRoundRect(TCanvas& C, const TRect& R, int Radius, TColor Color)
{
    if (R.IsEmpty()) return;
    C.Brush.Color = Color;
    const int Rad = std::clamp(Radius, 0, std::min(R.Width(), R.Height()) / 2);
    for (int Y = 0; Y < Rad; ++Y) {
        const int Inset = CornerInset(Rad, Y);
        C.FillRect(Rect(R.Left + Inset, R.Top + Y, R.Right - Inset, R.Top + Y + 1));
        C.FillRect(Rect(R.Left + Inset, R.Bottom - 1 - Y, R.Right - Inset, R.Bottom - Y));
    }
    C.FillRect(Rect(R.Left, R.Top + Rad, R.Right, R.Bottom - Rad));
}

void FillFramed(TCanvas& C, const TRect& R, int Radius, int BorderWidth, TColor Border, TColor Fill)
{
    if (BorderWidth > 0) FillRoundRect(C, R, Radius, Border);
    FillRoundRect(C, Inflate(R, std::max(BorderWidth, 0)), std::max(Radius - BorderWidth, 0), Fill);
}

int ShapeRadius(TQellShape Shape, const TRect& R)
{
    const int Shorter = std::max(std::min(R.Width(), R.Height()), 0);
    switch (Shape) {
    case qsRounded: return std::min(Shorter / 4, 8);
    case qsPill: return Shorter / 2;
    default: return 0;
    }
}

void DrawCaption(TCanvas& C, const TRect& R, const std::string& Text, TColor Color, TQellTextAlign Align)
{
    if (R.IsEmpty() || Text.empty()) return;
    C.Font = TFont();
    C.Font.SetColor(Color);
    const int Height = C.TextHeight(Text);
    if (Height > R.Height()) return;

    // The longest prefix, ending at a grapheme boundary, that fits the width.
    const std::vector<size_t>& Bounds = C.TextLayout(Text)->Graphemes();
    const std::vector<size_t> Ends(Bounds.begin() + 1, Bounds.end());
    size_t Lo = 0, Hi = Ends.size(); // Lo characters fit; more than Hi do not
    while (Lo < Hi) {
        const size_t Mid = (Lo + Hi + 1) / 2;
        if (C.TextWidth(Text.substr(0, Ends[Mid - 1])) <= R.Width()) Lo = Mid;
        else Hi = Mid - 1;
    }
    if (Lo == 0) return;
    const std::string Shown = Text.substr(0, Ends[Lo - 1]);
    const int Width = C.TextWidth(Shown);
    int X = R.Left;
    if (Align == qaCenter) X += (R.Width() - Width) / 2;
    else if (Align == qaRight) X = R.Right - Width;
    C.TextOut(X, R.Top + (R.Height() - Height) / 2, Shown);
}
