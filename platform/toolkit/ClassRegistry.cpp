#include "platform/toolkit/ClassRegistry.h"

#include <cctype>
#include <memory>

namespace {

std::string UpperCase(std::string_view S)
{
    std::string R(S);
    for (char& C : R) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    return R;
}

// Keyed by the upper-case name. Entries are never removed and a re-registration is
// assigned in place, so pointers handed out (and Parent links to them) stay valid.
std::map<std::string, std::unique_ptr<TClassInfo>>& Registry()
{
    static std::map<std::string, std::unique_ptr<TClassInfo>> Classes;
    return Classes;
}

bool SameText(std::string_view A, std::string_view B)
{
    if (A.size() != B.size()) return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (std::toupper(static_cast<unsigned char>(A[I])) != std::toupper(static_cast<unsigned char>(B[I])))
            return false;
    return true;
}

} // namespace

const TPropInfo* TClassInfo::FindProperty(const std::string& PropName) const
{
    for (const TClassInfo* C = this; C; C = C->Parent) {
        auto It = C->Properties.find(PropName);
        if (It != C->Properties.end()) return &It->second;
        for (const auto& [Key, Info] : C->Properties)
            if (SameText(Key, PropName)) return &Info;
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
