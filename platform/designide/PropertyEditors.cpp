#include "platform/designide/PropertyEditors.h"

#include <cstdlib>

#include "platform/designide/EditorRegistry.h"
#include "platform/rtl/Publish.h"
#include "platform/rtl/Utf8.h"

namespace {

// UTF-8 and UTF-16 for the wide-text operations; a character that cannot be carried
// becomes U+FFFD.
std::u16string ToUtf16(const std::string& S)
{
    std::u16string R;
    for (size_t Pos = 0; Pos < S.size();) {
        uint32_t C = NextCodePoint(S, Pos);
        if (C == Utf8Invalid) C = 0xFFFD;
        if (C >= 0x10000) {
            C -= 0x10000;
            R += static_cast<char16_t>(0xD800 + (C >> 10));
            R += static_cast<char16_t>(0xDC00 + (C & 0x3FF));
        } else {
            R += static_cast<char16_t>(C);
        }
    }
    return R;
}

std::string FromUtf16(const std::u16string& S)
{
    std::string R;
    for (size_t I = 0; I < S.size(); ++I) {
        uint32_t C = S[I];
        if (C >= 0xD800 && C <= 0xDBFF && I + 1 < S.size() && S[I + 1] >= 0xDC00 && S[I + 1] <= 0xDFFF)
            C = 0x10000 + ((C - 0xD800) << 10) + (S[++I] - 0xDC00);
        else if (C >= 0xD800 && C <= 0xDFFF)
            C = 0xFFFD;
        AppendUtf8(R, C);
    }
    return R;
}

// A decimal integer of up to 64 bits, or a "$"-hexadecimal one of up to 32, or false.
bool ParseInteger(const std::string& S, int64_t& Value)
{
    int32_t Small;
    if (TryStrToInt(S, Small)) {
        Value = Small;
        return true;
    }
    if (S.empty()) return false;
    char* End = nullptr;
    errno = 0;
    const long long V = std::strtoll(S.c_str(), &End, 10);
    if (errno != 0 || End != S.c_str() + S.size() || !(std::isdigit(static_cast<unsigned char>(S.back()))) ||
        std::isspace(static_cast<unsigned char>(S[0])))
        return false;
    Value = V;
    return true;
}

// Whether the property declares the value a new object holds.
bool HasDefault(const TPropInfo& P)
{
    switch (P.Kind()) {
    case TTypeKind::String: return P.StrDefault.has_value();
    case TTypeKind::Class:
    case TTypeKind::Method: return false;
    default: return P.OrdDefault.has_value();
    }
}

// The editor of one collection item's row, "[i]": the items at Index of each selected
// object's collection.
class TCollectionItemProperty : public TPropertyEditor {
    // Its own class, so that the row names the editor in charge.
    QELL_CLASS(TCollectionItemProperty, TPropertyEditor)
    TCollectionItemProperty(IDesigner* Designer, std::vector<TPersistent*> Items, int Index)
        : TPropertyEditor(Designer, static_cast<int>(Items.size())), FIndex(Index)
    {
        for (size_t I = 0; I < Items.size(); ++I) SetPropEntry(static_cast<int>(I), Items[I], nullptr);
    }
    TPropertyAttributes GetAttributes() override { return {paSubProperties, paReadOnly, paMultiSelect}; }
    std::string GetName() override { return "[" + std::to_string(FIndex) + "]"; }
    std::string GetValue() override { return "(" + GetComponent(0)->ClassName() + ")"; }
    void GetProperties(const TGetPropProc& Proc) override
    {
        std::vector<TPersistent*> Items;
        for (int I = 0; I < PropCount(); ++I) Items.push_back(GetComponent(I));
        GetComponentProperties(Items, Designer(), Proc);
    }

private:
    int FIndex;
};

QELL_DEFINE_CLASS_INFO(TCollectionItemProperty)

} // namespace

QELL_DEFINE_CLASS_INFO(TPropertyEditor)

QELL_PROPERTY_EDITOR_CLASS(TPropertyEditor)

TPropertyEditor::TPropertyEditor(IDesigner* Designer, int PropCount)
    : FDesigner(Designer), FEntries(static_cast<size_t>(PropCount > 0 ? PropCount : 0))
{
}

