// The seed of the package file fuzz target: a real shared library with the package's
// records in its resource section, a unit table and an export, and nothing more, so
// that it fits the fuzzer's input limit.

#include "platform/rtl/PackageRecords.h"

extern "C" __attribute__((used)) const TPackageUnitEntry QellPackageUnitTable[5] = {};

extern "C" __attribute__((visibility("default"))) int SeedExport() { return 0; }
