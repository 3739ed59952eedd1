#include "platform/rtl/PackageLoader.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <memory>
#include <tuple>
#include <typeinfo>

#include "platform/rtl/ElfLoadCheck.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/PackageFile.h"
#include "platform/rtl/PackageImage.h"
#include "platform/rtl/PackageResources.h"
#include "platform/rtl/PackageTrial.h"
#include "platform/rtl/Units.h"

struct TLoadedPackage {
    std::shared_ptr<const TPackageImage> Image; // none in a trial, which has its own
    void* Library = nullptr;
    TModuleHandle Instance = nullptr;
    TPackageInfo Info;
    void (*Initialize)() = nullptr;
    void (*Finalize)() = nullptr;
};

namespace {

// Past this many versions of files judged, those no load uses are forgotten, so that
// their sealed copies do not pile up.
constexpr size_t MaxJudgements = 16;

// Why a package cannot be loaded, without its file's name, which LoadPackage adds.
[[noreturn]] void Refuse(const std::string& Why)
{
    throw EPackageError(Why);
}

// How many loads of each module are current: the same file loaded twice is one module,
// whose registrations go with the last unload.
std::map<TModuleHandle, int>& LoadCounts()
{
    static std::map<TModuleHandle, int> Counts;
    return Counts;
}

// What is known of one version of a file. Every write to a file moves its change time,
// which no user can set back, so a version is never taken for another.
using TVersion = std::tuple<off_t, time_t, long, time_t, long>;
struct TJudgement {
    TVersion Version;
    std::shared_ptr<const TPackageImage> Image; // none once refused
    TPackageInfo Info;
    std::string Refusal;
    bool Tried = false;
};

TVersion VersionOf(const struct stat& S)
{
    return {S.st_size, S.st_mtim.tv_sec, S.st_mtim.tv_nsec, S.st_ctim.tv_sec, S.st_ctim.tv_nsec};
}

std::map<std::pair<dev_t, ino_t>, TJudgement>& Judgements()
{
    static std::map<std::pair<dev_t, ino_t>, TJudgement> All;
    return All;
}

TPackageInfo ReadInfo(TBytes Bytes)
{
    const TElfFile File(Bytes);
    const std::vector<TResource> Resources = ReadPackageResources(File);
    const TResource* Info = FindResource(Resources, "PACKAGEINFO");
    if (!Info) throw EPackageFileError("it has no PACKAGEINFO resource, so it is not a package");
    return DecodePackageInfo(Info->Data);
}

// Opens Path once and judges the version of the file found there: its sealed copy
// checked as the system loader will read it, and its package-info record read. A
// version judged before is taken as it was.
TJudgement& Judge(const std::string& Path)
{
    struct stat Status;
    TFileHandle File;
    try {
        File = OpenRegularFileForReading(Path, Status);
    } catch (const EInOutError& E) {
        Refuse(E.Message());
    }
    if (static_cast<uint64_t>(Status.st_size) > MaxPackageFileSize)
        Refuse("larger than the limit of " + std::to_string(MaxPackageFileSize >> 20) + " MiB");
    auto& All = Judgements();
    const std::pair Key{Status.st_dev, Status.st_ino};
    if (const auto It = All.find(Key); It != All.end() && It->second.Version == VersionOf(Status)) return It->second;

    TJudgement J{VersionOf(Status), nullptr, {}, "", false};
    try {
        J.Image = std::make_shared<const TPackageImage>(File.Fd(), static_cast<uint64_t>(Status.st_size),
                                                        ExtractFileName(Path));
    } catch (const EPackageFileError& E) {
        Refuse(E.Message());
    }
    struct stat After;
    if (fstat(File.Fd(), &After) != 0 || VersionOf(After) != J.Version)
        Refuse("the file changed while it was being read");
    try {
        const TMappedFile Copy(J.Image->LoaderName());
        CheckElfLoadable(Copy.Bytes());
        J.Info = ReadInfo(Copy.Bytes());
    } catch (const Exception& E) {
        J.Refusal = E.Message();
        J.Image.reset();
    }
    if (All.size() >= MaxJudgements)
        std::erase_if(All, [](const auto& E) { return !E.second.Image || E.second.Image.use_count() == 1; });
    return All[Key] = std::move(J);
}

// Unloads the library on every way out unless released.
struct TLibraryGuard {
    void* Library;
    ~TLibraryGuard()
    {
        if (Library) dlclose(Library);
    }
};

// Loads the library that LoaderName names and finds what a host calls; refuses with
// nothing loaded.
std::unique_ptr<TLoadedPackage> OpenLibrary(const std::string& LoaderName, const TPackageInfo& Info)
{
    auto P = std::make_unique<TLoadedPackage>();
    P->Info = Info;
    dlerror();
    TLibraryGuard Guard{dlopen(LoaderName.c_str(), RTLD_NOW | RTLD_LOCAL)};
    if (!Guard.Library) {
        const char* Error = dlerror();
        std::string Why = Error ? Error : "";
        if (Why.starts_with(LoaderName + ": ")) Why.erase(0, LoaderName.size() + 2);
        Refuse("the system loader refused it: " + QuotedInput(Why, 200));
    }
    const auto Export = [&](const char* Name) {
        void* Symbol = dlsym(Guard.Library, Name);
        if (!Symbol) Refuse(std::string("it does not export ") + Name);
        return reinterpret_cast<void (*)()>(Symbol);
    };
    P->Initialize = Export("Initialize");
    P->Finalize = Export("Finalize");
    // Its own, not a function of a library it links to, whose module it would then
    // stand for, and take away with it when unloaded.
    Dl_info Where{};
    if (dladdr(reinterpret_cast<const void*>(P->Initialize), &Where) == 0 || !Where.dli_fname ||
        Where.dli_fname != LoaderName)
        Refuse("its Initialize export is not its own");
    P->Instance = Where.dli_fbase;
    if (!FindLibModule(P->Instance)) Refuse("it registered no module record when it was loaded");
    P->Library = Guard.Library;
    Guard.Library = nullptr;
    return P;
}

// Takes back one load of Module: true when it was the last.
bool ReleaseLoad(TModuleHandle Module)
{
    const auto It = LoadCounts().find(Module);
    if (--It->second > 0) return false;
    LoadCounts().erase(It);
    return true;
}

// Counts the load and runs Initialize; when it raises, the load is taken back and the
// library unloaded before the refusal.
void InitializeLoaded(TLoadedPackage& P)
{
    ++LoadCounts()[P.Instance];
    const std::string Why = CallPackageCode(P.Initialize);
    if (Why.empty()) return;
    // The unit table has rolled back what it had initialised; what the units registered
    // goes with the module, unless another load still holds it.
    if (ReleaseLoad(P.Instance)) NotifyModuleUnload(P.Instance);
    dlclose(P.Library);
    Refuse("its initialisation " + Why);
}

// Runs Finalize and takes back the load: on the last, every registry forgets the
// module. Answers what Finalize raised, or empty.
std::string FinalizeLoaded(TLoadedPackage& P)
{
    const std::string Why = CallPackageCode(P.Finalize);
    if (ReleaseLoad(P.Instance)) NotifyModuleUnload(P.Instance);
    return Why.empty() ? "" : "its finalisation " + Why;
}

// The contained units' Register procedures with their names, in package-info order.
std::vector<std::pair<std::string, void (*)()>> RegisterProcs(TPackageHandle Package)
{
    std::vector<std::pair<std::string, void (*)()>> Procs;
    for (const TPackageUnit& Unit : Package->Info.Contains)
        if (void* Proc = GetPackageSymbol(Package, Unit.Name + ".Register"))
            Procs.emplace_back(Unit.Name + ".Register", reinterpret_cast<void (*)()>(Proc));
    return Procs;
}

// A type's name as written in C++; one that is not printable is quoted.
std::string TypeName(const std::type_info& Type)
{
    int Status = 0;
    char* Demangled = abi::__cxa_demangle(Type.name(), nullptr, nullptr, &Status);
    std::string Name = Demangled ? Demangled : Type.name();
    std::free(Demangled);
    return IsPrintableAscii(Name) ? Name : QuotedInput(Name);
}

} // namespace

