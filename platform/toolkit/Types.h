#pragma once
// Geometry and input types shared by the whole toolkit.

#include <algorithm>
#include <cstdint>

#include "platform/rtl/Set.h"

// Right and bottom are exclusive throughout the toolkit.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(int X, int Y) const { return X >= Left && X < Right && Y >= Top && Y < Bottom; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
constexpr TRect Bounds(int Left, int Top, int Width, int Height) { return {Left, Top, Left + Width, Top + Height}; }

inline TRect Intersect(const TRect& A, const TRect& B)
{
    TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
    if (R.IsEmpty()) return {};
    return R;
}

struct TPoint {
    int X = 0, Y = 0;
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
// A left-button press carries ssLeft; a move with the button held does too.
using TShiftState = TSet<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys by code. Letters and digits use their uppercase ASCII codes ('A', '0').
using TKey = int;
constexpr TKey vkBack = 8, vkTab = 9, vkReturn = 13, vkEscape = 27, vkSpace = 32, vkPrior = 33,
               vkNext = 34, vkEnd = 35, vkHome = 36, vkLeft = 37, vkUp = 38, vkRight = 39,
               vkDown = 40, vkDelete = 46;

// Controls lie within these coordinates and sizes, and a form's client area within
// MaxFormSize each way, so that no value read from a resource makes a surface that
// cannot be allocated.
constexpr int MaxCoordinate = 32767;
constexpr int MaxFormSize = 8192;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2;
