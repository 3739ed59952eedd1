// What the host's editors take from a user: typed text forgiven the white space around
// it (but text itself), colours as CSS hex, refusals that name what is taken and write
// nothing, and a row set back to its default.

#include <gtest/gtest.h>

#include "platform/designide/PropertyPaths.h"
#include "tests/designide/InspectorTesting.h"

using namespace inspecttest;

namespace {

// Another class with a Count, whose default differs from TGadget's.
class TDial : public TComponent {
    QELL_CLASS(TDial, TComponent)
    using TComponent::TComponent;
    int Count = 7;
};

QELL_DEFINE_CLASS_INFO(TDial, [](TPublisher<TDial>& P) {
    P.Field("Count", TypeInfoInteger, &TDial::Count, 7).Range(0, 1000);
})

// Setters that write the value and then, on an object told to fail, raise: a write that
// fails having done half its work.
class TFussy : public TComponent {
    QELL_CLASS(TFussy, TComponent)
    using TComponent::TComponent;
    bool Fails = false;
    int Count = 0;
    std::string Caption;
    void SetCount(int V)
    {
        Count = V;
        Check("Count " + std::to_string(V));
    }
    void SetCaption(const std::string& V)
    {
        Caption = V;
        Check("Caption " + V);
    }

private:
    void Check(const std::string& What) const
    {
        if (Fails) throw EPropertyError(What + " refused");
    }
};

QELL_DEFINE_CLASS_INFO(TFussy, [](TPublisher<TFussy>& P) {
    P.Ordinal("Count", TypeInfoInteger, [](const TFussy& F) { return F.Count; }, &TFussy::SetCount, 0);
    P.String("Caption", [](const TFussy& F) { return F.Caption; }, &TFussy::SetCaption, "");
})

// Parses its own names first and leaves the rest to the host's colour editor, as the
// package's colour editor does.
class TWebNameEditor : public TColorProperty {
public:
    using TColorProperty::TColorProperty;
    void SetValue(const std::string& Value) override
    {
        TColor C;
        if (IdentToIWColor(Value, C)) SetOrdValue(C);
        else TColorProperty::SetValue(Value);
    }
};

struct Editors : ::testing::Test {
    TGadget Gadget{nullptr};
    TDesignerProbe Designer;
    TInterfacePtr<TPropertyEditor> Editor(const char* Path, std::vector<TPersistent*> Selection = {})
    {
        if (Selection.empty()) Selection = {&Gadget};
        TInterfacePtr<TPropertyEditor> E = FindPropertyEditor(Selection, &Designer, Path);
        EXPECT_TRUE(E) << Path;
        return E;
    }
    // Sets Path from Text; the editor must report exactly one edit.
    void Set(const char* Path, const std::string& Text)
    {
        const int Before = Designer.Modifications;
        Editor(Path)->SetValue(Text);
        EXPECT_EQ(Designer.Modifications, Before + 1) << Path << " from '" << Text << "'";
    }
};

TEST_F(Editors, WhiteSpaceAroundAValueIsIgnoredButTextKeepsIt)
{
    Set("Count", " 12\t");
    EXPECT_EQ(Gadget.Count, 12);
    Set("Count", "\n$1F ");
    EXPECT_EQ(Gadget.Count, 31);
    Set("Shape", "\tshSquare  ");
    EXPECT_EQ(Gadget.Shape, shSquare);
    Set("Shapes", "  [shCircle, shTriangle] ");
    EXPECT_EQ(Gadget.Shapes, (TSet<TShape>{shCircle, shTriangle}));
    Set("Visible", " False ");
    EXPECT_FALSE(Gadget.Visible);
    Set("Tint", "  clRed  ");
    EXPECT_EQ(Gadget.Tint, clRed);
    Set("Paint", " 255 ");
    EXPECT_EQ(Gadget.Paint, 255);
    Set("Font.Height", " -13 ");
    EXPECT_EQ(Gadget.Font.Height(), -13);
    Set("Caption", "  Hello  ");
    EXPECT_EQ(Gadget.Caption, "  Hello  ");

    // Nothing but white space is no value; the range still holds after trimming.
    EXPECT_THROW(Editor("Count")->SetValue(" \t "), EConvertError);
    EXPECT_THROW(Editor("Count")->SetValue(" 1001 "), EPropertyError);
    EXPECT_THROW(Editor("Shape")->SetValue(" shOval "), EPropertyError);
    EXPECT_EQ(Gadget.Count, 31);
    EXPECT_EQ(Gadget.Shape, shSquare);
    EXPECT_EQ(Designer.Modifications, 9);
}

TEST_F(Editors, TheHostColourEditorTakesCssHexInRedGreenBlueOrder)
{
    const struct {
        const char* Text;
        TColor Stored;
    } Cases[] = {
        {"#FF6347", 0x004763FF}, {"#f00", 0x000000FF},    {"#1e90FF", 0x00FF901E}, {" #0A0 ", 0x0000AA00},
        {"#000000", clBlack},    {"#FFFFFF", clWhite},     {"clNavy", clNavy},      {"$00123456", 0x00123456},
        {"255", 255},            {"-16777201", -16777201},
    };
    for (const auto& C : Cases) {
        Set("Tint", C.Text);
        EXPECT_EQ(Gadget.Tint, C.Stored) << C.Text;
    }
    // Shown by name where the colour has one.
    Set("Tint", "#800000");
    EXPECT_EQ(Editor("Tint")->GetValue(), "clMaroon");
}

TEST_F(Editors, ARefusedColourNamesWhatIsTakenAndWritesNothing)
{
    Gadget.Tint = clTeal;
    const char* Refused[] = {"Bluish", "#12345", "#GGHHII", "#", "#FF63470", "##FF634", "#12 345", "FF6347", "\x1b[1m"};
    const std::string Takes = " is not a colour: type a name (Navy, clBtnFace), #RRGGBB, $00BBGGRR or a number";
    for (const char* Text : Refused) {
        try {
            Editor("Tint")->SetValue(Text);
            ADD_FAILURE() << Text << " was taken";
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), QuotedInput(Text) + Takes);
        }
    }
    try {
        Editor("Tint")->SetValue("  Bluish ");
        ADD_FAILURE() << "Bluish was taken";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message().rfind("'Bluish' is not a colour", 0), 0u) << E.Message();
    }
    EXPECT_EQ(Gadget.Tint, clTeal);
    EXPECT_EQ(Designer.Modifications, 0);
}

