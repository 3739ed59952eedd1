// The toolkit's colour identifiers and its fixed light theme.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/colors/Colors.h"

namespace {

std::vector<std::string> Idents()
{
    std::vector<std::string> Names;
    GetColorValues([&](const std::string& S) { Names.push_back(S); });
    return Names;
}

bool IsPlain(TColor C) { return (static_cast<uint32_t>(C) >> 24) == 0; }

} // namespace

TEST(GetColorValues, FixedOrderOfDistinctIdentifiers)
{
    const std::vector<std::string> Names = Idents();
    ASSERT_EQ(Names.size(), 52u);
    EXPECT_EQ(Names.front(), "clBlack");
    EXPECT_EQ(Names[15], "clWhite");
    EXPECT_EQ(Names[16], "clMoneyGreen");
    EXPECT_EQ(Names[20], "clScrollBar");
    EXPECT_EQ(Names[50], "clNone");
    EXPECT_EQ(Names.back(), "clDefault");
    EXPECT_EQ(Names, Idents()) << "the order must not change between calls";

    std::set<TColor> Values;
    for (const std::string& Name : Names) {
        TColor C = 0;
        ASSERT_TRUE(IdentToColor(Name, C)) << Name;
        EXPECT_TRUE(Values.insert(C).second) << Name << " shares its value";
        std::string Back;
        ASSERT_TRUE(ColorToIdent(C, Back)) << Name;
        EXPECT_EQ(Back, Name);
    }
}

TEST(IdentToColor, IgnoresCaseAndAnswersTheConstant)
{
    TColor C = 0;
    ASSERT_TRUE(IdentToColor("CLBTNFACE", C));
    EXPECT_EQ(C, clBtnFace);
    ASSERT_TRUE(IdentToColor("clred", C));
    EXPECT_EQ(C, clRed);
    ASSERT_TRUE(IdentToColor("cl3dDkShadow", C));
    EXPECT_EQ(C, cl3DDkShadow);
    for (const char* Bad : {"", "cl", "Red", "clRedd", " clRed", "clBtnFace ", "$FF"}) {
        C = 99;
        EXPECT_FALSE(IdentToColor(Bad, C)) << "'" << Bad << "'";
    }
}

TEST(ColorToIdent, UnknownValuesHaveNoIdentifier)
{
    std::string S = "unchanged";
    EXPECT_FALSE(ColorToIdent(0x123456, S));
    EXPECT_FALSE(ColorToIdent(clSystemColor | 25, S));
    EXPECT_EQ(S, "unchanged");
}

TEST(ColorToRGB, PlainColoursPassThrough)
{
    for (const TColor C : {0, 0x0000FF, 0x123456, 0xFFFFFF, clMoneyGreen}) EXPECT_EQ(ColorToRGB(C), C);
}

TEST(ColorToRGB, SystemColoursFollowTheLightTheme)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0);
    EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindowText), 0x000000);
    EXPECT_EQ(ColorToRGB(clHighlight), 0xD77800); // (0, 120, 215)
    EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFF);    // (255, 255, 225)
    // A light theme: text dark on light faces.
    EXPECT_LT(ColorToRGB(clBtnText) & 0xFF, ColorToRGB(clBtnFace) & 0xFF);
}

TEST(ColorToRGB, EveryResultIsPlain)
{
    for (const std::string& Name : Idents()) {
        TColor C = 0;
        IdentToColor(Name, C);
        EXPECT_TRUE(IsPlain(ColorToRGB(C))) << Name;
    }
    EXPECT_EQ(ColorToRGB(clNone), ColorToRGB(clWindow));
    EXPECT_EQ(ColorToRGB(clDefault), ColorToRGB(clWindow));
    EXPECT_EQ(ColorToRGB(clSystemColor | 25), 0);      // no such system colour
    EXPECT_EQ(ColorToRGB(clSystemColor | 0xFFFFFF), 0); // nor this
    EXPECT_EQ(ColorToRGB(0x02123456), 0x123456);        // other codes keep their low 24 bits
    for (uint32_t High = 0; High < 256; ++High)
        EXPECT_TRUE(IsPlain(ColorToRGB(static_cast<TColor>((High << 24) | 0xABCDEF)))) << High;
}
