// The inspector's rows on their own, without a form or a canvas: what the filter, the
// order and the open rows show, against a computation from the full tree of paths, and
// the selected row kept across every rebuild.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/designide/InspectorRows.h"
#include "platform/designide/PropertyPaths.h"
#include "tests/designide/InspectorTesting.h"

using namespace inspecttest;

namespace {

std::string Lower(std::string S)
{
    for (char& C : S) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

// Every row of the objects, every row open, in declaration order, as a tree by path.
struct TNode {
    std::string Path, Name, Parent;
    size_t Index = 0; // among its siblings, in declaration order
    bool Opens = false;
};

struct TTree {
    std::vector<TNode> Nodes; // in the walk's order: each row before its sub-rows
    std::map<std::string, size_t> At;

    explicit TTree(const std::vector<TPersistent*>& Objects)
    {
        std::map<std::string, size_t> Children;
        ForEachPropertyPath(Objects, nullptr, [&](const std::string& Path, const TInterfacePtr<TPropertyEditor>& E) {
            TNode N{Path, E->GetName(), "", 0, false};
            N.Parent = Path.size() > N.Name.size() ? Path.substr(0, Path.size() - N.Name.size()) : "";
            if (!N.Parent.empty() && N.Parent.back() == '.') N.Parent.pop_back();
            N.Index = Children[N.Parent]++;
            N.Opens = PropertyRowExpands(*E, PropertyPathLevel(Path));
            At[Lower(Path)] = Nodes.size();
            Nodes.push_back(N);
        });
    }
    const TNode* ParentOf(const TNode& N) const
    {
        return N.Parent.empty() ? nullptr : &Nodes[At.at(Lower(N.Parent))];
    }
};

struct TExpected {
    std::string Path;
    bool Open;
};

// What the rows must be, stated from the tree. Without a filter: a row shows when every
// row above it is open. With one: the row nearest the top of its path whose name
// contains the filter rules; below it a row shows when every row from it down is open;
// a row with no such row above it shows, open, when a row below it matches.
std::vector<TExpected> Expected(const TTree& T, const std::set<std::string>& Open, const std::string& Filter,
                                TSortOrder Order)
{
    const auto Matches = [&](const TNode& N) { return Lower(N.Name).find(Lower(Filter)) != std::string::npos; };
    const auto IsOpen = [&](const TNode& N) { return N.Opens && Open.count(N.Path) > 0; };
    std::vector<std::pair<std::vector<std::pair<std::string, size_t>>, TExpected>> Shown;
    for (const TNode& N : T.Nodes) {
        std::vector<const TNode*> Chain{&N}; // N, then each row above it
        while (const TNode* P = T.ParentOf(*Chain.back())) Chain.push_back(P);
        bool Visible = true, RowOpen = IsOpen(N);
        if (Filter.empty()) {
            for (size_t I = 1; I < Chain.size(); ++I) Visible = Visible && IsOpen(*Chain[I]);
        } else {
            const auto Top = std::find_if(Chain.rbegin(), Chain.rend(), [&](const TNode* C) { return Matches(*C); });
            if (Top != Chain.rend()) {
                for (auto C = Chain.rbegin(); C != Chain.rend() && &**C != &N; ++C)
                    if (C >= Top) Visible = Visible && IsOpen(**C);
            } else {
                Visible = std::any_of(T.Nodes.begin(), T.Nodes.end(), [&](const TNode& D) {
                    return D.Path.size() > N.Path.size() && Lower(D.Path).starts_with(Lower(N.Path)) &&
                           (D.Path[N.Path.size()] == '.' || D.Path[N.Path.size()] == '[') && Matches(D);
                });
                RowOpen = true;
            }
        }
        if (!Visible) continue;
        // The sort key: each step of the path as its place among its siblings.
        std::vector<std::pair<std::string, size_t>> Key;
        for (auto C = Chain.rbegin(); C != Chain.rend(); ++C) {
            const bool ByName = Order == TSortOrder::Alphabetical && !(*C)->Name.starts_with("[");
            Key.push_back({ByName ? Lower((*C)->Name) : std::string(), (*C)->Index});
        }
        Shown.push_back({Key, {N.Path, RowOpen}});
    }
    std::stable_sort(Shown.begin(), Shown.end(), [](const auto& A, const auto& B) { return A.first < B.first; });
    std::vector<TExpected> Rows;
    for (auto& S : Shown) Rows.push_back(S.second);
    return Rows;
}

std::vector<std::string> Describe(const std::vector<TExpected>& Rows)
{
    std::vector<std::string> D;
    for (const TExpected& R : Rows) D.push_back(R.Path + (R.Open ? " +" : ""));
    return D;
}

std::vector<std::string> Describe(const TInspectorRows& Rows)
{
    std::vector<std::string> D;
    for (int R = 0; R < Rows.RowCount(); ++R) D.push_back(Rows.RowPath(R) + (Rows.RowExpanded(R) ? " +" : ""));
    return D;
}

// Opens the rows at Paths in turn, each from the rows as they are then.
void Open(TInspectorRows& Rows, std::initializer_list<const char*> Paths)
{
    for (const char* Path : Paths) {
        ASSERT_GE(Rows.FindRow(Path), 0) << Path;
        Rows.Expand(Rows.FindRow(Path));
    }
}

struct InspectorRows : ::testing::Test {
    TGadget Gadget{nullptr};
    TInspectorRows Rows;
    InspectorRows()
    {
        Gadget.SetName("Gadget1");
        Gadget.Font.SetName("Colorful Sans"); // a value never counts, only names
        // Enough items that their names would sort otherwise: "[10]" before "[2]".
        for (int I = 0; I < 11; ++I) Gadget.Slots.Add();
    }
};

TEST_F(InspectorRows, FilterOrderAndOpenRowsShowWhatTheTreeSays)
{
    const TTree Tree({&Gadget});
    ASSERT_GT(Tree.Nodes.size(), 20u);
    struct TCase {
        const char* What;
        std::set<std::string> Open;
    };
    // Slots[1] opened, then Slots closed: opened by the user, under a closed row.
    const TCase Cases[] = {
        {"nothing open", {}},
        {"Font open", {"Font"}},
        {"Slots and an item open", {"Slots", "Slots[1]"}},
        {"an item open under a closed Slots", {"Slots[1]"}},
    };
    Rows.SetObjects({&Gadget});
    for (const TCase& C : Cases) {
        Rows.CollapseAll();
        if (C.Open.count("Slots[1]")) Open(Rows, {"Slots", "Slots[1]"});
        if (C.Open.count("Font")) Open(Rows, {"Font"});
        if (!C.Open.count("Slots") && Rows.FindRow("Slots") >= 0) Rows.Collapse(Rows.FindRow("Slots"));
        for (TSortOrder Order : {TSortOrder::Declaration, TSortOrder::Alphabetical}) {
            Rows.SetSortOrder(Order);
            for (const char* Filter : {"", "color", "COLOR", "e", "slots", "[1]", "font", "no such name"}) {
                Rows.SetFilter(Filter);
                EXPECT_EQ(Describe(Rows), Describe(Expected(Tree, C.Open, Filter, Order)))
                    << C.What << ", filter '" << Filter << "', "
                    << (Order == TSortOrder::Alphabetical ? "alphabetical" : "declared");
            }
            Rows.SetFilter("");
        }
    }
    // All open: the deepest rows the walk reaches.
    Rows.SetSortOrder(TSortOrder::Declaration);
    Rows.ExpandAll();
    std::set<std::string> All;
    for (const TNode& N : Tree.Nodes)
        if (N.Opens) All.insert(N.Path);
    EXPECT_EQ(Describe(Rows), Describe(Expected(Tree, All, "", TSortOrder::Declaration)));
    Rows.SetFilter("value");
    EXPECT_EQ(Describe(Rows), Describe(Expected(Tree, All, "value", TSortOrder::Declaration)));
}

TEST_F(InspectorRows, TheSelectedRowIsKeptAcrossRebuildsAndTheObserverIsTold)
{
    int Built = 0, Moved = 0;
    Rows.OnRowsChanged = [&] { ++Built; };
    Rows.OnSelectedChanged = [&] { ++Moved; };
    Rows.SetObjects({&Gadget});
    EXPECT_EQ(Rows.SelectedPath(), "Name") << "the first row";
    EXPECT_EQ(Built, 1);

    // Found through the filter, under rows the user never opened.
    Rows.SetFilter("TEXT");
    EXPECT_EQ(Built, 2);
    EXPECT_TRUE(Rows.SelectRow(Rows.FindRow("Slots[2].TextColor")));
    EXPECT_FALSE(Rows.SelectRow(Rows.FindRow("Slots[2].TextColor"))) << "no change, no news";
    EXPECT_EQ(Moved, 1);
    const auto Keeps = [&](const char* What) {
        EXPECT_EQ(Rows.SelectedPath(), "Slots[2].TextColor") << What;
        EXPECT_EQ(Rows.RowPath(Rows.SelectedRow()), Rows.SelectedPath()) << What;
    };
    Rows.SetSortOrder(TSortOrder::Alphabetical);
    Keeps("sorted by name");
    Rows.Refresh();
    Keeps("refreshed");
    EXPECT_EQ(Built, 4);
    Rows.SetFilter("");
    Keeps("the filter cleared: the rows that lead there open");
    EXPECT_TRUE(Rows.RowExpanded(Rows.FindRow("Slots")));
    EXPECT_TRUE(Rows.RowExpanded(Rows.FindRow("Slots[2]")));
    EXPECT_FALSE(Rows.RowExpanded(Rows.FindRow("Slots[0]"))) << "opened only on the way";

    // Closing a row above the selection moves it to that row; an item that goes takes
    // the selection to the nearest row above it in its path.
    Rows.Collapse(Rows.FindRow("Slots[2]"));
    EXPECT_EQ(Rows.SelectedPath(), "Slots[2]");
    Rows.Expand(Rows.FindRow("Slots[2]"));
    ASSERT_TRUE(Rows.SelectRow(Rows.FindRow("Slots[2].Value")));
    while (Gadget.Slots.Count() > 2) Gadget.Slots.Delete(Gadget.Slots.Count() - 1);
    Rows.Refresh();
    EXPECT_EQ(Rows.SelectedPath(), "Slots");
    EXPECT_EQ(Rows.RowLevel(Rows.ParentRow(Rows.FindRow("Slots[1]"))), 0);

    Rows.SetObjects({});
    EXPECT_EQ(Rows.RowCount(), 0);
    EXPECT_EQ(Rows.SelectedRow(), -1);
    EXPECT_FALSE(Rows.SelectRow(3)) << "nothing to select";
}

// Values are compared across objects: another selection keeps the row of the same path,
// wherever it is, and only that row; else the first row, as for a first selection.
TEST_F(InspectorRows, AnotherSelectionKeepsTheRowOfTheSamePathOnly)
{
    TGadget Other(nullptr);
    Other.SetName("Gadget2");
    Other.Font.SetHeight(-20);
    Other.Slots.Add();
    Rows.SetObjects({&Gadget});
    ASSERT_TRUE(Rows.SelectRow(Rows.Reveal("Font.Height")));
    int Built = 0;
    Rows.OnRowsChanged = [&] { ++Built; };
    Rows.SetObjects({&Other});
    EXPECT_EQ(Rows.SelectedPath(), "Font.Height");
    EXPECT_EQ(Rows.RowValue(Rows.SelectedRow()), "-20") << "the other object's value";
    EXPECT_EQ(Built, 1);

    // Several objects share no Name row.
    ASSERT_TRUE(Rows.SelectRow(Rows.FindRow("Name")));
    Rows.SetObjects({&Gadget, &Other});
    EXPECT_EQ(Rows.SelectedRow(), 0);
    EXPECT_EQ(Rows.SelectedPath(), "Caption");

    // An item the other object lacks: the first row, not the collection that would
    // hold it.
    Rows.SetObjects({&Gadget});
    ASSERT_TRUE(Rows.SelectRow(Rows.Reveal("Slots[5].Value")));
    Rows.SetObjects({&Other});
    EXPECT_EQ(Rows.SelectedPath(), "Name");
    EXPECT_TRUE(Rows.RowExpanded(Rows.FindRow("Slots"))) << "what was open stays open";
}

} // namespace
