#include "dialog/IWKAVMOBILEDsnColorDialog.h"

#include <string_view>

#include "colour/IWColors.h"
#include "platform/rtl/Guard.h"
#include "platform/rtl/PackageResources.h"
#include "platform/rtl/Publish.h"
#include "platform/rtl/SysUtils.h"
#include "platform/toolkit/resources/FormReader.h"


QELL_DEFINE_CLASS_INFO(TIWKAVMOBILEColorForm, [](TPublisher<TIWKAVMOBILEColorForm>& P) {
    P.String("SelectedIdentifier", &TIWKAVMOBILEColorForm::SelectedIdentifier,
             &TIWKAVMOBILEColorForm::SetSelectedIdentifier, "")
        .Describe("The identifier of the colour the dialog shows selected.");
}, true)

TIWKAVMOBILEColorForm* IWColorForm = nullptr;

QELL_DEFINE_UNIT(IWKAVMOBILEDsnColorDialog, [] {}, [] {})

const TClassInfo& IWKAVMOBILEDsnColorDialog_TIWKAVMOBILEColorForm()
{
    return TIWKAVMOBILEColorForm::StaticClassInfo();
}

TIWKAVMOBILEColorForm::TIWKAVMOBILEColorForm(TComponent* AOwner, TStringList* CustomProperties)
    : TForm(AOwner), FCustomColors(CustomProperties)
{
    // The form's layout is a resource of the module this code is in.
    const std::optional<TBytes> Resource = FindModuleResource("TIWKAVMOBILECOLORFORM");
    if (!Resource) throw EReadError("the module holds no form resource TIWKAVMOBILECOLORFORM");
    ReadComponentRes(*this, std::string_view(reinterpret_cast<const char*>(Resource->data()), Resource->size()),
                     Bindings());
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
    B.Handlers = {
        {"FormCreate", Handler(this, &Self::FormCreate)},
        {"FormDestroy", Handler(this, &Self::FormDestroy)},
        {"FormMouseMove", Handler(this, &Self::FormMouseMove)},
        {"PaintBoxSelectionPaint", Handler(this, &Self::PaintBoxSelectionPaint)},
        {"PaintBoxColorPaint", Handler(this, &Self::PaintBoxColorPaint)},
        {"PaintBoxColorMouseDown", Handler(this, &Self::PaintBoxColorMouseDown)},
        {"PaintBoxColorMouseMove", Handler(this, &Self::PaintBoxColorMouseMove)},
        {"TrackBrightChange", Handler(this, &Self::TrackBrightChange)},
        {"EditHueChange", Handler(this, &Self::EditHueChange)},
        {"EditSatChange", Handler(this, &Self::EditSatChange)},
        {"EditBrightChange", Handler(this, &Self::EditBrightChange)},
        {"editRedChange", Handler(this, &Self::editRedChange)},
        {"editGreenChange", Handler(this, &Self::editGreenChange)},
        {"editBlueChange", Handler(this, &Self::editBlueChange)},
        {"PaintBoxPickedColorPaint", Handler(this, &Self::PaintBoxPickedColorPaint)},
        {"ButtonAddClick", Handler(this, &Self::ButtonAddClick)},
        {"WebColorsGridDrawCell", Handler(this, &Self::WebColorsGridDrawCell)},
        {"WebColorsGridSelectCell", Handler(this, &Self::WebColorsGridSelectCell)},
        {"WebColorsGridMouseMove", Handler(this, &Self::WebColorsGridMouseMove)},
        {"SysColorsGridDrawCell", Handler(this, &Self::SysColorsGridDrawCell)},
        {"SysColorsGridSelectCell", Handler(this, &Self::SysColorsGridSelectCell)},
        {"SysColorsGridMouseMove", Handler(this, &Self::SysColorsGridMouseMove)},
        {"GridCustomColorsDrawCell", Handler(this, &Self::GridCustomColorsDrawCell)},
        {"GridCustomColorsSelectCell", Handler(this, &Self::GridCustomColorsSelectCell)},
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
    TRestoreOnExit<bool> Guard(FIsInternalUICommand, true);
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
    TRestoreOnExit<bool> Guard(FIsInternalUICommand, true);
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
