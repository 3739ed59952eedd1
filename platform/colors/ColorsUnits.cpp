// The toolkit's colours are part of the GUI toolkit, the package vcl210.bpl.

#include "platform/colors/ColorsUnits.h"

QELL_DEFINE_UNIT(Colors, [] {}, [] {})

namespace {

const TPlatformModule Module(HInstance(), "vcl210.bpl");
const TLibraryUnits Units{{Colors_Initialization, Colors_Finalization}};

} // namespace
