#include "package/IWQellRegDE.h"

#include "colour/IWColors.h"
#include "editor/IWKAVMOBILEDsnColor.h"
#include "platform/components/IWQellSpinner.h"
#include "platform/designide/EditorRegistry.h"

QELL_DEFINE_UNIT(IWQellRegDE, [] {}, [] {})

void IWQellRegDE_Register()
{
    for (const TClassInfo* ComponentClass :
         {&TQellButtonAppearance::StaticClassInfo(), &TQellOnOffButtonAppearance::StaticClassInfo(),
          &TQellTrackbarAppearance::StaticClassInfo(), &TQellListItemAppearance::StaticClassInfo(),
          &TQellIndicator::StaticClassInfo(), &TQellSpinnerSlot::StaticClassInfo(),
          &TQellSpinnerAppearance::StaticClassInfo(), &TQellPopupAppearance::StaticClassInfo()})
        RegisterPropertyEditor(&TypeInfoTIWColor, ComponentClass, "", TIWKAVMOBILEColorEditor::EditorClass());
}
