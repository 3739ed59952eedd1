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
    // value and the edit keeps the text, to be mended.
    F.Run("inspect Inspector Tint\ntype Inspector \"Bluish\"\nkey Enter\nsnapshot " + ::testing::TempDir() +
          "message.png\nclick OK\n");
    EXPECT_EQ(F.Gadget.Tint, 0xFF);
    ASSERT_TRUE(F.Inspector->Editing());
    EXPECT_EQ(F.Inspector->InplaceEdit()->Text(), "Bluish");
    EXPECT_TRUE(F.Inspector->InplaceEdit()->Focused());
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

// Another object with the selected row's path keeps that row selected and in view, at
// the same place; one without it goes to the first row, at the top.
TEST(Inspector, AnotherSelectionKeepsTheSelectedRowInView)
{
    TInspectorForm F;
    TPropertyInspector& I = *F.Inspector;
    I.SetBounds(0, 0, 300, 8 * TPropertyInspector::RowHeight + 2 * TPropertyInspector::Border);
    TGadget Other(nullptr);
    Other.Slots.Add()->Value = 30;
    Other.Slots.Add()->Value = 40;
    I.ExpandAll();
    ASSERT_TRUE(I.SelectPath("Slots[1].Value"));
    const int Top = I.TopRow();
    ASSERT_GT(Top, 0);
    int Told = 0;
    I.OnSelectRow = [&](TObject*) { ++Told; };
    I.SetSelection({&Other});
    ASSERT_GE(I.SelectedRow(), 0);
    EXPECT_EQ(I.RowPath(I.SelectedRow()), "Slots[1].Value");
    EXPECT_EQ(I.RowValue(I.SelectedRow()), "40");
    EXPECT_EQ(I.TopRow(), Top);
    EXPECT_FALSE(I.RowRect(I.SelectedRow()).IsEmpty());
    EXPECT_GT(Told, 0);

    TBigGadget Third(nullptr); // no slots
    I.SetSelection({&Third});
    EXPECT_EQ(I.SelectedRow(), 0);
    EXPECT_EQ(I.TopRow(), 0);
}

// Pixels of Area on Surface, against Alone drawn by itself: how many differ.
int Differences(const TBitmap& Surface, const TRect& Area, const TBitmap& Alone, const TRect& AloneArea)
{
    int Wrong = 0;
    for (int Y = 0; Y < Area.Height(); ++Y)
        for (int X = 0; X < Area.Width(); ++X)
            Wrong += Surface.Pixel(Area.Left + X, Area.Top + Y) != Alone.Pixel(AloneArea.Left + X, AloneArea.Top + Y);
    return Wrong;
}

// A command line draws a value cell and a value list alone; they are the inspector's,
// pixel for pixel: every row's value cell at the inspector's default size (the selected
// row's narrower for its buttons), and the items of the open drop-down list.
TEST(Inspector, TheValueCellAndListDrawnAloneAreTheInspectors)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, TPropertyInspector::DefaultWidth, TPropertyInspector::DefaultHeight);
    auto* I = Place<TPropertyInspector>(Form, Form, 0, 0, TPropertyInspector::DefaultWidth,
                                        TPropertyInspector::DefaultHeight);
    TGadget Gadget(nullptr);
    Gadget.SetName("Gadget1");
    Gadget.Slots.Add();
    TDesignerProbe Designer;
    I->Designer = &Designer;
    I->SetSelection({&Gadget});
    I->Expand(I->FindRow("Font"));
    I->Expand(I->FindRow("Slots"));
    ASSERT_TRUE(I->SelectPath("Tint"));
    Form.PaintAll();
    for (int Row = 0; Row < I->RowCount(); ++Row) {
        const TRect Value = I->ValueRect(Row);
        const bool Selected = Row == I->SelectedRow();
        const int Buttons = Selected ? 2 * TPropertyInspector::RowHeight : 0;
        EXPECT_EQ(Value.Width(), TPropertyInspector::DefaultValueWidth - Buttons) << I->RowPath(Row);
        EXPECT_EQ(Value.Height(), TPropertyInspector::ValueHeight);
        TBitmap Alone(Value.Width(), Value.Height(), clBlack);
        TCanvas C(&Alone, {0, 0}, Rect(0, 0, Value.Width(), Value.Height()));
        TPropertyEditor* Editor = I->RowEditor(Row);
        PaintPropertyValueCell(Editor, C, TFont(), Rect(0, 0, Value.Width(), Value.Height()), Selected,
                               PropertyRowExpands(*Editor, PropertyPathLevel(I->RowPath(Row))));
        EXPECT_EQ(Differences(Form.Surface(), Value, Alone, Rect(0, 0, Value.Width(), Value.Height())), 0)
            << I->RowPath(Row);
    }

    I->OpenDropDown();
    const TListBox* Open = I->DropDownList();
    ASSERT_NE(Open, nullptr);
    Form.PaintAll();
    TForm AloneForm(nullptr);
    auto* List = new TPropertyValueList(&AloneForm);
    List->SetParent(&AloneForm);
    List->ShowValues(TInterfacePtr<TPropertyEditor>(I->RowEditor(I->SelectedRow())), TFont());
    ASSERT_EQ(List->Count(), Open->Count());
    // As wide as the open list's items, which leave room for its scroll bar.
    const int Width = Open->Width() - TScrollBar::DefaultWidth, Height = List->HeightNeeded(List->Count());
    AloneForm.SetBounds(0, 0, Width, Height);
    List->SetBounds(0, 0, Width, Height);
    List->SelectCurrentValue();
    AloneForm.SetActiveControl(List);
    AloneForm.PaintAll();
    EXPECT_EQ(List->ItemIndex(), Open->ItemIndex());
    EXPECT_EQ(List->Items(List->ItemIndex()), "clBtnFace");
    int Compared = 0;
    const TPoint O = Open->SurfaceOrigin();
    for (int Item = 0; Item < Open->Count(); ++Item) {
        const TRect Shown = Open->ItemRect(Item);
        if (Shown.IsEmpty() || Shown.Bottom > Open->Height() - 2) continue;
        ++Compared;
        const TRect OnForm = Rect(O.X + Shown.Left, O.Y + Shown.Top, O.X + Shown.Right, O.Y + Shown.Bottom);
        EXPECT_EQ(Differences(Form.Surface(), OnForm, AloneForm.Surface(), List->ItemRect(Item)), 0)
            << Open->Items(Item);
    }
    EXPECT_EQ(Compared, 12) << "the rows the open list shows";
}

} // namespace
