#include "platform/rtl/PackageLoader.h"

#include <dlfcn.h>

#include <memory>

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

// The package-info record, read from the file as bytes.
TPackageInfo ReadPackageInfo(const std::string& Path)
{
    try {
        const TMappedFile Mapped(Path);
        const TElfFile File(Mapped.Bytes());
        const std::vector<TResource> Resources = ReadPackageResources(File);
        const TResource* Info = FindResource(Resources, "PACKAGEINFO");
        if (!Info) Fail(Path, "it has no PACKAGEINFO resource, so it is not a package");
        return DecodePackageInfo(Info->Data);
    } catch (const EPackageError&) {
        throw;
    } catch (const Exception& E) {
        Fail(Path, E.Message());
    }
}

// Unloads the library on every way out unless released.
struct TLibraryGuard {
    void* Library;
    ~TLibraryGuard()
    {
        if (Library) dlclose(Library);
    }
};

} // namespace

TPackageHandle LoadPackage(const std::string& Path)
{
    auto Package = std::make_unique<TLoadedPackage>();
    Package->Path = Path;
    Package->Info = ReadPackageInfo(Path);
    for (const std::string& Required : Package->Info.Requires)
        if (!IsPackagePresent(Required))
            Fail(Path, "it requires " + Required + ", which is not present in this process");

    dlerror();
    TLibraryGuard Guard{dlopen(Path.c_str(), RTLD_NOW | RTLD_LOCAL)};
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
    try {
        Initialize();
    } catch (const std::exception& E) {
        // The unit table has finalised what it had initialised; what the units
        // registered goes with the module.
        NotifyModuleUnload(Package->Instance);
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
    NotifyModuleUnload(Package->Instance);
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
