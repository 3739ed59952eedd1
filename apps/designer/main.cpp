// qell-designer: the host program. For now its command line exposes the colour model.

#include <cstdio>
#include <cstring>
#include <exception>

#include "apps/designer/Commands.h"

namespace {

void Usage()
{
    std::fputs("usage: qell-designer colour (from-levels|to-levels|hsb|resolve|names) ...\n", stderr);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        Usage();
        return 2;
    }
    TArgs Rest(argv + 2, argv + argc);
    try {
        if (std::strcmp(argv[1], "colour") == 0) return RunColourCommand(Rest);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "qell-designer: %s\n", E.what());
        return 1;
    }
    Usage();
    return 2;
}
