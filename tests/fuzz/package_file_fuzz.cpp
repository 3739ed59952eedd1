// Arbitrary bytes as a package library file (when they start with the ELF magic), also
// checked as before a load, or as a resource section: reading and checking either
// succeed or raise EPackageFileError, never anything else, and never read out of
// bounds. What reads also round-trips: the directory rebuilds into one that reads back
// the same, and each record decodes to a value that encodes to the very bytes it came
// from (the version block, whose encoding is one of many, to a value that encodes and
// decodes back to itself).

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/rtl/ElfLoadCheck.h"
#include "platform/rtl/PackageFile.h"
#include "platform/rtl/PackageRecords.h"
#include "platform/rtl/PackageResources.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

bool Same(TBytes A, const std::vector<uint8_t>& B) { return std::equal(A.begin(), A.end(), B.begin(), B.end()); }

void CheckRecord(const TResource& R)
{
    try {
        if (SameText(R.Name, "PACKAGEINFO")) {
            if (!Same(R.Data, EncodePackageInfo(DecodePackageInfo(R.Data))))
                Abort("package info does not encode back", R.Name);
        } else if (SameText(R.Name, "DESCRIPTION")) {
            if (!Same(R.Data, EncodeDescription(DecodeDescription(R.Data))))
                Abort("the description does not encode back", R.Name);
        } else if (SameText(R.Name, "PACKAGEOPTIONS")) {
            if (!Same(R.Data, EncodePackageOptions(DecodePackageOptions(R.Data))))
                Abort("package options do not encode back", R.Name);
        } else if (R.Kind == TResourceKind::VersionInfo) {
            const TVersionInfo Info = DecodeVersionInfo(R.Data);
            std::vector<uint8_t> Again;
            try {
                Again = EncodeVersionInfo(Info);
            } catch (const EPackageFileError& E) {
                // Empty values stored without their terminator grow by one when written.
                if (!std::strstr(E.what(), "exceeds 65535 bytes"))
                    Abort("a decoded version block does not encode", E.what());
                return;
            }
            if (!(DecodeVersionInfo(Again) == Info)) Abort("the version block does not read back the same", R.Name);
        }
    } catch (const EPackageFileError&) {
    }
}

void CheckDirectory(TBytes Section)
{
    const std::vector<TResource> Resources = ReadResourceDirectory(Section);
    const std::vector<uint8_t> Rebuilt = BuildResourceDirectory(Resources);
    const std::vector<TResource> Again = ReadResourceDirectory(Rebuilt);
    if (Again.size() != Resources.size())
        Abort("the rebuilt directory has another count", std::to_string(Again.size()));
    for (size_t I = 0; I < Again.size(); ++I) {
        const TResource &A = Resources[I], &B = Again[I];
        if (A.Name != B.Name || A.Kind != B.Kind || A.Language != B.Language ||
            !std::equal(A.Data.begin(), A.Data.end(), B.Data.begin(), B.Data.end()))
            Abort("the rebuilt directory reads back differently", A.Name);
        CheckRecord(A);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const TBytes Bytes(Data, Size);
    try {
        if (Size < 4 || std::memcmp(Data,
                                    "\x7f"
                                    "ELF",
                                    4) != 0) {
            CheckDirectory(Bytes);
            return 0;
        }
        // What the system loader relies on: refused or passed, never read out of bounds.
        try {
            CheckElfLoadable(Bytes);
        } catch (const EPackageFileError&) {
        }
        const TElfFile Elf(Bytes);
        // Each part on its own, so that damage in one does not hide the others.
        try {
            Elf.ExportedSymbols();
        } catch (const EPackageFileError&) {
        }
        try {
            Elf.StaticSymbolSize(PackageUnitTableSymbol);
        } catch (const EPackageFileError&) {
        }
        if (const TElfSection* Section = Elf.FindSection(ResourceSectionName))
            CheckDirectory(Elf.SectionBytes(*Section));
    } catch (const EPackageFileError&) {
    }
    return 0;
}
