#pragma once
// The package loader: a host loads a package library at run time, and unloads it, the
// way the runtime's packages are put together (Units.h).
//
// Loading reads the package's package-info resource from the file without running any
// of its code, checks that every package it requires is present in the process (each
// platform library's record names the package it stands for), loads the library (whose
// entry point registers its module record), and calls its Initialize export, which runs
// its unit table. Unloading calls Finalize, tells every registry that the module goes
// (so that no class or property editor of it stays registered), and unloads the library.

#include <string>
#include <vector>

#include "platform/rtl/Export.h"
#include "platform/rtl/Modules.h"
#include "platform/rtl/PackageRecords.h"
#include "platform/rtl/SysUtils.h"

class QELL_RTL_API EPackageError : public Exception {
public:
    using Exception::Exception;
};

struct TLoadedPackage;
using TPackageHandle = TLoadedPackage*;

// Loads the package library at Path and initialises it. The file must be a regular one,
// and everything the system loader relies on is checked before it is handed over
// (CheckElfLoadable), so that a damaged file is refused rather than crash the process;
// the loader then gets the file checked, by its full name, never one of the same name
// on its search path. Raises EPackageError naming the file and what is wrong (a
// missing, unreadable or not regular file, a file that is not a package or that the
// loader could not load safely, a required package that is not present, a missing
// export, an initialisation that failed); the process is then as it was before the
// call: nothing stays loaded or registered.
// The same file loaded again is the same module: its units are initialised once
// (they are counted) and its registrations stay until the last of its loads goes.
QELL_RTL_API TPackageHandle LoadPackage(const std::string& Path);
// Finalises the package and unloads it; when this was the last load of its module,
// every registry forgets the module. The handle is gone afterwards.
QELL_RTL_API void UnloadPackage(TPackageHandle Package);
// How many loads of Module's package are current (0 when none).
QELL_RTL_API int ModuleLoadCount(TModuleHandle Module);

// The package's module (its load address) and its package-info record.
QELL_RTL_API TModuleHandle PackageInstance(TPackageHandle Package);
QELL_RTL_API const TPackageInfo& PackageInfoOf(TPackageHandle Package);
// A symbol the package exports, or nullptr.
QELL_RTL_API void* GetPackageSymbol(TPackageHandle Package, const std::string& Name);
// The Register procedures of the package's contained units ("Unit.Register"), in the
// order of its package-info record; a host calls them after loading.
QELL_RTL_API std::vector<void (*)()> GetPackageRegisterProcs(TPackageHandle Package);
