#include "platform/rtl/TypInfo.h"

#include <limits>
#include <unordered_set>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Publish.h"

namespace {

constexpr const char* BooleanNames[] = {"False", "True"};

[[noreturn]] void Missing(const TPropInfo& Prop, const char* What)
{
    throw EPropertyError("property " + Prop.Name + " cannot be " + What);
}

} // namespace

const TTypeInfo TypeInfoInteger =
    IntegerTypeInfo("Integer", std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
const TTypeInfo TypeInfoInt64 = IntegerTypeInfo("Int64", std::numeric_limits<int64_t>::min(),
                                                std::numeric_limits<int64_t>::max(), TTypeKind::Int64);
const TTypeInfo TypeInfoBoolean = EnumTypeInfo("Boolean", BooleanNames);
const TTypeInfo TypeInfoString = StringTypeInfo("string");

bool TPropInfo::IsOrdinal() const
{
    switch (Kind()) {
    case TTypeKind::Integer:
    case TTypeKind::Int64:
    case TTypeKind::Enumeration:
    case TTypeKind::Set: return true;
    default: return false;
    }
}

bool TPropInfo::ReadOnly() const
{
    switch (Kind()) {
    case TTypeKind::String: return !SetStr;
    case TTypeKind::Class: return !GetObj;
    case TTypeKind::Method: return !SetMethod;
    default: return !SetOrd;
    }
}

bool TClassInfo::InheritsFrom(const TClassInfo& Ancestor) const
{
    for (const TClassInfo* C = this; C; C = C->Parent)
        if (C == &Ancestor) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view PropName) const
{
    for (const TClassInfo* C = this; C; C = C->Parent)
        for (auto It = C->Properties.rbegin(); It != C->Properties.rend(); ++It)
            if (SameText(It->Name, PropName)) return &*It;
    return nullptr;
}

const std::vector<const TPropInfo*>& TClassInfo::AllProperties() const
{
    if (FAll.Known) return FAll.List;
    std::vector<const TClassInfo*> Chain;
    for (const TClassInfo* C = this; C; C = C->Parent) Chain.push_back(C);
    std::vector<const TPropInfo*> Result;
    std::unordered_set<std::string> Seen;
    for (auto C = Chain.rbegin(); C != Chain.rend(); ++C)
        for (const TPropInfo& P : (*C)->Properties)
            if (Seen.insert(UpperCase(P.Name)).second) Result.push_back(FindProperty(P.Name));
    FAll.List = std::move(Result);
    FAll.Known = true;
    return FAll.List;
}

int64_t GetOrdProp(const TPersistent& Instance, const TPropInfo& Prop)
{
    if (!Prop.GetOrd) Missing(Prop, "read as an ordinal");
    return Prop.GetOrd(Instance);
}

void SetOrdProp(TPersistent& Instance, const TPropInfo& Prop, int64_t Value)
{
    if (!Prop.SetOrd) Missing(Prop, "set to an ordinal");
    if (Value < Prop.MinValue || Value > Prop.MaxValue)
        throw EPropertyError(std::to_string(Value) + " is out of range (" + std::to_string(Prop.MinValue) + ".." +
                             std::to_string(Prop.MaxValue) + ")");
    Prop.SetOrd(Instance, Value);
}

std::string GetStrProp(const TPersistent& Instance, const TPropInfo& Prop)
{
    if (!Prop.GetStr) Missing(Prop, "read as a string");
    return Prop.GetStr(Instance);
}

void SetStrProp(TPersistent& Instance, const TPropInfo& Prop, const std::string& Value)
{
    if (!Prop.SetStr) Missing(Prop, "set to a string");
    Prop.SetStr(Instance, Value);
}

TPersistent* GetObjectProp(TPersistent& Instance, const TPropInfo& Prop)
{
    if (!Prop.GetObj) Missing(Prop, "read as an object");
    return Prop.GetObj(Instance);
}

bool SetMethodProp(TPersistent& Instance, const TPropInfo& Prop, const std::any& Handler)
{
    if (!Prop.SetMethod) Missing(Prop, "given a handler");
    return Prop.SetMethod(Instance, Handler);
}

bool IsStoredProp(const TPersistent& Instance, const TPropInfo& Prop)
{
    if (Prop.Stored && !Prop.Stored(Instance)) return false;
    switch (Prop.Kind()) {
    case TTypeKind::String: return !Prop.StrDefault || GetStrProp(Instance, Prop) != *Prop.StrDefault;
    case TTypeKind::Class: {
        TPersistent* Sub = GetObjectProp(const_cast<TPersistent&>(Instance), Prop);
        if (!Sub) return false;
        if (const auto* Items = dynamic_cast<const TCollection*>(Sub)) return Items->Count() > 0;
        for (const TPropInfo* P : Sub->ClassInfo().AllProperties())
            if (IsStoredProp(*Sub, *P)) return true;
        return false;
    }
    case TTypeKind::Method: return false;
    default: return !Prop.OrdDefault || GetOrdProp(Instance, Prop) != *Prop.OrdDefault;
    }
}

const TPropInfo* GetPropInfo(const TPersistent& Instance, std::string_view Name)
{
    return Instance.ClassInfo().FindProperty(Name);
}

int64_t GetEnumValue(const TTypeInfo& Type, std::string_view Name)
{
    for (size_t I = 0; I < Type.EnumNames.size(); ++I)
        if (SameText(Type.EnumNames[I], Name)) return static_cast<int64_t>(I);
    return -1;
}

std::string GetEnumName(const TTypeInfo& Type, int64_t Value)
{
    if (Value < 0 || Value >= static_cast<int64_t>(Type.EnumNames.size())) return "";
    return Type.EnumNames[static_cast<size_t>(Value)];
}

std::string SetToString(const TTypeInfo& SetType, int64_t Value)
{
    std::string R = "[";
    const TTypeInfo& E = *SetType.ElementType;
    for (size_t I = 0; I < E.EnumNames.size(); ++I) {
        if (!(Value & (int64_t{1} << I))) continue;
        if (R.size() > 1) R += ", ";
        R += E.EnumNames[I];
    }
    return R + "]";
}

int64_t SetMemberBits(const TTypeInfo& SetType, const std::vector<std::string>& Members)
{
    int64_t Bits = 0;
    for (const std::string& M : Members) {
        const int64_t I = GetEnumValue(*SetType.ElementType, M);
        if (I < 0) throw EPropertyError(QuotedInput(M) + " is not a valid value");
        Bits |= int64_t{1} << I;
    }
    return Bits;
}

std::string PropTypeText(const TPropInfo& Prop)
{
    const TTypeInfo& Type = *Prop.PropType;
    std::string Text = Type.Name;
    if ((Type.Kind == TTypeKind::Integer || Type.Kind == TTypeKind::Int64) &&
        (Prop.MinValue != Type.MinValue || Prop.MaxValue != Type.MaxValue))
        Text += " " + std::to_string(Prop.MinValue) + ".." + std::to_string(Prop.MaxValue);
    return Text;
}

std::string PropDefaultText(const TPropInfo& Prop)
{
    if (Prop.Kind() == TTypeKind::String) return Prop.StrDefault.value_or("");
    if (!Prop.IsOrdinal() || !Prop.OrdDefault) return "";
    const int64_t Value = *Prop.OrdDefault;
    const TTypeInfo& Type = *Prop.PropType;
    switch (Type.Kind) {
    case TTypeKind::Enumeration: return GetEnumName(Type, Value);
    case TTypeKind::Set: return SetToString(Type, Value);
    default: return Type.IntToText ? Type.IntToText(Value) : std::to_string(Value);
    }
}
