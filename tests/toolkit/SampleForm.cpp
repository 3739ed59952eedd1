#include "tests/toolkit/SampleForm.h"

#include "platform/toolkit/ClassRegistry.h"

extern const std::string_view SampleFormResource;


TSampleForm::TSampleForm(TComponent* AOwner) : TForm(AOwner)
{
    RegisterFormClass("TSampleForm");
    ReadComponentRes(*this, SampleFormResource, Bindings());
    AfterConstruction();
}

TSampleForm::~TSampleForm() { BeforeDestruction(); }

TFormBindings TSampleForm::Bindings()
{
    using namespace std::placeholders;
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
        {"FormCreate", TNotifyEvent(std::bind(&Self::FormCreate, this, _1))},
        {"EditNameChange", TNotifyEvent(std::bind(&Self::EditNameChange, this, _1))},
        {"PageControl1Change", TNotifyEvent(std::bind(&Self::PageControl1Change, this, _1))},
        {"PaintBox1Paint", TNotifyEvent(std::bind(&Self::PaintBox1Paint, this, _1))},
        {"PaintBox1MouseDown", TMouseEvent(std::bind(&Self::PaintBox1MouseDown, this, _1, _2, _3, _4, _5))},
        {"TrackBar1Change", TNotifyEvent(std::bind(&Self::TrackBar1Change, this, _1))},
        {"DrawGrid1DrawCell", TDrawCellEvent(std::bind(&Self::DrawGrid1DrawCell, this, _1, _2, _3, _4, _5))},
        {"DrawGrid1SelectCell", TSelectCellEvent(std::bind(&Self::DrawGrid1SelectCell, this, _1, _2, _3, _4))},
        {"ButtonCountClick", TNotifyEvent(std::bind(&Self::ButtonCountClick, this, _1))}};
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
