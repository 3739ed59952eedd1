// Trunc, Floor and Round against the C library's truncl, floorl and rintl.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/rtl/Math.h"

namespace {

void ExpectSameAsLibrary(Extended X)
{
    EXPECT_EQ(Trunc(X), static_cast<int64_t>(truncl(X))) << static_cast<double>(X);
    EXPECT_EQ(Floor(X), static_cast<int64_t>(floorl(X))) << static_cast<double>(X);
    EXPECT_EQ(Round(X), static_cast<int64_t>(rintl(X))) << static_cast<double>(X);
}

TEST(ExtendedRounding, HalvesGoToEvenOnlyInRound)
{
    EXPECT_EQ(Round(2.5L), 2);
    EXPECT_EQ(Round(3.5L), 4);
    EXPECT_EQ(Round(-2.5L), -2);
    EXPECT_EQ(Trunc(2.5L), 2);
    EXPECT_EQ(Trunc(-2.5L), -2);
    EXPECT_EQ(Floor(-2.5L), -3);
    EXPECT_EQ(Floor(-0.0L), 0);
}

TEST(ExtendedRounding, AgreesWithTheLibraryAroundEveryKindOfValue)
{
    std::vector<Extended> Values;
    for (int I = -300; I <= 300; ++I) {
        const Extended Whole = I;
        Values.push_back(Whole);
        Values.push_back(Whole + 0.5L);
        Values.push_back(nextafterl(Whole, 1e30L));
        Values.push_back(nextafterl(Whole, -1e30L));
        Values.push_back(nextafterl(Whole + 0.5L, 1e30L));
        Values.push_back(nextafterl(Whole + 0.5L, -1e30L));
    }
    for (Extended Big : {0x1p62L, 0x1p62L - 1, -0x1p62L, 0x1p63L - 1024, -0x1p63L, 0x1p52L + 0.5L})
        Values.push_back(Big);
    std::mt19937_64 Random(7);
    std::uniform_real_distribution<double> Spread(-1e6, 1e6);
    for (int I = 0; I < 20000; ++I) Values.push_back(static_cast<Extended>(Spread(Random)) / 7);
    for (Extended X : Values) ExpectSameAsLibrary(X);
}

} // namespace
