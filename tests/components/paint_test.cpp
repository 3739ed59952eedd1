// The components' previews: where their colours go, that every colour shows, and that
// nothing is drawn outside a component, whatever its properties hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/FontEngine.h"
#include "tests/components/ComponentTesting.h"
#include "tests/support/TextTesting.h"

namespace {

using namespace comptest;

// What the bitmap holds where nothing was painted; no component's default colour.
constexpr TColor Sentinel = 0xA1B2C3;
constexpr int Margin = 8;

// C painted onto a bitmap with Margin pixels of sentinel all round. The canvas is
// clipped to the whole bitmap, so that a stray pixel outside the component shows, and
// its pen left inverting, so that a preview relying on the caller's pen shows too.
TBitmap Painted(const TQellControl& C)
{
    TBitmap Surface(C.Width + 2 * Margin, C.Height + 2 * Margin, Sentinel);
    TCanvas Canvas(&Surface, {Margin, Margin}, Rect(0, 0, Surface.Width(), Surface.Height()));
    Canvas.Pen.Mode = pmNot;
    C.Paint(Canvas);
    return Surface;
}

bool Shows(const TBitmap& B, TColor Colour)
{
    for (int Y = 0; Y < B.Height(); ++Y)
        if (std::count(B.ScanLine(Y), B.ScanLine(Y) + B.Width(), static_cast<uint32_t>(Colour))) return true;
    return false;
}

// The first pixel outside the component that is not the sentinel, as "(x, y)" in the
// component's coordinates; empty when there is none.
std::string StrayPixel(const TBitmap& B, const TQellControl& C)
{
    const TRect Inside = Bounds(Margin, Margin, C.Width, C.Height);
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X)
            if (!Inside.Contains(X, Y) && B.Pixel(X, Y) != Sentinel)
                return "(" + std::to_string(X - Margin) + ", " + std::to_string(Y - Margin) + ")";
    return "";
}

// A button's border, shadow and background where its geometry puts them, a system colour
// as the theme draws it, and its caption centred in the text colour.
TEST(Paint, ButtonShowsItsColoursWhereExpected)
{
    TQellButton Button(nullptr);
    Button.Caption = "Order";
    TQellButtonAppearance& A = Button.Appearance;
    A.CornerRadius = 0;
    A.BorderWidth = 2;
    A.ShadowDepth = 3;
    A.BackgroundColor = clBtnFace;
    A.BorderColor = 0x800000;
    A.TextColor = 0x123456;
    A.ShadowColor = clBtnShadow;
    const TBitmap B = Painted(Button);
    auto At = [&](int X, int Y) { return B.Pixel(Margin + X, Margin + Y); };
    const TColor Face = 0xF0F0F0, Shadow = 0xA0A0A0; // the light theme's button face and shadow

    // A 117 x 29 body with a two-pixel border; the shadow, offset by 3, shows right and
    // below it, and the corners it leaves stay unpainted.
    const std::pair<TPoint, TColor> Expected[] = {
        {{0, 0}, 0x800000},  {{1, 1}, 0x800000},  {{116, 0}, 0x800000}, {{115, 28}, 0x800000}, {{2, 2}, Face},
        {{114, 26}, Face},   {{3, 14}, Face},     {{117, 3}, Shadow},   {{119, 31}, Shadow},   {{3, 29}, Shadow},
        {{117, 2}, Sentinel}, {{2, 29}, Sentinel}};
    for (const auto& [P, Colour] : Expected) EXPECT_EQ(At(P.X, P.Y), Colour) << P.X << ", " << P.Y;
    EXPECT_EQ(StrayPixel(B, Button), "");

    // Inside the border whatever is not the face is the caption: pixels in the text
    // colour among them, centred across the body.
    int Left = 1000, Right = -1, TextPixels = 0;
    for (int Y = 2; Y < 27; ++Y)
        for (int X = 2; X < 115; ++X)
            if (At(X, Y) != Face) {
                Left = std::min(Left, X);
                Right = std::max(Right, X);
                TextPixels += At(X, Y) == 0x123456;
            }
    EXPECT_GT(TextPixels, 5);
    EXPECT_LE(std::abs(Left - (116 - Right)), 2) << Left << ".." << Right;
}

