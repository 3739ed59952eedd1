// Painting into the form surface, page switching and ownership of controls.

#include <gtest/gtest.h>

#include "platform/toolkit/Button.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PaintBox.h"
#include "platform/toolkit/StatusBar.h"
#include "tests/support/FormTesting.h"

namespace {

TColor Plain(TColor C)
{
    return ColorToRGB(C);
}

struct TPagedForm {
    TForm Form{nullptr};
    TPageControl* Pages = Place<TPageControl>(Form, Form, 8, 8, 369, 337);
    TTabSheet* Page0 = new TTabSheet(&Form);
    TTabSheet* Page1 = new TTabSheet(&Form);
    TPaintBox* Box0;
    TPaintBox* Box1;
    int Paints0 = 0, Paints1 = 0;

    TPagedForm()
    {
        Form.SetBounds(0, 0, 385, 453);
        Page0->SetParent(Pages);
        Page0->SetCaption("First");
        Page1->SetParent(Pages);
        Page1->SetCaption("Second");
        Box0 = Place<TPaintBox>(Form, *Page0, 0, 0, 20, 20);
        Box1 = Place<TPaintBox>(Form, *Page1, 0, 0, 20, 20);
        Box0->OnPaint = [this](TObject*) { ++Paints0; Fill(Box0, clRed); };
        Box1->OnPaint = [this](TObject*) { ++Paints1; Fill(Box1, clBlue); };
    }
    static void Fill(TPaintBox* Box, TColor C)
    {
        Box->Canvas().Brush.Color = C;
        Box->Canvas().FillRect(Box->ClientRect());
    }
    TColor At(TControl* C, int X, int Y) { return PixelOf(*C, X, Y); }
};

TEST(FormPainting, FormFillsItsSurfaceInItsColourAndSurfaceFollowsSize)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 50, 40);
    Form.SetColor(clAqua);
    Form.PaintAll();
    EXPECT_EQ(Form.Surface().Width(), 50);
    EXPECT_EQ(Form.Surface().Height(), 40);
    EXPECT_EQ(Form.Surface().Pixel(0, 0), clAqua);
    EXPECT_EQ(Form.Surface().Pixel(49, 39), clAqua);
}

TEST(FormPainting, PaintBoxKeepsItsPixelsAcrossRepaintsOfItself)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 60, 60);
    auto* Box = new TPaintBox(&Form);
    Box->SetParent(&Form);
    Box->SetBounds(10, 10, 30, 30);
    Form.PaintAll();
    Box->Canvas().SetPixels(5, 5, clRed);
    Box->Canvas().Pen.Color = clLime;
    Box->Repaint(); // no OnPaint: draws nothing of its own
    EXPECT_EQ(Form.Surface().Pixel(15, 15), clRed);
    // The pen set earlier is still there on the next Canvas() call.
    EXPECT_EQ(Box->Canvas().Pen.Color, clLime);
    // Drawing is clipped to the box, in its coordinates.
    Box->Canvas().Brush.Color = clBlue;
    Box->Canvas().FillRect(Rect(-10, -10, 100, 100));
    EXPECT_EQ(Form.Surface().Pixel(10, 10), clBlue);
    EXPECT_EQ(Form.Surface().Pixel(9, 10), Plain(clBtnFace));
    EXPECT_EQ(Form.Surface().Pixel(40, 39), Plain(clBtnFace));
}

TEST(FormPainting, InvalidatePaintsOnFlushOnly)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 40, 40);
    auto* Box = new TPaintBox(&Form);
    Box->SetParent(&Form);
    int Paints = 0;
    Box->OnPaint = [&](TObject*) { ++Paints; };
    Form.PaintAll();
    const int AfterShow = Paints;
    EXPECT_EQ(AfterShow, 1);
    Box->Invalidate();
    Box->Invalidate();
    EXPECT_EQ(Paints, AfterShow);
    EXPECT_TRUE(Form.FlushPaint());
    EXPECT_EQ(Paints, AfterShow + 1);
    EXPECT_FALSE(Form.FlushPaint());
}

TEST(PageControl, HiddenPageDrawsNothingAndSwitchPaintsTheNewPage)
{
    TPagedForm F;
    F.Form.PaintAll();
    EXPECT_EQ(F.Pages->ActivePageIndex(), 0);
    EXPECT_EQ(F.Paints0, 1);
    EXPECT_EQ(F.Paints1, 0);
    EXPECT_FALSE(F.Box1->Showing());
    EXPECT_TRUE(F.Box1->SurfaceClip().IsEmpty());
    EXPECT_EQ(F.At(F.Box0, 1, 1), clRed);

    // A hidden page's control cannot touch the surface, even when asked directly.
    F.Box1->Canvas().Brush.Color = clLime;
    F.Box1->Canvas().FillRect(F.Box1->ClientRect());
    EXPECT_EQ(F.At(F.Box0, 1, 1), clRed);

    F.Pages->SetActivePageIndex(1);
    EXPECT_EQ(F.Paints1, 1);
    EXPECT_EQ(F.At(F.Box1, 1, 1), clBlue);
    EXPECT_FALSE(F.Page0->Visible());
}

