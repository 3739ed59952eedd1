#include "platform/designide/InspectorEditController.h"

#include <algorithm>

#include "platform/designide/PropertyInspector.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/Form.h"

namespace {

constexpr int MaxListRows = 12;

} // namespace

// The box claims the keys that finish or leave an edit, before the form could take
// Enter or Escape for its buttons.
class TInspectorEdit : public TEdit {
public:
    TInspectorEdit(TPropertyInspector& View, TInspectorEditController& Controller)
        : TEdit(&View), FView(View), FController(Controller)
    {
    }

    void KeyDown(TKey& Key, TShiftState Shift) override
    {
        const bool Plain = !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
        if (Key == vkReturn) {
            Key = 0;
            FController.Commit();
        } else if (Key == vkEscape) {
            Key = 0;
            FController.Cancel();
        } else if (Key == vkDown && Shift.Contains(ssAlt)) {
            Key = 0;
            FController.OpenList();
        } else if ((Key == vkUp || Key == vkDown) && Plain) {
            const int Step = Key == vkUp ? -1 : 1;
            Key = 0;
            if (FController.Commit()) FView.SetSelectedRow(FView.SelectedRow() + Step);
        } else if (Key == 'Z' && Shift == TShiftState{ssCtrl} && FController.Changed()) {
            // Undo of the typing: the value again, before any undo of the page.
            Key = 0;
            SetText(FController.FEditStart);
            SelectAll();
        } else {
            TEdit::KeyDown(Key, Shift);
        }
    }
    bool DialogKey(TKey Key, TShiftState) override { return Focused() && (Key == vkReturn || Key == vkEscape); }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        // The first click of a double click opened the box; the second is the view's
        // double click on the value.
        if (Button == mbLeft && Shift.Contains(ssDouble) && !FController.Changed()) {
            FView.DoubleClickValue();
            return;
        }
        TEdit::MouseDown(Button, Shift, X, Y);
    }
    void DoExit() override
    {
        TEdit::DoExit();
        // The list keeps the text for its type-ahead.
        const TListBox* List = FController.List();
        if (Visible() && !(List && List->Focused())) FController.Leave();
    }

private:
    TPropertyInspector& FView;
    TInspectorEditController& FController;
};

// The drop-down list: Escape or leaving it closes it.
class TInspectorList : public TPropertyValueList {
public:
    TInspectorList(TPropertyInspector& View, TInspectorEditController& Controller)
        : TPropertyValueList(&View), FController(Controller)
    {
    }

    void KeyDown(TKey& Key, TShiftState Shift) override
    {
        if (Key == vkEscape || (Key == vkUp && Shift.Contains(ssAlt))) {
            Key = 0;
            FController.CloseList();
            return;
        }
        TPropertyValueList::KeyDown(Key, Shift);
    }
    bool DialogKey(TKey Key, TShiftState) override { return Visible() && Key == vkEscape; }
    void DoExit() override
    {
        TPropertyValueList::DoExit();
        if (!Visible()) return;
        FController.CloseList();
        // Text typed before the list opened is set as the user leaves.
        FController.Leave();
    }

private:
    TInspectorEditController& FController;
};

TInspectorEditController::TInspectorEditController(TPropertyInspector& View)
    : FView(View), FEdit(new TInspectorEdit(View, *this))
{
    FEdit->SetParent(&View);
    FEdit->SetVisible(false);
}

TInspectorEditController::~TInspectorEditController()
{
    delete FList;
}

bool TInspectorEditController::Editing() const
{
    return FEdit->Visible();
}

TEdit* TInspectorEditController::Edit() const
{
    return FEdit;
}

void TInspectorEditController::Place()
{
    if (!Editing()) return;
    const TRect V = FView.ValueRect(FView.SelectedRow());
    if (V.IsEmpty()) Cancel();
    else FEdit->SetBounds(V.Left, V.Top, V.Width(), V.Height());
}

bool TInspectorEditController::Begin(const std::string& Text, bool SelectAll)
{
    const int Row = FView.SelectedRow();
    if (Row < 0 || FView.RowEditor(Row)->GetAttributes().Contains(paReadOnly)) return false;
    CloseList();
    FView.ScrollIntoView(Row);
    const TRect V = FView.ValueRect(Row);
    FEditStart = FView.RowValue(Row);
    FEdit->SetBounds(V.Left, V.Top, V.Width(), V.Height());
    FEdit->MaxLength = FView.RowEditor(Row)->GetEditLimit();
    FEdit->SetText(Text);
    FEdit->SetVisible(true);
    FEdit->SetFocus();
    if (SelectAll) FEdit->SelectAll();
    return true;
}

