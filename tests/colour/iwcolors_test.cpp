// The web colour unit: the table's invariants and the text round trip that the
// inspector and the dialog rely on.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "colour/IWColors.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::vector<std::string> ToolkitIdents()
{
    std::vector<std::string> Names;
    GetColorValues([&](const std::string& S) { Names.push_back(S); });
    return Names;
}

void ExpectRoundTrip(TColor C)
{
    const std::string Text = IWColorToString(C);
    EXPECT_EQ(StringToIWColor(Text), C) << Text;
    TColor Named = 0;
    int32_t Parsed = 0;
    EXPECT_TRUE(IdentToIWColor(Text, Named) || TryStrToInt(Text, Parsed)) << Text;
}

} // namespace

TEST(IWColorTable, NamesAreUniqueIgnoringCaseAndPlainColours)
{
    std::set<std::string> Seen;
    for (const TIWColorEntry& E : IWColors) {
        ASSERT_NE(E.Name, nullptr);
        EXPECT_TRUE(Seen.insert(LowerCase(E.Name)).second) << E.Name;
        EXPECT_EQ(static_cast<uint32_t>(E.Value) >> 24, 0u) << E.Name;
    }
    EXPECT_EQ(Seen.size(), static_cast<size_t>(IWColorCount));
    // No web name may hide a toolkit identifier or the other way round.
    for (const std::string& Ident : ToolkitIdents()) EXPECT_EQ(Seen.count(LowerCase(Ident)), 0u) << Ident;
}

TEST(IWColorTable, UsualWebValuesWithRedInTheLowByte)
{
    const std::pair<const char*, TColor> Known[] = {
        {"Red", 0x0000FF},       {"Blue", 0xFF0000},          {"Lime", 0x00FF00},
        {"Orange", 0x00A5FF},    {"AliceBlue", 0xFFF8F0},     {"RebeccaPurple", 0x993366},
        {"Gray", 0x808080},      {"Grey", 0x808080},          {"LightGrey", 0xD3D3D3},
        {"White", 0xFFFFFF},     {"Black", 0x000000},         {"Cyan", 0xFFFF00},
    };
    for (const auto& [Name, Value] : Known) {
        TColor C = -1;
        ASSERT_TRUE(IdentToIWColor(Name, C)) << Name;
        EXPECT_EQ(C, Value) << Name;
    }
}

TEST(IWColorTable, GridOrderEndsWithTheGreysFromWhiteToBlack)
{
    // The last, short row of the 12 x 12 grid holds the 11 pure greys.
    EXPECT_STREQ(IWColors[132].Name, "White");
    EXPECT_STREQ(IWColors[142].Name, "Black");
    for (int I = 132; I < IWColorCount; ++I) {
        const TColor C = IWColors[I].Value;
        EXPECT_TRUE((C & 0xFF) == ((C >> 8) & 0xFF) && (C & 0xFF) == ((C >> 16) & 0xFF)) << IWColors[I].Name;
        if (I > 132) {
            EXPECT_LE(C & 0xFF, IWColors[I - 1].Value & 0xFF) << IWColors[I].Name;
        }
    }
}

TEST(IdentToIWColor, EveryNameRoundTripsInAnyCase)
{
    for (const TIWColorEntry& E : IWColors) {
        for (const std::string& Text : {std::string(E.Name), LowerCase(E.Name), UpperCase(E.Name)}) {
            TColor C = -1;
            ASSERT_TRUE(IdentToIWColor(Text, C)) << Text;
            EXPECT_EQ(C, E.Value) << Text;
        }
    }
}

TEST(IdentToIWColor, AcceptsEveryToolkitIdentifierWithItsCode)
{
    const std::vector<std::string> Idents = ToolkitIdents();
    ASSERT_FALSE(Idents.empty());
    for (const std::string& Ident : Idents) {
        TColor Expected = 0, Got = 0;
        ASSERT_TRUE(IdentToColor(Ident, Expected)) << Ident;
        ASSERT_TRUE(IdentToIWColor(LowerCase(Ident), Got)) << Ident;
        EXPECT_EQ(Got, Expected) << Ident;
    }
    TColor C = 0;
    ASSERT_TRUE(IdentToIWColor("clBtnFace", C));
    EXPECT_EQ(C, clBtnFace); // the code, not its RGB
}

TEST(IdentToIWColor, RejectsEverythingElse)
{
    TColor C = 0;
    for (const char* Text : {"", "Redd", "Re", "red ", " red", "cl", "clBtnFac", "123", "$FF", "-1", "Grayish"})
        EXPECT_FALSE(IdentToIWColor(Text, C)) << "'" << Text << "'";
}

TEST(IWColorToString, PrefersWebNameThenToolkitIdentThenHex)
{
    EXPECT_EQ(IWColorToString(0x0000FF), "Red");
    EXPECT_EQ(IWColorToString(0xFFFF00), "Aqua"); // Aqua comes before Cyan in the table
    EXPECT_EQ(IWColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(IWColorToString(clMoneyGreen), "clMoneyGreen");
    EXPECT_EQ(IWColorToString(clNone), "clNone");
    EXPECT_EQ(IWColorToString(0x00123456), "$00123456");
    EXPECT_EQ(IWColorToString(-1), "$FFFFFFFF");
}

TEST(IWColorToString, RoundTripsThroughStringToIWColor)
{
    for (const TIWColorEntry& E : IWColors) ExpectRoundTrip(E.Value);
    for (const std::string& Ident : ToolkitIdents()) {
        TColor C = 0;
        IdentToColor(Ident, C);
        ExpectRoundTrip(C);
    }
    for (const TColor C : {0, 1, -1, INT32_MIN, INT32_MAX, 0x00FFFFFF, 0x01000000, static_cast<TColor>(0xFF000019u)})
        ExpectRoundTrip(C);
    std::mt19937 Rng(12345);
    for (int I = 0; I < 200000; ++I) ExpectRoundTrip(static_cast<TColor>(Rng()));
}

TEST(StringToIWColor, ReadsNamesAndIntegerLiterals)
{
    EXPECT_EQ(StringToIWColor("navy"), 0x800000);
    EXPECT_EQ(StringToIWColor("CLBTNFACE"), clBtnFace);
    EXPECT_EQ(StringToIWColor("255"), 255);
    EXPECT_EQ(StringToIWColor("$FF000005"), clWindow);
    EXPECT_EQ(StringToIWColor("-16777201"), clBtnFace);
}

TEST(StringToIWColor, RaisesAClearConversionErrorOnJunk)
{
    for (const char* Text : {"", "Rouge", "12ab", "$", "0x10", " Red"}) {
        try {
            StringToIWColor(Text);
            ADD_FAILURE() << "no error for '" << Text << "'";
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), "'" + std::string(Text) + "' is not a colour name or an integer value");
        }
    }
    try {
        StringToIWColor("Red\n\x1b[0m");
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "'Red\\x0a\\x1b[0m' is not a colour name or an integer value");
    }
}

TEST(GetIWColorValues, CallsBackWithEveryNameInTableOrder)
{
    std::vector<std::string> Names;
    GetIWColorValues([&](const std::string& S) { Names.push_back(S); });
    ASSERT_EQ(Names.size(), static_cast<size_t>(IWColorCount));
    for (int I = 0; I < IWColorCount; ++I) EXPECT_EQ(Names[static_cast<size_t>(I)], IWColors[I].Name);
}
