#pragma once
// What the runtime library offers other libraries and programs; everything else in it
// is hidden.
#define QELL_RTL_API __attribute__((visibility("default")))
