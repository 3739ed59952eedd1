#pragma once
// What the graphics library offers; everything else in it is hidden.
#define QELL_GRAPHICS_API __attribute__((visibility("default")))
