#include "platform/rtl/Units.h"

#include <dlfcn.h>

#include <algorithm>
#include <exception>

#include "platform/rtl/SysUtils.h"

namespace {

std::vector<TLibModule*>& ModuleList()
{
    static std::vector<TLibModule*> List;
    return List;
}

// Finalises the first Count units in reverse, every one of them; answers the first
// error raised, or null.
std::exception_ptr FinalizeUnits(const TPackageInfoTable& Table, int32_t Count)
{
    std::exception_ptr First;
    while (Count-- > 0) {
        try {
            if (Table.UnitInfo[Count].FInit) Table.UnitInfo[Count].FInit();
        } catch (...) {
            if (!First) First = std::current_exception();
        }
    }
    return First;
}

} // namespace

void InitializePackage(const TPackageInfoTable& Table)
{
    int32_t Done = 0;
    try {
        for (; Done < Table.UnitCount; ++Done)
            if (Table.UnitInfo[Done].Init) Table.UnitInfo[Done].Init();
    } catch (...) {
        FinalizeUnits(Table, Done);
        throw;
    }
}

void FinalizePackage(const TPackageInfoTable& Table)
{
    if (const std::exception_ptr First = FinalizeUnits(Table, Table.UnitCount)) std::rethrow_exception(First);
}

TLibraryUnits::TLibraryUnits(std::initializer_list<TPackageUnitEntry> Units) : FUnits(Units)
{
    InitializePackage({static_cast<int32_t>(FUnits.size()), FUnits.data()});
}

TLibraryUnits::~TLibraryUnits()
{
    FinalizePackage({static_cast<int32_t>(FUnits.size()), FUnits.data()});
}

void RegisterModule(TLibModule& Module)
{
    auto& List = ModuleList();
    if (std::find(List.begin(), List.end(), &Module) == List.end()) List.push_back(&Module);
}

void UnregisterModule(TLibModule& Module)
{
    std::erase(ModuleList(), &Module);
    if (Module.ResHandle) {
        dlclose(Module.ResHandle);
        Module.ResHandle = nullptr;
    }
}

const TLibModule* FindLibModule(TModuleHandle Instance)
{
    for (const TLibModule* M : ModuleList())
        if (M->Instance == Instance) return M;
    return nullptr;
}

bool IsPackagePresent(std::string_view PackageName)
{
    for (const TLibModule* M : ModuleList())
        if (SameText(M->PackageName, PackageName)) return true;
    return false;
}

TPlatformModule::TPlatformModule(TModuleHandle Instance, std::string PackageName)
{
    FModule.Instance = Instance;
    FModule.PackageName = std::move(PackageName);
    RegisterModule(FModule);
}

TPlatformModule::~TPlatformModule()
{
    UnregisterModule(FModule);
}
