#include "editor/IWKAVMOBILEDsnColor.h"

#include <memory>

#include "colour/IWColors.h"
#include "platform/rtl/Guard.h"
#include "platform/rtl/Modules.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Application.h"

TStringList* CustomColorsList = nullptr;

namespace {

// A light colour (any component above 192) is framed in black, a dark one in white when
// selected and in itself, that is unframed, when not.
TColor BorderColor(TColor Color, bool Selected)
{
    const TColor Plain = ColorToRGB(Color);
    const int Red = Plain & 0xFF, Green = (Plain >> 8) & 0xFF, Blue = (Plain >> 16) & 0xFF;
    if (Red > 192 || Green > 192 || Blue > 192) return clBlack;
    return Selected ? clWhite : Color;
}

} // namespace

QELL_DEFINE_CLASS_INFO(TIWKAVMOBILEColorEditor)

QELL_PROPERTY_EDITOR_CLASS(TIWKAVMOBILEColorEditor)

void* TIWKAVMOBILEColorEditor::GetInterface(const TGUID& IID)
{
    // Declared by this class itself, so that the drawing calls reach its own operations.
    if (IID == ICustomPropertyListDrawing::IID) return static_cast<ICustomPropertyListDrawing*>(this);
    if (IID == ICustomPropertyDrawing::IID) return static_cast<ICustomPropertyDrawing*>(this);
    return TColorProperty::GetInterface(IID);
}

void TIWKAVMOBILEColorEditor::Edit()
{
    const std::unique_ptr<TIWKAVMOBILEColorForm> Form(new TIWKAVMOBILEColorForm(Application, CustomColorsList));
    Form->SetSelectedIdentifier(GetValue());
    if (Form->ShowModal() == mrOk) SetValue(Form->SelectedIdentifier());
}

std::string TIWKAVMOBILEColorEditor::GetValue()
{
    return IWColorToString(static_cast<TColor>(GetOrdValue()));
}

void TIWKAVMOBILEColorEditor::GetValues(const TGetStrProc& Proc)
{
    TColorProperty::GetValues(Proc);
    GetIWColorValues(Proc);
}

void TIWKAVMOBILEColorEditor::SetValue(const std::string& Value)
{
    TColor Color;
    if (IdentToIWColor(Value, Color))
        SetOrdValue(Color);
    else
        TColorProperty::SetValue(Value);
}

void TIWKAVMOBILEColorEditor::PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool ASelected)
{
    TColorProperty::PropDrawName(ACanvas, ARect, ASelected);
}

void TIWKAVMOBILEColorEditor::PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool)
{
    const std::string Value = GetVisualValue();
    if (!Value.empty())
        ListDrawValue(Value, ACanvas, ARect, true);
    else
        DefaultPropertyDrawValue(this, ACanvas, ARect);
}

void TIWKAVMOBILEColorEditor::ListDrawValue(const std::string& Value, TCanvas& ACanvas, const TRect& ARect,
                                            bool ASelected)
{
    const int Right = ARect.Left + (ARect.Bottom - ARect.Top);
    {
        // Text that is no colour raises from the middle: the caller's pen and brush
        // come back on that way out too.
        const TRestoreOnExit<TColor> Pen(ACanvas.Pen.Color, ACanvas.Brush.Color);
        const TRestoreOnExit<TColor> Brush(ACanvas.Brush.Color, ACanvas.Brush.Color);
        ACanvas.Rectangle(ARect.Left, ARect.Top, Right, ARect.Bottom);
        ACanvas.Brush.Color = StringToIWColor(Value);
        ACanvas.Pen.Color = BorderColor(ACanvas.Brush.Color, ASelected);
        ACanvas.Rectangle(ARect.Left + 1, ARect.Top + 1, Right - 1, ARect.Bottom - 1);
    }
    DefaultPropertyListDrawValue(Value, ACanvas, Rect(Right, ARect.Top, ARect.Right, ARect.Bottom), ASelected);
}

QELL_DEFINE_UNIT(
    IWKAVMOBILEDsnColor, [] { CustomColorsList = new TStringList; },
    [] {
        delete CustomColorsList;
        CustomColorsList = nullptr;
    })

const TPropertyEditorClass& IWKAVMOBILEDsnColor_TIWKAVMOBILEColorEditor()
{
    return TIWKAVMOBILEColorEditor::EditorClass();
}
