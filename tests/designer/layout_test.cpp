// The designer's window at any size: the panes lay themselves out, the preview scrolls
// to what is picked, the inspector's column line moves and a value cut off shows whole
// in a hint, and the inspector says what it shows.

#include "platform/components/IWQellSpinner.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

TEST_F(Designer, ThePanesFitEverySizeAndPicksLandOnTheirComponent)
{
    const TPagePreview& P = D->Preview();
    const TPropertyInspector& I = D->Inspector();
    for (const auto& [W, H] : {std::pair{1000, 600}, std::pair{800, 480}}) {
        Run("resize form " + std::to_string(W) + " " + std::to_string(H) + "\npick PopupConfirm\n");
        EXPECT_EQ(D->Width(), W);
        EXPECT_EQ(D->Height(), H);
        EXPECT_EQ(I.Left() + I.Width(), W - TDesignerForm::Gap);
        EXPECT_LE(P.Left() + P.Width(), I.Left());
        const TStatusLine& Status = D->Status();
        EXPECT_EQ(P.Top() + P.Height(), Status.Top() - TDesignerForm::Gap);
        EXPECT_EQ(Status.Top() + Status.Height(), H);
        EXPECT_EQ(Status.Width(), W);
        EXPECT_EQ(D->InspectorPane().Description().Top() + D->InspectorPane().Description().Height(), Status.Top() - TDesignerForm::Gap);
        EXPECT_EQ(D->InspectorPane().Filter().Top() + D->InspectorPane().Filter().Height() + TInspectorPane::Gap, I.Top());
        EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{&Find<TQellPopup>("PopupConfirm")}) << W << "x" << H;
        // What was picked is in view (its top-left corner at least), drawn there as it
        // draws itself alone.
        const TQellPopup& Popup = Find<TQellPopup>("PopupConfirm");
        const TRect R = P.ComponentRect(Popup);
        EXPECT_TRUE(P.ViewRect().Contains(R.Left, R.Top)) << W << "x" << H << " " << R.Left << "," << R.Top;
        D->PaintAll();
        TBitmap Alone(Popup.Width, Popup.Height, ColorToRGB(D->Document().Page().Color));
        TCanvas Canvas(&Alone, {0, 0}, Rect(0, 0, Popup.Width, Popup.Height));
        Popup.Paint(Canvas);
        for (const TPoint At : {TPoint{4, 4}, TPoint{40, 30}, TPoint{10, 60}})
            EXPECT_EQ(PixelOf(P, R.Left + At.X, R.Top + At.Y), Alone.Pixel(At.X, At.Y)) << At.X << "," << At.Y;
    }
    EXPECT_NE(P.ScrollOffset().Y, 0) << "the page is taller than the pane at 800x480";
    Run("pick LabelTitle\n");
    const TRect Label = P.ComponentRect(Find<TQellLabel>("LabelTitle"));
    EXPECT_TRUE(P.ViewRect().Contains(Label.Left, Label.Top)) << "scrolled back to the label";

    // No smaller than the minimum, whatever the window manager asks.
    Run("resize form 640 400\n");
    EXPECT_EQ(D->Width(), TDesignerForm::MinWidth);
    EXPECT_EQ(D->Height(), TDesignerForm::MinHeight);
}

