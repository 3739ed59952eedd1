#pragma once
// Colour packing and the conversions between red/green/blue and hue/saturation/
// brightness at the colour dialog's scales. Pure functions on 80-bit extended values:
// every operation is rounded to extended precision, one at a time, in the order
// written, because levels at exact half-way points depend on it.

#include <cstdint>

#include "colour/Export.h"
#include "platform/rtl/Math.h"       // Extended
#include "platform/colors/Colors.h" // TColor

// Level scales. A hue, saturation or brightness level L stands for the fraction
// L / Range; the dialog's fields accept 0..Range-1. Red, green and blue levels are
// the channels themselves.
constexpr int32_t HueRange = 200, SatRange = 200, BrightRange = 200, RedRange = 256, GreenRange = 256,
                  BlueRange = 256;

constexpr int32_t RedOf(TColor C) { return C & 0xFF; }
constexpr int32_t GreenOf(TColor C) { return (C >> 8) & 0xFF; }
constexpr int32_t BlueOf(TColor C) { return (C >> 16) & 0xFF; }
// A plain colour from channels 0..255.
constexpr TColor RGBColor(int32_t R, int32_t G, int32_t B) { return R + G * 256 + B * 65536; }

// Hue H is a fraction of a turn taken modulo 1 (1.0 is red again, -0.25 is 0.75);
// S and B are in [0, 1]. Always a plain colour. Inputs outside the contract are made
// safe rather than trusted: S and B are clamped to [0, 1] (NaN counts as 0), and a
// non-finite hue counts as 0. Allocates nothing.
QELL_COLOUR_API TColor HSBtoRGB(Extended H, Extended S, Extended B);

// R, G, B in 0..255. Writes H in [0, 1), S and V (= max / 255) in [0, 1]. Greys give
// H = 0 and S = 0; when channels share the maximum, red wins over green over blue.
QELL_COLOUR_API void RGBToHSB(int32_t R, int32_t G, int32_t B, Extended& H, Extended& S, Extended& V);

// HSBtoRGB(Hue / HueRange, Sat / SatRange, Bright / BrightRange).
QELL_COLOUR_API TColor LevelsToColor(int32_t Hue, int32_t Sat, int32_t Bright);

struct TLevels {
    int32_t Hue, Sat, Bright;
};

// RGBToHSB, then each fraction times its Range, rounded to nearest with ties to even.
// A level can come out as the Range itself (200): full saturation or brightness, or a
// hue of 0.9975 or more.
QELL_COLOUR_API TLevels ColorToLevels(int32_t Red, int32_t Green, int32_t Blue);
