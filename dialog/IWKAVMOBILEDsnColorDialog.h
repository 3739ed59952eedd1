#pragma once
// The modal colour dialog: a web colour grid, a system colour grid, and a custom page
// with a hue/saturation field, a brightness bar, six numeric fields and a grid of
// custom colours. Its result is the selected colour identifier.

#include <cstdint>
#include <memory>
#include <string>

#include "colour/ColourModel.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Units.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PaintBox.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/TrackBar.h"

struct TFormBindings;

// The package's classes are offered to other packages: their methods and type
// information are exported.
#define QELL_PACKAGE_API __attribute__((visibility("default")))

class QELL_PACKAGE_API TIWKAVMOBILEColorForm : public TForm {
    QELL_CLASS(TIWKAVMOBILEColorForm, TForm)
    // Controls, bound by name from the form resource.
    TStatusBar* StatusBar1 = nullptr;
    TLabel* LabelSelection = nullptr;
    TPaintBox* PaintBoxSelection = nullptr;
    TLabel* LabelIdent = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheetWeb = nullptr;
    TTabSheet* TabSheetSys = nullptr;
    TDrawGrid* WebColorsGrid = nullptr;
    TDrawGrid* SysColorsGrid = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TPaintBox* PaintBoxColor = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* EditHue = nullptr;
    TEdit* EditSat = nullptr;
    TEdit* EditBright = nullptr;
    TTrackBar* TrackBright = nullptr;
    TDrawGrid* GridCustomColors = nullptr;
    TButton* ButtonAdd = nullptr;
    TPaintBox* PaintBoxPickedColor = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* LabelR = nullptr;
    TLabel* LabelG = nullptr;
    TLabel* LabelB = nullptr;
    TEdit* editRed = nullptr;
    TEdit* editGreen = nullptr;
    TEdit* editBlue = nullptr;

    // Builds the form from its resource, owned by AOwner, and lends it the custom
    // colours list (null: the form keeps a list of its own). A lent list is never freed
    // by the form, and is padded to one entry per custom grid cell. Its class can make
    // one from the owner alone (a host that knows the form only by its class).
    explicit TIWKAVMOBILEColorForm(TComponent* AOwner, TStringList* CustomProperties = nullptr);
    ~TIWKAVMOBILEColorForm() override;

    // The selection, the dialog's result; published, so that a host reaches it by name.
    // Setting it shows the identifier and its swatch; an integer literal also loads the
    // colour into the picker and shows the Custom Colors page. A text that is neither a
    // known name nor an integer literal raises EConvertError after the identifier and
    // its label have changed.
    const std::string& SelectedIdentifier() const { return FSelectedIdentifier; }
    void SetSelectedIdentifier(const std::string& Value);

    // Value setters: store the level and write its control under the guard, so the
    // control's change handler does nothing. They neither validate nor clamp.
    void SetHue(int32_t Value);
    void SetSat(int32_t Value);
    void SetBright(int32_t Value);
    void SetRed(int32_t Value);
    void SetGreen(int32_t Value);
    void SetBlue(int32_t Value);
    void SetPickedColor(TColor Value);
    // Brings the other colour space into line: from the levels (FromRGB false) or from
    // red, green and blue (true). Does not move the field's cross.
    void CalcPickedColor(bool FromRGB);
    void SystemColorsCallback(const std::string& S);

    // The colour model's conversions, as methods of the form.
    TColor HSBtoRGB(Extended H, Extended S, Extended B) const;
    void RGBToHSB(int32_t R, int32_t G, int32_t B, Extended& H, Extended& S, Extended& V) const;

    // The colour field's mappings between pixels and levels.
    int32_t HueToX(int32_t Hue) const { return Hue + 1; }
    int32_t SatToY(int32_t Sat) const { return SatRange - Sat; }
    int32_t XToHue(int32_t X) const { return X - 1; }
    int32_t YToSat(int32_t Y) const { return SatRange - Y; }
    // Moves the field's cross to the current hue and saturation, erasing the old one by
    // inverting it again.
    void DrawMarker();

    // Event handlers, bound by name from the form resource.
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void PaintBoxSelectionPaint(TObject* Sender);
    void PaintBoxColorPaint(TObject* Sender);
    void PaintBoxColorMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PaintBoxColorMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void TrackBrightChange(TObject* Sender);
    void EditHueChange(TObject* Sender);
    void EditSatChange(TObject* Sender);
    void EditBrightChange(TObject* Sender);
    void editRedChange(TObject* Sender);
    void editGreenChange(TObject* Sender);
    void editBlueChange(TObject* Sender);
    void PaintBoxPickedColorPaint(TObject* Sender);
    void ButtonAddClick(TObject* Sender);
    void WebColorsGridDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    void WebColorsGridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void WebColorsGridMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void SysColorsGridDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    void SysColorsGridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void SysColorsGridMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void GridCustomColorsDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    void GridCustomColorsSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);

    // The state, read-only, for callers and tests.
    int32_t Hue() const { return FHue; }
    int32_t Sat() const { return FSat; }
    int32_t Bright() const { return FBright; }
    int32_t Red() const { return FRed; }
    int32_t Green() const { return FGreen; }
    int32_t Blue() const { return FBlue; }
    TColor PickedColor() const { return FPickedColor; }
    TColor SelectedColor() const { return FSelectedColor; }
    int32_t MarkerX() const { return FX; }
    int32_t MarkerY() const { return FY; }
    bool IsMarkerEnabled() const { return FIsMarkerEnabled; }
    bool IsInternalUICommand() const { return FIsInternalUICommand; }
    const TStringList* SysColors() const { return FSysColors.get(); }
    TStringList* CustomColors() const { return FCustomColors; }

private:
    TFormBindings Bindings();
    // Stores a level and writes its field under the guard.
    void SetLevel(int32_t& Level, TEdit* Field, int32_t Value);
    // One numeric field's change: accept a level in 0..Bound-1, snap back otherwise,
    // leave an empty field alone.
    void NumericFieldChange(TEdit* Field, int32_t Bound, int32_t TIWKAVMOBILEColorForm::*Level,
                            void (TIWKAVMOBILEColorForm::*Setter)(int32_t), bool FromRGB, bool MoveMarker);
    void DrawCross(int X, int Y);

    int32_t FBlue = 0, FRed = 0, FGreen = 0;
    bool FIsInternalUICommand = false;
    std::unique_ptr<TStringList> FSysColors;
    TStringList* FCustomColors = nullptr;
    std::string FSelectedIdentifier;
    TColor FSelectedColor = 0;
    int32_t FHue = 0, FSat = 0, FBright = 0;
    TColor FPickedColor = 0;
    int32_t FX = -1, FY = -1;
    bool FIsMarkerEnabled = false;
    // The list made when none was lent.
    std::unique_ptr<TStringList> FOwnCustomColors;
};

// The unit's form variable, for other packages; the package itself never reads or
// writes it.
extern QELL_PACKAGE_API TIWKAVMOBILEColorForm* IWColorForm __asm__("IWKAVMOBILEDsnColorDialog.IWColorForm");

// The unit's counted procedures (they only count) and its class, by unit-qualified name.
QELL_DECLARE_UNIT(QELL_PACKAGE_API, IWKAVMOBILEDsnColorDialog);
QELL_PACKAGE_API const TClassInfo& IWKAVMOBILEDsnColorDialog_TIWKAVMOBILEColorForm()
    __asm__("IWKAVMOBILEDsnColorDialog.TIWKAVMOBILEColorForm");
