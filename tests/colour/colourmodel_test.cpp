// Worked values of the colour model, including the inputs where the extended
// precision and the order of operations decide the level.

#include <gtest/gtest.h>

#include <limits>

#include "colour/ColourModel.h"

namespace {

void ExpectLevels(int32_t R, int32_t G, int32_t B, TLevels Expected)
{
    const TLevels L = ColorToLevels(R, G, B);
    EXPECT_EQ(L.Hue, Expected.Hue) << R << "," << G << "," << B;
    EXPECT_EQ(L.Sat, Expected.Sat) << R << "," << G << "," << B;
    EXPECT_EQ(L.Bright, Expected.Bright) << R << "," << G << "," << B;
}

} // namespace

TEST(ColourPacking, ChannelsSitInTheirBytes)
{
    EXPECT_EQ(RGBColor(255, 0, 0), 0x0000FF);
    EXPECT_EQ(RGBColor(0, 0, 255), 0xFF0000);
    const TColor C = RGBColor(0x12, 0x34, 0x56);
    EXPECT_EQ(C, 0x563412);
    EXPECT_EQ(RedOf(C), 0x12);
    EXPECT_EQ(GreenOf(C), 0x34);
    EXPECT_EQ(BlueOf(C), 0x56);
    // Channel extraction ignores the code byte of system colours.
    EXPECT_EQ(BlueOf(static_cast<TColor>(0xFF80FFFFu)), 0x80);
}

TEST(LevelsToColor, WorkedExamples)
{
    EXPECT_EQ(LevelsToColor(0, 0, 150), 0x00BFBFBF);
    EXPECT_EQ(LevelsToColor(50, 199, 150), 0x0001BF60);
    EXPECT_EQ(LevelsToColor(199, 199, 199), 0x000901FE);
}

TEST(LevelsToColor, ExtendedPrecisionKeepsHalfBelowTheRoundingPoint)
{
    // p is 0.3 exactly, but 120/200 rounds just above 0.6: 76.5 + 0.5 stays below 77.
    EXPECT_EQ(LevelsToColor(0, 120, 150), RGBColor(191, 76, 76));
    const double PDouble = (1 - 120.0 / 200) * (150.0 / 200);
    EXPECT_EQ(static_cast<int>(PDouble * 255 + 0.5), 77) << "the case must really separate the precisions";
}

TEST(HSBtoRGB, GreyIgnoresHue)
{
    for (Extended H : {0.0L, 0.3L, 0.999L, 5.5L, -2.25L})
        EXPECT_EQ(HSBtoRGB(H, 0, 0.75L), 0x00BFBFBF) << static_cast<double>(H);
    EXPECT_EQ(HSBtoRGB(0, 0, 0.5L), 0x00808080); // 127.5 + 0.5 truncates to 128
    EXPECT_EQ(HSBtoRGB(0, 0, 0), 0);
    EXPECT_EQ(HSBtoRGB(0, 0, 1), 0x00FFFFFF);
}

TEST(HSBtoRGB, HueWrapsModuloOne)
{
    EXPECT_EQ(HSBtoRGB(1, 1, 1), 0x000000FF);
    EXPECT_EQ(HSBtoRGB(0, 1, 1), 0x000000FF);
    EXPECT_EQ(HSBtoRGB(0.75L, 1, 1), 0x00FF0080);
    EXPECT_EQ(HSBtoRGB(-0.25L, 1, 1), 0x00FF0080);
    EXPECT_EQ(HSBtoRGB(3.5L, 1, 1), HSBtoRGB(0.5L, 1, 1));
}

TEST(HSBtoRGB, SectorStartsArePrimariesAndSecondaries)
{
    const TColor Expected[6] = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF};
    for (int Sector = 0; Sector < 6; ++Sector)
        EXPECT_EQ(HSBtoRGB(static_cast<Extended>(Sector) / 6, 1, 1), Expected[Sector]) << Sector;
}

TEST(HSBtoRGB, HueJustBelowAWholeTurnIsRedNotBlack)
{
    // -2^-70 + 1 rounds to 1, so the fraction of the turn comes out as a full turn.
    EXPECT_EQ(HSBtoRGB(-0x1p-70L, 1, 1), 0x000000FF);
    EXPECT_EQ(HSBtoRGB(-0x1p-70L, 0.5L, 0.5L), HSBtoRGB(0, 0.5L, 0.5L));
    // The largest extended below 1 times 6 rounds to 6 as well.
    const Extended BelowOne = 1 - 0x1p-64L;
    EXPECT_EQ(HSBtoRGB(BelowOne, 1, 1), 0x000000FF);
}

