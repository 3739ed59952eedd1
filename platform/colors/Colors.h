#pragma once
// The toolkit's colours: the named constants, system colours and identifier lookups.
// A library of its own, so that what needs only colours (the web colour unit) needs no
// bitmaps, canvas or fonts.

#include <cstdint>
#include <string>

#include "platform/colors/Export.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/TypInfo.h"

// A plain colour holds red in bits 0-7, green in 8-15, blue in 16-23 and 0 in 24-31.
// Values with bits 24-31 set are toolkit colour codes (system colours: $FF and the
// system colour index in the low byte).
using TColor = int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF,
                 clMedGray = 0xA4A0A4;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1,
                 clActiveCaption = clSystemColor | 2, clInactiveCaption = clSystemColor | 3,
                 clMenu = clSystemColor | 4, clWindow = clSystemColor | 5,
                 clWindowFrame = clSystemColor | 6, clMenuText = clSystemColor | 7,
                 clWindowText = clSystemColor | 8, clCaptionText = clSystemColor | 9,
                 clActiveBorder = clSystemColor | 10, clInactiveBorder = clSystemColor | 11,
                 clAppWorkSpace = clSystemColor | 12, clHighlight = clSystemColor | 13,
                 clHighlightText = clSystemColor | 14, clBtnFace = clSystemColor | 15,
                 clBtnShadow = clSystemColor | 16, clGrayText = clSystemColor | 17,
                 clBtnText = clSystemColor | 18, clInactiveCaptionText = clSystemColor | 19,
                 clBtnHighlight = clSystemColor | 20, cl3DDkShadow = clSystemColor | 21,
                 cl3DLight = clSystemColor | 22, clInfoText = clSystemColor | 23,
                 clInfoBk = clSystemColor | 24, clHotLight = clSystemColor | 26,
                 clGradientActiveCaption = clSystemColor | 27,
                 clGradientInactiveCaption = clSystemColor | 28, clMenuHighlight = clSystemColor | 29,
                 clMenuBar = clSystemColor | 30;

constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

// A system colour becomes the plain colour of the toolkit's fixed light theme; a plain
// colour is returned unchanged. Every result is a plain colour.
QELL_COLORS_API TColor ColorToRGB(TColor Color);

// Identifier lookups, case-insensitive; answers use the canonical spelling ("clBtnFace").
QELL_COLORS_API bool IdentToColor(const std::string& Ident, TColor& Color);
QELL_COLORS_API bool ColorToIdent(TColor Color, std::string& Ident);

// Whether Color names a colour: a plain colour, or the code of one of the identifiers
// (a system colour of the theme, clNone, clDefault). Any other value with bits 24-31 set
// ($FF0000FF, $80000000) stands for no colour, though ColorToRGB gives it one.
QELL_COLORS_API bool IsColorValue(TColor Color);

// Calls Proc once for every colour identifier, in a fixed order, at most 54 of them.
QELL_COLORS_API void GetColorValues(const TGetStrProc& Proc);

// The text a colour is written as: its identifier, else "$" and 8 hexadecimal digits.
QELL_COLORS_API std::string ColorToString(TColor Color);

// A TColor property's type: an integer whose values may be written as identifiers, and
// whose 32 bits may be given as an unsigned number too ($FF00000F); a value must name a
// colour (IsColorValue).
extern QELL_COLORS_API const TTypeInfo TypeInfoTColor;
