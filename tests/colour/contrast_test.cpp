// The contrast engine against published values and an independent computation, the
// nearest passing colour, and the colour-vision simulation against its matrices.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

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

TEST(Contrast, NearestPassingColourPassesKeepsHueAndSaturationAndMovesLeast)
{
    std::mt19937 Random(4);
    std::uniform_int_distribution<int32_t> Channel(0, 0xFFFFFF);
    int Checked = 0;
    for (int I = 0; I < 2000; ++I) {
        const TColor Fg = Channel(Random), Bg = Channel(Random);
        for (const double Required : {3.0, 4.5, 7.0}) {
            const TColor Got = NearestPassingColour(Fg, Bg, Required);
            const double Ratio = ContrastRatio(Got, Bg);
            if (ContrastPasses(ContrastRatio(Fg, Bg), Required)) {
                EXPECT_EQ(Got, Fg);
                continue;
            }
            // Against a mid grey nothing reaches 7: then black or white, the better one.
            if (Got == clBlack || Got == clWhite) {
                const TColor Other = Got == clBlack ? clWhite : clBlack;
                EXPECT_TRUE(ContrastPasses(Ratio, Required) || !ContrastPasses(ContrastRatio(Other, Bg), Required));
                continue;
            }
            ASSERT_TRUE(ContrastPasses(Ratio, Required)) << std::hex << Fg << " on " << Bg;
            Extended H0, S0, V0, H1, S1, V1;
            RGBToHSB(RedOf(Fg), GreenOf(Fg), BlueOf(Fg), H0, S0, V0);
            RGBToHSB(RedOf(Got), GreenOf(Got), BlueOf(Got), H1, S1, V1);
            // Channels are whole levels, so a dark result carries hue and saturation
            // only to within a level of its brightest channel.
            if (V1 >= 0.25L && S0 > 0) {
                const Extended HueGap = std::min(fabsl(H1 - H0), 1 - fabsl(H1 - H0));
                EXPECT_LE(HueGap, 2.0L / 255 / V1 / S0) << std::hex << Fg << " on " << Bg;
                EXPECT_LE(fabsl(S1 - S0), 1.0L / 255 / V1) << std::hex << Fg << " on " << Bg;
                ++Checked;
            }
            // No brightness nearer to the original's, on either side, passes.
            const int32_t From = std::max({RedOf(Fg), GreenOf(Fg), BlueOf(Fg)});
            const int32_t Moved = std::abs(std::max({RedOf(Got), GreenOf(Got), BlueOf(Got)}) - From);
            for (int32_t L = std::max(From - Moved + 1, 0); L <= std::min(From + Moved - 1, 255); ++L)
                ASSERT_FALSE(ContrastPasses(ContrastRatio(HSBtoRGB(H0, S0, L / 255.0L), Bg), Required))
                    << std::hex << Fg << " on " << Bg << std::dec << " at " << L;
        }
    }
    EXPECT_GT(Checked, 500);
}

TEST(Contrast, NearestPassingColourOfSamplesAndItsName)
{
    // White text on SeaGreen: white cannot get brighter, so it darkens, keeping grey.
    const TColor OnSeaGreen = NearestPassingColour(clWhite, Css(0x2E8B57), 4.5);
    EXPECT_EQ(RedOf(OnSeaGreen), GreenOf(OnSeaGreen));
    EXPECT_EQ(RedOf(OnSeaGreen), BlueOf(OnSeaGreen));
    EXPECT_GE(ContrastRatio(OnSeaGreen, Css(0x2E8B57)), 4.5);
    EXPECT_FALSE(ContrastPasses(ContrastRatio(OnSeaGreen + 0x010101, Css(0x2E8B57)), 4.5));
    // Black on black brightens to the first grey that passes.
    EXPECT_EQ(IWColorToString(NearestPassingColour(clBlack, clBlack, 4.5)), "$00757575");
    // Nothing reaches 7 on a mid grey, neither black (4.68) nor white (4.47): then the
    // one nearer to red's full brightness, named as the web colour it is.
    EXPECT_EQ(IWColorToString(NearestPassingColour(clRed, Css(0x777777), 7.0)), "White");
    // A system colour is resolved before it is judged.
    EXPECT_EQ(NearestPassingColour(clWindowText, clWindow, 4.5), ColorToRGB(clWindowText));
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
