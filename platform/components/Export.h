#pragma once
// What the component library offers; everything else in it is hidden.
#define QELL_COMPONENTS_API __attribute__((visibility("default")))
