// The splitter: a drag moves it within its range and tells its owner, the pointer says
// which way it goes; and the room it divides, shared by FitSpans.

#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "platform/toolkit/Splitter.h"
#include "tests/support/FormTesting.h"

namespace {

TEST(Splitter, ADragMovesItWithinItsRangeAndTellsItsOwner)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 400, 300);
    auto* Across = Place<TSplitter>(Form, Form, 100, 10, 8, 200);
    Across->SetName("Across");
    Across->MinPosition = 50;
    Across->MaxPosition = 300;
    auto* Down = Place<TSplitter>(Form, Form, 150, 250, 200, 6);
    Down->SetName("Down");
    Down->SetKind(skHorizontal);
    std::vector<int> Moves;
    Across->OnMoved = [&](TObject*) { Moves.push_back(Across->Position()); };
    int DoubleClicks = 0;
    Down->OnDblClick = [&](TObject*) { ++DoubleClicks; };
    const auto Run = [&](const std::string& Script) {
        EXPECT_FALSE(UseScript(Script).Failed());
        Form.ShowModal();
    };

    // Taken hold of 3 pixels in, it stays under the pointer: left edge at 100 + 60.
    Run("drag Across 3 100 63 140 4\n");
    EXPECT_EQ(Across->Left(), 160);
    EXPECT_EQ(Across->Top(), 10) << "a vertical bar moves across only";
    EXPECT_EQ(Moves.back(), 160);
    EXPECT_EQ(Moves.size(), 4u) << "each step that moved it";
    Run("drag Across 4 100 -500 100\n");
    EXPECT_EQ(Across->Left(), 50) << "no further than MinPosition";
    Run("drag Across 4 100 900 100\n");
    EXPECT_EQ(Across->Left(), 300) << "no further than MaxPosition";
    const size_t Before = Moves.size();
    Run("drag Across 4 100 900 100\n");
    EXPECT_EQ(Moves.size(), Before) << "a drag that moves nothing says nothing";
    Run("move Across 4 100 left\n");
    EXPECT_EQ(Across->Left(), 300) << "a move without a press of its own drags nothing";

    Run("drag Down 50 2 10 -38\n");
    EXPECT_EQ(Down->Top(), 210);
    EXPECT_EQ(Down->Left(), 150);
    Run("dblclick Down 50 2\n");
    EXPECT_EQ(DoubleClicks, 1);
    EXPECT_EQ(Down->Top(), 210) << "a double click is no drag";

    // The pointer's shape says which way each goes.
    Run("hover Across 4 50\n");
    EXPECT_EQ(Application->BackEnd().Cursor(), crSizeWE);
    Run("hover Down 20 3\n");
    EXPECT_EQ(Application->BackEnd().Cursor(), crSizeNS);
    ResetBackEnd();
}

// FitSpans against a computation of its own: sizes in real numbers, each pane's share of
// the shortfall exactly proportional to its room above its minimum.
TEST(Splitter, FitSpansSharesAShortfallInProportion)
{
    EXPECT_EQ(FitSpans({{220, 120}, {0, 160}, {300, 200}}, 1, 1184), (std::vector<int>{220, 664, 300}));
    EXPECT_EQ(FitSpans({{220, 120}, {0, 160}, {300, 200}}, 1, 600), (std::vector<int>{180, 160, 260}));
    EXPECT_EQ(FitSpans({{220, 120}, {0, 160}, {300, 200}}, 1, 400), (std::vector<int>{120, 80, 200}))
        << "the minimums first";
    EXPECT_EQ(FitSpans({{220, 120}, {0, 160}, {300, 200}}, 1, 200), (std::vector<int>{120, 0, 200}));
    EXPECT_EQ(FitSpans({{10, 50}, {0, 20}}, 1, 100), (std::vector<int>{50, 50})) << "no less than its minimum";

    std::mt19937 Random(24);
    for (int Case = 0; Case < 2000; ++Case) {
        std::vector<TPaneSpan> Spans(2 + Random() % 4);
        for (TPaneSpan& S : Spans) S = {static_cast<int>(Random() % 500), static_cast<int>(Random() % 200)};
        const size_t Flexible = Random() % Spans.size();
        const int Room = static_cast<int>(Random() % 2000);
        const std::vector<int> Sizes = FitSpans(Spans, Flexible, Room);
        double Others = 0, Slack = 0, Mins = 0;
        for (size_t I = 0; I < Spans.size(); ++I)
            if (I != Flexible) {
                Others += std::max(Spans[I].Wanted, Spans[I].Min);
                Slack += std::max(Spans[I].Wanted, Spans[I].Min) - Spans[I].Min;
                Mins += Spans[I].Min;
            }
        const double Deficit = std::clamp(Spans[Flexible].Min - (Room - Others), 0.0, Slack);
        for (size_t I = 0; I < Spans.size(); ++I) {
            if (I == Flexible) continue;
            const double Own = std::max(Spans[I].Wanted, Spans[I].Min);
            const double Exact = Own - (Slack > 0 ? Deficit * (Own - Spans[I].Min) / Slack : 0);
            ASSERT_NEAR(Sizes[I], Exact, 1.0) << "case " << Case << ", pane " << I;
            ASSERT_GE(Sizes[I], Spans[I].Min);
        }
        const int Sum = std::accumulate(Sizes.begin(), Sizes.end(), 0);
        if (Mins + Spans[Flexible].Min <= Room) {
            ASSERT_EQ(Sum, Room) << "case " << Case << ": the room is shared whole";
            ASSERT_GE(Sizes[Flexible], Spans[Flexible].Min);
        } else {
            ASSERT_EQ(Sizes[Flexible], std::max(0, Room - static_cast<int>(Mins))) << "case " << Case;
        }
    }
}

} // namespace
