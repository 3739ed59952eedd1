#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <cstdint>

#include "platform/graphics/FontEngine.h"

namespace {

// Canvas coordinates plus the origin can leave the int range, and the products in the
// line clipper leave even the 64-bit range: 64-bit for positions, 128-bit for products.
__extension__ typedef __int128 Int128;

constexpr uint32_t InvertMask = 0xFFFFFF;

// ColorToRGB crosses a library boundary; plain colours, by far the most common, are
// returned unchanged by it, so they skip the call.
inline uint32_t Plain(TColor Color)
{
    if ((static_cast<uint32_t>(Color) & 0xFF000000u) == 0) return static_cast<uint32_t>(Color);
    return static_cast<uint32_t>(ColorToRGB(Color));
}

// The part of the surface rectangle [L, R) x [T, B) inside Clip.
TRect ClipRect(const TRect& Clip, int64_t L, int64_t T, int64_t R, int64_t B)
{
    const int64_t CL = std::max<int64_t>(L, Clip.Left), CT = std::max<int64_t>(T, Clip.Top);
    const int64_t CR = std::min<int64_t>(R, Clip.Right), CB = std::min<int64_t>(B, Clip.Bottom);
    if (CR <= CL || CB <= CT) return {};
    return {static_cast<int>(CL), static_cast<int>(CT), static_cast<int>(CR), static_cast<int>(CB)};
}

void FillSpan(TBitmap& Surface, const TRect& R, uint32_t Color)
{
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        std::fill(Surface.ScanLine(Y) + R.Left, Surface.ScanLine(Y) + R.Right, Color);
}

void InvertSpan(TBitmap& Surface, const TRect& R)
{
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        uint32_t* Row = Surface.ScanLine(Y);
        for (int X = R.Left; X < R.Right; ++X) Row[X] ^= InvertMask;
    }
}

// Numerator >= 0, Denominator > 0.
Int128 CeilDiv(Int128 Numerator, Int128 Denominator)
{
    return (Numerator + Denominator - 1) / Denominator;
}

// One axis of a line: where it starts, which way it steps, and the clip's extent on it.
struct TAxis {
    int64_t Start;
    int64_t Sign; // +1 or -1
    int64_t Length; // absolute distance to the end point
    int64_t ClipLo, ClipHi;
};

// The steps [Lo, Hi) at which Start + Sign * Offset lies inside [ClipLo, ClipHi), for
// an offset that is the step itself (major axis) or a non-decreasing function of it.
// Returned as a range of offsets.
void OffsetRange(const TAxis& A, int64_t& Lo, int64_t& Hi)
{
    if (A.Sign > 0) {
        Lo = A.ClipLo - A.Start;
        Hi = A.ClipHi - A.Start;
    } else {
        Lo = A.Start - A.ClipHi + 1;
        Hi = A.Start - A.ClipLo + 1;
    }
}

// The line's pixels are, at step i in [0, n) with n = Major.Length:
//   major = Start + Sign * i
//   minor = Start + Sign * floor((2 i Minor.Length + n) / (2 n))
// that is the ideal line's minor coordinate rounded half up. Clipping works out the
// first and the last step inside the clip from this formula, so the clipped line keeps
// the pixels of the whole one and costs only what lies inside.
template <typename TPlot>
void StepLine(const TAxis& Major, const TAxis& Minor, int64_t MajorStride, int64_t MinorStride,
              TPlot Plot)
{
    const int64_t N = Major.Length;
    int64_t First = 0, Last = N;
    int64_t Lo, Hi;
    OffsetRange(Major, Lo, Hi);
    First = std::max(First, Lo);
    Last = std::min(Last, Hi);
    if (First >= Last) return;

    // First step at which the minor offset reaches K.
    const Int128 TwoN = Int128{2} * N, TwoM = Int128{2} * Minor.Length;
    auto StepReaching = [&](int64_t K) -> Int128 {
        if (K <= 0) return 0;
        if (Minor.Length == 0) return N;
        return CeilDiv((Int128{2} * K - 1) * N, TwoM);
    };
    OffsetRange(Minor, Lo, Hi);
    First = static_cast<int64_t>(std::max<Int128>(First, StepReaching(Lo)));
    Last = static_cast<int64_t>(std::min<Int128>(Last, StepReaching(Hi)));
    if (First >= Last) return;

    const Int128 Numerator = First * TwoM + N;
    const int64_t Q = static_cast<int64_t>(Numerator / TwoN);
    int64_t R = static_cast<int64_t>(Numerator % TwoN);
    const int64_t StepM = static_cast<int64_t>(TwoM), Wrap = static_cast<int64_t>(TwoN);
    int64_t Index = (Major.Start + Major.Sign * First) * MajorStride +
                    (Minor.Start + Minor.Sign * Q) * MinorStride;
    const int64_t MajorStep = Major.Sign * MajorStride, MinorStep = Minor.Sign * MinorStride;
    for (int64_t I = First; I < Last; ++I) {
        Plot(Index);
        R += StepM;
        if (R >= Wrap) {
            R -= Wrap;
            Index += MinorStep;
        }
        Index += MajorStep;
    }
}

} // namespace

void TCanvas::Bind(TBitmap* Surface, TPoint Origin, TRect Clip)
{
    FSurface = Surface;
    FOrigin = Origin;
    FClip = Surface ? Intersect(Clip, Rect(0, 0, Surface->Width(), Surface->Height())) : TRect{};
}

