#include "platform/toolkit/resources/FormReader.h"

#include <gtest/gtest.h>

#include "tests/toolkit/FormTestClasses.h"

using namespace formtest;

namespace {

class FormReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestClasses();
        LoadedLog().clear();
    }

    TTestComponent& Comp(const char* Name) { return As<TTestComponent>(*Root.FindComponent(Name)); }

    TTestRoot Root{nullptr};
};

const char* const Sample = R"(object Main: TTestRoot
  Caption = 'It''s the root'
  Width = 300
  object Panel1: TTestPanel
    Left = -11
    Caption = 'a' + 'b'#39'c'
    object Label1: TTestLabel
      Caption = 'Hi'
    end
    object Inner: TTestComponent
      Number = $FF
    end
  end
  // a comment between objects
  object Data: TTestComponent
    Number = -9223372036854775808
    Text = 'x'#10'y'
    Kind = tkTwo
    Flags = [fA, fC]
    Font.Height = -11
  end
  object Empty: TTestComponent
    Flags = []
    Number = $FFFFFFFF
  end
end
)";

TEST_F(FormReaderTest, BuildsTheComponentsWithOwnersParentsAndValues)
{
    ReadComponentRes(Root, Sample, {});
    EXPECT_EQ(Root.Name(), "Main");
    EXPECT_EQ(Root.Caption, "It's the root");
    EXPECT_EQ(Root.Width(), 300);
    ASSERT_EQ(Root.ComponentCount(), 5);

    auto& Panel = As<TTestPanel>(*Root.FindComponent("Panel1"));
    auto& Label = As<TTestLabel>(*Root.FindComponent("Label1"));
    EXPECT_EQ(Panel.Parent(), &Root);
    EXPECT_EQ(Label.Parent(), &Panel);
    EXPECT_EQ(Label.Owner(), &Root);
    EXPECT_EQ(Panel.Left(), -11);
    EXPECT_EQ(Panel.Caption, "ab'c");
    EXPECT_EQ(Label.Caption, "Hi");
    EXPECT_EQ(Comp("Inner").Owner(), &Root);
    EXPECT_EQ(Comp("Inner").Number, 255);

    auto& Data = Comp("Data");
    EXPECT_EQ(Data.Number, INT64_MIN);
    EXPECT_EQ(Data.Text, "x\ny");
    EXPECT_EQ(Data.Kind, tkTwo);
    EXPECT_EQ(Data.Flags, (TSet<TFlag>{fA, fC}));
    EXPECT_EQ(Data.Font.Height(), -11);
    EXPECT_TRUE(Comp("Empty").Flags.Empty());
    // Hexadecimal is a 32-bit pattern, as in the runtime's integer syntax.
    EXPECT_EQ(Comp("Empty").Number, -1);
}

TEST_F(FormReaderTest, NamesClassesAndPropertiesIgnoreCase)
{
    ReadComponentRes(Root, "OBJECT main: ttestroot caption = 'c' Object d: TTESTCOMPONENT FONT.height = 4 END end", {});
    EXPECT_EQ(Root.Caption, "c");
    EXPECT_EQ(Comp("d").Font.Height(), 4);
}

TEST_F(FormReaderTest, LoadedRunsChildrenFirstThenRoot)
{
    ReadComponentRes(Root, Sample, {});
    EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"Label1", "Inner", "Panel1", "Data", "Empty", "Main"}));
}

TEST_F(FormReaderTest, BindsFieldsByName)
{
    TTestPanel* Panel = nullptr;
    TTestComponent* Data = nullptr;
    TFormBindings B;
    B.Fields["Panel1"] = [&](TComponent* C) { return (Panel = dynamic_cast<TTestPanel*>(C)) != nullptr; };
    B.Fields["data"] = [&](TComponent* C) { return (Data = dynamic_cast<TTestComponent*>(C)) != nullptr; };
    ReadComponentRes(Root, Sample, B);
    EXPECT_EQ(Panel, Root.FindComponent("Panel1"));
    EXPECT_EQ(Data, Root.FindComponent("Data"));
}

