#pragma once
// Units and module records, the way packages are put together.
//
// A unit is a part of a library with an initialisation and a finalisation procedure,
// both counted (TUnitCounter): a unit reached from several unit tables does its work
// once and undoes it on the finalisation that balances the first. Each library runs its
// own units' initialisations when it loads and their finalisations when it unloads; a
// package's unit table lists every unit it uses, its own and those of the libraries it
// requires, in dependency order, and the package loader runs the table.
//
// A module record tells the runtime of a loaded library: where it is, where its
// resources are, and which package it stands for. The module list, like every registry
// of the platform, is used from the GUI thread only: packages are loaded, registered
// and unloaded there.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Export.h"
#include "platform/rtl/Modules.h"

// One unit's pair of procedures; either may be null.
struct TPackageUnitEntry {
    void (*Init)();
    void (*FInit)();
};

// What a package's GetPackageInfoTable answers: its unit table.
struct TPackageInfoTable {
    int32_t UnitCount;
    const TPackageUnitEntry* UnitInfo;
};

// Runs the initialisations in table order. When one raises, the units already
// initialised are finalised, in reverse, and the error reaches the caller.
QELL_RTL_API void InitializePackage(const TPackageInfoTable& Table);
// Runs the finalisations in reverse table order.
QELL_RTL_API void FinalizePackage(const TPackageInfoTable& Table);

// Declares a unit's counted procedures, exported as "Unit.Initialization" and
// "Unit.Finalization" so that other libraries' unit tables can call them; in C++ they
// are Unit_Initialization and Unit_Finalization.
#define QELL_DECLARE_UNIT(Api, Unit)                                                             \
    extern "C" Api void Unit##_Initialization() __asm__(#Unit ".Initialization");                \
    extern "C" Api void Unit##_Finalization() __asm__(#Unit ".Finalization")

// Defines them: Work runs on the first initialisation, Undo on the balancing
// finalisation (either may be an empty lambda).
#define QELL_DEFINE_UNIT(Unit, Work, Undo)                                                       \
    namespace {                                                                                  \
    TUnitCounter Unit##_Counter;                                                                 \
    }                                                                                            \
    void Unit##_Initialization()                                                                 \
    {                                                                                            \
        if (Unit##_Counter.Initialize()) (Work)();                                               \
    }                                                                                            \
    void Unit##_Finalization()                                                                   \
    {                                                                                            \
        if (Unit##_Counter.Finalize()) (Undo)();                                                 \
    }

// A library's own units: initialised when the object is made (at load, as a static
// object of the library) and finalised, in reverse, when it goes (at unload).
class QELL_RTL_API TLibraryUnits {
public:
    explicit TLibraryUnits(std::initializer_list<TPackageUnitEntry> Units);
    ~TLibraryUnits();
    TLibraryUnits(const TLibraryUnits&) = delete;
    TLibraryUnits& operator=(const TLibraryUnits&) = delete;

private:
    std::vector<TPackageUnitEntry> FUnits;
};

// A loaded module as the runtime knows it.
struct TLibModule {
    TModuleHandle Instance = nullptr;
    // Where the module's resources are: the module's own section, or a separate
    // resource library (ResHandle, its dlopen handle), which unregistering frees.
    std::span<const uint8_t> Resources;
    void* ResHandle = nullptr;
    // The package it stands for ("vcl210.bpl"), or empty.
    std::string PackageName;
};

// Adds Module to the runtime's list (the record must outlive its registration).
QELL_RTL_API void RegisterModule(TLibModule& Module);
// Takes it off the list and frees its separate resource library, if any.
QELL_RTL_API void UnregisterModule(TLibModule& Module);
// The record of the module loaded at Instance, or nullptr.
QELL_RTL_API const TLibModule* FindLibModule(TModuleHandle Instance);
// Whether a registered module stands for the package (name compared without case).
QELL_RTL_API bool IsPackagePresent(std::string_view PackageName);

// A platform library's record: registered when the library loads, naming the package
// it stands for, with no resources.
class QELL_RTL_API TPlatformModule {
public:
    TPlatformModule(TModuleHandle Instance, std::string PackageName);
    ~TPlatformModule();
    TPlatformModule(const TPlatformModule&) = delete;
    TPlatformModule& operator=(const TPlatformModule&) = delete;

private:
    TLibModule FModule;
};
