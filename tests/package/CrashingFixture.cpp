// A package whose library faults as soon as it is loaded, in its own start-up code: a
// well-formed file that no check of its bytes can tell from a sound one. Each load is
// noted first in the file QELL_TRIAL_LOG names, so that a test sees how often it was
// tried.

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

__attribute__((constructor)) void FaultWhenLoaded()
{
    if (const char* Log = std::getenv("QELL_TRIAL_LOG"))
        if (std::FILE* F = std::fopen(Log, "a")) {
            std::fputs("loaded\n", F);
            std::fclose(F);
        }
    std::raise(SIGSEGV);
}

} // namespace
