#pragma once
// What the toolkit library offers; everything else in it is hidden.
#define QELL_TOOLKIT_API __attribute__((visibility("default")))
