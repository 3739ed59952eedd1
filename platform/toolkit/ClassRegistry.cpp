#include "platform/toolkit/ClassRegistry.h"

#include <cctype>
#include <memory>

namespace {

// Keyed by the upper-case name. Entries are never removed and a re-registration is
// assigned in place, so pointers handed out (and Parent links to them) stay valid.
std::map<std::string, std::unique_ptr<TClassInfo>>& Registry()
{
    static std::map<std::string, std::unique_ptr<TClassInfo>> Classes;
    return Classes;
}

} // namespace

const TPropInfo* TClassInfo::FindProperty(const std::string& PropName) const
{
    for (const TClassInfo* C = this; C; C = C->Parent) {
        auto It = C->Properties.find(PropName);
        if (It != C->Properties.end()) return &It->second;
    }
    return nullptr;
}

const TClassInfo* RegisterClass(TClassInfo Info)
{
    auto& Slot = Registry()[UpperCase(Info.Name)];
    if (Slot)
        *Slot = std::move(Info);
    else
        Slot = std::make_unique<TClassInfo>(std::move(Info));
    return Slot.get();
}

const TClassInfo* FindClass(const std::string& Name)
{
    auto& Classes = Registry();
    auto It = Classes.find(UpperCase(Name));
    return It == Classes.end() ? nullptr : It->second.get();
}
