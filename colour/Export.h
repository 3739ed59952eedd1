#pragma once
// What the colour library offers; everything else in it is hidden.
#define QELL_COLOUR_API __attribute__((visibility("default")))
