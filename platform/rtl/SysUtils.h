#pragma once
// The runtime's exceptions, integer text conversions and the quoting of input in messages.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "platform/rtl/Export.h"

class QELL_RTL_API Exception : public std::exception {
public:
    explicit Exception(std::string Message) : FMessage(std::move(Message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const { return FMessage; }

private:
    std::string FMessage;
};

// A text that is not what a conversion expects.
class QELL_RTL_API EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Text from outside (a command line, a file, a field) as a message shows it: in single
// quotes, printable ASCII as it is and every other byte as \xNN (ESC is \x1b, NUL
// \x00), so that no byte can stop, garble or steer the terminal that shows it. When
// the quoted characters would pass MaxShown the text is cut there, never inside an
// escape, and "..." follows the closing quote. Input in every message goes through here.
QELL_RTL_API std::string QuotedInput(std::string_view Text, size_t MaxShown = 80);

// The runtime's integer syntax: an optional sign, then decimal digits, or "$" and
// hexadecimal digits in either case. Nothing else, no spaces. Decimal must fit 32-bit
// signed; hexadecimal may use all 32 bits ("$FFFFFFFF" is -1). Raises EConvertError
// "'TEXT' is not a valid integer value" on anything else, TEXT as QuotedInput shows it.
QELL_RTL_API int32_t StrToInt(std::string_view S);
// The same syntax; false instead of raising.
QELL_RTL_API bool TryStrToInt(std::string_view S, int32_t& Value);

QELL_RTL_API std::string IntToStr(int64_t Value);

// Text compared and converted without regard to ASCII case, as identifiers are.
QELL_RTL_API std::string UpperCase(std::string_view S);
QELL_RTL_API std::string LowerCase(std::string_view S);
// Negative, zero or positive as A sorts before, with or after B, ignoring case.
QELL_RTL_API int CompareText(std::string_view A, std::string_view B);
inline bool SameText(std::string_view A, std::string_view B) { return A.size() == B.size() && CompareText(A, B) == 0; }
// An ordering for maps keyed by identifiers.
struct TTextLess {
    using is_transparent = void;
    bool operator()(std::string_view A, std::string_view B) const { return CompareText(A, B) < 0; }
};
// Uppercase hexadecimal, at least Digits digits; a negative value as its 32-bit pattern.
QELL_RTL_API std::string IntToHex(int32_t Value, int Digits);
// The value of a hexadecimal digit of either case, or -1.
constexpr int HexDigit(char C)
{
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
}
