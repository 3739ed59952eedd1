// qell-package-trial: a package's whole life in a process of its own, tried before a
// host loads it (platform/rtl/PackageLoader.h). The runtime's package loader starts it
// with the package's sealed copy open as descriptor 3, the write end of a pipe for its
// report as 4, and the loader's process id as its one argument. It links every platform
// library that a design package may require, as the designer does.

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/rtl/PackageLoader.h"

int main(int argc, char** argv)
{
    // Ends with the host that started it, whatever the package does meanwhile.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (argc != 2 || std::atol(argv[1]) != getppid()) return 2;
    RunPackageTrial(3, 4);
}
