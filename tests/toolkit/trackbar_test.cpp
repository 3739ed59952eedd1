// Track bar positions, keys and dragging.

#include <gtest/gtest.h>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/TrackBar.h"

namespace {

struct TTrackForm {
    TForm Form{nullptr};
    TTrackBar* Track = new TTrackBar(&Form);
    std::vector<int> Changes;

    TTrackForm()
    {
        Form.SetBounds(0, 0, 300, 300);
        Track->SetParent(&Form);
        Track->Orientation = trVertical;
        Track->SetBounds(240, 8, 33, 225);
        Track->SetMax(199);
        Track->Frequency = 10;
        Track->OnChange = [this](TObject*) { Changes.push_back(Track->Position()); };
    }
};

TEST(TrackBarPosition, SetPositionClampsAndFiresOnlyOnChange)
{
    TTrackForm T;
    T.Track->SetPosition(150);
    T.Track->SetPosition(150);
    T.Track->SetPosition(200); // past Max: reads as Max
    T.Track->SetPosition(-4);
    EXPECT_EQ(T.Changes, (std::vector<int>{150, 199, 0}));
}

TEST(TrackBarPosition, NarrowingTheRangeMovesThePosition)
{
    TTrackForm T;
    T.Track->SetPosition(150);
    T.Track->SetMax(100);
    EXPECT_EQ(T.Track->Position(), 100);
    T.Track->SetMin(120); // Max follows up
    EXPECT_EQ(T.Track->Max(), 120);
    EXPECT_EQ(T.Track->Position(), 120);
    EXPECT_EQ(T.Changes, (std::vector<int>{150, 100, 120}));
}

TEST(TrackBarKeys, ArrowsPagesAndEnds)
{
    TTrackForm T;
    T.Track->SetFocus();
    T.Form.HandleKeyDown(vkDown, {});
    EXPECT_EQ(T.Track->Position(), 1);
    T.Track->PageSize = 10;
    T.Form.HandleKeyDown(vkNext, {});
    EXPECT_EQ(T.Track->Position(), 11);
    T.Form.HandleKeyDown(vkUp, {});
    EXPECT_EQ(T.Track->Position(), 10);
    T.Form.HandleKeyDown(vkEnd, {});
    EXPECT_EQ(T.Track->Position(), 199);
    T.Form.HandleKeyDown(vkHome, {});
    EXPECT_EQ(T.Track->Position(), 0);
}

TEST(TrackBarMouse, VerticalHasMinAtTopAndDragFollowsThePointer)
{
    TTrackForm T;
    EXPECT_EQ(T.Track->PositionAt(10, 0), 0);
    EXPECT_EQ(T.Track->PositionAt(10, 224), 199);
    EXPECT_LT(T.Track->PositionAt(10, 50), T.Track->PositionAt(10, 150));
    const TRect Thumb = T.Track->ThumbRect();
    const int X = 240 + (Thumb.Left + Thumb.Right) / 2, Y = 8 + (Thumb.Top + Thumb.Bottom) / 2;
    T.Form.HandleMouseDown(mbLeft, {}, X, Y);
    EXPECT_TRUE(T.Changes.empty()); // grabbing the thumb does not move it
    T.Form.HandleMouseMove({}, X + 100, 8 + 1000); // far outside: the bar keeps the drag
    EXPECT_EQ(T.Track->Position(), 199);
    T.Form.HandleMouseUp(mbLeft, {}, X, 8 + 1000);
    T.Form.HandleMouseMove({}, X, Y);
    EXPECT_EQ(T.Track->Position(), 199);
    // Thumb position follows the position: at Max it sits near the bottom.
    EXPECT_GT(T.Track->ThumbRect().Top, 200);
}

TEST(TrackBarPaint, PaintsThumbAndTicks)
{
    TTrackForm T;
    T.Form.PaintAll();
    const TRect Thumb = T.Track->ThumbRect();
    // The thumb's top-left bevel is the highlight colour.
    EXPECT_EQ(T.Form.Surface().Pixel(240 + Thumb.Left + 2, 8 + Thumb.Top), ColorToRGB(clBtnHighlight));
}

} // namespace
