// qell-designer: the host program. The designer window, and a command line on the
// colour model, the colour dialog, the package and page files.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/packages/PackageHost.h"
#include "apps/designer/packages/PackageList.h"
#include "platform/rtl/SysUtils.h"

namespace {

void Usage(FILE* To)
{
    std::fprintf(To,
                 "usage: %s       %s       %s       %s       %s       %s       %s       %s       %s"
                 "       qell-designer COMMAND --help\n"
                 "       qell-designer --version\n",
                 DesignUsage, TourUsage, PageUsage().c_str(), CheckUsage, PreviewUsage, ColourUsage, DialogUsage,
                 PackageUsage, PackagesUsage);
}

// The program's version, and the shipped package's as its resources give it.
int PrintVersion()
{
    std::printf("qell-designer %s\n", QELL_VERSION);
    try {
        const TPackageSummary Package = ReadPackageSummary(DefaultPackagePath());
        std::printf("%s %s\n", Package.Name.c_str(), Package.Version.c_str());
        return ExitOk;
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer: the shipped package: %s\n", E.what());
        return ExitFailed;
    }
}

// A standard stream that is closed gets a stand-in open the other way round, so that
// using it fails as a closed one does while no file the program opens can take its
// number (and receive, say, the selection meant for standard output).
void ReserveStandardStreams()
{
    for (const int Fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (fcntl(Fd, F_GETFD) == -1 && errno == EBADF)
            open("/dev/null", Fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
}

// Every subcommand's result goes to standard output, so a write there that failed (a
// full disk, a closed stream) is a failed run however the subcommand ended.
int FinishStandardOutput(int ExitCode)
{
    errno = 0;
    bool Failed = std::fflush(stdout) != 0;
    int Error = errno;
    Failed = std::ferror(stdout) || Failed;
    if (std::fclose(stdout) != 0 && !Failed) {
        Failed = true;
        Error = errno;
    }
    if (!Failed) return ExitCode;
    std::fprintf(stderr, "qell-designer: cannot write standard output%s%s\n", Error != 0 ? ": " : "",
                 Error != 0 ? std::strerror(Error) : "");
    return ExitCode == 0 ? 1 : ExitCode;
}

int Run(int argc, char** argv)
{
    if (argc < 2) {
        if (DesignerWindowAvailable()) return RunDesignCommand({});
        std::fprintf(stderr, "qell-designer: no display, so here is the designer at work headless; "
                             "'qell-designer --help' lists the commands\n");
        return RunTourCommand({});
    }
    if (IsHelp(argv[1])) {
        Usage(stdout);
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0 && argc == 2) return PrintVersion();
    TArgs Rest(argv + 2, argv + argc);
    try {
        if (std::strcmp(argv[1], "design") == 0) return RunDesignCommand(Rest);
        if (std::strcmp(argv[1], "tour") == 0) return RunTourCommand(Rest);
        if (std::strcmp(argv[1], "colour") == 0) return RunColourCommand(Rest);
        if (std::strcmp(argv[1], "dialog") == 0) return RunDialogCommand(Rest);
        if (std::strcmp(argv[1], "package") == 0) return RunPackageCommand(Rest);
        if (std::strcmp(argv[1], "check") == 0) return RunCheckCommand(Rest);
        if (std::strcmp(argv[1], "preview") == 0) return RunPreviewCommand(Rest);
        if (std::strcmp(argv[1], "packages") == 0) return RunPackagesCommand(Rest);
        if (const std::optional<int> Exit = RunPageCommand(argv[1], Rest)) return *Exit;
    } catch (const std::exception& E) {
        std::fprintf(stderr, "qell-designer: %s\n", E.what());
        return 2;
    }
    std::fprintf(stderr, "qell-designer: unknown command %s\n", QuotedInput(argv[1]).c_str());
    Usage(stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    ReserveStandardStreams();
    return FinishStandardOutput(Run(argc, argv));
}
