// `qell-designer packages …`: the list of design packages the designer loads at start
// (apps/designer/packages/PackageList.h). The output is in docs/cli.md.

#include <cstdio>
#include <filesystem>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/packages/PackageList.h"
#include "platform/rtl/Files.h"

namespace {

// A path as the list keeps it: absolute, so that it means the same from any folder.
std::string ListedPath(const std::string& Path)
{
    return std::filesystem::absolute(Path).lexically_normal().string();
}

// Whether the listed Path is what Given names: the path itself, the file's name with or
// without ".bpl", or the package's own name.
bool Names(const std::string& Path, const std::string& Given)
{
    const std::string File = ExtractFileName(Path);
    if (Path == ListedPath(Given) || File == Given || (File.ends_with(".bpl") && File.substr(0, File.size() - 4) == Given))
        return true;
    try {
        return ReadPackageSummary(Path).Name == Given;
    } catch (const Exception&) {
        return false;
    }
}

int List()
{
    for (const std::string& Path : ReadPackageList()) {
        std::string Description, Failure = ListedPathFailure(Path);
        if (Failure.empty()) {
            try {
                Description = ReadPackageSummary(Path).Description;
            } catch (const Exception&) {
                // the check below says why
            }
            Failure = CheckDesignPackage(Path);
        }
        std::printf("%s\t%s\t%s\n", Path.c_str(), Description.c_str(),
                    Failure.empty() ? "loads" : ("fails: " + Failure).c_str());
    }
    return ExitOk;
}

int Add(const std::string& Given)
{
    const std::string Path = ListedPath(Given);
    std::vector<std::string> Paths = ReadPackageList();
    for (const std::string& P : Paths)
        if (P == Path) return ExitOk;
    if (const std::string Failure = CheckDesignPackage(Path); !Failure.empty()) {
        std::fprintf(stderr, "qell-designer packages add: %s; the list is unchanged\n", Failure.c_str());
        return ExitError;
    }
    Paths.push_back(Path);
    WritePackageList(Paths);
    return ExitOk;
}

int Remove(const std::string& Given)
{
    std::vector<std::string> Paths = ReadPackageList();
    const size_t Before = Paths.size();
    std::erase_if(Paths, [&](const std::string& P) { return Names(P, Given); });
    if (Paths.size() == Before) {
        std::fprintf(stderr, "qell-designer packages remove: %s is not on the list\n", QuotedInput(Given).c_str());
        return ExitFailed;
    }
    WritePackageList(Paths);
    return ExitOk;
}

} // namespace

const char PackagesUsage[] = "qell-designer packages list\n"
                             "       qell-designer packages add PATH\n"
                             "       qell-designer packages remove PATH|NAME\n";

int RunPackagesCommand(const TArgs& Args)
{
    if (Args.size() == 2 && IsHelp(Args[1])) {
        std::printf("usage: %s", PackagesUsage);
        return ExitOk;
    }
    try {
        if (Args.size() == 1 && Args[0] == "list") return List();
        if (Args.size() == 2 && Args[0] == "add") return Add(Args[1]);
        if (Args.size() == 2 && Args[0] == "remove") return Remove(Args[1]);
    } catch (const EInOutError& E) {
        std::fprintf(stderr, "qell-designer packages %s: %s\n", Args[0].c_str(), E.what());
        return ExitError;
    }
    std::fprintf(stderr, "usage: %s", PackagesUsage);
    return ExitError;
}
