#include "dialog/IWKAVMOBILEDsnColorDialog.h"

#include <string_view>

#include "colour/IWColors.h"
#include "platform/rtl/SysUtils.h"
#include "platform/toolkit/ClassRegistry.h"
#include "platform/toolkit/FormReader.h"

extern const std::string_view ResourceTIWKAVMOBILECOLORFORM;

namespace {

// Sets the form's guard for the lifetime of a setter and restores the previous value,
// also when a step raises.
class TInternalUICommand {
public:
    explicit TInternalUICommand(bool& Flag) : FFlag(Flag), FSaved(Flag) { FFlag = true; }
    ~TInternalUICommand() { FFlag = FSaved; }
    TInternalUICommand(const TInternalUICommand&) = delete;
    TInternalUICommand& operator=(const TInternalUICommand&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};

} // namespace

TIWKAVMOBILEColorForm::TIWKAVMOBILEColorForm(TComponent* AOwner, TStringList* CustomProperties)
    : TForm(AOwner), FCustomColors(CustomProperties)
{
    RegisterFormClass("TIWKAVMOBILEColorForm");
    ReadComponentRes(*this, ResourceTIWKAVMOBILECOLORFORM, Bindings());
    FX = -1;
    FY = -1;
    FIsMarkerEnabled = false;
    AfterConstruction();
}

TIWKAVMOBILEColorForm::~TIWKAVMOBILEColorForm()
{
    BeforeDestruction();
}

TFormBindings TIWKAVMOBILEColorForm::Bindings()
{
    using Self = TIWKAVMOBILEColorForm;
    TFormBindings B;
    B.Fields = {
        {"StatusBar1", FieldSlot(StatusBar1)},       {"LabelSelection", FieldSlot(LabelSelection)},
        {"PaintBoxSelection", FieldSlot(PaintBoxSelection)}, {"LabelIdent", FieldSlot(LabelIdent)},
        {"PageControl1", FieldSlot(PageControl1)},   {"TabSheetWeb", FieldSlot(TabSheetWeb)},
        {"TabSheetSys", FieldSlot(TabSheetSys)},     {"WebColorsGrid", FieldSlot(WebColorsGrid)},
        {"SysColorsGrid", FieldSlot(SysColorsGrid)}, {"Button1", FieldSlot(Button1)},
        {"Button2", FieldSlot(Button2)},             {"TabSheet1", FieldSlot(TabSheet1)},
        {"PaintBoxColor", FieldSlot(PaintBoxColor)}, {"Label1", FieldSlot(Label1)},
        {"Label2", FieldSlot(Label2)},               {"Label3", FieldSlot(Label3)},
        {"EditHue", FieldSlot(EditHue)},             {"EditSat", FieldSlot(EditSat)},
        {"EditBright", FieldSlot(EditBright)},       {"TrackBright", FieldSlot(TrackBright)},
        {"GridCustomColors", FieldSlot(GridCustomColors)}, {"ButtonAdd", FieldSlot(ButtonAdd)},
        {"PaintBoxPickedColor", FieldSlot(PaintBoxPickedColor)}, {"Label4", FieldSlot(Label4)},
        {"LabelR", FieldSlot(LabelR)},               {"LabelG", FieldSlot(LabelG)},
        {"LabelB", FieldSlot(LabelB)},               {"editRed", FieldSlot(editRed)},
        {"editGreen", FieldSlot(editGreen)},         {"editBlue", FieldSlot(editBlue)},
    };
    auto Notify = [this](void (Self::*M)(TObject*)) -> THandler {
        return TNotifyEvent([this, M](TObject* S) { (this->*M)(S); });
    };
    auto MouseMove = [this](void (Self::*M)(TObject*, TShiftState, int, int)) -> THandler {
        return TMouseMoveEvent([this, M](TObject* S, TShiftState Sh, int X, int Y) { (this->*M)(S, Sh, X, Y); });
    };
    auto DrawCell = [this](void (Self::*M)(TObject*, int, int, const TRect&, TGridDrawState)) -> THandler {
        return TDrawCellEvent(
            [this, M](TObject* S, int C, int R, const TRect& Rc, TGridDrawState St) { (this->*M)(S, C, R, Rc, St); });
    };
    auto SelectCell = [this](void (Self::*M)(TObject*, int, int, bool&)) -> THandler {
        return TSelectCellEvent([this, M](TObject* S, int C, int R, bool& Can) { (this->*M)(S, C, R, Can); });
    };
    B.Handlers = {
        {"FormCreate", Notify(&Self::FormCreate)},
        {"FormDestroy", Notify(&Self::FormDestroy)},
        {"FormMouseMove", MouseMove(&Self::FormMouseMove)},
        {"PaintBoxSelectionPaint", Notify(&Self::PaintBoxSelectionPaint)},
        {"PaintBoxColorPaint", Notify(&Self::PaintBoxColorPaint)},
        {"PaintBoxColorMouseDown",
         TMouseEvent([this](TObject* S, TMouseButton Bt, TShiftState Sh, int X, int Y) {
             PaintBoxColorMouseDown(S, Bt, Sh, X, Y);
         })},
        {"PaintBoxColorMouseMove", MouseMove(&Self::PaintBoxColorMouseMove)},
        {"TrackBrightChange", Notify(&Self::TrackBrightChange)},
        {"EditHueChange", Notify(&Self::EditHueChange)},
        {"EditSatChange", Notify(&Self::EditSatChange)},
        {"EditBrightChange", Notify(&Self::EditBrightChange)},
        {"editRedChange", Notify(&Self::editRedChange)},
        {"editGreenChange", Notify(&Self::editGreenChange)},
        {"editBlueChange", Notify(&Self::editBlueChange)},
        {"PaintBoxPickedColorPaint", Notify(&Self::PaintBoxPickedColorPaint)},
        {"ButtonAddClick", Notify(&Self::ButtonAddClick)},
        {"WebColorsGridDrawCell", DrawCell(&Self::WebColorsGridDrawCell)},
        {"WebColorsGridSelectCell", SelectCell(&Self::WebColorsGridSelectCell)},
        {"WebColorsGridMouseMove", MouseMove(&Self::WebColorsGridMouseMove)},
        {"SysColorsGridDrawCell", DrawCell(&Self::SysColorsGridDrawCell)},
        {"SysColorsGridSelectCell", SelectCell(&Self::SysColorsGridSelectCell)},
        {"SysColorsGridMouseMove", MouseMove(&Self::SysColorsGridMouseMove)},
        {"GridCustomColorsDrawCell", DrawCell(&Self::GridCustomColorsDrawCell)},
        {"GridCustomColorsSelectCell", SelectCell(&Self::GridCustomColorsSelectCell)},
    };
    return B;
}

void TIWKAVMOBILEColorForm::FormCreate(TObject*)
{
    PaintBoxColor->SetWidth(HueRange + 2);
    PaintBoxColor->SetHeight(SatRange + 2);
    TrackBright->SetMin(0);
    TrackBright->SetMax(BrightRange - 1);
    TrackBright->Frequency = 10;
    SetHue(0);
    SetSat(0);
    SetBright(BrightRange / 2 + BrightRange / 4);
    CalcPickedColor(false);
    FSysColors = std::make_unique<TStringList>();
    if (!FCustomColors) {
        FOwnCustomColors = std::make_unique<TStringList>();
        FCustomColors = FOwnCustomColors.get();
    }
    const int Cells = GridCustomColors->ColCount() * GridCustomColors->RowCount();
    while (FCustomColors->Count() < Cells) FCustomColors->Add("");
    GetColorValues([this](const std::string& S) { SystemColorsCallback(S); });
}

void TIWKAVMOBILEColorForm::FormDestroy(TObject*)
{
    FSysColors.reset();
}

void TIWKAVMOBILEColorForm::FormMouseMove(TObject*, TShiftState, int, int)
{
    StatusBar1->SetSimpleText("");
}

void TIWKAVMOBILEColorForm::SystemColorsCallback(const std::string& S)
{
    FSysColors->Add(S);
}

void TIWKAVMOBILEColorForm::SetLevel(int32_t& Level, TEdit* Field, int32_t Value)
{
    TInternalUICommand Guard(FIsInternalUICommand);
    Level = Value;
    Field->SetText(IntToStr(Value));
}

void TIWKAVMOBILEColorForm::SetHue(int32_t Value)
{
    SetLevel(FHue, EditHue, Value);
}

void TIWKAVMOBILEColorForm::SetSat(int32_t Value)
{
    SetLevel(FSat, EditSat, Value);
}

void TIWKAVMOBILEColorForm::SetBright(int32_t Value)
{
    TInternalUICommand Guard(FIsInternalUICommand);
    FBright = Value;
    TrackBright->SetPosition(Value);
    EditBright->SetText(IntToStr(Value));
}

void TIWKAVMOBILEColorForm::SetRed(int32_t Value)
{
    SetLevel(FRed, editRed, Value);
}

void TIWKAVMOBILEColorForm::SetGreen(int32_t Value)
{
    SetLevel(FGreen, editGreen, Value);
}

void TIWKAVMOBILEColorForm::SetBlue(int32_t Value)
{
    SetLevel(FBlue, editBlue, Value);
}

void TIWKAVMOBILEColorForm::SetPickedColor(TColor Value)
{
    FPickedColor = Value;
    PaintBoxPickedColor->Repaint();
}

void TIWKAVMOBILEColorForm::CalcPickedColor(bool FromRGB)
{
    if (!FromRGB) {
        SetPickedColor(LevelsToColor(FHue, FSat, FBright));
        SetRed(RedOf(FPickedColor));
        SetGreen(GreenOf(FPickedColor));
        SetBlue(BlueOf(FPickedColor));
    } else {
        const TLevels Levels = ColorToLevels(FRed, FGreen, FBlue);
        SetHue(Levels.Hue);
        SetSat(Levels.Sat);
        SetBright(Levels.Bright);
        SetPickedColor(RGBColor(FRed, FGreen, FBlue));
    }
}

void TIWKAVMOBILEColorForm::SetSelectedIdentifier(const std::string& Value)
{
    FSelectedIdentifier = Value;
    LabelIdent->SetCaption("Identifier: " + FSelectedIdentifier);
    // Resolved into a local first, so that a text which fails leaves the swatch's colour
    // as it was.
    TColor Color = 0;
    if (IdentToIWColor(FSelectedIdentifier, Color)) {
        FSelectedColor = Color;
    } else {
        FSelectedColor = StrToInt(FSelectedIdentifier);
        if (PageControl1->ActivePageIndex() != 2) PageControl1->SetActivePageIndex(2);
        SetRed(RedOf(FSelectedColor));
        SetGreen(GreenOf(FSelectedColor));
        SetBlue(BlueOf(FSelectedColor));
        SetPickedColor(FSelectedColor);
        CalcPickedColor(true);
    }
    PaintBoxSelection->Repaint();
}

void TIWKAVMOBILEColorForm::PaintBoxSelectionPaint(TObject*)
{
    if (FSelectedIdentifier.empty()) return;
    TCanvas& C = PaintBoxSelection->Canvas();
    C.Brush.Color = FSelectedColor;
    C.FillRect(Rect(0, 0, PaintBoxSelection->Width() - 1, PaintBoxSelection->Height() - 1));
}

TColor TIWKAVMOBILEColorForm::HSBtoRGB(Extended H, Extended S, Extended B) const
{
    return ::HSBtoRGB(H, S, B);
}

void TIWKAVMOBILEColorForm::RGBToHSB(int32_t R, int32_t G, int32_t B, Extended& H, Extended& S, Extended& V) const
{
    ::RGBToHSB(R, G, B, H, S, V);
}
