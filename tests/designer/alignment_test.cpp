// The align, size and spacing geometry against what each command means, checked on
// rectangles of every shape: the first one stays, the others follow it on the one axis
// asked, and spacing leaves equal gaps (within a pixel) with the outermost staying.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "apps/designer/document/Alignment.h"

namespace {

TEST(Alignment, EachCommandFollowsTheFirstOnItsOwnAxisOnly)
{
    std::mt19937 Random(7);
    std::uniform_int_distribution<int> Place(-50, 400), Size(0, 120);
    for (int Round = 0; Round < 200; ++Round) {
        std::vector<TRect> Rects;
        for (int I = 0, N = 2 + Round % 5; I < N; ++I) Rects.push_back(Bounds(Place(Random), Place(Random), Size(Random), Size(Random)));
        const TRect L = Rects[0];
        for (int H = 0; H <= static_cast<int>(TAlignment::SameSize); ++H) {
            const auto How = static_cast<TAlignment>(H);
            const std::vector<TRect> Out = Aligned(Rects, How);
            ASSERT_EQ(Out.size(), Rects.size());
            EXPECT_EQ(Out[0], L) << AlignmentCaption(How);
            for (size_t I = 0; I < Rects.size(); ++I) {
                const TRect& R = Rects[I];
                const TRect& O = Out[I];
                switch (How) {
                case TAlignment::Lefts: EXPECT_EQ(O, Bounds(L.Left, R.Top, R.Width(), R.Height())); break;
                case TAlignment::Rights: EXPECT_EQ(O, Rect(L.Right - R.Width(), R.Top, L.Right, R.Bottom)); break;
                case TAlignment::Tops: EXPECT_EQ(O, Bounds(R.Left, L.Top, R.Width(), R.Height())); break;
                case TAlignment::Bottoms: EXPECT_EQ(O, Rect(R.Left, L.Bottom - R.Height(), R.Right, L.Bottom)); break;
                case TAlignment::Centres:
                    EXPECT_LE(std::abs((O.Left + O.Right) - (L.Left + L.Right)), 1);
                    EXPECT_EQ(O.Top, R.Top);
                    EXPECT_EQ(O.Width(), R.Width());
                    break;
                case TAlignment::Middles:
                    EXPECT_LE(std::abs((O.Top + O.Bottom) - (L.Top + L.Bottom)), 1);
                    EXPECT_EQ(O.Left, R.Left);
                    EXPECT_EQ(O.Height(), R.Height());
                    break;
                case TAlignment::SameWidth: EXPECT_EQ(O, Bounds(R.Left, R.Top, L.Width(), R.Height())); break;
                case TAlignment::SameHeight: EXPECT_EQ(O, Bounds(R.Left, R.Top, R.Width(), L.Height())); break;
                case TAlignment::SameSize: EXPECT_EQ(O, Bounds(R.Left, R.Top, L.Width(), L.Height())); break;
                default: break;
                }
            }
        }
    }
}

TEST(Alignment, SpacingLeavesEqualGapsAndKeepsTheOutermost)
{
    std::mt19937 Random(11);
    std::uniform_int_distribution<int> Place(0, 600), Size(1, 90);
    for (int Round = 0; Round < 300; ++Round) {
        std::vector<TRect> Rects;
        for (int I = 0, N = 3 + Round % 6; I < N; ++I) Rects.push_back(Bounds(Place(Random), Place(Random), Size(Random), Size(Random)));
        for (const bool Across : {true, false}) {
            const std::vector<TRect> Out = Aligned(Rects, Across ? TAlignment::SpaceAcross : TAlignment::SpaceDown);
            const auto Start = [&](const TRect& R) { return Across ? R.Left : R.Top; };
            const auto End = [&](const TRect& R) { return Across ? R.Right : R.Bottom; };
            std::vector<size_t> Order(Rects.size());
            for (size_t I = 0; I < Order.size(); ++I) Order[I] = I;
            std::stable_sort(Order.begin(), Order.end(), [&](size_t A, size_t B) { return Start(Rects[A]) < Start(Rects[B]); });
            EXPECT_EQ(Start(Out[Order.front()]), Start(Rects[Order.front()]));
            EXPECT_EQ(End(Out[Order.back()]), End(Rects[Order.back()]));
            int Low = 1 << 30, High = -(1 << 30);
            for (size_t I = 1; I < Order.size(); ++I) {
                const int Gap = Start(Out[Order[I]]) - End(Out[Order[I - 1]]);
                Low = std::min(Low, Gap);
                High = std::max(High, Gap);
            }
            EXPECT_LE(High - Low, 1) << "round " << Round;
            for (size_t I = 0; I < Rects.size(); ++I) {
                EXPECT_EQ(Out[I].Width(), Rects[I].Width());
                EXPECT_EQ(Out[I].Height(), Rects[I].Height());
                EXPECT_EQ(Across ? Out[I].Top : Out[I].Left, Across ? Rects[I].Top : Rects[I].Left);
            }
        }
    }
}

} // namespace
