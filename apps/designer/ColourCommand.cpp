// `qell-designer colour …`: the colour model from the command line. The formats are in
// docs/cli.md. Batch mode is built for all 16.7 million colours in one run: big
// buffered reads and writes, and integers parsed and printed by hand.

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "apps/designer/Commands.h"
#include "colour/ColourModel.h"
#include "colour/IWColors.h"
#include "platform/rtl/SysUtils.h"

namespace {

enum class TKind { FromLevels, ToLevels, Hsb };

struct TNumericCommand {
    const char* Name;
    TKind Kind;
    const char* Fields[3];
};

constexpr TNumericCommand NumericCommands[] = {
    {"from-levels", TKind::FromLevels, {"hue", "sat", "bright"}},
    {"to-levels", TKind::ToLevels, {"red", "green", "blue"}},
    {"hsb", TKind::Hsb, {"hue", "saturation", "brightness"}},
};

// Bad input data, as opposed to a bad command line.
class EInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Longer fields are refused: no number needs them, and the bound keeps a row's output
// within one buffer reserve.
constexpr size_t MaxFieldLength = 64;
constexpr size_t MaxLineLength = size_t(1) << 24;

std::string Quoted(std::string_view S) { return "'" + std::string(S) + "'"; }

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

int32_t ReadLevel(std::string_view Field, const char* What, int32_t Max)
{
    int64_t V;
    if (Field.size() > MaxFieldLength || !ParseInt(Field, V))
        throw EInputError(std::string(What) + " " + Quoted(Field.substr(0, MaxFieldLength)) + " is not an integer");
    if (V < 0 || V > Max)
        throw EInputError(std::string(What) + " " + Quoted(Field) + " is out of range 0.." + std::to_string(Max));
    return static_cast<int32_t>(V);
}

// Decimal or hexadecimal floating text, to the nearest extended value.
Extended ReadReal(std::string_view Field, const char* What, bool UnitRange)
{
    char Buffer[MaxFieldLength + 1];
    if (Field.empty() || Field.size() > MaxFieldLength)
        throw EInputError(std::string(What) + " " + Quoted(Field.substr(0, MaxFieldLength)) + " is not a number");
    std::memcpy(Buffer, Field.data(), Field.size());
    Buffer[Field.size()] = '\0';
    char* End = nullptr;
    const Extended V = std::strtold(Buffer, &End);
    // strtold would skip leading spaces and accept "nan" and "inf": none is a level.
    if (End != Buffer + Field.size() || std::isspace(static_cast<unsigned char>(Buffer[0])) || !std::isfinite(V))
        throw EInputError(std::string(What) + " " + Quoted(Field) + " is not a finite number");
    if (UnitRange && !(V >= 0 && V <= 1))
        throw EInputError(std::string(What) + " " + Quoted(Field) + " is out of range 0..1");
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

// Converts one row and writes its results, each preceded by a tab. At most 60 bytes.
char* AppendResults(char* P, TKind Kind, const std::string_view (&F)[3], const char* const (&Names)[3])
{
    switch (Kind) {
    case TKind::FromLevels: {
        const int32_t H = ReadLevel(F[0], Names[0], HueRange);
        const int32_t S = ReadLevel(F[1], Names[1], SatRange);
        const int32_t B = ReadLevel(F[2], Names[2], BrightRange);
        return AppendColour(P, LevelsToColor(H, S, B));
    }
    case TKind::ToLevels: {
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
    case TKind::Hsb: {
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
    ~TOutput() { Flush(); }
    // Room for N more bytes at Cursor().
    char* Reserve(size_t N)
    {
        if (FUsed + N > FBuffer.size()) Flush();
        return FBuffer.data() + FUsed;
    }
    void Commit(char* End) { FUsed = static_cast<size_t>(End - FBuffer.data()); }
    void Flush()
    {
        if (FUsed != 0) std::fwrite(FBuffer.data(), 1, FUsed, stdout);
        FUsed = 0;
        std::fflush(stdout);
    }

private:
    std::vector<char> FBuffer = std::vector<char>(1 << 20);
    size_t FUsed = 0;
};

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\v' || C == '\f'; }

// One row: writes "fields<TAB>results\n", or raises EInputError. Blank rows are skipped.
void ConvertRow(const TNumericCommand& Cmd, std::string_view Line, TOutput& Out)
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
        throw EInputError("expected 3 fields (" + std::string(Cmd.Fields[0]) + " " + Cmd.Fields[1] + " " +
                          Cmd.Fields[2] + "), got " + std::to_string(Count));
    for (const std::string_view& Field : F)
        if (Field.size() > MaxFieldLength)
            throw EInputError("field " + Quoted(Field.substr(0, 16)) + "... is longer than " +
                              std::to_string(MaxFieldLength) + " characters");
    char* P = Out.Reserve(3 * MaxFieldLength + 3 + 64);
    for (int K = 0; K < 3; ++K) {
        if (K > 0) *P++ = '\t';
        std::memcpy(P, F[K].data(), F[K].size());
        P += F[K].size();
    }
    P = AppendResults(P, Cmd.Kind, F, Cmd.Fields);
    *P++ = '\n';
    Out.Commit(P);
}

int RunBatch(const TNumericCommand& Cmd)
{
    TOutput Out;
    std::vector<char> Buffer(1 << 20);
    size_t Held = 0; // bytes of an unfinished line at the front of Buffer
    int64_t LineNumber = 0;
    bool AtEnd = false;
    try {
        while (!AtEnd) {
            if (Held == Buffer.size()) {
                // Three short fields need no such line; refuse rather than grow forever.
                if (Buffer.size() >= MaxLineLength) {
                    ++LineNumber;
                    throw EInputError("line is longer than " + std::to_string(MaxLineLength) + " bytes");
                }
                Buffer.resize(Buffer.size() * 2);
            }
            const size_t Got = std::fread(Buffer.data() + Held, 1, Buffer.size() - Held, stdin);
            if (Got == 0) {
                if (std::ferror(stdin)) throw std::runtime_error("cannot read standard input");
                AtEnd = true;
            }
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
    } catch (const EInputError& E) {
        Out.Flush();
        std::fprintf(stderr, "qell-designer colour %s: line %lld: %s\n", Cmd.Name, static_cast<long long>(LineNumber),
                     E.what());
        return 1;
    }
    Out.Flush();
    if (std::ferror(stdout)) {
        std::fprintf(stderr, "qell-designer colour %s: cannot write standard output\n", Cmd.Name);
        return 1;
    }
    return 0;
}

int RunSingle(const TNumericCommand& Cmd, const TArgs& Args)
{
    const std::string_view F[3] = {Args[1], Args[2], Args[3]};
    char Line[64];
    try {
        // The results start with a tab that a one-off answer does not need.
        char* End = AppendResults(Line, Cmd.Kind, F, Cmd.Fields);
        std::fwrite(Line + 1, 1, static_cast<size_t>(End - Line - 1), stdout);
        std::fputc('\n', stdout);
    } catch (const EInputError& E) {
        std::fprintf(stderr, "qell-designer colour %s: %s\n", Cmd.Name, E.what());
        return 1;
    }
    return 0;
}

std::string Hex(TColor C)
{
    char Buffer[9];
    return std::string(Buffer, AppendHex(Buffer, C));
}

int RunResolve(const std::string& Text)
{
    TColor Color;
    const char* Kind;
    if (IdentToIWColor(Text, Color)) {
        TColor Ignored;
        Kind = IdentToColor(Text, Ignored) ? "toolkit" : "web";
    } else if (int32_t Value; TryStrToInt(Text, Value)) {
        Color = Value;
        Kind = "integer";
    } else {
        std::fprintf(stderr, "qell-designer colour resolve: '%s' is not a colour name or an integer value\n",
                     Text.c_str());
        return 1;
    }
    std::printf("%s\t%s\t%s\t%s\t%s\n", Text.c_str(), Kind, Hex(Color).c_str(), Hex(ColorToRGB(Color)).c_str(),
                IWColorToString(Color).c_str());
    return 0;
}

int RunNames()
{
    GetIWColorValues([](const std::string& Name) {
        const TColor C = StringToIWColor(Name);
        std::printf("web\t%s\t%s\t%s\n", Name.c_str(), Hex(C).c_str(), Hex(ColorToRGB(C)).c_str());
    });
    GetColorValues([](const std::string& Name) {
        TColor C = 0;
        IdentToColor(Name, C);
        std::printf("toolkit\t%s\t%s\t%s\n", Name.c_str(), Hex(C).c_str(), Hex(ColorToRGB(C)).c_str());
    });
    return 0;
}

int UsageError(const std::string& Message)
{
    std::fprintf(stderr,
                 "qell-designer colour: %s\n"
                 "usage: qell-designer colour from-levels [HUE SAT BRIGHT]\n"
                 "       qell-designer colour to-levels [RED GREEN BLUE]\n"
                 "       qell-designer colour hsb [H S B]\n"
                 "       qell-designer colour resolve TEXT\n"
                 "       qell-designer colour names\n",
                 Message.c_str());
    return 2;
}

} // namespace

int RunColourCommand(const TArgs& Args)
{
    if (Args.empty()) return UsageError("missing subcommand");
    const std::string& Sub = Args[0];
    for (const TNumericCommand& Cmd : NumericCommands) {
        if (Sub != Cmd.Name) continue;
        if (Args.size() == 1) return RunBatch(Cmd);
        if (Args.size() == 4) return RunSingle(Cmd, Args);
        return UsageError(Sub + " takes 3 numbers, or none to read rows from standard input; got " +
                          std::to_string(Args.size() - 1));
    }
    if (Sub == "resolve") {
        if (Args.size() != 2) return UsageError("resolve takes one text");
        return RunResolve(Args[1]);
    }
    if (Sub == "names") {
        if (Args.size() != 1) return UsageError("names takes no arguments");
        return RunNames();
    }
    return UsageError("unknown subcommand '" + Sub + "'");
}
