#pragma once
// The property inspector: rows of name | value for the properties of the selected
// objects, drawn and changed through their property editors. Sub-objects expand into
// rows of their own (a +/- box, Right and Left). The selected row's value can be typed
// into an in-place edit (Enter sets it, Escape restores it; an error is shown in a
// message box and changes nothing), chosen from a drop-down list of the editor's values
// (drawn by the editor when it draws its own items), or set by the editor's dialog (the
// "…" button, or a double click on the value).
//
// A filter narrows the rows to the names that contain it; the rows can be sorted by
// name. A value that differs from its default is drawn in bold; a name or value cut off
// by its column shows whole in a hint. A right click on a row selects it and opens a
// menu: reset to default, copy and paste the value (Ctrl+C and Ctrl+V on the row too),
// copy the path, the sort order, expand and collapse all.
//
// Three parts: the rows (TInspectorRows, InspectorRows.h), the in-place editing
// (TInspectorEditController, InspectorEditController.h), and this control, the view,
// which paints them and routes input to them. The members below that only read the
// rows or the editing forward to those parts.
//
// Scripts address it by name: "inspect NAME PATH" selects the row at PATH
// (Appearance.BackgroundColor, Slots[0].TextColor); "dropdown NAME" and "ellipsis NAME"
// click the selected row's buttons; "choose NAME TEXT" clicks an item of the open list;
// "rclick NAME X Y" opens the menu and 'menu "Copy value"' clicks its item.
//
// Used from the GUI thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/designide/InspectorEditController.h"
#include "platform/designide/InspectorRows.h"
#include "platform/designide/PropertyDrawing.h"
#include "platform/designide/PropertyEditors.h"
#include "platform/toolkit/HintWindow.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/ScrollBar.h"

// The script verbs above; the unit PropertyInspector registers them when the library
// loads.
void RegisterInspectorScriptVerbs();

class QELL_DESIGNIDE_API TPropertyInspector : public TWinControl {
    QELL_CLASS(TPropertyInspector, TWinControl)
    static constexpr int DefaultWidth = 260, DefaultHeight = 400, DefaultNameWidth = 120, RowHeight = 18, Border = 2;
    // A row's value cell in an inspector of the default widths without a scroll bar:
    // from the name column's end and a grid line to the border; a row less its grid line.
    static constexpr int DefaultValueWidth = DefaultWidth - Border - (DefaultNameWidth + 1),
                         ValueHeight = RowHeight - 1;
    explicit TPropertyInspector(TComponent* AOwner);
    ~TPropertyInspector() override;

    // Told of every edit; set before the selection.
    IDesigner* Designer = nullptr;
    // The selected row, or what it shows, may have changed (another row, the rows built
    // again after an edit, another selection).
    TNotifyEvent OnSelectRow;
    // Told what an action of the row menu did, in words for a status line ("Reset
    // Appearance.TextColor", "Copied the path Caption"), once it is done.
    std::function<void(const std::string& Action)> OnAction;
    // The path of the selected objects in the owner's terms ("ButtonOrder",
    // "SpinnerFilling.Slots[0]"), which Copy path puts before the row's path so that
    // the result names the property on the page. Unset, or answering empty (several
    // objects, say): the row's path alone.
    std::function<std::string()> PathPrefix;
    // Items the owner adds to the menu of a row (Row, the selected one), after the
    // inspector's own and a separator; none answered, none added. Asked each time the
    // menu opens on a row.
    std::function<std::vector<TMenuItem>(int Row)> OnRowMenu;
    // Where the name column ends; the user drags the line between the columns to move
    // it (SetNameWidth), and it stays there while the inspector lives.
    int NameWidth = DefaultNameWidth;
    static constexpr int MinColumnWidth = 40;
    // Moves the line between the columns, keeping both at least MinColumnWidth wide.
    void SetNameWidth(int V);
    // The hint showing a name or value its column cuts off; nullptr when none is
    // showing.
    const THintWindow* CellHint() const;

    // The parts. The rows are read-only from outside: changes go through the members
    // below, so that the screen, the list and the typed text follow.
    const TInspectorRows& Rows() const { return FRows; }
    TInspectorEditController& EditController() const { return *FEditing; }

