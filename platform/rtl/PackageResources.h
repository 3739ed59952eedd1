#pragma once
// Resources stored in a package library file: an ELF section of their own, allocated,
// so that a tool reads them from the file without loading it and the loaded module
// finds its own in memory. The layout is in docs/package-resources.md.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Bytes.h"
#include "platform/rtl/Export.h"

class TElfFile;

constexpr std::string_view ResourceSectionName = ".qellres";

enum class TResourceKind : uint8_t { Raw = 1, IconGroup = 2, VersionInfo = 3 };
// "raw", "icon" and "version", as the build tools and `package info` spell them.
QELL_RTL_API std::string_view ResourceKindName(TResourceKind Kind);
QELL_RTL_API std::optional<TResourceKind> ResourceKindFromName(std::string_view Name);

constexpr uint16_t LanguageNeutral = 0;

// Names are 1 to MaxResourceName printable ASCII characters, unique ignoring case.
constexpr size_t MaxResourceName = 255;

struct TResource {
    std::string Name;
    TResourceKind Kind = TResourceKind::Raw;
    uint16_t Language = LanguageNeutral;
    TBytes Data; // within the bytes the directory was read from (or built from)
};

// Reads a resource directory from a section's bytes, in stored order. EPackageFileError
// for any structure that is truncated, out of range, overlapping another, of an
// unknown kind or version, or named badly.
QELL_RTL_API std::vector<TResource> ReadResourceDirectory(TBytes Section);

// The section bytes that hold Resources, in that order; ReadResourceDirectory gives
// them back. EPackageFileError for a bad or duplicate name, or a section over 4 GiB.
QELL_RTL_API std::vector<uint8_t> BuildResourceDirectory(const std::vector<TResource>& Resources);

// The resource of that name, ignoring case; nullptr when there is none.
QELL_RTL_API const TResource* FindResource(const std::vector<TResource>& Resources, std::string_view Name);

// A package file's resources, read from its resource section. EPackageFileError when
// the file has no such section, or it or its directory is damaged.
QELL_RTL_API std::vector<TResource> ReadPackageResources(const TElfFile& File);

// For a loaded module: the data of resource Name in its own resource section, given the
// section's address and size (QellResourceSection, QellResourceSectionSize below).
// nullopt when there is no such resource; EPackageFileError when the section is damaged.
QELL_RTL_API std::optional<TBytes> FindResource(const void* Section, size_t Size, std::string_view Name);

// Defined by the source that qell_add_resources (cmake/Resources.cmake) generates into
// a module: its resource section and its size. Hidden, so that each module's code sees
// its own; a module without resources must not use them.
extern "C" __attribute__((visibility("hidden"))) const unsigned char QellResourceSection[];
extern "C" __attribute__((visibility("hidden"))) const size_t QellResourceSectionSize;

// The calling module's resource Name (see FindResource).
inline std::optional<TBytes> FindModuleResource(std::string_view Name)
{
    return FindResource(QellResourceSection, QellResourceSectionSize, Name);
}
