#pragma once
// Extended arithmetic helpers. The colour model needs the 80-bit type with its 64-bit
// significand and one rounding per operation.

#include <cstdint>
#include <limits>

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "Extended must be the 80-bit x87 type with a 64-bit significand");

// The x87 conversion in the current rounding mode (to nearest, ties to even): one
// instruction, where a cast or floorl switches the control word twice, which costs more
// than the rest of a colour conversion. Defined for |X| < 2^63.
inline int64_t NearestInt(Extended X)
{
    int64_t Result;
    __asm__("fistpll %0" : "=m"(Result) : "t"(X) : "st");
    return Result;
}

// Nearest integer, an exact half to the even one (the default rounding mode).
inline int64_t Round(Extended X) { return NearestInt(X); }
// Largest integer not above X.
inline int64_t Floor(Extended X)
{
    const int64_t I = NearestInt(X);
    return static_cast<Extended>(I) > X ? I - 1 : I;
}
// Toward zero.
inline int64_t Trunc(Extended X)
{
    const int64_t I = NearestInt(X);
    if (X >= 0) return static_cast<Extended>(I) > X ? I - 1 : I;
    return static_cast<Extended>(I) < X ? I + 1 : I;
}
