#include "colour/IWColors.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace {

// Written as the web writes them (#RRGGBB), stored with red in the low byte.
constexpr TColor Web(uint32_t RRGGBB)
{
    return static_cast<TColor>(((RRGGBB >> 16) & 0xFF) | (RRGGBB & 0xFF00) | ((RRGGBB & 0xFF) << 16));
}

} // namespace

// The usual web colour names and values, plus Grey and LightGrey so that both common
// spellings of the greys are known. Ordered for a 12 x 12 grid: the 132 colours with a
// hue are sorted by hue starting from red and cut into rows of 12, one hue band per
// row, each row running from light to dark; the 11 pure greys form the last row, white
// to black. Reordering breaks the grid's look, not any lookup.
const TIWColorEntry IWColors[IWColorCount] = {
    // reds
    {Web(0xFFFAFA), "Snow"},
    {Web(0xFFE4E1), "MistyRose"},
    {Web(0xFA8072), "Salmon"},
    {Web(0xF08080), "LightCoral"},
    {Web(0xBC8F8F), "RosyBrown"},
    {Web(0xFF6347), "Tomato"},
    {Web(0xCD5C5C), "IndianRed"},
    {Web(0xA52A2A), "Brown"},
    {Web(0xB22222), "FireBrick"},
    {Web(0xFF0000), "Red"},
    {Web(0x8B0000), "DarkRed"},
    {Web(0x800000), "Maroon"},
    // oranges and browns
    {Web(0xFFF5EE), "SeaShell"},
    {Web(0xFAF0E6), "Linen"},
    {Web(0xFFDAB9), "PeachPuff"},
    {Web(0xFFA07A), "LightSalmon"},
    {Web(0xF4A460), "SandyBrown"},
    {Web(0xE9967A), "DarkSalmon"},
    {Web(0xFF7F50), "Coral"},
    {Web(0xCD853F), "Peru"},
    {Web(0xD2691E), "Chocolate"},
    {Web(0xFF4500), "OrangeRed"},
    {Web(0xA0522D), "Sienna"},
    {Web(0x8B4513), "SaddleBrown"},
    // creams, tans and oranges
    {Web(0xFDF5E6), "OldLace"},
    {Web(0xFFEFD5), "PapayaWhip"},
    {Web(0xFFEBCD), "BlanchedAlmond"},
    {Web(0xFAEBD7), "AntiqueWhite"},
    {Web(0xFFE4C4), "Bisque"},
    {Web(0xFFE4B5), "Moccasin"},
    {Web(0xFFDEAD), "NavajoWhite"},
    {Web(0xF5DEB3), "Wheat"},
    {Web(0xDEB887), "BurlyWood"},
    {Web(0xD2B48C), "Tan"},
    {Web(0xFFA500), "Orange"},
    {Web(0xFF8C00), "DarkOrange"},
    // yellows and golds
    {Web(0xFFFFF0), "Ivory"},
    {Web(0xFFFFE0), "LightYellow"},
    {Web(0xFFFAF0), "FloralWhite"},
    {Web(0xFFF8DC), "Cornsilk"},
    {Web(0xFFFACD), "LemonChiffon"},
    {Web(0xFAFAD2), "LightGoldenRodYellow"},
    {Web(0xEEE8AA), "PaleGoldenRod"},
    {Web(0xF0E68C), "Khaki"},
    {Web(0xFFD700), "Gold"},
    {Web(0xBDB76B), "DarkKhaki"},
    {Web(0xDAA520), "GoldenRod"},
    {Web(0xB8860B), "DarkGoldenRod"},
    // yellow-greens
    {Web(0xF0FFF0), "HoneyDew"},
    {Web(0xF5F5DC), "Beige"},
    {Web(0xFFFF00), "Yellow"},
    {Web(0x98FB98), "PaleGreen"},
    {Web(0xADFF2F), "GreenYellow"},
    {Web(0x90EE90), "LightGreen"},
    {Web(0x7FFF00), "Chartreuse"},
    {Web(0x7CFC00), "LawnGreen"},
    {Web(0x9ACD32), "YellowGreen"},
    {Web(0x6B8E23), "OliveDrab"},
    {Web(0x808000), "Olive"},
    {Web(0x556B2F), "DarkOliveGreen"},
    // greens
    {Web(0xF5FFFA), "MintCream"},
    {Web(0x66CDAA), "MediumAquaMarine"},
    {Web(0x8FBC8F), "DarkSeaGreen"},
    {Web(0x00FA9A), "MediumSpringGreen"},
    {Web(0x00FF7F), "SpringGreen"},
    {Web(0x00FF00), "Lime"},
    {Web(0x32CD32), "LimeGreen"},
    {Web(0x3CB371), "MediumSeaGreen"},
    {Web(0x2E8B57), "SeaGreen"},
    {Web(0x228B22), "ForestGreen"},
    {Web(0x008000), "Green"},
    {Web(0x006400), "DarkGreen"},
    // cyans and teals
    {Web(0xF0FFFF), "Azure"},
    {Web(0xE0FFFF), "LightCyan"},
    {Web(0xAFEEEE), "PaleTurquoise"},
    {Web(0x7FFFD4), "Aquamarine"},
    {Web(0x00FFFF), "Aqua"},
    {Web(0x00FFFF), "Cyan"},
    {Web(0x40E0D0), "Turquoise"},
    {Web(0x48D1CC), "MediumTurquoise"},
    {Web(0x20B2AA), "LightSeaGreen"},
    {Web(0x008B8B), "DarkCyan"},
    {Web(0x008080), "Teal"},
    {Web(0x2F4F4F), "DarkSlateGray"},
    // sky and steel blues
    {Web(0xF0F8FF), "AliceBlue"},
    {Web(0xB0E0E6), "PowderBlue"},
    {Web(0xADD8E6), "LightBlue"},
    {Web(0x87CEFA), "LightSkyBlue"},
    {Web(0x87CEEB), "SkyBlue"},
    {Web(0x00CED1), "DarkTurquoise"},
    {Web(0x00BFFF), "DeepSkyBlue"},
    {Web(0x5F9EA0), "CadetBlue"},
    {Web(0x778899), "LightSlateGray"},
    {Web(0x708090), "SlateGray"},
    {Web(0x1E90FF), "DodgerBlue"},
    {Web(0x4682B4), "SteelBlue"},
    // blues
    {Web(0xF8F8FF), "GhostWhite"},
    {Web(0xE6E6FA), "Lavender"},
    {Web(0xB0C4DE), "LightSteelBlue"},
    {Web(0x6495ED), "CornflowerBlue"},
    {Web(0x6A5ACD), "SlateBlue"},
    {Web(0x4169E1), "RoyalBlue"},
    {Web(0x483D8B), "DarkSlateBlue"},
    {Web(0x191970), "MidnightBlue"},
    {Web(0x0000FF), "Blue"},
    {Web(0x0000CD), "MediumBlue"},
    {Web(0x00008B), "DarkBlue"},
    {Web(0x000080), "Navy"},
    // violets and purples
    {Web(0xD8BFD8), "Thistle"},
    {Web(0xDDA0DD), "Plum"},
    {Web(0xEE82EE), "Violet"},
    {Web(0x9370DB), "MediumPurple"},
    {Web(0xBA55D3), "MediumOrchid"},
    {Web(0x7B68EE), "MediumSlateBlue"},
    {Web(0xFF00FF), "Fuchsia"},
    {Web(0x9932CC), "DarkOrchid"},
    {Web(0x8A2BE2), "BlueViolet"},
    {Web(0x663399), "RebeccaPurple"},
    {Web(0x9400D3), "DarkViolet"},
    {Web(0x4B0082), "Indigo"},
    // pinks and magentas
    {Web(0xFFF0F5), "LavenderBlush"},
    {Web(0xFFC0CB), "Pink"},
    {Web(0xFFB6C1), "LightPink"},
    {Web(0xFF69B4), "HotPink"},
    {Web(0xDA70D6), "Orchid"},
    {Web(0xDB7093), "PaleVioletRed"},
    {Web(0xFF00FF), "Magenta"},
    {Web(0xFF1493), "DeepPink"},
    {Web(0xC71585), "MediumVioletRed"},
    {Web(0xDC143C), "Crimson"},
    {Web(0x8B008B), "DarkMagenta"},
    {Web(0x800080), "Purple"},
    // greys, white to black (the last cell stays empty)
    {Web(0xFFFFFF), "White"},
    {Web(0xF5F5F5), "WhiteSmoke"},
    {Web(0xDCDCDC), "Gainsboro"},
    {Web(0xD3D3D3), "LightGray"},
    {Web(0xD3D3D3), "LightGrey"},
    {Web(0xC0C0C0), "Silver"},
    {Web(0xA9A9A9), "DarkGray"},
    {Web(0x808080), "Gray"},
    {Web(0x808080), "Grey"},
    {Web(0x696969), "DimGray"},
    {Web(0x000000), "Black"},
};

