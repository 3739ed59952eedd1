#include "colour/CssColour.h"

#include <cstdio>

#include "colour/ColourModel.h"
#include "platform/rtl/SysUtils.h"

bool CssHexToColour(const std::string& Text, TColor& Color)
{
    if (Text.size() != 4 && Text.size() != 7) return false;
    if (Text[0] != '#') return false;
    int Channels[3];
    const bool Short = Text.size() == 4;
    for (int I = 0; I < 3; ++I) {
        const int Hi = HexDigit(Text[static_cast<size_t>(Short ? 1 + I : 1 + 2 * I)]);
        const int Lo = HexDigit(Text[static_cast<size_t>(Short ? 1 + I : 2 + 2 * I)]);
        if (Hi < 0 || Lo < 0) return false;
        Channels[I] = Hi * 16 + Lo;
    }
    Color = RGBColor(Channels[0], Channels[1], Channels[2]);
    return true;
}

std::string ColourToCssHex(TColor Color)
{
    const TColor C = ColorToRGB(Color);
    char Text[8];
    std::snprintf(Text, sizeof Text, "#%02X%02X%02X", RedOf(C), GreenOf(C), BlueOf(C));
    return Text;
}

std::string ColourToCssRgb(TColor Color)
{
    const TColor C = ColorToRGB(Color);
    char Text[24];
    std::snprintf(Text, sizeof Text, "rgb(%d, %d, %d)", RedOf(C), GreenOf(C), BlueOf(C));
    return Text;
}
