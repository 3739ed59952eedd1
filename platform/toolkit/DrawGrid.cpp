#include "platform/toolkit/DrawGrid.h"

#include <algorithm>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/script/EventScript.h"

namespace {

constexpr const char* GridOptionNames[] = {"goFixedVertLine", "goFixedHorzLine", "goVertLine",
                                           "goHorzLine",      "goRangeSelect",   "goEditing"};

void Publish(TPublisher<TDrawGrid>& P)
{
    P.Redeclare("Width").OrdDefault = TDrawGrid::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TDrawGrid::DefaultHeight;
    P.Redeclare("TabStop").OrdDefault = true;
    P.Redeclare("Color").OrdDefault = clWindow;
    P.Redeclare("ParentColor").OrdDefault = false;
    P.Ordinal("ColCount", TypeInfoInteger, &TDrawGrid::ColCount, &TDrawGrid::SetColCount, 5).Range(1, 10000)
        .Describe("How many columns the grid has.");
    P.Ordinal("RowCount", TypeInfoInteger, &TDrawGrid::RowCount, &TDrawGrid::SetRowCount, 5).Range(1, 10000)
        .Describe("How many rows the grid has.");
    P.Field("FixedCols", TypeInfoInteger, &TDrawGrid::FixedCols, 0).Range(0, 10000)
        .Describe("How many columns at the left stay put when the grid scrolls.");
    P.Field("FixedRows", TypeInfoInteger, &TDrawGrid::FixedRows, 0).Range(0, 10000)
        .Describe("How many rows at the top stay put when the grid scrolls.");
    P.Field("DefaultColWidth", TypeInfoInteger, &TDrawGrid::DefaultColWidth, 64).Range(1, 10000)
        .Describe("Each column's width in pixels.");
    P.Field("DefaultRowHeight", TypeInfoInteger, &TDrawGrid::DefaultRowHeight, 24).Range(1, 10000)
        .Describe("Each row's height in pixels.");
    P.Field("Options", TypeInfoTGridOptions, &TDrawGrid::Options,
            TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine})
                .Describe("Which grid lines are drawn and how cells are selected.");
    P.Event("OnDrawCell", TypeInfoTDrawCellEvent, &TDrawGrid::OnDrawCell).Describe("Draws a cell's content.");
    P.Event("OnSelectCell", TypeInfoTSelectCellEvent, &TDrawGrid::OnSelectCell)
        .Describe("Runs before a cell is selected, and may refuse it.");
}

} // namespace

const TTypeInfo TypeInfoTGridOption = EnumTypeInfo("TGridOption", GridOptionNames);
const TTypeInfo TypeInfoTGridOptions = SetTypeInfo("TGridOptions", TypeInfoTGridOption);

QELL_DEFINE_CLASS_INFO(TDrawGrid, Publish, true)

TDrawGrid::TDrawGrid(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetColor(clWindow);
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

void TDrawGrid::SetColCount(int V)
{
    V = std::max(V, 1);
    if (V == FColCount) return;
    FColCount = V;
    FCol = std::clamp(FCol, FixedColCount(), FColCount - 1);
    Invalidate();
}

void TDrawGrid::SetRowCount(int V)
{
    V = std::max(V, 1);
    if (V == FRowCount) return;
    FRowCount = V;
    FRow = std::clamp(FRow, FixedRowCount(), FRowCount - 1);
    Invalidate();
}

bool TDrawGrid::SetCol(int V)
{
    return FocusCell(V, FRow);
}

bool TDrawGrid::SetRow(int V)
{
    return FocusCell(FCol, V);
}

bool TDrawGrid::FocusCell(int ACol, int ARow)
{
    if (ACol < FixedColCount() || ACol >= FColCount || ARow < FixedRowCount() || ARow >= FRowCount) return false;
    bool CanSelect = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, CanSelect);
    if (!CanSelect) return false;
    if (ACol != FCol || ARow != FRow) {
        FCol = ACol;
        FRow = ARow;
        Invalidate();
    }
    return true;
}

int TDrawGrid::LineWidth(bool Vertical) const
{
    return Options.Contains(Vertical ? goVertLine : goHorzLine) ? 1 : 0;
}

void TDrawGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const
{
    ACol = -1;
    ARow = -1;
    const int B = BorderWidth();
    // The border and anything past the cells belong to no cell; a grid line belongs to
    // the cell before it, so the pointer never falls between two cells.
    if (X < B || Y < B || X >= Width() - B || Y >= Height() - B) return;
    const int C = (X - B) / (DefaultColWidth + LineWidth(true));
    const int R = (Y - B) / (DefaultRowHeight + LineWidth(false));
    if (DefaultColWidth <= 0 || DefaultRowHeight <= 0 || C >= FColCount || R >= FRowCount) return;
    ACol = C;
    ARow = R;
}

