#include "platform/graphics/FontEngine.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/graphics/Canvas.h"

namespace {

constexpr TColor Paper = clWhite;

class FontTest : public ::testing::Test {
protected:
    TBitmap Surface{120, 40, Paper};
    TCanvas Canvas{&Surface, {0, 0}, Rect(0, 0, 120, 40)};

    void SetUp() override
    {
        if (!TFontEngine::Instance().HasFace(TFont{})) GTEST_SKIP() << "no sans font installed";
    }

    // The bounding box of the pixels that differ from the paper; empty when none do.
    TRect Ink() const
    {
        TRect R{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int Y = 0; Y < Surface.Height(); ++Y)
            for (int X = 0; X < Surface.Width(); ++X)
                if (Surface.Pixel(X, Y) != Paper)
                    R = {std::min(R.Left, X), std::min(R.Top, Y), std::max(R.Right, X + 1),
                         std::max(R.Bottom, Y + 1)};
        return R.IsEmpty() ? TRect{} : R;
    }
};

TEST_F(FontTest, TextStaysInsideItsCell)
{
    const std::string Text = "Hello, Qyj";
    const int W = Canvas.TextWidth(Text), H = Canvas.TextHeight(Text);
    Canvas.TextOut(10, 5, Text);
    const TRect Box = Ink();
    ASSERT_FALSE(Box.IsEmpty());
    EXPECT_GE(Box.Left, 10);
    EXPECT_GE(Box.Top, 5);
    EXPECT_LE(Box.Right, 10 + W);
    EXPECT_LE(Box.Bottom, 5 + H);
    // Most of the cell is used: the text is not drawn at some other size.
    EXPECT_GT(Box.Width(), W * 3 / 4);
    EXPECT_GT(Box.Height(), H / 2);
}

TEST_F(FontTest, DefaultFontIsASmallDialogFont)
{
    const int H = Canvas.TextHeight("Ag");
    EXPECT_GE(H, 11);
    EXPECT_LE(H, 16);
    TFont Big;
    Big.SetHeight(-22);
    EXPECT_GT(TFontEngine::Instance().TextHeight(Big), H * 3 / 2);
    // A positive height is the whole cell.
    TFont Cell;
    Cell.SetHeight(20);
    EXPECT_NEAR(TFontEngine::Instance().TextHeight(Cell), 20, 1);
}

TEST_F(FontTest, WidthGrowsWithTheText)
{
    EXPECT_EQ(Canvas.TextWidth(""), 0);
    const int One = Canvas.TextWidth("i"), Two = Canvas.TextWidth("ii"), More = Canvas.TextWidth("iiW");
    EXPECT_GT(One, 0);
    EXPECT_GT(Two, One);
    EXPECT_GT(More, Two);
    EXPECT_GT(Canvas.TextWidth("WWWW"), Canvas.TextWidth("iiii"));
}

// Bold is heavier and wider than regular in the same family and size, whether the
// family has a bold face or it is thickened; the style is part of a font's value.
TEST_F(FontTest, BoldIsHeavierAndWiderAndCopiesWithTheFont)
{
    const auto InkOf = [this](const TFont& F) {
        Canvas.Brush.Color = Paper;
        Canvas.FillRect(Rect(0, 0, Surface.Width(), Surface.Height()));
        Canvas.Font = F;
        Canvas.TextOut(2, 2, "Value 1000");
        int N = 0;
        for (int Y = 0; Y < Surface.Height(); ++Y)
            for (int X = 0; X < Surface.Width(); ++X) N += 255 - (Surface.Pixel(X, Y) & 0xFF);
        return N;
    };
    TFont Regular, Bold;
    Bold.SetStyle({fsBold});
    EXPECT_GT(InkOf(Bold), InkOf(Regular) * 11 / 10);
    EXPECT_GT(TFontEngine::Instance().TextWidth(Bold, "Value 1000"),
              TFontEngine::Instance().TextWidth(Regular, "Value 1000"));
    EXPECT_NE(Bold, Regular);
    TFont Copy(Bold), Assigned;
    Assigned = Bold;
    EXPECT_EQ(Copy.Style(), TFontStyles{fsBold});
    EXPECT_EQ(Assigned, Bold);
}

TEST_F(FontTest, DrawsInTheFontColourBlendedOverThePaper)
{
    Canvas.Font.SetHeight(-24);
    Canvas.Font.SetColor(clNavy);
    Canvas.TextOut(2, 2, "HHH");
    bool Solid = false, Blended = false;
    for (int Y = 0; Y < Surface.Height(); ++Y)
        for (int X = 0; X < Surface.Width(); ++X) {
            const TColor P = Surface.Pixel(X, Y);
            if (P == Paper) continue;
            if (P == clNavy) {
                Solid = true;
                continue;
            }
            Blended = true;
            // Between white and navy on every channel: red and green fall while blue
            // keeps between 0x80 and 0xFF.
            EXPECT_EQ(P & 0xFF, (P >> 8) & 0xFF);
            EXPECT_GE((P >> 16) & 0xFF, 0x80);
        }
    EXPECT_TRUE(Solid);
    EXPECT_TRUE(Blended);

    // The system text colour becomes its plain colour.
    Surface.SetSize(120, 40, Paper);
    Canvas.Font = TFont{};
    Canvas.Font.SetHeight(-24);
    Canvas.TextOut(2, 2, "HHH");
    bool Found = false;
    for (int Y = 0; Y < 40 && !Found; ++Y)
        for (int X = 0; X < 120 && !Found; ++X) Found = Surface.Pixel(X, Y) == ColorToRGB(clWindowText);
    EXPECT_TRUE(Found);
}

TEST_F(FontTest, ClipsToTheCanvas)
{
    Canvas.Bind(&Surface, {20, 10}, Rect(25, 12, 40, 20));
    Canvas.Font.SetHeight(-24);
    Canvas.TextOut(-3, -5, "WWWWWWWW");
    const TRect Box = Ink();
    ASSERT_FALSE(Box.IsEmpty());
    EXPECT_GE(Box.Left, 25);
    EXPECT_GE(Box.Top, 12);
    EXPECT_LE(Box.Right, 40);
    EXPECT_LE(Box.Bottom, 20);

    Surface.SetSize(120, 40, Paper);
    Canvas.Bind(&Surface, {0, 0}, Rect(0, 0, 120, 40));
    Canvas.TextOut(INT_MAX, INT_MIN, "far away");
    Canvas.TextOut(INT_MIN, INT_MAX, "far away");
    Canvas.TextOut(INT_MIN, 5, "far away");
    EXPECT_TRUE(Ink().IsEmpty());
}

TEST_F(FontTest, Utf8AndUnknownCharacters)
{
    // Two bytes that are one character: one glyph, not two.
    EXPECT_GT(Canvas.TextWidth("\xC3\xA9"), 0);
    EXPECT_LT(Canvas.TextWidth("\xC3\xA9"), 2 * Canvas.TextWidth("e"));
    // Malformed bytes and a lone surrogate are no characters: they add nothing.
    EXPECT_EQ(Canvas.TextWidth("a\xFF\xC3" "b"), Canvas.TextWidth("ab"));
    EXPECT_EQ(Canvas.TextWidth("a\xED\xA0\x80" "b"), Canvas.TextWidth("ab"));
    Canvas.TextOut(0, 0, "\xFF\xED\xA0\x80");
    EXPECT_TRUE(Ink().IsEmpty());
    // A character no font has (here one for private use) is not dropped: it takes the
    // room of the missing-glyph box and draws it.
    EXPECT_GT(Canvas.TextWidth("a\xF4\x8F\xBF\xBD" "b"), Canvas.TextWidth("ab"));
    Canvas.TextOut(0, 0, "\xF4\x8F\xBF\xBD\xFF");
    EXPECT_FALSE(Ink().IsEmpty());
}

TEST_F(FontTest, ExtremeHeightsAreSafe)
{
    for (int Height : {INT_MIN, INT_MAX, 0, 1, -1}) {
        Canvas.Font.SetHeight(Height);
        Canvas.TextOut(0, 0, "Ag");
        EXPECT_GE(Canvas.TextHeight("Ag"), 1) << Height;
        EXPECT_GE(Canvas.TextWidth("Ag"), 0) << Height;
    }
}

// Runs in a fresh process: the engine is per process and must find no font there.
TEST(FontWithoutFonts, TextIsSkippedWithOneWarning)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto Config = std::filesystem::temp_directory_path() / "font_test_empty.conf";
    std::ofstream(Config) << "<?xml version=\"1.0\"?><fontconfig></fontconfig>\n";
    EXPECT_EXIT(
        {
            setenv("FONTCONFIG_FILE", Config.c_str(), 1);
            TBitmap Surface(50, 20, Paper);
            TCanvas Canvas(&Surface, {0, 0}, Rect(0, 0, 50, 20));
            Canvas.TextOut(0, 0, "Hello");
            Canvas.Font.SetHeight(-20);
            Canvas.TextOut(0, 0, "Hello");
            const bool Blank = Surface == TBitmap(50, 20, Paper);
            const bool Measures = Canvas.TextWidth("Hello") == 0 && Canvas.TextHeight("Hello") == 20;
            std::exit(Blank && Measures ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^[^\n]*no usable font[^\n]*\n$");
    std::filesystem::remove(Config);
}

} // namespace
