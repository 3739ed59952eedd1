// Components' names: found by name without case through the owner's index, unique
// among an owner and its components (the owner's own name included), and a rename
// that would leave a component without a name refused.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/TypInfo.h"

namespace {

std::string Refusal(TComponent& C, const std::string& Name)
{
    try {
        C.SetName(Name);
    } catch (const EComponentError& E) {
        return E.Message();
    }
    return "";
}

TEST(ComponentNames, AreUniqueAmongAnOwnerAndItsComponentsAndFollowRenames)
{
    TComponent Page(nullptr);
    Page.SetName("Page");
    auto* A = new TComponent(&Page);
    auto* B = new TComponent(&Page);
    A->SetName("Button1");
    EXPECT_EQ(Page.FindComponent("BUTTON1"), A);
    EXPECT_EQ(Refusal(*B, "button1"), "A component named button1 already exists");
    EXPECT_EQ(Refusal(*B, "PAGE"), "A component named PAGE already exists") << "the owner's name";
    EXPECT_EQ(Refusal(Page, "Button1"), "A component named Button1 already exists") << "a component's name";
    EXPECT_EQ(Refusal(*A, "BUTTON1"), "") << "its own name in another case";
    EXPECT_EQ(Refusal(*B, "1st"), "'1st' is not a valid component name");
    EXPECT_EQ(Refusal(*B, "a\x1b[2Jb"), "'a\\x1b[2Jb' is not a valid component name");

    // The index follows renames, removals and a change of owner.
    A->SetName("Renamed");
    EXPECT_EQ(Page.FindComponent("Button1"), nullptr);
    EXPECT_EQ(Page.FindComponent("renamed"), A);
    B->SetName("Button1");
    EXPECT_EQ(Page.FindComponent("Button1"), B);
    TComponent Other(nullptr);
    Other.InsertComponent(A);
    EXPECT_EQ(Page.FindComponent("Renamed"), nullptr);
    EXPECT_EQ(Other.FindComponent("Renamed"), A);
    auto* Taken = new TComponent(&Other);
    Taken->SetName("Button1");
    EXPECT_THROW(Page.InsertComponent(Taken), EComponentError) << "Page has a Button1";
    EXPECT_EQ(Taken->Owner(), &Other);
    delete B;
    EXPECT_EQ(Page.FindComponent("Button1"), nullptr);
    EXPECT_EQ(Page.ComponentCount(), 0);
}

TEST(ComponentNames, TheNamePropertyMayNotEmptyANameThatCodeMay)
{
    TComponent Page(nullptr);
    auto* A = new TComponent(&Page);
    A->SetName("Label1");
    const TPropInfo* Name = A->ClassInfo().FindProperty("Name");
    ASSERT_NE(Name, nullptr);
    EXPECT_THROW(SetStrProp(*A, *Name, ""), EComponentError);
    EXPECT_EQ(A->Name(), "Label1");
    EXPECT_EQ(Page.FindComponent("Label1"), A);
    SetStrProp(*A, *Name, "Label2");
    EXPECT_EQ(Page.FindComponent("Label2"), A);
    A->SetName("");
    EXPECT_EQ(Page.FindComponent("Label2"), nullptr);
    EXPECT_NO_THROW(SetStrProp(*A, *Name, "")) << "an unnamed component stays so";
}

// The owner's list keeps its order after removals from anywhere, and the index with it.
TEST(ComponentNames, RemovalsFromTheMiddleKeepTheOrderAndTheIndex)
{
    TComponent Page(nullptr);
    std::vector<TComponent*> All;
    for (int I = 0; I < 6; ++I) {
        All.push_back(new TComponent(&Page));
        All.back()->SetName("C" + std::to_string(I));
    }
    delete All[2];
    delete All[0];
    ASSERT_EQ(Page.ComponentCount(), 4);
    for (int I = 0; I < 4; ++I) EXPECT_EQ(Page.Components(I), All[static_cast<size_t>(I < 2 ? I * 2 + 1 : I + 2)]);
    EXPECT_EQ(Page.FindComponent("C2"), nullptr);
    EXPECT_EQ(Page.FindComponent("C3"), All[3]);
}

} // namespace
