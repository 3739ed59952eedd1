#pragma once
// A 32-bit pixel surface. Pixels are stored as plain colours (0x00BBGGRR), the same
// packing as TColor, so reads and writes need no conversion.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/colors/Colors.h"
#include "platform/graphics/Export.h"
#include "platform/graphics/Types.h"

class QELL_GRAPHICS_API TBitmap {
public:
    TBitmap() = default;
    TBitmap(int Width, int Height, TColor Fill = clBlack) { SetSize(Width, Height, Fill); }

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Resizes and fills; negative sizes count as 0. Raises Exception, changing nothing,
    // beyond 2^28 pixels (1 GiB).
    void SetSize(int Width, int Height, TColor Fill = clBlack);

    // Unchecked access; callers clip.
    uint32_t* ScanLine(int Y) { return FPixels.data() + static_cast<size_t>(Y) * FWidth; }
    const uint32_t* ScanLine(int Y) const { return FPixels.data() + static_cast<size_t>(Y) * FWidth; }
    // Checked read: a plain colour, or -1 outside the bitmap.
    TColor Pixel(int X, int Y) const;

    // Writes the bitmap, or the part of it inside Area, as an RGB PNG file. Raises
    // Exception naming the file when it cannot be written.
    void SaveToPNG(const std::string& FileName) const;
    void SaveToPNG(const std::string& FileName, const TRect& Area) const;
    // Reads an RGB or RGBA PNG file (tests compare against reference images).
    static TBitmap LoadFromPNG(const std::string& FileName);

    friend bool operator==(const TBitmap&, const TBitmap&) = default;

private:
    int FWidth = 0, FHeight = 0;
    std::vector<uint32_t> FPixels;
};
