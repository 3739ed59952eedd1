// The contrast engine against published values and an independent computation, the
// nearest passing colour against an exhaustive search, and the colour-vision simulation
// against its matrices.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "colour/ColourDifference.h"
#include "colour/ColourModel.h"
#include "colour/Contrast.h"
#include "colour/IWColors.h"

namespace {

// WCAG's own wording of the formula, written apart from the engine: 80-bit arithmetic,
// the 0.03928 threshold, powl on every channel, the ratio from max and min.
long double ReferenceLuminance(int R, int G, int B)
{
    const auto Lin = [](int V) {
        const long double C = V / 255.0L;
        return C <= 0.03928L ? C / 12.92L : powl((C + 0.055L) / 1.055L, 2.4L);
    };
    return 0.2126L * Lin(R) + 0.7152L * Lin(G) + 0.0722L * Lin(B);
}

long double ReferenceRatio(TColor A, TColor B)
{
    const long double La = ReferenceLuminance(A & 0xFF, (A >> 8) & 0xFF, (A >> 16) & 0xFF);
    const long double Lb = ReferenceLuminance(B & 0xFF, (B >> 8) & 0xFF, (B >> 16) & 0xFF);
    return (std::max(La, Lb) + 0.05L) / (std::min(La, Lb) + 0.05L);
}

TColor Css(uint32_t RRGGBB)
{
    return RGBColor(static_cast<int32_t>(RRGGBB >> 16), static_cast<int32_t>((RRGGBB >> 8) & 0xFF),
                    static_cast<int32_t>(RRGGBB & 0xFF));
}

} // namespace

TEST(Contrast, PublishedValuesAndTheirTextNeverRoundUp)
{
    EXPECT_DOUBLE_EQ(ContrastRatio(clBlack, clWhite), 21.0);
    EXPECT_EQ(RatioText(ContrastRatio(clWhite, clBlack)), "21.00");
    EXPECT_DOUBLE_EQ(ContrastRatio(clWhite, clWhite), 1.0);

    const double Grey = ContrastRatio(Css(0x777777), clWhite);
    EXPECT_NEAR(Grey, 4.478, 0.0005);
    EXPECT_EQ(RatioText(Grey), "4.47");
    EXPECT_FALSE(ContrastPasses(Grey, RequiredRatio(TContrastKind::Text, TContrastLevel::AA)));

    // The sample page's pairs, published rounded (4.25, 4.11, 3.68), shown truncated.
    const double SeaGreen = ContrastRatio(clWhite, Css(0x2E8B57));
    EXPECT_NEAR(SeaGreen, 4.25, 0.005);
    EXPECT_EQ(RatioText(SeaGreen), "4.24");
    const double SteelBlue = ContrastRatio(clWhite, Css(0x4682B4));
    EXPECT_NEAR(SteelBlue, 4.11, 0.005);
    EXPECT_EQ(RatioText(SteelBlue), "4.10");
    const double Highlight = ContrastRatio(clHighlightText, clHighlight);
    EXPECT_DOUBLE_EQ(Highlight, ContrastRatio(clWhite, Css(0x0078D7))) << "clHighlight resolves to #0078D7";
    EXPECT_NEAR(Highlight, 4.4989, 0.00005);
    EXPECT_EQ(RatioText(Highlight), "4.49");
    EXPECT_FALSE(ContrastPasses(Highlight, 4.5));
    const double ThirdSlot = ContrastRatio(clHighlight, 0x00B0E8F8);
    EXPECT_NEAR(ThirdSlot, 3.68, 0.005);
    EXPECT_EQ(RatioText(ThirdSlot), "3.67");

    EXPECT_EQ(RatioText(std::nan("")), "1.00");
    EXPECT_EQ(RatioText(4.5), "4.50");
}