// An editor that parses first and falls back to the host's sees the trimmed text too,
// with one edit reported.
TEST_F(Editors, ADerivedColourEditorSeesTheTrimmedText)
{
    TWebNameEditor E(&Designer, 1);
    E.SetPropEntry(0, &Gadget, Gadget.ClassInfo().FindProperty("Paint"));
    TColor Navy = 0;
    ASSERT_TRUE(IdentToIWColor("Navy", Navy));
    E.SetValue("  Navy\t");
    EXPECT_EQ(Gadget.Paint, Navy);
    E.SetValue(" #FF6347 ");
    EXPECT_EQ(Gadget.Paint, 0x004763FF);
    EXPECT_EQ(IWColorToString(Gadget.Paint), "Tomato");
    EXPECT_EQ(Designer.Modifications, 2);
}

TEST_F(Editors, RevertSetsEachObjectToItsOwnDefaultAsOneEdit)
{
    TDial Dial{nullptr};
    Gadget.Count = 40;
    Dial.Count = 50;
    TInterfacePtr<TPropertyEditor> Count = Editor("Count", {&Gadget, &Dial});
    ASSERT_TRUE(Count->CanRevert());
    EXPECT_FALSE(Count->GetIsDefault());
    Count->Revert();
    EXPECT_EQ(Gadget.Count, 0);
    EXPECT_EQ(Dial.Count, 7);
    EXPECT_TRUE(Count->GetIsDefault());
    EXPECT_EQ(Designer.Modifications, 1);
    // What the designer's undo keeps, as for a typed value: each object's change.
    ASSERT_EQ(Designer.Changes.size(), 2u);
    EXPECT_EQ(Designer.Changes[0].Instance, &Gadget);
    EXPECT_EQ(Designer.Changes[0].Before, TPropValue(int64_t{40}));
    EXPECT_EQ(Designer.Changes[0].After, TPropValue(int64_t{0}));
    EXPECT_EQ(Designer.Changes[1].Instance, &Dial);
    EXPECT_EQ(Designer.Changes[1].Before, TPropValue(int64_t{50}));
    EXPECT_EQ(Designer.Changes[1].After, TPropValue(int64_t{7}));
    Designer.Changes.clear();
    Dial.Count = 9;
    Count->Revert();
    ASSERT_EQ(Designer.Changes.size(), 1u) << "the object already at its default has no change";
    EXPECT_EQ(Designer.Changes[0].Instance, &Dial);
    EXPECT_EQ(Designer.Modifications, 2);
    Designer.Changes.clear();

    Gadget.Caption = "Kept?";
    Gadget.Tint = clRed;
    Gadget.Shapes = {shSquare};
    Gadget.Font.SetHeight(-20);
    for (const char* Path : {"Caption", "Tint", "Shapes", "Font.Height"}) {
        TInterfacePtr<TPropertyEditor> E = Editor(Path);
        EXPECT_FALSE(E->GetIsDefault()) << Path;
        E->Revert();
        EXPECT_TRUE(E->GetIsDefault()) << Path;
    }
    EXPECT_EQ(Gadget.Caption, "");
    EXPECT_EQ(Gadget.Tint, clBtnFace);
    EXPECT_TRUE(Gadget.Shapes.Empty());
    EXPECT_EQ(Designer.Modifications, 6);
    ASSERT_EQ(Designer.Changes.size(), 4u);
    EXPECT_EQ(Designer.Changes[0].Before, TPropValue(std::string("Kept?")));
    EXPECT_EQ(Designer.Changes[0].After, TPropValue(std::string()));
    EXPECT_EQ(Designer.Changes[3].Instance, &Gadget.Font);
}