void TPropertyEditor::SetPropEntry(int Index, TPersistent* Instance, const TPropInfo* PropInfo)
{
    FEntries.at(static_cast<size_t>(Index)) = {Instance, PropInfo};
}

bool TPropertyEditor::GetIsDefault()
{
    for (const TEntry& E : FEntries)
        if (E.PropInfo && IsStoredProp(*E.Instance, *E.PropInfo)) return false;
    return true;
}

bool TPropertyEditor::AllEqual()
{
    return PropCount() == 1;
}

bool TPropertyEditor::AutoFill()
{
    return true;
}

void TPropertyEditor::Edit()
{
    if (!GetAttributes().Contains(paValueList)) return;
    std::vector<std::string> Values;
    GetValues([&](const std::string& S) { Values.push_back(S); });
    if (Values.empty()) return;
    const std::string Current = GetValue();
    size_t Next = 0;
    for (size_t I = 0; I < Values.size(); ++I)
        if (SameText(Values[I], Current)) Next = (I + 1) % Values.size();
    SetValue(Values[Next]);
}

TPropertyAttributes TPropertyEditor::GetAttributes()
{
    return {paMultiSelect, paRevertable};
}

int TPropertyEditor::GetEditLimit()
{
    return 255;
}

std::string TPropertyEditor::GetName()
{
    const TPropInfo* P = GetPropInfo();
    return P ? P->Name : std::string();
}

void TPropertyEditor::GetProperties(const TGetPropProc&) {}

const TPropInfo* TPropertyEditor::GetPropInfo()
{
    return FEntries.empty() ? nullptr : FEntries[0].PropInfo;
}

std::string TPropertyEditor::GetValue()
{
    return "(unknown)";
}

std::u16string TPropertyEditor::GetValueW()
{
    return ToUtf16(GetValue());
}

void TPropertyEditor::GetValues(const TGetStrProc&) {}

void TPropertyEditor::SetValue(const std::string&) {}

void TPropertyEditor::SetValueW(const std::u16string& Value)
{
    SetValue(FromUtf16(Value));
}

int64_t TPropertyEditor::GetOrdValueAt(int Index) const
{
    const TEntry& E = FEntries.at(static_cast<size_t>(Index));
    return ::GetOrdProp(*E.Instance, *E.PropInfo);
}

std::string TPropertyEditor::GetStrValueAt(int Index) const
{
    const TEntry& E = FEntries.at(static_cast<size_t>(Index));
    return ::GetStrProp(*E.Instance, *E.PropInfo);
}

void TPropertyEditor::SetOrdValue(int64_t Value)
{
    for (const TEntry& E : FEntries)
        if (Value < E.PropInfo->MinValue || Value > E.PropInfo->MaxValue)
            throw EPropertyError(std::to_string(Value) + " is out of range (" + std::to_string(E.PropInfo->MinValue) +
                                 ".." + std::to_string(E.PropInfo->MaxValue) + ")");
    std::vector<TPropValue> Before;
    for (const TEntry& E : FEntries) Before.emplace_back(::GetOrdProp(*E.Instance, *E.PropInfo));
    WriteAll(Before, std::vector<TPropValue>(FEntries.size(), Value));
}

void TPropertyEditor::SetStrValue(const std::string& Value)
{
    std::vector<TPropValue> Before;
    for (const TEntry& E : FEntries) Before.emplace_back(::GetStrProp(*E.Instance, *E.PropInfo));
    WriteAll(Before, std::vector<TPropValue>(FEntries.size(), Value));
}

void TPropertyEditor::WriteAll(const std::vector<TPropValue>& Before, const std::vector<TPropValue>& After)
{
    size_t Done = 0;
    try {
        for (; Done < FEntries.size(); ++Done) SetPropValue(*FEntries[Done].Instance, *FEntries[Done].PropInfo, After[Done]);
    } catch (...) {
        // The failed write is undone too: its setter may have half set the value.
        for (size_t I = 0; I <= Done; ++I) {
            try {
                SetPropValue(*FEntries[I].Instance, *FEntries[I].PropInfo, Before[I]);
            } catch (...) {
                // The write's own error is the one to report; the others are still set back.
            }
        }
        throw;
    }
    if (FDesigner)
        for (size_t I = 0; I < FEntries.size(); ++I)
            if (Before[I] != After[I])
                FDesigner->PropertyChanged({FEntries[I].Instance, FEntries[I].PropInfo, Before[I], After[I]});
    Modified();
}