TEST(Contrast, AgreesWithAnIndependentComputationOnRandomPairs)
{
    std::mt19937 Random(17);
    std::uniform_int_distribution<int32_t> Channel(0, 0xFFFFFF);
    int Failures = 0;
    for (int I = 0; I < 5000 && Failures < 5; ++I) {
        const TColor A = Channel(Random), B = Channel(Random);
        const double Ratio = ContrastRatio(A, B);
        const long double Expected = ReferenceRatio(A, B);
        if (std::fabs(Ratio - static_cast<double>(Expected)) > 1e-12 * Expected) {
            ++Failures;
            ADD_FAILURE() << std::hex << A << " on " << B << ": " << Ratio << ", expected " << double(Expected);
        }
        EXPECT_DOUBLE_EQ(Ratio, ContrastRatio(B, A));
    }
}

TEST(Contrast, RequiredRatiosPerKindAndLevel)
{
    EXPECT_EQ(RequiredRatio(TContrastKind::Text, TContrastLevel::AA), 4.5);
    EXPECT_EQ(RequiredRatio(TContrastKind::Text, TContrastLevel::AAA), 7.0);
    EXPECT_EQ(RequiredRatio(TContrastKind::LargeText, TContrastLevel::AA), 3.0);
    EXPECT_EQ(RequiredRatio(TContrastKind::LargeText, TContrastLevel::AAA), 4.5);
    EXPECT_EQ(RequiredRatio(TContrastKind::Part, TContrastLevel::AA), 3.0);
    EXPECT_EQ(RequiredRatio(TContrastKind::Part, TContrastLevel::AAA), 3.0);
}

namespace {

// The nearest colour that reaches Required against Other, found by looking at every
// colour whose lightness lies near enough to From's to be within Bound: CIEDE2000 is at
// least the lightness difference over SL (which never exceeds 1.75). Luminances are
// computed apart from the engine (ReferenceLuminance).
TContrastFix NearestByExhaustion(TColor From, TColor Other, double Required, Extended Bound)
{
    const TLab Origin = ColourToLab(From);
    const auto LuminanceOfL = [](long double L) {
        L = std::clamp(L, 0.0L, 100.0L);
        const long double F = (L + 16) / 116;
        return L > 8 ? F * F * F : L * 27 / 24389;
    };
    const auto LOfLuminance = [](long double Y) {
        return Y > 216.0L / 24389 ? 116 * cbrtl(Y) - 16 : Y * 24389 / 27;
    };
    const long double Low = LuminanceOfL(Origin.L - 1.75L * Bound) - 1e-9L;
    const long double High = LuminanceOfL(Origin.L + 1.75L * Bound) + 1e-9L;
    long double Lin[256];
    for (int V = 0; V < 256; ++V) Lin[V] = ReferenceLuminance(V, 0, 0) / 0.2126L;
    TContrastFix Best;
    Best.Distance = Bound;
    for (int R = 0; R < 256; ++R)
        for (int G = 0; G < 256; ++G)
            for (int B = 0; B < 256; ++B) {
                const long double Y = 0.2126L * Lin[R] + 0.7152L * Lin[G] + 0.0722L * Lin[B];
                if (Y < Low || Y > High) continue;
                const TColor C = RGBColor(R, G, B);
                if (!ContrastPasses(ContrastRatio(C, Other), Required)) continue;
                const long double L = LOfLuminance(Y), Mean = (L + Origin.L) / 2 - 50;
                const long double SL = 1 + 0.015L * Mean * Mean / sqrtl(20 + Mean * Mean);
                if (fabsl(L - Origin.L) / SL > Best.Distance + 1e-6L) continue;
                const Extended D = DeltaE2000(Origin, ColourToLab(C));
                if (D < Best.Distance) Best = {true, C, D};
            }
    return Best;
}

} // namespace

