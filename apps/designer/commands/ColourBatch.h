#pragma once
// The colour model's conversions as `qell-designer colour` reads and writes them: three
// fields in, the results out, one row or a whole stream of rows. The formats are in
// docs/cli.md.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

enum class TColourKind { FromLevels, ToLevels, Hsb };

struct TColourCommand {
    const char* Name;
    TColourKind Kind;
    const char* Fields[3];
};

constexpr TColourCommand ColourCommands[] = {
    {"from-levels", TColourKind::FromLevels, {"hue", "sat", "bright"}},
    {"to-levels", TColourKind::ToLevels, {"red", "green", "blue"}},
    {"hsb", TColourKind::Hsb, {"hue", "saturation", "brightness"}},
};

// Bad input data, as opposed to a bad command line. The message quotes the offending
// text; Line is the row's line number in a stream, 0 for a single conversion.
class EColourInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    int64_t Line = 0;
};

// Longer fields are refused: no number needs them, and the bound keeps a row's output
// within one buffer reserve.
constexpr size_t MaxFieldLength = 64;
// The longest line a stream may hold, its line break not counted.
constexpr size_t MaxLineLength = size_t(1) << 24;

// The results of converting the three fields, tab-separated. Raises EColourInputError.
std::string ConvertFields(const TColourCommand& Cmd, const std::string_view (&Fields)[3]);

// Read fills at most Size bytes and answers how many, 0 at the end of the input. Write
// answers false when the output cannot take the bytes.
using TReadProc = std::function<size_t(char* Buffer, size_t Size)>;
using TWriteProc = std::function<bool(const char* Data, size_t Size)>;

// Converts rows from Read until its end: three fields separated by spaces or tabs per
// line, blank lines skipped, each row written as "fields<TAB>results\n". A bad row or
// a line longer than MaxLine raises EColourInputError with its Line, after everything
// before it has been written; nothing after it is read. Stops early, without an error,
// when Write fails: the caller knows its output. Reads go into a buffer of FirstBuffer
// bytes that doubles while a line needs it, up to MaxLine + 1, so memory stays within
// MaxLine plus a fixed amount whatever the input.
void ConvertRows(const TColourCommand& Cmd, const TReadProc& Read, const TWriteProc& Write,
                 size_t MaxLine = MaxLineLength, size_t FirstBuffer = size_t(1) << 16);