TRect TDrawGrid::CellRect(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount) return {};
    const int B = BorderWidth();
    return Bounds(B + ACol * (DefaultColWidth + LineWidth(true)), B + ARow * (DefaultRowHeight + LineWidth(false)),
                  DefaultColWidth, DefaultRowHeight);
}

void TDrawGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        int C, R;
        MouseToCell(X, Y, C, R);
        if (C >= 0) FocusCell(C, R);
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TDrawGrid::KeyDown(TKey& Key, TShiftState Shift)
{
    int C = FCol, R = FRow;
    switch (Key) {
    case vkLeft: --C; break;
    case vkRight: ++C; break;
    case vkUp: --R; break;
    case vkDown: ++R; break;
    case vkHome: C = FixedColCount(); break;
    case vkEnd: C = FColCount - 1; break;
    default: TWinControl::KeyDown(Key, Shift); return;
    }
    Key = 0;
    // At an edge the key does nothing and asks nobody.
    C = std::clamp(C, FixedColCount(), FColCount - 1);
    R = std::clamp(R, FixedRowCount(), FRowCount - 1);
    if (C != FCol || R != FRow) FocusCell(C, R);
}

void TDrawGrid::Paint(TCanvas& C)
{
    const TRect Client = ClientRect();
    // Grid lines show as the face colour between the cells.
    C.Brush.Color = clBtnFace;
    C.FillRect(Client);
    const int B = BorderWidth();
    if (B > 0) {
        DrawEdge(C, Client, clBtnShadow, clBtnHighlight);
        DrawEdge(C, Rect(1, 1, Client.Right - 1, Client.Bottom - 1), cl3DDkShadow, cl3DLight);
    }
    // What lies past the last cell takes the grid's colour.
    const TRect LastCell = CellRect(FColCount - 1, FRowCount - 1);
    const TRect Inner = Rect(B, B, Client.Right - B, Client.Bottom - B);
    C.Brush.Color = EffectiveColor();
    C.FillRect(Intersect(Inner, Rect(LastCell.Right + LineWidth(true), B, Inner.Right, Inner.Bottom)));
    C.FillRect(Intersect(Inner, Rect(B, LastCell.Bottom + LineWidth(false), Inner.Right, Inner.Bottom)));

    const bool HasFocus = Focused();
    for (int Row = 0; Row < FRowCount; ++Row) {
        for (int Col = 0; Col < FColCount; ++Col) {
            const TRect Cell = CellRect(Col, Row);
            if (Cell.Left >= Inner.Right || Cell.Top >= Inner.Bottom) continue;
            const bool Fixed = Col < FixedColCount() || Row < FixedRowCount();
            TGridDrawState State;
            if (Fixed) State.Include(gdFixed);
            const bool Current = !Fixed && Col == FCol && Row == FRow;
            if (Current) State.Include(gdSelected);
            if (Current && HasFocus) State.Include(gdFocused);
            C.Brush.Color = Fixed ? clBtnFace : EffectiveColor();
            C.FillRect(Cell);
            if (OnDrawCell) OnDrawCell(this, Col, Row, Cell, State);
            if (Current && HasFocus) DrawFocusRect(C, Cell);
        }
    }
}

void RegisterDrawGridScriptVerbs()
{
    using namespace ScriptSupport;
    RegisterScriptVerb({"select", "select GRID COL ROW", 3, 3,
                        WordAndNumbers("select GRID COL ROW"),
                        [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                            auto& Grid = FindShowingAs<TDrawGrid>(Form, C.Words[0], "draw grid");
                            const int Col = C.Numbers[0], Row = C.Numbers[1];
                            const std::string Cell = "cell " + std::to_string(Col) + "," + std::to_string(Row);
                            if (Col < 0 || Col >= Grid.ColCount() || Row < 0 || Row >= Grid.RowCount())
                                throw EScriptError(Cell + " is outside " + QuotedInput(C.Words[0], 60) + " (" +
                                                   std::to_string(Grid.ColCount()) + "x" +
                                                   std::to_string(Grid.RowCount()) + ")");
                            const TRect R = Intersect(Grid.CellRect(Col, Row), Grid.ClientRect());
                            if (R.IsEmpty()) throw EScriptError(Cell + " is not visible");
                            Click(Out, CentreOf(Grid, R));
                        }});
}
