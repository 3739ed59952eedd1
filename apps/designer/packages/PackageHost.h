#pragma once
// The designer's package: loaded and registered when the designer starts, finalised and
// unloaded when it ends, as a host does with a design-time package. The designer
// reaches the colour dialog and editor only through it.

#include <string>

#include "platform/rtl/PackageLoader.h"
#include "platform/rtl/TypInfo.h"

// The package that ships with the program, found beside it as in the build folder and
// in an installed tree: ../lib/qell/IW14QellDEDXE7.bpl.
std::string DefaultPackagePath();

class TPackageHost {
public:
    // Loads the package at Path and calls its units' Register procedures (on the first
    // of the loads of its file that are current: the others share them). Raises
    // EPackageError "cannot load package PATH: REASON", one line, with nothing left
    // loaded or registered: the loader's, or what a Register procedure raised.
    explicit TPackageHost(const std::string& Path);
    // Unloads it, unless Unload() did; a failing finalisation is reported on standard
    // error in one line, and the package is unloaded all the same.
    ~TPackageHost();
    TPackageHost(const TPackageHost&) = delete;
    TPackageHost& operator=(const TPackageHost&) = delete;

    // Finalises and unloads the package now: answers what its finalisation raised, as
    // one line naming the package, or empty. Once only; the host holds nothing after.
    std::string Unload();

    TPackageHandle Handle() const { return FHandle; }
    // A class the package exports under a unit-qualified name
    // ("IWKAVMOBILEDsnColorDialog.TIWKAVMOBILEColorForm"); EPackageError when it does not.
    const TClassInfo& ExportedClass(const std::string& Name) const;
    // A data symbol the package exports; EPackageError when it does not.
    template <typename T>
    T& ExportedVariable(const std::string& Name) const
    {
        return *static_cast<T*>(Symbol(Name));
    }

private:
    void* Symbol(const std::string& Name) const;
    std::string FPath;
    TPackageHandle FHandle;
};