std::string CallPackageCode(void (*Proc)())
{
    try {
        Proc();
        return "";
    } catch (abi::__forced_unwind&) {
        throw; // a thread being cancelled must unwind
    } catch (const std::exception& E) {
        return "raised " + TypeName(typeid(E)) + " " + QuotedInput(E.what(), 200);
    } catch (...) {
        const std::type_info* Type = abi::__cxa_current_exception_type();
        return "raised an exception of type " + (Type ? TypeName(*Type) : std::string("unknown"));
    }
}

TPackageHandle LoadPackage(const std::string& Path)
{
    try {
        TJudgement& J = Judge(Path);
        if (!J.Refusal.empty()) Refuse(J.Refusal);
        for (const std::string& Required : J.Info.Requires)
            if (!IsPackagePresent(Required)) Refuse("it requires " + Required + ", which is not present in this process");
        if (!J.Tried) {
            const TTrialVerdict Verdict = TryPackage(*J.Image);
            if (!Verdict.Tried) Refuse(Verdict.Refusal);
            J.Tried = true;
            J.Refusal = Verdict.Refusal;
            if (!J.Refusal.empty()) {
                J.Image.reset();
                Refuse(J.Refusal);
            }
        }
        std::unique_ptr<TLoadedPackage> Package = OpenLibrary(J.Image->LoaderName(), J.Info);
        Package->Image = J.Image;
        InitializeLoaded(*Package);
        return Package.release();
    } catch (const EPackageError& E) {
        throw EPackageError("cannot load package " + Path + ": " + E.Message());
    }
}

