#include "platform/designide/PropertyDrawing.h"

#include <algorithm>

#include "colour/CssColour.h"
#include "colour/IWColors.h"
#include "platform/colors/Colors.h"
#include "platform/designide/EditorRegistry.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Dialogs.h"

namespace {

void DrawCellText(TCanvas& Canvas, const TRect& Rect, const std::string& Text)
{
    const int Y = Rect.Top + (Rect.Height() - Canvas.TextHeight(Text)) / 2;
    Canvas.TextRect(Rect, Rect.Left + 2, Y, Text);
}

// What a colour editor's refusal ends with: the forms it takes.
constexpr const char* ColourForms =
    ": type a name from the list (clNavy, clBtnFace), #RRGGBB, $00BBGGRR or a number from 0 to 16777215";

} // namespace

void RegisterHostPropertyEditors()
{
    RegisterPropertyEditor(&TypeInfoTColor, nullptr, "", TColorProperty::EditorClass());
    RegisterPropertyEditor(&TypeInfoTIWColor, nullptr, "", TIWColorProperty::EditorClass());
    RegisterPropertyEditor(&TypeInfoString, &TComponent::StaticClassInfo(), "Name",
                           TComponentNameProperty::EditorClass());
}

void DefaultPropertyDrawName(TPropertyEditor* Prop, TCanvas& Canvas, const TRect& Rect)
{
    DrawCellText(Canvas, Rect, Prop->GetName());
}

void DefaultPropertyDrawValue(TPropertyEditor* Prop, TCanvas& Canvas, const TRect& Rect)
{
    DrawCellText(Canvas, Rect, Prop->GetVisualValue());
}

void DefaultPropertyListDrawValue(const std::string& Value, TCanvas& Canvas, const TRect& Rect, bool)
{
    DrawCellText(Canvas, Rect, Value);
}

void PaintPropertyValueCell(TPropertyEditor* Prop, TCanvas& Canvas, const TFont& Font, const TRect& Cell, bool Selected,
                            bool Expandable)
{
    Canvas.Font = Font;
    if (!Prop->GetIsDefault()) Canvas.Font.SetStyle(TFontStyles(Canvas.Font.Style()).Include(fsBold));
    const bool ReadOnly = Prop->GetAttributes().Contains(paReadOnly);
    Canvas.Font.SetColor(ReadOnly && !Expandable ? clGrayText : clWindowText);
    Canvas.Brush.Color = clWindow;
    Canvas.Pen.Color = clWindow;
    Canvas.FillRect(Cell);
    TInterfacePtr<ICustomPropertyDrawing> Drawing;
    if (Supports(Prop, Drawing))
        Drawing->PropDrawValue(Canvas, Cell, Selected);
    else
        DefaultPropertyDrawValue(Prop, Canvas, Cell);
}

QELL_DEFINE_CLASS_INFO(TColorProperty)

QELL_PROPERTY_EDITOR_CLASS(TColorProperty)

void* TColorProperty::GetInterface(const TGUID& IID)
{
    if (IID == ICustomPropertyListDrawing::IID) return static_cast<ICustomPropertyListDrawing*>(this);
    if (IID == ICustomPropertyDrawing::IID) return static_cast<ICustomPropertyDrawing*>(this);
    return TIntegerProperty::GetInterface(IID);
}

void TColorProperty::Edit()
{
    TColorDialog Dialog;
    Dialog.Color = static_cast<TColor>(GetOrdValue());
    if (Dialog.Execute()) SetOrdValue(Dialog.Color);
}

TPropertyAttributes TColorProperty::GetAttributes()
{
    return {paMultiSelect, paDialog, paValueList, paRevertable};
}

std::string TColorProperty::GetValue()
{
    return ColorToString(static_cast<TColor>(GetOrdValue()));
}

void TColorProperty::GetValues(const TGetStrProc& Proc)
{
    GetColorValues(Proc);
}

void TColorProperty::SetValue(const std::string& Value)
{
    if (ForgiveSpaces(Value)) return;
    TColor Color;
    if (!NameToColour(Value, Color) && !CssHexToColour(Value, Color)) {
        if (!TryStrToInt(Value, Color)) throw EConvertError(QuotedInput(Value) + " is not a colour" + ColourForms);
        if (!IsColorValue(Color)) throw EConvertError(QuotedInput(Value) + " names no colour" + ColourForms);
    }
    SetOrdValue(Color);
}

bool TColorProperty::NameToColour(const std::string& Name, TColor& Color)
{
    return IdentToColor(Name, Color);
}

void TColorProperty::ListMeasureWidth(const std::string&, TCanvas& ACanvas, int& AWidth)
{
    AWidth += ACanvas.TextHeight("M") + 4;
}

void TColorProperty::ListMeasureHeight(const std::string&, TCanvas& ACanvas, int& AHeight)
{
    AHeight = std::max(AHeight, ACanvas.TextHeight("M") + 2);
}

void TColorProperty::ListDrawValue(const std::string& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected)
{
    const int Side = ARect.Height();
    const TColor Brush = ACanvas.Brush.Color, Pen = ACanvas.Pen.Color;
    TColor Color = clBlack;
    if (!NameToColour(Value, Color)) {
        int32_t Literal;
        Color = TryStrToInt(Value, Literal) ? Literal : clBlack;
    }
    ACanvas.Pen.Color = Brush;
    ACanvas.Rectangle(ARect.Left, ARect.Top, ARect.Left + Side, ARect.Bottom);
    ACanvas.Brush.Color = Color;
    ACanvas.Pen.Color = ASelected ? clHighlightText : clWindowText;
    ACanvas.Rectangle(ARect.Left + 1, ARect.Top + 1, ARect.Left + Side - 1, ARect.Bottom - 1);
    ACanvas.Brush.Color = Brush;
    ACanvas.Pen.Color = Pen;
    DefaultPropertyListDrawValue(Value, ACanvas, Rect(ARect.Left + Side, ARect.Top, ARect.Right, ARect.Bottom),
                                 ASelected);
}

void TColorProperty::PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool)
{
    DefaultPropertyDrawName(this, ACanvas, ARect);
}

void TColorProperty::PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool ASelected)
{
    const std::string Value = GetVisualValue();
    if (Value.empty())
        DefaultPropertyDrawValue(this, ACanvas, ARect);
    else
        ListDrawValue(Value, ACanvas, ARect, ASelected);
}

QELL_DEFINE_CLASS_INFO(TIWColorProperty)

QELL_PROPERTY_EDITOR_CLASS(TIWColorProperty)

std::string TIWColorProperty::GetValue()
{
    return IWColorToString(static_cast<TColor>(GetOrdValue()));
}

void TIWColorProperty::GetValues(const TGetStrProc& Proc)
{
    TColorProperty::GetValues(Proc);
    GetIWColorValues(Proc);
}

bool TIWColorProperty::NameToColour(const std::string& Name, TColor& Color)
{
    return IdentToIWColor(Name, Color);
}
