// Built for all 16.7 million colours in one run: big buffered reads and writes, and
// integers parsed and printed by hand.

#include "apps/designer/commands/ColourBatch.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "colour/ColourModel.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Decimal with an optional sign; false on anything else.
bool ParseInt(std::string_view S, int64_t& Value)
{
    size_t I = 0;
    const bool Negative = !S.empty() && S[0] == '-';
    if (!S.empty() && (S[0] == '-' || S[0] == '+')) ++I;
    if (I == S.size()) return false;
    int64_t V = 0;
    for (; I < S.size(); ++I) {
        const unsigned D = static_cast<unsigned char>(S[I]) - '0';
        if (D > 9) return false;
        // Saturate: the caller only needs to know the value is out of range.
        if (V < 1000000000000LL) V = V * 10 + D;
    }
    Value = Negative ? -V : V;
    return true;
}

[[noreturn]] void Fail(const char* What, std::string_view Field, const std::string& Problem)
{
    throw EColourInputError(std::string(What) + " " + QuotedInput(Field) + " " + Problem);
}

int32_t ReadLevel(std::string_view Field, const char* What, int32_t Max)
{
    int64_t V;
    if (Field.size() > MaxFieldLength || !ParseInt(Field, V)) Fail(What, Field, "is not an integer");
    if (V < 0 || V > Max) Fail(What, Field, "is out of range 0.." + std::to_string(Max));
    return static_cast<int32_t>(V);
}

// Decimal or hexadecimal floating text, to the nearest extended value.
Extended ReadReal(std::string_view Field, const char* What, bool UnitRange)
{
    char Buffer[MaxFieldLength + 1];
    if (Field.empty() || Field.size() > MaxFieldLength) Fail(What, Field, "is not a number");
    std::memcpy(Buffer, Field.data(), Field.size());
    Buffer[Field.size()] = '\0';
    char* End = nullptr;
    const Extended V = std::strtold(Buffer, &End);
    // strtold would skip leading spaces and accept "nan" and "inf": none is a level.
    if (End != Buffer + Field.size() || std::isspace(static_cast<unsigned char>(Buffer[0])) || !std::isfinite(V))
        Fail(What, Field, "is not a finite number");
    if (UnitRange && !(V >= 0 && V <= 1)) Fail(What, Field, "is out of range 0..1");
    return V;
}

char* AppendInt(char* P, int32_t V)
{
    char Digits[12];
    int N = 0;
    uint32_t U = V < 0 ? 0u - static_cast<uint32_t>(V) : static_cast<uint32_t>(V);
    do {
        Digits[N++] = static_cast<char>('0' + U % 10);
        U /= 10;
    } while (U != 0);
    if (V < 0) *P++ = '-';
    while (N > 0) *P++ = Digits[--N];
    return P;
}

char* AppendHex(char* P, TColor C)
{
    static constexpr char HexDigits[] = "0123456789ABCDEF";
    const uint32_t U = static_cast<uint32_t>(C);
    *P++ = '$';
    for (int Shift = 28; Shift >= 0; Shift -= 4) *P++ = HexDigits[(U >> Shift) & 0xF];
    return P;
}

// A colour and its red, green and blue, each preceded by a tab.
char* AppendColour(char* P, TColor C)
{
    *P++ = '\t';
    P = AppendHex(P, C);
    for (const int32_t V : {RedOf(C), GreenOf(C), BlueOf(C)}) {
        *P++ = '\t';
        P = AppendInt(P, V);
    }
    return P;
}

// Room for AppendResults' output.
constexpr size_t MaxResultLength = 64;

// Converts one row and writes its results, each preceded by a tab.
char* AppendResults(char* P, const TColourCommand& Cmd, const std::string_view (&F)[3])
{
    const char* const(&Names)[3] = Cmd.Fields;
    switch (Cmd.Kind) {
    case TColourKind::FromLevels: {
        const int32_t H = ReadLevel(F[0], Names[0], HueRange);
        const int32_t S = ReadLevel(F[1], Names[1], SatRange);
        const int32_t B = ReadLevel(F[2], Names[2], BrightRange);
        return AppendColour(P, LevelsToColor(H, S, B));
    }
    case TColourKind::ToLevels: {
        const int32_t R = ReadLevel(F[0], Names[0], RedRange - 1);
        const int32_t G = ReadLevel(F[1], Names[1], GreenRange - 1);
        const int32_t B = ReadLevel(F[2], Names[2], BlueRange - 1);
        const TLevels L = ColorToLevels(R, G, B);
        for (const int32_t V : {L.Hue, L.Sat, L.Bright}) {
            *P++ = '\t';
            P = AppendInt(P, V);
        }
        return P;
    }
    case TColourKind::Hsb: {
        const Extended H = ReadReal(F[0], Names[0], false);
        const Extended S = ReadReal(F[1], Names[1], true);
        const Extended B = ReadReal(F[2], Names[2], true);
        return AppendColour(P, HSBtoRGB(H, S, B));
    }
    }
    return P;
}

