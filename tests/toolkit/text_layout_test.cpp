// Text layout against independent answers: HarfBuzz's own hb-shape for the glyphs,
// fontconfig's fc-match for the fallback font, the bidirectional algorithm and the
// segmentation rules worked by hand for the order and the clusters.

#include "platform/graphics/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "platform/graphics/Canvas.h"
#include "tests/support/TextTesting.h"

namespace {

using namespace texttest;

// What hb-shape makes of a run: the same font file and face, size and hinting, the same
// direction, script, language and features, the rest of the line as context. Clusters
// relative to the run.
std::vector<TShapedGlyph> HbShape(const std::string& Text, const TTextRun& Run, int Em, const std::string& Features)
{
    const std::string Part = Text.substr(Run.First, Run.Last - Run.First);
    std::vector<std::string> Command{"hb-shape",
                                     "--font-funcs=ft",
                                     "--ft-load-flags=0",
                                     "--font-size=" + std::to_string(Em * 64),
                                     "--face-index=" + std::to_string(Run.FaceIndex),
                                     "--direction=" + std::string(Run.RightToLeft ? "rtl" : "ltr"),
                                     "--script=" + Run.Script,
                                     "--language=" + Run.Language,
                                     "--features=" + Features,
                                     "--text-before=" + Text.substr(0, Run.First),
                                     "--text-after=" + Text.substr(Run.Last),
                                     "--no-glyph-names",
                                     "--utf8-clusters",
                                     "--output-format=json"};
    if (Run.First == 0) Command.push_back("--bot");
    if (Run.Last == Text.size()) Command.push_back("--eot");
    Command.push_back(Run.FontFile);
    Command.push_back(Part);
    const std::string Json = CommandOutput(Command);
    static const std::regex Glyph(
        R"(\{"g":(\d+),"cl":(\d+),"dx":(-?\d+),"dy":(-?\d+),"ax":(-?\d+),"ay":-?\d+\})");
    std::vector<TShapedGlyph> Glyphs;
    for (auto It = std::sregex_iterator(Json.begin(), Json.end(), Glyph); It != std::sregex_iterator(); ++It)
        Glyphs.push_back({static_cast<uint32_t>(std::stoul((*It)[1])), static_cast<uint32_t>(std::stoul((*It)[2])),
                          std::stoi((*It)[5]), std::stoi((*It)[3]), std::stoi((*It)[4])});
    EXPECT_FALSE(Glyphs.empty()) << "hb-shape said: " << Json;
    return Glyphs;
}

// The dialog font's rule on top of hb-shape's glyphs: in a left-to-right run, each
// pair's kerning from the face's 'kern' table, in whole pixels, as FreeType reads it.
void AddTableKerning(std::vector<TShapedGlyph>& Glyphs, const TTextRun& Run, int Em)
{
    if (Run.RightToLeft) return;
    FT_Library Library;
    ASSERT_EQ(FT_Init_FreeType(&Library), 0);
    FT_Face Face;
    ASSERT_EQ(FT_New_Face(Library, Run.FontFile.c_str(), Run.FaceIndex, &Face), 0);
    FT_Set_Pixel_Sizes(Face, 0, static_cast<FT_UInt>(Em));
    for (size_t I = 1; I < Glyphs.size() && FT_HAS_KERNING(Face); ++I) {
        FT_Vector Delta{};
        FT_Get_Kerning(Face, Glyphs[I - 1].Id, Glyphs[I].Id, FT_KERNING_DEFAULT, &Delta);
        Glyphs[I - 1].XAdvance += static_cast<int32_t>(Delta.x);
    }
    FT_Done_Face(Face);
    FT_Done_FreeType(Library);
}

std::string Describe(const std::vector<TShapedGlyph>& Glyphs)
{
    std::string S;
    for (const TShapedGlyph& G : Glyphs)
        S += std::to_string(G.Id) + "/" + std::to_string(G.Cluster) + "@" + std::to_string(G.XOffset) + "," +
             std::to_string(G.YOffset) + "+" + std::to_string(G.XAdvance) + " ";
    return S;
}

TFont Browser()
{
    TFont F;
    F.SetName("DejaVu Sans");
    return F;
}

class TextLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!TFontEngine::Instance().HasFace(TFont{})) GTEST_SKIP() << "no sans font installed";
    }
    static std::shared_ptr<const TTextLayout> Layout(const std::string& Text, const TFont& Font = TFont())
    {
        return TFontEngine::Instance().Layout(Font, Text);
    }
};