// Every web colour of every component shows in its preview at once: set to a colour that
// the preview did not hold, that colour appears (a system colour as the theme draws it).
// The on/off button shows its on colour only when checked, so it is painted both ways.
TEST(Paint, EveryColourShowsInThePreview)
{
    const TColor Plain = 0x010203;
    const TColor System = clInfoBk, SystemRGB = ColorToRGB(clInfoBk);
    TQellPage Page(nullptr);
    std::map<std::string, bool> Seen; // class and path -> shown in some instance
    for (TQellControl* C : OneOfEach(Page)) {
        const TBitmap Before = Painted(*C);
        ASSERT_FALSE(Shows(Before, Plain) || Shows(Before, SystemRGB)) << C->ClassName();
        ForEachValue(*C, [&](TPersistent& Instance, const TPropInfo& P, const std::string& Path) {
            if (P.PropType != &TypeInfoTIWColor) return;
            const int64_t Old = GetOrdProp(Instance, P);
            SetOrdProp(Instance, P, Plain);
            const bool PlainShows = Shows(Painted(*C), Plain);
            SetOrdProp(Instance, P, System);
            const bool SystemShows = Shows(Painted(*C), SystemRGB);
            SetOrdProp(Instance, P, Old);
            // Slots differ only by position; one shown slot stands for all.
            std::string Key = C->ClassName() + "." + Path;
            if (auto Open = Key.find('['); Open != std::string::npos) Key.erase(Open, Key.find(']') - Open + 1);
            Seen[Key] = Seen[Key] || (PlainShows && SystemShows);
        });
        EXPECT_EQ(Painted(*C), Before) << C->ClassName() << ": restoring the colours restores the preview";
    }
    EXPECT_EQ(Seen.size(), 31u);
    for (const auto& [Key, Shown] : Seen) EXPECT_TRUE(Shown) << Key;
}

// Nothing leaves the component's rectangle: not at any size from nothing up, not with
// any other property at either end of its range, not with a caption far too long.
TEST(Paint, StaysInsideItsBoundsWhateverItsProperties)
{
    TQellPage Page(nullptr);
    for (TQellControl* C : OneOfEach(Page)) {
        const std::string Class = C->ClassName();
        for (int W : {0, 1, 2, 3, 5, 8, 13, 30})
            for (int H : {0, 1, 2, 3, 5, 8, 13, 30}) {
                std::swap(C->Width, W);
                std::swap(C->Height, H);
                EXPECT_EQ(StrayPixel(Painted(*C), *C), "") << Class << " " << C->Width << " x " << C->Height;
                std::swap(C->Width, W);
                std::swap(C->Height, H);
            }
        std::string Long;
        for (int I = 0; I < 40; ++I) Long += "Wide words é|";
        ForEachValue(*C, [&](TPersistent& Instance, const TPropInfo& P, const std::string& Path) {
            if (Path == "Left" || Path == "Top" || Path == "Name" || P.PropType == &TypeInfoTIWColor) return;
            if (P.Kind() == TTypeKind::String) {
                const std::string Old = GetStrProp(Instance, P);
                SetStrProp(Instance, P, Long);
                EXPECT_EQ(StrayPixel(Painted(*C), *C), "") << Class << "." << Path;
                SetStrProp(Instance, P, Old);
                return;
            }
            const int64_t Old = GetOrdProp(Instance, P);
            for (int64_t V : {P.MinValue, P.MaxValue}) {
                SetOrdProp(Instance, P, V);
                EXPECT_EQ(StrayPixel(Painted(*C), *C), "") << Class << "." << Path << " = " << V;
            }
            SetOrdProp(Instance, P, Old);
        });
    }
}

// A Japanese caption shows its glyphs: the label draws the text as the canvas lays it
// out, in the font fontconfig names for Japanese, with no missing glyph.
TEST(Paint, AJapaneseCaptionShowsItsGlyphs)
{
    const std::string Caption =
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88";
    if (!TFontEngine::Instance().HasFace(TFont{})) GTEST_SKIP() << "no sans font installed";
    TQellLabel Label(nullptr);
    Label.Caption = Caption;
    Label.Width = 200;
    Label.Height = 20;
    Label.TextColor = clBlack;
    const TBitmap Preview = Painted(Label);

    TBitmap Alone(240, 40, Sentinel);
    TCanvas C(&Alone, {0, 0}, Rect(0, 0, 240, 40));
    C.Font.SetColor(clBlack);
    C.TextOut(10, 10, Caption);
    const TBitmap Shown = texttest::Ink(Preview, Rect(0, 0, Preview.Width(), Preview.Height()), Sentinel);
    EXPECT_GT(Shown.Width(), C.TextWidth(Caption) * 9 / 10);
    EXPECT_TRUE(Shown == texttest::Ink(Alone, Rect(0, 0, 240, 40), Sentinel));

    const std::string Japanese = texttest::FontconfigFile("sans-serif:lang=ja");
    for (const TTextRun& Run : C.TextLayout(Caption)->Runs()) {
        EXPECT_EQ(Run.FontFile, Japanese);
        for (const TShapedGlyph& G : Run.Glyphs) EXPECT_NE(G.Id, 0u);
    }
}

} // namespace
