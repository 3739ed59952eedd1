// Keyboard focus, buttons and mouse dispatch of a form built in code.

#include <gtest/gtest.h>

#include <vector>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PaintBox.h"

namespace {

// OK and Cancel on the form; a page control with two pages, edits on each.
struct TDialog {
    TForm Form{nullptr};
    TPageControl* Pages = new TPageControl(&Form);
    TTabSheet* PageA = new TTabSheet(&Form);
    TTabSheet* PageB = new TTabSheet(&Form);
    TEdit* A1 = new TEdit(&Form);
    TEdit* A2 = new TEdit(&Form);
    TEdit* B1 = new TEdit(&Form);
    TButton* Ok = new TButton(&Form);
    TButton* Cancel = new TButton(&Form);
    std::vector<std::string> Clicks;

    TDialog()
    {
        Form.SetBounds(0, 0, 385, 453);
        Pages->SetParent(&Form);
        Pages->SetBounds(8, 8, 369, 337);
        Pages->SetTabOrder(1);
        PageA->SetParent(Pages);
        PageB->SetParent(Pages);
        // Inserted in the reverse of their tab order.
        A2->SetParent(PageA);
        A2->SetBounds(0, 40, 50, 21);
        A2->SetTabOrder(1);
        A1->SetParent(PageA);
        A1->SetBounds(0, 8, 50, 21);
        A1->SetTabOrder(0);
        B1->SetParent(PageB);
        Ok->SetParent(&Form);
        Ok->SetBounds(209, 401, 75, 25);
        Ok->SetCaption("&OK");
        Ok->Default = true;
        Ok->ModalResult = mrOk;
        Ok->SetTabOrder(2);
        Cancel->SetParent(&Form);
        Cancel->SetBounds(305, 401, 75, 25);
        Cancel->SetCaption("&Cancel");
        Cancel->Cancel = true;
        Cancel->ModalResult = mrCancel;
        Cancel->SetTabOrder(3);
        Ok->OnClick = [this](TObject*) { Clicks.push_back("ok"); };
        Cancel->OnClick = [this](TObject*) { Clicks.push_back("cancel"); };
    }
};

TEST(FormFocus, TabWalksTabOrderDepthFirstAndShiftTabGoesBack)
{
    TDialog D;
    std::vector<TWinControl*> Seen;
    for (int I = 0; I < 6; ++I) {
        D.Form.HandleKeyDown(vkTab, {});
        Seen.push_back(D.Form.ActiveControl());
    }
    // The hidden page's edit is skipped.
    const std::vector<TWinControl*> Expected{D.Pages, D.A1, D.A2, D.Ok, D.Cancel, D.Pages};
    EXPECT_EQ(Seen, Expected);
    D.Form.HandleKeyDown(vkTab, {ssShift});
    EXPECT_EQ(D.Form.ActiveControl(), D.Cancel);
}

TEST(FormFocus, DisabledOrHiddenControlsCannotTakeFocus)
{
    TDialog D;
    D.A1->SetEnabled(false);
    EXPECT_FALSE(D.A1->CanFocus());
    EXPECT_THROW(D.A1->SetFocus(), Exception);
    EXPECT_THROW(D.B1->SetFocus(), Exception);
    D.Pages->SetActivePageIndex(1);
    D.B1->SetFocus();
    EXPECT_TRUE(D.B1->Focused());
    // Switching back hides the focused edit: focus leaves it for the page control.
    D.Pages->SetActivePageIndex(0);
    EXPECT_EQ(D.Form.ActiveControl(), D.Pages);
}

TEST(FormKeys, EnterAndEscapePressDefaultAndCancelButtons)
{
    TDialog D;
    D.Form.HandleKeyDown(vkReturn, {});
    EXPECT_EQ(D.Form.ModalResult(), mrOk);
    D.Form.SetModalResult(mrNone);
    D.Form.HandleKeyDown(vkEscape, {});
    EXPECT_EQ(D.Form.ModalResult(), mrCancel);
    EXPECT_EQ(D.Clicks, (std::vector<std::string>{"ok", "cancel"}));
}

TEST(FormKeys, FocusedButtonTakesEnterItself)
{
    TDialog D;
    D.Cancel->SetFocus();
    D.Form.HandleKeyDown(vkReturn, {});
    EXPECT_EQ(D.Clicks, (std::vector<std::string>{"cancel"}));
    EXPECT_EQ(D.Form.ModalResult(), mrCancel);
}

TEST(FormKeys, AltMnemonicPressesThatButton)
{
    TDialog D;
    EXPECT_EQ(D.Ok->Mnemonic(), 'O');
    D.Form.HandleKeyDown('C', {ssAlt});
    EXPECT_EQ(D.Clicks, (std::vector<std::string>{"cancel"}));
    // Without Alt the letter goes to the focus, not to a button.
    D.Form.SetModalResult(mrNone);
    D.Form.HandleKeyDown('O', {});
    EXPECT_EQ(D.Form.ModalResult(), mrNone);
}

TEST(FormKeys, MnemonicParsing)
{
    TForm Form(nullptr);
    TButton B(&Form);
    B.SetCaption("Fish && &chips");
    EXPECT_EQ(B.Mnemonic(), 'C');
    B.SetCaption("R&&D");
    EXPECT_EQ(B.Mnemonic(), 0);
    B.SetCaption("Trailing&");
    EXPECT_EQ(B.Mnemonic(), 0);
}

TEST(FormMouse, ClickNeedsPressAndReleaseOverTheSameControl)
{
    TDialog D;
    D.Form.HandleMouseDown(mbLeft, {}, 220, 410);
    D.Form.HandleMouseUp(mbLeft, {}, 220, 410);
    EXPECT_EQ(D.Form.ModalResult(), mrOk);
    EXPECT_EQ(D.Form.ActiveControl(), D.Ok);
    D.Form.SetModalResult(mrNone);
    // Press on OK, release over Cancel: neither is clicked.
    D.Form.HandleMouseDown(mbLeft, {}, 220, 410);
    D.Form.HandleMouseUp(mbLeft, {}, 320, 410);
    EXPECT_EQ(D.Clicks.size(), 1u);
    EXPECT_EQ(D.Form.ModalResult(), mrNone);
}

TEST(FormMouse, PressCapturesAndDragReportsSsLeftWithOutsideCoordinates)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 300, 300);
    auto* Box = new TPaintBox(&Form);
    Box->SetParent(&Form);
    Box->SetBounds(50, 50, 100, 100);
    struct TMove {
        TShiftState Shift;
        int X, Y;
    };
    std::vector<TMove> Moves;
    TShiftState DownShift;
    Box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState S, int, int) { DownShift = S; };
    Box->OnMouseMove = [&](TObject*, TShiftState S, int X, int Y) { Moves.push_back({S, X, Y}); };
    int FormMoves = 0;
    Form.OnMouseMove = [&](TObject*, TShiftState, int, int) { ++FormMoves; };

    Form.HandleMouseDown(mbLeft, {}, 60, 60);
    EXPECT_TRUE(DownShift.Contains(ssLeft));
    Form.HandleMouseMove({}, 20, 10);   // outside the box, left and above
    Form.HandleMouseMove({}, 260, 60);  // beyond its right edge
    Form.HandleMouseUp(mbLeft, {}, 260, 60);
    Form.HandleMouseMove({}, 260, 60);  // released: the form's own surface
    ASSERT_EQ(Moves.size(), 2u);
    EXPECT_TRUE(Moves[0].Shift.Contains(ssLeft));
    EXPECT_EQ(Moves[0].X, -30);
    EXPECT_EQ(Moves[0].Y, -40);
    EXPECT_EQ(Moves[1].X, 210);
    EXPECT_EQ(FormMoves, 1);

    // Moving over the box without a button carries no ssLeft.
    Form.HandleMouseMove({}, 70, 70);
    ASSERT_EQ(Moves.size(), 3u);
    EXPECT_FALSE(Moves[2].Shift.Contains(ssLeft));
}

TEST(FormMouse, DisabledControlDoesNotReceiveEvents)
{
    TDialog D;
    D.Ok->SetEnabled(false);
    D.Form.HandleMouseDown(mbLeft, {}, 220, 410);
    D.Form.HandleMouseUp(mbLeft, {}, 220, 410);
    EXPECT_TRUE(D.Clicks.empty());
}

TEST(FormModal, ShowModalWithoutEventsAnswersCancel)
{
    TDialog D;
    EXPECT_EQ(D.Form.ShowModal(), mrCancel);
    EXPECT_FALSE(D.Form.Modal());
}

} // namespace
