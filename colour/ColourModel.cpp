#include "colour/ColourModel.h"

namespace {

// Trunc(x * 255 + 0.5): the product is rounded before the half is added. With x in
// [0, 1] the level is 0..255.
inline int32_t ChannelLevel(Extended X)
{
    const Extended Scaled = X * 255;
    return static_cast<int32_t>(Trunc(Scaled + 0.5L));
}

inline Extended ClampUnit(Extended X)
{
    if (!(X > 0)) return 0; // also NaN
    return X > 1 ? 1 : X;
}

} // namespace

TColor HSBtoRGB(Extended H, Extended S, Extended B)
{
    S = ClampUnit(S);
    B = ClampUnit(B);
    if (S == 0) {
        const int32_t V = ChannelLevel(B);
        return RGBColor(V, V, V);
    }
    // From 2^62 on every extended value is a whole number, so its fraction is 0; this
    // also keeps Floor within its integer range and turns infinities and NaN into 0.
    if (!(H > -0x1p62L && H < 0x1p62L)) H = 0;
    const Extended Frac = H - static_cast<Extended>(Floor(H));
    Extended H6 = Frac * 6;
    // A hue a hair below a whole number can make the fraction round up to 1. That hue
    // is red, the end of the turn; taking it as the start of sector 0 gives the same
    // colour sector 5 tends to, instead of a meaningless black.
    if (H6 >= 6) H6 = 0;

    // H6 is not negative, so Floor(H6) and Trunc(H6) are the same integer: the sector.
    const int64_t Sector = Trunc(H6);
    const Extended F = H6 - static_cast<Extended>(Sector);
    const Extended P = (1 - S) * B;
    const Extended Q = (1 - S * F) * B;
    const Extended T = (1 - (1 - F) * S) * B;

    Extended R, G, Bl;
    switch (Sector) {
    case 0: R = B, G = T, Bl = P; break;
    case 1: R = Q, G = B, Bl = P; break;
    case 2: R = P, G = B, Bl = T; break;
    case 3: R = P, G = Q, Bl = B; break;
    case 4: R = T, G = P, Bl = B; break;
    default: R = B, G = P, Bl = Q; break; // 5: H6 is in [0, 6) here
    }
    return RGBColor(ChannelLevel(R), ChannelLevel(G), ChannelLevel(Bl));
}

void RGBToHSB(int32_t R, int32_t G, int32_t B, Extended& H, Extended& S, Extended& V)
{
    const int32_t Max = R > G ? (R > B ? R : B) : (G > B ? G : B);
    const int32_t Min = R < G ? (R < B ? R : B) : (G < B ? G : B);
    V = static_cast<Extended>(Max) / 255;
    S = Max == 0 ? 0 : static_cast<Extended>(Max - Min) / static_cast<Extended>(Max);
    if (S == 0) {
        H = 0;
        return;
    }
    const Extended D = Max - Min;
    const Extended Rc = static_cast<Extended>(Max - R) / D;
    const Extended Gc = static_cast<Extended>(Max - G) / D;
    const Extended Bc = static_cast<Extended>(Max - B) / D;
    if (R == Max)
        H = Bc - Gc;
    else if (G == Max)
        H = (Rc + 2) - Bc;
    else
        H = (Gc + 4) - Rc;
    H = H / 6;
    if (H < 0) H = H + 1;
}

TColor LevelsToColor(int32_t Hue, int32_t Sat, int32_t Bright)
{
    return HSBtoRGB(static_cast<Extended>(Hue) / HueRange, static_cast<Extended>(Sat) / SatRange,
                    static_cast<Extended>(Bright) / BrightRange);
}

TLevels ColorToLevels(int32_t Red, int32_t Green, int32_t Blue)
{
    Extended H, S, V;
    RGBToHSB(Red, Green, Blue, H, S, V);
    const Extended HScaled = HueRange * H, SScaled = SatRange * S, VScaled = BrightRange * V;
    return {static_cast<int32_t>(Round(HScaled)), static_cast<int32_t>(Round(SScaled)),
            static_cast<int32_t>(Round(VScaled))};
}
