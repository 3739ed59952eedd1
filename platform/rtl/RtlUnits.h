#pragma once
// The runtime library's units, for the unit tables of packages that use them.

#include "platform/rtl/Units.h"

QELL_DECLARE_UNIT(QELL_RTL_API, System);
QELL_DECLARE_UNIT(QELL_RTL_API, SysUtils);
QELL_DECLARE_UNIT(QELL_RTL_API, Classes);
QELL_DECLARE_UNIT(QELL_RTL_API, TypInfo);
