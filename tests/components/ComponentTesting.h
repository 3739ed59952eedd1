#pragma once
// Walking the published values of the package's components, as an inspector or a page
// file sees them.

#include <functional>
#include <string>
#include <vector>

#include "platform/components/Components.h"
#include "platform/components/IWQellSpinner.h"

namespace comptest {

// Calls Visit for every published value of Instance, with its path
// ("Appearance.TextColor", "Slots[2].Caption"): sub-objects and collection items are
// visited through, not as values.
using TVisit = std::function<void(TPersistent& Instance, const TPropInfo& Prop, const std::string& Path)>;

inline void ForEachValue(TPersistent& Instance, const TVisit& Visit, const std::string& Prefix = "")
{
    for (const TPropInfo* P : Instance.ClassInfo().AllProperties()) {
        const std::string Path = Prefix + P->Name;
        if (P->Kind() != TTypeKind::Class) {
            Visit(Instance, *P, Path);
        } else if (auto* Items = dynamic_cast<TCollection*>(GetObjectProp(Instance, *P))) {
            for (int I = 0; I < Items->Count(); ++I)
                ForEachValue(*Items->Items(I), Visit, Path + "[" + std::to_string(I) + "].");
        } else {
            ForEachValue(*GetObjectProp(Instance, *P), Visit, Path + ".");
        }
    }
}

// One of each component, owned by Page, set up so that each of its colours shows: a
// spinner with three slots and the middle one selected, an on/off button off and one on.
inline std::vector<TQellControl*> OneOfEach(TQellPage& Page)
{
    auto* Spinner = new TQellSpinner(&Page);
    for (const char* Caption : {"One", "Two", "Three"}) Spinner->Slots.Add()->Caption = Caption;
    Spinner->ItemIndex = 1;
    auto* On = new TQellOnOffButton(&Page);
    On->Checked = true;
    return {new TQellButton(&Page), new TQellOnOffButton(&Page), On,       new TQellTrackbar(&Page),
            new TQellList(&Page),   Spinner,                     new TQellPopup(&Page), new TQellLabel(&Page)};
}

} // namespace comptest
