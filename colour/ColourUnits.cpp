// The colour library holds the web framework's colour unit: it stands for the web
// framework's package Intraweb_140_210.bpl.

#include "colour/ColourUnits.h"

QELL_DEFINE_UNIT(ColourModel, [] {}, [] {})
QELL_DEFINE_UNIT(IWColor, [] {}, [] {})

namespace {

const TPlatformModule Module(HInstance(), "Intraweb_140_210.bpl");
const TLibraryUnits Units{{ColourModel_Initialization, ColourModel_Finalization},
                          {IWColor_Initialization, IWColor_Finalization}};

} // namespace
