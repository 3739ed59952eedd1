// Arbitrary bytes as a colour text and as a colour value: the colour unit's
// conversions agree with each other, and nothing crashes.
//   - any 32-bit V: StringToIWColor(IWColorToString(V)) == V;
//   - a text IdentToIWColor accepts resolves to the same colour through StringToIWColor;
//   - a text IdentToColor accepts, IdentToIWColor accepts with the same colour;
//   - StringToIWColor answers a name's colour or TryStrToInt's value, else raises
//     EConvertError.

#include <cstdint>
#include <cstring>
#include <string>

#include "colour/IWColors.h"
#include "platform/rtl/SysUtils.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void CheckValue(TColor V)
{
    const std::string Text = IWColorToString(V);
    TColor Back = 0;
    try {
        Back = StringToIWColor(Text);
    } catch (const EConvertError&) {
        Abort("IWColorToString gives a text StringToIWColor refuses", Text);
    }
    if (Back != V) Abort("IWColorToString does not round-trip", Text + " for " + IntToHex(V, 8));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    // The first four bytes (fewer padded with zeros) as a value, the whole as a text.
    uint32_t Bits = 0;
    std::memcpy(&Bits, Data, Size < 4 ? Size : 4);
    CheckValue(static_cast<TColor>(Bits));
    const std::string Text(reinterpret_cast<const char*>(Data), Size);

    TColor Web = 0;
    const bool IsName = IdentToIWColor(Text, Web);
    TColor Toolkit = 0;
    if (IdentToColor(Text, Toolkit) && (!IsName || Web != Toolkit))
        Abort("IdentToColor accepts a text that IdentToIWColor does not read alike", Text);
    int32_t Integer = 0;
    const bool IsInteger = TryStrToInt(Text, Integer);
    try {
        const TColor C = StringToIWColor(Text);
        if (IsName ? C != Web : !IsInteger || C != Integer) Abort("StringToIWColor reads the text differently", Text);
        CheckValue(C);
    } catch (const EConvertError&) {
        if (IsName || IsInteger) Abort("StringToIWColor refuses a name or an integer", Text);
    }
    return 0;
}