TEST_F(FormReaderTest, BindsHandlersAndRecordsThem)
{
    std::vector<std::string> Fired;
    TFormBindings B;
    B.Handlers["DataFire"] = TNotifyEvent([&](TObject*) { Fired.push_back("fire"); });
    B.Handlers["PanelClick"] = TNotifyEvent([&](TObject*) { Fired.push_back("click"); });
    TBoundEvents Events;
    ReadComponentRes(Root,
                     "object M: TTestRoot\n onclick = panelclick\n"
                     " object D: TTestComponent\n OnFire = DataFire\n end\nend",
                     B, &Events);
    ASSERT_TRUE(Root.OnClick);
    Root.OnClick(&Root);
    Comp("D").OnFire(nullptr);
    EXPECT_EQ(Fired, (std::vector<std::string>{"click", "fire"}));
    // Recorded as the class and the form spell them, for the writer.
    ASSERT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[0].Instance, &Root);
    EXPECT_EQ(Events[0].Property, "OnClick");
    EXPECT_EQ(Events[0].Handler, "PanelClick");
    EXPECT_EQ(Events[1].Instance, &Comp("D"));
    EXPECT_EQ(Events[1].Property, "OnFire");
    EXPECT_EQ(Events[1].Handler, "DataFire");
}

// A method binds by its own signature: one of the wrong shape is refused by name.
TEST_F(FormReaderTest, HandlersBindToMethodsOfTheirOwnShape)
{
    struct TOwner {
        int Clicks = 0;
        void Click(TObject*) { ++Clicks; }
        void Move(TObject*, TShiftState, int, int) {}
    } Owner;
    TFormBindings B;
    B.Handlers["Click"] = Handler(&Owner, &TOwner::Click);
    B.Handlers["Move"] = Handler(&Owner, &TOwner::Move);
    ReadComponentRes(Root, "object M: TTestRoot OnClick = Click OnMouseMove = Move end", B);
    Root.OnClick(&Root);
    EXPECT_EQ(Owner.Clicks, 1);
    TTestRoot Other(nullptr);
    EXPECT_THROW(ReadComponentRes(Other, "object M: TTestRoot OnClick = Move end", B), EReadError);
}

TEST_F(FormReaderTest, RootTakesANumberedNameWhenItsOwnerHasTheNameAlready)
{
    TTestPanel Owner(nullptr);
    TTestComponent Other(&Owner);
    Other.SetName("Main");
    auto* R = new TTestRoot(&Owner);
    ReadComponentRes(*R, "object Main: TTestRoot end", {});
    EXPECT_EQ(R->Name(), "Main_1");
}

// Every way a read can fail: the message names the line and the word, and the root is
// left as it was, with no components, no dangling fields and no bindings.
struct TBadResource {
    const char* Text;
    const char* Expected; // a part of the message
};

class FormReaderErrorTest : public FormReaderTest, public ::testing::WithParamInterface<TBadResource> {};

TEST_P(FormReaderErrorTest, NamesTheLineAndWordAndLeavesNoHalfBuiltForm)
{
    Root.SetName("Before");
    TTestPanel* Field = nullptr;
    TFormBindings B;
    B.Fields["P"] = [&](TComponent* C) { return (Field = dynamic_cast<TTestPanel*>(C)) != nullptr || !C; };
    B.Handlers["Click"] = TNotifyEvent([](TObject*) {});
    B.Handlers["Move"] = TMouseMoveEvent([](TObject*, TShiftState, int, int) {});
    TBoundEvents Events{{&Root, "OnClick", "Earlier"}};
    try {
        ReadComponentRes(Root, GetParam().Text, B, &Events);
        FAIL() << "no error for: " << GetParam().Text;
    } catch (const EReadError& E) {
        EXPECT_NE(std::string(E.what()).find(GetParam().Expected), std::string::npos)
            << "message: " << E.what();
    }
    EXPECT_EQ(Root.ComponentCount(), 0);
    EXPECT_EQ(Root.ControlCount(), 0);
    EXPECT_EQ(Field, nullptr);
    EXPECT_EQ(Root.Name(), "Before");
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Handler, "Earlier");
    EXPECT_TRUE(LoadedLog().empty());
}

// A valid prefix that creates P, a panel with a child, before the fault on line 4.
#define PREFIX "object M: TTestRoot\n object P: TTestPanel\n  object L: TTestLabel end\n"

