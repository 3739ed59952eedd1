#include "apps/designer/packages/PackageHost.h"

#include <unistd.h>

#include <climits>
#include <filesystem>

std::string DefaultPackagePath()
{
    char Self[PATH_MAX];
    const ssize_t N = readlink("/proc/self/exe", Self, sizeof Self - 1);
    std::string Dir = N > 0 ? std::string(Self, static_cast<size_t>(N)) : std::string(".");
    Dir = Dir.substr(0, Dir.rfind('/') == std::string::npos ? 0 : Dir.rfind('/'));
    return std::filesystem::path(Dir + "/../lib/qell/IW14QellDEDXE7.bpl").lexically_normal().string();
}

TPackageHost::TPackageHost(const std::string& Path) : FHandle(LoadPackage(Path))
{
    // A second load of the same file finds the first one's registrations in place.
    if (ModuleLoadCount(PackageInstance(FHandle)) > 1) return;
    try {
        for (void (*Register)() : GetPackageRegisterProcs(FHandle)) Register();
    } catch (...) {
        UnloadPackage(FHandle);
        throw;
    }
}

TPackageHost::~TPackageHost()
{
    UnloadPackage(FHandle);
}

void* TPackageHost::Symbol(const std::string& Name) const
{
    void* S = GetPackageSymbol(FHandle, Name);
    if (!S) throw EPackageError("the package does not export " + Name);
    return S;
}

const TClassInfo& TPackageHost::ExportedClass(const std::string& Name) const
{
    return reinterpret_cast<const TClassInfo& (*)()>(Symbol(Name))();
}
