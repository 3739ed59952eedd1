#pragma once
// The colour property editor for the web framework's TIWColor properties: the colour's
// name with a swatch, a drop-down list of the toolkit's and the web colour names each
// with its swatch, typed names and integer literals, and the colour dialog, whose
// custom colours every dialog shares while the package is loaded.

#include "dialog/IWKAVMOBILEDsnColorDialog.h"
#include "platform/designide/PropertyDrawing.h"

class QELL_PACKAGE_API TIWKAVMOBILEColorEditor : public TColorProperty,
                                public virtual ICustomPropertyListDrawing,
                                public virtual ICustomPropertyDrawing {
    QELL_CLASS(TIWKAVMOBILEColorEditor, TColorProperty)
    using TColorProperty::TColorProperty;
    static const TPropertyEditorClass& EditorClass();

    // Opens the colour dialog on the current value, with CustomColorsList lent; OK sets
    // the dialog's selection through SetValue, even when unchanged; Cancel writes
    // nothing. The dialog is freed on every path; an error (a current value the dialog
    // cannot show) reaches the caller with nothing written.
    void Edit() override;
    // IWColorToString of the value.
    std::string GetValue() override;
    // The toolkit's colour names, then the web colour names.
    void GetValues(const TGetStrProc& Proc) override;
    // A name IdentToIWColor knows sets its colour; anything else goes to the base class
    // (integer literals), whose errors reach the caller.
    void SetValue(const std::string& Value) override;

    void PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
    // The value cell as a selected list item (swatch and text) whatever ASelected is;
    // without a visual value, the plain cell.
    void PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
    // A square swatch of the colour at the left of ARect (as tall as ARect), framed by a
    // one-pixel border that a light colour gets in black and a dark one, when selected,
    // in white; then the text in the rest. The canvas's pen and brush colours are left
    // as they were.
    void ListDrawValue(const std::string& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;

protected:
    void* GetInterface(const TGUID& IID) override;
};

// The custom colours every dialog borrows: created empty by the unit's initialisation,
// freed (and set back to null) by its finalisation.
extern QELL_PACKAGE_API TStringList* CustomColorsList __asm__("IWKAVMOBILEDsnColor.CustomColorsList");

// The unit's counted initialisation and finalisation, and its class, by unit-qualified
// name.
QELL_DECLARE_UNIT(QELL_PACKAGE_API, IWKAVMOBILEDsnColor);
QELL_PACKAGE_API const TPropertyEditorClass& IWKAVMOBILEDsnColor_TIWKAVMOBILEColorEditor()
    __asm__("IWKAVMOBILEDsnColor.TIWKAVMOBILEColorEditor");