TEST_F(Designer, TheColumnLineMovesAndACutOffValueShowsWholeInAHint)
{
    TPropertyInspector& I = D->Inspector();
    const std::string Long = "An order that takes the whole afternoon";
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"" + Long + "\"\nkey Enter\n");
    const int Y = I.RowRect(I.FindRow("Left")).Top + 5;
    Run("drag Inspector " + std::to_string(I.NameWidth) + " " + std::to_string(Y) + " 200 " + std::to_string(Y) + "\n");
    EXPECT_EQ(I.NameWidth, 200);
    EXPECT_EQ(I.SelectedRow(), I.FindRow("Caption")) << "dragging the line selects nothing";
    Run("pick LabelTitle\npick ButtonOrder\n");
    EXPECT_EQ(I.NameWidth, 200) << "kept for the session";

    const TRect Caption = I.ValueRect(I.FindRow("Caption"));
    Run("hover Inspector " + std::to_string(Caption.Left + 5) + " " + std::to_string(Caption.Top + 5) + "\n");
    ASSERT_NE(I.CellHint(), nullptr);
    EXPECT_EQ(I.CellHint()->Text(), Long);
    const TRect Left = I.ValueRect(I.FindRow("Left"));
    Run("hover Inspector " + std::to_string(Left.Left + 5) + " " + std::to_string(Left.Top + 5) + "\n");
    EXPECT_EQ(I.CellHint(), nullptr) << "a value that fits needs none";
}

TEST_F(Designer, TheInspectorSaysWhatItShowsAndSlotsFrameTheirSpinnerOnce)
{
    const auto Header = [&] { return dynamic_cast<TLabel&>(*D->FindComponent("InspectorLabel")).Caption(); };
    Run("pick ButtonOrder\n");
    EXPECT_EQ(Header(), "ButtonOrder: TQellButton");
    Run("pick LabelTitle ctrl\npick TrackbarSize ctrl\n");
    EXPECT_EQ(Header(), "3 objects");

    const auto SelectSlots = [&](std::vector<int> Slots) {
        std::vector<TPersistent*> Items;
        for (const int S : Slots) Items.push_back(Find<TQellSpinner>("SpinnerFilling").Slots.Items(S));
        D->Document().Select(Items);
        D->PaintAll();
    };
    SelectSlots({0});
    EXPECT_EQ(Header(), "SpinnerFilling.Slots[0]: TQellSpinnerSlot");
    const TPagePreview& P = D->Preview();
    const TRect R = P.ComponentRect(Find<TQellSpinner>("SpinnerFilling"));
    std::vector<TColor> One;
    for (int X = R.Left; X < R.Right; ++X) One.push_back(PixelOf(P, X, R.Top));
    SelectSlots({0, 2});
    for (int X = R.Left; X < R.Right; ++X)
        ASSERT_EQ(PixelOf(P, X, R.Top), One[static_cast<size_t>(X - R.Left)]) << "the frame at " << X;
}

} // namespace

namespace {

// The line below the inspector says what the selected row is, and for a colour the
// pairs it is drawn in; Ctrl+K takes the suggested colour, one undo step.
TEST_F(Designer, TheDescriptionLineExplainsTheRowAndItsContrast)
{
    Run("pick ButtonOrder\ninspect Inspector Appearance.TextColor\n");
    const std::vector<std::string>& Lines = D->InspectorPane().Description().Lines();
    ASSERT_GE(Lines.size(), 4u);
    EXPECT_EQ(Lines[0].rfind("Appearance.TextColor: TIWColor", 0), 0u) << Lines[0];
    EXPECT_EQ(Lines[1], D->Inspector().RowEditor(D->Inspector().SelectedRow())->GetPropInfo()->Description);
    EXPECT_EQ(Lines[2], "4.24:1 on Appearance.BackgroundColor");
    EXPECT_EQ(Lines[3].rfind("  fails AA, fails AAA; Ctrl+K: ", 0), 0u) << Lines[3];

    Run("key Ctrl+K\n");
    EXPECT_EQ(D->InspectorPane().Description().Lines()[3].rfind("  passes AA", 0), 0u) << D->InspectorPane().Description().Lines()[3];
    EXPECT_NE(Button().TextColor, Web("White"));
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Button().TextColor, Web("White")) << "one undo step";

    Run("inspect Inspector Left\n");
    ASSERT_EQ(D->InspectorPane().Description().Lines().size(), 2u) << "no pairs for a number";
    EXPECT_EQ(D->InspectorPane().Description().Lines()[0].rfind("Left: Integer", 0), 0u) << D->InspectorPane().Description().Lines()[0];
}

} // namespace
