// The designer's window at any size: the panes lay themselves out, the preview scrolls
// to what is picked, the inspector's column line moves and a value cut off shows whole
// in a hint, and the inspector says what it shows.

#include <cstring>

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

// The row of the description line where Text shows as it draws a line of its own (from
// its left padding, over its face), or -1 when it shows nowhere.
int RowShowing(const TDescriptionLine& Line, const std::string& Text)
{
    TCanvas Measure;
    Measure.Font = Line.EffectiveFont();
    const int W = Measure.TextWidth(Text), H = Measure.TextHeight(Text);
    TBitmap Alone(W, H, ColorToRGB(clBtnFace));
    TCanvas C(&Alone, {0, 0}, Rect(0, 0, W, H));
    C.Font = Line.EffectiveFont();
    C.Font.SetColor(clWindowText);
    C.TextOut(0, 0, Text);
    const int X0 = TDescriptionLine::Padding;
    for (int Y0 = 0; Y0 + H <= Line.Height(); ++Y0) {
        bool Same = true;
        for (int Y = 0; Same && Y < H; ++Y)
            for (int X = 0; Same && X < W; ++X) Same = PixelOf(Line, X0 + X, Y0 + Y) == Alone.Pixel(X, Y);
        if (Same) return Y0;
    }
    return -1;
}

// With several pairs the description line grows to show its last verdict, at every
// size; the rows above give up the room and keep the selected row in view. A row with
// less to say gives it back.
TEST_F(Designer, TheDescriptionLineGrowsToShowEveryPair)
{
    const TPropertyInspector& I = D->Inspector();
    const TDescriptionLine& L = D->InspectorPane().Description();
    const int Default = L.Height();
    for (const auto& [W, H] : {std::pair{1216, 540}, std::pair{800, 480}})
        for (const char* Row : {"ListBread\ninspect Inspector ItemAppearance.BackgroundColor",
                                "TrackbarSize\ninspect Inspector Appearance.ThumbBorderColor"}) {
            Run("resize form " + std::to_string(W) + " " + std::to_string(H) + "\npick " + Row + "\n");
            D->PaintAll();
            ASSERT_GE(L.Lines().size(), 6u) << Row << ": two pairs";
            EXPECT_GE(RowShowing(L, L.ShownLines().back()), 0) << Row << " at " << W << "x" << H;
            EXPECT_GT(L.Height(), Default);
            EXPECT_EQ(I.Top() + I.Height() + TInspectorPane::SplitterHeight, L.Top()) << "the splitter between";
            EXPECT_FALSE(I.RowRect(I.SelectedRow()).IsEmpty()) << Row << ": the row stays in view";
        }
    Run("inspect Inspector Left\n");
    EXPECT_EQ(L.Height(), Default);
}

// Text beyond the line's height scrolls: the wheel, then the scroll bar's up arrow.
TEST(DescriptionLine, TextBeyondItsHeightScrollsByTheWheelAndTheBar)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 400, 300);
    auto* L = Place<TDescriptionLine>(Form, Form, 10, 10, 300, TDescriptionLine::DefaultHeight);
    L->SetName("Description");
    std::vector<std::string> Lines{"first"};
    for (int N = 2; N < 20; ++N) Lines.push_back("line " + std::to_string(N));
    Lines.push_back("last");
    L->SetLines(Lines);
    const auto Run = [&](const std::string& Script) {
        UseScript(Script);
        Form.ShowModal();
        Form.PaintAll();
    };
    Run("");
    EXPECT_EQ(RowShowing(*L, "first"), TDescriptionLine::Padding);
    EXPECT_LT(RowShowing(*L, "last"), 0);
    Run("wheel Description 20 20 -10\n");
    EXPECT_LT(RowShowing(*L, "first"), 0);
    EXPECT_GE(RowShowing(*L, "last"), 0) << "scrolled to the end";
    const int Bottom = RowShowing(*L, "last");
    Run("click Description " + std::to_string(L->Width() - 9) + " 8\n");
    EXPECT_EQ(RowShowing(*L, "line 19"), Bottom) << "one line back up";
    EXPECT_LT(RowShowing(*L, "last"), 0);
    ResetBackEnd();
}

} // namespace