// Every run's glyph ids, advances and offsets are hb-shape's, in visual order, for the
// scripts that need shaping: joining, reordering, marks and ligatures, and both
// directions on one line. A named family is shaped with HarfBuzz's defaults, as a
// browser does; the dialog font without kerning and optional ligatures, its kerning
// table's pairs added.
TEST_F(TextLayoutTest, EveryRunIsWhatHbShapeMakesOfIt)
{
    const std::string Texts[] = {
        "\xD8\xA7\xD9\x84\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A\xD8\xA9 \xD9\x84\xD8\xA7",     // Arabic, with lam-alef
        "\xD7\xA9\xD7\x81\xD6\xB8\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D",                     // Hebrew with points
        "\xE0\xA4\xB9\xE0\xA4\xBF\xE0\xA4\xA8\xE0\xA5\x8D\xE0\xA4\xA6\xE0\xA5\x80",     // Devanagari
        "\xE0\xB8\xA0\xE0\xB8\xB2\xE0\xB8\xA9\xE0\xB8\xB2\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2 "
        "\xE0\xB8\x99\xE0\xB9\x89\xE0\xB8\xB3",                                          // Thai, with sara am
        "e\xCC\x81 a\xCC\x88\xCC\xA3 q\xCC\x87",                                         // combining marks
        "Office AV To \xD7\x90\xD7\x91\xD7\x92 (123) \xD8\xB3\xD9\x84\xD8\xA7\xD9\x85 end", // mixed directions
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88",
    };
    for (const TFont& Font : {Browser(), TFont()}) {
        const bool Dialog = Font.Name() != "DejaVu Sans";
        for (const std::string& Text : Texts) {
            const auto L = Layout(Text, Font);
            ASSERT_FALSE(L->Runs().empty()) << Text;
            for (const TTextRun& Run : L->Runs()) {
                std::vector<TShapedGlyph> Ours = Run.Glyphs;
                for (TShapedGlyph& G : Ours) G.Cluster -= static_cast<uint32_t>(Run.First);
                std::vector<TShapedGlyph> Theirs = HbShape(Text, Run, 11, Dialog ? "-kern,-liga" : "");
                if (Dialog) AddTableKerning(Theirs, Run, 11);
                EXPECT_EQ(Describe(Ours), Describe(Theirs))
                    << Font.Name() << ": " << Text.substr(Run.First, Run.Last - Run.First) << " in " << Run.FontFile;
            }
        }
    }
}

// The order of the bidirectional algorithm, worked by hand: in a left-to-right line a
// right-to-left word keeps its place, its letters right to left; digits inside
// right-to-left text stay left to right, and the words around them swap sides.
TEST_F(TextLayoutTest, RunsFollowTheBidiOrder)
{
    const std::string Hebrew = "\xD7\x90\xD7\x91\xD7\x92"; // alef bet gimel, 6 bytes
    auto L = Layout("abc " + Hebrew + " def");
    std::vector<std::pair<size_t, bool>> Order;
    for (const TTextRun& R : L->Runs()) Order.emplace_back(R.First, R.RightToLeft);
    EXPECT_EQ(Order, (std::vector<std::pair<size_t, bool>>{{0, false}, {4, true}, {10, false}, {11, false}}));
    const TTextRun& Word = L->Runs()[1];
    ASSERT_EQ(Word.Glyphs.size(), 3u);
    EXPECT_EQ(Word.Glyphs[0].Cluster, 8u) << "gimel leftmost";
    EXPECT_EQ(Word.Glyphs[2].Cluster, 4u) << "alef rightmost";

    // "HEBREW 123 HEBREW": the second word leftmost, then the number, then the first.
    const std::string Second = "\xD7\xA2\xD7\x95\xD7\x93";
    L = Layout(Hebrew + " 123 " + Second);
    Order.clear();
    for (const TTextRun& R : L->Runs()) Order.emplace_back(R.First, R.RightToLeft);
    EXPECT_EQ(Order, (std::vector<std::pair<size_t, bool>>{{10, true}, {7, false}, {0, true}}));
}

