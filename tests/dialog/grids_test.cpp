// The three swatch grids: what each cell shows, what selecting it does, and the
// status-bar hover text.

#include "tests/dialog/ColorFormTesting.h"

#include "colour/IWColors.h"

namespace {

class GridsTest : public ColorFormTest {
protected:
    TColor CellCentre(const TDrawGrid* G, int Col, int Row) const
    {
        const TRect R = G->CellRect(Col, Row);
        return PixelOf(G, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    // A crossed cell: its diagonals are black, the rest of its middle row is not.
    void ExpectCrossed(const TDrawGrid* G, int Col, int Row) const
    {
        const TRect R = G->CellRect(Col, Row);
        EXPECT_EQ(PixelOf(G, R.Left + 4, R.Top + 4), clBlack) << Col << "," << Row;
        EXPECT_EQ(PixelOf(G, R.Right - 4, R.Top + 4), clBlack) << Col << "," << Row;
        EXPECT_NE(PixelOf(G, R.Left + 6, R.Top + 4), clBlack) << Col << "," << Row;
    }
};

TEST_F(GridsTest, WebGridShowsTheTableInOrderAndCrossesTheLastCell)
{
    Run("page PageControl1 0\n");
    for (int I = 0; I < IWColorCount; ++I)
        EXPECT_EQ(CellCentre(Form->WebColorsGrid, I % 12, I / 12), ColorToRGB(IWColors[I].Value)) << IWColors[I].Name;
    ExpectCrossed(Form->WebColorsGrid, 11, 11);
}

TEST_F(GridsTest, SelectingAWebCellMakesItsNameTheSelection)
{
    Run("page PageControl1 0\nselect WebColorsGrid 0 0\n");
    EXPECT_EQ(Form->SelectedIdentifier(), IWColors[0].Name);
    EXPECT_EQ(Form->LabelIdent->Caption(), std::string("Identifier: ") + IWColors[0].Name);
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 0);
    EXPECT_EQ(PixelOf(Form->PaintBoxSelection, 10, 10), ColorToRGB(IWColors[0].Value));

    Run("select WebColorsGrid 4 2\n");
    EXPECT_EQ(Form->SelectedIdentifier(), IWColors[28].Name);
    // The crossed cell selects nothing.
    Run("select WebColorsGrid 11 11\n");
    EXPECT_EQ(Form->SelectedIdentifier(), IWColors[28].Name);
    // Arrow keys move the current cell and select too.
    Run("key Left\n");
    EXPECT_EQ(Form->WebColorsGrid->Col(), 10);
    EXPECT_EQ(Form->WebColorsGrid->Row(), 11);
    EXPECT_EQ(Form->SelectedIdentifier(), IWColors[142].Name);
}

TEST_F(GridsTest, HoveringAWebCellNamesIt)
{
    const TRect R = Form->WebColorsGrid->CellRect(3, 5);
    Run("page PageControl1 0\nhover WebColorsGrid " + std::to_string(R.Left + 2) + " " + std::to_string(R.Top + 2) + "\n");
    EXPECT_EQ(Form->StatusBar1->SimpleText(), IWColors[63].Name);
    const TRect Last = Form->WebColorsGrid->CellRect(11, 11);
    Run("hover WebColorsGrid " + std::to_string(Last.Left + 2) + " " + std::to_string(Last.Top + 2) + "\n");
    EXPECT_EQ(Form->StatusBar1->SimpleText(), "");
}

TEST_F(GridsTest, SystemGridShowsEachIdentifierThenCrosses)
{
    Run("page PageControl1 1\n");
    const int Count = Form->SysColors()->Count();
    ASSERT_LT(Count, 54);
    for (int I = 0; I < 54; ++I) {
        if (I < Count) {
            TColor Colour = 0;
            ASSERT_TRUE(IdentToColor(Form->SysColors()->Strings(I), Colour));
            EXPECT_EQ(CellCentre(Form->SysColorsGrid, I % 9, I / 9), ColorToRGB(Colour)) << I;
        } else {
            ExpectCrossed(Form->SysColorsGrid, I % 9, I / 9);
        }
    }
}

TEST_F(GridsTest, SelectingAndHoveringSystemCells)
{
    const int Count = Form->SysColors()->Count();
    const int Col = (Count - 1) % 9, Row = (Count - 1) / 9;
    const std::string Last = Form->SysColors()->Strings(Count - 1);
    const TRect R = Form->SysColorsGrid->CellRect(Col, Row);
    Run("page PageControl1 1\nselect SysColorsGrid " + std::to_string(Col) + " " + std::to_string(Row) +
        "\nhover SysColorsGrid " + std::to_string(R.Left + 3) + " " + std::to_string(R.Top + 3) + "\n");
    EXPECT_EQ(Form->SelectedIdentifier(), Last);
    EXPECT_EQ(Form->StatusBar1->SimpleText(), Last);
    TColor Expected = 0;
    ASSERT_TRUE(IdentToColor(Last, Expected));
    EXPECT_EQ(Form->SelectedColor(), Expected);

    // Past the last identifier: nothing to select, and the status bar clears.
    const TRect After = Form->SysColorsGrid->CellRect(8, 5);
    Run("select SysColorsGrid 8 5\nhover SysColorsGrid " + std::to_string(After.Left + 3) + " " +
        std::to_string(After.Top + 3) + "\n");
    EXPECT_EQ(Form->SelectedIdentifier(), Last);
    EXPECT_EQ(Form->StatusBar1->SimpleText(), "");
}

TEST_F(GridsTest, EmptyCustomCellIsWhiteWithACrossAndSelectsNothing)
{
    Run("select GridCustomColors 5 0\n");
    const TRect R = Form->GridCustomColors->CellRect(5, 0);
    ExpectCrossed(Form->GridCustomColors, 5, 0);
    EXPECT_EQ(PixelOf(Form->GridCustomColors, R.Left + 12, R.Top + 4), 0xFFFFFF);
    EXPECT_EQ(Form->SelectedIdentifier(), "");
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 2);
}

TEST_F(GridsTest, SelectingACustomRedLoadsItButLeavesTheCross)
{
    Custom.Put(9, "$000000FF");
    Run("select GridCustomColors 9 0\n");
    EXPECT_EQ(CellCentre(Form->GridCustomColors, 9, 0), 0x0000FF);
    EXPECT_EQ(Form->SelectedIdentifier(), "$000000FF");
    EXPECT_EQ(Form->LabelIdent->Caption(), "Identifier: $000000FF");
    EXPECT_PICKER(*Form, 0, 200, 200, 255, 0, 0);
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 2);
    // The selection does not redraw the cross: it stays at the grey corner.
    EXPECT_EQ(Form->MarkerX(), 1);
    EXPECT_EQ(Form->MarkerY(), 200);
    EXPECT_EQ(PixelOf(Form->PaintBoxSelection, 5, 5), 0x0000FF);
}

TEST_F(GridsTest, CustomGridHasNoHoverText)
{
    Run("page PageControl1 0\nhover WebColorsGrid 10 10\npage PageControl1 2\nhover GridCustomColors 10 10\n");
    EXPECT_EQ(Form->StatusBar1->SimpleText(), IWColors[0].Name);
}

} // namespace