    // Shows the properties of Objects (none: no rows), dropping the editors of the
    // previous selection. The row of the same path stays selected, and in view, when
    // the new selection has it; else the first row is, at the top. Typed text is
    // dropped: leave the edit first (LeaveEdit). The objects must outlive the
    // selection.
    void SetSelection(std::vector<TPersistent*> Objects);
    const std::vector<TPersistent*>& Selection() const { return FRows.Objects(); }
    // Builds the rows again from the objects as they are now, keeping what is expanded
    // and the selected row where they still exist.
    void Refresh();
    // The filter, the order, and expanding all or none, as TInspectorRows does them.
    // Each first closes the list and sets text being typed into a value; when the
    // editor refuses it, nothing changes (Filter() tells).
    void SetFilter(std::string_view Filter);
    void SetSortOrder(TSortOrder Order);
    void ExpandAll();
    void CollapseAll();
    void Expand(int Row) { FRows.Expand(Row); }
    void Collapse(int Row) { FRows.Collapse(Row); }

    // Reading the rows (TInspectorRows).
    const std::string& Filter() const { return FRows.Filter(); }
    int FirstMatchingRow() const { return FRows.FirstMatchingRow(); }
    TSortOrder SortOrder() const { return FRows.SortOrder(); }
    int RowCount() const { return FRows.RowCount(); }
    TPropertyEditor* RowEditor(int Row) const { return FRows.RowEditor(Row); }
    const std::string& RowPath(int Row) const { return FRows.RowPath(Row); }
    std::string RowName(int Row) const { return FRows.RowName(Row); }
    std::string RowValue(int Row) const { return FRows.RowValue(Row); }
    int RowLevel(int Row) const { return FRows.RowLevel(Row); }
    bool RowExpanded(int Row) const { return FRows.RowExpanded(Row); }
    int FindRow(std::string_view Path) const { return FRows.FindRow(Path); }
    int SelectedRow() const { return FRows.SelectedRow(); }

    // Selects the row (closing a list, leaving an edit) and scrolls it into view.
    void SetSelectedRow(int Row);
    // Selects the row at Path, expanding the rows above it; false when there is none.
    bool SelectPath(std::string_view Path);
    int TopRow() const { return FTopRow; }
    void SetTopRow(int Row);
    void ScrollIntoView(int Row);

    // Geometry of a row on screen (empty when out of view), and the selected row's
    // buttons (empty when the row has none).
    TRect RowRect(int Row) const;
    TRect NameRect(int Row) const;
    TRect ValueRect(int Row) const;
    TRect DropDownButtonRect() const;
    TRect EllipsisButtonRect() const;

    // Typing and the value list (TInspectorEditController).
    bool Editing() const { return FEditing->Editing(); }
    TEdit* InplaceEdit() const { return FEditing->Edit(); }
    bool BeginEdit(const std::string& Text, bool SelectAll) { return FEditing->Begin(Text, SelectAll); }
    bool CommitEdit() { return FEditing->Commit(); }
    void CancelEdit() { FEditing->Cancel(); }
    bool EditChanged() const { return FEditing->Changed(); }
    bool LeaveEdit() { return FEditing->Leave(); }
    TListBox* DropDownList() const { return FEditing->List(); }
    void OpenDropDown() { FEditing->OpenList(); }
    void CloseDropDown() { FEditing->CloseList(); }
    // The selected row's dialog (Edit), then the rows again.
    void EditProperty();

