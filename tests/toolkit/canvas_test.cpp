#include "platform/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>

namespace {

constexpr TColor Paper = 0x123456;
constexpr TColor Ink = 0x0000FF;

using TPixelSet = std::set<std::pair<int, int>>;

// The surface pixels that differ from Paper.
TPixelSet Changed(const TBitmap& B, TColor Background = Paper)
{
    TPixelSet S;
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X)
            if (B.Pixel(X, Y) != Background) S.insert({X, Y});
    return S;
}

TPixelSet Span(int X1, int Y1, int X2, int Y2)
{
    TPixelSet S;
    for (int Y = Y1; Y < Y2; ++Y)
        for (int X = X1; X < X2; ++X) S.insert({X, Y});
    return S;
}

class CanvasTest : public ::testing::Test {
protected:
    TBitmap Surface{20, 20, Paper};
    TCanvas Canvas{&Surface, {0, 0}, Rect(0, 0, 20, 20)};

    TPixelSet Line(int X1, int Y1, int X2, int Y2)
    {
        Canvas.Pen.Color = Ink;
        Canvas.MoveTo(X1, Y1);
        Canvas.LineTo(X2, Y2);
        return Changed(Surface);
    }
};

TEST_F(CanvasTest, StraightLinesLeaveTheirEndPointOut)
{
    EXPECT_EQ(Line(2, 5, 8, 5), Span(2, 5, 8, 6));
    EXPECT_EQ(Canvas.PenPos(), (TPoint{8, 5}));
    EXPECT_EQ(Surface.Pixel(2, 5), Ink);

    Surface.SetSize(20, 20, Paper);
    EXPECT_EQ(Line(8, 5, 2, 5), Span(3, 5, 9, 6));
    Surface.SetSize(20, 20, Paper);
    EXPECT_EQ(Line(4, 1, 4, 7), Span(4, 1, 5, 7));
    Surface.SetSize(20, 20, Paper);
    EXPECT_EQ(Line(4, 7, 4, 1), Span(4, 2, 5, 8));
}

TEST_F(CanvasTest, DiagonalsAndDegenerateLines)
{
    EXPECT_EQ(Line(1, 1, 6, 6), (TPixelSet{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}));
    Surface.SetSize(20, 20, Paper);
    EXPECT_EQ(Line(6, 1, 1, 6), (TPixelSet{{6, 1}, {5, 2}, {4, 3}, {3, 4}, {2, 5}}));
    Surface.SetSize(20, 20, Paper);
    EXPECT_TRUE(Line(3, 3, 3, 3).empty());
    EXPECT_EQ(Line(3, 3, 4, 3), (TPixelSet{{3, 3}}));
}

// Every line, whatever its slope and direction, has one pixel per step along its
// longer axis, starts on its start point and stays within half a pixel of the ideal
// line; checked against the geometry, not against the stepping code.
TEST_F(CanvasTest, LinesFollowTheIdealLine)
{
    std::mt19937 Random(7);
    std::uniform_int_distribution<int> Coord(0, 19);
    for (int Round = 0; Round < 500; ++Round) {
        Surface.SetSize(20, 20, Paper);
        const int X1 = Coord(Random), Y1 = Coord(Random), X2 = Coord(Random), Y2 = Coord(Random);
        const TPixelSet Pixels = Line(X1, Y1, X2, Y2);
        const int DX = X2 - X1, DY = Y2 - Y1;
        const int N = std::max(std::abs(DX), std::abs(DY));
        SCOPED_TRACE(::testing::Message() << X1 << "," << Y1 << " -> " << X2 << "," << Y2);
        ASSERT_EQ(static_cast<int>(Pixels.size()), N);
        if (N == 0) continue;
        EXPECT_TRUE(Pixels.count({X1, Y1}));
        EXPECT_FALSE(Pixels.count({X2, Y2}));
        const bool XMajor = std::abs(DX) >= std::abs(DY);
        for (const auto& [X, Y] : Pixels) {
            const int Step = XMajor ? (X - X1) * (DX > 0 ? 1 : -1) : (Y - Y1) * (DY > 0 ? 1 : -1);
            ASSERT_GE(Step, 0);
            ASSERT_LT(Step, N);
            // |minor - ideal minor| <= 1/2, in integers: |2 N minor - 2 Step delta| <= N.
            const long Minor = XMajor ? Y - Y1 : X - X1;
            const long Delta = XMajor ? DY : DX;
            EXPECT_LE(std::labs(2L * N * Minor - 2L * Step * Delta), N);
        }
    }
}

