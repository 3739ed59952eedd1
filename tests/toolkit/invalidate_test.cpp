// What a control leaves bare when it moves, shrinks or hides is repainted by its
// parent in that area only: controls elsewhere on the parent keep their pixels.

#include <gtest/gtest.h>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PaintBox.h"

namespace {

struct TLabelledForm {
    TForm Form{nullptr};
    TLabel* Label = new TLabel(&Form);
    TPaintBox* Box = new TPaintBox(&Form);
    TPaintBox* Neighbour = new TPaintBox(&Form);
    int BoxPaints = 0, NeighbourPaints = 0;

    TLabelledForm()
    {
        Form.SetBounds(0, 0, 300, 200);
        Label->SetParent(&Form);
        Label->SetBounds(10, 10, 0, 0);
        Label->SetCaption("Identifier:");
        Box->SetParent(&Form);
        Box->SetBounds(10, 100, 50, 50);
        Box->OnPaint = [this](TObject*) { ++BoxPaints; };
        // Overlaps the label's longer caption.
        Neighbour->SetParent(&Form);
        Neighbour->SetBounds(60, 5, 20, 20);
        Neighbour->OnPaint = [this](TObject*) { ++NeighbourPaints; };
        Form.PaintAll();
        BoxPaints = NeighbourPaints = 0;
    }
};

// A 100 x 100 form with a 50 x 50 panel at its corner, a box on the panel at BoxBounds.
struct TPanelledForm {
    TForm Form{nullptr};
    TWinControl* Panel = new TWinControl(&Form);
    TPaintBox* Box = new TPaintBox(&Form);

