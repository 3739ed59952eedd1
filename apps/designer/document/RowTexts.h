#pragma once
// Values as the property inspector's rows show them, for what lists colours outside the
// inspector (`check`, the description line): through the editor the inspector would use
// for the property, so that a text reads as the row does and is one the row takes back.

#include <map>
#include <string>
#include <utility>

#include "platform/designide/PropertyEditors.h"

class TRowTexts : private IDesigner {
public:
    TRowTexts() = default;
    TRowTexts(const TRowTexts&) = delete;
    TRowTexts& operator=(const TRowTexts&) = delete;

    // The text the row of Prop of Object shows now ("SeaGreen", "clBtnFace"); empty for a
    // property no editor shows (an event).
    std::string Value(TPersistent& Object, const TPropInfo& Prop);
    // The text the row would show holding the ordinal Value, which its editor's SetValue
    // takes. Object is left holding what it held.
    std::string ValueAs(TPersistent& Object, const TPropInfo& Prop, int64_t Value);

private:
    // Nothing is edited through these editors; they only read.
    void Modified() override {}
    // One editor per class and property, pointed at each object in turn.
    TPropertyEditor* EditorFor(TPersistent& Object, const TPropInfo& Prop);
    std::map<std::pair<const TClassInfo*, const TPropInfo*>, TInterfacePtr<TPropertyEditor>> FEditors;
};
