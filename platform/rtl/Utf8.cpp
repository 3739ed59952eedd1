#include "platform/rtl/Utf8.h"

size_t Utf8SequenceLength(std::string_view S)
{
    auto Byte = [&](size_t I) { return I < S.size() ? static_cast<unsigned char>(S[I]) : 0u; };
    auto Cont = [&](size_t I) { return (Byte(I) & 0xC0) == 0x80; };
    if (S.empty()) return 0;
    const unsigned B0 = Byte(0);
    if (B0 < 0x80) return 1;
    if (B0 >= 0xC2 && B0 <= 0xDF) return Cont(1) ? 2 : 0;
    if (B0 >= 0xE0 && B0 <= 0xEF) {
        const unsigned B1 = Byte(1);
        if (B0 == 0xE0 && B1 < 0xA0) return 0; // overlong
        if (B0 == 0xED && B1 >= 0xA0) return 0; // surrogate
        return Cont(1) && Cont(2) ? 3 : 0;
    }
    if (B0 >= 0xF0 && B0 <= 0xF4) {
        const unsigned B1 = Byte(1);
        if (B0 == 0xF0 && B1 < 0x90) return 0; // overlong
        if (B0 == 0xF4 && B1 >= 0x90) return 0; // above U+10FFFF
        return Cont(1) && Cont(2) && Cont(3) ? 4 : 0;
    }
    return 0;
}

uint32_t NextCodePoint(std::string_view S, size_t& Pos)
{
    const size_t Len = Utf8SequenceLength(S.substr(Pos));
    if (Len == 0) {
        ++Pos;
        return Utf8Invalid;
    }
    const auto Lead = static_cast<unsigned char>(S[Pos]);
    uint32_t Code = Len == 1 ? Lead : Len == 2 ? (Lead & 0x1Fu) : Len == 3 ? (Lead & 0x0Fu) : (Lead & 0x07u);
    for (size_t I = 1; I < Len; ++I) Code = Code << 6 | (static_cast<unsigned char>(S[Pos + I]) & 0x3Fu);
    Pos += Len;
    return Code;
}

size_t NextCharPos(std::string_view S, size_t Pos)
{
    if (Pos >= S.size()) return S.size();
    const size_t Len = Utf8SequenceLength(S.substr(Pos));
    return Pos + (Len == 0 ? 1 : Len);
}

size_t PrevCharPos(std::string_view S, size_t Pos)
{
    if (Pos > S.size()) Pos = S.size();
    if (Pos == 0) return 0;
    // The character before Pos is the sequence, of up to four bytes, that ends exactly
    // at Pos; without one, the single byte before it.
    for (size_t Back = 2; Back <= 4 && Back <= Pos; ++Back)
        if (Utf8SequenceLength(S.substr(Pos - Back, Back)) == Back) return Pos - Back;
    return Pos - 1;
}

void AppendUtf8(std::string& S, uint32_t Code)
{
    if (Code < 0x80) {
        S += static_cast<char>(Code);
    } else if (Code < 0x800) {
        S += static_cast<char>(0xC0 | (Code >> 6));
        S += static_cast<char>(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        S += static_cast<char>(0xE0 | (Code >> 12));
        S += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        S += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        S += static_cast<char>(0xF0 | (Code >> 18));
        S += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
        S += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        S += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

bool IsValidUtf8(std::string_view S)
{
    for (size_t Pos = 0; Pos < S.size();) {
        const size_t Len = Utf8SequenceLength(S.substr(Pos));
        if (Len == 0) return false;
        Pos += Len;
    }
    return true;
}
