#pragma once
// For tests of drawn text: running the system's own font tools, and the ink of a text.

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"

namespace texttest {

// The output of a command run with these words, each passed as it is.
inline std::string CommandOutput(const std::vector<std::string>& Words)
{
    std::string Line;
    for (const std::string& Word : Words) {
        Line += "'";
        for (char C : Word) Line += C == '\'' ? std::string("'\\''") : std::string(1, C);
        Line += "' ";
    }
    std::string Out;
    if (FILE* Pipe = popen((Line + "2>&1").c_str(), "r")) {
        char Buffer[4096];
        for (size_t N; (N = fread(Buffer, 1, sizeof Buffer, Pipe)) > 0;) Out.append(Buffer, N);
        pclose(Pipe);
    }
    return Out;
}

// The font file fontconfig's fc-match names for Pattern ("sans-serif:lang=ja").
inline std::string FontconfigFile(const std::string& Pattern)
{
    return CommandOutput({"fc-match", "-f", "%{file}", Pattern});
}

// The pixels of B inside Area that are not Paper, cut to their bounding box, the rest
// as Paper; an empty bitmap when there are none.
inline TBitmap Ink(const TBitmap& B, const TRect& Area, TColor Paper)
{
    TRect Box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int Y = Area.Top; Y < Area.Bottom; ++Y)
        for (int X = Area.Left; X < Area.Right; ++X)
            if (B.Pixel(X, Y) != Paper)
                Box = {std::min(Box.Left, X), std::min(Box.Top, Y), std::max(Box.Right, X + 1),
                       std::max(Box.Bottom, Y + 1)};
    if (Box.IsEmpty()) return {};
    TBitmap Out(Box.Width(), Box.Height(), Paper);
    for (int Y = 0; Y < Box.Height(); ++Y)
        for (int X = 0; X < Box.Width(); ++X)
            Out.ScanLine(Y)[X] = static_cast<uint32_t>(B.Pixel(Box.Left + X, Box.Top + Y));
    return Out;
}

} // namespace texttest
