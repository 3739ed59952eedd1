#pragma once
// The design-time library's units, for the unit tables of packages that use them.

#include "platform/designide/Export.h"
#include "platform/rtl/Units.h"

QELL_DECLARE_UNIT(QELL_DESIGNIDE_API, DesignIntf);
QELL_DECLARE_UNIT(QELL_DESIGNIDE_API, DesignEditors);
QELL_DECLARE_UNIT(QELL_DESIGNIDE_API, PropertyInspector);
