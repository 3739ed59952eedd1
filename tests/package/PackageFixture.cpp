// A stand-in for the package library until it exists: built with the package's
// resources (tests/package/CMakeLists.txt), a unit table of one entry per contained
// unit, and exports as the package will have them, one of them unit-qualified.

#include <cstddef>
#include <cstdint>

#include "platform/rtl/PackageRecords.h"
#include "platform/rtl/PackageResources.h"

#define FIXTURE_EXPORT extern "C" __attribute__((visibility("default")))

// Its size is the entry count `package info` reads, so clang's address sanitizer must
// not pad it with a redzone.
#if defined(__clang__)
__attribute__((no_sanitize("address")))
#endif
extern "C" __attribute__((used)) const TPackageUnitEntry QellPackageUnitTable[5] = {};

// The module's own resource, found in memory through its section; nullptr when there is
// none or the section is damaged.
FIXTURE_EXPORT const uint8_t* FixtureFindResource(const char* Name, size_t* Size)
{
    try {
        const std::optional<TBytes> Data = FindModuleResource(Name);
        if (!Data) return nullptr;
        *Size = Data->size();
        return Data->data();
    } catch (const EPackageFileError&) {
        return nullptr;
    }
}

FIXTURE_EXPORT void Register() __asm__("IWQellRegDE.Register");
void Register() {}