    // The selected row's value back to its default, through the editor's Revert: one
    // change for the designer. Nothing when it already holds it or cannot go back
    // (CanResetToDefault); an error is shown in a message box.
    void ResetToDefault();
    bool CanResetToDefault() const;
    // The selected row's shown value onto the application's clipboard (Ctrl+C on the
    // row); nothing is offered when it shows none (CanCopyValue).
    void CopyValue();
    bool CanCopyValue() const;
    // The selected row's path onto the clipboard, after PathPrefix's answer.
    void CopyPath();
    // Sets the selected row's value from the clipboard's text (Ctrl+V on the row), as
    // typing it and pressing Enter does (a refusal is shown in a message box). Nothing
    // when the clipboard is empty or the row takes no text (CanPasteValue).
    void PasteValue();
    bool CanPasteValue() const;
    // Selects Row (none: -1, for the inspector's own actions only) and opens the menu of
    // these actions at (X, Y) of the inspector, as a right click does. Typed text is set
    // first; when the editor refuses it the menu does not open.
    void OpenRowMenu(int Row, int X, int Y);
    // The open menu, or nullptr.
    TPopupMenu* RowMenu() const;
    // Opens the menu again where OpenRowMenu last opened it, with Items in place of the
    // row's (a list to choose from, offered by an item of the first); nothing when the
    // menu never opened.
    void ReopenRowMenu(std::vector<TMenuItem> Items);
    // Sets the selected row's value from Text, as typing it and pressing Enter does (a
    // refusal is shown in a message box, and changes nothing), then tells OnAction
    // Action. False when there is no row, it is read-only, or the editor refused Text.
    bool SetSelectedValue(const std::string& Text, const std::string& Action);
    // A double click on the selected row's value: its dialog, the next value of its
    // list, or a sub-object's rows opened or closed.
    void DoubleClickValue();

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    bool MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;
    void KeyDown(TKey& Key, TShiftState Shift) override;
    void TextInput(const std::string& Text) override;

protected:
    void Paint(TCanvas& C) override;
    void Resized() override;

private:
    // Before the rows are rebuilt by a view change: the list and hint close and typed
    // text is set; false when the editor refuses it.
    bool ReadyForNewRows();
    void RowsChanged();
    void SelectedChanged();
    std::vector<TMenuItem> RowMenuItems();
    void Tell(const std::string& Action);
    void Layout();
    int VisibleRows() const;
    int InnerRight() const;
    void PaintRow(TCanvas& C, int Row);
    // The row under (X, Y), or -1.
    int RowAt(int X, int Y) const;
    // Whether (X, Y) lies on the line between the columns.
    bool OnColumnLine(int X, int Y) const;
    // Shows the name or value under the pointer in a hint when its column cuts it off;
    // hides the hint otherwise.
    void UpdateHint(int X, int Y);
    void HideHint();

    TInspectorRows FRows;
    TScrollBar* FScrollBar;
    std::unique_ptr<TInspectorEditController> FEditing;
    int FTopRow = 0;
    THintWindow* FHint = nullptr;
    TPopupMenu* FMenu = nullptr;
    bool FSplitting = false; // the line between the columns is being dragged
    TPoint FMenuAt;          // where the menu last opened, in the form's coordinates
};

// A property's drop-down list of values, as the inspector opens it below a row: each
// value measured and drawn by the editor when it implements ICustomPropertyListDrawing
// (ListMeasureWidth, ListMeasureHeight, ListDrawValue), else plain text.
class QELL_DESIGNIDE_API TPropertyValueList : public TListBox {
public:
    // An item's height before the editor measures it: a row less its grid line and one.
    static constexpr int PlainItemHeight = TPropertyInspector::RowHeight - 2;
    explicit TPropertyValueList(TComponent* AOwner);

    // Shows Editor's values (PropertyListValues) in Font, measured on the way; none is
    // selected. The list holds the editor until ReleaseEditor.
    void ShowValues(const TInterfacePtr<TPropertyEditor>& Editor, const TFont& AFont);
    void ReleaseEditor();
    TPropertyEditor* Editor() const { return FEditor.Get(); }
    // Selects the item of the editor's value as the inspector shows it, if there is one.
    void SelectCurrentValue();
    // The list's size for its items without a scroll bar: the widest item and the
    // first Rows items, the border included.
    int WidthNeeded() const;
    int HeightNeeded(int Rows) const;

private:
    TInterfacePtr<TPropertyEditor> FEditor;
    TInterfacePtr<ICustomPropertyListDrawing> FDrawing;
    std::vector<int> FHeights;
    int FWidest = 0;
};

// The values of Editor's list in the list's order: GetValues, sorted without case when
// the editor asks for it (paSortList).
QELL_DESIGNIDE_API std::vector<std::string> PropertyListValues(TPropertyEditor& Editor);
