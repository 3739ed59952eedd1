#pragma once
// The package's icon: a hue and saturation wheel, the colour editor's own picker, in a
// dark outline, drawn at any size with anti-aliased edges, and the icon group of the
// sizes a package carries.

#include <cstdint>
#include <vector>

#include "platform/graphics/Bitmap.h"

// An image with transparency: the toolkit's bitmaps are opaque, so the coverage of each
// pixel (0 transparent .. 255 opaque) is kept beside its colour. A pixel that is not
// covered at all has colour black.
struct TIconImage {
    TBitmap Colour;
    std::vector<uint8_t> Alpha; // row by row, top first
};

// The icon drawn Size pixels square (16 and up).
TIconImage DrawPackageIcon(int Size);

// The sizes of the package's icon group, largest first.
constexpr int PackageIconSizes[] = {256, 48, 32, 24, 16};
