#pragma once
// The toolkit colour library's unit, for the unit tables of packages that use it.

#include "platform/colors/Export.h"
#include "platform/rtl/Units.h"

QELL_DECLARE_UNIT(QELL_COLORS_API, Colors);
