#include <gtest/gtest.h>

#include "platform/toolkit/FormReader.h"
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

// Written as the writer writes: two-space indentation, defaults left out, events last.
const char* const Canonical = R"(object Main: TTestRoot
  Left = -5
  Width = 300
  Caption = 'It''s'#9'tabbed'#13#10'and broken'
  OnClick = RootClick
  object Panel1: TTestPanel
    Caption = 'Panel'
    object Label1: TTestLabel
      Width = 40
    end
  end
  object Inner: TTestComponent
    Number = 7
  end
  object Data: TTestComponent
    Flags = [fA, fC]
    Font.Height = -11
    Kind = tkTwo
    Number = -9223372036854775808
    Text = 'Grüße'
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
    ReadComponentRes(Root, Canonical, Bindings());
    EXPECT_EQ(WriteComponentRes(Root), Canonical);
}

TEST_F(FormWriterTest, ReadingTheWrittenTextRebuildsTheSameComponents)
{
    TTestRoot First(nullptr);
    ReadComponentRes(First, Canonical, Bindings());
    auto& Data = As<TTestComponent>(*First.FindComponent("Data"));
    Data.Text = "quote ' and ''double'' and \x01 control";
    Data.Flags = {fB};
    auto* Extra = new TTestLabel(&First);
    Extra->SetName("Extra");
    Extra->SetParent(&As<TTestPanel>(*First.FindComponent("Panel1")));

    std::string Text = WriteComponentRes(First);
    TTestRoot Second(nullptr);
    ReadComponentRes(Second, Text, Bindings());
    EXPECT_EQ(WriteComponentRes(Second), Text);

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
    EXPECT_EQ(Data2.FontHeight, -11);
    EXPECT_EQ(Second.Caption, First.Caption);
}

class TEmpties : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TTestEmpties"; }
    std::optional<TValue> S, Z;
};

TEST_F(FormWriterTest, EmptyStringsAndEmptySetsStayReadable)
{
    TClassInfo Info{"TTestEmpties", nullptr, [](TComponent* O) { return new TEmpties(O); }, {}};
    Info.Properties["S"] = {[](TComponent& C, const TValue& V) { As<TEmpties>(C).S = V; },
                            [](const TComponent& C) { return As<TEmpties>(C).S; }, nullptr};
    Info.Properties["Z"] = {[](TComponent& C, const TValue& V) { As<TEmpties>(C).Z = V; },
                            [](const TComponent& C) { return As<TEmpties>(C).Z; }, nullptr};
    RegisterClass(std::move(Info));

    TTestRoot Root(nullptr);
    auto* E = new TEmpties(&Root);
    E->SetName("E");
    E->S = std::string();
    E->Z = TSetValue{};
    std::string Text = WriteComponentRes(Root);
    EXPECT_EQ(Text, "object TTestRoot\n  object E: TTestEmpties\n    S = ''\n    Z = []\n  end\nend\n");

    TTestRoot Again(nullptr);
    ReadComponentRes(Again, Text, {});
    auto& E2 = As<TEmpties>(*Again.FindComponent("E"));
    EXPECT_EQ(E2.S, TValue(std::string()));
    EXPECT_EQ(E2.Z, TValue(TSetValue{}));
}

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
    D.EventBindings.emplace_back("OnFire", "not an identifier");
    EXPECT_THROW(WriteComponentRes(Root), EWriteError);
    D.EventBindings.clear();

    class TUnregistered : public TComponent {
    public:
        using TComponent::TComponent;
        std::string ClassName() const override { return "TUnregistered"; }
    };
    new TUnregistered(&Root);
    try {
        WriteComponentRes(Root);
        FAIL() << "no error";
    } catch (const EWriteError& E) {
        EXPECT_STREQ(E.what(), "TUnregistered: class TUnregistered is not registered");
    }
}

} // namespace
