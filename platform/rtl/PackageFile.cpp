#include "platform/rtl/PackageFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/rtl/ElfFormat.h"
#include "platform/rtl/Files.h"

namespace {


std::string SectionLabel(uint64_t Index, std::string_view Name)
{
    return "section " + std::to_string(Index) + (Name.empty() ? "" : " (" + std::string(Name) + ")");
}

} // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& FileName)
{
    const TMappedFile Mapped(FileName);
    const TBytes Bytes = Mapped.Bytes();
    return std::vector<uint8_t>(Bytes.begin(), Bytes.end());
}

TMappedFile::TMappedFile(const std::string& FileName)
{
    const auto Fail = [&](const std::string& Why) {
        return EPackageFileError("Cannot read " + QuotedFileName(FileName) + ": " + Why);
    };
    TFileHandle File;
    try {
        File = OpenRegularFileForReading(FileName, FStatus);
    } catch (const EInOutError& E) {
        throw EPackageFileError(E.Message());
    }
    if (static_cast<uint64_t>(FStatus.st_size) > MaxPackageFileSize)
        throw Fail("larger than the limit of " + std::to_string(MaxPackageFileSize >> 20) + " MiB");
    FSize = static_cast<size_t>(FStatus.st_size);
    if (FSize == 0) return;
    FData = mmap(nullptr, FSize, PROT_READ, MAP_PRIVATE, File.Fd(), 0);
    if (FData == MAP_FAILED) {
        FData = nullptr;
        throw Fail(std::strerror(errno));
    }
}

TMappedFile::~TMappedFile()
{
    if (FData) munmap(FData, FSize);
}

TElfFile::TElfFile(TBytes Bytes) : FBytes(Bytes)
{
    TByteReader R(Bytes, "ELF file");
    if (Bytes.size() > MaxPackageFileSize)
        R.Fail("its " + std::to_string(Bytes.size()) + " bytes exceed the limit of " +
               std::to_string(MaxPackageFileSize));
    static constexpr uint8_t Magic[4] = {0x7F, 'E', 'L', 'F'};
    if (Bytes.size() < sizeof Magic || std::memcmp(Bytes.data(), Magic, sizeof Magic) != 0)
        R.Fail("not an ELF file (no ELF magic at offset 0)");
    if (Bytes.size() < ElfHeaderSize)
        R.Fail("the file header needs " + std::to_string(ElfHeaderSize) + " bytes, the file has " +
               std::to_string(Bytes.size()));
    if (Bytes[4] != 2 || Bytes[5] != 1)
        R.Fail("not a 64-bit little-endian ELF file (class " + std::to_string(Bytes[4]) + ", data " +
               std::to_string(Bytes[5]) + ")");
    if (Bytes[6] != 1) R.Fail("unknown ELF version " + std::to_string(Bytes[6]));

    R.Seek(ElfSectionTableAt, "e_shoff");
    const uint64_t TableOffset = R.U64("e_shoff");
    R.Seek(ElfSectionEntrySizeAt, "e_shentsize");
    const uint16_t EntrySize = R.U16("e_shentsize");
    const uint64_t Count = R.U16("e_shnum");
    const uint64_t NamesIndex = R.U16("e_shstrndx");
    if (TableOffset == 0) return; // no section headers: nothing to find
    if (EntrySize != SectionHeaderSize)
        R.Fail("section headers of " + std::to_string(EntrySize) + " bytes, not " + std::to_string(SectionHeaderSize));
    if (!RangeFits(TableOffset, SectionHeaderSize, Bytes.size()))
        R.Fail("the section header table at " + HexOffset(TableOffset) + " lies outside the file (size " +
               HexOffset(Bytes.size()) + ")");
    const std::vector<uint32_t> NameOffsets = ReadSectionHeaders(TableOffset, Count);
    // Section 0 carries the real names index when it does not fit the header.
    NameSections(NamesIndex == SHN_XINDEX && !FSections.empty() ? FSections[0].Link : NamesIndex, NameOffsets);
}

