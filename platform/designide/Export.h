#pragma once
// What the design-time library offers; everything else in it is hidden.
#define QELL_DESIGNIDE_API __attribute__((visibility("default")))
