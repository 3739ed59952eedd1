#include "platform/rtl/Modules.h"

#include <dlfcn.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

struct TUnloadProcs {
    std::vector<std::pair<TModuleUnloadProcId, TModuleUnloadProc>> Procs;
    TModuleUnloadProcId NextId = 1;
};

TUnloadProcs& UnloadProcs()
{
    static TUnloadProcs Instance;
    return Instance;
}

} // namespace

TModuleHandle FindModuleOf(const void* Address)
{
    Dl_info Info{};
    if (!Address || dladdr(Address, &Info) == 0) return nullptr;
    return Info.dli_fbase;
}

TModuleUnloadProcId AddModuleUnloadProc(TModuleUnloadProc Proc)
{
    TUnloadProcs& U = UnloadProcs();
    const TModuleUnloadProcId Id = U.NextId++;
    U.Procs.emplace_back(Id, std::move(Proc));
    return Id;
}

void RemoveModuleUnloadProc(TModuleUnloadProcId Id)
{
    std::erase_if(UnloadProcs().Procs, [Id](const auto& P) { return P.first == Id; });
}

void NotifyModuleUnload(TModuleHandle Module)
{
    // A copy: a proc may register or remove procs while it runs.
    const auto Procs = UnloadProcs().Procs;
    for (auto It = Procs.rbegin(); It != Procs.rend(); ++It) It->second(Module);
}
