#include "platform/graphics/Bitmap.h"

#include <png.h>

#include <algorithm>
#include <cstring>

#include "platform/rtl/Files.h"

namespace {

// Larger images are refused on reading: a damaged or hostile header must not make us
// allocate gigabytes.
constexpr uint64_t MaxPixels = uint64_t{1} << 28;

std::string Reason(const png_image& Image)
{
    return Image.message[0] != '\0' ? Image.message : "unknown error";
}

// Frees libpng's reading state on every way out of LoadFromPNG.
struct TImageGuard {
    png_image& Image;
    ~TImageGuard() { png_image_free(&Image); }
};

} // namespace

void TBitmap::SetSize(int Width, int Height, TColor Fill)
{
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    if (static_cast<uint64_t>(Width) * static_cast<uint64_t>(Height) > MaxPixels)
        throw Exception("A bitmap of " + std::to_string(Width) + " x " + std::to_string(Height) + " pixels is too large");
    FWidth = Width;
    FHeight = Height;
    FPixels.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight),
                   static_cast<uint32_t>(ColorToRGB(Fill)));
}

TColor TBitmap::Pixel(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return -1;
    return static_cast<TColor>(ScanLine(Y)[X]);
}

void TBitmap::SaveToPNG(const std::string& FileName) const
{
    SaveToPNG(FileName, Rect(0, 0, FWidth, FHeight));
}

void TBitmap::SaveToPNG(const std::string& FileName, const TRect& Area) const
{
    const TRect R = Intersect(Area, Rect(0, 0, FWidth, FHeight));
    if (R.IsEmpty())
        throw Exception("Cannot write PNG file " + QuotedFileName(FileName) + ": the image area is empty");

    const size_t W = static_cast<size_t>(R.Width());
    std::vector<uint8_t> RGB(W * 3 * static_cast<size_t>(R.Height()));
    uint8_t* Out = RGB.data();
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        const uint32_t* Row = ScanLine(Y);
        for (int X = R.Left; X < R.Right; ++X) {
            const uint32_t P = Row[X];
            *Out++ = static_cast<uint8_t>(P);
            *Out++ = static_cast<uint8_t>(P >> 8);
            *Out++ = static_cast<uint8_t>(P >> 16);
        }
    }

    png_image Image;
    std::memset(&Image, 0, sizeof Image);
    Image.version = PNG_IMAGE_VERSION;
    Image.width = static_cast<png_uint_32>(R.Width());
    Image.height = static_cast<png_uint_32>(R.Height());
    Image.format = PNG_FORMAT_RGB;
    // Encoded in memory first (the first call only measures), so that the file is
    // written whole or not at all.
    const png_int_32 Stride = static_cast<png_int_32>(W * 3);
    png_alloc_size_t Size = 0;
    std::vector<uint8_t> Png;
    if (png_image_write_to_memory(&Image, nullptr, &Size, 0, RGB.data(), Stride, nullptr)) {
        Png.resize(Size);
        if (!png_image_write_to_memory(&Image, Png.data(), &Size, 0, RGB.data(), Stride, nullptr)) Png.clear();
    }
    if (Png.empty())
        throw Exception("Cannot write PNG file " + QuotedFileName(FileName) + ": " + Reason(Image));
    WriteFileAtomically(FileName, std::string_view(reinterpret_cast<const char*>(Png.data()), Size));
}

TBitmap TBitmap::LoadFromPNG(const std::string& FileName)
{
    png_image Image;
    std::memset(&Image, 0, sizeof Image);
    Image.version = PNG_IMAGE_VERSION;
    TImageGuard Guard{Image};
    if (!png_image_begin_read_from_file(&Image, FileName.c_str()))
        throw Exception("Cannot read PNG file " + QuotedFileName(FileName) + ": " + Reason(Image));

    const uint64_t Pixels = uint64_t{Image.width} * Image.height;
    if (Image.width == 0 || Image.height == 0 || Image.width > 0x7FFFFFFF ||
        Image.height > 0x7FFFFFFF || Pixels > MaxPixels)
        throw Exception("Cannot read PNG file " + QuotedFileName(FileName) + ": unsupported image size " +
                        std::to_string(Image.width) + " x " + std::to_string(Image.height));

    // Read as 8-bit RGBA whatever the file holds; alpha is dropped because the
    // toolkit's surfaces are opaque.
    Image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> RGBA(static_cast<size_t>(Pixels) * 4);
    if (!png_image_finish_read(&Image, nullptr, RGBA.data(),
                               static_cast<png_int_32>(Image.width * 4), nullptr))
        throw Exception("Cannot read PNG file " + QuotedFileName(FileName) + ": " + Reason(Image));

    TBitmap Result(static_cast<int>(Image.width), static_cast<int>(Image.height));
    const uint8_t* In = RGBA.data();
    for (uint32_t& P : Result.FPixels) {
        P = uint32_t{In[0]} | uint32_t{In[1]} << 8 | uint32_t{In[2]} << 16;
        In += 4;
    }
    return Result;
}
