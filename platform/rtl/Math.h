#pragma once
// Extended arithmetic helpers. The colour model needs the 80-bit type with its 64-bit
// significand and one rounding per operation.

#include <cmath>
#include <cstdint>
#include <limits>

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "Extended must be the 80-bit x87 type with a 64-bit significand");

// Toward zero.
inline int64_t Trunc(Extended X) { return static_cast<int64_t>(X); }
// Largest integer not above X.
inline int64_t Floor(Extended X) { return static_cast<int64_t>(floorl(X)); }
// Nearest integer, an exact half to the even one (the default rounding mode).
inline int64_t Round(Extended X) { return static_cast<int64_t>(rintl(X)); }