// Every suggestion passes, lies where its distance says, and exists exactly when black or
// white (the darkest and the lightest there are) would pass; a pair that passes keeps
// its colour.
TEST(Contrast, NearestPassingColourPassesWheneverAnyColourDoes)
{
    std::mt19937 Random(4);
    std::uniform_int_distribution<int32_t> Channel(0, 0xFFFFFF);
    int Moved = 0, Impossible = 0;
    for (int I = 0; I < 100; ++I) {
        const TColor From = Channel(Random), Other = Channel(Random);
        for (const double Required : {3.0, 4.5, 7.0}) {
            const TContrastFix Fix = NearestPassingColour(From, Other, Required);
            if (ContrastPasses(ContrastRatio(From, Other), Required)) {
                EXPECT_TRUE(Fix.Found && Fix.Colour == From && Fix.Distance == 0) << std::hex << From;
                continue;
            }
            const bool Possible = ContrastPasses(ContrastRatio(clBlack, Other), Required) ||
                                  ContrastPasses(ContrastRatio(clWhite, Other), Required);
            ASSERT_EQ(Fix.Found, Possible) << std::hex << From << " against " << Other << " at " << Required;
            if (!Possible) {
                ++Impossible;
                continue;
            }
            ++Moved;
            EXPECT_TRUE(ContrastPasses(ContrastRatio(Fix.Colour, Other), Required)) << std::hex << From;
            EXPECT_EQ(Fix.Distance, DeltaE2000(ColourToLab(From), ColourToLab(Fix.Colour))) << std::hex << From;
            EXPECT_GT(Fix.Distance, 0);
        }
    }
    EXPECT_GT(Moved, 100);
    EXPECT_GT(Impossible, 5);
}

// No colour nearer than the one found passes, by looking at every colour that could be
// nearer: the search may stop a hair above the very nearest (0.02 is a fiftieth of a
// difference just seen). Fixes up to 10 apart, where the lightnesses to look at are few.
TEST(Contrast, NoColourNearerThanTheSuggestionPasses)
{
    std::mt19937 Random(2024);
    std::uniform_int_distribution<int32_t> Channel(0, 0xFFFFFF);
    std::vector<std::tuple<TColor, TColor, TContrastFix>> Cases;
    Cases.emplace_back(Css(0x2E8B57), clWhite, NearestPassingColour(Css(0x2E8B57), clWhite, 4.5));
    while (Cases.size() < 8) {
        const TColor A = Channel(Random), B = Channel(Random);
        if (ContrastPasses(ContrastRatio(A, B), 4.5)) continue;
        const TContrastFix Fix = NearestPassingColour(A, B, 4.5);
        if (Fix.Found && Fix.Distance < 10) Cases.emplace_back(A, B, Fix);
    }
    for (const auto& [From, Other, Fix] : Cases) {
        const TContrastFix Best = NearestByExhaustion(From, Other, 4.5, Fix.Distance + 1e-9L);
        if (!Best.Found) continue;
        EXPECT_LE(Fix.Distance, Best.Distance + 0.02L)
            << std::hex << From << " against " << Other << ": found " << Fix.Colour << ", but " << Best.Colour
            << " is nearer";
    }
}

// White text on SeaGreen (4.24): a slightly darker green under the white passes, about 2
// apart as people see it, while the text would have to become a dark grey; the smaller
// fix is the background's. Nothing reaches 7 against a mid grey either way.
TEST(Contrast, TheSmallestFixOfEitherSideKeepsItsHue)
{
    const TColor SeaGreen = Css(0x2E8B57);
    const TContrastFixes Fixes = ContrastFixes(clWhite, SeaGreen, 4.5);
    ASSERT_TRUE(Fixes.Foreground.Found && Fixes.Background.Found);
    const TColor Green = Fixes.Background.Colour, Text = Fixes.Foreground.Colour;
    EXPECT_TRUE(ContrastPasses(ContrastRatio(clWhite, Green), 4.5));
    EXPECT_TRUE(ContrastPasses(ContrastRatio(Text, SeaGreen), 4.5));
    EXPECT_GT(Fixes.Background.Distance, 1);
    EXPECT_LT(Fixes.Background.Distance, 3);
    const TLab Was = ColourToLab(SeaGreen), Now = ColourToLab(Green);
    EXPECT_LT(Now.L, Was.L) << "darker";
    const auto Hue = [](const TLab& C) { return atan2l(C.B, C.A) * 180 / 3.14159265358979323846L; };
    EXPECT_NEAR(static_cast<double>(Hue(Now)), static_cast<double>(Hue(Was)), 2.0) << std::hex << Green;
    const TLab Dark = ColourToLab(Text);
    EXPECT_LT(hypotl(Dark.A, Dark.B), 1.5L) << std::hex << Text << " is a grey, as white is";
    EXPECT_GT(Fixes.Foreground.Distance, 10 * Fixes.Background.Distance);
    EXPECT_TRUE(Fixes.BackgroundNearer());

    const TContrastFixes None = ContrastFixes(clRed, Css(0x777777), 7.0);
    EXPECT_FALSE(None.Foreground.Found);
    EXPECT_FALSE(None.Background.Found);
    EXPECT_FALSE(None.BackgroundNearer());

    // System colours are resolved: a pair that passes keeps the colour as drawn.
    const TContrastFix Kept = NearestPassingColour(clWindowText, clWindow, 4.5);
    EXPECT_TRUE(Kept.Found);
    EXPECT_EQ(Kept.Colour, ColorToRGB(clWindowText));
    EXPECT_EQ(Kept.Distance, 0);
}

