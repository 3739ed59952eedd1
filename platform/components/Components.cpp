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

namespace {

// The package's classes are there for every page from the moment the library loads.
const bool ComponentClassesRegistered = (RegisterComponentClasses(), true);

} // namespace