// A Japanese caption is drawn in the font fontconfig names for Japanese, with real
// glyphs; a character no font has is the main font's missing-glyph box, not nothing.
TEST_F(TextLayoutTest, FallbackIsFontconfigsChoiceAndTheRestIsTheMissingGlyphBox)
{
    const std::string Japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD";
    const std::string Named = FontconfigFile("sans-serif:lang=ja");
    const auto L = Layout(Japanese);
    for (const TTextRun& Run : L->Runs()) {
        EXPECT_EQ(Run.FontFile, Named);
        for (const TShapedGlyph& G : Run.Glyphs) EXPECT_NE(G.Id, 0u);
    }
    // Each character draws ink of its own within its advance.
    TBitmap B(L->Width() + 4, 20, clWhite);
    TCanvas C(&B, {0, 0}, Rect(0, 0, B.Width(), B.Height()));
    C.TextOut(2, 2, Japanese);
    for (size_t Start : {size_t{0}, size_t{3}, size_t{6}, size_t{9}, size_t{12}, size_t{15}}) {
        int Ink = 0;
        for (int X = 2 + L->CaretX(Start); X < 2 + L->CaretX(Start + 3); ++X)
            for (int Y = 0; Y < B.Height(); ++Y) Ink += B.Pixel(X, Y) != clWhite;
        EXPECT_GT(Ink, 10) << "character at byte " << Start;
    }

    // U+10FFFD, for private use, is in no font.
    const std::string Unknown = "\xF4\x8F\xBF\xBD";
    const auto Box = Layout(Unknown);
    ASSERT_EQ(Box->Runs().size(), 1u);
    EXPECT_EQ(Box->Runs()[0].FontFile, Layout("a")->Runs()[0].FontFile);
    ASSERT_EQ(Box->Runs()[0].Glyphs.size(), 1u);
    EXPECT_EQ(Box->Runs()[0].Glyphs[0].Id, 0u);
    TBitmap Drawn(20, 20, clWhite);
    TCanvas D(&Drawn, {0, 0}, Rect(0, 0, 20, 20));
    D.TextOut(2, 2, Unknown);
    // An outline: inked columns at its sides, blank inside.
    const TBitmap Outline = Ink(Drawn, Rect(0, 0, 20, 20), clWhite);
    ASSERT_GT(Outline.Width(), 3);
    ASSERT_GT(Outline.Height(), 5);
    const int MidY = Outline.Height() / 2;
    EXPECT_NE(Outline.Pixel(0, MidY), clWhite);
    EXPECT_NE(Outline.Pixel(Outline.Width() - 1, MidY), clWhite);
    EXPECT_EQ(Outline.Pixel(Outline.Width() / 2, MidY), clWhite);
}

