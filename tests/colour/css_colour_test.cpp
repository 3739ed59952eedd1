// Colours as style sheets write them: the two text forms against the web's own values
// of named colours, and every web colour back through the parser.

#include <gtest/gtest.h>

#include "colour/CssColour.h"
#include "colour/IWColors.h"

TEST(CssColour, TheWebsOwnValuesOfNamedColoursAndSystemColoursResolved)
{
    TColor Tomato = 0, DodgerBlue = 0;
    ASSERT_TRUE(IdentToIWColor("Tomato", Tomato));
    ASSERT_TRUE(IdentToIWColor("DodgerBlue", DodgerBlue));
    EXPECT_EQ(ColourToCssHex(Tomato), "#FF6347");
    EXPECT_EQ(ColourToCssRgb(Tomato), "rgb(255, 99, 71)");
    EXPECT_EQ(ColourToCssHex(DodgerBlue), "#1E90FF");
    EXPECT_EQ(ColourToCssRgb(DodgerBlue), "rgb(30, 144, 255)");
    // As drawn: the light theme's face, and clNone as the window behind it.
    EXPECT_EQ(ColourToCssHex(clBtnFace), "#F0F0F0");
    EXPECT_EQ(ColourToCssRgb(clHighlight), "rgb(0, 120, 215)");
    EXPECT_EQ(ColourToCssHex(clNone), "#FFFFFF");
}

TEST(CssColour, EveryWebColourReadsBackAndOnlyHexFormsAreTaken)
{
    for (const TIWColorEntry& E : IWColors) {
        TColor Back = -1;
        ASSERT_TRUE(CssHexToColour(ColourToCssHex(E.Value), Back)) << E.Name;
        EXPECT_EQ(Back, E.Value) << E.Name;
    }
    TColor C = 0;
    ASSERT_TRUE(CssHexToColour("#f0A", C));
    EXPECT_EQ(C, 0x00AA00FF);
    for (const char* Text : {"#12345", "#GGHHII", "#", "FF6347", " #FF6347", "#FF63470", "##FF634", "rgb(1, 2, 3)"}) {
        C = 7;
        EXPECT_FALSE(CssHexToColour(Text, C)) << Text;
        EXPECT_EQ(C, 7) << Text;
    }
}
