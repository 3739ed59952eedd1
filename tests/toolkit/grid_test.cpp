// Draw grid geometry, drawing and current-cell moves.

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Form.h"

namespace {

// The colour dialog's web grid: 12 x 12 cells of 24 x 24 in 305 x 305.
struct TGridForm {
    TForm Form{nullptr};
    TDrawGrid* Grid = new TDrawGrid(&Form);
    std::vector<std::tuple<int, int, bool>> Asked; // col, row, answered

    TGridForm()
    {
        Form.SetBounds(0, 0, 400, 400);
        Grid->SetParent(&Form);
        Grid->SetBounds(10, 20, 305, 305);
        Grid->SetColCount(12);
        Grid->SetRowCount(12);
        Grid->DefaultColWidth = 24;
        Grid->DefaultRowHeight = 24;
    }
    void Veto(int Col, int Row)
    {
        Grid->OnSelectCell = [this, Col, Row](TObject*, int C, int R, bool& CanSelect) {
            CanSelect = !(C == Col && R == Row);
            Asked.emplace_back(C, R, CanSelect);
        };
    }
    std::pair<int, int> Cell(int X, int Y) const
    {
        int C, R;
        Grid->MouseToCell(X, Y, C, R);
        return {C, R};
    }
};

TEST(GridGeometry, CellRectsStepByCellAndLineInsideTheBorder)
{
    TGridForm G;
    EXPECT_EQ(G.Grid->CellRect(0, 0), Rect(2, 2, 26, 26));
    EXPECT_EQ(G.Grid->CellRect(1, 0), Rect(27, 2, 51, 26));
    EXPECT_EQ(G.Grid->CellRect(11, 11), Rect(2 + 11 * 25, 2 + 11 * 25, 2 + 11 * 25 + 24, 2 + 11 * 25 + 24));
    // The last cell ends inside the grid, border included.
    EXPECT_LE(G.Grid->CellRect(11, 11).Right + 2, 305);
    EXPECT_TRUE(G.Grid->CellRect(12, 0).IsEmpty());
    EXPECT_TRUE(G.Grid->CellRect(-1, 0).IsEmpty());
}

TEST(GridGeometry, MouseToCellHonoursBorderAndGridLines)
{
    TGridForm G;
    EXPECT_EQ(G.Cell(2, 2), std::make_pair(0, 0));
    EXPECT_EQ(G.Cell(25, 25), std::make_pair(0, 0));
    EXPECT_EQ(G.Cell(26, 2), std::make_pair(0, 0)); // the line after a cell is that cell's
    EXPECT_EQ(G.Cell(27, 2), std::make_pair(1, 0));
    EXPECT_EQ(G.Cell(2 + 11 * 25, 2 + 11 * 25 + 23), std::make_pair(11, 11));
    EXPECT_EQ(G.Cell(1, 10), std::make_pair(-1, -1)); // border
    EXPECT_EQ(G.Cell(10, 0), std::make_pair(-1, -1));
    EXPECT_EQ(G.Cell(302, 10), std::make_pair(-1, -1)); // past the cells
    EXPECT_EQ(G.Cell(10, 304), std::make_pair(-1, -1));
    EXPECT_EQ(G.Cell(-5, 10), std::make_pair(-1, -1));
    G.Grid->Options = {};
    EXPECT_EQ(G.Cell(26, 2), std::make_pair(1, 0));
}

TEST(GridDrawing, CellsAreFilledThenHandedToOnDrawCell)
{
    TGridForm G;
    std::vector<std::pair<int, int>> Drawn;
    G.Grid->OnDrawCell = [&](TObject*, int C, int R, const TRect& Rc, TGridDrawState) {
        Drawn.emplace_back(C, R);
        EXPECT_EQ(Rc, G.Grid->CellRect(C, R));
        // Each cell arrives already filled with the grid's colour.
        EXPECT_EQ(G.Grid->Canvas().Pixels(Rc.Left, Rc.Top), ColorToRGB(clWindow));
        if (C == 3 && R == 4) {
            G.Grid->Canvas().Brush.Color = clRed;
            G.Grid->Canvas().FillRect(Rc);
        }
    };
    G.Form.PaintAll();
    ASSERT_EQ(Drawn.size(), 144u);
    EXPECT_EQ(Drawn.front(), std::make_pair(0, 0));
    EXPECT_EQ(Drawn[1], std::make_pair(1, 0)); // row by row
    const TRect R = G.Grid->CellRect(3, 4);
    EXPECT_EQ(G.Form.Surface().Pixel(10 + R.Left + 5, 20 + R.Top + 5), clRed);
    EXPECT_NE(G.Form.Surface().Pixel(10 + R.Right, 20 + R.Top + 5), clRed); // grid line
}

TEST(GridSelection, ClickSelectsAskingFirstAndVetoKeepsTheCell)
{
    TGridForm G;
    G.Veto(5, 5);
    const TRect R = G.Grid->CellRect(3, 4);
    G.Form.HandleMouseDown(mbLeft, {}, 10 + R.Left + 1, 20 + R.Top + 1);
    EXPECT_EQ(G.Grid->Col(), 3);
    EXPECT_EQ(G.Grid->Row(), 4);
    EXPECT_TRUE(G.Grid->Focused());
    const TRect V = G.Grid->CellRect(5, 5);
    G.Form.HandleMouseDown(mbLeft, {}, 10 + V.Left + 1, 20 + V.Top + 1);
    EXPECT_EQ(G.Grid->Col(), 3);
    EXPECT_EQ(G.Grid->Row(), 4);
    // A click on the current cell asks again: it is how a user re-selects a swatch.
    G.Form.HandleMouseDown(mbLeft, {}, 10 + R.Left + 1, 20 + R.Top + 1);
    const std::vector<std::tuple<int, int, bool>> Expected{{3, 4, true}, {5, 5, false}, {3, 4, true}};
    EXPECT_EQ(G.Asked, Expected);
    // A right click or a click on the border selects nothing.
    G.Form.HandleMouseDown(mbRight, {}, 10 + V.Left + 1, 20 + V.Top + 1);
    G.Form.HandleMouseDown(mbLeft, {}, 11, 21);
    EXPECT_EQ(G.Asked.size(), 3u);
}

TEST(GridSelection, ArrowKeysMoveAskingAndStopAtEdgesAndVetoes)
{
    TGridForm G;
    G.Veto(1, 1);
    G.Grid->SetFocus();
    G.Form.HandleKeyDown(vkLeft, {}); // at the edge: nobody asked
    EXPECT_TRUE(G.Asked.empty());
    G.Form.HandleKeyDown(vkRight, {});
    EXPECT_EQ(G.Grid->Col(), 1);
    G.Form.HandleKeyDown(vkDown, {}); // vetoed
    EXPECT_EQ(G.Grid->Row(), 0);
    G.Form.HandleKeyDown(vkEnd, {});
    EXPECT_EQ(G.Grid->Col(), 11);
    const std::vector<std::tuple<int, int, bool>> Expected{{1, 0, true}, {1, 1, false}, {11, 0, true}};
    EXPECT_EQ(G.Asked, Expected);
}

TEST(GridSelection, FocusCellRejectsCellsOutsideAndShrinkingClampsTheCurrentCell)
{
    TGridForm G;
    EXPECT_FALSE(G.Grid->FocusCell(12, 0));
    EXPECT_FALSE(G.Grid->FocusCell(0, -1));
    EXPECT_TRUE(G.Grid->FocusCell(10, 10));
    G.Grid->SetColCount(5);
    EXPECT_EQ(G.Grid->Col(), 4);
    EXPECT_EQ(G.Grid->Row(), 10);
}

} // namespace

namespace {

TEST(GridFixedCells, CountsSetInAnyOrderKeepOneFreeCellAndTheValuesAsSet)
{
    TGridForm F;
    F.Grid->FixedRows = 28; // more than the rows there are
    F.Grid->SetRowCount(13);
    EXPECT_EQ(F.Grid->FixedRows, 28);
    EXPECT_EQ(F.Grid->FixedRowCount(), 12);
    EXPECT_FALSE(F.Grid->FocusCell(3, 11));
    EXPECT_TRUE(F.Grid->FocusCell(3, 12));
    EXPECT_EQ(F.Grid->Row(), 12);
    TKey Up = vkUp;
    F.Grid->KeyDown(Up, {});
    EXPECT_EQ(F.Grid->Row(), 12);
    F.Form.PaintAll(); // every cell but the last row is drawn fixed
}

} // namespace
