#include "apps/designer/packages/PackageHost.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <utility>

std::string DefaultPackagePath()
{
    char Self[PATH_MAX];
    const ssize_t N = readlink("/proc/self/exe", Self, sizeof Self - 1);
    std::string Dir = N > 0 ? std::string(Self, static_cast<size_t>(N)) : std::string(".");
    Dir = Dir.substr(0, Dir.rfind('/') == std::string::npos ? 0 : Dir.rfind('/'));
    return std::filesystem::path(Dir + "/../lib/qell/IW14QellDEDXE7.bpl").lexically_normal().string();
}

TPackageHost::TPackageHost(const std::string& Path) : FPath(Path), FHandle(LoadPackage(Path))
{
    // A second load of the same file finds the first one's registrations in place.
    if (ModuleLoadCount(PackageInstance(FHandle)) > 1) return;
    const std::string Why = RegisterPackage(FHandle);
    if (Why.empty()) return;
    // What it registered goes with it, and its exception was copied before.
    const std::string Unloaded = UnloadPackage(std::exchange(FHandle, nullptr));
    throw EPackageError("cannot load package " + Path + ": " + Why + (Unloaded.empty() ? "" : "; " + Unloaded));
}

TPackageHost::~TPackageHost()
{
    if (const std::string Why = Unload(); !Why.empty()) std::fprintf(stderr, "qell-designer: %s\n", Why.c_str());
}

std::string TPackageHost::Unload()
{
    if (!FHandle) return "";
    const std::string Why = UnloadPackage(std::exchange(FHandle, nullptr));
    return Why.empty() ? "" : "package " + FPath + ": " + Why + "; it is unloaded all the same";
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
