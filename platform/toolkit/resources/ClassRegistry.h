#pragma once
// The classes that form resources may name. Each registration records the module that
// made it, and a module about to be unloaded loses its registrations, so the registry
// never hands out a class of a library that is gone. Used from the GUI thread only, as
// the rest of the toolkit is.

#include <string_view>
#include <vector>

#include "platform/rtl/Modules.h"
#include "platform/rtl/TypInfo.h"
#include "platform/toolkit/Export.h"

// Registers Class under its name for Module (by default the caller's). A later
// registration of the same name, without case, hides an earlier one until its module
// goes; registering the same class again from the same module changes nothing.
QELL_TOOLKIT_API void RegisterClass(const TClassInfo& Class, TModuleHandle Module = HInstance());
// The class registered under Name, without case; nullptr when none.
QELL_TOOLKIT_API const TClassInfo* FindClass(std::string_view Name);
// Every class registered now (the one a name finds, where several share it), in the
// order registered.
QELL_TOOLKIT_API std::vector<const TClassInfo*> RegisteredClasses();
// Forgets every class Module registered. Runs by itself when the package loader
// unloads a module.
QELL_TOOLKIT_API void UnregisterModuleClasses(TModuleHandle Module);
// The toolkit's own controls, for the toolkit's module; its unit StdCtrls does this when
// the library loads. Registering again changes nothing.
QELL_TOOLKIT_API void RegisterToolkitClasses();