bool TInspectorEditController::Change(const std::function<void()>& Action)
{
    bool Done = false;
    try {
        Action();
        Done = true;
    } catch (const std::exception& E) {
        ShowMessage(E.what());
    }
    FView.Refresh();
    return Done;
}

bool TInspectorEditController::Commit()
{
    const int Row = FView.SelectedRow();
    if (!Editing() || Row < 0) return false;
    const std::string Text = FEdit->Text();
    if (Text == FEditStart) {
        Cancel();
        return true;
    }
    TInterfacePtr<TPropertyEditor> Editor(FView.RowEditor(Row));
    if (Change([&] { Editor->SetValue(Text); })) {
        Cancel();
        return true;
    }
    // The value stays as it was; the box keeps what was typed, to be mended.
    if (Editing()) FEdit->SelectAll();
    return false;
}

bool TInspectorEditController::Changed() const
{
    return Editing() && FEdit->Text() != FEditStart;
}

bool TInspectorEditController::Leave()
{
    if (!Editing() || Commit()) return true;
    if (FEdit->CanFocus()) FEdit->SetFocus();
    return false;
}

void TInspectorEditController::Cancel()
{
    if (!Editing()) return;
    const bool HadFocus = FEdit->Focused();
    FEdit->SetVisible(false);
    if (HadFocus && FView.CanFocus()) FView.SetFocus();
    FView.Invalidate();
}

TListBox* TInspectorEditController::List() const
{
    return FList && FList->Visible() ? FList : nullptr;
}

void TInspectorEditController::OpenList()
{
    TForm* Form = FView.ParentForm();
    const int Row = FView.SelectedRow();
    if (!Form || Row < 0 || !FView.RowEditor(Row)->GetAttributes().Contains(paValueList)) return;
    // What was typed stays in the box, and starts the list's type-ahead.
    const std::string Typed = Changed() ? FEdit->Text() : std::string();
    if (Typed.empty()) Cancel();
    FView.ScrollIntoView(Row);
    if (!FList) {
        FList = new TInspectorList(FView, *this);
        FList->OnChoose = [this](TObject*) { Choose(FList->ItemIndex()); };
    }
    FList->SetParent(Form);
    FList->ShowValues(TInterfacePtr<TPropertyEditor>(FView.RowEditor(Row)), FView.EffectiveFont());

    // Under the whole value cell, its buttons included, right-aligned with it.
    const int ListHeight = FList->HeightNeeded(MaxListRows);
    const TPoint O = FView.SurfaceOrigin();
    const TRect Line = FView.RowRect(Row);
    const TRect Value = Rect(std::min(FView.NameWidth + 1, Line.Right), Line.Top, Line.Right, Line.Bottom);
    const bool Scrolls = MaxListRows < FList->Count();
    const int ListWidth =
        std::min(std::max(Value.Width(), FList->WidthNeeded() + (Scrolls ? TScrollBar::DefaultWidth : 0)),
                 Form->ClientWidth());
    const int Left = std::clamp(O.X + Value.Right - ListWidth, 0, std::max(0, Form->ClientWidth() - ListWidth));
    int Top = O.Y + Value.Bottom + 1;
    if (Top + ListHeight > Form->ClientHeight() && O.Y + Value.Top - ListHeight >= 0) Top = O.Y + Value.Top - ListHeight;
    FList->SetBounds(Left, Top, ListWidth, ListHeight);
    FList->SelectCurrentValue();
    FList->SetVisible(true);
    FList->SetFocus();
    if (!Typed.empty()) FList->TextInput(Typed);
}

void TInspectorEditController::CloseList()
{
    if (!List()) return;
    const bool HadFocus = FList->Focused();
    FList->SetVisible(false);
    FList->ReleaseEditor();
    if (HadFocus && Editing() && FEdit->CanFocus()) FEdit->SetFocus();
    else if (HadFocus && FView.CanFocus()) FView.SetFocus();
    FView.Invalidate();
}

void TInspectorEditController::Choose(int Index)
{
    if (!List() || Index < 0 || Index >= FList->Count()) return;
    const std::string Value = FList->Items(Index);
    TInterfacePtr<TPropertyEditor> Editor(FList->Editor());
    CloseList();
    // The chosen value replaces whatever was typed.
    Cancel();
    Change([&] { Editor->SetValue(Value); });
}
