#include "platform/designide/PropertyInspector.h"

#include <algorithm>

#include "platform/rtl/Publish.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/Form.h"

namespace {

constexpr int MaxListRows = 12;

void Publish(TPublisher<TPropertyInspector>& P)
{
    P.Redeclare("Width").OrdDefault = TPropertyInspector::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TPropertyInspector::DefaultHeight;
    P.Redeclare("TabStop").OrdDefault = true;
    P.Redeclare("Color").OrdDefault = clWindow;
    P.Redeclare("ParentColor").OrdDefault = false;
    P.Field("NameWidth", TypeInfoInteger, &TPropertyInspector::NameWidth, TPropertyInspector::DefaultNameWidth)
        .Range(20, 4000).Describe("The width of the names' column, in pixels.");
}

} // namespace

// The in-place edit claims the keys that finish or leave an edit, before the form
// could take Enter or Escape for its buttons. Typed text is never dropped: leaving
// the field by any route sets it first.
class TInspectorEdit : public TEdit {
public:
    TInspectorEdit(TPropertyInspector* Owner) : TEdit(Owner), FInspector(*Owner) {}

    void KeyDown(TKey& Key, TShiftState Shift) override
    {
        const bool Plain = !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
        if (Key == vkReturn) {
            Key = 0;
            FInspector.CommitEdit();
        } else if (Key == vkEscape) {
            Key = 0;
            FInspector.CancelEdit();
        } else if (Key == vkDown && Shift.Contains(ssAlt)) {
            Key = 0;
            FInspector.OpenDropDown();
        } else if ((Key == vkUp || Key == vkDown) && Plain) {
            const int Step = Key == vkUp ? -1 : 1;
            Key = 0;
            if (FInspector.CommitEdit()) FInspector.SetSelectedRow(FInspector.SelectedRow() + Step);
        } else if (Key == 'Z' && Shift == TShiftState{ssCtrl} && FInspector.EditChanged()) {
            // Undo of the typing: the value again, before any undo of the page.
            Key = 0;
            SetText(FInspector.FEditStart);
            SelectAll();
        } else {
            TEdit::KeyDown(Key, Shift);
        }
    }
    bool DialogKey(TKey Key, TShiftState) override { return Focused() && (Key == vkReturn || Key == vkEscape); }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        // The first click of a double click opened the field; the second is the
        // inspector's double click on the value.
        if (Button == mbLeft && Shift.Contains(ssDouble) && !FInspector.EditChanged()) {
            FInspector.DoubleClickValue();
            return;
        }
        TEdit::MouseDown(Button, Shift, X, Y);
    }
    void DoExit() override
    {
        TEdit::DoExit();
        // The inspector's own list keeps the text for its type-ahead.
        const TListBox* List = FInspector.DropDownList();
        if (Visible() && !(List && List->Focused())) FInspector.LeaveEdit();
    }

private:
    TPropertyInspector& FInspector;
};

// The drop-down list: Escape or leaving it closes it.
class TInspectorList : public TPropertyValueList {
public:
    TInspectorList(TPropertyInspector* Owner) : TPropertyValueList(Owner), FInspector(*Owner) {}

    void KeyDown(TKey& Key, TShiftState Shift) override
    {
        if (Key == vkEscape || (Key == vkUp && Shift.Contains(ssAlt))) {
            Key = 0;
            FInspector.CloseDropDown();
            return;
        }
        TPropertyValueList::KeyDown(Key, Shift);
    }
    bool DialogKey(TKey Key, TShiftState) override { return Visible() && Key == vkEscape; }
    void DoExit() override
    {
        TPropertyValueList::DoExit();
        if (!Visible()) return;
        FInspector.CloseDropDown();
        // Text typed before the list opened is set as the user leaves.
        FInspector.LeaveEdit();
    }

private:
    TPropertyInspector& FInspector;
};

QELL_DEFINE_CLASS_INFO(TPropertyInspector, Publish, true)

