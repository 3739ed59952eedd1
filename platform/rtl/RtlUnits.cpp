// The runtime library stands for the package rtl210.bpl. Its units keep no state of
// their own to set up; their procedures count, so that unit tables can list them.

#include "platform/rtl/RtlUnits.h"

QELL_DEFINE_UNIT(System, [] {}, [] {})
QELL_DEFINE_UNIT(SysUtils, [] {}, [] {})
QELL_DEFINE_UNIT(Classes, [] {}, [] {})
QELL_DEFINE_UNIT(TypInfo, [] {}, [] {})

namespace {

const TPlatformModule Module(HInstance(), "rtl210.bpl");
const TLibraryUnits Units{{System_Initialization, System_Finalization},
                          {SysUtils_Initialization, SysUtils_Finalization},
                          {Classes_Initialization, Classes_Finalization},
                          {TypInfo_Initialization, TypInfo_Finalization}};

} // namespace
