#pragma once
// The records a package carries as resources (docs/package-resources.md): its
// description, its package information (requires and contains), its options, and a
// version block. Each record has one encoder, used by the build tools, and one
// decoder, used by `qell-designer package info` and later the package loader; the
// decoders take untrusted bytes and raise EPackageFileError naming the record, the
// field and the offset.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Bytes.h"
#include "platform/rtl/Export.h"
#include "platform/rtl/Units.h"

// The one-byte hash stored beside every package and unit name: starting from 0, for
// each byte of the name as stored (ASCII letters taken as uppercase), rotate the hash
// left by 3 bits within its 8 and xor the byte in.
QELL_RTL_API uint8_t PackageNameHash(std::string_view Name);

// Package and unit names are 1 to MaxPackageName printable ASCII characters.
constexpr size_t MaxPackageName = 255;

// DESCRIPTION: the text as UTF-16LE, one zero code unit, zero bytes to a multiple of 4.
// Text is UTF-8.
QELL_RTL_API std::vector<uint8_t> EncodeDescription(std::string_view Text);
QELL_RTL_API std::string DecodeDescription(TBytes Record);

struct TPackageUnit {
    std::string Name;
    uint8_t Flags = 0;
    friend bool operator==(const TPackageUnit&, const TPackageUnit&) = default;
};

// PACKAGEINFO: flags; the required packages' file names; the contained units; the
// package's own name. Every name is stored with its PackageNameHash, which the decoder
// checks.
struct TPackageInfo {
    uint32_t Flags = 0;
    std::vector<std::string> Requires;
    std::vector<TPackageUnit> Contains;
    std::string Name;
    friend bool operator==(const TPackageInfo&, const TPackageInfo&) = default;
};
QELL_RTL_API std::vector<uint8_t> EncodePackageInfo(const TPackageInfo& Info);
QELL_RTL_API TPackageInfo DecodePackageInfo(TBytes Record);

// Bits of TPackageOptions::Usage.
constexpr uint32_t PackageDesignTime = 1, PackageRunTime = 2;

// PACKAGEOPTIONS: 44 option bytes describing how the package was built, then three
// texts (a length byte and at most 255 printable ASCII characters each). The defaults
// are this platform's values.
struct TPackageOptions {
    static constexpr uint16_t CurrentFormat = 1;

    uint16_t Format = CurrentFormat;
    uint16_t Machine = 62; // ELF machine number: x86-64
    uint8_t PointerSize = 8, IntegerSize = 4, WideCharSize = 2, ExtendedSize = 10;
    uint8_t RecordAlignment = 8, MinEnumSize = 1, StackAlignment = 16;
    uint32_t Usage = 0;
    std::array<uint16_t, 4> Version{};
    uint32_t CodePage = 1252; // of the 8-bit texts
    uint32_t MinStackSize = 16384, MaxStackSize = 1048576;
    uint64_t ImageBase = 0; // 0: loaded anywhere (position-independent)
    // Conditional defines, "A;B;"; unit aliases, "Old=New;…"; the description.
    std::string Defines, UnitAliases, Description;
    friend bool operator==(const TPackageOptions&, const TPackageOptions&) = default;
};
QELL_RTL_API std::vector<uint8_t> EncodePackageOptions(const TPackageOptions& Options);
QELL_RTL_API TPackageOptions DecodePackageOptions(TBytes Record);

// The version resource (named "1"): a binary version block with a fixed part, one
// translation and one string table.
struct TVersionInfo {
    std::array<uint16_t, 4> FileVersion{}, ProductVersion{};
    uint16_t Language = 0;
    uint16_t CodePage = 0;
    std::vector<std::pair<std::string, std::string>> Strings; // UTF-8 keys and values
    friend bool operator==(const TVersionInfo&, const TVersionInfo&) = default;
};
constexpr std::string_view VersionResourceName = "1";
// The translation of this project's packages: US English, Western European code page.
constexpr uint16_t PackageLanguage = 0x0409, PackageCodePage = 1252;
QELL_RTL_API std::vector<uint8_t> EncodeVersionInfo(const TVersionInfo& Info);
QELL_RTL_API TVersionInfo DecodeVersionInfo(TBytes Record);
// "1.0.0.0"
QELL_RTL_API std::string VersionText(const std::array<uint16_t, 4>& Version);

// The unit table a package defines (Units.h): a static symbol of this name, one entry
// per unit it uses. `package info` divides the symbol's size by the entry size.
constexpr std::string_view PackageUnitTableSymbol = "QellPackageUnitTable";
constexpr uint64_t PackageUnitTableEntrySize = 16;
static_assert(sizeof(TPackageUnitEntry) == PackageUnitTableEntrySize);
