#include "platform/toolkit/resources/FormLexer.h"

#include <cctype>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "platform/toolkit/resources/FormReader.h"

namespace {

bool IsIdentStart(char C) { return std::isalpha(static_cast<unsigned char>(C)) || C == '_'; }
bool IsIdentChar(char C) { return IsIdentStart(C) || std::isdigit(static_cast<unsigned char>(C)); }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }
bool IsHexDigit(char C) { return std::isxdigit(static_cast<unsigned char>(C)) != 0; }
int HexValue(char C) { return IsDigit(C) ? C - '0' : (std::toupper(static_cast<unsigned char>(C)) - 'A' + 10); }

} // namespace

TFormLexer::TFormLexer(std::string_view Text) : FText(Text)
{
    if (FText.substr(0, 3) == "\xEF\xBB\xBF") FPos = 3;
}

std::string TFormLexer::Quote(std::string_view Word) { return QuotedInput(Word); }

std::optional<std::string> TFormLexer::EncodeString(std::string_view S)
{
    std::string R;
    bool InQuotes = false;
    for (size_t I = 0; I < S.size();) {
        unsigned char C = static_cast<unsigned char>(S[I]);
        if (C == 0) return std::nullopt;
        if (C < 32 || C == 127) {
            if (InQuotes) R += '\'';
            InQuotes = false;
            R += "#" + std::to_string(C);
            ++I;
            continue;
        }
        size_t Len = Utf8SequenceLength(S.substr(I));
        if (Len == 0) return std::nullopt;
        if (!InQuotes) R += '\'';
        InQuotes = true;
        if (C == '\'') R += '\'';
        R += S.substr(I, Len);
        I += Len;
    }
    if (R.empty()) return std::string("''");
    if (InQuotes) R += '\'';
    return R;
}

void TFormLexer::Fail(int Line, const std::string& Message)
{
    throw EReadError("line " + std::to_string(Line) + ": " + Message);
}

void TFormLexer::SkipBlanks()
{
    while (!AtEnd()) {
        char C = Peek();
        // CR, LF and CR LF each end a line.
        if (C == '\n' || C == '\r') {
            ++FLine;
            FPos += C == '\r' && Peek(1) == '\n' ? 2 : 1;
        } else if (C == ' ' || C == '\t') {
            ++FPos;
        } else if (C == '/' && Peek(1) == '/') {
            while (!AtEnd() && Peek() != '\n' && Peek() != '\r') ++FPos;
        } else {
            return;
        }
    }
}

TFormToken TFormLexer::Next()
{
    SkipBlanks();
    TFormToken T;
    T.Line = FLine;
    if (AtEnd()) return T;
    char C = Peek();
    if (IsIdentStart(C)) return LexIdentifier();
    if (IsDigit(C) || C == '$') return LexNumber();
    if ((C == '-' || C == '+') && FPos + 1 < FText.size() && (IsDigit(Peek(1)) || Peek(1) == '$')) return LexNumber();
    if (C == '\'' || C == '#') return LexString();
    switch (C) {
    case ':': case '=': case '[': case ']': case ',': case '+': case '.': case '<': case '>':
        T.Kind = TFormTokenKind::Symbol;
        T.Symbol = C;
        T.Text = FText.substr(FPos, 1);
        ++FPos;
        return T;
    default:
        Fail(FLine, "unexpected character " + Quote(FText.substr(FPos, 1)));
    }
}

TFormToken TFormLexer::LexIdentifier()
{
    TFormToken T;
    T.Kind = TFormTokenKind::Identifier;
    T.Line = FLine;
    size_t Start = FPos;
    while (!AtEnd() && IsIdentChar(Peek())) ++FPos;
    T.Text = FText.substr(Start, FPos - Start);
    return T;
}