namespace {

// The line below the inspector says what the selected row is, and for a colour its CSS
// forms and the pairs it is drawn in with both fixes of a failing one; Ctrl+K takes the nearer (for
// the white caption on SeaGreen, a darker green), selects its row, one undo step.
TEST_F(Designer, TheDescriptionLineExplainsTheRowAndItsContrast)
{
    const auto Lines = [&]() -> const std::vector<std::string>& { return D->InspectorPane().Description().Lines(); };
    Run("pick ButtonOrder\ninspect Inspector Appearance.TextColor\n");
    ASSERT_GE(Lines().size(), 6u);
    EXPECT_EQ(Lines()[0].rfind("Appearance.TextColor: TIWColor", 0), 0u) << Lines()[0];
    EXPECT_EQ(Lines()[1], D->Inspector().RowEditor(D->Inspector().SelectedRow())->GetPropInfo()->Description);
    EXPECT_EQ(Lines()[2], "White = #FFFFFF, rgb(255, 255, 255)");
    EXPECT_EQ(Lines()[3], "4.24:1 on Appearance.BackgroundColor");
    EXPECT_EQ(Lines()[4], "  fails AA, fails AAA");
    const std::string Offer = Lines()[5];
    const size_t Or = Offer.find(" (ΔE "), Other = Offer.find("); or foreground $");
    ASSERT_EQ(Offer.rfind("  Ctrl+K: background $", 0), 0u) << Offer;
    ASSERT_NE(Or, std::string::npos) << Offer;
    ASSERT_NE(Other, std::string::npos) << Offer;
    const std::string Green = Offer.substr(std::strlen("  Ctrl+K: background "), Or - std::strlen("  Ctrl+K: background "));

    Run("key Ctrl+K\n");
    EXPECT_EQ(Button().TextColor, Web("White"));
    EXPECT_EQ(IWColorToString(Button().BackgroundColor), Green);
    EXPECT_EQ(D->Inspector().RowPath(D->Inspector().SelectedRow()), "Appearance.BackgroundColor");
    EXPECT_TRUE(Lines()[3].ends_with(":1 under Appearance.TextColor")) << Lines()[3];
    EXPECT_EQ(Lines()[4].rfind("  passes AA", 0), 0u) << Lines()[4];
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Button().BackgroundColor, Web("SeaGreen")) << "one undo step";

    // Navy text on a mid-grey page: the nearer fix is the page's colour, which the label's
    // row does not show; Ctrl+K sets it all the same, as one step, the row kept.
    TQellPage& Page = D->Document().Page();
    Page.Color = 0x00707070;
    Run("pick LabelTitle\ninspect Inspector TextColor\n");
    const std::string LabelOffer = Lines().back();
    ASSERT_EQ(LabelOffer.rfind("  Ctrl+K: background $", 0), 0u) << LabelOffer;
    const std::string Grey = LabelOffer.substr(std::strlen("  Ctrl+K: background "), 9);
    Run("key Ctrl+K\n");
    EXPECT_EQ(ColorToString(Page.Color), Grey);
    EXPECT_EQ(Find<TQellLabel>("LabelTitle").TextColor, clNavy);
    EXPECT_EQ(D->Inspector().RowPath(D->Inspector().SelectedRow()), "TextColor");
    EXPECT_EQ(Lines()[4].rfind("  passes AA", 0), 0u) << Lines()[4];
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Page.Color, 0x00707070) << "one undo step";

    Run("pick ButtonOrder\ninspect Inspector Left\n");
    ASSERT_EQ(Lines().size(), 2u) << "no pairs for a number";
    EXPECT_EQ(Lines()[0].rfind("Left: Integer", 0), 0u) << Lines()[0];
}

} // namespace
