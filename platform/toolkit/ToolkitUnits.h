#pragma once
// The toolkit's units, for the unit tables of packages that use them.

#include "platform/rtl/Units.h"
#include "platform/toolkit/Export.h"

QELL_DECLARE_UNIT(QELL_TOOLKIT_API, Controls);
QELL_DECLARE_UNIT(QELL_TOOLKIT_API, Forms);
QELL_DECLARE_UNIT(QELL_TOOLKIT_API, StdCtrls);
QELL_DECLARE_UNIT(QELL_TOOLKIT_API, Dialogs);
QELL_DECLARE_UNIT(QELL_TOOLKIT_API, FormResources);
