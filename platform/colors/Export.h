#pragma once
// What the toolkit's colour library offers; everything else in it is hidden.
#define QELL_COLORS_API __attribute__((visibility("default")))
