#pragma once
// Modules: the program and each shared library loaded into it. Registries that keep
// what a module gave them (classes, property editors) record the module with each
// entry and forget all of a module's entries when it is about to be unloaded, so that
// nothing keeps a pointer into a library that is gone. The unload procedures, like the
// registries, are used from the GUI thread only.

#include <functional>

#include "platform/rtl/Export.h"

// A module is known by the address at which it is loaded; nullptr for none.
using TModuleHandle = const void*;

// The module that contains Address (code or data), or nullptr when none does.
QELL_RTL_API TModuleHandle FindModuleOf(const void* Address);

// The module this is compiled into. Internal to every translation unit, so that each
// module finds itself: use it as a default argument and the caller's module is meant.
static inline TModuleHandle HInstance()
{
    return FindModuleOf(reinterpret_cast<const void*>(&HInstance));
}

// Called with a module that is about to be unloaded.
using TModuleUnloadProc = std::function<void(TModuleHandle Module)>;
using TModuleUnloadProcId = int;

// Registers Proc to be told of every module unload; answers an id to remove it with.
QELL_RTL_API TModuleUnloadProcId AddModuleUnloadProc(TModuleUnloadProc Proc);
QELL_RTL_API void RemoveModuleUnloadProc(TModuleUnloadProcId Id);
// Tells every registered proc, most recently registered first, that Module goes. The
// package loader calls it before unloading a library; tests call it to simulate that.
QELL_RTL_API void NotifyModuleUnload(TModuleHandle Module);

// A unit's initialisation count: a unit reached from several packages' unit tables does
// its work once, on the first initialisation, and undoes it on the finalisation that
// balances that one.
class TUnitCounter {
public:
    // Counts one initialisation; true when the unit's work must run now.
    bool Initialize() { return FCount-- == 0; }
    // Counts one finalisation; true when the unit's work must be undone now.
    bool Finalize() { return ++FCount == 0; }
    int Count() const { return FCount; }

private:
    int FCount = 0;
};
