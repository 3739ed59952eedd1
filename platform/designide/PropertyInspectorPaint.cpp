// The property inspector's drawing, its hints, and the input it routes to its rows
// (InspectorRows.cpp) and its in-place editing (InspectorEditController.cpp).

#include "platform/designide/PropertyInspector.h"

#include "platform/graphics/Drawing.h"
#include "platform/toolkit/Form.h"

namespace {

constexpr int Indent = 10, BoxSize = 9;

// Where a row's +/- box starts, and where its name starts.
int BoxLeft(int Level) { return TPropertyInspector::Border + 2 + Level * Indent; }
int NameLeft(int Level) { return BoxLeft(Level) + BoxSize + 3; }

// Where the editor draws a row's name, within its cell.
TRect NameTextRect(const TRect& Name, int Level)
{
    return Rect(std::min(NameLeft(Level), Name.Right), Name.Top, Name.Right, Name.Bottom);
}

// A small box with a + or -, as tree views show.
void DrawExpander(TCanvas& C, int X, int Y, bool Expanded)
{
    C.Pen.Color = clBtnShadow;
    C.Brush.Color = clWindow;
    C.Rectangle(X, Y, X + BoxSize, Y + BoxSize);
    C.Brush.Color = clWindowText;
    C.FillRect(Rect(X + 2, Y + BoxSize / 2, X + BoxSize - 2, Y + BoxSize / 2 + 1));
    if (!Expanded) C.FillRect(Rect(X + BoxSize / 2, Y + 2, X + BoxSize / 2 + 1, Y + BoxSize - 2));
}

// A button face with an arrow or three dots.
void DrawButton(TCanvas& C, const TRect& R, bool Arrow)
{
    C.Brush.Color = clBtnFace;
    C.FillRect(R);
    DrawEdge(C, R, clBtnHighlight, cl3DDkShadow);
    C.Brush.Color = clBtnText;
    const int CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
    if (Arrow) {
        for (int I = 0; I < 4; ++I) C.FillRect(Rect(CX - 3 + I, CY - 1 + I, CX + 4 - I, CY + I));
    } else {
        for (int I = -1; I <= 1; ++I) C.FillRect(Rect(CX + 3 * I - 1, CY + 2, CX + 3 * I + 1, CY + 4));
    }
}

bool Printable(const std::string& Text)
{
    return !Text.empty() && static_cast<unsigned char>(Text[0]) >= 0x20 && Text[0] != 0x7F;
}

} // namespace

void TPropertyInspector::PaintRow(TCanvas& C, int Row)
{
    TPropertyEditor* Editor = RowEditor(Row);
    TInterfacePtr<ICustomPropertyDrawing> Drawing;
    Supports(Editor, Drawing);
    const bool Expandable = FRows.RowExpandable(Row);
    const int Level = RowLevel(Row);
    const bool Selected = Row == SelectedRow();
    const TRect Line = RowRect(Row);
    const TRect Name = NameRect(Row);
    const TRect Value = ValueRect(Row);

    // The name cell: highlighted on the selected row; the editor draws the name.
    C.Font = EffectiveFont();
    C.Font.SetColor(Selected ? clHighlightText : clWindowText);
    C.Brush.Color = Selected ? clHighlight : clWindow;
    C.Pen.Color = C.Brush.Color;
    C.Pen.Mode = pmCopy;
    C.FillRect(Name);
    if (Expandable) DrawExpander(C, BoxLeft(Level), Line.Top + (RowHeight - 1 - BoxSize) / 2, RowExpanded(Row));
    const TRect NameText = NameTextRect(Name, Level);
    if (Drawing)
        Drawing->PropDrawName(C, NameText, Selected);
    else
        DefaultPropertyDrawName(Editor, C, NameText);

    // The value cell; while typing, the in-place edit covers it. The selected row's
    // buttons fill the rest of the line.
    if (!(Selected && Editing()))
        PaintPropertyValueCell(Editor, C, EffectiveFont(), Value, Selected, Expandable);
    if (Selected) {
        if (const TRect B = DropDownButtonRect(); !B.IsEmpty()) DrawButton(C, B, true);
        if (const TRect B = EllipsisButtonRect(); !B.IsEmpty()) DrawButton(C, B, false);
    }
}

