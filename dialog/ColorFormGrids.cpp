// The three swatch grids: web colours, the toolkit's system colours and the custom
// colours. A cell stands for the entry Row * ColCount + Col.

#include "dialog/IWKAVMOBILEDsnColorDialog.h"

#include "colour/IWColors.h"
#include "platform/rtl/SysUtils.h"

namespace {

int CellIndex(const TDrawGrid& Grid, int ACol, int ARow)
{
    return ARow * Grid.ColCount() + ACol;
}

// An empty cell: two black diagonals corner to corner.
void DrawEmptyCross(TCanvas& C, const TRect& R)
{
    C.Pen.Color = clBlack;
    C.MoveTo(R.Left, R.Top);
    C.LineTo(R.Right, R.Bottom);
    C.MoveTo(R.Right, R.Top);
    C.LineTo(R.Left, R.Bottom);
}

void FillCell(TCanvas& C, const TRect& R, TColor Color)
{
    C.Brush.Color = Color;
    C.FillRect(R);
}

} // namespace

void TIWKAVMOBILEColorForm::WebColorsGridDrawCell(TObject*, int ACol, int ARow, const TRect& Rect, TGridDrawState)
{
    const int I = CellIndex(*WebColorsGrid, ACol, ARow);
    TCanvas& C = WebColorsGrid->Canvas();
    if (I >= 0 && I < IWColorCount)
        FillCell(C, Rect, IWColors[I].Value);
    else
        DrawEmptyCross(C, Rect);
}

void TIWKAVMOBILEColorForm::WebColorsGridSelectCell(TObject*, int ACol, int ARow, bool&)
{
    const int I = CellIndex(*WebColorsGrid, ACol, ARow);
    if (I >= 0 && I < IWColorCount) SetSelectedIdentifier(IWColors[I].Name);
}

void TIWKAVMOBILEColorForm::WebColorsGridMouseMove(TObject*, TShiftState, int X, int Y)
{
    int ACol = -1, ARow = -1;
    WebColorsGrid->MouseToCell(X, Y, ACol, ARow);
    const int I = CellIndex(*WebColorsGrid, ACol, ARow);
    StatusBar1->SetSimpleText(I >= 0 && I < IWColorCount ? IWColors[I].Name : "");
}

void TIWKAVMOBILEColorForm::SysColorsGridDrawCell(TObject*, int ACol, int ARow, const TRect& Rect, TGridDrawState)
{
    const int I = CellIndex(*SysColorsGrid, ACol, ARow);
    TCanvas& C = SysColorsGrid->Canvas();
    TColor Color = clBlack;
    if (I >= 0 && I < FSysColors->Count() && IdentToColor(FSysColors->Strings(I), Color))
        FillCell(C, Rect, Color);
    else
        DrawEmptyCross(C, Rect);
}

void TIWKAVMOBILEColorForm::SysColorsGridSelectCell(TObject*, int ACol, int ARow, bool&)
{
    const int I = CellIndex(*SysColorsGrid, ACol, ARow);
    if (I >= 0 && I < FSysColors->Count()) SetSelectedIdentifier(FSysColors->Strings(I));
}

void TIWKAVMOBILEColorForm::SysColorsGridMouseMove(TObject*, TShiftState, int X, int Y)
{
    int ACol = -1, ARow = -1;
    SysColorsGrid->MouseToCell(X, Y, ACol, ARow);
    const int I = CellIndex(*SysColorsGrid, ACol, ARow);
    StatusBar1->SetSimpleText(I >= 0 && I < FSysColors->Count() ? FSysColors->Strings(I) : std::string());
}

void TIWKAVMOBILEColorForm::GridCustomColorsDrawCell(TObject*, int ACol, int ARow, const TRect& Rect, TGridDrawState)
{
    const int I = CellIndex(*GridCustomColors, ACol, ARow);
    TCanvas& C = GridCustomColors->Canvas();
    if (I >= 0 && I < FCustomColors->Count() && !FCustomColors->Strings(I).empty()) {
        FillCell(C, Rect, StrToInt(FCustomColors->Strings(I)));
    } else {
        FillCell(C, Rect, clWhite);
        DrawEmptyCross(C, Rect);
    }
}

void TIWKAVMOBILEColorForm::GridCustomColorsSelectCell(TObject*, int ACol, int ARow, bool&)
{
    // The list was padded to one entry per cell when the form was created; the list's
    // own index check still guards a list that someone shortened since.
    const std::string Entry = FCustomColors->Strings(CellIndex(*GridCustomColors, ACol, ARow));
    if (!Entry.empty()) SetSelectedIdentifier(Entry);
}