void SetPropValue(TPersistent& Instance, const TPropInfo& Prop, const TPropValue& Value)
{
    if (const auto* Ord = std::get_if<int64_t>(&Value)) ::SetOrdProp(Instance, Prop, *Ord);
    else ::SetStrProp(Instance, Prop, std::get<std::string>(Value));
}

std::string TPropertyEditor::GetVisualValue()
{
    return AllEqual() ? GetValue() : std::string();
}

bool TPropertyEditor::CanRevert()
{
    const TPropertyAttributes A = GetAttributes();
    if (!A.Contains(paRevertable) || A.Contains(paReadOnly) || FEntries.empty()) return false;
    for (const TEntry& E : FEntries)
        if (!E.PropInfo || !HasDefault(*E.PropInfo)) return false;
    return true;
}

void TPropertyEditor::Revert()
{
    if (!CanRevert()) throw EPropertyError(QuotedInput(GetName()) + " has no default to reset to");
    // Each object to its own default: a selection of different classes may differ.
    std::vector<TPropValue> Before, After;
    for (const TEntry& E : FEntries) {
        const TPropInfo& P = *E.PropInfo;
        if (P.Kind() == TTypeKind::String) {
            Before.emplace_back(::GetStrProp(*E.Instance, P));
            After.emplace_back(*P.StrDefault);
        } else {
            Before.emplace_back(::GetOrdProp(*E.Instance, P));
            After.emplace_back(*P.OrdDefault);
        }
    }
    WriteAll(Before, After);
}

void TPropertyEditor::Modified()
{
    if (FDesigner) FDesigner->Modified();
}

// Ordinals

QELL_DEFINE_CLASS_INFO(TOrdinalProperty)

bool TOrdinalProperty::AllEqual()
{
    for (int I = 1; I < PropCount(); ++I)
        if (GetOrdValueAt(I) != GetOrdValue()) return false;
    return true;
}

int TOrdinalProperty::GetEditLimit()
{
    return 63;
}

bool TOrdinalProperty::ForgiveSpaces(const std::string& Value)
{
    constexpr const char* Blanks = " \t\r\n\v\f";
    const size_t First = Value.find_first_not_of(Blanks);
    if (First == std::string::npos) {
        if (Value.empty()) return false;
        SetValue(std::string());
        return true;
    }
    const size_t Last = Value.find_last_not_of(Blanks);
    if (First == 0 && Last + 1 == Value.size()) return false;
    SetValue(Value.substr(First, Last + 1 - First));
    return true;
}

QELL_DEFINE_CLASS_INFO(TIntegerProperty)

QELL_PROPERTY_EDITOR_CLASS(TIntegerProperty)

std::string TIntegerProperty::GetValue()
{
    return std::to_string(GetOrdValue());
}

void TIntegerProperty::SetValue(const std::string& Value)
{
    if (ForgiveSpaces(Value)) return;
    int64_t V = 0;
    if (!ParseInteger(Value, V)) throw EConvertError(QuotedInput(Value) + " is not a valid integer value");
    const TPropInfo* P = GetPropInfo();
    if (V < P->MinValue || V > P->MaxValue)
        throw EPropertyError("Value must be between " + std::to_string(P->MinValue) + " and " +
                             std::to_string(P->MaxValue));
    SetOrdValue(V);
}

QELL_DEFINE_CLASS_INFO(TEnumProperty)

QELL_PROPERTY_EDITOR_CLASS(TEnumProperty)

TPropertyAttributes TEnumProperty::GetAttributes()
{
    return {paMultiSelect, paValueList, paRevertable};
}

