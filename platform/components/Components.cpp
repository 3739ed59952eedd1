#include "platform/components/Components.h"

#include "platform/components/IWQellSpinner.h"
#include "platform/toolkit/resources/ClassRegistry.h"

extern const std::string_view SamplePageResource;

void RegisterComponentClasses()
{
    // The page is registered so that it can be found by name; the reader only reads
    // into a page, it never creates one.
    for (const TClassInfo* C :
         {&TQellPage::StaticClassInfo(), &TQellButton::StaticClassInfo(), &TQellOnOffButton::StaticClassInfo(),
          &TQellTrackbar::StaticClassInfo(), &TQellList::StaticClassInfo(), &TQellSpinner::StaticClassInfo(),
          &TQellPopup::StaticClassInfo(), &TQellLabel::StaticClassInfo()})
        RegisterClass(*C);
}

std::string_view SamplePageText()
{
    return SamplePageResource;
}

std::string_view BlankPageText()
{
    return "object Page1: TQellPage\nend\n";
}

// The library stands for the maker's runtime component package IW14QellDXE7.bpl; its
// unit IWQellBase makes the component classes known to page files.
QELL_DEFINE_UNIT(IWQellBase, RegisterComponentClasses, [] { UnregisterModuleClasses(HInstance()); })
QELL_DEFINE_UNIT(IWQellSpinner, [] {}, [] {})

namespace {

const TPlatformModule Module(HInstance(), "IW14QellDXE7.bpl");
const TLibraryUnits Units{{IWQellBase_Initialization, IWQellBase_Finalization},
                          {IWQellSpinner_Initialization, IWQellSpinner_Finalization}};

} // namespace
