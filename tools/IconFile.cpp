#include "tools/IconFile.h"

#include <png.h>

#include <cstring>

#include "platform/rtl/Bytes.h"

namespace {

constexpr int PngFromSize = 256;
constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

TIconImage DecodePng(TBytes Data, int Size)
{
    png_image Png;
    std::memset(&Png, 0, sizeof Png);
    Png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&Png, Data.data(), Data.size()))
        throw EPackageFileError(std::string("icon: a damaged PNG image: ") + Png.message);
    if (Png.width != static_cast<png_uint_32>(Size) || Png.height != static_cast<png_uint_32>(Size)) {
        png_image_free(&Png);
        throw EPackageFileError("icon: a PNG image is not the size its entry gives");
    }
    Png.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> RGBA(PNG_IMAGE_SIZE(Png));
    if (!png_image_finish_read(&Png, nullptr, RGBA.data(), 0, nullptr))
        throw EPackageFileError(std::string("icon: a damaged PNG image: ") + Png.message);
    TIconImage Image{TBitmap(Size, Size), std::vector<uint8_t>(static_cast<size_t>(Size) * Size)};
    for (size_t I = 0; I < Image.Alpha.size(); ++I) {
        const uint8_t* P = &RGBA[4 * I];
        Image.Colour.ScanLine(static_cast<int>(I) / Size)[I % static_cast<size_t>(Size)] =
            P[0] | uint32_t{P[1]} << 8 | uint32_t{P[2]} << 16;
        Image.Alpha[I] = P[3];
    }
    return Image;
}

// The colour rows of a 32-bit icon bitmap; its mask adds nothing to the alpha channel.
TIconImage DecodeBmp(TBytes Data, int Size)
{
    TByteReader R(Data, "icon bitmap");
    if (R.U32("header size") != 40 || R.U32("width") != static_cast<uint32_t>(Size) ||
        R.U32("height") != static_cast<uint32_t>(2 * Size) || R.U16("planes") != 1 || R.U16("bits") != 32 ||
        R.U32("compression") != 0)
        R.Fail("not an uncompressed 32-bit image of the size its entry gives");
    R.Seek(40, "pixels");
    TIconImage Image{TBitmap(Size, Size), std::vector<uint8_t>(static_cast<size_t>(Size) * Size)};
    for (int Y = Size - 1; Y >= 0; --Y)
        for (int X = 0; X < Size; ++X) {
            const uint32_t BGRA = R.U32("pixel");
            Image.Colour.ScanLine(Y)[X] = (BGRA >> 16 & 0xFF) | (BGRA & 0xFF00) | (BGRA & 0xFF) << 16;
            Image.Alpha[static_cast<size_t>(Y) * Size + X] = static_cast<uint8_t>(BGRA >> 24);
        }
    return Image;
}

} // namespace

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

namespace {

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

std::vector<TIconImage> DecodeIconFile(std::span<const uint8_t> Ico)
{
    TByteReader R(Ico, "icon");
    if (R.U16("reserved") != 0 || R.U16("type") != 1) R.Fail("not an icon file");
    const uint16_t Count = R.U16("image count");
    std::vector<TIconImage> Images;
    for (uint16_t I = 0; I < Count; ++I) {
        R.Seek(6 + 16 * uint64_t{I}, "directory entry");
        const uint8_t Width = R.U8("width");
        const int Size = Width == 0 ? 256 : Width;
        if (R.U8("height") != Width) R.Fail("an image is not square");
        R.Seek(R.Pos() + 6, "image size");
        const uint32_t Length = R.U32("image size");
        R.Seek(R.U32("image offset"), "image");
        const TBytes Data = R.Take(Length, "image");
        const bool Png = Data.size() >= sizeof PngSignature && std::memcmp(Data.data(), PngSignature, 8) == 0;
        Images.push_back(Png ? DecodePng(Data, Size) : DecodeBmp(Data, Size));
    }
    return Images;
}
