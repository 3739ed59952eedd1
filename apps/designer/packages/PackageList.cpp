#include "apps/designer/packages/PackageList.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "apps/designer/packages/PackageHost.h"
#include "platform/designide/EditorRegistry.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/PackageFile.h"
#include "platform/rtl/PackageResources.h"

namespace {

// A list far longer than anyone keeps; a larger file is refused, not read.
constexpr size_t MaxListSize = 1u << 20;

const TPackageSet* CurrentSet = nullptr;

} // namespace

std::string PackageListPath()
{
    return UserConfigFolder() + "/qell-designer/packages";
}

std::vector<std::string> ReadPackageList()
{
    const std::string File = PackageListPath();
    struct stat Info;
    if (lstat(File.c_str(), &Info) != 0 && errno == ENOENT) return {DefaultPackagePath()};
    const std::string Text = ReadFileText(File, MaxListSize);
    std::vector<std::string> Paths;
    for (size_t Start = 0; Start < Text.size();) {
        size_t End = Text.find('\n', Start);
        if (End == std::string::npos) End = Text.size();
        if (End > Start) Paths.push_back(Text.substr(Start, End - Start));
        Start = End + 1;
    }
    return Paths;
}

void WritePackageList(const std::vector<std::string>& Paths)
{
    const std::string File = PackageListPath();
    std::string Text;
    for (const std::string& P : Paths) {
        if (P.empty() || P.find('\n') != std::string::npos)
            throw EInOutError("Cannot write " + QuotedFileName(File) + ": a path must be one line: " + QuotedFileName(P));
        Text += P + "\n";
    }
    try {
        MakeFolders(File.substr(0, File.rfind('/')));
    } catch (const EInOutError& E) {
        throw EInOutError("Cannot write " + QuotedFileName(File) + ": " + E.what());
    }
    WriteFileAtomically(File, Text);
}

TPackageSummary ReadPackageSummary(const std::string& Path)
{
    // Mapped, not read: a large file costs the pages its records are on.
    const TMappedFile Mapped(Path); // its errors name the file
    try {
        const TElfFile Elf(Mapped.Bytes());
        const std::vector<TResource> Resources = ReadPackageResources(Elf);
        const TResource* Info = FindResource(Resources, "PACKAGEINFO");
        if (!Info) throw EPackageFileError("no PACKAGEINFO resource, so not a package");
        TPackageSummary S;
        S.Name = DecodePackageInfo(Info->Data).Name;
        if (const TResource* R = FindResource(Resources, "DESCRIPTION")) S.Description = DecodeDescription(R->Data);
        if (const TResource* R = FindResource(Resources, VersionResourceName))
            S.Version = VersionText(DecodeVersionInfo(R->Data).FileVersion);
        if (const TResource* R = FindResource(Resources, "PACKAGEOPTIONS"))
            if (!(DecodePackageOptions(R->Data).Usage & PackageDesignTime))
                throw EPackageFileError("a run-time package only, not a design package");
        return S;
    } catch (const EPackageFileError& E) {
        throw EPackageFileError(QuotedFileName(Path) + ": " + E.what());
    }
}

std::string ListedPathFailure(const std::string& Path)
{
    if (Path.starts_with("/")) return "";
    return QuotedFileName(Path) + ": not an absolute path, so it is not looked for in whatever folder the designer "
                                  "starts in; add the package again to list it by its absolute path";
}

std::string CheckDesignPackage(const std::string& Path)
{
    try {
        ReadPackageSummary(Path);
        const size_t Before = PropertyEditorRegistrations().size();
        if (const std::string Why = TPackageHost(Path).Unload(); !Why.empty()) return Why;
        if (PropertyEditorRegistrations().size() != Before)
            return QuotedFileName(Path) + ": unloading it left property editors registered";
        return "";
    } catch (const Exception& E) {
        return E.what();
    }
}

TPackageSet::TPackageSet()
{
    CurrentSet = this;
}

TPackageSet::~TPackageSet()
{
    while (!FHosts.empty()) FHosts.pop_back();
    if (CurrentSet == this) CurrentSet = nullptr;
}

bool TPackageSet::Load(const std::string& Path)
{
    TPackageStatus Status{Path, "", "", ""};
    try {
        const TPackageSummary S = ReadPackageSummary(Path);
        Status.Name = S.Name;
        Status.Description = S.Description;
        FHosts.push_back(std::make_unique<TPackageHost>(Path));
    } catch (const Exception& E) {
        Status.Failure = E.what();
    }
    FStatuses.push_back(Status);
    return Status.Failure.empty();
}

bool TPackageSet::LoadListed(const std::string& Path)
{
    if (const std::string Why = ListedPathFailure(Path); !Why.empty()) {
        FStatuses.push_back({Path, "", "", Why});
        return false;
    }
    return Load(Path);
}

const std::vector<TPackageStatus>& LoadedPackages()
{
    static const std::vector<TPackageStatus> None;
    return CurrentSet ? CurrentSet->Statuses() : None;
}
