// The package's classes as page files and an inspector see them: published properties,
// defaults, registration, the sample page, and web colour values through page files.

#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "platform/toolkit/Label.h"
#include "platform/toolkit/resources/FormReader.h"
#include "tests/components/ComponentTesting.h"

namespace {

using namespace comptest;

const char* const ComponentClasses[] = {"TQellButton", "TQellOnOffButton", "TQellTrackbar", "TQellList",
                                        "TQellSpinner", "TQellPopup",       "TQellLabel"};

// Defaults are what a new instance holds, so nothing of a new component (or slot) is
// written; every property names its type, and colours are told apart by it. Each class
// a web colour editor is registered for is reached from a component, with two to five
// colours and more than colours for an inspector to show.
TEST(ComponentClasses, PublishTypedPropertiesWithTheConstructorsValuesAsDefaults)
{
    TQellPage Page(nullptr);
    for (const TPropInfo* P : Page.ClassInfo().AllProperties()) EXPECT_FALSE(IsStoredProp(Page, *P)) << P->Name;
    EXPECT_EQ(Page.ClassInfo().FindProperty("Color")->PropType, &TypeInfoTColor);

    std::map<std::string, int> Colours, Others; // by the class that holds them
    for (const char* Name : ComponentClasses) {
        std::unique_ptr<TComponent> C(FindClass(Name)->CreateComponent(&Page));
        if (auto* Spinner = dynamic_cast<TQellSpinner*>(C.get())) Spinner->Slots.Add();
        ForEachValue(*C, [&](TPersistent& I, const TPropInfo& P, const std::string& Path) {
            EXPECT_FALSE(IsStoredProp(I, P)) << Name << "." << Path;
            EXPECT_STRNE(P.PropType->Name, "") << Name << "." << Path;
            EXPECT_EQ(P.PropType == &TypeInfoTIWColor, Path.ends_with("Color")) << Name << "." << Path;
            ++(P.PropType == &TypeInfoTIWColor ? Colours : Others)[I.ClassName()];
        });
    }
    for (const char* Name : {"TQellButtonAppearance", "TQellOnOffButtonAppearance", "TQellTrackbarAppearance",
                             "TQellListItemAppearance", "TQellIndicator", "TQellSpinnerAppearance",
                             "TQellPopupAppearance", "TQellSpinnerSlot"}) {
        EXPECT_TRUE(Colours[Name] >= 2 && Colours[Name] <= 5) << Name << ": " << Colours[Name];
        EXPECT_GE(Others[Name], 2) << Name;
    }
    EXPECT_EQ(Colours["TQellLabel"], 1);
}

// Registrations belong to the library: when it is about to be unloaded they go, the
// toolkit's stay, and registering again brings them back.
TEST(ComponentClasses, GoWithTheirLibrary)
{
    const TModuleHandle Library = FindModuleOf(&TQellButton::StaticClassInfo());
    ASSERT_NE(Library, FindModuleOf(&TLabel::StaticClassInfo()));
    NotifyModuleUnload(Library);
    EXPECT_EQ(FindClass("TQellPage"), nullptr);
    for (const char* Name : ComponentClasses) EXPECT_EQ(FindClass(Name), nullptr) << Name;
    EXPECT_NE(FindClass("TLabel"), nullptr);
    TQellPage Page(nullptr);
    EXPECT_THROW(ReadComponentRes(Page, SamplePageText(), {}), EReadError);

    RegisterComponentClasses();
    ReadComponentRes(Page, SamplePageText(), {});
    EXPECT_EQ(Page.ComponentCount(), 8);
}

// Every published value of the page's components, as "Name.Path = value".
std::vector<std::string> Values(TQellPage& Page)
{
    std::vector<std::string> Result;
    for (int I = 0; I < Page.ComponentCount(); ++I) {
        TComponent& C = *Page.Components(I);
        ForEachValue(C, [&](TPersistent& Instance, const TPropInfo& P, const std::string& Path) {
            Result.push_back(C.Name() + "." + Path + " = " +
                             (P.Kind() == TTypeKind::String ? GetStrProp(Instance, P)
                                                            : std::to_string(GetOrdProp(Instance, P))));
        });
    }
    return Result;
}

// The sample page: written back as it was, read again to the same values, one of each
// component (and a second label, in several scripts) inside the page and clear of the
// others.
TEST(SamplePage, ReadsWritesBackTheSameTextAndReadsAgainToTheSameValues)
{
    TQellPage First(nullptr), Second(nullptr);
    ReadComponentRes(First, SamplePageText(), {});
    const std::string Written = WriteComponentRes(First);
    EXPECT_EQ(Written, SamplePageText());
    ReadComponentRes(Second, Written, {});
    EXPECT_EQ(Values(Second), Values(First));

    std::set<std::string> Classes;
    std::vector<TRect> Placed;
    for (int I = 0; I < First.ComponentCount(); ++I) {
        const auto& C = dynamic_cast<const TQellControl&>(*First.Components(I));
        Classes.insert(C.ClassName());
        const TRect R = Bounds(C.Left, C.Top, C.Width, C.Height);
        EXPECT_EQ(Intersect(R, Rect(0, 0, First.Width, First.Height)), R) << C.Name();
        for (const TRect& Other : Placed) EXPECT_TRUE(Intersect(R, Other).IsEmpty()) << C.Name();
        Placed.push_back(R);
    }
    EXPECT_EQ(Classes.size(), 7u);
    EXPECT_EQ(First.ComponentCount(), 8);
}

// A TIWColor value is written as a name when it has one, else as "$" and 8 hexadecimal
// digits, and the reader reads a name as its value and the digits as the 32-bit pattern
// they spell, when that names a colour. So every colour survives when (1) every value
// with a name survives a page file, as the next test checks for every name; (2) every
// other value is written as exactly "$" and the 8 digits of its own bits, checked here at
// text level for a stride through the whole range that gives every digit every value in
// every place; (3) the reader takes 8 digits as the bits they spell, checked through real
// page files at the edges of the plain colours and for a few hundred values in between.
TEST(IWColorText, EveryValueIsWrittenAsItsNameOrItsOwnBits)
{
    // Odd, and so steps the last three digits through all their combinations; the
    // higher digits change one by one.
    constexpr uint32_t Stride = 997;
    int Failures = 0;
    uint64_t Checked = 0;
    for (uint64_t V = 0; V <= UINT32_MAX && Failures < 5; V += Stride, ++Checked) {
        const std::string Text = TypeInfoTIWColor.IntToText(static_cast<int32_t>(static_cast<uint32_t>(V)));
        uint32_t Bits = 0;
        int64_t Named = 0;
        const auto [End, Error] = std::from_chars(Text.data() + 1, Text.data() + Text.size(), Bits, 16);
        const bool Ok = Text[0] == '$' ? Text.size() == 9 && Error == std::errc() && End == Text.data() + 9 && Bits == V
                                       : TypeInfoTIWColor.IdentToInt(Text, Named) && uint32_t(Named) == V;
        if (!Ok) ADD_FAILURE() << "value " << V << " written as " << Text << " (" << ++Failures << ")";
    }
    EXPECT_GT(Checked, 4'000'000u);
}

// Every TIWColor property of one of each component, and of a spinner's eight slots,
// takes the next value of the list; the page is written and read into a new page, where
// every property must hold what it was given. The values: every name, the edges of the
// plain colours, and a few hundred others. A value that names no colour (a high byte
// neither 0 nor that of a system colour the toolkit names) is written as its digits but
// refused when read, with the line and the forms a colour is written in.
TEST(IWColorText, EveryColourSurvivesPageFilesAndAValueThatNamesNoneIsRefused)
{
    std::vector<int64_t> List;
    auto AddNamed = [&](const std::string& Name) {
        ASSERT_TRUE(TypeInfoTIWColor.IdentToInt(Name, List.emplace_back())) << Name;
    };
    GetIWColorValues(AddNamed);
    GetColorValues(AddNamed);
    const std::set<int64_t> Named(List.begin(), List.end());
    for (uint32_t Bits : {0u, 1u, 0x00FFFFFFu, 0x00800000u}) List.push_back(int32_t(Bits));
    std::mt19937 Random(20240611);
    for (int I = 0; I < 300; ++I) List.push_back(int32_t(Random() & 0x00FFFFFFu));

    auto EachColour = [](TQellPage& Page, const std::function<void(TPersistent&, const TPropInfo&)>& Visit) {
        for (int I = 0; I < Page.ComponentCount(); ++I)
            ForEachValue(*Page.Components(I), [&](TPersistent& Instance, const TPropInfo& P, const std::string&) {
                if (P.PropType == &TypeInfoTIWColor) Visit(Instance, P);
            });
    };
    for (size_t Next = 0; Next < List.size();) {
        TQellPage Page(nullptr), Again(nullptr);
        OneOfEach(Page);
        auto* Spinner = new TQellSpinner(&Page);
        for (int I = 0; I < 8; ++I) Spinner->Slots.Add();
        std::vector<int64_t> Given, Read;
        EachColour(Page, [&](TPersistent& Instance, const TPropInfo& P) {
            SetOrdProp(Instance, P, Given.emplace_back(List[Next++ % List.size()]));
        });
        const std::string Text = WriteComponentRes(Page);
        ReadComponentRes(Again, Text, {});
        EachColour(Again, [&](TPersistent& Instance, const TPropInfo& P) { Read.push_back(GetOrdProp(Instance, P)); });
        ASSERT_EQ(Read, Given) << Text;
    }

    std::mt19937 Other(7);
    std::vector<uint32_t> NoColour{0xFF000019u, 0xFF0000FFu, 0xFF00001Fu, 0x80000000u, 0x7FFFFFFFu,
                                   0xFFFFFFFFu, 0x01000000u, 0x20000001u, 0x1FFFFFFEu};
    while (NoColour.size() < 40)
        if (const uint32_t Bits = Other(); Bits >> 24 != 0 && !Named.count(int32_t(Bits))) NoColour.push_back(Bits);
    for (const uint32_t Bits : NoColour) {
        TQellPage Page(nullptr), Again(nullptr);
        auto* Label = new TQellLabel(&Page);
        Label->SetName("Label1");
        Label->TextColor = int32_t(Bits);
        const std::string Written = TypeInfoTIWColor.IntToText(int32_t(Bits));
        try {
            ReadComponentRes(Again, WriteComponentRes(Page), {});
            ADD_FAILURE() << Written << " was read";
        } catch (const EReadError& E) {
            EXPECT_NE(std::string(E.what()).find("TextColor: '" + Written +
                                                 "' is not a valid TIWColor: write a name (Navy, clBtnFace) or "
                                                 "$00BBGGRR"),
                      std::string::npos)
                << E.what();
        }
        EXPECT_EQ(Again.ComponentCount(), 0);
    }
}

} // namespace
