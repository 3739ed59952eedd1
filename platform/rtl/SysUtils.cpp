#include "platform/rtl/SysUtils.h"

#include <cstdio>

std::string QuotedInput(std::string_view Text, size_t MaxShown)
{
    static constexpr char HexDigits[] = "0123456789abcdef";
    std::string R = "'";
    size_t Shown = 0;
    for (const char Ch : Text) {
        const unsigned char C = static_cast<unsigned char>(Ch);
        const bool Plain = C >= 0x20 && C < 0x7F;
        Shown += Plain ? 1 : 4;
        if (Shown > MaxShown) return R + "'...";
        if (Plain) {
            R += Ch;
        } else {
            R += "\\x";
            R += HexDigits[C >> 4];
            R += HexDigits[C & 0xF];
        }
    }
    return R + "'";
}

bool TryStrToInt(std::string_view S, int32_t& Value)
{
    size_t I = 0;
    bool Negative = false;
    if (I < S.size() && (S[I] == '+' || S[I] == '-')) {
        Negative = S[I] == '-';
        ++I;
    }
    const bool Hex = I < S.size() && S[I] == '$';
    if (Hex) ++I;
    if (I == S.size()) return false;

    // Accumulate in 64 bits and stop as soon as the value leaves the allowed range,
    // so any number of leading zeros is fine and no overflow can happen.
    const uint64_t Limit = Hex ? 0xFFFFFFFFull : (Negative ? 0x80000000ull : 0x7FFFFFFFull);
    const int Base = Hex ? 16 : 10;
    uint64_t Magnitude = 0;
    for (; I < S.size(); ++I) {
        const int D = HexDigit(S[I]);
        if (D < 0 || D >= Base) return false;
        Magnitude = Magnitude * Base + static_cast<uint64_t>(D);
        if (Magnitude > Limit) return false;
    }
    // Two's complement wrap: "$FFFFFFFF" is -1, "-$1" is -1.
    uint32_t Bits = static_cast<uint32_t>(Magnitude);
    if (Negative) Bits = 0u - Bits;
    Value = static_cast<int32_t>(Bits);
    return true;
}

int32_t StrToInt(std::string_view S)
{
    int32_t Value = 0;
    if (!TryStrToInt(S, Value))
        throw EConvertError(QuotedInput(S) + " is not a valid integer value");
    return Value;
}

std::string IntToStr(int64_t Value) { return std::to_string(Value); }

namespace {

char Upper(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C; }
char Lower(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C; }

} // namespace

std::string UpperCase(std::string_view S)
{
    std::string R(S);
    for (char& C : R) C = Upper(C);
    return R;
}

std::string LowerCase(std::string_view S)
{
    std::string R(S);
    for (char& C : R) C = Lower(C);
    return R;
}

int CompareText(std::string_view A, std::string_view B)
{
    const size_t N = A.size() < B.size() ? A.size() : B.size();
    for (size_t I = 0; I < N; ++I) {
        const unsigned char X = static_cast<unsigned char>(Upper(A[I]));
        const unsigned char Y = static_cast<unsigned char>(Upper(B[I]));
        if (X != Y) return X < Y ? -1 : 1;
    }
    return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

std::string IntToHex(int32_t Value, int Digits)
{
    char Buffer[40];
    // Clamped only to keep the buffer bounded; 32 digits is far beyond any use.
    const int Width = Digits < 0 ? 0 : (Digits > 32 ? 32 : Digits);
    std::snprintf(Buffer, sizeof Buffer, "%0*X", Width, static_cast<unsigned>(static_cast<uint32_t>(Value)));
    return Buffer;
}