std::vector<uint32_t> TElfFile::ReadSectionHeaders(uint64_t TableOffset, uint64_t Count)
{
    const auto ReadHeader = [&](uint64_t Index) {
        TByteReader H(FBytes, "ELF file: section header " + std::to_string(Index));
        H.Seek(TableOffset + Index * SectionHeaderSize, "section header");
        TElfSection S;
        const uint32_t NameOffset = H.U32("sh_name");
        S.Type = H.U32("sh_type");
        S.Flags = H.U64("sh_flags");
        S.Address = H.U64("sh_addr");
        S.Offset = H.U64("sh_offset");
        S.Size = H.U64("sh_size");
        S.Link = H.U32("sh_link");
        H.U32("sh_info");
        H.U64("sh_addralign");
        S.EntrySize = H.U64("sh_entsize");
        return std::pair{S, NameOffset};
    };
    // Section 0 carries the real count when it does not fit the header.
    if (Count == 0) Count = ReadHeader(0).first.Size;
    TByteReader R(FBytes, "ELF file");
    if (Count > MaxElfSections)
        R.Fail(std::to_string(Count) + " sections, more than the limit of " + std::to_string(MaxElfSections));
    if (!RangeFits(TableOffset, Count * SectionHeaderSize, FBytes.size()))
        R.Fail("the section header table at " + HexOffset(TableOffset) + " with " + std::to_string(Count) +
               " entries runs past the end of the file (size " + HexOffset(FBytes.size()) + ")");
    std::vector<uint32_t> NameOffsets;
    for (uint64_t I = 0; I < Count; ++I) {
        auto [S, NameOffset] = ReadHeader(I);
        FSections.push_back(S);
        NameOffsets.push_back(NameOffset);
    }
    return NameOffsets;
}

void TElfFile::NameSections(uint64_t NamesIndex, const std::vector<uint32_t>& NameOffsets)
{
    if (NamesIndex == SHN_UNDEF) return; // sections without names
    TByteReader R(FBytes, "ELF file");
    if (NamesIndex >= FSections.size())
        R.Fail("the section name table index " + std::to_string(NamesIndex) + " is not below the section count " +
               std::to_string(FSections.size()));
    const TElfSection& NameTable = FSections[NamesIndex];
    if (NameTable.Type != SHT_STRTAB)
        R.Fail("the section name table, " + SectionLabel(NamesIndex, {}) + ", is not a string table");
    const TBytes Names = SectionBytes(NameTable);
    for (size_t I = 0; I < FSections.size(); ++I) {
        const uint32_t Offset = NameOffsets[I];
        if (Offset >= Names.size())
            R.Fail(SectionLabel(I, {}) + ": name offset " + HexOffset(Offset) +
                   " lies outside the section name table (size " + HexOffset(Names.size()) + ")");
        const auto* Start = reinterpret_cast<const char*>(Names.data()) + Offset;
        const size_t Length = strnlen(Start, Names.size() - Offset);
        if (Length == Names.size() - Offset)
            R.Fail(SectionLabel(I, {}) + ": the name at " + HexOffset(Offset) + " has no terminating zero");
        FSections[I].Name = std::string_view(Start, Length);
    }
}

const TElfSection* TElfFile::FindSection(std::string_view Name) const
{
    for (const TElfSection& S : FSections)
        if (S.Name == Name) return &S;
    return nullptr;
}

const TElfSection* TElfFile::FindSectionOfType(uint32_t Type) const
{
    for (const TElfSection& S : FSections)
        if (S.Type == Type) return &S;
    return nullptr;
}