    explicit TPanelledForm(const TRect& BoxBounds)
    {
        Form.SetBounds(0, 0, 100, 100);
        Panel->SetParent(&Form);
        Panel->SetBounds(0, 0, 50, 50);
        Box->SetParent(Panel);
        Box->SetBounds(BoxBounds.Left, BoxBounds.Top, BoxBounds.Width(), BoxBounds.Height());
    }
};

TEST(AreaInvalidation, ResizingALabelRepaintsOnlyWhatItCovered)
{
    TLabelledForm F;
    const int OldWidth = F.Label->Width();
    F.Label->SetCaption("Identifier: a much longer text");
    ASSERT_GT(F.Label->Width(), OldWidth);
    F.Form.FlushPaint();
    EXPECT_EQ(F.BoxPaints, 0);
    EXPECT_GE(F.NeighbourPaints, 1) << "it lies over the longer caption, so it is painted again on top";

    // Shrinking again clears the pixels that the longer caption had painted.
    const int LongRight = F.Label->Left() + F.Label->Width();
    F.Label->SetCaption("I");
    F.Form.FlushPaint();
    const TPoint O = F.Label->SurfaceOrigin();
    EXPECT_EQ(F.Form.Surface().Pixel(LongRight - 3, O.Y + 5), ColorToRGB(F.Form.Color()));
    EXPECT_EQ(F.BoxPaints, 0);
}

// A control that lies under a later sibling is repainted with that sibling on top.
TEST(AreaInvalidation, ARepaintKeepsWhatLiesOnTop)
{
    TLabelledForm F;
    F.Box->SetBounds(50, 0, 60, 60); // under the neighbour, which comes later
    F.Box->OnPaint = [&](TObject*) {
        F.Box->Canvas().Brush.Color = clRed;
        F.Box->Canvas().FillRect(F.Box->ClientRect());
    };
    F.Neighbour->OnPaint = [&](TObject*) {
        F.Neighbour->Canvas().Brush.Color = clBlue;
        F.Neighbour->Canvas().FillRect(F.Neighbour->ClientRect());
    };
    F.Form.PaintAll();
    F.Box->Invalidate();
    F.Form.FlushPaint();
    EXPECT_EQ(F.Form.Surface().Pixel(70, 10), clBlue);
    EXPECT_EQ(F.Form.Surface().Pixel(55, 50), clRed);
    F.Box->Repaint();
    EXPECT_EQ(F.Form.Surface().Pixel(70, 10), clBlue);
    EXPECT_EQ(F.Form.Surface().Pixel(100, 10), clRed);
}

// An area of a control repainted under a later sibling of its parent (an open menu over
// the rows) leaves that sibling on top too.
TEST(AreaInvalidation, AnAreaRepaintKeepsWhatLiesOnTopOfItsParent)
{
    TPanelledForm P(Bounds(0, 0, 50, 50));
    TForm& Form = P.Form;
    TWinControl* Panel = P.Panel;
    TPaintBox* Box = P.Box;
    Box->OnPaint = [&](TObject*) {
        Box->Canvas().Brush.Color = clRed;
        Box->Canvas().FillRect(Box->ClientRect());
    };
    auto* Cover = new TPaintBox(&Form);
    Cover->SetParent(&Form);
    Cover->SetBounds(20, 20, 60, 60);
    Cover->OnPaint = [&](TObject*) {
        Cover->Canvas().Brush.Color = clBlue;
        Cover->Canvas().FillRect(Cover->ClientRect());
    };
    Form.PaintAll();
    ASSERT_EQ(Form.Surface().Pixel(30, 30), clBlue);
    Panel->InvalidateRect(Rect(0, 0, 50, 50));
    Form.FlushPaint();
    EXPECT_EQ(Form.Surface().Pixel(30, 30), clBlue);
    EXPECT_EQ(Form.Surface().Pixel(10, 10), clRed);
}

TEST(AreaInvalidation, HidingOrMovingAControlRepaintsTheBareArea)
{
    TLabelledForm F;
    F.Box->OnPaint = [&](TObject*) {
        ++F.BoxPaints;
        F.Box->Canvas().Brush.Color = clRed;
        F.Box->Canvas().FillRect(F.Box->ClientRect());
    };
    F.Form.PaintAll();
    F.NeighbourPaints = 0;
    ASSERT_EQ(F.Form.Surface().Pixel(20, 110), clRed);
    F.Box->SetLeft(200);
    F.Form.FlushPaint();
    EXPECT_EQ(F.Form.Surface().Pixel(20, 110), ColorToRGB(F.Form.Color()));
    EXPECT_EQ(F.Form.Surface().Pixel(210, 110), clRed);

    F.Box->SetVisible(false);
    F.Form.FlushPaint();
    EXPECT_EQ(F.Form.Surface().Pixel(210, 110), ColorToRGB(F.Form.Color()));
    EXPECT_EQ(F.NeighbourPaints, 0);
}

TEST(AreaInvalidation, FreeingAControlWithPendingAreasForgetsThem)
{
    TPanelledForm P(Bounds(5, 5, 10, 10));
    TForm& Form = P.Form;
    TWinControl* Panel = P.Panel;
    TPaintBox* Box = P.Box;
    int Paints = 0;
    Box->OnPaint = [&](TObject*) { ++Paints; };
    Form.PaintAll();
    Box->SetLeft(20); // queues the area it left on the panel
    delete Panel;     // the sanitizers catch any later use of it
    EXPECT_EQ(Box->Parent(), nullptr);
    Paints = 0;
    Form.FlushPaint();
    EXPECT_EQ(Paints, 0); // an orphan does not paint
}

} // namespace

// Areas apart stay apart: what lies between them is not repainted (a drag's guide line
// across a large page and the component dragged are two small repaints, not one large).
TEST(AreaInvalidation, AreasApartRepaintOnlyThemselves)
{
    TLabelledForm F;
    F.Form.InvalidateRect(Rect(0, 90, 8, 160));
    F.Form.InvalidateRect(Rect(100, 90, 108, 160));
    F.Form.FlushPaint();
    EXPECT_EQ(F.BoxPaints, 0) << "the box lies between the two areas";

    // Two thin areas that cross stay two; one that continues another joins it.
    F.Form.InvalidateRect(Rect(0, 90, 300, 91));
    F.Form.InvalidateRect(Rect(200, 0, 201, 200));
    F.Form.FlushPaint();
    EXPECT_EQ(F.BoxPaints, 0) << "the box lies in the corner the two lines make";
    F.Form.InvalidateRect(Rect(0, 90, 12, 160));
    F.Form.InvalidateRect(Rect(12, 90, 20, 160));
    F.Form.FlushPaint();
    EXPECT_EQ(F.BoxPaints, 1);
}