// A write that fails on one object of the selection is undone on every object written
// before it and on that one, whose setter may have half done its work; the designer
// hears of nothing, and the caller gets the write's error, not one from setting back.
// Typed numbers, typed text and a reset alike.
TEST_F(Editors, AFailedWriteSetsEveryObjectBackAndTellsTheDesignerNothing)
{
    TFussy A{nullptr}, B{nullptr};
    A.Count = 1;
    B.Count = 2;
    A.Caption = "a";
    B.Caption = "b";
    B.Fails = true;
    const auto Refused = [](const std::function<void()>& Write, const std::string& Message) {
        try {
            Write();
            ADD_FAILURE() << "no error; want " << Message;
        } catch (const EPropertyError& E) {
            EXPECT_EQ(E.Message(), Message);
        }
    };
    Refused([&] { Editor("Count", {&A, &B})->SetValue("13"); }, "Count 13 refused");
    EXPECT_EQ(A.Count, 1);
    EXPECT_EQ(B.Count, 2);
    Refused([&] { Editor("Caption", {&A, &B})->SetValue("c"); }, "Caption c refused");
    EXPECT_EQ(A.Caption, "a");
    EXPECT_EQ(B.Caption, "b");
    Refused([&] { Editor("Count", {&A, &B})->Revert(); }, "Count 0 refused");
    EXPECT_EQ(A.Count, 1);
    EXPECT_EQ(B.Count, 2);
    EXPECT_EQ(Designer.Modifications, 0);
    EXPECT_TRUE(Designer.Changes.empty());

    // The same writes on objects that take them are one edit each.
    B.Fails = false;
    Editor("Count", {&A, &B})->SetValue("13");
    Editor("Caption", {&A, &B})->SetValue("c");
    Editor("Count", {&A, &B})->Revert();
    EXPECT_EQ(A.Count + B.Count, 0);
    EXPECT_EQ(A.Caption + B.Caption, "cc");
    EXPECT_EQ(Designer.Modifications, 3);
    EXPECT_EQ(Designer.Changes.size(), 6u);
}

TEST_F(Editors, ARowWithoutADefaultIsNotReverted)
{
    Gadget.SetName("Gadget1");
    for (const char* Path : {"Name", "Font", "Slots"}) {
        TInterfacePtr<TPropertyEditor> E = Editor(Path);
        EXPECT_FALSE(E->CanRevert()) << Path;
        EXPECT_THROW(E->Revert(), EPropertyError) << Path;
    }
    EXPECT_EQ(Gadget.Name(), "Gadget1");
    EXPECT_EQ(Designer.Modifications, 0);
}

} // namespace
