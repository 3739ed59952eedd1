#pragma once
// The web framework's colour unit: its named web colours and the text form of a
// colour property's value.

#include <string>

#include "colour/Export.h"
#include "platform/rtl/Classes.h"    // TGetStrProc
#include "platform/colors/Colors.h" // TColor

using TIWColor = TColor;

struct TIWColorEntry {
    TColor Value;
    const char* Name;
};

// The named web colours in the order the Web Colors grid shows them (12 per row).
// Names are unique ignoring case; two pairs share a value (Aqua/Cyan, Fuchsia/Magenta)
// and so do the two spellings of Gray and LightGray.
constexpr int IWColorCount = 143;
extern QELL_COLOUR_API const TIWColorEntry IWColors[IWColorCount];

// True, with Color set, for a web colour name or a toolkit colour identifier
// ("clBtnFace" gives the toolkit code, not its RGB), compared without case. False for
// anything else, integer literals included. A web name is looked up first.
QELL_COLOUR_API bool IdentToIWColor(const std::string& Ident, TColor& Color);

// The text the inspector shows: the web name of Color (the first entry with that
// value), else its toolkit identifier, else "$" and 8 uppercase hexadecimal digits.
// StringToIWColor gives Color back for every 32-bit value.
QELL_COLOUR_API std::string IWColorToString(TColor Color);

// A name that IdentToIWColor knows, else an integer literal that StrToInt accepts.
// Raises EConvertError naming the text on anything else.
QELL_COLOUR_API TColor StringToIWColor(const std::string& Text);

// Calls Proc with each web colour name, in table order, before it returns.
QELL_COLOUR_API void GetIWColorValues(const TGetStrProc& Proc);

// A TIWColor property's type: told apart from TColor by this, though both hold a TColor.
// Form files write a value as IWColorToString gives it and read it back as
// StringToIWColor does, so every colour survives; a value that names no colour
// (IsColorValue) is refused when read.
extern QELL_COLOUR_API const TTypeInfo TypeInfoTIWColor;