void TPropertyInspector::Paint(TCanvas& C)
{
    const TRect Client = ClientRect();
    // Grid lines show as the face colour between the cells.
    C.Brush.Color = clBtnFace;
    C.FillRect(Client);
    DrawEdge(C, Client, clBtnShadow, clBtnHighlight);
    DrawEdge(C, Inflate(Client, 1), cl3DDkShadow, cl3DLight);
    const int Below = Border + std::min(RowCount() - FTopRow, VisibleRows()) * RowHeight;
    C.Brush.Color = EffectiveColor();
    C.FillRect(Rect(Border, Below, InnerRight(), Height() - Border));
    for (int Row = FTopRow; Row < RowCount() && Row < FTopRow + VisibleRows(); ++Row) PaintRow(C, Row);
    if (Focused() && SelectedRow() >= 0) DrawFocusRect(C, NameRect(SelectedRow()));
}

int TPropertyInspector::RowAt(int X, int Y) const
{
    // A row's grid line belongs to it, so every pixel row of the list is some row's.
    const int Row = Y >= Border ? FTopRow + (Y - Border) / RowHeight : -1;
    if (Row < 0 || Row >= RowCount() || Row >= FTopRow + VisibleRows() || X < Border || X >= InnerRight()) return -1;
    return Row;
}

bool TPropertyInspector::OnColumnLine(int X, int Y) const
{
    return RowAt(X, Y) >= 0 && X >= NameWidth - 2 && X <= NameWidth + 2;
}

const THintWindow* TPropertyInspector::CellHint() const
{
    return FHint && FHint->Visible() ? FHint : nullptr;
}

void TPropertyInspector::HideHint()
{
    if (FHint) FHint->Hide();
}

void TPropertyInspector::UpdateHint(int X, int Y)
{
    const int Row = RowAt(X, Y);
    TForm* Form = ParentForm();
    if (!Form || Row < 0) return HideHint();
    const TRect Name = NameRect(Row), Value = ValueRect(Row);
    std::string Text;
    int Room = 0, Beside = 4;
    if (Name.Contains(X, Y)) {
        Text = RowName(Row);
        Room = NameTextRect(Name, RowLevel(Row)).Width();
    } else if (Value.Contains(X, Y) && !(Row == SelectedRow() && Editing())) {
        Text = RowValue(Row);
        Room = Value.Width();
        // An owner-drawn value has a swatch as wide as the cell is high before its text.
        TInterfacePtr<ICustomPropertyDrawing> Drawing;
        if (Supports(RowEditor(Row), Drawing)) Beside += Value.Height();
    }
    TCanvas Measure;
    Measure.Font = EffectiveFont();
    if (Text.empty() || Measure.TextWidth(Text) + Beside <= Room) return HideHint();
    if (CellHint() && FHint->Text() == Text) return;
    if (!FHint) FHint = new THintWindow(this);
    const TPoint O = SurfaceOrigin();
    // Below the pointer, so that it never covers what it explains.
    FHint->ShowAt(*Form, O.X + X, O.Y + Value.Bottom + 2, Text);
}

void TPropertyInspector::MouseMove(TShiftState Shift, int X, int Y)
{
    TWinControl::MouseMove(Shift, X, Y);
    if (FSplitting) {
        if (Shift.Contains(ssLeft)) SetNameWidth(X);
        return;
    }
    if (Shift.Contains(ssLeft) || Shift.Contains(ssRight)) return HideHint();
    UpdateHint(X, Y);
}

void TPropertyInspector::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) FSplitting = false;
    TWinControl::MouseUp(Button, Shift, X, Y);
}

void TPropertyInspector::MouseLeave()
{
    HideHint();
}

