#pragma once
// The property inspector's rows, apart from any drawing: one row per property of the
// selected objects (through GetComponentProperties), sub-objects opening into rows of
// their own, narrowed by a filter, in declaration or name order, and the selected row.
// Rows are addressed by index (0 at the top) and by path ("Caption", "Font.Height",
// "Slots[0].TextColor", as PropertyPaths.h names them).
//
// What the user opened is kept by path, so it survives every rebuild and another
// selection of objects. The model tells its one observer (the inspector's view) what
// changed; the view decides what that means for the screen. Used from the GUI thread
// only, as the whole design-time library is.

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/designide/PropertyEditors.h"

enum class TSortOrder { Declaration, Alphabetical };

class QELL_DESIGNIDE_API TInspectorRows {
public:
    // Told of every edit the rows' editors make; set before the objects.
    IDesigner* Designer = nullptr;
    // The rows were built again (SetObjects, Refresh, a filter, an order, a row opened
    // or closed): the count, the rows and the selected row may all differ.
    std::function<void()> OnRowsChanged;
    // SelectRow chose another row; the rows are as they were.
    std::function<void()> OnSelectedChanged;

    // Shows the properties of Objects (none: no rows), dropping the editors of the
    // previous objects. The row of the same path stays selected when the new objects
    // have it, so that values can be compared across objects; else the first row is.
    // The objects must outlive the rows.
    void SetObjects(std::vector<TPersistent*> Objects);
    const std::vector<TPersistent*>& Objects() const { return FObjects; }
    // Builds the rows again from the objects as they are now, keeping the selected
    // row, or else the nearest row above it in its path, or else the first.
    void Refresh();

    // Only the rows whose name contains Filter, without case, and the rows that lead to
    // them, open while the filter holds without touching what the user opened; a
    // matching row keeps its own sub-rows as the user left them. Empty: every row. The
    // selected row stays selected, the rows above it opened when the filter clears.
    void SetFilter(std::string_view Filter);
    const std::string& Filter() const { return FFilter; }
    // The first row whose own name contains the filter (not one that only leads to
    // such a row), or -1; -1 without a filter.
    int FirstMatchingRow() const;
    // Declaration: the order the class declares; Alphabetical: each level sorted by
    // name without case (a collection's items keep theirs), sub-rows under their row.
    void SetSortOrder(TSortOrder Order);
    TSortOrder SortOrder() const { return FSortOrder; }

    // Opens the row's sub-rows, or closes them (a selection inside moves to the row
    // that closes). Nothing for a row that cannot open, or is already so.
    void Expand(int Row);
    void Collapse(int Row);
    // Opens every row with sub-rows down to the deepest level offered
    // (MaxPropertyDepth), so that objects that refer to each other in a circle end;
    // closes them all. The selection stays, or moves to the row that holds it.
    void ExpandAll();
    void CollapseAll();
    // Opens the rows that lead to Path and answers the row at Path, or -1 (the rows
    // opened on the way stay open). Selects nothing.
    int Reveal(std::string_view Path);

    int RowCount() const { return static_cast<int>(FRows.size()); }
    // A row's editor, path, name, shown value (GetVisualValue), depth (0 for a top
    // row) and whether it opens into rows and is open. Row must be in range.
    TPropertyEditor* RowEditor(int Row) const;
    const std::string& RowPath(int Row) const;
    std::string RowName(int Row) const;
    std::string RowValue(int Row) const;
    int RowLevel(int Row) const;
    bool RowExpandable(int Row) const;
    bool RowExpanded(int Row) const;
    // The row at Path (without case), or -1.
    int FindRow(std::string_view Path) const;
    // The row that holds Row (the nearest above it at a smaller depth), or -1.
    int ParentRow(int Row) const;

    int SelectedRow() const { return FSelected; }
    // The selected row's path; empty when no row is selected.
    std::string SelectedPath() const;
    // Selects Row, brought within the rows (-1 only when there are none); the editor of
    // a newly selected row is told (Activate). Answers whether the selection changed.
    bool SelectRow(int Row);

private:
    struct TRow {
        TInterfacePtr<TPropertyEditor> Editor;
        std::string Path;
        int Level = 0;
        bool Expandable = false;
        bool Expanded = false;
    };
    // Adds rows for Editors under the row at ParentPath, sorted as asked; with
    // Filtering, only the rows that match or lead to a match. Answers whether any was.
    bool AddRows(std::vector<TInterfacePtr<TPropertyEditor>> Editors, const std::string& ParentPath, int Level,
                 bool Filtering);
    // The rows again from the objects; selects nothing and tells no one.
    void BuildRows();
    // Builds the rows again, keeping KeepSelected, or the nearest row above it in its
    // path, or else the first; then tells the observer.
    void Rebuild(const std::string& KeepSelected);
    void RowsChanged() const;
    const TRow& At(int Row) const;

    std::vector<TPersistent*> FObjects;
    std::vector<TRow> FRows;
    std::set<std::string, TTextLess> FExpanded;
    std::string FFilter;
    TSortOrder FSortOrder = TSortOrder::Declaration;
    int FSelected = -1;
};
