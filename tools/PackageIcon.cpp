#include "tools/PackageIcon.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "colour/ColourModel.h"
#include "platform/rtl/Math.h"
#include "platform/graphics/Canvas.h"

namespace {

// Samples per pixel along each axis: enough for smooth edges at 16 pixels.
constexpr int Samples = 8;
constexpr TColor OutlineColour = RGBColor(44, 44, 52), MarkerColour = clWhite;

// The wheel of radius Inner at (DX, DY) from its centre. Hue runs anticlockwise from red
// at the right; saturation rises as a square root, so that the white centre stays small
// and the colours read at 16 pixels. From 48 pixels up a ring marks a picked colour, as
// the dialog's picker does.
TColor WheelColour(double DX, double DY, double Inner, int Size)
{
    if (Size >= 48) {
        const double MarkerAngle = -2.2, MarkerRadius = 0.62 * Inner;
        const double MX = DX - std::cos(MarkerAngle) * MarkerRadius;
        const double MY = DY + std::sin(MarkerAngle) * MarkerRadius;
        const double FromRing = std::abs(std::hypot(MX, MY) - Size / 11.0);
        if (FromRing < Size / 64.0) return MarkerColour;
        if (FromRing < Size / 32.0) return OutlineColour;
    }
    return HSBtoRGB(std::atan2(-DY, DX) / (2 * std::numbers::pi), std::sqrt(std::hypot(DX, DY) / Inner), 1);
}

} // namespace

TIconImage DrawPackageIcon(int Size)
{
    TIconImage Image{TBitmap(Size, Size, clBlack), std::vector<uint8_t>(static_cast<size_t>(Size) * Size, 0)};
    TCanvas Canvas(&Image.Colour, {0, 0}, Rect(0, 0, Size, Size));
    // The outline stays at least one pixel wide, so it reads at 16 pixels, and grows
    // with the icon, so it does not vanish at 256.
    const double Centre = Size / 2.0;
    const double Outer = Centre - std::max(0.5, Size / 64.0);
    const double Inner = Outer - std::max(1.0, Size / 20.0);
    for (int Y = 0; Y < Size; ++Y)
        for (int X = 0; X < Size; ++X) {
            double Red = 0, Green = 0, Blue = 0;
            int Covered = 0;
            for (int SY = 0; SY < Samples; ++SY)
                for (int SX = 0; SX < Samples; ++SX) {
                    const double DX = X + (SX + 0.5) / Samples - Centre;
                    const double DY = Y + (SY + 0.5) / Samples - Centre;
                    const double Distance = std::hypot(DX, DY);
                    if (Distance > Outer) continue;
                    const TColor C = Distance > Inner ? OutlineColour : WheelColour(DX, DY, Inner, Size);
                    Red += RedOf(C);
                    Green += GreenOf(C);
                    Blue += BlueOf(C);
                    ++Covered;
                }
            if (Covered == 0) continue;
            const auto Mean = [&](double Sum) { return static_cast<int32_t>(Round(Sum / Covered)); };
            Canvas.SetPixels(X, Y, RGBColor(Mean(Red), Mean(Green), Mean(Blue)));
            Image.Alpha[static_cast<size_t>(Y) * Size + X] =
                static_cast<uint8_t>(Round(255.0L * Covered / (Samples * Samples)));
        }
    return Image;
}