TEST(VisionSimulation, MatchesTheMatricesOnPrimariesAndKeepsGrey)
{
    // Each primary's linear value is 1, so the result is the matrix's column, clamped
    // and encoded.
    const auto Enc = [](double X) {
        X = std::clamp(X, 0.0, 1.0);
        return static_cast<int32_t>(
            std::lrint(255 * (X <= 0.0031308 ? 12.92 * X : 1.055 * std::pow(X, 1 / 2.4) - 0.055)));
    };
    const auto Expect = [&](TVisionDeficiency D, TColor Primary, double A, double B, double C) {
        const TColor Got = SimulateVision(Primary, D);
        EXPECT_EQ(RedOf(Got), Enc(A)) << VisionDeficiencyName(D) << " " << std::hex << Primary;
        EXPECT_EQ(GreenOf(Got), Enc(B)) << VisionDeficiencyName(D) << " " << std::hex << Primary;
        EXPECT_EQ(BlueOf(Got), Enc(C)) << VisionDeficiencyName(D) << " " << std::hex << Primary;
    };
    Expect(TVisionDeficiency::Protanopia, clRed, 0.152286, 0.114503, -0.003882);
    Expect(TVisionDeficiency::Protanopia, clLime, 1.052583, 0.786281, -0.048116);
    Expect(TVisionDeficiency::Protanopia, clBlue, -0.204868, 0.099216, 1.051998);
    Expect(TVisionDeficiency::Deuteranopia, clRed, 0.367322, 0.280085, -0.011820);
    Expect(TVisionDeficiency::Deuteranopia, clLime, 0.860646, 0.672501, 0.042940);
    Expect(TVisionDeficiency::Deuteranopia, clBlue, -0.227968, 0.047413, 0.968881);
    Expect(TVisionDeficiency::Tritanopia, clRed, 1.255528, -0.078411, 0.004733);
    Expect(TVisionDeficiency::Tritanopia, clLime, -0.076749, 0.930809, 0.691367);
    Expect(TVisionDeficiency::Tritanopia, clBlue, -0.178779, 0.147602, 0.303900);
    Expect(TVisionDeficiency::Achromatopsia, clRed, 0.2126, 0.2126, 0.2126);
    Expect(TVisionDeficiency::Achromatopsia, clBlue, 0.0722, 0.0722, 0.0722);

    // Each matrix's rows sum to 1 (to within its six decimals), so greys stay grey.
    for (const TVisionDeficiency D : {TVisionDeficiency::Protanopia, TVisionDeficiency::Deuteranopia,
                                      TVisionDeficiency::Tritanopia, TVisionDeficiency::Achromatopsia}) {
        EXPECT_EQ(SimulateVision(clGray, D), clGray) << VisionDeficiencyName(D);
        EXPECT_EQ(SimulateVision(clWhite, D), clWhite) << VisionDeficiencyName(D);
    }
    EXPECT_EQ(SimulateVision(clBtnFace, TVisionDeficiency::None), ColorToRGB(clBtnFace));

    TVisionDeficiency D;
    ASSERT_TRUE(VisionDeficiencyFromName("Tritanopia", D));
    EXPECT_EQ(D, TVisionDeficiency::Tritanopia);
    EXPECT_FALSE(VisionDeficiencyFromName("colourblind", D));
}
