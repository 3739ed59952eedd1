// Components' names: found by name without case through the owner's index, unique
// among an owner and its components (the owner's own name included), and a rename
// that would leave a component without a name refused.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/NameIndex.h"
#include "platform/rtl/SysUtils.h"
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

// Many names coming and going, in mixed case: at every step the owner finds exactly the
// components that a plain upper-case map says it holds, and refuses exactly the names
// that map says are taken. Enough of them that the index grows and shrinks many times.
TEST(ComponentNames, TheIndexAgreesWithAPlainMapThroughManyChanges)
{
    TComponent Page(nullptr);
    Page.SetName("Page");
    std::map<std::string, TComponent*> Held; // upper-case name -> component
    std::vector<TComponent*> Live;
    std::mt19937 Random(20261209);
    auto Pick = [&](size_t N) { return static_cast<size_t>(Random() % N); };
    const std::vector<std::string> Spellings = {"c", "C", "Label_", "LABEL_", "label_"};
    auto AName = [&]() -> std::string {
        if (Pick(50) == 0) return "pAGE";
        if (Pick(20) == 0) return "";
        return Spellings[Pick(Spellings.size())] + std::to_string(Pick(600));
    };
    auto Taken = [&](const std::string& Name, const TComponent* Except) {
        if (Name.empty()) return false;
        if (SameText(Name, Page.Name())) return true;
        auto It = Held.find(UpperCase(Name));
        return It != Held.end() && It->second != Except;
    };
    auto Name = [&](TComponent* C, const std::string& NewName) {
        const bool Refused = Taken(NewName, C);
        const std::string Old = C->Name();
        EXPECT_EQ(Refusal(*C, NewName).empty(), !Refused) << NewName;
        if (Refused) return;
        Held.erase(UpperCase(Old));
        if (!NewName.empty()) Held[UpperCase(NewName)] = C;
    };

    for (int Step = 0; Step < 6000; ++Step) {
        const bool Growing = (Step / 1500) % 2 == 0;
        const size_t Op = Pick(10);
        if (Live.empty() || Op < (Growing ? 6u : 2u)) {
            Live.push_back(new TComponent(&Page));
            Name(Live.back(), AName());
        } else if (Op < 7) {
            Name(Live[Pick(Live.size())], AName());
        } else {
            const size_t I = Pick(Live.size());
            Held.erase(UpperCase(Live[I]->Name()));
            delete Live[I];
            Live.erase(Live.begin() + static_cast<std::ptrdiff_t>(I));
        }
        if (Step % 50 != 0) continue;
        ASSERT_EQ(Page.ComponentCount(), static_cast<int>(Live.size()));
        for (int N = 0; N < 600; ++N) {
            const std::string Probe = "lAbEl_" + std::to_string(N);
            auto It = Held.find(UpperCase(Probe));
            ASSERT_EQ(Page.FindComponent(Probe), It == Held.end() ? nullptr : It->second) << Probe;
        }
        for (const auto& [Key, C] : Held) ASSERT_EQ(Page.FindComponent(Key), C) << Key;
    }
    EXPECT_GT(Held.size(), 100u) << "the index held many names at once";
}

// A page's names are input: names chosen so that their hashes share a bucket would make
// every look-up walk all of them. The hash is keyed, with a key of the process's own:
// names that share the low bits of their hash under a known key (found here by trying
// names, as an attacker would) are spread under another, and the index finds every
// name whatever the key.
TEST(ComponentNames, NamesChosenToCollideUnderOneHashKeyAreSpreadUnderAnother)
{
    SetNameHashKey({0x0123456789ABCDEF, 0xFEDCBA9876543210});
    std::vector<std::string> Chosen;
    for (int N = 0; Chosen.size() < 64; ++N)
        if (const std::string Name = "Label" + std::to_string(N); (NameHash(Name) & 0xFF) == 0) Chosen.push_back(Name);
    EXPECT_EQ(NameHash("LABEL7"), NameHash("label7")) << "without case";

    SetNameHashKey({0x0F1E2D3C4B5A6978, 0x1122334455667788});
    std::set<uint64_t> Buckets;
    for (const std::string& Name : Chosen) Buckets.insert(NameHash(Name) & 0xFF);
    EXPECT_GT(Buckets.size(), 40u) << "64 names in 256 buckets";
    TComponent Page(nullptr);
    for (const std::string& Name : Chosen) (new TComponent(&Page))->SetName(Name);
    for (const std::string& Name : Chosen) {
        ASSERT_NE(Page.FindComponent(UpperCase(Name)), nullptr) << Name;
        EXPECT_EQ(Page.FindComponent(Name)->Name(), Name);
    }
}

} // namespace
