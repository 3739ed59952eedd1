#include <gtest/gtest.h>

#include "platform/toolkit/resources/FormReader.h"
#include "tests/toolkit/FormTestClasses.h"

using namespace formtest;

namespace {

class FormWriterTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    TFormBindings Bindings()
    {
        TFormBindings B;
        B.Handlers["RootClick"] = TNotifyEvent([](TObject*) {});
        B.Handlers["DataFire"] = TNotifyEvent([](TObject*) {});
        return B;
    }
};

// Written as the writer writes: two-space indentation, defaults left out, ancestors'
// properties first in declaration order, a sub-object's where it is declared, events
// last.
const char* const Canonical = R"(object Main: TTestRoot
  Left = -5
  Width = 300
  Caption = 'It''s'#9'tabbed'#13#10'and broken'
  OnClick = RootClick
  object Panel1: TTestPanel
    TabOrder = 0
    Caption = 'Panel'
    object Label1: TTestLabel
      Width = 40
    end
  end
  object Inner: TTestComponent
    Number = 7
  end
  object Data: TTestComponent
    Number = -9223372036854775808
    Text = 'Grüße'
    Kind = tkTwo
    Flags = [fA, fC]
    Font.Height = -12
    Font.Color = clRed
    Items = <
      item
        Caption = 'first'
      end
      item
      end
      item
        Caption = 'third'
        Color = $00123456
      end>
    OnFire = DataFire
  end
  object TTestComponent
    Limited = 100
  end
end
)";

TEST_F(FormWriterTest, WritesWhatItReadsTheSameWay)
{
    TTestRoot Root(nullptr);
    TBoundEvents Events;
    ReadComponentRes(Root, Canonical, Bindings(), &Events);
    EXPECT_EQ(WriteComponentRes(Root, &Events), Canonical);
}

TEST_F(FormWriterTest, ReadingTheWrittenTextRebuildsTheSameComponents)
{
    TTestRoot First(nullptr);
    TBoundEvents Events;
    ReadComponentRes(First, Canonical, Bindings(), &Events);
    auto& Data = As<TTestComponent>(*First.FindComponent("Data"));
    Data.Text = "quote ' and ''double'' and \x01 control";
    Data.Flags = {fB};
    Data.Font.SetColor(0x00345678); // no name: written as $00345678
    auto* Extra = new TTestLabel(&First);
    Extra->SetName("Extra");
    Extra->SetParent(&As<TTestPanel>(*First.FindComponent("Panel1")));

    const std::string Text = WriteComponentRes(First, &Events);
    EXPECT_NE(Text.find("Font.Color = $00345678"), std::string::npos) << Text;
    TTestRoot Second(nullptr);
    TBoundEvents Events2;
    ReadComponentRes(Second, Text, Bindings(), &Events2);
    EXPECT_EQ(WriteComponentRes(Second, &Events2), Text);

    ASSERT_EQ(Second.ComponentCount(), First.ComponentCount());
    for (int I = 0; I < First.ComponentCount(); ++I) {
        TComponent* A = First.Components(I);
        // Written nested by parent, so creation order may differ from the first root's.
        TComponent* B = A->Name().empty() ? Second.Components(Second.ComponentCount() - 1)
                                          : Second.FindComponent(A->Name());
        ASSERT_NE(B, nullptr) << A->Name();
        EXPECT_EQ(B->ClassName(), A->ClassName());
        if (auto* CA = dynamic_cast<TControl*>(A)) {
            auto* CB = dynamic_cast<TControl*>(B);
            ASSERT_NE(CB, nullptr);
            std::string ParentA = CA->Parent() == &First ? "root" : CA->Parent()->Name();
            std::string ParentB = CB->Parent() == &Second ? "root" : CB->Parent()->Name();
            EXPECT_EQ(ParentA, ParentB) << A->Name();
            EXPECT_EQ(CB->Width(), CA->Width());
        }
    }
    auto& Data2 = As<TTestComponent>(*Second.FindComponent("Data"));
    EXPECT_EQ(Data2.Text, Data.Text);
    EXPECT_EQ(Data2.Flags, Data.Flags);
    EXPECT_EQ(Data2.Number, Data.Number);
    EXPECT_EQ(Data2.Font, Data.Font);
    ASSERT_EQ(Data2.Items.Count(), 3);
    EXPECT_EQ(Data2.Items.Items(2)->Caption, "third");
    EXPECT_EQ(Data2.Items.Items(2)->Color, 0x123456);
    EXPECT_EQ(Second.Caption, First.Caption);
}

// Empty values that are not the default must still be written so that they read back.
class TTestEmpties : public TComponent {
    QELL_CLASS(TTestEmpties, TComponent)
    using TComponent::TComponent;
    std::string S = "x";
    TSet<TFlag> Z{fA};
};

QELL_DEFINE_CLASS_INFO(TTestEmpties, [](TPublisher<TTestEmpties>& P) {
    P.String(
        "S", [](const TTestEmpties& C) { return C.S; }, [](TTestEmpties& C, const std::string& V) { C.S = V; }, "x");
    P.Field("Z", TypeInfoTFlags, &TTestEmpties::Z, TSet<TFlag>{fA});
}, true)

TEST_F(FormWriterTest, EmptyStringsAndEmptySetsStayReadable)
{
    RegisterClass(TTestEmpties::StaticClassInfo());
    TTestRoot Root(nullptr);
    auto* E = new TTestEmpties(&Root);
    E->SetName("E");
    E->S.clear();
    E->Z = {};
    const std::string Text = WriteComponentRes(Root);
    EXPECT_EQ(Text, "object TTestRoot\n  object E: TTestEmpties\n    S = ''\n    Z = []\n  end\nend\n");

    TTestRoot Again(nullptr);
    ReadComponentRes(Again, Text, {});
    auto& E2 = dynamic_cast<TTestEmpties&>(*Again.FindComponent("E"));
    EXPECT_EQ(E2.S, "");
    EXPECT_TRUE(E2.Z.Empty());
}

// A class the reader could not create again.
class TUnregistered : public TTestComponent {
    QELL_CLASS(TUnregistered, TTestComponent)
    using TTestComponent::TTestComponent;
};

QELL_DEFINE_CLASS_INFO(TUnregistered)

TEST_F(FormWriterTest, RefusesWhatTheFormatCannotCarry)
{
    TTestRoot Root(nullptr);
    ReadComponentRes(Root, "object R: TTestRoot object D: TTestComponent end end", {});
    auto& D = As<TTestComponent>(*Root.FindComponent("D"));

    D.Text = std::string("nul\0inside", 10);
    EXPECT_THROW(WriteComponentRes(Root), EWriteError);
    D.Text = "bad \xC3 byte";
    EXPECT_THROW(WriteComponentRes(Root), EWriteError);
    D.Text = "ok";
    const TBoundEvents Bad{{&D, "OnFire", "not an identifier"}};
    EXPECT_THROW(WriteComponentRes(Root, &Bad), EWriteError);

    new TUnregistered(&Root);
    try {
        WriteComponentRes(Root);
        FAIL() << "no error";
    } catch (const EWriteError& E) {
        EXPECT_STREQ(E.what(), "TUnregistered: class TUnregistered is not registered");
    }
}

} // namespace
