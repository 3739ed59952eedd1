#include "platform/colors/Colors.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace {

struct TColorIdent {
    TColor Value;
    const char* Name;
};

// The order in which GetColorValues reports them: the 16 standard colours, the four
// extras, the system colours by index, then clNone and clDefault.
constexpr TColorIdent ColorIdents[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};
constexpr size_t ColorIdentCount = std::size(ColorIdents);
static_assert(ColorIdentCount <= 54);

constexpr TColor RGB(int R, int G, int B) { return R | (G << 8) | (B << 16); }

// The fixed light theme, indexed by system colour index (the low byte of the code).
// Index 25 has no system colour; it and anything past the table give black.
// The same table is in docs/colours.md.
constexpr std::array<TColor, 31> LightTheme = {
    RGB(200, 200, 200), // 0  clScrollBar
    RGB(58, 110, 165),  // 1  clBackground (the desktop)
    RGB(153, 180, 209), // 2  clActiveCaption
    RGB(191, 205, 219), // 3  clInactiveCaption
    RGB(240, 240, 240), // 4  clMenu
    RGB(255, 255, 255), // 5  clWindow
    RGB(100, 100, 100), // 6  clWindowFrame
    RGB(0, 0, 0),       // 7  clMenuText
    RGB(0, 0, 0),       // 8  clWindowText
    RGB(0, 0, 0),       // 9  clCaptionText
    RGB(180, 180, 180), // 10 clActiveBorder
    RGB(244, 247, 252), // 11 clInactiveBorder
    RGB(171, 171, 171), // 12 clAppWorkSpace
    RGB(0, 120, 215),   // 13 clHighlight
    RGB(255, 255, 255), // 14 clHighlightText
    RGB(240, 240, 240), // 15 clBtnFace
    RGB(160, 160, 160), // 16 clBtnShadow
    RGB(109, 109, 109), // 17 clGrayText
    RGB(0, 0, 0),       // 18 clBtnText
    RGB(0, 0, 0),       // 19 clInactiveCaptionText
    RGB(255, 255, 255), // 20 clBtnHighlight
    RGB(105, 105, 105), // 21 cl3DDkShadow
    RGB(227, 227, 227), // 22 cl3DLight
    RGB(0, 0, 0),       // 23 clInfoText
    RGB(255, 255, 225), // 24 clInfoBk
    RGB(0, 0, 0),       // 25 (none)
    RGB(0, 102, 204),   // 26 clHotLight
    RGB(185, 209, 234), // 27 clGradientActiveCaption
    RGB(215, 228, 242), // 28 clGradientInactiveCaption
    RGB(51, 153, 255),  // 29 clMenuHighlight
    RGB(240, 240, 240), // 30 clMenuBar
};

// Indexes of ColorIdents sorted by name without case, for binary search.
const std::array<uint8_t, ColorIdentCount>& ByName()
{
    static const auto Sorted = [] {
        std::array<uint8_t, ColorIdentCount> A{};
        for (size_t I = 0; I < ColorIdentCount; ++I) A[I] = static_cast<uint8_t>(I);
        std::sort(A.begin(), A.end(), [](uint8_t X, uint8_t Y) {
            return CompareText(ColorIdents[X].Name, ColorIdents[Y].Name) < 0;
        });
        return A;
    }();
    return Sorted;
}

} // namespace

TColor ColorToRGB(TColor Color)
{
    const uint32_t Bits = static_cast<uint32_t>(Color);
    if ((Bits & 0xFF000000u) == 0) return Color;
    if ((Bits & 0xFF000000u) == 0xFF000000u) {
        const uint32_t Index = Bits & 0x00FFFFFFu;
        return Index < LightTheme.size() ? LightTheme[Index] : clBlack;
    }
    // "No colour" and "the control's default" both show as the window colour, so a
    // swatch of them looks like the empty background they stand for.
    if (Color == clNone || Color == clDefault) return LightTheme[5];
    return static_cast<TColor>(Bits & 0x00FFFFFFu);
}

bool IdentToColor(const std::string& Ident, TColor& Color)
{
    const auto& Sorted = ByName();
    const auto It = std::lower_bound(Sorted.begin(), Sorted.end(), Ident, [](uint8_t X, const std::string& Key) {
        return CompareText(ColorIdents[X].Name, Key) < 0;
    });
    if (It == Sorted.end() || CompareText(ColorIdents[*It].Name, Ident) != 0) return false;
    Color = ColorIdents[*It].Value;
    return true;
}

bool ColorToIdent(TColor Color, std::string& Ident)
{
    // 52 entries with distinct values: a scan is cheaper than any index here.
    for (const TColorIdent& E : ColorIdents) {
        if (E.Value == Color) {
            Ident = E.Name;
            return true;
        }
    }
    return false;
}

bool IsColorValue(TColor Color)
{
    std::string Ident;
    return (static_cast<uint32_t>(Color) >> 24) == 0 || ColorToIdent(Color, Ident);
}

void GetColorValues(const TGetStrProc& Proc)
{
    for (const TColorIdent& E : ColorIdents) Proc(E.Name);
}

std::string ColorToString(TColor Color)
{
    std::string Ident;
    if (ColorToIdent(Color, Ident)) return Ident;
    return "$" + IntToHex(Color, 8);
}

const TTypeInfo TypeInfoTColor = NamedIntegerTypeInfo<TColor, IdentToColor, ColorToString, IsColorValue>(
    "TColor", "a name (clNavy, clBtnFace) or $00BBGGRR");