// Extended grapheme clusters as the Unicode segmentation rules define them; the
// stepping functions agree with the list at every byte, inside clusters too.
TEST_F(TextLayoutTest, GraphemeClustersFollowTheSegmentationRules)
{
    const struct {
        std::string Text;
        std::vector<size_t> Bounds;
    } Cases[] = {
        {"e\xCC\x81x", {0, 3, 4}},                                            // e + acute
        {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD!", {0, 8, 9}},                     // thumbs up, medium skin
        {"\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB" "a", {0, 9, 10}},             // Hangul L V T jamo
        {"\xED\x95\x9C\xEA\xB8\x80", {0, 3, 6}},                              // two Hangul syllables
        {"\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7", {0, 8, 16}}, // two flags
        {"\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7", {0, 11}},            // woman ZWJ girl
        {"\r\n\n", {0, 2, 3}},
        {"\xE0\xB8\x81\xE0\xB8\xB3", {0, 6}},                                 // Thai ko kai + sara am
        {"a\xFF" "b", {0, 1, 2, 3}},                                          // a stray byte is one
        {"", {0}},
    };
    for (const auto& [Text, Bounds] : Cases) {
        EXPECT_EQ(GraphemeBoundaries(Text), Bounds) << Text;
        EXPECT_EQ(Layout(Text)->Graphemes(), Bounds) << Text;
        for (size_t P = 0; P <= Text.size(); ++P) {
            const auto After = std::upper_bound(Bounds.begin(), Bounds.end(), P);
            EXPECT_EQ(NextGraphemePos(Text, P), After == Bounds.end() ? Text.size() : *After) << Text << " at " << P;
            const auto Before = std::lower_bound(Bounds.begin(), Bounds.end(), P);
            EXPECT_EQ(PrevGraphemePos(Text, P), Before == Bounds.begin() ? 0 : *std::prev(Before)) << Text << " at " << P;
        }
    }
}

// Carets stand at each grapheme's leading edge: left in left-to-right text, right in
// right-to-left text; a click finds the nearest; a selection across a change of
// direction covers two spans; a ligature's graphemes share its width.
TEST_F(TextLayoutTest, CaretsHitsAndSpansFollowTheVisualOrder)
{
    const auto L = Layout("abc \xD7\x90\xD7\x91\xD7\x92"); // "abc " + alef bet gimel
    const int W = L->Width(), Word = static_cast<int>((L->Runs()[1].X + 32) >> 6);
    EXPECT_EQ(L->CaretX(0), 0);
    EXPECT_LT(L->CaretX(1), L->CaretX(2));
    EXPECT_LT(L->CaretX(2), L->CaretX(3));
    EXPECT_LT(L->CaretX(3), Word);
    EXPECT_EQ(L->CaretX(4), W) << "alef's leading edge is the line's right end";
    EXPECT_LT(L->CaretX(6), L->CaretX(4));
    EXPECT_LT(L->CaretX(8), L->CaretX(6));
    EXPECT_EQ(L->CaretX(10), Word) << "after gimel: the word's left edge";
    for (size_t O : {0, 1, 2, 3, 6, 8}) EXPECT_EQ(L->OffsetAt(L->CaretX(O)), O) << O;
    EXPECT_EQ(L->OffsetAt(W + 5), 4u);
    EXPECT_EQ(L->OffsetAt(-5), 0u);
    EXPECT_EQ(L->Spans(2, 6), (std::vector<std::pair<int, int>>{{L->CaretX(2), Word}, {L->CaretX(6), W}}));
    EXPECT_EQ(L->Spans(0, 10), (std::vector<std::pair<int, int>>{{0, W}}));

    const auto Ligature = Layout("ffi", Browser());
    ASSERT_EQ(Ligature->Runs()[0].Glyphs.size(), 1u) << "one glyph for ffi";
    EXPECT_LT(0, Ligature->CaretX(1));
    EXPECT_LT(Ligature->CaretX(1), Ligature->CaretX(2));
    EXPECT_LT(Ligature->CaretX(2), Ligature->Width());
}

// What is measured is what is drawn, in every script: the ink lies within the width.
TEST_F(TextLayoutTest, TheWidthIsTheDrawnTexts)
{
    const std::string Caption = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9"
                                "\xCE\xBA\xCE\xAC \xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9 \xD7\xA2"
                                "\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA \xD8\xA7\xD9\x84\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A"
                                "\xD8\xA9";
    TBitmap B(400, 24, clWhite);
    TCanvas C(&B, {0, 0}, Rect(0, 0, 400, 24));
    const int W = C.TextWidth(Caption);
    EXPECT_EQ(W, C.TextLayout(Caption)->Width());
    C.TextOut(10, 4, Caption);
    int Left = 400, Right = 0;
    for (int Y = 0; Y < 24; ++Y)
        for (int X = 0; X < 400; ++X)
            if (B.Pixel(X, Y) != clWhite) {
                Left = std::min(Left, X);
                Right = std::max(Right, X + 1);
            }
    EXPECT_GE(Left, 10);
    EXPECT_LE(Right, 10 + W + 1);
    EXPECT_GT(Right - Left, W * 9 / 10);
}

} // namespace
