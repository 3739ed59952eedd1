#include "platform/toolkit/ClassRegistry.h"

#include <gtest/gtest.h>

namespace {

TPropInfo Marked(int64_t Mark)
{
    return {nullptr, [=](const TComponent&) -> std::optional<TValue> { return Mark; }, nullptr};
}

int64_t MarkOf(const TPropInfo* P)
{
    TComponent Dummy(nullptr);
    return std::get<int64_t>(*P->Get(Dummy));
}

TEST(ClassRegistry, FindsClassesWithoutCase)
{
    const TClassInfo* Info = RegisterClass({"TRegistryProbe", nullptr, nullptr, {}});
    EXPECT_EQ(FindClass("TRegistryProbe"), Info);
    EXPECT_EQ(FindClass("tregistryPROBE"), Info);
    EXPECT_EQ(FindClass("TRegistryProb"), nullptr);
    EXPECT_EQ(FindClass(""), nullptr);
}

TEST(ClassRegistry, ReRegisteringReplacesInPlaceSoLinksStayValid)
{
    const TClassInfo* Base = RegisterClass({"TRegistryBase", nullptr, nullptr, {{"A", Marked(1)}}});
    const TClassInfo* Derived = RegisterClass({"TRegistryDerived", Base, nullptr, {}});
    const TClassInfo* Again = RegisterClass({"tregistrybase", nullptr, nullptr, {{"A", Marked(2)}}});
    EXPECT_EQ(Again, Base);
    EXPECT_EQ(MarkOf(Derived->FindProperty("A")), 2);
}

TEST(ClassRegistry, FindsPropertiesWithoutCaseThroughTheParents)
{
    const TClassInfo* Base =
        RegisterClass({"TRegistryBase2", nullptr, nullptr, {{"Left", Marked(1)}, {"Font.Height", Marked(2)}}});
    const TClassInfo* Derived = RegisterClass({"TRegistryDerived2", Base, nullptr, {{"Left", Marked(3)}}});
    EXPECT_EQ(MarkOf(Derived->FindProperty("LEFT")), 3); // the derived definition wins
    EXPECT_EQ(MarkOf(Derived->FindProperty("font.height")), 2);
    EXPECT_EQ(MarkOf(Base->FindProperty("left")), 1);
    EXPECT_EQ(Derived->FindProperty("Font"), nullptr);
    EXPECT_EQ(Derived->FindProperty("Height"), nullptr);
}

} // namespace
