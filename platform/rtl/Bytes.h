#pragma once
// Little-endian records in byte buffers: a checked reader for bytes that come from a
// file (every read is bounds-checked and a short buffer is an EPackageFileError that
// names the record, the field and the offset) and a writer for the build tools. Both
// sides of every record layout use these, so a layout is spelled the same way twice.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Export.h"
#include "platform/rtl/SysUtils.h"

using TBytes = std::span<const uint8_t>;

// Bytes of a package file, or of a record in it, that do not hold what they should.
class QELL_RTL_API EPackageFileError : public Exception {
public:
    using Exception::Exception;
};

// Every byte is a visible ASCII character or a space; empty counts as printable.
inline bool IsPrintableAscii(std::string_view S)
{
    for (const char C : S)
        if (C < 0x20 || C > 0x7E) return false;
    return true;
}

// "0x1F40": offsets and sizes in messages, as a hex dump shows them.
inline std::string HexOffset(uint64_t Value)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string S;
    do {
        S.insert(S.begin(), Digits[Value & 0xF]);
        Value >>= 4;
    } while (Value != 0);
    return "0x" + S;
}

// Whether [Offset, Offset + Size) lies within Limit bytes, without overflow.
inline bool RangeFits(uint64_t Offset, uint64_t Size, uint64_t Limit)
{
    return Offset <= Limit && Size <= Limit - Offset;
}

// The Size-byte (1 to 8) little-endian number at At; the caller has checked that the
// bytes are there.
inline uint64_t LittleEndian(TBytes Bytes, size_t At, unsigned Size)
{
    uint64_t V = 0;
    for (unsigned I = 0; I < Size; ++I) V |= uint64_t{Bytes[At + I]} << (8 * I);
    return V;
}

class TByteReader {
public:
    // What names the record in messages ("resource directory").
    TByteReader(TBytes Bytes, std::string What) : FBytes(Bytes), FWhat(std::move(What)) {}

    size_t Pos() const { return FPos; }
    size_t Size() const { return FBytes.size(); }
    size_t Remaining() const { return FBytes.size() - FPos; }
    void Seek(uint64_t Pos, const char* Field)
    {
        if (Pos > FBytes.size()) Fail(std::string(Field) + " at offset " + HexOffset(Pos) + " lies past the end");
        FPos = static_cast<size_t>(Pos);
    }

    uint8_t U8(const char* Field) { return static_cast<uint8_t>(Read(1, Field)); }
    uint16_t U16(const char* Field) { return static_cast<uint16_t>(Read(2, Field)); }
    uint32_t U32(const char* Field) { return static_cast<uint32_t>(Read(4, Field)); }
    uint64_t U64(const char* Field) { return Read(8, Field); }
    TBytes Take(uint64_t N, const char* Field)
    {
        Need(N, Field);
        const TBytes R = FBytes.subspan(FPos, static_cast<size_t>(N));
        FPos += static_cast<size_t>(N);
        return R;
    }
    // A zero-terminated 8-bit text of at most MaxLength characters, printable ASCII;
    // the position moves past the terminator.
    std::string ZString(const char* Field, size_t MaxLength)
    {
        const size_t Start = FPos;
        size_t End = Start;
        while (End < FBytes.size() && FBytes[End] != 0 && End - Start <= MaxLength) ++End;
        if (End - Start > MaxLength)
            Fail(std::string(Field) + " at offset " + HexOffset(Start) + " is longer than " +
                 std::to_string(MaxLength) + " characters");
        if (End == FBytes.size())
            Fail(std::string(Field) + " at offset " + HexOffset(Start) + " has no terminating zero");
        std::string S(reinterpret_cast<const char*>(FBytes.data()) + Start, End - Start);
        if (S.empty() || !IsPrintableAscii(S))
            Fail(std::string(Field) + " at offset " + HexOffset(Start) + " is not a printable ASCII name");
        FPos = End + 1;
        return S;
    }
    // Zero bytes up to the next multiple of Alignment, which must end the record there.
    void ExpectPaddingToEnd(size_t Alignment)
    {
        if (Remaining() >= Alignment)
            Fail(std::to_string(Remaining()) + " bytes follow the record at offset " + HexOffset(FPos) +
                 ", where only zero padding to a multiple of " + std::to_string(Alignment) + " may");
        if (FBytes.size() % Alignment != 0)
            Fail("the size " + std::to_string(FBytes.size()) + " is not padded to a multiple of " +
                 std::to_string(Alignment));
        for (size_t I = FPos; I < FBytes.size(); ++I)
            if (FBytes[I] != 0) Fail("padding byte at offset " + HexOffset(I) + " is not zero");
        FPos = FBytes.size();
    }

    [[noreturn]] void Fail(const std::string& Message) const { throw EPackageFileError(FWhat + ": " + Message); }

private:
    void Need(uint64_t N, const char* Field) const
    {
        if (N > Remaining())
            Fail(std::string(Field) + " at offset " + HexOffset(FPos) + " needs " + std::to_string(N) + " bytes, " +
                 std::to_string(Remaining()) + " remain");
    }
    uint64_t Read(unsigned N, const char* Field)
    {
        Need(N, Field);
        const uint64_t V = LittleEndian(FBytes, FPos, N);
        FPos += N;
        return V;
    }

    TBytes FBytes;
    std::string FWhat;
    size_t FPos = 0;
};

class TByteWriter {
public:
    std::vector<uint8_t> Bytes;

    void U8(uint8_t V) { Bytes.push_back(V); }
    void U16(uint16_t V) { Write(V, 2); }
    void U32(uint32_t V) { Write(V, 4); }
    void U64(uint64_t V) { Write(V, 8); }
    void Append(TBytes Data) { Bytes.insert(Bytes.end(), Data.begin(), Data.end()); }
    void Append(std::string_view Text) { Bytes.insert(Bytes.end(), Text.begin(), Text.end()); }
    void PadTo(size_t Alignment) { Bytes.resize((Bytes.size() + Alignment - 1) / Alignment * Alignment, 0); }
    // Overwrites a 16-bit field written earlier (a length known only later).
    void Patch16(size_t Offset, uint16_t V) { Put(Offset, V, 2); }

private:
    void Write(uint64_t V, unsigned N)
    {
        for (unsigned I = 0; I < N; ++I) Bytes.push_back(static_cast<uint8_t>(V >> (8 * I)));
    }
    void Put(size_t Offset, uint64_t V, unsigned N)
    {
        for (unsigned I = 0; I < N; ++I) Bytes.at(Offset + I) = static_cast<uint8_t>(V >> (8 * I));
    }
};
