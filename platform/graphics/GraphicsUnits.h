#pragma once
// The graphics library's units, for the unit tables of packages that use them.

#include "platform/graphics/Export.h"
#include "platform/rtl/Units.h"

QELL_DECLARE_UNIT(QELL_GRAPHICS_API, Graphics);
QELL_DECLARE_UNIT(QELL_GRAPHICS_API, PngImage);
