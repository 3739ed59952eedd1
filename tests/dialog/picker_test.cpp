// The custom page's picker: the colour field and its cross, the brightness bar, the
// numeric fields, the preview and Add.

#include "tests/dialog/ColorFormTesting.h"

#include <set>
#include <utility>

namespace {

constexpr TColor Inverted(TColor C) { return C ^ 0xFFFFFF; }

// The field's colour at a pixel of the 200 x 200 interior, by the colour model.
TColor FieldColour(int X, int Y)
{
    return HSBtoRGB(static_cast<Extended>(X - 1) / HueRange, static_cast<Extended>(SatRange - Y) / SatRange, 0.75L);
}

// The pixels of the plus-shaped cross centred at (X, Y), except the centre, which both
// strokes invert and so keeps its colour. Lines leave out their end points.
std::set<std::pair<int, int>> CrossPixels(int X, int Y)
{
    std::set<std::pair<int, int>> P;
    for (int D = -10; D < 10; ++D) {
        P.insert({X, Y + D});
        P.insert({X + D, Y});
    }
    P.erase({X, Y});
    return P;
}

class PickerTest : public ColorFormTest {
protected:
    // Checks every pixel of the field: the white frame, the colours, and the cross
    // at (CX, CY) inverting what lies under it.
    void ExpectField(int CX, int CY)
    {
        const auto Cross = CrossPixels(CX, CY);
        int Wrong = 0;
        for (int Y = 0; Y < 202; ++Y)
            for (int X = 0; X < 202; ++X) {
                const bool Frame = X == 0 || Y == 0 || X == 201 || Y == 201;
                TColor Want = Frame ? 0xFFFFFF : FieldColour(X, Y);
                if (Cross.count({X, Y})) Want = Inverted(Want);
                if (FieldPixel(X, Y) != Want && ++Wrong <= 5)
                    ADD_FAILURE() << "pixel (" << X << ", " << Y << ") is " << std::hex << FieldPixel(X, Y)
                                  << ", want " << Want;
            }
        EXPECT_EQ(Wrong, 0);
    }
};

TEST_F(PickerTest, FirstPaintShowsFrameFieldAndCrossAtTheGreyCorner)
{
    Run("");
    EXPECT_TRUE(Form->IsMarkerEnabled());
    EXPECT_EQ(Form->MarkerX(), 1);
    EXPECT_EQ(Form->MarkerY(), 200);
    ExpectField(1, 200);
    EXPECT_EQ(FieldColour(5, 200), 0xBFBFBF); // the bottom row is the grey of level 150
    EXPECT_EQ(FieldPixel(1, 200), 0xBFBFBF);  // the cross's centre keeps its colour
}

TEST_F(PickerTest, NamedSelectionLeavesTheCrossAtTheGreyCorner)
{
    Form->SetSelectedIdentifier("Teal");
    Run("");
    ExpectField(1, 200);
}

TEST_F(PickerTest, PressesInsideTheFieldPickHueAndSaturation)
{
    Run("press PaintBoxColor 1 1\n");
    EXPECT_EQ(Form->Hue(), 0);
    EXPECT_EQ(Form->Sat(), 199);
    Run("press PaintBoxColor 200 200\n");
    EXPECT_EQ(Form->Hue(), 199);
    EXPECT_EQ(Form->Sat(), 0);

    // The worked example: hue 50, saturation 199 at brightness 150.
    Run("click PaintBoxColor 51 1\n");
    EXPECT_PICKER(*Form, 50, 199, 150, 96, 191, 1);
    EXPECT_EQ(PixelOf(Form->PaintBoxPickedColor, 0, 0), 0x01BF60);
    EXPECT_EQ(PixelOf(Form->PaintBoxPickedColor, 23, 23), 0x01BF60);
    ExpectField(51, 1);
    // Brightness follows the bar, not the field.
    EXPECT_EQ(Form->TrackBright->Position(), 150);
}

TEST_F(PickerTest, PressesOnTheFrameOrWithOtherButtonsDoNothing)
{
    Run("click PaintBoxColor 51 1\n");
    for (const char* Script :
         {"click PaintBoxColor 0 50\n", "click PaintBoxColor 201 50\n", "click PaintBoxColor 50 0\n",
          "click PaintBoxColor 50 201\n", "press PaintBoxColor 100 100 right\nrelease PaintBoxColor 100 100 right\n",
          "hover PaintBoxColor 100 100\n"}) {
        Run(Script);
        EXPECT_PICKER(*Form, 50, 199, 150, 96, 191, 1);
        EXPECT_EQ(Form->MarkerX(), 51);
    }
}

TEST_F(PickerTest, DragUpdatesAtEveryMoveInsideTheBounds)
{
    std::vector<std::string> Hues;
    Form->EditHue->OnChange = [&, Inner = Form->EditHue->OnChange](TObject* S) {
        Hues.push_back(Form->EditHue->Text());
        Inner(S);
    };
    Run("drag PaintBoxColor 11 101 51 101 4\n");
    // The press at x 11, then moves at 21, 31, 41 and 51.
    EXPECT_EQ(Hues, (std::vector<std::string>{"10", "20", "30", "40", "50"}));
    EXPECT_EQ(Form->Sat(), 99);
    ExpectField(51, 101);

    // A drag that leaves the field stops following at its edge.
    Run("press PaintBoxColor 190 50\nmove PaintBoxColor 200 50 left\nmove PaintBoxColor 230 50 left\n"
        "release PaintBoxColor 230 50\n");
    EXPECT_EQ(Form->Hue(), 199);
    EXPECT_EQ(Form->Sat(), 150);
}

TEST_F(PickerTest, BrightnessMovesTheBarAndComponentsButNotTheCross)
{
    Run("type EditBright \"100\"\n");
    EXPECT_EQ(Form->Bright(), 100);
    EXPECT_EQ(Form->TrackBright->Position(), 100);
    EXPECT_PICKER(*Form, 0, 0, 100, 128, 128, 128);
    ExpectField(1, 200);

    Form->TrackBright->SetPosition(40);
    EXPECT_EQ(Form->Bright(), 40);
    EXPECT_EQ(Form->EditBright->Text(), "40");
    EXPECT_EQ(Form->Red(), 51);
}

TEST_F(PickerTest, HueFieldAcceptsSnapsBackAndStaysEmpty)
{
    Run("");
    Form->EditHue->SetText("199");
    EXPECT_EQ(Form->Hue(), 199);
    EXPECT_EQ(Form->MarkerX(), 200);
    for (const char* Bad : {"200", "-5", "abc", "1 2"}) {
        Form->EditHue->SetText(Bad);
        EXPECT_EQ(Form->EditHue->Text(), "199") << Bad;
        EXPECT_EQ(Form->Hue(), 199);
    }
    // Hexadecimal and leading zeros are accepted and normalised.
    Form->EditHue->SetText("$1F");
    EXPECT_EQ(Form->EditHue->Text(), "31");
    Form->EditHue->SetText("007");
    EXPECT_EQ(Form->EditHue->Text(), "7");
    EXPECT_EQ(Form->Hue(), 7);

    // Clearing the field by hand leaves it empty and keeps the level.
    Run("type EditHue \"\"\nkey Backspace\n");
    EXPECT_EQ(Form->EditHue->Text(), "");
    EXPECT_EQ(Form->Hue(), 7);
    EXPECT_EQ(Form->MarkerX(), 8);
}

TEST_F(PickerTest, KeystrokesTwoFiveZeroEndAtTwentyFive)
{
    std::vector<std::string> Texts;
    Form->EditHue->OnChange = [&, Inner = Form->EditHue->OnChange](TObject* S) {
        Texts.push_back(Form->EditHue->Text());
        Inner(S);
    };
    Run("type EditHue \"250\"\n");
    EXPECT_EQ(Form->EditHue->Text(), "25");
    EXPECT_EQ(Form->Hue(), 25);
    // 2 accepted, 25 accepted, 250 rejected and written back.
    ASSERT_GE(Texts.size(), 4u);
    EXPECT_EQ(Texts[0], "2");
    EXPECT_EQ(Texts[Texts.size() - 2], "250");
    EXPECT_EQ(Texts.back(), "25");
}

TEST_F(PickerTest, RedFieldRecomputesLevelsAndMovesTheCrossToTheFrame)
{
    Form->editRed->SetText("256");
    EXPECT_EQ(Form->Red(), 191);
    EXPECT_EQ(Form->editRed->Text(), "191");

    Run("type editGreen \"0\"\ntype editBlue \"0\"\ntype editRed \"255\"\n");
    EXPECT_PICKER(*Form, 0, 200, 200, 255, 0, 0);
    EXPECT_EQ(Form->TrackBright->Position(), 199); // the bar shows its end
    // Saturation 200 puts the cross's centre on frame row 0.
    EXPECT_EQ(Form->MarkerY(), 0);
    EXPECT_EQ(Form->MarkerX(), 1);
    EXPECT_EQ(FieldPixel(1, 0), 0xFFFFFF);          // centre keeps the frame's white
    EXPECT_EQ(FieldPixel(1, 5), Inverted(FieldColour(1, 5)));
    EXPECT_EQ(FieldPixel(5, 0), Inverted(0xFFFFFF)); // the horizontal stroke on the frame
}

TEST_F(PickerTest, HueOf200PutsTheCrossOnTheRightFrameColumn)
{
    Run("type editRed \"255\"\ntype editGreen \"0\"\ntype editBlue \"1\"\n");
    EXPECT_EQ(Form->Hue(), 200);
    EXPECT_EQ(Form->MarkerX(), 201);
    EXPECT_EQ(FieldPixel(201, Form->MarkerY() + 3), Inverted(0xFFFFFF));
}

TEST_F(PickerTest, AddWritesThePickedColourAtTheCurrentCell)
{
    Run("select GridCustomColors 3 1\nclick ButtonAdd\n");
    EXPECT_EQ(Custom[17], "$00BFBFBF");
    EXPECT_EQ(Form->GridCustomColors->Col(), 3);
    EXPECT_EQ(Form->GridCustomColors->Row(), 1);
    const TRect Cell = Form->GridCustomColors->CellRect(3, 1);
    EXPECT_EQ(PixelOf(Form->GridCustomColors, (Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2), 0xBFBFBF);
    // Add changes neither the selection nor the picker.
    EXPECT_EQ(Form->SelectedIdentifier(), "");
    EXPECT_PICKER(*Form, 0, 0, 150, 191, 191, 191);

    // Add again, over a full entry, with another colour.
    Run("click PaintBoxColor 51 1\nclick ButtonAdd\n");
    EXPECT_EQ(Custom[17], "$0001BF60");
}

} // namespace