namespace {

struct TNamed {
    TColor Value;
    std::string_view Name;
};

// Web names and toolkit identifiers together, sorted twice: by name for parsing and by
// value for printing. Built once, on first use, from the two tables; web entries come
// first so that a stable sort lets them win on ties.
struct TLookup {
    std::vector<std::string> ToolkitNames;
    std::vector<TNamed> ByName, ByValue;

    TLookup()
    {
        GetColorValues([this](const std::string& S) { ToolkitNames.push_back(S); });
        std::vector<TNamed> All;
        for (const TIWColorEntry& E : IWColors) All.push_back({E.Value, E.Name});
        for (const std::string& S : ToolkitNames) {
            TColor C;
            if (IdentToColor(S, C)) All.push_back({C, S});
        }
        ByName = All;
        std::stable_sort(ByName.begin(), ByName.end(),
                         [](const TNamed& A, const TNamed& B) { return CompareText(A.Name, B.Name) < 0; });
        ByValue = std::move(All);
        std::stable_sort(ByValue.begin(), ByValue.end(),
                         [](const TNamed& A, const TNamed& B) { return A.Value < B.Value; });
    }
};

const TLookup& Lookup()
{
    static const TLookup Instance;
    return Instance;
}

} // namespace

bool IdentToIWColor(const std::string& Ident, TColor& Color)
{
    const auto& Names = Lookup().ByName;
    const auto It = std::lower_bound(Names.begin(), Names.end(), std::string_view(Ident),
                                     [](const TNamed& E, std::string_view Key) { return CompareText(E.Name, Key) < 0; });
    if (It == Names.end() || CompareText(It->Name, Ident) != 0) return false;
    Color = It->Value;
    return true;
}

std::string IWColorToString(TColor Color)
{
    const auto& Values = Lookup().ByValue;
    const auto It = std::lower_bound(Values.begin(), Values.end(), Color,
                                     [](const TNamed& E, TColor Key) { return E.Value < Key; });
    if (It != Values.end() && It->Value == Color) return std::string(It->Name);
    std::string Text(1, '$');
    Text += IntToHex(Color, 8);
    return Text;
}

TColor StringToIWColor(const std::string& Text)
{
    TColor Color;
    if (IdentToIWColor(Text, Color)) return Color;
    int32_t Value;
    if (TryStrToInt(Text, Value)) return Value;
    throw EConvertError(QuotedInput(Text) + " is not a colour name or an integer value");
}

void GetIWColorValues(const TGetStrProc& Proc)
{
    for (const TIWColorEntry& E : IWColors) Proc(E.Name);
}

const TTypeInfo TypeInfoTIWColor = NamedIntegerTypeInfo<TColor, IdentToIWColor, IWColorToString, IsColorValue>(
    "TIWColor", "a name (Navy, clBtnFace) or $00BBGGRR");