TFormToken TFormLexer::LexNumber()
{
    TFormToken T;
    T.Kind = TFormTokenKind::Integer;
    T.Line = FLine;
    size_t Start = FPos;
    bool Negative = false;
    if (Peek() == '-' || Peek() == '+') {
        Negative = Peek() == '-';
        ++FPos;
    }
    bool Valid = true;
    // The magnitude, kept below 2^63 (+1 for a negative number) as it grows.
    uint64_t Magnitude = 0;
    const uint64_t Limit = Negative ? (uint64_t{1} << 63) : (uint64_t{1} << 63) - 1;
    if (Peek() == '$') {
        ++FPos;
        size_t Digits = 0;
        uint32_t Bits = 0;
        while (!AtEnd() && IsHexDigit(Peek())) {
            Bits = (Bits << 4) | static_cast<uint32_t>(HexValue(Peek()));
            ++Digits;
            ++FPos;
        }
        // Beyond 8 digits the 32-bit pattern would silently lose the leading ones.
        Valid = Digits >= 1 && Digits <= 8;
        int64_t V = static_cast<int32_t>(Bits);
        T.Int = Negative ? -V : V;
    } else {
        while (!AtEnd() && IsDigit(Peek())) {
            uint64_t D = static_cast<uint64_t>(Peek() - '0');
            if (Magnitude > (Limit - D) / 10) Valid = false;
            else Magnitude = Magnitude * 10 + D;
            ++FPos;
        }
        T.Int = Negative ? static_cast<int64_t>(0 - Magnitude) : static_cast<int64_t>(Magnitude);
    }
    // "12abc" is one bad word, not a number followed by an identifier.
    while (!AtEnd() && IsIdentChar(Peek())) {
        Valid = false;
        ++FPos;
    }
    T.Text = FText.substr(Start, FPos - Start);
    if (!Valid) Fail(FLine, "invalid or out of range integer " + Quote(T.Text));
    return T;
}

TFormToken TFormLexer::LexString()
{
    TFormToken T;
    T.Kind = TFormTokenKind::String;
    T.Line = FLine;
    size_t Start = FPos;
    while (!AtEnd() && (Peek() == '\'' || Peek() == '#')) {
        if (Peek() == '\'') {
            ++FPos;
            for (;;) {
                if (AtEnd() || Peek() == '\n' || Peek() == '\r')
                    Fail(FLine, "unterminated string " + Quote(FText.substr(Start, FPos - Start)));
                char C = Peek();
                if (C == '\'') {
                    if (Peek(1) == '\'' && FPos + 1 < FText.size()) {
                        T.Str += '\'';
                        FPos += 2;
                        continue;
                    }
                    ++FPos;
                    break;
                }
                if (C == '\0') Fail(FLine, "NUL character in string " + Quote(FText.substr(Start, FPos - Start)));
                size_t Len = Utf8SequenceLength(FText.substr(FPos));
                if (Len == 0) Fail(FLine, "invalid UTF-8 in string " + Quote(FText.substr(Start, FPos - Start + 1)));
                T.Str += FText.substr(FPos, Len);
                FPos += Len;
            }
        } else {
            size_t CodeStart = FPos;
            ++FPos;
            bool Hex = Peek() == '$' && FPos < FText.size();
            if (Hex) ++FPos;
            uint32_t Code = 0;
            size_t Digits = 0;
            bool Valid = true;
            while (!AtEnd() && (Hex ? IsHexDigit(Peek()) : IsDigit(Peek()))) {
                Code = Code * (Hex ? 16 : 10) + static_cast<uint32_t>(HexValue(Peek()));
                if (Code > 0x10FFFF) Valid = false, Code = 0x110000;
                ++Digits;
                ++FPos;
            }
            if (Digits == 0 || Code == 0 || (Code >= 0xD800 && Code <= 0xDFFF)) Valid = false;
            if (!Valid) Fail(FLine, "invalid character code " + Quote(FText.substr(CodeStart, FPos - CodeStart)));
            AppendUtf8(T.Str, Code);
        }
    }
    T.Text = FText.substr(Start, FPos - Start);
    return T;
}