std::string TEnumProperty::GetValue()
{
    const int64_t V = GetOrdValue();
    const std::string Name = GetEnumName(*GetPropInfo()->PropType, V);
    return Name.empty() ? std::to_string(V) : Name;
}

void TEnumProperty::GetValues(const TGetStrProc& Proc)
{
    for (const char* Name : GetPropInfo()->PropType->EnumNames) Proc(Name);
}

void TEnumProperty::SetValue(const std::string& Value)
{
    if (ForgiveSpaces(Value)) return;
    const int64_t V = GetEnumValue(*GetPropInfo()->PropType, Value);
    if (V < 0) throw EPropertyError(QuotedInput(Value) + " is not a valid " + GetPropInfo()->PropType->Name);
    SetOrdValue(V);
}

QELL_DEFINE_CLASS_INFO(TSetProperty)

QELL_PROPERTY_EDITOR_CLASS(TSetProperty)

std::string TSetProperty::GetValue()
{
    return SetToString(*GetPropInfo()->PropType, GetOrdValue());
}

void TSetProperty::SetValue(const std::string& Value)
{
    if (ForgiveSpaces(Value)) return;
    std::string Text = Value;
    if (!Text.empty() && Text.front() == '[') Text.erase(0, 1);
    if (!Text.empty() && Text.back() == ']') Text.pop_back();
    std::vector<std::string> Members;
    size_t Start = 0;
    while (Start <= Text.size()) {
        size_t End = Text.find(',', Start);
        if (End == std::string::npos) End = Text.size();
        std::string M = Text.substr(Start, End - Start);
        M.erase(0, M.find_first_not_of(' '));
        M.erase(M.find_last_not_of(' ') + 1);
        if (!M.empty()) Members.push_back(M);
        Start = End + 1;
    }
    SetOrdValue(SetMemberBits(*GetPropInfo()->PropType, Members));
}

// Strings

QELL_DEFINE_CLASS_INFO(TStringProperty)

QELL_PROPERTY_EDITOR_CLASS(TStringProperty)

bool TStringProperty::AllEqual()
{
    for (int I = 1; I < PropCount(); ++I)
        if (GetStrValueAt(I) != GetStrValue()) return false;
    return true;
}

int TStringProperty::GetEditLimit()
{
    return 255;
}

std::string TStringProperty::GetValue()
{
    return GetStrValue();
}

void TStringProperty::SetValue(const std::string& Value)
{
    SetStrValue(Value);
}

QELL_DEFINE_CLASS_INFO(TComponentNameProperty)

QELL_PROPERTY_EDITOR_CLASS(TComponentNameProperty)

TPropertyAttributes TComponentNameProperty::GetAttributes()
{
    return {};
}

// Sub-objects

QELL_DEFINE_CLASS_INFO(TClassProperty)

QELL_PROPERTY_EDITOR_CLASS(TClassProperty)

TPropertyAttributes TClassProperty::GetAttributes()
{
    return {paMultiSelect, paSubProperties, paReadOnly};
}

std::string TClassProperty::GetValue()
{
    return "(" + std::string(GetPropInfo()->PropType->Name) + ")";
}

void TClassProperty::GetProperties(const TGetPropProc& Proc)
{
    std::vector<TPersistent*> Subs;
    for (int I = 0; I < PropCount(); ++I) {
        TPersistent* Sub = GetObjectProp(*GetComponent(I), *GetPropInfoAt(I));
        if (!Sub) return;
        Subs.push_back(Sub);
    }
    const auto* First = dynamic_cast<const TCollection*>(Subs[0]);
    if (!First) {
        GetComponentProperties(Subs, Designer(), Proc);
        return;
    }
    // A collection's items, when every selected object has as many.
    for (TPersistent* S : Subs)
        if (static_cast<const TCollection*>(S)->Count() != First->Count()) return;
    for (int Index = 0; Index < First->Count(); ++Index) {
        std::vector<TPersistent*> Items;
        for (TPersistent* S : Subs) Items.push_back(static_cast<TCollection*>(S)->Items(Index));
        Proc(TInterfacePtr<TPropertyEditor>(new TCollectionItemProperty(Designer(), std::move(Items), Index)));
    }
}
