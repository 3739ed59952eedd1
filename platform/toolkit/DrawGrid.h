#pragma once

#include <algorithm>
#include <functional>

#include "platform/toolkit/WinControl.h"

enum TGridOption { goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing };
using TGridOptions = TSet<TGridOption>;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTGridOption;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTGridOptions;

enum TGridBorderStyle { bsGridNone, bsGridSingle };

// A grid of owner-drawn cells. Cell (c, r) is DefaultColWidth x DefaultRowHeight; with
// vertical/horizontal line options a one-pixel line follows every column/row, and the
// single border takes 2 pixels on each side. Each cell is filled with the grid's colour,
// then handed to OnDrawCell. The current cell moves by left click or arrow keys, after
// OnSelectCell allowed it.
class QELL_TOOLKIT_API TDrawGrid : public TWinControl {
    QELL_CLASS(TDrawGrid, TWinControl)
    static constexpr int DefaultWidth = 320, DefaultHeight = 120;
    explicit TDrawGrid(TComponent* AOwner);

    int ColCount() const { return FColCount; }
    int RowCount() const { return FRowCount; }
    void SetColCount(int V);
    void SetRowCount(int V);
    // Fixed columns and rows come first and cannot be current. Whatever the order in
    // which counts are set, at least one column and row stay free: a value of ColCount
    // (RowCount) or more acts as one less.
    int FixedCols = 0, FixedRows = 0;
    int FixedColCount() const { return std::clamp(FixedCols, 0, FColCount - 1); }
    int FixedRowCount() const { return std::clamp(FixedRows, 0, FRowCount - 1); }
    int DefaultColWidth = 64;
    int DefaultRowHeight = 24;
    TGridOptions Options{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine};
    TGridBorderStyle BorderStyle = bsGridSingle;

    int Col() const { return FCol; }
    int Row() const { return FRow; }
    // Makes the cell current if OnSelectCell allows it, asking also when it already is
    // (a click on the current cell selects it again); answers whether the cell is now
    // current by that consent (false when out of range, fixed or vetoed).
    bool SetCol(int V);
    bool SetRow(int V);
    bool FocusCell(int ACol, int ARow);

    // The cell under (X, Y); -1, -1 outside every cell.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TRect CellRect(int ACol, int ARow) const;

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(TKey& Key, TShiftState Shift) override;

protected:
    void Paint(TCanvas& C) override;

private:
    int LineWidth(bool Vertical) const;
    int BorderWidth() const { return BorderStyle == bsGridSingle ? 2 : 0; }
    int FColCount = 5, FRowCount = 5;
    int FCol = 0, FRow = 0;
};

// The event-script verb `select GRID COL ROW`: a click on the centre of that cell.
// Registered by the toolkit's unit StdCtrls.
void RegisterDrawGridScriptVerbs();
