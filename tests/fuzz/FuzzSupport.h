#pragma once
// What every fuzz target shares: how a broken check stops the run.

#include <string_view>

// Prints What and the offending text (quoted, so that no input byte reaches the
// terminal raw) and aborts, which libFuzzer reports as a crash with the input saved.
[[noreturn]] void Abort(const char* What, std::string_view Detail);