// A line clipped by the canvas keeps exactly the pixels that the whole line has inside
// the clip, whatever part of it lies outside.
TEST(CanvasClip, ClippedLinesKeepTheWholeLinesPixels)
{
    std::mt19937 Random(11);
    std::uniform_int_distribution<int> Coord(-60, 120);
    const TRect Clip = Rect(10, 12, 50, 40);
    for (int Round = 0; Round < 2000; ++Round) {
        const int X1 = Coord(Random), Y1 = Coord(Random), X2 = Coord(Random), Y2 = Coord(Random);
        TBitmap Whole(200, 200, Paper), Clipped(200, 200, Paper);
        TCanvas W(&Whole, {60, 60}, Rect(0, 0, 200, 200));
        TCanvas C(&Clipped, {60, 60}, Rect(Clip.Left + 60, Clip.Top + 60, Clip.Right + 60, Clip.Bottom + 60));
        for (TCanvas* Canvas : {&W, &C}) {
            Canvas->Pen.Color = Ink;
            Canvas->MoveTo(X1, Y1);
            Canvas->LineTo(X2, Y2);
        }
        TPixelSet Expected;
        for (const auto& P : Changed(Whole))
            if (P.first >= Clip.Left + 60 && P.first < Clip.Right + 60 && P.second >= Clip.Top + 60 &&
                P.second < Clip.Bottom + 60)
                Expected.insert(P);
        ASSERT_EQ(Changed(Clipped), Expected) << X1 << "," << Y1 << " -> " << X2 << "," << Y2;
    }
}

