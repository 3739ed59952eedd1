#include "tests/toolkit/SampleForm.h"

#include "platform/rtl/Publish.h"

extern const std::string_view SampleFormResource;

QELL_DEFINE_CLASS_INFO(TSampleForm)

TSampleForm::TSampleForm(TComponent* AOwner) : TForm(AOwner)
{
    ReadComponentRes(*this, SampleFormResource, Bindings());
    AfterConstruction();
}

TSampleForm::~TSampleForm() { BeforeDestruction(); }

TFormBindings TSampleForm::Bindings()
{
    using Self = TSampleForm;
    TFormBindings B;
    B.Fields = {{"LabelName", FieldSlot(LabelName)},       {"EditName", FieldSlot(EditName)},
                {"PageControl1", FieldSlot(PageControl1)}, {"TabSheetDrawing", FieldSlot(TabSheetDrawing)},
                {"PaintBox1", FieldSlot(PaintBox1)},       {"TrackBar1", FieldSlot(TrackBar1)},
                {"TabSheetGrid", FieldSlot(TabSheetGrid)}, {"DrawGrid1", FieldSlot(DrawGrid1)},
                {"ButtonCount", FieldSlot(ButtonCount)},   {"LabelCount", FieldSlot(LabelCount)},
                {"ButtonOK", FieldSlot(ButtonOK)},         {"ButtonCancel", FieldSlot(ButtonCancel)},
                {"StatusBar1", FieldSlot(StatusBar1)}};
    B.Handlers = {
        {"FormCreate", Handler(this, &Self::FormCreate)},
        {"EditNameChange", Handler(this, &Self::EditNameChange)},
        {"PageControl1Change", Handler(this, &Self::PageControl1Change)},
        {"PaintBox1Paint", Handler(this, &Self::PaintBox1Paint)},
        {"PaintBox1MouseDown", Handler(this, &Self::PaintBox1MouseDown)},
        {"TrackBar1Change", Handler(this, &Self::TrackBar1Change)},
        {"DrawGrid1DrawCell", Handler(this, &Self::DrawGrid1DrawCell)},
        {"DrawGrid1SelectCell", Handler(this, &Self::DrawGrid1SelectCell)},
        {"ButtonCountClick", Handler(this, &Self::ButtonCountClick)}};
    return B;
}

TColor TSampleForm::CellColor(int ACol, int ARow)
{
    // Red grows to the right, blue downwards: every cell differs from its neighbours.
    return static_cast<TColor>((ACol * 60) | ((128) << 8) | ((ARow * 80) << 16));
}

std::string TSampleForm::Report() const
{
    std::string R;
    R += "name: " + EditName->Text() + "\n";
    R += "cell: " + std::to_string(DrawGrid1->Col()) + "," + std::to_string(DrawGrid1->Row()) + "\n";
    R += "position: " + std::to_string(TrackBar1->Position()) + "\n";
    R += "page: " + std::to_string(PageControl1->ActivePageIndex()) + "\n";
    R += "mark: " + std::to_string(FMark.X) + "," + std::to_string(FMark.Y) + "\n";
    R += "clicks: " + std::to_string(FClicks) + "\n";
    return R;
}

void TSampleForm::FormCreate(TObject*) { StatusBar1->SetSimpleText("Ready"); }

void TSampleForm::EditNameChange(TObject*) { StatusBar1->SetSimpleText("Name: " + EditName->Text()); }

void TSampleForm::PageControl1Change(TObject*)
{
    StatusBar1->SetSimpleText("Page: " + PageControl1->ActivePage()->Caption());
}

void TSampleForm::PaintBox1Paint(TObject*)
{
    TCanvas& C = PaintBox1->Canvas();
    const int W = PaintBox1->Width(), H = PaintBox1->Height();
    C.Brush.Color = clWhite;
    C.FillRect(Rect(0, 0, W, H));
    // A bar as tall as the track bar's share of its range, in the grid's colours.
    const int Range = TrackBar1->Max() - TrackBar1->Min();
    const int Level = Range > 0 ? (TrackBar1->Position() - TrackBar1->Min()) * H / Range : 0;
    C.Brush.Color = CellColor(4, 3);
    C.FillRect(Rect(0, H - Level, W / 4, H));
    C.Pen.Color = clNavy;
    C.Pen.Mode = pmCopy;
    C.Brush.Color = clYellow;
    C.Rectangle(W / 4 + 8, 8, W - 8, H / 2);
    if (FMark.X >= 0) {
        C.Pen.Color = clRed;
        C.MoveTo(FMark.X - 5, FMark.Y);
        C.LineTo(FMark.X + 6, FMark.Y);
        C.MoveTo(FMark.X, FMark.Y - 5);
        C.LineTo(FMark.X, FMark.Y + 6);
    }
}

void TSampleForm::PaintBox1MouseDown(TObject*, TMouseButton, TShiftState, int X, int Y)
{
    FMark = {X, Y};
    StatusBar1->SetSimpleText("Mark: " + std::to_string(X) + "," + std::to_string(Y));
    PaintBox1->Invalidate();
}

void TSampleForm::TrackBar1Change(TObject*)
{
    StatusBar1->SetSimpleText("Position: " + std::to_string(TrackBar1->Position()));
    PaintBox1->Invalidate();
}

void TSampleForm::DrawGrid1DrawCell(TObject*, int ACol, int ARow, const TRect& Rect, TGridDrawState State)
{
    TCanvas& C = DrawGrid1->Canvas();
    C.Brush.Color = CellColor(ACol, ARow);
    C.FillRect(Rect);
    if (State.Contains(gdSelected)) {
        C.Pen.Color = clBlack;
        C.Pen.Mode = pmCopy;
        C.Brush.Color = CellColor(ACol, ARow);
        C.Rectangle(Rect);
    }
}

void TSampleForm::DrawGrid1SelectCell(TObject*, int ACol, int ARow, bool& CanSelect)
{
    CanSelect = true;
    StatusBar1->SetSimpleText("Cell: " + std::to_string(ACol) + "," + std::to_string(ARow));
}

void TSampleForm::ButtonCountClick(TObject*)
{
    ++FClicks;
    LabelCount->SetCaption("Clicks: " + std::to_string(FClicks));
}
