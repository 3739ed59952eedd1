// Arbitrary bytes as the input of `qell-designer colour` batch mode, read in chunks of
// any size: the reader raises nothing but EColourInputError, keeps within its line
// bound, and writes exactly one line per row before the one it refuses, each starting
// with that row's fields. The first byte picks the command, the reader's first buffer
// size and whether the output fails; the second the size of the chunks read.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "apps/designer/commands/ColourBatch.h"
#include "platform/rtl/SysUtils.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// Small, so that refusing long lines is reached too; a power of two, which a buffer
// doubling from a power of two meets exactly.
constexpr size_t MaxLine = 256;

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\v' || C == '\f'; }

std::vector<std::string_view> Split(std::string_view S, bool (*IsSeparator)(char))
{
    std::vector<std::string_view> Parts;
    size_t I = 0;
    while (I < S.size()) {
        while (I < S.size() && IsSeparator(S[I])) ++I;
        const size_t Start = I;
        while (I < S.size() && !IsSeparator(S[I])) ++I;
        if (I > Start) Parts.push_back(S.substr(Start, I - Start));
    }
    return Parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size < 2) return 0;
    const TColourCommand& Cmd = ColourCommands[Data[0] % 3];
    const bool OutputFails = (Data[0] & 0x80) != 0;
    const size_t FirstBuffer = size_t{1} << ((Data[0] >> 2) & 0xF);
    const size_t Chunk = size_t{Data[1]} + 1;
    const std::string_view Input(reinterpret_cast<const char*>(Data + 2), Size - 2);

    size_t Offset = 0;
    auto Read = [&](char* Buffer, size_t Room) {
        const size_t N = std::min({Room, Chunk, Input.size() - Offset});
        std::copy_n(Input.data() + Offset, N, Buffer);
        Offset += N;
        return N;
    };
    std::string Output;
    auto Write = [&](const char* Bytes, size_t N) {
        if (OutputFails) return false;
        Output.append(Bytes, N);
        return true;
    };

    int64_t ErrorLine = 0;
    std::string Message;
    try {
        ConvertRows(Cmd, Read, Write, MaxLine, FirstBuffer);
    } catch (const EColourInputError& E) {
        ErrorLine = E.Line;
        Message = E.what();
        for (const char C : Message)
            if (C < 0x20 || C >= 0x7F) Abort("a message carries a raw byte", Message);
        if (Message.size() > 300) Abort("a message is too long", Message);
    }
    if (OutputFails) return 0;

    // The rows as the description of the format splits them, up to the refused one.
    std::vector<std::string_view> Lines;
    for (size_t Start = 0; Start <= Input.size();) {
        size_t End = Input.find('\n', Start);
        if (End == Input.npos) End = Input.size();
        Lines.push_back(Input.substr(Start, End - Start));
        Start = End + 1;
    }
    if (ErrorLine < 0 || ErrorLine > static_cast<int64_t>(Lines.size())) Abort("error on no line", Input);
    const size_t Rows = ErrorLine == 0 ? Lines.size() : static_cast<size_t>(ErrorLine - 1);
    if (ErrorLine > 0) {
        // Refused for its length exactly when it passes the bound; a blank line never.
        const bool TooLong = Lines[Rows].size() > MaxLine;
        if (TooLong != std::string_view(Message).starts_with("line is longer than"))
            Abort(TooLong ? "a line beyond the bound is read" : "a line within the bound is refused", Message);
        if (!TooLong && Split(Lines[Rows], IsBlank).empty()) Abort("a blank line is refused", Lines[Rows]);
    }

    const std::vector<std::string_view> Written = Split(Output, [](char C) { return C == '\n'; });
    size_t Next = 0;
    for (size_t L = 0; L < Rows; ++L) {
        if (Lines[L].size() > MaxLine) Abort("a line beyond the bound is read", Lines[L]);
        const std::vector<std::string_view> Fields = Split(Lines[L], IsBlank);
        if (Fields.empty()) continue;
        if (Fields.size() != 3 || Next == Written.size()) Abort("a row is missing from the output", Lines[L]);
        const std::vector<std::string_view> Columns = Split(Written[Next++], [](char C) { return C == '\t'; });
        const size_t Want = Cmd.Kind == TColourKind::ToLevels ? 6 : 7;
        if (Columns.size() != Want || !std::equal(Fields.begin(), Fields.end(), Columns.begin()))
            Abort("a row's output does not match it", Lines[L]);
    }
    if (Next != Written.size() || (!Output.empty() && Output.back() != '\n')) Abort("more output than rows", Output);
    return 0;
}
