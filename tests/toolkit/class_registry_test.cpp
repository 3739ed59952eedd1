// The class registry and the published-property model that the form reader, the
// writer and the inspector share.

#include "platform/toolkit/resources/ClassRegistry.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "tests/toolkit/FormTestClasses.h"

namespace {

using namespace formtest;

TClassInfo Named(const char* Name)
{
    TClassInfo C;
    C.Name = Name;
    return C;
}

// Two stand-in modules: any distinct addresses will do.
const char ModuleA = 0, ModuleB = 0;

TEST(ClassRegistry, ForgetsAModuleThatGoesAndRevealsWhatItHid)
{
    static const TClassInfo First = Named("TRegistryProbe"), Second = Named("tregistryPROBE");
    RegisterClass(First, &ModuleA);
    EXPECT_EQ(FindClass("TREGISTRYPROBE"), &First);
    RegisterClass(Second, &ModuleB);
    EXPECT_EQ(FindClass("TRegistryProbe"), &Second); // the newer hides the older
    NotifyModuleUnload(&ModuleB);
    EXPECT_EQ(FindClass("TRegistryProbe"), &First);
    NotifyModuleUnload(&ModuleA);
    EXPECT_EQ(FindClass("TRegistryProbe"), nullptr);
    // Registering again after the unload works as the first time.
    RegisterClass(Second, &ModuleB);
    RegisterClass(Second, &ModuleB);
    EXPECT_EQ(FindClass("TRegistryProbe"), &Second);
    NotifyModuleUnload(&ModuleB);
    EXPECT_EQ(FindClass("TRegistryProbe"), nullptr);
    // The toolkit's own classes belong to the toolkit and stay.
    EXPECT_EQ(FindClass("TLabel"), &TLabel::StaticClassInfo());
}

TEST(PublishedProperties, RedeclarationsWinAndAncestorsComeFirst)
{
    const TClassInfo& Label = TLabel::StaticClassInfo();
    EXPECT_TRUE(Label.InheritsFrom(TControl::StaticClassInfo()));
    EXPECT_FALSE(TControl::StaticClassInfo().InheritsFrom(Label));
    const TPropInfo* Width = Label.FindProperty("WIDTH");
    ASSERT_NE(Width, nullptr);
    EXPECT_EQ(Width->OrdDefault, TLabel::DefaultWidth); // TLabel's, not TControl's 0
    EXPECT_EQ(TControl::StaticClassInfo().FindProperty("Width")->OrdDefault, 0);
    EXPECT_EQ(Label.FindProperty("Font.Height"), nullptr); // sub-properties belong to TFont

    std::vector<std::string> Names;
    for (const TPropInfo* P : Label.AllProperties()) Names.push_back(P->Name);
    ASSERT_GE(Names.size(), 6u);
    EXPECT_EQ(Names[0], "Name"); // TComponent's first
    EXPECT_EQ(Names[1], "Left");
    EXPECT_EQ(std::count(Names.begin(), Names.end(), "Width"), 1);
    EXPECT_EQ(Names.back(), "AutoSize");
}

// Every property of every registered class has a type that names itself and its kind;
// colours are told from plain integers by their type, and fonts are sub-objects.
TEST(PublishedProperties, EveryPropertyOfEveryClassKnowsItsType)
{
    RegisterTestClasses();
    const TClassInfo* Classes[] = {FindClass("TLabel"),     FindClass("TButton"),      FindClass("TEdit"),
                                   FindClass("TDrawGrid"),  FindClass("TPageControl"), FindClass("TTabSheet"),
                                   FindClass("TStatusBar"), FindClass("TPaintBox"),    FindClass("TTrackBar"),
                                   &TForm::StaticClassInfo(), FindClass("TTestComponent")};
    for (const TClassInfo* C : Classes) {
        ASSERT_NE(C, nullptr);
        for (const TPropInfo* P : C->AllProperties()) {
            ASSERT_NE(P->PropType, nullptr) << C->Name << "." << P->Name;
            EXPECT_STRNE(P->PropType->Name, "") << C->Name << "." << P->Name;
            if (P->Kind() == TTypeKind::Enumeration) {
                EXPECT_FALSE(P->PropType->EnumNames.empty());
            } else if (P->Kind() == TTypeKind::Set) {
                EXPECT_NE(P->PropType->ElementType, nullptr);
            } else if (P->Kind() == TTypeKind::Class) {
                EXPECT_NE(P->PropType->ClassType, nullptr);
            }
        }
    }
    const TClassInfo& Button = *FindClass("TButton");
    EXPECT_EQ(Button.FindProperty("Color")->PropType, &TypeInfoTColor);
    EXPECT_EQ(Button.FindProperty("Left")->PropType, &TypeInfoInteger);
    EXPECT_EQ(Button.FindProperty("Anchors")->Kind(), TTypeKind::Set);
    EXPECT_EQ(Button.FindProperty("Font")->PropType, &TypeInfoTFont);
    EXPECT_EQ(TFont::StaticClassInfo().FindProperty("Color")->PropType, &TypeInfoTColor);
    EXPECT_EQ(Button.FindProperty("OnClick")->Kind(), TTypeKind::Method);
}

// The published defaults are the constructors' values: a new instance of every class
// has nothing to write.
TEST(PublishedProperties, NewInstancesOfEveryClassWriteNothing)
{
    auto Check = [](const TPersistent& Instance) {
        for (const TPropInfo* P : Instance.ClassInfo().AllProperties())
            EXPECT_FALSE(IsStoredProp(Instance, *P)) << Instance.ClassName() << "." << P->Name;
    };
    for (const char* Name : {"TLabel", "TButton", "TEdit", "TDrawGrid", "TPageControl", "TTabSheet", "TStatusBar",
                             "TPaintBox", "TTrackBar"}) {
        std::unique_ptr<TComponent> C(FindClass(Name)->CreateComponent(nullptr));
        Check(*C);
    }
    TForm Form(nullptr);
    Check(Form);
    Check(TFont());
}

TEST(PublishedProperties, SettersCheckTheRangeAndChangeNothingOutsideIt)
{
    TLabel Label(nullptr);
    const TPropInfo& Left = *GetPropInfo(Label, "Left");
    SetOrdProp(Label, Left, -5);
    EXPECT_EQ(Label.Left(), -5);
    EXPECT_THROW(SetOrdProp(Label, Left, MaxCoordinate + 1), EPropertyError);
    EXPECT_EQ(Label.Left(), -5);
    // A property applies only to its own class and descendants.
    TFont Font;
    EXPECT_THROW(SetOrdProp(Font, Left, 1), EPropertyError);
}

} // namespace
