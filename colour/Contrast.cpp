#include "colour/Contrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "colour/ColourModel.h"
#include "platform/rtl/SysUtils.h"

namespace {

using TMatrix = std::array<std::array<double, 3>, 3>;

// Machado, Oliveira and Fernandes (2009), severity 1.0, on linear RGB columns.
constexpr TMatrix Protanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};
constexpr TMatrix Deuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};
constexpr TMatrix Tritanopia = {{{1.255528, -0.076749, -0.178779},
                                 {-0.078411, 0.930809, 0.147602},
                                 {0.004733, 0.691367, 0.303900}}};

constexpr const char* DeficiencyNames[] = {"none", "protanopia", "deuteranopia", "tritanopia", "achromatopsia"};

// The 256 linear values of the 8-bit channel levels, computed once.
const std::array<double, 256>& LinearTable()
{
    static const std::array<double, 256> Table = [] {
        std::array<double, 256> T{};
        for (int I = 0; I < 256; ++I) {
            const double C = I / 255.0;
            T[static_cast<size_t>(I)] = C <= 0.04045 ? C / 12.92 : std::pow((C + 0.055) / 1.055, 2.4);
        }
        return T;
    }();
    return Table;
}

double Linear(int32_t Level) { return LinearTable()[static_cast<size_t>(Level & 0xFF)]; }

// A linear value back to an 8-bit level, clamped to [0, 1] first.
int32_t Encode(double X)
{
    X = std::clamp(X, 0.0, 1.0);
    const double C = X <= 0.0031308 ? 12.92 * X : 1.055 * std::pow(X, 1 / 2.4) - 0.055;
    return static_cast<int32_t>(std::lrint(std::clamp(C, 0.0, 1.0) * 255));
}

double LuminanceOfPlain(TColor C)
{
    return 0.2126 * Linear(RedOf(C)) + 0.7152 * Linear(GreenOf(C)) + 0.0722 * Linear(BlueOf(C));
}

double RatioOfLuminances(double A, double B)
{
    return A > B ? (A + 0.05) / (B + 0.05) : (B + 0.05) / (A + 0.05);
}

TColor Apply(const TMatrix& M, TColor C)
{
    const double In[3] = {Linear(RedOf(C)), Linear(GreenOf(C)), Linear(BlueOf(C))};
    int32_t Out[3];
    for (size_t Row = 0; Row < 3; ++Row)
        Out[Row] = Encode(M[Row][0] * In[0] + M[Row][1] * In[1] + M[Row][2] * In[2]);
    return RGBColor(Out[0], Out[1], Out[2]);
}

} // namespace

double RelativeLuminance(TColor Color)
{
    return LuminanceOfPlain(ColorToRGB(Color));
}

double ContrastRatio(TColor A, TColor B)
{
    return RatioOfLuminances(RelativeLuminance(A), RelativeLuminance(B));
}

std::string RatioText(double Ratio)
{
    if (!(Ratio >= 1) || !std::isfinite(Ratio)) Ratio = 1;
    // Hundredths counted down, never up: floor, not rounding.
    const long long Hundredths = static_cast<long long>(std::floor(Ratio * 100));
    char Text[32];
    std::snprintf(Text, sizeof Text, "%lld.%02lld", Hundredths / 100, Hundredths % 100);
    return Text;
}

double RequiredRatio(TContrastKind Kind, TContrastLevel Level)
{
    const bool AAA = Level == TContrastLevel::AAA;
    switch (Kind) {
    case TContrastKind::Text: return AAA ? 7.0 : 4.5;
    case TContrastKind::LargeText: return AAA ? 4.5 : 3.0;
    case TContrastKind::Part: break;
    }
    return 3.0;
}

TColor NearestPassingColour(TColor Foreground, TColor Background, double Required)
{
    const TColor Fg = ColorToRGB(Foreground);
    const double Lb = LuminanceOfPlain(ColorToRGB(Background));
    const auto Passes = [&](TColor C) { return ContrastPasses(RatioOfLuminances(LuminanceOfPlain(C), Lb), Required); };
    if (Passes(Fg)) return Fg;

    Extended H, S, V;
    RGBToHSB(RedOf(Fg), GreenOf(Fg), BlueOf(Fg), H, S, V);
    // Brightness V is the largest channel over 255, so the levels 0..255 are every
    // brightness a colour can have; luminance grows with it, so the first level that
    // passes on each side is the nearest there.
    const int32_t Start = std::max({RedOf(Fg), GreenOf(Fg), BlueOf(Fg)});
    const auto At = [&](int32_t Level) { return HSBtoRGB(H, S, static_cast<Extended>(Level) / 255); };
    for (int32_t Step = 1; Step <= 255; ++Step) {
        const int32_t Down = Start - Step, Up = Start + Step;
        const bool DownPasses = Down >= 0 && Passes(At(Down));
        const bool UpPasses = Up <= 255 && Passes(At(Up));
        if (DownPasses && UpPasses)
            return ContrastRatio(At(Down), Background) >= ContrastRatio(At(Up), Background) ? At(Down) : At(Up);
        if (DownPasses) return At(Down);
        if (UpPasses) return At(Up);
    }
    // Black is the bottom of every hue, so only white can still pass here.
    const bool WhitePasses = Passes(clWhite), BlackPasses = Passes(clBlack);
    if (WhitePasses != BlackPasses) return WhitePasses ? clWhite : clBlack;
    return Start >= 128 ? clWhite : clBlack;
}

const char* VisionDeficiencyName(TVisionDeficiency Deficiency)
{
    return DeficiencyNames[static_cast<size_t>(Deficiency)];
}

bool VisionDeficiencyFromName(const std::string& Name, TVisionDeficiency& Deficiency)
{
    for (size_t I = 0; I < std::size(DeficiencyNames); ++I)
        if (SameText(Name, DeficiencyNames[I])) {
            Deficiency = static_cast<TVisionDeficiency>(I);
            return true;
        }
    return false;
}

TColor SimulateVision(TColor Color, TVisionDeficiency Deficiency)
{
    const TColor C = ColorToRGB(Color);
    switch (Deficiency) {
    case TVisionDeficiency::None: return C;
    case TVisionDeficiency::Protanopia: return Apply(Protanopia, C);
    case TVisionDeficiency::Deuteranopia: return Apply(Deuteranopia, C);
    case TVisionDeficiency::Tritanopia: return Apply(Tritanopia, C);
    case TVisionDeficiency::Achromatopsia: break;
    }
    const int32_t Grey = Encode(LuminanceOfPlain(C));
    return RGBColor(Grey, Grey, Grey);
}