TEST(PageControl, PageAreaHoldsTheWebGridAndClickOnTabSwitches)
{
    TPagedForm F;
    const TRect R = F.Pages->PageRect();
    EXPECT_GE(R.Width(), 361);
    EXPECT_GE(R.Height(), 306);
    EXPECT_EQ(F.Page1->BoundsRect(), R);
    F.Form.PaintAll();
    int Changes = 0;
    F.Pages->OnChange = [&](TObject*) { ++Changes; };
    const TRect Tab = F.Pages->TabRect(1);
    ASSERT_FALSE(Tab.IsEmpty());
    const TPoint O = F.Pages->SurfaceOrigin();
    F.Form.HandleMouseDown(mbLeft, {}, O.X + Tab.Left + 3, O.Y + Tab.Top + 3);
    F.Form.HandleMouseUp(mbLeft, {}, O.X + Tab.Left + 3, O.Y + Tab.Top + 3);
    EXPECT_EQ(F.Pages->ActivePageIndex(), 1);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(F.At(F.Box1, 2, 2), clBlue);
}

TEST(PageControl, IndexSetBeforePagesExistIsAppliedWhenTheyArrive)
{
    TForm Form(nullptr);
    auto* Pages = new TPageControl(&Form);
    Pages->SetParent(&Form);
    Pages->SetActivePageIndex(2);
    for (int I = 0; I < 3; ++I) (new TTabSheet(&Form))->SetParent(Pages);
    Pages->Loaded();
    EXPECT_EQ(Pages->ActivePageIndex(), 2);
    EXPECT_TRUE(Pages->Pages(2)->Visible());
    EXPECT_FALSE(Pages->Pages(0)->Visible());
}

TEST(PageControl, FreeingTheActivePageShowsANeighbour)
{
    TPagedForm F;
    F.Pages->SetActivePageIndex(1);
    delete F.Page1;
    EXPECT_EQ(F.Pages->PageCount(), 1);
    EXPECT_EQ(F.Pages->ActivePageIndex(), 0);
    EXPECT_TRUE(F.Page0->Visible());
}

TEST(Ownership, FreeingAControlEarlyLeavesParentAndFormClean)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 100, 100);
    auto* Button = new TButton(&Form);
    Button->SetParent(&Form);
    Button->SetFocus();
    Form.HandleMouseDown(mbLeft, {}, 5, 5); // captures the button
    Button->Invalidate();
    ASSERT_EQ(Form.ActiveControl(), Button);
    delete Button;
    EXPECT_EQ(Form.ControlCount(), 0);
    EXPECT_EQ(Form.ComponentCount(), 0);
    EXPECT_EQ(Form.ActiveControl(), nullptr);
    // Neither the capture nor the pending paint may reach the freed button.
    Form.HandleMouseMove({}, 6, 6);
    Form.HandleMouseUp(mbLeft, {}, 6, 6);
    Form.FlushPaint();
}

TEST(Ownership, FreeingAParentBeforeItsChildrenDetachesThem)
{
    TForm Form(nullptr);
    auto* Pages = new TPageControl(&Form);
    Pages->SetParent(&Form);
    auto* Sheet = new TTabSheet(&Form);
    Sheet->SetParent(Pages);
    auto* Label = new TLabel(&Form);
    Label->SetParent(Sheet);
    delete Sheet;
    EXPECT_EQ(Label->Parent(), nullptr);
    EXPECT_EQ(Pages->PageCount(), 0);
    EXPECT_FALSE(Label->Showing());
    Label->Repaint(); // draws nowhere
}

TEST(Ownership, FreeingAFormFreesItsControlsAndFiresOnDestroyOnce)
{
    int Destroyed = 0, Created = 0;
    {
        TComponent Owner(nullptr);
        auto* Form = new TForm(&Owner);
        Form->OnCreate = [&](TObject*) { ++Created; };
        Form->OnDestroy = [&](TObject*) { ++Destroyed; };
        Form->AfterConstruction();
        Form->AfterConstruction();
        auto* Pages = new TPageControl(Form);
        Pages->SetParent(Form);
        auto* Sheet = new TTabSheet(Form);
        Sheet->SetParent(Pages);
        auto* Button = new TButton(Form);
        Button->SetParent(Sheet);
        Button->SetFocus();
        Form->BeforeDestruction();
        delete Form;
        EXPECT_EQ(Owner.ComponentCount(), 0);
    }
    EXPECT_EQ(Created, 1);
    EXPECT_EQ(Destroyed, 1);
}

TEST(StatusBar, SimpleTextIsPaintedAtOnce)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 200, 40);
    auto* Bar = new TStatusBar(&Form);
    Bar->SetParent(&Form);
    Bar->SetBounds(0, 20, 200, 19);
    Form.PaintAll();
    const TBitmap Before = Form.Surface();
    Bar->SetSimpleText("WWWW");
    EXPECT_EQ(Bar->SimpleText(), "WWWW");
    EXPECT_FALSE(Form.Surface() == Before);
}

TEST(Anchors, RightAndBottomKeepTheirDistanceWhenTheParentGrows)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 385, 453);
    auto* Ok = new TButton(&Form);
    Ok->SetParent(&Form);
    Ok->SetBounds(209, 401, 75, 25);
    Ok->Anchors = {akRight, akBottom};
    auto* Stretch = new TButton(&Form);
    Stretch->SetParent(&Form);
    Stretch->SetBounds(10, 10, 100, 20);
    Stretch->Anchors = {akLeft, akTop, akRight};
    Form.SetClientWidth(485);
    Form.SetClientHeight(473);
    EXPECT_EQ(Ok->BoundsRect(), Bounds(309, 421, 75, 25));
    EXPECT_EQ(Stretch->BoundsRect(), Bounds(10, 10, 200, 20));
    EXPECT_EQ(Form.Surface().Width(), 485);
}

} // namespace