class TOutput {
public:
    explicit TOutput(const TWriteProc& Write) : FWrite(Write) {}
    // Room for N more bytes at the returned pointer.
    char* Reserve(size_t N)
    {
        if (FUsed + N > FBuffer.size()) Flush();
        return FBuffer.data() + FUsed;
    }
    void Commit(char* End) { FUsed = static_cast<size_t>(End - FBuffer.data()); }
    void Flush()
    {
        if (FUsed != 0 && !FFailed) FFailed = !FWrite(FBuffer.data(), FUsed);
        FUsed = 0;
    }
    bool Failed() const { return FFailed; }

private:
    const TWriteProc& FWrite;
    std::vector<char> FBuffer = std::vector<char>(1 << 16);
    size_t FUsed = 0;
    bool FFailed = false;
};

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\v' || C == '\f'; }

// One row: writes "fields<TAB>results\n", or raises EColourInputError. Blank rows are skipped.
void ConvertRow(const TColourCommand& Cmd, std::string_view Line, TOutput& Out)
{
    std::string_view F[3];
    int Count = 0;
    size_t I = 0;
    while (I < Line.size()) {
        while (I < Line.size() && IsBlank(Line[I])) ++I;
        if (I == Line.size()) break;
        const size_t Start = I;
        while (I < Line.size() && !IsBlank(Line[I])) ++I;
        if (Count < 3) F[Count] = Line.substr(Start, I - Start);
        ++Count;
    }
    if (Count == 0) return;
    if (Count != 3)
        throw EColourInputError("expected 3 fields (" + std::string(Cmd.Fields[0]) + " " + Cmd.Fields[1] + " " +
                                Cmd.Fields[2] + "), got " + std::to_string(Count));
    for (const std::string_view& Field : F)
        if (Field.size() > MaxFieldLength)
            throw EColourInputError("field " + QuotedInput(Field) + " is longer than " +
                                    std::to_string(MaxFieldLength) + " characters");
    char* P = Out.Reserve(3 * MaxFieldLength + 3 + MaxResultLength);
    for (int K = 0; K < 3; ++K) {
        if (K > 0) *P++ = '\t';
        std::memcpy(P, F[K].data(), F[K].size());
        P += F[K].size();
    }
    P = AppendResults(P, Cmd, F);
    *P++ = '\n';
    Out.Commit(P);
}

} // namespace

std::string ConvertFields(const TColourCommand& Cmd, const std::string_view (&Fields)[3])
{
    char Line[MaxResultLength];
    // The results start with a tab that a one-off answer does not need.
    char* End = AppendResults(Line, Cmd, Fields);
    return std::string(Line + 1, End);
}

void ConvertRows(const TColourCommand& Cmd, const TReadProc& Read, const TWriteProc& Write, size_t MaxLine,
                 size_t FirstBuffer)
{
    TOutput Out(Write);
    // One byte more than the longest line, for the line break that ends it.
    std::vector<char> Buffer(std::clamp<size_t>(FirstBuffer, 1, MaxLine + 1));
    size_t Held = 0; // bytes of an unfinished line at the front of Buffer
    int64_t LineNumber = 0;
    bool AtEnd = false;
    try {
        while (!AtEnd && !Out.Failed()) {
            if (Held == Buffer.size()) {
                // Three short fields need no such line; refuse rather than grow forever.
                if (Held > MaxLine) {
                    ++LineNumber;
                    throw EColourInputError("line is longer than " + std::to_string(MaxLine) + " bytes");
                }
                Buffer.resize(std::min(Buffer.size() * 2, MaxLine + 1));
            }
            const size_t Got = Read(Buffer.data() + Held, Buffer.size() - Held);
            AtEnd = Got == 0;
            const size_t Size = Held + Got;
            size_t Start = 0;
            for (;;) {
                const void* NewLine = std::memchr(Buffer.data() + Start, '\n', Size - Start);
                if (NewLine == nullptr) break;
                const size_t End = static_cast<size_t>(static_cast<const char*>(NewLine) - Buffer.data());
                ++LineNumber;
                ConvertRow(Cmd, std::string_view(Buffer.data() + Start, End - Start), Out);
                Start = End + 1;
            }
            if (AtEnd && Start < Size) {
                ++LineNumber;
                ConvertRow(Cmd, std::string_view(Buffer.data() + Start, Size - Start), Out);
                Start = Size;
            }
            Held = Size - Start;
            std::memmove(Buffer.data(), Buffer.data() + Start, Held);
        }
    } catch (EColourInputError& E) {
        Out.Flush();
        E.Line = LineNumber;
        throw;
    }
    Out.Flush();
}