TEST(CanvasClip, FarOutCoordinatesDrawOnlyWhatCrossesTheSurface)
{
    TBitmap Surface(20, 20, Paper);
    TCanvas Canvas(&Surface, {3, 4}, Rect(0, 0, 20, 20));
    Canvas.Pen.Color = Ink;
    // The diagonal y = x through canvas space: surface pixels with y = x + 1.
    Canvas.MoveTo(INT_MIN, INT_MIN);
    Canvas.LineTo(INT_MAX, INT_MAX);
    TPixelSet Diagonal;
    for (int X = 0; X < 19; ++X) Diagonal.insert({X, X + 1});
    EXPECT_EQ(Changed(Surface), Diagonal);

    // Ideal y = (x - INT_MIN) / (2^32 - 1) reaches one half between x = -1 and x = 0.
    Surface.SetSize(20, 20, Paper);
    Canvas.Bind(&Surface, {10, 0}, Rect(0, 0, 20, 20));
    Canvas.MoveTo(INT_MIN, 0);
    Canvas.LineTo(INT_MAX, 1);
    TPixelSet Step = Span(0, 0, 10, 1);
    for (const auto& P : Span(10, 1, 20, 2)) Step.insert(P);
    EXPECT_EQ(Changed(Surface), Step);

    Surface.SetSize(20, 20, Paper);
    Canvas.Bind(&Surface, {INT_MAX, INT_MIN}, Rect(0, 0, 20, 20));
    Canvas.MoveTo(INT_MAX, INT_MIN);
    Canvas.LineTo(INT_MIN, INT_MAX);
    Canvas.Brush.Color = Ink;
    Canvas.FillRect(Rect(INT_MAX - 5, INT_MIN, INT_MAX, INT_MAX));
    Canvas.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    Canvas.SetPixels(INT_MIN, INT_MAX, Ink);
    EXPECT_TRUE(Changed(Surface).empty());

    Canvas.Bind(&Surface, {-5, -5}, Rect(0, 0, 20, 20));
    Canvas.FillRect(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_EQ(Changed(Surface), Span(0, 0, 20, 20));
}

TEST(CanvasClip, NothingOutsideTheClipOrTheSurface)
{
    TBitmap Surface(20, 20, Paper);
    // The clip reaches past the surface; only its part on the surface counts.
    TCanvas Canvas(&Surface, {5, 5}, Rect(5, 5, 40, 40));
    Canvas.Brush.Color = Ink;
    Canvas.FillRect(Rect(-10, -10, 100, 100));
    EXPECT_EQ(Changed(Surface), Span(5, 5, 20, 20));

    Surface.SetSize(20, 20, Paper);
    Canvas.Bind(&Surface, {5, 5}, Rect(6, 7, 9, 12));
    Canvas.Pen.Color = Ink;
    Canvas.Rectangle(-3, -3, 30, 30);
    Canvas.MoveTo(-5, 3);
    Canvas.LineTo(30, 3);
    for (int Y = -7; Y < 30; ++Y)
        for (int X = -7; X < 30; ++X) Canvas.SetPixels(X, Y, Ink);
    EXPECT_EQ(Changed(Surface), Span(6, 7, 9, 12));

    // Reads answer -1 outside the clip even where the surface has pixels.
    EXPECT_EQ(Canvas.Pixels(1, 2), Ink);
    EXPECT_EQ(Canvas.Pixels(0, 2), -1);
    EXPECT_EQ(Canvas.Pixels(4, 2), -1);
    EXPECT_EQ(Canvas.Pixels(1, 7), -1);
    EXPECT_EQ(Canvas.Pixels(INT_MAX, INT_MAX), -1);
    EXPECT_EQ(Canvas.Pixels(INT_MIN, INT_MIN), -1);
}

TEST(CanvasClip, WithoutASurfaceNothingHappens)
{
    TCanvas Canvas;
    Canvas.MoveTo(0, 0);
    Canvas.LineTo(10, 10);
    Canvas.FillRect(Rect(0, 0, 10, 10));
    Canvas.Rectangle(0, 0, 10, 10);
    Canvas.SetPixels(1, 1, Ink);
    Canvas.TextOut(0, 0, "text");
    EXPECT_EQ(Canvas.Pixels(1, 1), -1);
    EXPECT_EQ(Canvas.PenPos(), (TPoint{10, 10}));
}

TEST_F(CanvasTest, OriginTranslatesEveryOperation)
{
    Canvas.Bind(&Surface, {7, 3}, Rect(0, 0, 20, 20));
    Canvas.SetPixels(0, 0, Ink);
    EXPECT_EQ(Surface.Pixel(7, 3), Ink);
    EXPECT_EQ(Canvas.Pixels(0, 0), Ink);
    EXPECT_EQ(Canvas.Pixels(-7, -3), Paper);
    Canvas.Brush.Color = Ink;
    Canvas.FillRect(Rect(1, 1, 3, 2));
    EXPECT_EQ(Changed(Surface), (TPixelSet{{7, 3}, {8, 4}, {9, 4}}));
}

TEST_F(CanvasTest, InvertingPenRestoresWhenDrawnTwice)
{
    Canvas.Pen.Mode = pmNot;
    Canvas.Pen.Color = clBlack;
    Canvas.MoveTo(1, 2);
    Canvas.LineTo(17, 9);
    EXPECT_EQ(Surface.Pixel(1, 2), Paper ^ 0xFFFFFF);
    EXPECT_EQ(Changed(Surface).size(), 16u);
    Canvas.MoveTo(1, 2);
    Canvas.LineTo(17, 9);
    EXPECT_TRUE(Changed(Surface).empty());
}

// The picker's marker: two strokes through one centre, drawn by inversion.
TEST_F(CanvasTest, CrossCentreIsInvertedTwiceAndKeepsItsColour)
{
    TBitmap Field(40, 40, Paper);
    Field.ScanLine(15)[15] = 0x00ABCDEF;
    Canvas.Bind(&Field, {0, 0}, Rect(0, 0, 40, 40));
    Canvas.Pen.Mode = pmNot;
    auto Cross = [&] {
        Canvas.MoveTo(15, 5);
        Canvas.LineTo(15, 25);
        Canvas.MoveTo(5, 15);
        Canvas.LineTo(25, 15);
    };
    Cross();
    EXPECT_EQ(Field.Pixel(15, 15), 0x00ABCDEF);
    TPixelSet Arms;
    for (int I = 5; I < 25; ++I)
        if (I != 15) Arms.insert({15, I}), Arms.insert({I, 15});
    Arms.insert({15, 15}); // differs from Paper from the start
    EXPECT_EQ(Changed(Field), Arms);
    EXPECT_EQ(Field.Pixel(15, 5), Paper ^ 0xFFFFFF);
    Cross();
    EXPECT_EQ(Changed(Field), (TPixelSet{{15, 15}}));
}

TEST_F(CanvasTest, FillRectExcludesRightAndBottomAndNormalisesNothing)
{
    Canvas.Brush.Color = Ink;
    Canvas.FillRect(Rect(2, 3, 6, 5));
    EXPECT_EQ(Changed(Surface), Span(2, 3, 6, 5));
    Surface.SetSize(20, 20, Paper);
    Canvas.FillRect(Rect(6, 5, 2, 3));
    Canvas.FillRect(Rect(2, 3, 2, 9));
    Canvas.FillRect(Rect(2, 3, 9, 3));
    EXPECT_TRUE(Changed(Surface).empty());
}

TEST_F(CanvasTest, RectangleOutlineAndInterior)
{
    Canvas.Pen.Color = Ink;
    Canvas.Brush.Color = clLime;
    Canvas.Rectangle(2, 3, 7, 8);
    const TPixelSet Box = Span(2, 3, 7, 8);
    EXPECT_EQ(Changed(Surface), Box);
    const TPixelSet Inside = Span(3, 4, 6, 7);
    for (const auto& [X, Y] : Box) EXPECT_EQ(Surface.Pixel(X, Y), Inside.count({X, Y}) ? clLime : Ink);

    Surface.SetSize(20, 20, Paper);
    Canvas.Rectangle(7, 8, 2, 3);
    EXPECT_TRUE(Changed(Surface).empty());
}

TEST_F(CanvasTest, InvertingRectangleInvertsEachBorderPixelOnce)
{
    Canvas.Pen.Mode = pmNot;
    Canvas.Brush.Color = clLime;
    Canvas.Rectangle(2, 3, 7, 8);
    EXPECT_EQ(Surface.Pixel(2, 3), Paper ^ 0xFFFFFF);
    EXPECT_EQ(Surface.Pixel(6, 7), Paper ^ 0xFFFFFF);
    EXPECT_EQ(Surface.Pixel(4, 5), clLime);

    // One pixel wide and one pixel high: still every pixel once.
    Surface.SetSize(20, 20, Paper);
    Canvas.Rectangle(4, 2, 5, 9);
    Canvas.Rectangle(8, 12, 15, 13);
    Canvas.Rectangle(17, 17, 18, 18);
    TPixelSet Expected = Span(4, 2, 5, 9);
    for (const auto& P : Span(8, 12, 15, 13)) Expected.insert(P);
    Expected.insert({17, 17});
    EXPECT_EQ(Changed(Surface), Expected);
    for (const auto& [X, Y] : Expected) EXPECT_EQ(Surface.Pixel(X, Y), Paper ^ 0xFFFFFF);
}

TEST_F(CanvasTest, SystemColoursBecomePlain)
{
    const TColor Face = ColorToRGB(clBtnFace);
    ASSERT_EQ(Face & 0xFF000000, 0);
    Canvas.SetPixels(0, 0, clBtnFace);
    EXPECT_EQ(Canvas.Pixels(0, 0), Face);
    Canvas.Pen.Color = clBtnFace;
    Canvas.MoveTo(0, 1);
    Canvas.LineTo(3, 1);
    EXPECT_EQ(Surface.Pixel(2, 1), Face);
    Canvas.Brush.Color = clHighlight;
    Canvas.FillRect(Rect(0, 2, 3, 3));
    EXPECT_EQ(Surface.Pixel(2, 2), ColorToRGB(clHighlight));
    Canvas.Rectangle(0, 4, 3, 7);
    EXPECT_EQ(Surface.Pixel(0, 4), Face);
    EXPECT_EQ(Surface.Pixel(1, 5), ColorToRGB(clHighlight));
}

} // namespace