TEST(HSBtoRGB, OutOfContractInputsStillGivePlainColours)
{
    const Extended Inf = std::numeric_limits<Extended>::infinity();
    const Extended NaN = std::numeric_limits<Extended>::quiet_NaN();
    EXPECT_EQ(HSBtoRGB(NaN, 1, 1), HSBtoRGB(0, 1, 1));
    EXPECT_EQ(HSBtoRGB(Inf, 1, 1), HSBtoRGB(0, 1, 1));
    EXPECT_EQ(HSBtoRGB(0x1p70L, 1, 1), HSBtoRGB(0, 1, 1)); // a whole number of turns
    EXPECT_EQ(HSBtoRGB(0.5L, 2, 1), HSBtoRGB(0.5L, 1, 1));
    EXPECT_EQ(HSBtoRGB(0.5L, -1, 1), 0x00FFFFFF);
    EXPECT_EQ(HSBtoRGB(0.5L, 1, 7), HSBtoRGB(0.5L, 1, 1));
    EXPECT_EQ(HSBtoRGB(0.5L, 1, -7), 0);
    EXPECT_EQ(HSBtoRGB(0.5L, NaN, NaN), 0);
}

TEST(RGBToHSB, WorkedFractions)
{
    Extended H, S, V;
    RGBToHSB(96, 191, 1, H, S, V);
    EXPECT_EQ(H, 0.25L);
    EXPECT_EQ(S, Extended(190) / 191);
    EXPECT_EQ(V, Extended(191) / 255);

    RGBToHSB(255, 0, 128, H, S, V);
    const Extended Expected = (Extended(127) / 255 - 1) / 6 + 1;
    EXPECT_EQ(H, Expected);
    EXPECT_NEAR(static_cast<double>(H), 0.91634, 1e-5);
}

TEST(RGBToHSB, BlackAndGreysHaveNoHueOrSaturation)
{
    for (int Grey : {0, 1, 128, 255}) {
        Extended H = -1, S = -1, V = -1;
        RGBToHSB(Grey, Grey, Grey, H, S, V);
        EXPECT_EQ(H, 0);
        EXPECT_EQ(S, 0);
        EXPECT_EQ(V, Extended(Grey) / 255);
    }
}

TEST(RGBToHSB, TiesForTheMaximumFavourRedThenGreen)
{
    Extended H, S, V;
    RGBToHSB(255, 255, 0, H, S, V); // red branch: bc - gc = 1
    EXPECT_EQ(H, Extended(1) / 6);
    RGBToHSB(0, 255, 255, H, S, V); // green branch: (rc + 2) - bc = 3
    EXPECT_EQ(H, 0.5L);
    RGBToHSB(255, 0, 255, H, S, V); // red branch: bc - gc = -1, plus a turn
    EXPECT_EQ(H, Extended(-1) / 6 + 1);
}

TEST(ColorToLevels, WorkedExamples)
{
    ExpectLevels(96, 191, 1, {50, 199, 150});
    ExpectLevels(255, 0, 128, {183, 200, 200});
    ExpectLevels(128, 128, 128, {0, 0, 100});
    ExpectLevels(0, 0, 0, {0, 0, 0});
    ExpectLevels(255, 255, 0, {33, 200, 200});
}

TEST(ColorToLevels, CanReachTheRangeItself)
{
    ExpectLevels(255, 0, 0, {0, 200, 200});
    ExpectLevels(255, 0, 1, {200, 200, 200}); // hue 0.9975 or more
}

TEST(ColorToLevels, ExtendedHueJustBelowTheHalf)
{
    // Exact hue 0.5375 scales to 107.5, which ties-to-even would make 108.
    EXPECT_EQ(ColorToLevels(0, 31, 40).Hue, 107);
}

TEST(ColorToLevels, ExactHalvesGoToTheEvenLevel)
{
    // Saturations 1/16 and 3/16 are exact, so 200 times them is exactly 12.5 and 37.5.
    EXPECT_EQ(ColorToLevels(160, 150, 150).Sat, 12);
    EXPECT_EQ(ColorToLevels(160, 130, 130).Sat, 38);
}
