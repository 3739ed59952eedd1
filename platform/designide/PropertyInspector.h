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
// name. A value that differs from its default is drawn in bold. A right click on a row
// selects it and opens a menu: reset to default, copy and paste the value, copy the
// path, the sort order, expand and collapse all.
//
// Scripts address it by name: "inspect NAME PATH" selects the row at PATH
// (Appearance.BackgroundColor, Slots[0].TextColor); "dropdown NAME" and "ellipsis NAME"
// click the selected row's buttons; "choose NAME TEXT" clicks an item of the open list;
// "rclick NAME X Y" opens the menu and 'menu "Copy value"' clicks its item.

#include <set>
#include <string>
#include <vector>

#include "platform/designide/PropertyDrawing.h"
#include "platform/designide/PropertyEditors.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/HintWindow.h"
#include "platform/toolkit/ListBox.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/ScrollBar.h"

// The script verbs above; the unit PropertyInspector registers them when the library
// loads.
void RegisterInspectorScriptVerbs();

class TInspectorEdit;
class TInspectorList;

enum class TSortOrder { Declaration, Alphabetical };

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
    // Where the name column ends; the user drags the line between the columns to move
    // it (SetNameWidth), and it stays there while the inspector lives.
    int NameWidth = DefaultNameWidth;
    static constexpr int MinColumnWidth = 40;
    // Moves the line between the columns, keeping both at least MinColumnWidth wide.
    void SetNameWidth(int V);
    // The hint showing a value its column cuts off; nullptr when none is showing.
    const THintWindow* ValueHint() const;

    // Shows the properties of Objects (none: no rows), dropping the editors of the
    // previous selection. The objects must outlive the selection.
    void SetSelection(std::vector<TPersistent*> Objects);
    const std::vector<TPersistent*>& Selection() const { return FSelection; }
    // Builds the rows again from the objects as they are now, keeping what is expanded
    // and the selected row where they still exist.
    void Refresh();

    // Shows only the rows whose name contains Filter, without case, and the rows that
    // lead to them, open for as long as the filter holds (what the user opened or
    // closed comes back when it is cleared); a matching row keeps its own sub-rows as
    // the user left them. Empty: every row; a row selected under the filter stays
    // selected, the rows above it opened. Text being typed into a value is set first;
    // when the editor refuses it, nothing changes (Filter() tells).
    void SetFilter(std::string_view Filter);
    const std::string& Filter() const { return FFilter; }
    // The first row whose own name contains the filter (not one that only leads to
    // such a row), or -1; -1 without a filter.
    int FirstMatchingRow() const;
    // Declaration: the rows in the order the class declares them; Alphabetical: each
    // level sorted by name without case (a collection's items stay in their order),
    // sub-rows under their row. Typed text is set first, as for SetFilter.
    void SetSortOrder(TSortOrder Order);
    TSortOrder SortOrder() const { return FSortOrder; }
    // Opens every row that has sub-rows, down to the deepest level offered
    // (MaxPropertyDepth), so that a cyclic object graph ends; closes them all. The
    // selection stays, or moves to the row that holds it. Typed text is set first.
    void ExpandAll();
    void CollapseAll();

    int RowCount() const { return static_cast<int>(FRows.size()); }
    TPropertyEditor* RowEditor(int Row) const;
    // The row's path (Font.Height, Slots[0].TextColor), name, shown value and depth.
    const std::string& RowPath(int Row) const;
    std::string RowName(int Row) const;
    std::string RowValue(int Row) const;
    int RowLevel(int Row) const;
    bool RowExpanded(int Row) const;
    // The row at Path (without case), or -1.
    int FindRow(std::string_view Path) const;

    int SelectedRow() const { return FSelected; }
    // Selects the row (closing a list, leaving an edit) and scrolls it into view.
    void SetSelectedRow(int Row);
    // Selects the row at Path, expanding the rows above it; false when there is none.
    bool SelectPath(std::string_view Path);
    void Expand(int Row);
    void Collapse(int Row);
    int TopRow() const { return FTopRow; }
    void SetTopRow(int Row);

    // Geometry of a row on screen (empty when out of view), and the selected row's
    // buttons (empty when the row has none).
    TRect RowRect(int Row) const;
    TRect NameRect(int Row) const;
    TRect ValueRect(int Row) const;
    TRect DropDownButtonRect() const;
    TRect EllipsisButtonRect() const;

    // The selected row's in-place edit: shown while typing, with the text typed so far.
    bool Editing() const;
    TEdit* InplaceEdit() const;
    // Starts typing into the selected row, with Text (all of it selected, or the caret
    // after it). False when the row cannot be typed into.
    bool BeginEdit(const std::string& Text, bool SelectAll);
    // Sets the value from the edit's text; an error is shown in a message box, the
    // property keeps its value and the edit keeps the text. Answers whether it was set.
    bool CommitEdit();
    // Puts the value back and closes the edit.
    void CancelEdit();
    // Whether the edit holds text that differs from the value.
    bool EditChanged() const;
    // Before an action that leaves the edit: sets what was typed; when the editor
    // refuses it, the edit keeps the text and the focus, and the answer is false (the
    // action is not to be carried out). True when nothing was being typed.
    bool LeaveEdit();

    // The selected row's value list, open below (or above) the value; nullptr when
    // closed. Choosing an item sets the value.
    TListBox* DropDownList() const;
    void OpenDropDown();
    void CloseDropDown();
    void ChooseFromList(int Index);
    // The selected row's dialog (Edit), then the rows again.
    void EditProperty();

    // The selected row's value back to its default, through the editor's Revert: one
    // change for the designer. Nothing when it already holds it or cannot go back
    // (CanResetToDefault); an error is shown in a message box.
    void ResetToDefault();
    bool CanResetToDefault() const;
    // The selected row's shown value, or its path, onto the application's clipboard.
    void CopyValue();
    void CopyPath();
    // Sets the selected row's value from the clipboard's text, as typing it and
    // pressing Enter does (a refusal is shown in a message box). Nothing when the
    // clipboard is empty or the row takes no text (CanPasteValue).
    void PasteValue();
    bool CanPasteValue() const;
    // Selects Row (none: -1, for the inspector's own actions only) and opens the menu of
    // these actions at (X, Y) of the inspector, as a right click does. Typed text is set
    // first; when the editor refuses it the menu does not open.
    void OpenRowMenu(int Row, int X, int Y);
    // The open menu, or nullptr.
    TPopupMenu* RowMenu() const;
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
    friend class TInspectorEdit;
    friend class TInspectorList;
    struct TRow {
        TInterfacePtr<TPropertyEditor> Editor;
        TInterfacePtr<ICustomPropertyDrawing> Drawing;
        std::string Path;
        int Level = 0;
        bool Expandable = false;
        bool Expanded = false;
    };
    // Adds rows for Editors under the row at ParentPath, sorted as asked; with Filtering,
    // only the rows that match or lead to a match. Answers whether any was added.
    bool AddRows(std::vector<TInterfacePtr<TPropertyEditor>> Editors, const std::string& ParentPath, int Level,
                 bool Filtering);
    // Builds the rows again, keeping the selected row, or the nearest row above it in
    // its path, or else the first.
    void Rebuild(const std::string& KeepSelected);
    // Before the rows are rebuilt by a view change: the list and hint close and typed
    // text is set; false when the editor refuses it.
    bool ReadyForNewRows();
    std::vector<TMenuItem> RowMenuItems();
    void Tell(const std::string& Action);
    void Layout();
    int VisibleRows() const;
    int InnerRight() const;
    void ScrollIntoView(int Row);
    // Runs a change of the selected row's value: an error goes to a message box; the
    // rows are built again afterwards, in every case.
    bool Change(const std::function<void()>& Action);
    void PaintRow(TCanvas& C, int Row);
    // The row under (X, Y), or -1.
    int RowAt(int X, int Y) const;
    // Whether (X, Y) lies on the line between the columns.
    bool OnColumnLine(int X, int Y) const;
    // Shows the value of the row under the pointer in a hint when its column cuts it
    // off; hides the hint otherwise.
    void UpdateHint(int X, int Y);
    void HideHint();

    std::vector<TPersistent*> FSelection;
    std::vector<TRow> FRows;
    std::set<std::string, TTextLess> FExpanded;
    int FSelected = -1;
    int FTopRow = 0;
    TScrollBar* FScrollBar;
    TInspectorEdit* FEdit;
    TInspectorList* FList = nullptr;
    THintWindow* FHint = nullptr;
    TPopupMenu* FMenu = nullptr;
    std::string FFilter;
    TSortOrder FSortOrder = TSortOrder::Declaration;
    bool FSplitting = false; // the line between the columns is being dragged
    std::string FEditStart;  // the text the edit started with
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
