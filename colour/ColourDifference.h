#pragma once
// Colour difference as people see it: CIELAB coordinates of an sRGB colour and the
// CIEDE2000 difference of two of them. Pure functions in 80-bit extended arithmetic, one
// rounding per operation in the order the formulas give.

#include "colour/Export.h"
#include "platform/colors/Colors.h" // TColor
#include "platform/rtl/Math.h"      // Extended

// A colour in CIELAB: lightness 0 (black) to 100 (white), a* from green to red, b*
// from blue to yellow.
struct TLab {
    Extended L = 0, A = 0, B = 0;
};

// CIELAB of Color (a toolkit code resolved with ColorToRGB first) under the D65 white
// (Xn 0.95047, Yn 1, Zn 1.08883): each 8-bit channel linearised as for relative
// luminance, X, Y, Z by the sRGB matrix to four decimals, then L*, a*, b* with the
// CIE's exact constants (216/24389 and 24389/27). Y is the relative luminance, so L*
// grows with it.
QELL_COLOUR_API TLab ColourToLab(TColor Color);

// The CIEDE2000 difference of two CIELAB colours, kL = kC = kH = 1, as Sharma, Wu and
// Dalal (2005) write it out: hue angles in degrees in [0, 360), a hue difference and a
// mean hue taken across 0 degrees when the two lie more than 180 apart, and an
// achromatic colour (a' = b = 0) contributing no hue. 0 for equal colours, symmetric,
// never negative. About 1 is a difference just seen side by side.
QELL_COLOUR_API Extended DeltaE2000(const TLab& First, const TLab& Second);
