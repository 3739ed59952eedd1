#include "platform/rtl/PackageLoader.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>

#include "platform/rtl/ElfLoadCheck.h"
#include "platform/rtl/PackageFile.h"
#include "platform/rtl/PackageResources.h"
#include "platform/rtl/Units.h"

struct TLoadedPackage {
    std::string Path;
    void* Library = nullptr;
    TModuleHandle Instance = nullptr;
    TPackageInfo Info;
    void (*Finalize)() = nullptr;
};

namespace {

[[noreturn]] void Fail(const std::string& Path, const std::string& Why)
{
    throw EPackageError("cannot load package " + Path + ": " + Why);
}

// How many loads of each module are current: the same file loaded twice is one module,
// whose registrations go with the last unload.
std::map<TModuleHandle, int>& LoadCounts()
{
    static std::map<TModuleHandle, int> Counts;
    return Counts;
}

// What the checks of the file found: its package-info record, and the full name of the
// file checked, which is the one to load.
struct TCheckedFile {
    TPackageInfo Info;
    std::string FullName;
    struct stat Status;
};

// Reads the package-info record from the file as bytes, and checks all that the system
// loader relies on, without running any of its code.
TCheckedFile CheckFile(const std::string& Path)
{
    try {
        const TMappedFile Mapped(Path);
        const TElfFile File(Mapped.Bytes());
        CheckElfLoadable(Mapped.Bytes());
        const std::vector<TResource> Resources = ReadPackageResources(File);
        const TResource* Info = FindResource(Resources, "PACKAGEINFO");
        if (!Info) Fail(Path, "it has no PACKAGEINFO resource, so it is not a package");
        char* Real = realpath(Path.c_str(), nullptr);
        if (!Real) Fail(Path, std::strerror(errno));
        const std::string FullName = Real;
        std::free(Real);
        return {DecodePackageInfo(Info->Data), FullName, Mapped.Status()};
    } catch (const EPackageError&) {
        throw;
    } catch (const Exception& E) {
        Fail(Path, E.Message());
    }
}

bool SameFile(const struct stat& A, const struct stat& B)
{
    return A.st_dev == B.st_dev && A.st_ino == B.st_ino && A.st_size == B.st_size &&
           A.st_mtim.tv_sec == B.st_mtim.tv_sec && A.st_mtim.tv_nsec == B.st_mtim.tv_nsec;
}

// What checks of the file cannot tell (its own init and fini code, a table that is
// well-formed yet wrong), a load tells: the first load of a file is tried in a child
// process, where a crash costs the child only. The verdict is kept by the file's
// identity, so a file is tried once per process and a changed one again. Answers why
// the file cannot be loaded, or nothing.
std::string TrialLoad(const std::string& FullName, const struct stat& Status)
{
    using TIdentity = std::tuple<dev_t, ino_t, off_t, time_t, long>;
    static std::map<TIdentity, std::string> Verdicts;
    const TIdentity Identity{Status.st_dev, Status.st_ino, Status.st_size, Status.st_mtim.tv_sec,
                             Status.st_mtim.tv_nsec};
    if (const auto It = Verdicts.find(Identity); It != Verdicts.end()) return It->second;

    std::fflush(nullptr); // nothing buffered is written twice
    const pid_t Child = fork();
    if (Child < 0) return std::string("it cannot be tried in a separate process: ") + std::strerror(errno);
    if (Child == 0) {
        // The loader's own complaints are the parent's to report, from the real load.
        const int Null = open("/dev/null", O_WRONLY);
        if (Null >= 0) dup2(Null, STDERR_FILENO);
        if (void* Library = dlopen(FullName.c_str(), RTLD_NOW | RTLD_LOCAL)) dlclose(Library);
        _exit(0);
    }
    constexpr int TimeoutMs = 30000;
    int Result = 0;
    std::string Verdict;
    for (int Waited = 0;; ++Waited) {
        const pid_t Done = waitpid(Child, &Result, Waited < TimeoutMs ? WNOHANG : 0);
        if (Done == Child) break;
        if (Done < 0 && errno != EINTR) return std::string("its trial load was lost: ") + std::strerror(errno);
        if (Waited == TimeoutMs) kill(Child, SIGKILL);
        usleep(1000);
    }
    if (WIFSIGNALED(Result))
        Verdict = "the system loader crashed on it in a trial load (signal " + std::to_string(WTERMSIG(Result)) + ", " +
                  strsignal(WTERMSIG(Result)) + ")";
    else if (WEXITSTATUS(Result) != 0)
        Verdict = "the system loader ended a trial load with status " + std::to_string(WEXITSTATUS(Result));
    Verdicts[Identity] = Verdict;
    return Verdict;
}

// Unloads the library on every way out unless released.
struct TLibraryGuard {
    void* Library;
    ~TLibraryGuard()
    {
        if (Library) dlclose(Library);
    }
};

// Takes back one load of Module: true when it was the last.
bool ReleaseLoad(TModuleHandle Module)
{
    const auto It = LoadCounts().find(Module);
    if (--It->second > 0) return false;
    LoadCounts().erase(It);
    return true;
}

} // namespace

