// The toolkit stands for the GUI toolkit's package vcl210.bpl. StdCtrls makes the
// toolkit's controls known to form resources, and the gestures of those that have their
// own to event scripts (each control's verbs are in its own source).

#include "platform/toolkit/ToolkitUnits.h"

#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/resources/ClassRegistry.h"

QELL_DEFINE_UNIT(Controls, [] {}, [] {})
QELL_DEFINE_UNIT(Forms, [] {}, [] {})
QELL_DEFINE_UNIT(
    StdCtrls,
    [] {
        RegisterToolkitClasses();
        RegisterDrawGridScriptVerbs();
        RegisterPageControlScriptVerbs();
        RegisterPopupMenuScriptVerbs();
    },
    [] { UnregisterModuleClasses(HInstance()); })
QELL_DEFINE_UNIT(Dialogs, [] {}, [] {})
QELL_DEFINE_UNIT(FormResources, [] {}, [] {})

namespace {

const TPlatformModule Module(HInstance(), "vcl210.bpl");
const TLibraryUnits Units{{Controls_Initialization, Controls_Finalization},
                          {Forms_Initialization, Forms_Finalization},
                          {StdCtrls_Initialization, StdCtrls_Finalization},
                          {Dialogs_Initialization, Dialogs_Finalization},
                          {FormResources_Initialization, FormResources_Finalization}};

} // namespace
