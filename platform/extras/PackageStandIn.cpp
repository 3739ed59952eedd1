// A runtime package that this system only needs to be present: its record names the
// package (QELL_PACKAGE_NAME), and its one unit, if it has one (QELL_UNIT), has counted
// procedures with nothing to do, for the unit tables that list it.

#include "platform/extras/ExtrasUnits.h"

#ifdef QELL_UNIT
// Through a second macro, so that QELL_UNIT is replaced by the unit's name first.
#define QELL_DEFINE_EMPTY_UNIT(U) QELL_DEFINE_UNIT(U, [] {}, [] {})
#define QELL_UNIT_ENTRY(U) {U##_Initialization, U##_Finalization}
#define QELL_UNIT_ENTRY_OF(U) QELL_UNIT_ENTRY(U)
QELL_DEFINE_EMPTY_UNIT(QELL_UNIT)
#endif

namespace {

const TPlatformModule Module(HInstance(), QELL_PACKAGE_NAME);
#ifdef QELL_UNIT
const TLibraryUnits Units{QELL_UNIT_ENTRY_OF(QELL_UNIT)};
#endif

} // namespace