TPackageHandle LoadPackage(const std::string& Path)
{
    auto Package = std::make_unique<TLoadedPackage>();
    Package->Path = Path;
    const TCheckedFile Checked = CheckFile(Path);
    Package->Info = Checked.Info;
    for (const std::string& Required : Package->Info.Requires)
        if (!IsPackagePresent(Required))
            Fail(Path, "it requires " + Required + ", which is not present in this process");

    // By its full name, so that the loader takes this very file rather than one of the
    // same name on its search path; and only if it is still the file checked.
    struct stat Now;
    if (stat(Checked.FullName.c_str(), &Now) != 0 || !SameFile(Now, Checked.Status))
        Fail(Path, "the file changed while it was being loaded");
    if (const std::string Why = TrialLoad(Checked.FullName, Checked.Status); !Why.empty()) Fail(Path, Why);
    dlerror();
    TLibraryGuard Guard{dlopen(Checked.FullName.c_str(), RTLD_NOW | RTLD_LOCAL)};
    if (!Guard.Library) {
        const char* Why = dlerror();
        Fail(Path, Why ? Why : "the library cannot be loaded");
    }
    auto Export = [&](const char* Name) {
        void* Symbol = dlsym(Guard.Library, Name);
        if (!Symbol) Fail(Path, std::string("it does not export ") + Name);
        return Symbol;
    };
    auto* Initialize = reinterpret_cast<void (*)()>(Export("Initialize"));
    Package->Finalize = reinterpret_cast<void (*)()>(Export("Finalize"));
    Package->Instance = FindModuleOf(reinterpret_cast<const void*>(Initialize));
    if (!FindLibModule(Package->Instance)) Fail(Path, "it registered no module record when it was loaded");
    ++LoadCounts()[Package->Instance];
    try {
        Initialize();
    } catch (const std::exception& E) {
        // The unit table has finalised what it had initialised; what the units
        // registered goes with the module, unless another load still holds it.
        if (ReleaseLoad(Package->Instance)) NotifyModuleUnload(Package->Instance);
        Fail(Path, std::string("its initialisation failed: ") + E.what());
    }
    Package->Library = Guard.Library;
    Guard.Library = nullptr;
    return Package.release();
}

void UnloadPackage(TPackageHandle Package)
{
    const std::unique_ptr<TLoadedPackage> Owned(Package);
    TLibraryGuard Guard{Package->Library};
    Package->Finalize();
    if (ReleaseLoad(Package->Instance)) NotifyModuleUnload(Package->Instance);
}

int ModuleLoadCount(TModuleHandle Module)
{
    const auto It = LoadCounts().find(Module);
    return It == LoadCounts().end() ? 0 : It->second;
}

TModuleHandle PackageInstance(TPackageHandle Package)
{
    return Package->Instance;
}

const TPackageInfo& PackageInfoOf(TPackageHandle Package)
{
    return Package->Info;
}

void* GetPackageSymbol(TPackageHandle Package, const std::string& Name)
{
    return dlsym(Package->Library, Name.c_str());
}

std::vector<void (*)()> GetPackageRegisterProcs(TPackageHandle Package)
{
    std::vector<void (*)()> Procs;
    for (const TPackageUnit& Unit : Package->Info.Contains)
        if (void* Proc = GetPackageSymbol(Package, Unit.Name + ".Register"))
            Procs.push_back(reinterpret_cast<void (*)()>(Proc));
    return Procs;
}
