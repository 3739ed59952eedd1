#pragma once
// Colour accessibility: how far a colour stands out from the colour it is drawn on
// (relative luminance and contrast ratio, judged against the accessibility levels), the
// nearest colour of the same hue that would pass, and what a page looks like to people
// with a colour-vision deficiency. Pure functions on colours.
//
// Every function takes any TColor: a toolkit code (clHighlight) is resolved with
// ColorToRGB first, as the canvas draws it.

#include <string>

#include "colour/Export.h"
#include "platform/colors/Colors.h"

// Relative luminance, 0 (black) to 1 (white): each 8-bit channel linearised (c / 12.92
// up to 0.04045, else ((c + 0.055) / 1.055)^2.4), weighted 0.2126, 0.7152, 0.0722.
QELL_COLOUR_API double RelativeLuminance(TColor Color);

// (lighter + 0.05) / (darker + 0.05), from 1 to 21; the order of A and B does not matter.
QELL_COLOUR_API double ContrastRatio(TColor A, TColor B);

// A ratio as people read it: truncated to two decimals, never rounded up, so a ratio just
// under a requirement never shows as meeting it (4.4989 shows "4.49"). Ratios below 1 or
// not finite show as "1.00".
QELL_COLOUR_API std::string RatioText(double Ratio);

// What a colour drawn on another is, for the contrast it needs against it.
enum class TContrastKind {
    Text,      // normal text
    LargeText, // text of at least 18 points, or 14 points bold
    Part,      // a part of a control, or a mark, that must be seen to be used
};

enum class TContrastLevel { AA, AAA };

// The ratio a pair of Kind needs at Level: normal text 4.5 and 7, large text 3 and 4.5,
// parts of controls 3 at both.
QELL_COLOUR_API double RequiredRatio(TContrastKind Kind, TContrastLevel Level);

// Whether the exact ratio meets Required (never a rounded one: 4.4989 fails 4.5).
inline bool ContrastPasses(double Ratio, double Required) { return Ratio >= Required; }

// The colour nearest to Foreground that reaches Required on Background: Foreground's hue
// and saturation in the colour dialog's HSB model, its brightness moved as little as
// possible up or down; when no brightness of that hue reaches it, black or white (the
// one that passes, else the nearer in brightness). Foreground itself when it already
// passes. Always a plain colour.
QELL_COLOUR_API TColor NearestPassingColour(TColor Foreground, TColor Background, double Required);

enum class TVisionDeficiency { None, Protanopia, Deuteranopia, Tritanopia, Achromatopsia };

// The deficiency's name as the command line takes it ("protanopia"), and back (false
// for an unknown name, compared without case).
QELL_COLOUR_API const char* VisionDeficiencyName(TVisionDeficiency Deficiency);
QELL_COLOUR_API bool VisionDeficiencyFromName(const std::string& Name, TVisionDeficiency& Deficiency);

// Color as a person with the deficiency sees it, as a plain colour: the severity 1.0
// matrices of Machado, Oliveira and Fernandes (2009) applied to the linear channels,
// clamped to [0, 1] and encoded back to sRGB; achromatopsia gives the grey of the same
// relative luminance; None gives the colour unchanged (resolved).
QELL_COLOUR_API TColor SimulateVision(TColor Color, TVisionDeficiency Deficiency);
