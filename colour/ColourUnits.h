#pragma once
// The colour library's units, for the unit tables of packages that use them.

#include "colour/Export.h"
#include "platform/rtl/Units.h"

QELL_DECLARE_UNIT(QELL_COLOUR_API, ColourModel);
QELL_DECLARE_UNIT(QELL_COLOUR_API, IWColor);
