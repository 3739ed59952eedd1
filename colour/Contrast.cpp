#include "colour/Contrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <unordered_map>

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

// The grey of luminance Target.
TColor GreySeed(double Target)
{
    const int32_t Level = Encode(Target);
    return RGBColor(Level, Level, Level);
}

// The search for the passing colour nearest to one colour: the luminances that pass
// against the other colour, the seeds, and the descent.
class TNearestSearch {
public:
    TNearestSearch(TColor From, double OtherLuminance, double Required)
        : FFrom(From), FLab(ColourToLab(From)), FOther(OtherLuminance), FRequired(Required)
    {
    }
    bool Passes(TColor C) const { return ContrastPasses(Ratio(C), FRequired); }
    Extended Distance(TColor C) const { return DeltaE2000(FLab, ColourToLab(C)); }
    // The least luminance that passes as the lighter colour, and the most as the darker.
    double LighterTarget() const { return FRequired * (FOther + 0.05) - 0.05; }
    double DarkerTarget() const { return (FOther + 0.05) / FRequired - 0.05; }

    // The colour of From's chromaticity at luminance Target: its linear channels scaled;
    // where that would take a channel past 1, scaled until one reaches it and then mixed
    // with white for the rest, which keeps the hue and gives up chroma.
    TColor SameHueSeed(double Target) const
    {
        double C[3] = {Linear(RedOf(FFrom)), Linear(GreenOf(FFrom)), Linear(BlueOf(FFrom))};
        const double Y = LuminanceOfPlain(FFrom), Max = std::max({C[0], C[1], C[2]});
        if (Y <= 0) return GreySeed(Target);
        const double Scale = std::min(Target / Y, 1 / Max);
        const double Scaled = Y * Scale;
        const double Mix = Scaled < Target ? (Target - Scaled) / (1 - Scaled) : 0;
        for (double& Channel : C) Channel = Channel * Scale + Mix * (1 - Channel * Scale);
        return RGBColor(Encode(C[0]), Encode(C[1]), Encode(C[2]));
    }

    // The passing colour nearest to From that a search from Seed finds: first a pattern
    // search over the 8-bit colours, to whichever of the 26 neighbours Step levels away
    // along one, two or three channels costs least, while one costs less, with Step from
    // 32 down to 1; a failing colour costs more than any passing one, the more the further
    // it falls short, so the search first reaches the passing colours and then moves
    // towards From. The nearest lies on the edge of the passing colours, where a step
    // must move channels by different amounts, so it then slides along that edge.
    TColor Descend(TColor Seed)
    {
        TColor Best = Seed;
        Extended BestCost = Cost(Seed);
        for (int32_t Step = 32; Step >= 1; Step /= 2)
            while (Pattern(Step, Best, BestCost)) {
            }
        for (int32_t Step = 8; Step >= 1; Step /= 2)
            while (Slide(Step, Best, BestCost) || Pattern(1, Best, BestCost)) {
            }
        return Best;
    }

private:
    double Ratio(TColor C) const { return RatioOfLuminances(LuminanceOfPlain(C), FOther); }
    Extended Cost(TColor C)
    {
        // Every difference of two colours is well under 1000.
        if (!Passes(C)) return 1000 + (FRequired - Ratio(C));
        // The searches come back to the same colours about every other time.
        const auto [It, Added] = FDistances.try_emplace(C, 0);
        if (Added) It->second = Distance(C);
        return It->second;
    }
    // One move of the pattern search; false when no neighbour costs less.
    bool Pattern(int32_t Step, TColor& Best, Extended& BestCost)
    {
        const TColor Here = Best;
        for (int32_t D = 0; D < 27; ++D) {
            if (D == 13) continue; // no move
            const auto Move = [&](int32_t Level, int32_t Direction) {
                return std::clamp(Level + Direction * Step, 0, 255);
            };
            Consider(RGBColor(Move(RedOf(Here), D / 9 - 1), Move(GreenOf(Here), D / 3 % 3 - 1),
                              Move(BlueOf(Here), D % 3 - 1)),
                     Best, BestCost);
        }
        return Best != Here;
    }

