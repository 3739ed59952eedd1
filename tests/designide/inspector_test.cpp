// The property inspector driven as a user drives it: rows, typing, the value list, the
// dialog button, expansion, several objects, and its pixels.

#include <gtest/gtest.h>

#include "platform/designide/PropertyPaths.h"
#include "tests/designide/InspectorTesting.h"

using namespace inspecttest;

namespace {

TEST(Inspector, ShowsEachPropertyThroughItsEditorAndExpandsSubObjects)
{
    TInspectorForm F;
    TPropertyInspector& I = *F.Inspector;
    std::vector<std::string> Rows;
    for (int R = 0; R < I.RowCount(); ++R) Rows.push_back(I.RowName(R) + "=" + I.RowValue(R));
    EXPECT_EQ(Rows, (std::vector<std::string>{"Name=Gadget1", "Caption=", "Count=0", "Shape=shCircle", "Shapes=[]",
                                              "Visible=True", "Tint=clBtnFace", "Paint=16777215", "Font=(TFont)",
                                              "Slots=(TSlots)"}));
    // No package claims TIWColor here: the host's integer editor serves it.
    EXPECT_EQ(I.RowEditor(F.Row("Paint"))->ClassName(), "TIntegerProperty");
    EXPECT_EQ(I.RowEditor(F.Row("Tint"))->ClassName(), "TColorProperty");
    EXPECT_EQ(I.RowEditor(F.Row("Name"))->ClassName(), "TComponentNameProperty");

    ASSERT_TRUE(I.SelectPath("Slots[1].Value"));
    EXPECT_EQ(I.RowValue(I.SelectedRow()), "2");
    EXPECT_EQ(I.RowLevel(I.SelectedRow()), 2);
    EXPECT_TRUE(I.RowExpanded(F.Row("Slots")));
    EXPECT_TRUE(I.SelectPath("Font.Height"));
    EXPECT_EQ(I.RowValue(I.SelectedRow()), "-11");
    EXPECT_FALSE(I.SelectPath("Font.Size"));

    // Left closes what holds the selection and moves to it; Right opens it again.
    I.SetFocus();
    F.Form.HandleKeyDown(vkLeft, {});
    EXPECT_EQ(I.RowPath(I.SelectedRow()), "Font");
    F.Form.HandleKeyDown(vkLeft, {});
    EXPECT_FALSE(I.RowExpanded(F.Row("Font")));
    EXPECT_EQ(F.Row("Font.Height"), -1);
    F.Form.HandleKeyDown(vkRight, {});
    EXPECT_NE(F.Row("Font.Height"), -1);
}

// A command line reaches properties by the inspector's paths: every row, expanded all
// the way, is found again by its path (in any case) with the same editor class and
// value, and nothing else is.
TEST(Inspector, PathsReachTheSameRowsAsTheInspector)
{
    TInspectorForm F;
    TPropertyInspector& I = *F.Inspector;
    for (int R = 0; R < I.RowCount(); ++R)
        if (I.RowEditor(R)->GetAttributes().Contains(paSubProperties) && !I.RowExpanded(R)) I.Expand(R);
    std::vector<std::string> Shown, Walked;
    for (int R = 0; R < I.RowCount(); ++R) Shown.push_back(I.RowPath(R) + "=" + I.RowValue(R));
    ForEachPropertyPath({&F.Gadget}, &F.Designer, [&](const std::string& Path, const TInterfacePtr<TPropertyEditor>& E) {
        Walked.push_back(Path + "=" + E->GetVisualValue());
        std::string Upper = Path;
        for (char& C : Upper) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
        const TInterfacePtr<TPropertyEditor> Found = FindPropertyEditor({&F.Gadget}, &F.Designer, Upper);
        ASSERT_TRUE(Found) << Path;
        EXPECT_EQ(Found->ClassName(), E->ClassName()) << Path;
        EXPECT_EQ(Found->GetValue(), E->GetValue()) << Path;
    });
    EXPECT_EQ(Walked, Shown);
    EXPECT_GT(Shown.size(), 15u);
    for (const char* Missing : {"", "Font.", ".Font", "Font..Height", "Slots[2].Value", "Slots[0", "Slots.[0]",
                                "Caption.Length", "Nothing"})
        EXPECT_FALSE(FindPropertyEditor({&F.Gadget}, &F.Designer, Missing)) << Missing;
}

TEST(Inspector, TypedValuesAreSetByEnterAndErrorsChangeNothing)
{
    TInspectorForm F;
    F.Run("inspect Inspector Count\ntype Inspector \"42\"\nkey Enter\n"
          "inspect Inspector Caption\ntype Inspector \"Hello\"\nkey Tab\n" // leaving the field sets it too
          "inspect Inspector Tint\ntype Inspector \"$000000FF\"\nkey Enter\n"
          "inspect Inspector Shape\ntype Inspector \"shsquare\"\nkey Enter\n"
          "inspect Inspector Shapes\ntype Inspector \"shCircle, shTriangle\"\nkey Enter\n"
          "inspect Inspector Count\ntype Inspector \"43\"\nkey Escape\n");
    EXPECT_EQ(F.Gadget.Count, 42);
    EXPECT_EQ(F.Gadget.Caption, "Hello");
    EXPECT_EQ(F.Gadget.Tint, 0xFF);
    EXPECT_EQ(F.Gadget.Shape, shSquare);
    EXPECT_EQ(F.Gadget.Shapes, (TSet<TShape>{shCircle, shTriangle}));
    EXPECT_EQ(F.Designer.Modifications, 5) << "one report per edit, none for Escape";
    EXPECT_FALSE(F.Inspector->Editing());

    // A rejected text: a message box says why (its OK closes it), the property keeps its
    // value and the edit shows the value again.
    F.Run("inspect Inspector Tint\ntype Inspector \"Bluish\"\nkey Enter\nsnapshot " + ::testing::TempDir() +
          "message.png\nclick OK\n");
    EXPECT_EQ(F.Gadget.Tint, 0xFF);
    ASSERT_TRUE(F.Inspector->Editing());
    EXPECT_EQ(F.Inspector->InplaceEdit()->Text(), "clRed");
    EXPECT_EQ(F.Designer.Modifications, 5);
    F.Run("inspect Inspector Count\ntype Inspector \"5000\"\nkey Enter\nclick OK\nkey Escape\n");
    EXPECT_EQ(F.Gadget.Count, 42) << "out of the property's range";
}

TEST(Inspector, TheValueListSetsTheChosenItem)
{
    TInspectorForm F;
    F.Run("inspect Inspector Tint\ndropdown Inspector\nchoose Inspector \"clMenuHighlight\"\n");
    EXPECT_EQ(F.Gadget.Tint, clMenuHighlight);
    EXPECT_EQ(F.Inspector->DropDownList(), nullptr);
    // Keys: open with Alt+Down, move, choose with Enter; Escape closes without a change.
    F.Run("inspect Inspector Shape\nkey Alt+Down\nkey Down\nkey Enter\n");
    EXPECT_EQ(F.Gadget.Shape, shSquare);
    F.Run("inspect Inspector Shape\nkey Alt+Down\nkey End\nkey Escape\n");
    EXPECT_EQ(F.Gadget.Shape, shSquare);
    EXPECT_EQ(F.Inspector->DropDownList(), nullptr);
    // Typing in the list jumps to the first name that starts so.
    F.Run("inspect Inspector Tint\ndropdown Inspector\ntext \"clsk\"\nkey Enter\n");
    EXPECT_EQ(F.Gadget.Tint, clSkyBlue);
    EXPECT_EQ(F.Designer.Modifications, 3);
}

TEST(Inspector, SeveralObjectsShowWhatTheyShareAndAreWrittenTogether)
{
    TInspectorForm F;
    TGadget Other(nullptr);
    Other.Count = 7;
    F.Inspector->SetSelection({&F.Gadget, &Other});
    EXPECT_EQ(F.Row("Name"), -1) << "a name is one object's";
    EXPECT_EQ(F.Inspector->RowValue(F.Row("Count")), "") << "they disagree";
    EXPECT_EQ(F.Inspector->RowValue(F.Row("Tint")), "clBtnFace");
    F.Run("inspect Inspector Count\ntype Inspector \"9\"\nkey Enter\n");
    EXPECT_EQ(F.Gadget.Count, 9);
    EXPECT_EQ(Other.Count, 9);
    EXPECT_EQ(F.Inspector->RowValue(F.Row("Count")), "9");
    EXPECT_EQ(F.Designer.Modifications, 1);
}

} // namespace