void TPropertyInspector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TWinControl::MouseDown(Button, Shift, X, Y);
    HideHint();
    // Still editing: the text was refused as the focus came here, and stays.
    if (Button == mbRight && !Editing()) OpenRowMenu(RowAt(X, Y), X, Y);
    if (Button != mbLeft) return;
    if (OnColumnLine(X, Y)) {
        FSplitting = true;
        return;
    }
    if (DropDownButtonRect().Contains(X, Y)) {
        if (DropDownList()) CloseDropDown();
        else OpenDropDown();
        return;
    }
    if (EllipsisButtonRect().Contains(X, Y)) {
        EditProperty();
        return;
    }
    const int Row = RowAt(X, Y);
    if (Row < 0) return;
    const int Box = BoxLeft(RowLevel(Row));
    if (FRows.RowExpandable(Row) && X >= Box - 2 && X < Box + BoxSize + 2) {
        if (RowExpanded(Row)) Collapse(Row);
        else Expand(Row);
        return;
    }
    SetSelectedRow(Row);
    if (!ValueRect(Row).Contains(X, Y)) return;
    if (Shift.Contains(ssDouble)) {
        DoubleClickValue();
        return;
    }
    BeginEdit(RowValue(Row), true);
}

void TPropertyInspector::DoubleClickValue()
{
    const int Row = SelectedRow();
    if (Row < 0) return;
    CancelEdit();
    const TPropertyAttributes A = RowEditor(Row)->GetAttributes();
    if (A.Contains(paDialog)) {
        EditProperty();
    } else if (A.Contains(paValueList)) {
        TInterfacePtr<TPropertyEditor> Editor(RowEditor(Row));
        FEditing->Change([&] { Editor->Edit(); });
    } else if (FRows.RowExpandable(Row)) {
        if (RowExpanded(Row)) Collapse(Row);
        else Expand(Row);
    }
}

bool TPropertyInspector::MouseWheel(TShiftState Shift, int Delta, int X, int Y)
{
    return FScrollBar->Visible() && FScrollBar->MouseWheel(Shift, Delta, X, Y);
}

void TPropertyInspector::KeyDown(TKey& Key, TShiftState Shift)
{
    const int Row = SelectedRow();
    if (Row < 0) return TWinControl::KeyDown(Key, Shift);
    switch (Key) {
    case vkUp: SetSelectedRow(Row - 1); break;
    case vkDown:
        if (Shift.Contains(ssAlt)) OpenDropDown();
        else SetSelectedRow(Row + 1);
        break;
    case vkPrior: SetSelectedRow(Row - VisibleRows() + 1); break;
    case vkNext: SetSelectedRow(Row + VisibleRows() - 1); break;
    case vkHome: SetSelectedRow(0); break;
    case vkEnd: SetSelectedRow(RowCount() - 1); break;
    case vkRight:
        if (FRows.RowExpandable(Row) && !RowExpanded(Row)) Expand(Row);
        else if (RowExpanded(Row)) SetSelectedRow(Row + 1);
        break;
    case vkLeft:
        // Closes the row, else goes to the row it belongs to.
        if (RowExpanded(Row)) Collapse(Row);
        else if (const int Parent = FRows.ParentRow(Row); Parent >= 0) SetSelectedRow(Parent);
        break;
    case vkReturn:
        if (Shift.Contains(ssCtrl)) EditProperty();
        else if (!BeginEdit(RowValue(Row), true)) return TWinControl::KeyDown(Key, Shift);
        break;
    case vkF2: BeginEdit(RowValue(Row), true); break;
    case vkF10:
    case vkApps: {
        // The row menu from the keyboard, as the context-menu key and Shift+F10 open one.
        if (Key == vkF10 && Shift != TShiftState{ssShift}) return TWinControl::KeyDown(Key, Shift);
        const TRect Name = NameRect(Row);
        OpenRowMenu(Row, Name.Left + 10, Name.Bottom);
        break;
    }
    case 'C':
    case 'V':
        // The row menu's Copy value and Paste value; the keys are the row's either way,
        // so that nothing else copies or pastes while a row has the focus.
        if (Shift != TShiftState{ssCtrl}) return TWinControl::KeyDown(Key, Shift);
        if (Key == 'V') PasteValue();
        else if (CanCopyValue()) CopyValue();
        break;
    default: TWinControl::KeyDown(Key, Shift); return;
    }
    Key = 0;
}

void TPropertyInspector::TextInput(const std::string& Text)
{
    // Typing on a row starts an edit with what was typed.
    if (Printable(Text) && BeginEdit("", false)) InplaceEdit()->TextInput(Text);
}
