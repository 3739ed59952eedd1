#pragma once
// The runtime component package as a whole: what it registers and the page it brings.

#include <string_view>

#include "platform/components/Export.h"
#include "platform/rtl/Units.h"

// The package's units, for the unit tables of packages that use them.
QELL_DECLARE_UNIT(QELL_COMPONENTS_API, IWQellBase);
QELL_DECLARE_UNIT(QELL_COMPONENTS_API, IWQellSpinner);

// Registers the page and every component class of the package with the class registry,
// for this library's module, so that the registrations go when the library is unloaded.
// The unit IWQellBase runs it when the library loads; running it again changes nothing,
// or registers again what an unload took away.
QELL_COMPONENTS_API void RegisterComponentClasses();

// The text of the bundled sample page: a TQellPage, 640 x 480, with one of each
// component, in the form file format.
QELL_COMPONENTS_API std::string_view SamplePageText();
// The text of an empty page: a TQellPage named Page1 with its defaults and no
// components, as the writer writes it.
QELL_COMPONENTS_API std::string_view BlankPageText();
