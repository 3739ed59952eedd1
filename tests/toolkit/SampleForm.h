#pragma once
// A form with one of each toolkit control, read from sample_form.txt, with handlers
// that make every kind of input visible: the status bar names the last change.

#include <string>

#include "platform/toolkit/Button.h"
#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/resources/FormReader.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PaintBox.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/TrackBar.h"

class TSampleForm : public TForm {
    QELL_CLASS(TSampleForm, TForm)
    explicit TSampleForm(TComponent* AOwner);
    ~TSampleForm() override;

    TLabel* LabelName = nullptr;
    TEdit* EditName = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheetDrawing = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TTabSheet* TabSheetGrid = nullptr;
    TDrawGrid* DrawGrid1 = nullptr;
    TButton* ButtonCount = nullptr;
    TLabel* LabelCount = nullptr;
    TButton* ButtonOK = nullptr;
    TButton* ButtonCancel = nullptr;
    TStatusBar* StatusBar1 = nullptr;

    int Clicks() const { return FClicks; }
    // The last point pressed in the paint box, or (-1, -1).
    TPoint Mark() const { return FMark; }
    // The colour the paint box and the grid give cell (ACol, ARow).
    static TColor CellColor(int ACol, int ARow);
    // What the user did, one "key: value" line each.
    std::string Report() const;

private:
    TFormBindings Bindings();
    void FormCreate(TObject* Sender);
    void EditNameChange(TObject* Sender);
    void PageControl1Change(TObject* Sender);
    void PaintBox1Paint(TObject* Sender);
    void PaintBox1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void TrackBar1Change(TObject* Sender);
    void DrawGrid1DrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    void DrawGrid1SelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void ButtonCountClick(TObject* Sender);

    int FClicks = 0;
    TPoint FMark{-1, -1};
};
