#pragma once
// Owner drawing of property rows and value lists. An editor that implements
// ICustomPropertyDrawing draws its row's name and value cells itself, and one that
// implements ICustomPropertyListDrawing measures and draws the items of its drop-down
// list; the inspector asks for the interfaces (Supports) and otherwise draws the
// defaults below. The host's colour editors implement both: a swatch beside the name.

#include <string>

#include "platform/designide/PropertyEditors.h"
#include "platform/graphics/Canvas.h"

class QELL_DESIGNIDE_API ICustomPropertyDrawing : public virtual IInterface {
public:
    static constexpr TGUID IID{0xE1A7C3D0, 0x5B2A, 0x4D11, {0x9E, 0x20, 0x41, 0x0C, 0x7F, 0x63, 0x2B, 0x01}};
    // The name cell and the value cell of the row, in ARect of ACanvas, whose brush and
    // font the inspector has set for the row (and filled the cell with); ASelected: the
    // row is the selected one.
    virtual void PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool ASelected) = 0;
    virtual void PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool ASelected) = 0;
};

class QELL_DESIGNIDE_API ICustomPropertyListDrawing : public virtual IInterface {
public:
    static constexpr TGUID IID{0xE1A7C3D0, 0x5B2A, 0x4D11, {0x9E, 0x20, 0x41, 0x0C, 0x7F, 0x63, 0x2B, 0x02}};
    // The width (in: the text's width) and height (in: the list's item height) of the
    // list item Value.
    virtual void ListMeasureWidth(const std::string& Value, TCanvas& ACanvas, int& AWidth) = 0;
    virtual void ListMeasureHeight(const std::string& Value, TCanvas& ACanvas, int& AHeight) = 0;
    // The list item Value (or the value cell) in ARect, on a background the list has
    // prepared in the brush colour. ARect is not changed.
    virtual void ListDrawValue(const std::string& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected) = 0;
};

// The plain drawings: the name, or the visual value, or an item's text, left in the
// rectangle, vertically centred, in the canvas's font, clipped to the rectangle.
QELL_DESIGNIDE_API void DefaultPropertyDrawName(TPropertyEditor* Prop, TCanvas& Canvas, const TRect& Rect);
QELL_DESIGNIDE_API void DefaultPropertyDrawValue(TPropertyEditor* Prop, TCanvas& Canvas, const TRect& Rect);
QELL_DESIGNIDE_API void DefaultPropertyListDrawValue(const std::string& Value, TCanvas& Canvas, const TRect& Rect,
                                                     bool Selected);

// A row's value cell as the inspector paints it, in Cell of Canvas: filled with the
// window colour, then the value in Font, grey when the property is read-only and the row
// does not expand, bold when the value differs from its default (GetIsDefault false, so
// that a page's changes stand out), drawn by the editor when it implements
// ICustomPropertyDrawing, else by DefaultPropertyDrawValue. Selected: the row is the
// selected one.
QELL_DESIGNIDE_API void PaintPropertyValueCell(TPropertyEditor* Prop, TCanvas& Canvas, const TFont& Font,
                                               const TRect& Cell, bool Selected, bool Expandable);

// The host's editor for the toolkit's TColor: its identifiers as a value list with
// swatches, a typed identifier or integer literal, and the toolkit's colour dialog.
class QELL_DESIGNIDE_API TColorProperty : public TIntegerProperty,
                                          public virtual ICustomPropertyListDrawing,
                                          public virtual ICustomPropertyDrawing {
    QELL_CLASS(TColorProperty, TIntegerProperty)
    using TIntegerProperty::TIntegerProperty;
    static const TPropertyEditorClass& EditorClass();

    // The toolkit's colour dialog; OK writes its colour.
    void Edit() override;
    // A value list and a dialog.
    TPropertyAttributes GetAttributes() override;
    // The identifier, else "$" and 8 hexadecimal digits.
    std::string GetValue() override;
    // The toolkit's colour identifiers (GetColorValues).
    void GetValues(const TGetStrProc& Proc) override;
    // White space around the text is ignored. Then a name (NameToColour), CSS hex
    // "#RRGGBB" or "#RGB" in red-green-blue order ("#FF6347" is $004763FF), or an integer
    // literal in the runtime's syntax ($00BBGGRR, decimal) of a value that names a colour
    // (IsColorValue). Anything else raises EConvertError, having written nothing: "'TEXT'
    // is not a colour: type a name from the list (clNavy, clBtnFace), #RRGGBB, $00BBGGRR
    // or a number from 0 to 16777215", or for a number that names no colour ($80000000)
    // "'TEXT' names no colour: " and the same forms.
    void SetValue(const std::string& Value) override;

    // The text's width plus a square swatch as tall as an item.
    void ListMeasureWidth(const std::string& Value, TCanvas& ACanvas, int& AWidth) override;
    // At least as tall as a line of text.
    void ListMeasureHeight(const std::string& Value, TCanvas& ACanvas, int& AHeight) override;
    // A swatch of the colour, framed, then the text.
    void ListDrawValue(const std::string& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
    void PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
    // The value cell as a list item: swatch and text; without a visual value, plain.
    void PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;

protected:
    void* GetInterface(const TGUID& IID) override;
    // The colour a name of the list stands for, compared without case; false for any
    // other text. Base: the toolkit's identifiers (IdentToColor).
    virtual bool NameToColour(const std::string& Name, TColor& Color);
};

// The host's editor for the web framework's TIWColor, for a property no package claims:
// the text a page file holds (IWColorToString), the toolkit's names then the web
// colours' in the list, each with its swatch, and the web names taken besides what the
// toolkit's colour editor takes.
class QELL_DESIGNIDE_API TIWColorProperty : public TColorProperty {
    QELL_CLASS(TIWColorProperty, TColorProperty)
    using TColorProperty::TColorProperty;
    static const TPropertyEditorClass& EditorClass();

    std::string GetValue() override;
    void GetValues(const TGetStrProc& Proc) override;

protected:
    // A web colour name or a toolkit identifier (IdentToIWColor).
    bool NameToColour(const std::string& Name, TColor& Color) override;
};
