// qell-designer: the host program. Its command line exposes the colour model and the
// colour dialog.

#include <cstdio>
#include <cstring>
#include <exception>

#include "apps/designer/Commands.h"

namespace {

void Usage()
{
    std::fputs("usage: qell-designer colour (from-levels|to-levels|hsb|resolve|names) ...\n"
               "       qell-designer dialog [--identifier TEXT] [--script FILE | --window [--scale N]]\n"
               "                            [--snapshot FILE.png]\n",
               stderr);
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
        if (std::strcmp(argv[1], "dialog") == 0) return RunDialogCommand(Rest);
        if (std::strcmp(argv[1], "package") == 0) return RunPackageCommand(Rest);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "qell-designer: %s\n", E.what());
        return 2;
    }
    Usage();
    return 2;
}
