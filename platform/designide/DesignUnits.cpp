// The design-time library stands for the host's package designide210.bpl.
// DesignEditors registers the host's own property editors, PropertyInspector the
// inspector's script verbs.

#include "platform/designide/DesignUnits.h"

#include "platform/designide/EditorRegistry.h"
#include "platform/designide/PropertyInspector.h"

QELL_DEFINE_UNIT(DesignIntf, [] {}, [] {})
QELL_DEFINE_UNIT(DesignEditors, RegisterHostPropertyEditors, [] { UnregisterModulePropertyEditors(HInstance()); })
QELL_DEFINE_UNIT(PropertyInspector, RegisterInspectorScriptVerbs, [] {})

namespace {

const TPlatformModule Module(HInstance(), "designide210.bpl");
const TLibraryUnits Units{{DesignIntf_Initialization, DesignIntf_Finalization},
                          {DesignEditors_Initialization, DesignEditors_Finalization},
                          {PropertyInspector_Initialization, PropertyInspector_Finalization}};

} // namespace
