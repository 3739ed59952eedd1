// The custom page's picker: the hue/saturation field with its cross, the brightness
// bar, the six numeric fields, the preview and the Add button.

#include "dialog/IWKAVMOBILEDsnColorDialog.h"

#include "platform/rtl/SysUtils.h"

void TIWKAVMOBILEColorForm::PaintBoxColorPaint(TObject*)
{
    TCanvas& C = PaintBoxColor->Canvas();
    const int W = PaintBoxColor->Width();
    const int H = PaintBoxColor->Height();
    C.Pen.Color = clWhite;
    C.MoveTo(0, 0);
    C.LineTo(W - 1, 0);
    C.LineTo(W - 1, H - 1);
    C.LineTo(0, H - 1);
    C.LineTo(0, 0);
    // Top row first; the field's brightness is fixed, so brightness changes never
    // repaint it.
    const Extended Brightness = 0.75L;
    for (int32_t S = SatRange - 1; S >= 0; --S) {
        const Extended Sat = static_cast<Extended>(S) / SatRange;
        for (int32_t Hue = 0; Hue < HueRange; ++Hue)
            C.SetPixels(Hue + 1, SatRange - S, HSBtoRGB(static_cast<Extended>(Hue) / HueRange, Sat, Brightness));
    }
    // The paint has overwritten any cross.
    FIsMarkerEnabled = true;
    FX = -1;
    FY = -1;
    DrawMarker();
}

void TIWKAVMOBILEColorForm::DrawCross(int X, int Y)
{
    TCanvas& C = PaintBoxColor->Canvas();
    C.MoveTo(X, Y - 10);
    C.LineTo(X, Y + 10);
    C.MoveTo(X - 10, Y);
    C.LineTo(X + 10, Y);
}

void TIWKAVMOBILEColorForm::DrawMarker()
{
    if (!FIsMarkerEnabled) return;
    TCanvas& C = PaintBoxColor->Canvas();
    const TPenMode SavedMode = C.Pen.Mode;
    C.Pen.Mode = pmNot;
    C.Pen.Color = clBlack;
    if (FX != -1) DrawCross(FX, FY); // inverting again erases the old cross
    FX = HueToX(FHue);
    FY = SatToY(FSat);
    DrawCross(FX, FY);
    C.Pen.Mode = SavedMode;
}

void TIWKAVMOBILEColorForm::PaintBoxColorMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) PaintBoxColorMouseMove(Sender, Shift, X, Y);
}

void TIWKAVMOBILEColorForm::PaintBoxColorMouseMove(TObject*, TShiftState Shift, int X, int Y)
{
    if (!Shift.Contains(ssLeft)) return;
    if (X < 1 || X > PaintBoxColor->Width() - 2 || Y < 1 || Y > PaintBoxColor->Height() - 2) return;
    SetHue(XToHue(X));
    SetSat(YToSat(Y));
    DrawMarker();
    CalcPickedColor(false);
}

void TIWKAVMOBILEColorForm::TrackBrightChange(TObject*)
{
    if (FIsInternalUICommand) return;
    SetBright(TrackBright->Position());
    CalcPickedColor(false);
}

void TIWKAVMOBILEColorForm::NumericFieldChange(TEdit* FieldEdit, int32_t Bound, int32_t TIWKAVMOBILEColorForm::*Level,
                                               void (TIWKAVMOBILEColorForm::*Setter)(int32_t), bool FromRGB,
                                               bool MoveMarker)
{
    if (FIsInternalUICommand) return;
    bool Ok = false;
    int32_t Value = 0;
    try {
        Value = StrToInt(FieldEdit->Text());
        Ok = Value >= 0 && Value < Bound;
    } catch (const EConvertError&) {
        // A text that is no number snaps back below, like one out of range.
    }
    // An empty field stays empty, so that the user can clear it and type anew.
    if (FieldEdit->Text().empty()) return;
    if (Ok) {
        (this->*Setter)(Value);
        CalcPickedColor(FromRGB);
        if (MoveMarker) DrawMarker();
    } else {
        (this->*Setter)(this->*Level);
    }
}

void TIWKAVMOBILEColorForm::EditHueChange(TObject*)
{
    NumericFieldChange(EditHue, HueRange, &TIWKAVMOBILEColorForm::FHue, &TIWKAVMOBILEColorForm::SetHue, false, true);
}

void TIWKAVMOBILEColorForm::EditSatChange(TObject*)
{
    NumericFieldChange(EditSat, SatRange, &TIWKAVMOBILEColorForm::FSat, &TIWKAVMOBILEColorForm::SetSat, false, true);
}

void TIWKAVMOBILEColorForm::EditBrightChange(TObject*)
{
    NumericFieldChange(EditBright, BrightRange, &TIWKAVMOBILEColorForm::FBright, &TIWKAVMOBILEColorForm::SetBright,
                       false, false);
}

void TIWKAVMOBILEColorForm::editRedChange(TObject*)
{
    NumericFieldChange(editRed, RedRange, &TIWKAVMOBILEColorForm::FRed, &TIWKAVMOBILEColorForm::SetRed, true, true);
}

void TIWKAVMOBILEColorForm::editGreenChange(TObject*)
{
    NumericFieldChange(editGreen, GreenRange, &TIWKAVMOBILEColorForm::FGreen, &TIWKAVMOBILEColorForm::SetGreen, true,
                       true);
}

void TIWKAVMOBILEColorForm::editBlueChange(TObject*)
{
    NumericFieldChange(editBlue, BlueRange, &TIWKAVMOBILEColorForm::FBlue, &TIWKAVMOBILEColorForm::SetBlue, true,
                       true);
}

void TIWKAVMOBILEColorForm::PaintBoxPickedColorPaint(TObject*)
{
    TCanvas& C = PaintBoxPickedColor->Canvas();
    C.Brush.Color = FPickedColor;
    C.FillRect(Rect(0, 0, PaintBoxPickedColor->Width() - 1, PaintBoxPickedColor->Height() - 1));
}

void TIWKAVMOBILEColorForm::ButtonAddClick(TObject*)
{
    const int Index = GridCustomColors->Row() * GridCustomColors->ColCount() + GridCustomColors->Col();
    FCustomColors->Put(Index, "$" + IntToHex(FPickedColor, 8));
    GridCustomColors->Repaint();
}
