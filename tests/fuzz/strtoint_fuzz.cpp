// Arbitrary bytes as an integer text: TryStrToInt agrees with a reference read straight
// from the syntax's description, StrToInt raises EConvertError exactly when TryStrToInt
// answers false, and its message shows the text safely.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rtl/SysUtils.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// An optional sign; decimal digits that fit 32-bit signed, or "$" and hexadecimal
// digits that fit 32 bits (negated as a 32-bit pattern); nothing else. Written apart
// from the runtime: digits are checked as a set, and the size as text against the
// largest allowed magnitude, with leading zeros dropped first.
std::optional<int32_t> Reference(std::string_view S)
{
    bool Negative = false;
    if (!S.empty() && (S[0] == '+' || S[0] == '-')) {
        Negative = S[0] == '-';
        S.remove_prefix(1);
    }
    const bool Hex = !S.empty() && S[0] == '$';
    if (Hex) S.remove_prefix(1);
    if (S.empty() || S.find_first_not_of(Hex ? "0123456789abcdefABCDEF" : "0123456789") != S.npos) return {};
    std::string Digits(S.substr(std::min(S.find_first_not_of('0'), S.size())));
    for (char& C : Digits)
        if (C >= 'a' && C <= 'f') C = static_cast<char>(C - 'a' + 'A');
    const std::string Largest = Hex ? "FFFFFFFF" : Negative ? "2147483648" : "2147483647";
    if (Digits.size() > Largest.size() || (Digits.size() == Largest.size() && Digits > Largest)) return {};
    const unsigned long long Magnitude = Digits.empty() ? 0 : std::stoull(Digits, nullptr, Hex ? 16 : 10);
    const uint32_t Bits = static_cast<uint32_t>(Magnitude);
    return static_cast<int32_t>(Negative ? 0u - Bits : Bits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    const std::optional<int32_t> Want = Reference(Text);

    int32_t Value = 0x5A5A5A5A;
    const bool Ok = TryStrToInt(Text, Value);
    if (Ok != Want.has_value()) Abort(Ok ? "TryStrToInt accepts a bad text" : "TryStrToInt refuses a good text", Text);
    if (Ok && Value != *Want) Abort("TryStrToInt reads a wrong value", Text);
    if (!Ok && Value != 0x5A5A5A5A) Abort("TryStrToInt changed the value on failure", Text);

    try {
        const int32_t V = StrToInt(Text);
        if (!Ok || V != Value) Abort("StrToInt and TryStrToInt disagree", Text);
    } catch (const EConvertError& E) {
        if (Ok) Abort("StrToInt raises on a good text", Text);
        const std::string& M = E.Message();
        const std::string Tail = " is not a valid integer value";
        if (M.size() > 85 + Tail.size() || M.size() < Tail.size() || M.compare(M.size() - Tail.size(), Tail.size(), Tail) != 0)
            Abort("StrToInt's message is malformed", M);
        for (const char C : M)
            if (C < 0x20 || C >= 0x7F) Abort("StrToInt's message carries a raw byte", M);
    }
    return 0;
}
