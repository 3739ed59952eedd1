// What the inspector shows: the filter, the sort order, expand and collapse all, and
// values that differ from their defaults drawn in bold.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "platform/designide/PropertyPaths.h"
#include "tests/designide/InspectorTesting.h"

using namespace inspecttest;

namespace {

std::vector<std::string> Paths(const TPropertyInspector& I)
{
    std::vector<std::string> P;
    for (int R = 0; R < I.RowCount(); ++R) P.push_back(I.RowPath(R));
    return P;
}

std::string SelectedPath(const TPropertyInspector& I)
{
    return I.SelectedRow() < 0 ? std::string() : I.RowPath(I.SelectedRow());
}

TEST(InspectorView, TheFilterShowsMatchesUnderTheirRowsAndEditsKeepIt)
{
    TInspectorForm F;
    TPropertyInspector& I = *F.Inspector;
    I.Expand(F.Row("Font")); // the user's own: it must come back as it was
    I.SetFilter("COLOR");
    EXPECT_EQ(Paths(I), (std::vector<std::string>{"Font", "Font.Color", "Slots", "Slots[0]", "Slots[0].TextColor",
                                                  "Slots[1]", "Slots[1].TextColor"}));
    EXPECT_TRUE(I.RowExpanded(F.Row("Slots[1]")));

    // Typing, the value list: both work on filtered rows, which stay filtered, and the
    // selection stays where the edit was.
    F.Run("inspect Inspector Slots[1].TextColor\ntype Inspector \"7\"\nkey Enter\n"
          "inspect Inspector Font.Color\ndropdown Inspector\nchoose Inspector \"clNavy\"\n");
    EXPECT_EQ(F.Gadget.Slots.Items(1)->TextColor, 7);
    EXPECT_EQ(F.Gadget.Font.Color(), clNavy);
    EXPECT_EQ(I.Filter(), "COLOR");
    EXPECT_EQ(I.RowCount(), 7);
    EXPECT_EQ(SelectedPath(I), "Font.Color");
    F.Run("inspect Inspector Slots[0].TextColor\ntype Inspector \"9\"\nkey Down\n");
    EXPECT_EQ(F.Gadget.Slots.Items(0)->TextColor, 9);
    EXPECT_EQ(SelectedPath(I), "Slots[1]") << "Down after an edit moves within the filtered rows";

    // A matching row keeps its sub-rows as the user left them.
    I.SetFilter("font");
    EXPECT_EQ(Paths(I), (std::vector<std::string>{"Font", "Font.Name", "Font.Height", "Font.Color"}));

    // Cleared: every row, with only what the user opened open.
    I.SetFilter("");
    EXPECT_EQ(I.RowCount(), 13);
    EXPECT_TRUE(I.RowExpanded(F.Row("Font")));
    EXPECT_FALSE(I.RowExpanded(F.Row("Slots")));
    EXPECT_EQ(SelectedPath(I), "Font");
}

TEST(InspectorView, AFilterThatMatchesNothingShowsNoRowsAndTakesInputCalmly)
{
    TInspectorForm F;
    TPropertyInspector& I = *F.Inspector;
    I.SetFilter("nothing like it");
    EXPECT_EQ(I.RowCount(), 0);
    EXPECT_EQ(I.SelectedRow(), -1);
    F.Run("click Inspector 100 100\nkey Down\nkey End\nkey Enter\nkey F2\ntext \"x\"\nkey Right\n"
          "dblclick Inspector 200 30\nrclick Inspector 100 100\nkey Down\nkey Enter\n");
    EXPECT_EQ(F.Designer.Modifications, 0);
    EXPECT_EQ(I.RowCount(), 0);
    I.ExpandAll();
    EXPECT_EQ(I.RowCount(), 0);
    I.SetFilter("");
    EXPECT_TRUE(I.RowExpanded(F.Row("Slots[1]"))) << "expanded all while filtered";
}

// Names compared without case, by an independent comparison.
bool NameLess(const std::string& A, const std::string& B)
{
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char X, char Y) {
        return std::tolower(static_cast<unsigned char>(X)) < std::tolower(static_cast<unsigned char>(Y));
    });
}

