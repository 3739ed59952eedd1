#pragma once
// The package loader: a host loads a package library at run time, and unloads it, the
// way the runtime's packages are put together (Units.h).
//
// Loading reads the package's package-info resource from the file without running any
// of its code, checks that every package it requires is present in the process (each
// platform library's record names the package it stands for), tries the package in a
// process of its own, loads the library (whose entry point registers its module
// record), and calls its Initialize export, which runs its unit table. Unloading calls
// Finalize, tells every registry that the module goes (so that no class or property
// editor of it stays registered), and unloads the library. Every call into the package
// runs under CallPackageCode: nothing it throws reaches the host.

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

// Loads the package library at Path and initialises it. The file is opened once, must
// be a regular one, and is copied into sealed memory (PackageImage.h); that copy is
// what is checked, tried and loaded, so a file renamed over or rewritten meanwhile
// changes nothing of it. Everything the system loader relies on is checked first
// (CheckElfLoadable), so that a damaged file is refused rather than crash the process;
// then, once per version of the file, the package's whole life is tried in a fresh
// process (the trial: RunPackageTrial below), and only a package that came through it
// is loaded here; the trial ends at PackageTrialSeconds(), and its process group with it.
// Raises EPackageError "cannot load package PATH: REASON", one line (a missing,
// unreadable or not regular file, a file that is not a package, one that the checks or
// its trial refuse, a required package that is not present, a missing export, an
// initialisation that raised); the process is then as it was before the call: nothing
// stays loaded or registered, and the package's units are as they were.
// The same file loaded again is the same module: its units are initialised once
// (they are counted) and its registrations stay until the last of its loads goes.
// Used from one thread at a time (the GUI thread), as the registries are.
QELL_RTL_API TPackageHandle LoadPackage(const std::string& Path);
// Finalises the package and unloads it; when this was the last load of its module,
// every registry forgets the module. The handle is gone afterwards, and the library
// is unloaded even when its finalisation raises: answers what it raised, copied
// ("its finalisation raised …", one line), or empty.
[[nodiscard]] QELL_RTL_API std::string UnloadPackage(TPackageHandle Package);
// Calls the Register procedures of the package's contained units (GetPackageRegisterProcs)
// in turn, each under CallPackageCode, as a host does after loading it. Answers what the
// first that failed raised ("its IWQellRegDE.Register raised …"), or empty; none after
// it is called.
[[nodiscard]] QELL_RTL_API std::string RegisterPackage(TPackageHandle Package);

// Calls Proc, code of a package, and catches whatever it throws: answers what it raised
// as one line copied out of the exception ("raised std::runtime_error 'text'", the class
// name demangled, the message as QuotedInput shows it; "raised an exception of type int"
// for a value that is no std::exception), or empty when it returned. The copy outlives
// the package's library, which the exception object needs; nothing a package throws
// reaches the caller.
[[nodiscard]] QELL_RTL_API std::string CallPackageCode(void (*Proc)());

// The trial's limit, in seconds: QELL_PACKAGE_TRIAL_SECONDS when it holds a whole number
// from 1 to 3600, else DefaultPackageTrialSeconds.
constexpr int DefaultPackageTrialSeconds = 10;
QELL_RTL_API int PackageTrialSeconds();
// The trial program's own side: the package's whole life twice over (load, Initialize,
// Register, Finalize, unload) for the image open as ImageFd, each step announced on
// ReportFd before it starts ("step load 1"), and "passed" once all went well and the
// package started no process of its own; "failed REASON" and exit status 1 otherwise.
// Ends the process. Called by the trial program, qell-package-trial, which the loader
// starts beside the runtime library's file.
[[noreturn]] QELL_RTL_API void RunPackageTrial(int ImageFd, int ReportFd);

// How many loads of Module's package are current (0 when none).
QELL_RTL_API int ModuleLoadCount(TModuleHandle Module);

// The package's module (its load address) and its package-info record.
QELL_RTL_API TModuleHandle PackageInstance(TPackageHandle Package);
QELL_RTL_API const TPackageInfo& PackageInfoOf(TPackageHandle Package);
// A symbol the package exports, or nullptr.
QELL_RTL_API void* GetPackageSymbol(TPackageHandle Package, const std::string& Name);
// What the process's memory maps call the package's mappings: the sealed copy it was
// loaded from ("/memfd:IW14QellDEDXE7.bpl (deleted)").
QELL_RTL_API std::string PackageMappingName(TPackageHandle Package);
// The Register procedures of the package's contained units ("Unit.Register"), in the
// order of its package-info record; a host calls them after loading.
QELL_RTL_API std::vector<void (*)()> GetPackageRegisterProcs(TPackageHandle Package);