TBytes TElfFile::SectionBytes(const TElfSection& Section) const
{
    const std::string Label = SectionLabel(static_cast<uint64_t>(&Section - FSections.data()), Section.Name);
    if (Section.Type == ElfSectionNoBits) throw EPackageFileError("ELF file: " + Label + " has no bytes in the file");
    if (!RangeFits(Section.Offset, Section.Size, FBytes.size()))
        throw EPackageFileError("ELF file: " + Label + " at " + HexOffset(Section.Offset) + " with " +
                                HexOffset(Section.Size) + " bytes runs past the end of the file (size " +
                                HexOffset(FBytes.size()) + ")");
    return FBytes.subspan(static_cast<size_t>(Section.Offset), static_cast<size_t>(Section.Size));
}

std::vector<TElfFile::TSymbol> TElfFile::Symbols(uint32_t TableType) const
{
    const TElfSection* Table = FindSectionOfType(TableType);
    if (!Table) return {};
    TByteReader R(SectionBytes(*Table), "ELF file: symbol table " + std::string(Table->Name));
    if (Table->EntrySize != SymbolSize || R.Size() % SymbolSize != 0)
        R.Fail("entries of " + std::to_string(Table->EntrySize) + " bytes in " + std::to_string(R.Size()) +
               " bytes, not a whole number of " + std::to_string(SymbolSize) + "-byte symbols");
    if (Table->Link >= FSections.size() || FSections[Table->Link].Type != SHT_STRTAB)
        R.Fail("its linked section " + std::to_string(Table->Link) + " is not a string table");
    const TBytes Strings = SectionBytes(FSections[Table->Link]);
    std::vector<TSymbol> Result;
    Result.reserve(R.Size() / SymbolSize);
    while (R.Remaining() > 0) {
        const size_t Index = R.Pos() / SymbolSize;
        TSymbol S;
        const uint32_t NameOffset = R.U32("st_name");
        S.Info = R.U8("st_info");
        S.Other = R.U8("st_other");
        S.SectionIndex = R.U16("st_shndx");
        R.U64("st_value");
        S.Size = R.U64("st_size");
        if (NameOffset >= Strings.size() && !(NameOffset == 0 && Strings.empty()))
            R.Fail("symbol " + std::to_string(Index) + ": name offset " + HexOffset(NameOffset) +
                   " lies outside its string table (size " + HexOffset(Strings.size()) + ")");
        const auto* Start = reinterpret_cast<const char*>(Strings.data()) + NameOffset;
        const size_t Room = Strings.size() - NameOffset;
        const size_t Length = Room == 0 ? 0 : strnlen(Start, Room);
        if (Room != 0 && Length == Room)
            R.Fail("symbol " + std::to_string(Index) + ": the name at " + HexOffset(NameOffset) +
                   " has no terminating zero");
        S.Name = std::string_view(Start, Length);
        Result.push_back(S);
    }
    return Result;
}

std::vector<std::string> TElfFile::ExportedSymbols() const
{
    std::vector<std::string> Names;
    for (const TSymbol& S : Symbols(SHT_DYNSYM)) {
        const uint8_t Binding = S.Info >> 4, Visibility = S.Other & 3;
        if (S.SectionIndex == SHN_UNDEF || S.Name.empty() || (Binding != STB_GLOBAL && Binding != STB_WEAK) ||
            (Visibility != STV_DEFAULT && Visibility != STV_PROTECTED))
            continue;
        if (!IsPrintableAscii(S.Name))
            throw EPackageFileError("ELF file: dynamic symbol table: an exported name is not printable ASCII");
        Names.emplace_back(S.Name);
    }
    std::sort(Names.begin(), Names.end());
    Names.erase(std::unique(Names.begin(), Names.end()), Names.end());
    return Names;
}

bool TElfFile::HasStaticSymbols() const { return FindSectionOfType(SHT_SYMTAB) != nullptr; }

std::optional<uint64_t> TElfFile::StaticSymbolSize(std::string_view Name) const
{
    for (const TSymbol& S : Symbols(SHT_SYMTAB))
        if (S.SectionIndex != SHN_UNDEF && S.Name == Name) return S.Size;
    return std::nullopt;
}
