#pragma once
// The units of the runtime packages that only need to be present, for the unit tables
// that list them.

#include "platform/rtl/Units.h"

QELL_DECLARE_UNIT(__attribute__((visibility("default"))), ActionBands);
QELL_DECLARE_UNIT(__attribute__((visibility("default"))), XmlDocuments);
