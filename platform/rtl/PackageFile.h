#pragma once
// A package library file read as bytes, never loaded: no code of it runs. The file is
// untrusted input: every structure is checked against the bytes before it is used, and
// anything truncated, out of range or oversized raises EPackageFileError naming what
// is wrong and where.

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Bytes.h"
#include "platform/rtl/Export.h"

// Packages are a few MiB; the bound keeps a wrong path (a disk image, a device) from
// exhausting memory.
constexpr uint64_t MaxPackageFileSize = uint64_t{256} << 20;

// The whole file. EPackageFileError naming the file and the reason when it cannot be
// opened or read, is not a regular file, or is larger than MaxPackageFileSize.
QELL_RTL_API std::vector<uint8_t> ReadFileBytes(const std::string& FileName);

// A file's bytes mapped read-only, for reading a few structures of a large file without
// copying it: only the pages read are ever brought in. Same errors as ReadFileBytes; the
// open never blocks (OpenRegularFileForReading).
class QELL_RTL_API TMappedFile {
public:
    explicit TMappedFile(const std::string& FileName);
    ~TMappedFile();
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;
    TBytes Bytes() const { return {static_cast<const uint8_t*>(FData), FSize}; }
    // The file's status when it was opened: its identity (device, inode, size, time).
    const struct stat& Status() const { return FStatus; }

private:
    void* FData = nullptr;
    size_t FSize = 0;
    struct stat FStatus {};
};

struct TElfSection {
    std::string_view Name; // within the file's bytes
    uint32_t Type = 0;
    uint64_t Flags = 0;
    uint64_t Address = 0;
    uint64_t Offset = 0;
    uint64_t Size = 0;
    uint32_t Link = 0;
    uint64_t EntrySize = 0;
};

// Section type of one with no bytes in the file (.bss), and the flag of one that is in
// memory once the library is loaded.
constexpr uint32_t ElfSectionNoBits = 8;
constexpr uint64_t ElfSectionAllocated = 2;

// An ELF64 little-endian file seen through its section headers. The constructor checks
// the file header, the section header table (inside the file, 64-byte entries, at most
// MaxElfSections) and every section's name; the bytes must outlive the object.
class QELL_RTL_API TElfFile {
public:
    static constexpr uint64_t MaxElfSections = 65536;

    explicit TElfFile(TBytes Bytes);

    const std::vector<TElfSection>& Sections() const { return FSections; }
    // The first section with this exact name, or nullptr.
    const TElfSection* FindSection(std::string_view Name) const;
    // The bytes of Section, one of Sections(), in the file. EPackageFileError when they
    // run past the end of the file, or when the section has none there (SHT_NOBITS).
    TBytes SectionBytes(const TElfSection& Section) const;

    // The names of the defined symbols that the dynamic symbol table exports (global or
    // weak binding, default or protected visibility), sorted, each once; empty when the
    // file has no dynamic symbol table. A name that is not printable ASCII is an error.
    std::vector<std::string> ExportedSymbols() const;
    // Whether the file still has its static symbol table (.symtab); strip removes it.
    bool HasStaticSymbols() const;
    // The size of the defined symbol Name in the static symbol table; nullopt when the
    // table or the symbol is missing.
    std::optional<uint64_t> StaticSymbolSize(std::string_view Name) const;

private:
    struct TSymbol {
        std::string_view Name;
        uint8_t Info, Other;
        uint16_t SectionIndex;
        uint64_t Size;
    };
    // Every symbol of the first section of this type (SHT_SYMTAB or SHT_DYNSYM), with
    // the names from its linked string table; empty when there is none.
    std::vector<TSymbol> Symbols(uint32_t TableType) const;
    const TElfSection* FindSectionOfType(uint32_t Type) const;
    // The constructor's steps: the section header table (answering each section's name
    // offset), then each section's name.
    std::vector<uint32_t> ReadSectionHeaders(uint64_t TableOffset, uint64_t Count);
    void NameSections(uint64_t NamesIndex, const std::vector<uint32_t>& NameOffsets);

    TBytes FBytes;
    std::vector<TElfSection> FSections;
};