TEST(InspectorView, AlphabeticalOrderSortsEachLevelAndKeepsSubRowsUnderTheirRow)
{
    TInspectorForm F;
    TPropertyInspector& I = *F.Inspector;
    I.ExpandAll();
    const std::vector<std::string> Declared = Paths(I);
    ASSERT_TRUE(I.SelectPath("Slots[1].TextColor"));
    F.Run(F.RightClick("Slots[1].TextColor") + "menu \"Sort alphabetically\"\n");
    EXPECT_EQ(I.SortOrder(), TSortOrder::Alphabetical);
    EXPECT_EQ(SelectedPath(I), "Slots[1].TextColor");

    std::vector<std::string> Sorted = Paths(I);
    ASSERT_EQ(Sorted.size(), Declared.size());
    EXPECT_TRUE(std::is_permutation(Sorted.begin(), Sorted.end(), Declared.begin()));
    // Every row's rows follow it directly, and siblings are in name order (a
    // collection's items in theirs).
    for (int R = 0; R < I.RowCount(); ++R) {
        int Next = R + 1;
        while (Next < I.RowCount() && I.RowLevel(Next) > I.RowLevel(R)) {
            EXPECT_TRUE(I.RowPath(Next).starts_with(I.RowPath(R))) << I.RowPath(Next);
            ++Next;
        }
        if (Next < I.RowCount() && I.RowLevel(Next) == I.RowLevel(R) && !I.RowName(R).starts_with("[")) {
            EXPECT_TRUE(NameLess(I.RowName(R), I.RowName(Next))) << I.RowName(R) << " before " << I.RowName(Next);
        }
    }
    EXPECT_EQ(Sorted.front(), "Caption");
    EXPECT_EQ(F.Row("Slots[0]") + 3, F.Row("Slots[1]")) << "[0], its TextColor and Value, then [1]";

    F.Run(F.RightClick("Caption") + "menu \"Sort in declaration order\"\n");
    EXPECT_EQ(Paths(I), Declared);
}

// An object whose sub-object is itself: expanding all must stop.
class TNode : public TComponent {
    QELL_CLASS(TNode, TComponent)
    using TComponent::TComponent;
    int Value = 0;
};

const TTypeInfo& TypeInfoTNode();

QELL_DEFINE_CLASS_INFO(TNode, [](TPublisher<TNode>& P) {
    P.Field("Value", TypeInfoInteger, &TNode::Value, 0);
    P.Object("Next", TypeInfoTNode(), [](TNode& N) -> TNode& { return N; });
}, true)

const TTypeInfo& TypeInfoTNode()
{
    static const TTypeInfo Info = ClassTypeInfo("TNode", &TNode::StaticClassInfo);
    return Info;
}

TEST(InspectorView, ExpandAllOpensEveryRowToTheDeepestLevelAndCollapseAllClosesThem)
{
    TInspectorForm F;
    TPropertyInspector& I = *F.Inspector;
    int Walked = 0;
    ForEachPropertyPath({&F.Gadget}, &F.Designer, [&](const std::string&, const TInterfacePtr<TPropertyEditor>&) {
        ++Walked;
    });
    I.ExpandAll();
    EXPECT_EQ(I.RowCount(), Walked);
    for (int R = 0; R < I.RowCount(); ++R)
        EXPECT_EQ(I.RowExpanded(R), I.RowEditor(R)->GetAttributes().Contains(paSubProperties)) << I.RowPath(R);
    ASSERT_TRUE(I.SelectPath("Slots[1].Value"));

    F.Run(F.RightClick("Slots[1].Value") + "menu \"Collapse all\"\n");
    EXPECT_EQ(I.RowCount(), 10);
    EXPECT_EQ(SelectedPath(I), "Slots") << "the row that held the selection";
    F.Run(F.RightClick("Slots") + "menu \"Expand all\"\n");
    EXPECT_EQ(I.RowCount(), Walked);

    TNode Node(nullptr);
    Node.SetName("Node1");
    I.SetSelection({&Node});
    I.ExpandAll();
    // Name, Value and Next on each level, down to the deepest, whose Next does not open.
    EXPECT_EQ(I.RowCount(), 3 * (MaxPropertyDepth + 1));
    EXPECT_EQ(I.RowLevel(I.RowCount() - 1), MaxPropertyDepth);
    EXPECT_FALSE(I.RowExpanded(I.RowCount() - 1));
}