INSTANTIATE_TEST_SUITE_P(
    Errors, FormReaderErrorTest,
    ::testing::Values(
        TBadResource{PREFIX " object X: TNoSuch end end end", "line 4: unknown class 'TNoSuch'"},
        TBadResource{PREFIX " Colour = 1 end end", "line 4: unknown property 'Colour' of TTestPanel"},
        TBadResource{PREFIX " Caption = 12 end end", "line 4: Caption: a quoted string was expected"},
        TBadResource{PREFIX " object D: TTestComponent Kind = tkThree end end end", "line 4: Kind: 'tkThree' is not a valid value"},
        TBadResource{PREFIX " object D: TTestComponent Flags = [fA, fZ] end end end", "line 4: Flags: 'fZ' is not a valid value"},
        TBadResource{PREFIX " object D: TTestComponent Limited = 101 end end end", "line 4: Limited: 101 is out of range"},
        TBadResource{PREFIX " OnClick = Clack end end", "line 4: unknown handler 'Clack'"},
        TBadResource{PREFIX " OnClick = Move end end", "line 4: handler 'Move' does not fit OnClick"},
        TBadResource{PREFIX " OnClick = 'Click' end end", "line 4: handler name expected for 'OnClick'"},
        TBadResource{PREFIX " object l: TTestLabel end end end", "line 4: duplicate component name 'l'"},
        TBadResource{PREFIX " object m: TTestComponent end end end", "line 4: duplicate component name 'm'"},
        // CR, LF and CR LF each end a line, a comment too.
        TBadResource{"object M: TTestRoot\r object P: TTestPanel // x\r  object X: TNoSuch end end end",
                     "line 3: unknown class 'TNoSuch'"},
        TBadResource{"object M: TTestRoot\r\n object P: TTestPanel\n\r  object X: TNoSuch end end end",
                     "line 4: unknown class 'TNoSuch'"},
        TBadResource{PREFIX " end\n", "line 5: 'end' expected but found end of text"},
        TBadResource{PREFIX " end end\nobject", "line 5: text after the end of the root object: 'object'"},
        TBadResource{PREFIX " Caption = 'open\n end end", "line 4: unterminated string"},
        TBadResource{PREFIX " Caption 'x' end end", "line 4: '=' expected after 'Caption'"},
        TBadResource{PREFIX " Caption = end end", "line 4: Caption: a quoted string was expected"},
        TBadResource{PREFIX " Left = 99999999999999999999 end end", "line 4: invalid or out of range integer '99999"},
        TBadResource{PREFIX " Left = $123456789 end end", "line 4: invalid or out of range integer '$123456789'"},
        TBadResource{PREFIX " Left = 12px end end", "line 4: invalid or out of range integer '12px'"},
        TBadResource{PREFIX " Caption = 'a\xff' end end", "line 4: invalid UTF-8 in string"},
        TBadResource{PREFIX " Caption = #0 end end", "line 4: invalid character code '#0'"},
        TBadResource{PREFIX " Caption = 'a' + end end", "line 4: string expected after '+'"},
        TBadResource{PREFIX " Left = ? end end", "line 4: unexpected character '?'"},
        TBadResource{PREFIX " Left = 40000 end end", "line 4: Left: 40000 is out of range (-32767..32767)"},
        // A colour is a toolkit name or a value that names a colour: plain, or a named
        // system colour.
        TBadResource{PREFIX " Color = $80000000 end end",
                     "line 4: Color: '$80000000' is not a valid TColor: write a name (clNavy, clBtnFace) or $00BBGGRR"},
        TBadResource{PREFIX " Color = $FF0000FF end end",
                     "line 4: Color: '$FF0000FF' is not a valid TColor: write a name (clNavy, clBtnFace) or $00BBGGRR"},
        TBadResource{PREFIX " Color = Navy end end",
                     "line 4: Color: 'Navy' is not a valid TColor: write a name (clNavy, clBtnFace) or $00BBGGRR"},
        TBadResource{PREFIX " object D: TTestComponent Font = 3 end end end", "line 4: Font: an object takes"},
        TBadResource{PREFIX " object D: TTestComponent Font.Size = 3 end end end",
                     "line 4: unknown property 'Font.Size' of TTestComponent"},
        TBadResource{PREFIX " Left.Top = 3 end end", "line 4: unknown property 'Left.Top' of TTestPanel"},
        TBadResource{PREFIX " object D: TTestComponent Items = < item Size = 1 end > end end end",
                     "line 4: unknown property 'Size' of Items[0]"},
        TBadResource{PREFIX " object D: TTestComponent Items = < item end thing > end end end",
                     "line 4: 'item' or '>' expected in 'Items' but found 'thing'"},
        TBadResource{PREFIX " object D: TTestComponent Font = < > end end end",
                     "line 4: Font: items in '<' '>' are for collections only"},
        TBadResource{PREFIX " Left = [fA fB] end end", "line 4: ',' or ']' expected"},
        TBadResource{PREFIX " object B: TTestLabel object C: TTestLabel end end end end",
                     "line 4: control 'C' cannot be placed on 'B'"},
        TBadResource{PREFIX " object D: TTestComponent object C: TTestLabel end end end end",
                     "line 4: control 'C' cannot be placed on 'D'"},
        TBadResource{"object M: TTestRoot\n object P: TTestComponent end end", "line 2: field 'P' does not take a TTestComponent"},
        TBadResource{"object M: TTestRoot\n object Q: TTestPanel end\nend", "line 3: field 'P' has no object in the resource"},
        TBadResource{"object M: TTestPanel end", "line 1: class 'TTestPanel' does not match the root's class TTestRoot"},
        TBadResource{"\n\nobject M: TTestRoot object X: TTestRoot end end", "line 3: class 'TTestRoot' cannot be created"},
        TBadResource{"", "line 1: 'object' expected but found end of text"}));

