// How the property inspector builds its rows: the filter, the sort order and what is
// expanded. The rows' changes are in PropertyInspector.cpp.

#include <algorithm>

#include "platform/designide/EditorRegistry.h"
#include "platform/designide/PropertyInspector.h"
#include "platform/designide/PropertyPaths.h"

namespace {

struct TNamedEditor {
    std::string Name;
    TInterfacePtr<TPropertyEditor> Editor;
};

std::vector<TInterfacePtr<TPropertyEditor>> SubEditors(TPropertyEditor& Editor)
{
    std::vector<TInterfacePtr<TPropertyEditor>> Subs;
    Editor.GetProperties([&](const TInterfacePtr<TPropertyEditor>& Sub) { Subs.push_back(Sub); });
    return Subs;
}

// The path of the row that holds the row at Path ("Slots[0]" for "Slots[0].Value"),
// empty for a top row.
std::string HolderPath(const std::string& Path)
{
    const size_t Cut = Path.find_last_of(".[");
    return Cut == std::string::npos ? std::string() : Path.substr(0, Cut);
}

} // namespace

bool TPropertyInspector::AddRows(std::vector<TInterfacePtr<TPropertyEditor>> Editors, const std::string& ParentPath,
                                 int Level, bool Filtering)
{
    std::vector<TNamedEditor> Named;
    Named.reserve(Editors.size());
    for (TInterfacePtr<TPropertyEditor>& E : Editors) Named.push_back({E->GetName(), std::move(E)});
    // A collection's items ("[0]", "[1]", …) keep their order: it is the collection's.
    const bool Items = !Named.empty() && Named.front().Name.starts_with("[");
    if (FSortOrder == TSortOrder::Alphabetical && !Items)
        std::stable_sort(Named.begin(), Named.end(), [](const TNamedEditor& A, const TNamedEditor& B) {
            return CompareText(A.Name, B.Name) < 0;
        });
    const std::string Needle = LowerCase(FFilter);
    bool Added = false;
    for (TNamedEditor& N : Named) {
        const size_t At = FRows.size();
        TRow Row;
        Row.Editor = N.Editor;
        Supports(N.Editor.Get(), Row.Drawing);
        Row.Path = PropertyPath(ParentPath, N.Name);
        Row.Level = Level;
        Row.Expandable = PropertyRowExpands(*N.Editor, Level);
        Row.Expanded = Row.Expandable && FExpanded.count(Row.Path) > 0;
        const std::string Path = Row.Path;
        const bool Expandable = Row.Expandable, Expanded = Row.Expanded;
        FRows.push_back(std::move(Row));
        if (!Filtering || LowerCase(N.Name).find(Needle) != std::string::npos) {
            if (Expanded) AddRows(SubEditors(*N.Editor), Path, Level + 1, false);
            Added = true;
        } else if (Expandable && AddRows(SubEditors(*N.Editor), Path, Level + 1, true)) {
            // Open while the filter holds, without touching what the user opened.
            FRows[At].Expanded = true;
            Added = true;
        } else {
            FRows.pop_back();
        }
    }
    return Added;
}

void TPropertyInspector::Rebuild(const std::string& KeepSelected)
{
    // The old editors go only once the new rows exist: a row's drawing may still be
    // on its way out of a handler.
    std::vector<TRow> Old = std::move(FRows);
    FRows.clear();
    std::vector<TInterfacePtr<TPropertyEditor>> Top;
    GetComponentProperties(FSelection, Designer, [&](const TInterfacePtr<TPropertyEditor>& E) { Top.push_back(E); });
    AddRows(std::move(Top), "", 0, !FFilter.empty());
    FSelected = -1;
    for (std::string Path = KeepSelected; !Path.empty() && FSelected < 0; Path = HolderPath(Path))
        FSelected = FindRow(Path);
    if (FSelected < 0 && !FRows.empty()) FSelected = 0;
    Layout();
    Invalidate();
    if (OnSelectRow) OnSelectRow(this);
}

bool TPropertyInspector::ReadyForNewRows()
{
    HideHint();
    CloseDropDown();
    return LeaveEdit();
}

void TPropertyInspector::SetFilter(std::string_view Filter)
{
    if (Filter == FFilter || !ReadyForNewRows()) return;
    const std::string Selected = FSelected >= 0 ? RowPath(FSelected) : std::string();
    FFilter = Filter;
    Refresh();
    // The row found through the filter stays in view when it clears, its rows opened.
    if (!Selected.empty() && FindRow(Selected) < 0) SelectPath(Selected);
}

int TPropertyInspector::FirstMatchingRow() const
{
    if (FFilter.empty()) return -1;
    const std::string Needle = LowerCase(FFilter);
    for (int Row = 0; Row < RowCount(); ++Row)
        if (LowerCase(RowName(Row)).find(Needle) != std::string::npos) return Row;
    return -1;
}

void TPropertyInspector::SetSortOrder(TSortOrder Order)
{
    if (Order == FSortOrder || !ReadyForNewRows()) return;
    FSortOrder = Order;
    Refresh();
}

void TPropertyInspector::ExpandAll()
{
    if (!ReadyForNewRows()) return;
    // The walk stops at the deepest level offered, however the objects refer to each
    // other.
    ForEachPropertyPath(FSelection, Designer, [this](const std::string& Path, const TInterfacePtr<TPropertyEditor>& E) {
        if (PropertyRowExpands(*E, PropertyPathLevel(Path))) FExpanded.insert(Path);
    });
    Refresh();
}

void TPropertyInspector::CollapseAll()
{
    if (!ReadyForNewRows()) return;
    FExpanded.clear();
    Refresh();
}
