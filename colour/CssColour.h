#pragma once
// Colours in the text forms of the web's style sheets: "#RRGGBB" (and "#RGB"), and
// "rgb(r, g, b)", with red first where a TColor holds it in its low byte.

#include <string>

#include "colour/Export.h"
#include "platform/colors/Colors.h" // TColor

// "#RRGGBB", or "#RGB" with each digit doubled, digits of either case, into the plain
// colour $00BBGGRR; false, Color unchanged, for anything else ("#12345", "#GGHHII",
// "FF6347", white space).
QELL_COLOUR_API bool CssHexToColour(const std::string& Text, TColor& Color);

// Color as drawn (a toolkit code resolved with ColorToRGB) as "#RRGGBB", uppercase
// digits: clBtnFace gives "#F0F0F0", $004763FF "#FF6347".
QELL_COLOUR_API std::string ColourToCssHex(TColor Color);

// Color as drawn as "rgb(r, g, b)", decimal channels: $004763FF gives "rgb(255, 99, 71)".
QELL_COLOUR_API std::string ColourToCssRgb(TColor Color);