// The root's own values are the caller's: a read that fails puts them back.
TEST_F(FormReaderTest, AFailedReadLeavesTheRootsValuesAsTheyWere)
{
    Root.Caption = "before";
    Root.SetBounds(1, 2, 30, 40);
    Root.Font().SetHeight(-9);
    EXPECT_THROW(ReadComponentRes(Root,
                                  "object M: TTestRoot\n Caption = 'after'\n Width = 100\n Font.Height = -20\n"
                                  " Font.Name = 'Other'\n Caption = 'again'\n Nope = 1\nend",
                                  {}),
                 EReadError);
    EXPECT_EQ(Root.Caption, "before");
    EXPECT_EQ(Root.BoundsRect(), Bounds(1, 2, 30, 40));
    EXPECT_EQ(Root.Font().Height(), -9);
    EXPECT_EQ(Root.Font().Name(), TFont::DefaultName);
}

TEST_F(FormReaderTest, NestingDeeperThanTheLimitIsAnError)
{
    std::string Text = "object M: TTestRoot\n";
    for (int I = 0; I < 100; ++I) Text += "object P" + std::to_string(I) + ": TTestPanel\n";
    for (int I = 0; I < 100; ++I) Text += "end\n";
    Text += "end\n";
    try {
        ReadComponentRes(Root, Text, {});
        FAIL() << "no error";
    } catch (const EReadError& E) {
        // The root is level 1, so the 64th nested panel (P63, on line 65) is too deep.
        EXPECT_STREQ(E.what(), "line 65: objects nested deeper than 64 levels");
    }
    EXPECT_EQ(Root.ComponentCount(), 0);
}

TEST_F(FormReaderTest, EveryTruncationFailsCleanlyOrReadsTheWhole)
{
    std::string Text = Sample;
    // Cutting anywhere before the root's final "end" must fail and leave nothing behind.
    size_t LastEnd = Text.rfind("end");
    for (size_t Cut = 0; Cut < LastEnd; ++Cut) {
        TTestRoot R(nullptr);
        EXPECT_THROW(ReadComponentRes(R, std::string_view(Text).substr(0, Cut), {}), EReadError) << Cut;
        EXPECT_EQ(R.ComponentCount(), 0) << Cut;
    }
}

TEST_F(FormReaderTest, BytesOutsideStringsAreReportedNotSkipped)
{
    std::string Text = "object M: TTestRoot\n";
    Text += '\0';
    Text += " end";
    try {
        ReadComponentRes(Root, Text, {});
        FAIL() << "no error";
    } catch (const EReadError& E) {
        EXPECT_STREQ(E.what(), "line 2: unexpected character '\\x00'");
    }
}

} // namespace
