#include "platform/designide/InspectorRows.h"

#include <algorithm>

#include "platform/designide/EditorRegistry.h"
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

bool Contains(const std::string& Name, const std::string& LowerNeedle)
{
    return LowerCase(Name).find(LowerNeedle) != std::string::npos;
}

} // namespace

const TInspectorRows::TRow& TInspectorRows::At(int Row) const
{
    return FRows.at(static_cast<size_t>(Row));
}

TPropertyEditor* TInspectorRows::RowEditor(int Row) const
{
    return At(Row).Editor.Get();
}

const std::string& TInspectorRows::RowPath(int Row) const
{
    return At(Row).Path;
}

std::string TInspectorRows::RowName(int Row) const
{
    return RowEditor(Row)->GetName();
}

std::string TInspectorRows::RowValue(int Row) const
{
    return RowEditor(Row)->GetVisualValue();
}

int TInspectorRows::RowLevel(int Row) const
{
    return At(Row).Level;
}

bool TInspectorRows::RowExpandable(int Row) const
{
    return At(Row).Expandable;
}

bool TInspectorRows::RowExpanded(int Row) const
{
    return At(Row).Expanded;
}

int TInspectorRows::FindRow(std::string_view Path) const
{
    for (int I = 0; I < RowCount(); ++I)
        if (SameText(FRows[static_cast<size_t>(I)].Path, Path)) return I;
    return -1;
}

int TInspectorRows::ParentRow(int Row) const
{
    const int Level = RowLevel(Row);
    for (int P = Row - 1; P >= 0; --P)
        if (RowLevel(P) < Level) return P;
    return -1;
}

std::string TInspectorRows::SelectedPath() const
{
    return FSelected >= 0 ? RowPath(FSelected) : std::string();
}

bool TInspectorRows::SelectRow(int Row)
{
    Row = std::clamp(Row, FRows.empty() ? -1 : 0, RowCount() - 1);
    if (Row == FSelected) return false;
    FSelected = Row;
    if (Row >= 0) RowEditor(Row)->Activate();
    if (OnSelectedChanged) OnSelectedChanged();
    return true;
}

bool TInspectorRows::AddRows(std::vector<TInterfacePtr<TPropertyEditor>> Editors, const std::string& ParentPath,
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
        const size_t Index = FRows.size();
        TRow Row;
        Row.Editor = N.Editor;
        Row.Path = PropertyPath(ParentPath, N.Name);
        Row.Level = Level;
        Row.Expandable = PropertyRowExpands(*N.Editor, Level);
        Row.Expanded = Row.Expandable && FExpanded.count(Row.Path) > 0;
        const std::string Path = Row.Path;
        const bool Expandable = Row.Expandable, Expanded = Row.Expanded;
        FRows.push_back(std::move(Row));
        if (!Filtering || Contains(N.Name, Needle)) {
            if (Expanded) AddRows(SubEditors(*N.Editor), Path, Level + 1, false);
            Added = true;
        } else if (Expandable && AddRows(SubEditors(*N.Editor), Path, Level + 1, true)) {
            // Open while the filter holds, without touching what the user opened.
            FRows[Index].Expanded = true;
            Added = true;
        } else {
            FRows.pop_back();
        }
    }
    return Added;
}

void TInspectorRows::BuildRows()
{
    // The old editors go only once the new rows exist: one may still be on its way
    // out of a handler.
    std::vector<TRow> Old = std::move(FRows);
    FRows.clear();
    std::vector<TInterfacePtr<TPropertyEditor>> Top;
    GetComponentProperties(FObjects, Designer, [&](const TInterfacePtr<TPropertyEditor>& E) { Top.push_back(E); });
    AddRows(std::move(Top), "", 0, !FFilter.empty());
    FSelected = -1;
}

void TInspectorRows::RowsChanged() const
{
    if (OnRowsChanged) OnRowsChanged();
}

void TInspectorRows::Rebuild(const std::string& KeepSelected)
{
    BuildRows();
    for (std::string Path = KeepSelected; !Path.empty() && FSelected < 0; Path = HolderPath(Path))
        FSelected = FindRow(Path);
    if (FSelected < 0 && !FRows.empty()) FSelected = 0;
    RowsChanged();
}

void TInspectorRows::SetObjects(std::vector<TPersistent*> Objects)
{
    const std::string Kept = SelectedPath();
    FRows.clear();
    FSelected = -1;
    FObjects = std::move(Objects);
    BuildRows();
    // The same row exactly, not a row that would hold it: values compare only so.
    FSelected = Kept.empty() ? -1 : FindRow(Kept);
    if (FSelected < 0 && !FRows.empty()) FSelected = 0;
    RowsChanged();
}

void TInspectorRows::Refresh()
{
    Rebuild(SelectedPath());
}

void TInspectorRows::SetFilter(std::string_view Filter)
{
    if (Filter == FFilter) return;
    const std::string Selected = SelectedPath();
    FFilter = Filter;
    Refresh();
    // The row found through the filter stays selected when it clears, its rows opened.
    if (!Selected.empty() && FindRow(Selected) < 0)
        if (const int Row = Reveal(Selected); Row >= 0) SelectRow(Row);
}

int TInspectorRows::FirstMatchingRow() const
{
    if (FFilter.empty()) return -1;
    const std::string Needle = LowerCase(FFilter);
    for (int Row = 0; Row < RowCount(); ++Row)
        if (Contains(RowName(Row), Needle)) return Row;
    return -1;
}

void TInspectorRows::SetSortOrder(TSortOrder Order)
{
    if (Order == FSortOrder) return;
    FSortOrder = Order;
    Refresh();
}

void TInspectorRows::Expand(int Row)
{
    const TRow& R = At(Row);
    if (!R.Expandable || R.Expanded) return;
    FExpanded.insert(R.Path);
    Refresh();
}

void TInspectorRows::Collapse(int Row)
{
    if (!At(Row).Expanded) return;
    const std::string Closing = RowPath(Row);
    FExpanded.erase(Closing);
    // The selection may sit inside what closes: it moves to the row that closes.
    const std::string Selected = SelectedPath();
    const bool Inside = Selected.size() > Closing.size() &&
                        SameText(std::string_view(Selected).substr(0, Closing.size()), Closing);
    Rebuild(Inside ? Closing : Selected);
}

void TInspectorRows::ExpandAll()
{
    // The walk stops at the deepest level offered, however the objects refer to each
    // other.
    ForEachPropertyPath(FObjects, Designer, [this](const std::string& Path, const TInterfacePtr<TPropertyEditor>& E) {
        if (PropertyRowExpands(*E, PropertyPathLevel(Path))) FExpanded.insert(Path);
    });
    Refresh();
}

void TInspectorRows::CollapseAll()
{
    FExpanded.clear();
    Refresh();
}

int TInspectorRows::Reveal(std::string_view Path)
{
    // Open each row that leads there, then find the row itself.
    for (size_t Dot = 0; Dot != std::string_view::npos;) {
        Dot = Path.find_first_of(".[", Dot + 1);
        const int Row = FindRow(Path.substr(0, Dot));
        if (Row < 0 || Dot == std::string_view::npos) return Row;
        if (!At(Row).Expanded) Expand(Row);
    }
    return -1;
}