std::string UnloadPackage(TPackageHandle Package)
{
    const std::unique_ptr<TLoadedPackage> Owned(Package);
    const std::string Why = FinalizeLoaded(*Package);
    dlclose(Package->Library);
    return Why;
}

std::string RegisterPackage(TPackageHandle Package)
{
    for (const auto& [Name, Proc] : RegisterProcs(Package))
        if (const std::string Why = CallPackageCode(Proc); !Why.empty()) return "its " + Name + " " + Why;
    return "";
}

void RunPackageTrial(int ImageFd, int ReportFd)
{
    const auto Report = [ReportFd](std::string Line) {
        for (char& C : Line)
            if (C == '\n' || C == '\r') C = ' ';
        Line += '\n';
        for (size_t Done = 0; Done < Line.size();) {
            const ssize_t N = write(ReportFd, Line.data() + Done, Line.size() - Done);
            if (N <= 0) _exit(1);
            Done += static_cast<size_t>(N);
        }
    };
    const auto Fail = [&](const std::string& Why) {
        Report("failed " + Why);
        _exit(1);
    };
    const std::string Name = "/proc/self/fd/" + std::to_string(ImageFd);
    try {
        const TPackageInfo Info = ReadInfo(TMappedFile(Name).Bytes());
        for (int Load = 1; Load <= 2; ++Load) {
            const auto Step = [&](TTrialStep S) {
                Report(std::string("step ") + TrialStepName(S) + " " + std::to_string(Load));
            };
            Step(TTrialStep::Load);
            const std::unique_ptr<TLoadedPackage> P = OpenLibrary(Name, Info);
            Step(TTrialStep::Initialize);
            InitializeLoaded(*P);
            Step(TTrialStep::Register);
            if (const std::string Why = RegisterPackage(P.get()); !Why.empty()) Fail(Why);
            Step(TTrialStep::Finalize);
            if (const std::string Why = FinalizeLoaded(*P); !Why.empty()) Fail(Why);
            Step(TTrialStep::Unload);
            dlclose(P->Library);
        }
    } catch (const Exception& E) {
        Fail(E.Message());
    }
    Report(std::string("step ") + TrialStepName(TTrialStep::Ended) + " 0");
    if (waitpid(-1, nullptr, WNOHANG) != -1) Fail("it started a process of its own");
    Report("passed");
    _exit(0);
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

std::string PackageMappingName(TPackageHandle Package)
{
    char Target[PATH_MAX];
    const ssize_t N = Package->Image ? readlink(Package->Image->LoaderName().c_str(), Target, sizeof Target) : -1;
    return N > 0 ? std::string(Target, static_cast<size_t>(N)) : "";
}

std::vector<void (*)()> GetPackageRegisterProcs(TPackageHandle Package)
{
    std::vector<void (*)()> Procs;
    for (const auto& Named : RegisterProcs(Package)) Procs.push_back(Named.second);
    return Procs;
}