    // One move along the edge of the passing colours: two channels moved by up to two
    // Steps each, the third set to the level that still passes nearest the edge (the
    // least, for a colour lighter than the other; the most, for a darker one). False
    // when none of those costs less.
    bool Slide(int32_t Step, TColor& Best, Extended& BestCost)
    {
        const TColor Here = Best;
        const bool Lighter = LuminanceOfPlain(Here) > FOther;
        const int32_t Levels[3] = {RedOf(Here), GreenOf(Here), BlueOf(Here)};
        for (int32_t Free = 0; Free < 3; ++Free)
            for (int32_t D = 0; D < 25; ++D) {
                int32_t Next[3] = {Levels[0], Levels[1], Levels[2]};
                Next[(Free + 1) % 3] += (D / 5 - 2) * Step;
                Next[(Free + 2) % 3] += (D % 5 - 2) * Step;
                if (std::min(Next[(Free + 1) % 3], Next[(Free + 2) % 3]) < 0 ||
                    std::max(Next[(Free + 1) % 3], Next[(Free + 2) % 3]) > 255)
                    continue;
                if (EdgeLevel(Next, Free, Lighter)) Consider(RGBColor(Next[0], Next[1], Next[2]), Best, BestCost);
            }
        return Best != Here;
    }

    // Sets channel Free of Levels to the least level that passes as the lighter colour
    // (Lighter) or the most that passes as the darker, found by halving since luminance
    // grows with every channel; false when no level passes so.
    bool EdgeLevel(int32_t Levels[3], int32_t Free, bool Lighter) const
    {
        const auto PassesAt = [&](int32_t Level) {
            Levels[Free] = Level;
            const TColor C = RGBColor(Levels[0], Levels[1], Levels[2]);
            return Passes(C) && (LuminanceOfPlain(C) > FOther) == Lighter;
        };
        int32_t Low = 0, High = 255; // the answer lies in [Low, High] once the end passes
        if (!PassesAt(Lighter ? 255 : 0)) return false;
        while (Low < High) {
            const int32_t Mid = Lighter ? (Low + High) / 2 : (Low + High + 1) / 2;
            if (PassesAt(Mid) == Lighter) High = Lighter ? Mid : Mid - 1;
            else Low = Lighter ? Mid + 1 : Mid;
        }
        Levels[Free] = Low;
        return true;
    }

    void Consider(TColor C, TColor& Best, Extended& BestCost)
    {
        const Extended K = Cost(C);
        if (K < BestCost) {
            Best = C;
            BestCost = K;
        }
    }

    TColor FFrom;
    TLab FLab;
    double FOther, FRequired;
    std::unordered_map<TColor, Extended> FDistances;
};

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

std::string DistanceText(Extended Distance)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.2Lf", Distance);
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

TContrastFix NearestPassingColour(TColor Colour, TColor Other, double Required)
{
    const TColor From = ColorToRGB(Colour);
    TNearestSearch Search(From, LuminanceOfPlain(ColorToRGB(Other)), Required);
    if (Search.Passes(From)) return {true, From, 0};
    TContrastFix Best;
    for (const double Target : {Search.LighterTarget(), Search.DarkerTarget()}) {
        if (!(Target >= 0 && Target <= 1)) continue; // no colour is so light or so dark
        for (const TColor Seed : {Search.SameHueSeed(Target), GreySeed(Target)}) {
            const TColor Found = Search.Descend(Seed);
            if (!Search.Passes(Found)) continue;
            const Extended Distance = Search.Distance(Found);
            if (!Best.Found || Distance < Best.Distance) Best = {true, Found, Distance};
        }
    }
    return Best;
}

TContrastFixes ContrastFixes(TColor Foreground, TColor Background, double Required)
{
    return {NearestPassingColour(Foreground, Background, Required), NearestPassingColour(Background, Foreground, Required)};
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
