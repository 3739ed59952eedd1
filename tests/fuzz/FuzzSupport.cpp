#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

#include "platform/rtl/SysUtils.h"

void Abort(const char* What, std::string_view Detail)
{
    std::fprintf(stderr, "%s: %s\n", What, QuotedInput(Detail, 4000).c_str());
    std::abort();
}

// fontconfig drops a few hundred bytes once, on its first font match, whatever it is
// asked; that is no target's and would stop every run that draws text.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