TPropertyInspector::TPropertyInspector(TComponent* AOwner)
    : TWinControl(AOwner), FScrollBar(new TScrollBar(this)), FEdit(new TInspectorEdit(this))
{
    TabStop = true;
    SetColor(clWindow);
    FScrollBar->SetParent(this);
    FScrollBar->SetVisible(false);
    FScrollBar->OnChange = [this](TObject*) { SetTopRow(FScrollBar->Position()); };
    FEdit->SetParent(this);
    FEdit->SetVisible(false);
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

TPropertyInspector::~TPropertyInspector()
{
    // The list, the hint and the menu sit on the form, not on the inspector: they go with it.
    delete FList;
    FList = nullptr;
    delete FHint;
    FHint = nullptr;
    delete FMenu;
    FMenu = nullptr;
}

void TPropertyInspector::SetSelection(std::vector<TPersistent*> Objects)
{
    HideHint();
    CloseDropDown();
    if (FMenu) FMenu->CloseUp();
    CancelEdit();
    FSelection = std::move(Objects);
    FRows.clear();
    FSelected = -1;
    FTopRow = 0;
    Rebuild("");
}

void TPropertyInspector::Refresh()
{
    Rebuild(FSelected >= 0 ? FRows[static_cast<size_t>(FSelected)].Path : std::string());
}

int TPropertyInspector::InnerRight() const
{
    return Width() - Border - (FScrollBar->Visible() ? FScrollBar->Width() : 0);
}

int TPropertyInspector::VisibleRows() const
{
    return std::max(1, (Height() - 2 * Border) / RowHeight);
}

void TPropertyInspector::SetNameWidth(int V)
{
    V = std::max(MinColumnWidth, std::min(V, InnerRight() - MinColumnWidth));
    if (V == NameWidth) return;
    NameWidth = V;
    HideHint();
    Layout();
    Invalidate();
}

void TPropertyInspector::Layout()
{
    const bool Overflows = RowCount() > VisibleRows();
    FScrollBar->SetBounds(Width() - Border - TScrollBar::DefaultWidth, Border, TScrollBar::DefaultWidth,
                          std::max(0, Height() - 2 * Border));
    FScrollBar->SetVisible(Overflows);
    FScrollBar->SetParams(0, std::max(RowCount() - 1, 0), VisibleRows());
    FTopRow = std::clamp(FTopRow, 0, std::max(0, RowCount() - VisibleRows()));
    FScrollBar->SetPosition(FTopRow);
    if (Editing()) {
        const TRect V = ValueRect(FSelected);
        if (V.IsEmpty()) CancelEdit();
        else FEdit->SetBounds(V.Left, V.Top, V.Width(), V.Height());
    }
}

void TPropertyInspector::Resized()
{
    TWinControl::Resized();
    Layout();
}

TPropertyEditor* TPropertyInspector::RowEditor(int Row) const
{
    return FRows.at(static_cast<size_t>(Row)).Editor.Get();
}

const std::string& TPropertyInspector::RowPath(int Row) const
{
    return FRows.at(static_cast<size_t>(Row)).Path;
}

std::string TPropertyInspector::RowName(int Row) const
{
    return RowEditor(Row)->GetName();
}

std::string TPropertyInspector::RowValue(int Row) const
{
    return RowEditor(Row)->GetVisualValue();
}

int TPropertyInspector::RowLevel(int Row) const
{
    return FRows.at(static_cast<size_t>(Row)).Level;
}

bool TPropertyInspector::RowExpanded(int Row) const
{
    return FRows.at(static_cast<size_t>(Row)).Expanded;
}

int TPropertyInspector::FindRow(std::string_view Path) const
{
    for (int I = 0; I < RowCount(); ++I)
        if (SameText(FRows[static_cast<size_t>(I)].Path, Path)) return I;
    return -1;
}

void TPropertyInspector::SetSelectedRow(int Row)
{
    Row = std::clamp(Row, FRows.empty() ? -1 : 0, RowCount() - 1);
    CloseDropDown();
    if (Row != FSelected) {
        CancelEdit();
        FSelected = Row;
        if (Row >= 0) RowEditor(Row)->Activate();
        Invalidate();
        if (OnSelectRow) OnSelectRow(this);
    }
    ScrollIntoView(Row);
}

bool TPropertyInspector::SelectPath(std::string_view Path)
{
    // Expand each row that leads there, then select the row itself.
    for (size_t Dot = 0; Dot != std::string_view::npos;) {
        Dot = Path.find_first_of(".[", Dot + 1);
        const int Row = FindRow(Path.substr(0, Dot));
        if (Row < 0) return false;
        if (Dot == std::string_view::npos) {
            SetSelectedRow(Row);
            return true;
        }
        if (!FRows[static_cast<size_t>(Row)].Expanded) Expand(Row);
    }
    return false;
}

void TPropertyInspector::Expand(int Row)
{
    const TRow& R = FRows.at(static_cast<size_t>(Row));
    if (!R.Expandable || R.Expanded) return;
    FExpanded.insert(R.Path);
    Refresh();
}

void TPropertyInspector::Collapse(int Row)
{
    const TRow& R = FRows.at(static_cast<size_t>(Row));
    if (!R.Expanded) return;
    FExpanded.erase(R.Path);
    // The selection may sit inside what closes: it moves to the row that closes.
    const std::string Keep = FSelected >= 0 && RowPath(FSelected).size() > R.Path.size() &&
                                     SameText(std::string_view(RowPath(FSelected)).substr(0, R.Path.size()), R.Path)
                                 ? R.Path
                                 : (FSelected >= 0 ? RowPath(FSelected) : std::string());
    Rebuild(Keep);
}

void TPropertyInspector::SetTopRow(int Row)
{
    Row = std::clamp(Row, 0, std::max(0, RowCount() - VisibleRows()));
    if (Row == FTopRow) return;
    FTopRow = Row;
    FScrollBar->SetPosition(Row);
    CloseDropDown();
    Layout();
    Invalidate();
}

void TPropertyInspector::ScrollIntoView(int Row)
{
    if (Row < 0) return;
    if (Row < FTopRow) SetTopRow(Row);
    else if (Row >= FTopRow + VisibleRows()) SetTopRow(Row - VisibleRows() + 1);
}

TRect TPropertyInspector::RowRect(int Row) const
{
    if (Row < FTopRow || Row >= RowCount() || Row >= FTopRow + VisibleRows()) return {};
    const int Top = Border + (Row - FTopRow) * RowHeight;
    return Rect(Border, Top, InnerRight(), Top + RowHeight - 1); // a grid line below
}

TRect TPropertyInspector::NameRect(int Row) const
{
    const TRect R = RowRect(Row);
    if (R.IsEmpty()) return {};
    return Rect(R.Left, R.Top, std::min(NameWidth, R.Right), R.Bottom);
}

TRect TPropertyInspector::ValueRect(int Row) const
{
    const TRect R = RowRect(Row);
    if (R.IsEmpty()) return {};
    int Right = R.Right;
    if (Row == FSelected) {
        const TPropertyAttributes A = RowEditor(Row)->GetAttributes();
        Right -= (A.Contains(paValueList) ? RowHeight : 0) + (A.Contains(paDialog) ? RowHeight : 0);
    }
    return Rect(std::min(NameWidth + 1, R.Right), R.Top, std::max(Right, NameWidth + 1), R.Bottom);
}

TRect TPropertyInspector::DropDownButtonRect() const
{
    const TRect R = RowRect(FSelected);
    if (R.IsEmpty() || !RowEditor(FSelected)->GetAttributes().Contains(paValueList)) return {};
    return Rect(R.Right - RowHeight, R.Top, R.Right, R.Bottom);
}

TRect TPropertyInspector::EllipsisButtonRect() const
{
    const TRect R = RowRect(FSelected);
    if (R.IsEmpty()) return {};
    const TPropertyAttributes A = RowEditor(FSelected)->GetAttributes();
    if (!A.Contains(paDialog)) return {};
    const int Right = R.Right - (A.Contains(paValueList) ? RowHeight : 0);
    return Rect(Right - RowHeight, R.Top, Right, R.Bottom);
}

bool TPropertyInspector::Editing() const
{
    return FEdit->Visible();
}

TEdit* TPropertyInspector::InplaceEdit() const
{
    return FEdit;
}

bool TPropertyInspector::BeginEdit(const std::string& Text, bool SelectAll)
{
    if (FSelected < 0 || RowEditor(FSelected)->GetAttributes().Contains(paReadOnly)) return false;
    CloseDropDown();
    ScrollIntoView(FSelected);
    const TRect V = ValueRect(FSelected);
    FEditStart = RowEditor(FSelected)->GetVisualValue();
    FEdit->SetBounds(V.Left, V.Top, V.Width(), V.Height());
    FEdit->MaxLength = RowEditor(FSelected)->GetEditLimit();
    FEdit->SetText(Text);
    FEdit->SetVisible(true);
    FEdit->SetFocus();
    if (SelectAll) FEdit->SelectAll();
    return true;
}

bool TPropertyInspector::Change(const std::function<void()>& Action)
{
    bool Done = false;
    try {
        Action();
        Done = true;
    } catch (const std::exception& E) {
        ShowMessage(E.what());
    }
    Refresh();
    return Done;
}

bool TPropertyInspector::CommitEdit()
{
    if (!Editing() || FSelected < 0) return false;
    const std::string Text = FEdit->Text();
    if (Text == FEditStart) {
        CancelEdit();
        return true;
    }
    TInterfacePtr<TPropertyEditor> Editor(RowEditor(FSelected));
    if (Change([&] { Editor->SetValue(Text); })) {
        CancelEdit();
        return true;
    }
    // The value stays as it was; the edit keeps what was typed, to be mended.
    if (Editing()) FEdit->SelectAll();
    return false;
}

bool TPropertyInspector::EditChanged() const
{
    return Editing() && FEdit->Text() != FEditStart;
}

bool TPropertyInspector::LeaveEdit()
{
    if (!Editing() || CommitEdit()) return true;
    if (FEdit->CanFocus()) FEdit->SetFocus();
    return false;
}

void TPropertyInspector::CancelEdit()
{
    if (!Editing()) return;
    const bool HadFocus = FEdit->Focused();
    FEdit->SetVisible(false);
    if (HadFocus && CanFocus()) SetFocus();
    Invalidate();
}

TListBox* TPropertyInspector::DropDownList() const
{
    return FList && FList->Visible() ? FList : nullptr;
}

void TPropertyInspector::OpenDropDown()
{
    TForm* Form = ParentForm();
    if (!Form || FSelected < 0 || !RowEditor(FSelected)->GetAttributes().Contains(paValueList)) return;
    // What was typed stays in the field, and starts the list's type-ahead.
    const std::string Typed = EditChanged() ? FEdit->Text() : std::string();
    if (Typed.empty()) CancelEdit();
    ScrollIntoView(FSelected);
    if (!FList) {
        FList = new TInspectorList(this);
        FList->OnChoose = [this](TObject*) { ChooseFromList(FList->ItemIndex()); };
    }
    FList->SetParent(Form);
    FList->ShowValues(TInterfacePtr<TPropertyEditor>(RowEditor(FSelected)), EffectiveFont());

    const int ListHeight = FList->HeightNeeded(MaxListRows);
    const TPoint O = SurfaceOrigin();
    const TRect Row = RowRect(FSelected);
    const TRect Value = Rect(std::min(NameWidth + 1, Row.Right), Row.Top, Row.Right, Row.Bottom);
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

void TPropertyInspector::CloseDropDown()
{
    if (!DropDownList()) return;
    const bool HadFocus = FList->Focused();
    FList->SetVisible(false);
    FList->ReleaseEditor();
    if (HadFocus && Editing() && FEdit->CanFocus()) FEdit->SetFocus();
    else if (HadFocus && CanFocus()) SetFocus();
    Invalidate();
}

void TPropertyInspector::ChooseFromList(int Index)
{
    if (!DropDownList() || Index < 0 || Index >= FList->Count()) return;
    const std::string Value = FList->Items(Index);
    TInterfacePtr<TPropertyEditor> Editor(FList->Editor());
    CloseDropDown();
    // The chosen value replaces whatever was typed.
    CancelEdit();
    Change([&] { Editor->SetValue(Value); });
}

void TPropertyInspector::EditProperty()
{
    if (FSelected < 0 || !RowEditor(FSelected)->GetAttributes().Contains(paDialog)) return;
    CloseDropDown();
    CancelEdit();
    TInterfacePtr<TPropertyEditor> Editor(RowEditor(FSelected));
    Change([&] { Editor->Edit(); });
}