// A name cut off by its column shows whole in a hint, as a cut-off value does; a name
// that fits shows none.
TEST(InspectorView, AClippedNameShowsWholeInAHint)
{
    TInspectorForm F;
    TPropertyInspector& I = *F.Inspector;
    TCanvas Measure;
    Measure.Font = I.EffectiveFont();
    ASSERT_GT(Measure.TextWidth("Caption"), 36);
    ASSERT_LT(Measure.TextWidth("Tint"), 26);
    // The names start after the +/- boxes' room, some 16 pixels in: about 34 are left.
    I.SetNameWidth(50);
    F.Form.PaintAll();
    const auto Hover = [&](const char* Path, bool OnName) {
        const TRect R = OnName ? I.NameRect(F.Row(Path)) : I.ValueRect(F.Row(Path));
        F.Run("hover Inspector " + std::to_string(R.Right - 4) + " " + std::to_string(R.Top + 5) + "\n");
        return I.CellHint() ? I.CellHint()->Text() : std::string("(none)");
    };
    EXPECT_EQ(Hover("Caption", true), "Caption");
    EXPECT_EQ(Hover("Tint", true), "(none)");
    EXPECT_EQ(Hover("Caption", false), "(none)") << "an empty value";
    F.Gadget.Caption = std::string(60, 'W');
    I.Refresh();
    EXPECT_EQ(Hover("Caption", false), F.Gadget.Caption);
    EXPECT_EQ(Hover("Visible", true), "Visible");
    EXPECT_EQ(Hover("Count", false), "(none)");
}

// The ink of a text: pixels that are not the background.
int Ink(const TBitmap& B, const TRect& R, TColor Background)
{
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) N += B.Pixel(X, Y) != ColorToRGB(Background);
    return N;
}

// Text alone on a bitmap, regular or bold.
int TextInk(const std::string& Text, bool Bold)
{
    TBitmap B(200, 20, clWindow);
    TCanvas C(&B, {0, 0}, Rect(0, 0, 200, 20));
    C.Font = TFont();
    if (Bold) C.Font.SetStyle({fsBold});
    C.Brush.Color = clWindow;
    C.TextOut(2, 2, Text);
    return Ink(B, Rect(0, 0, 200, 20), clWindow);
}

TEST(InspectorView, ValuesThatDifferFromTheirDefaultsAreBold)
{
    ASSERT_LT(TextInk("1000", false), TextInk("1000", true)) << "bold ink is heavier";
    TInspectorForm F;
    TPropertyInspector& I = *F.Inspector;
    F.Gadget.Count = 1000;
    F.Gadget.Caption = "1000";
    F.Gadget.Font.SetHeight(-12);
    I.Refresh();
    I.SetSelectedRow(F.Row("Shape"));
    F.Form.PaintAll();
    const auto CellInk = [&](const char* Path) { return Ink(F.Form.Surface(), I.ValueRect(F.Row(Path)), clWindow); };
    EXPECT_EQ(CellInk("Count"), TextInk("1000", true));
    EXPECT_EQ(CellInk("Caption"), TextInk("1000", true));
    EXPECT_EQ(CellInk("Visible"), TextInk("True", false));
    EXPECT_EQ(CellInk("Font"), TextInk("(TFont)", true)) << "a changed sub-object stands out too";

    // Reset, it is regular again.
    F.Run("inspect Inspector Count\n" + F.RightClick("Count") + "menu \"Reset to default\"\nsnapshot " +
          ::testing::TempDir() + "bold.png\n");
    F.Form.PaintAll();
    EXPECT_EQ(CellInk("Count"), TextInk("0", false));
}

} // namespace