TCanvas::TCanvas(const TCanvas& Within, const TRect& Part)
{
    const TRect OnSurface = Bounds(Within.FOrigin.X + Part.Left, Within.FOrigin.Y + Part.Top, Part.Width(), Part.Height());
    Bind(Within.FSurface, {OnSurface.Left, OnSurface.Top}, Intersect(OnSurface, Within.FClip));
}

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = {X, Y};
}

void TCanvas::LineTo(int X, int Y)
{
    const TPoint From = FPenPos;
    FPenPos = {X, Y};
    if (!FSurface || FClip.IsEmpty()) return;

    const int64_t X0 = int64_t{From.X} + FOrigin.X, Y0 = int64_t{From.Y} + FOrigin.Y;
    const int64_t X1 = int64_t{X} + FOrigin.X, Y1 = int64_t{Y} + FOrigin.Y;
    const TAxis AX{X0, X1 >= X0 ? 1 : -1, X1 >= X0 ? X1 - X0 : X0 - X1, FClip.Left, FClip.Right};
    const TAxis AY{Y0, Y1 >= Y0 ? 1 : -1, Y1 >= Y0 ? Y1 - Y0 : Y0 - Y1, FClip.Top, FClip.Bottom};
    if (AX.Length == 0 && AY.Length == 0) return;

    uint32_t* Pixels = FSurface->ScanLine(0);
    const int64_t Stride = FSurface->Width();
    const bool XMajor = AX.Length >= AY.Length;
    const TAxis& Major = XMajor ? AX : AY;
    const TAxis& Minor = XMajor ? AY : AX;
    const int64_t MajorStride = XMajor ? 1 : Stride, MinorStride = XMajor ? Stride : 1;
    if (Pen.Mode == pmNot) {
        StepLine(Major, Minor, MajorStride, MinorStride,
                 [Pixels](int64_t I) { Pixels[I] ^= InvertMask; });
    } else {
        const uint32_t Color = Plain(Pen.Color);
        StepLine(Major, Minor, MajorStride, MinorStride,
                 [Pixels, Color](int64_t I) { Pixels[I] = Color; });
    }
}

void TCanvas::FillRect(const TRect& R)
{
    if (!FSurface) return;
    const TRect S = ClipRect(FClip, int64_t{R.Left} + FOrigin.X, int64_t{R.Top} + FOrigin.Y,
                             int64_t{R.Right} + FOrigin.X, int64_t{R.Bottom} + FOrigin.Y);
    FillSpan(*FSurface, S, Plain(Brush.Color));
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    if (!FSurface) return;
    const int64_t L = int64_t{X1} + FOrigin.X, T = int64_t{Y1} + FOrigin.Y;
    const int64_t R = int64_t{X2} + FOrigin.X, B = int64_t{Y2} + FOrigin.Y;
    if (R <= L || B <= T) return;

    FillSpan(*FSurface, ClipRect(FClip, L + 1, T + 1, R - 1, B - 1), Plain(Brush.Color));

    // Four edges that share no pixel, so that an inverting pen inverts each border
    // pixel exactly once, also in a rectangle one pixel wide or high.
    const TRect Edges[] = {
        ClipRect(FClip, L, T, R, T + 1),
        B - 1 > T ? ClipRect(FClip, L, B - 1, R, B) : TRect{},
        ClipRect(FClip, L, T + 1, L + 1, B - 1),
        R - 1 > L ? ClipRect(FClip, R - 1, T + 1, R, B - 1) : TRect{},
    };
    const uint32_t Color = Plain(Pen.Color);
    for (const TRect& E : Edges) {
        if (Pen.Mode == pmNot)
            InvertSpan(*FSurface, E);
        else
            FillSpan(*FSurface, E, Color);
    }
}

TColor TCanvas::Pixels(int X, int Y) const
{
    const int64_t SX = int64_t{X} + FOrigin.X, SY = int64_t{Y} + FOrigin.Y;
    if (!FSurface || SX < FClip.Left || SX >= FClip.Right || SY < FClip.Top || SY >= FClip.Bottom)
        return -1;
    return static_cast<TColor>(FSurface->ScanLine(static_cast<int>(SY))[SX]);
}

void TCanvas::SetPixels(int X, int Y, TColor Color)
{
    const int64_t SX = int64_t{X} + FOrigin.X, SY = int64_t{Y} + FOrigin.Y;
    if (!FSurface || SX < FClip.Left || SX >= FClip.Right || SY < FClip.Top || SY >= FClip.Bottom)
        return;
    FSurface->ScanLine(static_cast<int>(SY))[SX] = Plain(Color);
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    if (!FSurface || FClip.IsEmpty()) return;
    TFontEngine::Instance().DrawText(*FSurface, FClip, int64_t{X} + FOrigin.X,
                                     int64_t{Y} + FOrigin.Y, Font, Plain(Font.Color()), Text);
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text)
{
    if (!FSurface) return;
    const TRect Cell = ClipRect(FClip, int64_t{R.Left} + FOrigin.X, int64_t{R.Top} + FOrigin.Y,
                                int64_t{R.Right} + FOrigin.X, int64_t{R.Bottom} + FOrigin.Y);
    if (Cell.IsEmpty()) return;
    TFontEngine::Instance().DrawText(*FSurface, Cell, int64_t{X} + FOrigin.X, int64_t{Y} + FOrigin.Y, Font,
                                     Plain(Font.Color()), Text);
}

int TCanvas::TextWidth(const std::string& Text)
{
    return TFontEngine::Instance().TextWidth(Font, Text);
}

std::shared_ptr<const TTextLayout> TCanvas::TextLayout(const std::string& Text)
{
    return TFontEngine::Instance().Layout(Font, Text);
}

int TCanvas::TextHeight(const std::string&)
{
    return TFontEngine::Instance().TextHeight(Font);
}
