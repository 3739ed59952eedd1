#include "tools/IconFile.h"

#include <png.h>

#include <cstring>

#include "platform/rtl/Bytes.h"

namespace {

constexpr int PngFromSize = 256;

std::vector<uint8_t> EncodePng(const TIconImage& Image)
{
    const int Size = Image.Colour.Width();
    std::vector<uint8_t> RGBA;
    for (int Y = 0; Y < Size; ++Y)
        for (int X = 0; X < Size; ++X) {
            const uint32_t P = Image.Colour.ScanLine(Y)[X];
            for (const uint32_t Channel : {P & 0xFF, (P >> 8) & 0xFF, (P >> 16) & 0xFF})
                RGBA.push_back(static_cast<uint8_t>(Channel));
            RGBA.push_back(Image.Alpha[static_cast<size_t>(Y) * Size + X]);
        }
    png_image Png;
    std::memset(&Png, 0, sizeof Png);
    Png.version = PNG_IMAGE_VERSION;
    Png.width = Png.height = static_cast<png_uint_32>(Size);
    Png.format = PNG_FORMAT_RGBA;
    // The first call measures, the second writes.
    png_alloc_size_t Length = 0;
    if (!png_image_write_to_memory(&Png, nullptr, &Length, 0, RGBA.data(), 0, nullptr))
        throw Exception(std::string("cannot encode the icon as PNG: ") + Png.message);
    std::vector<uint8_t> Bytes(Length);
    if (!png_image_write_to_memory(&Png, Bytes.data(), &Length, 0, RGBA.data(), 0, nullptr))
        throw Exception(std::string("cannot encode the icon as PNG: ") + Png.message);
    Bytes.resize(Length);
    return Bytes;
}

// A device-independent bitmap as icons hold it: the header gives twice the height, for
// the colour rows and then the mask rows, both bottom-up.
std::vector<uint8_t> EncodeBmp(const TIconImage& Image)
{
    const int Size = Image.Colour.Width();
    const size_t MaskStride = (static_cast<size_t>(Size) + 31) / 32 * 4;
    TByteWriter W;
    W.U32(40); // header size
    W.U32(static_cast<uint32_t>(Size));
    W.U32(static_cast<uint32_t>(2 * Size));
    W.U16(1);  // planes
    W.U16(32); // bits per pixel
    W.U32(0);  // uncompressed
    W.U32(static_cast<uint32_t>(static_cast<size_t>(Size) * Size * 4 + MaskStride * Size));
    for (int I = 0; I < 4; ++I) W.U32(0); // resolution (2), palette size, important colours
    for (int Y = Size - 1; Y >= 0; --Y)
        for (int X = 0; X < Size; ++X) {
            const uint32_t P = Image.Colour.ScanLine(Y)[X];
            W.U8(static_cast<uint8_t>(P >> 16));
            W.U8(static_cast<uint8_t>(P >> 8));
            W.U8(static_cast<uint8_t>(P));
            W.U8(Image.Alpha[static_cast<size_t>(Y) * Size + X]);
        }
    for (int Y = Size - 1; Y >= 0; --Y) {
        std::vector<uint8_t> Row(MaskStride, 0);
        for (int X = 0; X < Size; ++X)
            if (Image.Alpha[static_cast<size_t>(Y) * Size + X] == 0)
                Row[X / 8] |= static_cast<uint8_t>(0x80 >> (X % 8));
        W.Append(Row);
    }
    return W.Bytes;
}

} // namespace

std::vector<uint8_t> EncodeIconFile(const std::vector<TIconImage>& Images)
{
    std::vector<std::vector<uint8_t>> Encoded;
    for (const TIconImage& Image : Images) {
        const int Size = Image.Colour.Width();
        if (Size < 1 || Size > 256 || Image.Colour.Height() != Size ||
            Image.Alpha.size() != static_cast<size_t>(Size) * Size)
            throw Exception("an icon image must be square, 1 to 256 pixels, with one alpha value per pixel");
        Encoded.push_back(Size >= PngFromSize ? EncodePng(Image) : EncodeBmp(Image));
    }
    TByteWriter W;
    W.U16(0); // reserved
    W.U16(1); // an icon, not a cursor
    W.U16(static_cast<uint16_t>(Images.size()));
    uint32_t Offset = static_cast<uint32_t>(6 + 16 * Images.size());
    for (size_t I = 0; I < Images.size(); ++I) {
        const int Size = Images[I].Colour.Width();
        W.U8(static_cast<uint8_t>(Size % 256)); // 0 stands for 256
        W.U8(static_cast<uint8_t>(Size % 256));
        W.U8(0); // no palette
        W.U8(0);
        W.U16(1);  // planes
        W.U16(32); // bits per pixel
        W.U32(static_cast<uint32_t>(Encoded[I].size()));
        W.U32(Offset);
        Offset += static_cast<uint32_t>(Encoded[I].size());
    }
    for (const std::vector<uint8_t>& Bytes : Encoded) W.Append(Bytes);
    return W.Bytes;
}
