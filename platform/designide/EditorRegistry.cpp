#include "platform/designide/EditorRegistry.h"

#include <algorithm>

namespace {

// Oldest first; lookups take the newest match.
std::vector<TEditorRegistration>& Registrations()
{
    static std::vector<TEditorRegistration> List;
    static const TModuleUnloadProcId Hook = AddModuleUnloadProc(UnregisterModulePropertyEditors);
    (void)Hook;
    return List;
}

const TPropertyEditorClass* KindEditor(TTypeKind Kind)
{
    switch (Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Int64: return &TIntegerProperty::EditorClass();
    case TTypeKind::Enumeration: return &TEnumProperty::EditorClass();
    case TTypeKind::Set: return &TSetProperty::EditorClass();
    case TTypeKind::String: return &TStringProperty::EditorClass();
    case TTypeKind::Class: return &TClassProperty::EditorClass();
    case TTypeKind::Method: return nullptr;
    }
    return nullptr;
}

// Whether a registration for Registered serves a property of type Type: the same type,
// or for a sub-object, a class type of one of its ancestors.
bool Serves(const TTypeInfo& Registered, const TTypeInfo& Type)
{
    if (&Registered == &Type) return true;
    return Registered.Kind == TTypeKind::Class && Type.Kind == TTypeKind::Class && Registered.ClassType &&
           Type.ClassType && Type.ClassType().InheritsFrom(Registered.ClassType());
}

} // namespace

void RegisterPropertyEditor(const TTypeInfo* PropertyType, const TClassInfo* ComponentClass,
                            const std::string& PropertyName, const TPropertyEditorClass& EditorClass,
                            TModuleHandle Module)
{
    if (!PropertyType) throw EPropertyError("RegisterPropertyEditor: no property type given");
    Registrations().push_back({PropertyType, ComponentClass, PropertyName, &EditorClass, Module});
}

const TPropertyEditorClass* GetEditorClass(const TPropInfo& Prop, const TClassInfo& InstanceClass)
{
    const auto& List = Registrations();
    for (auto It = List.rbegin(); It != List.rend(); ++It) {
        if (!Serves(*It->PropertyType, *Prop.PropType)) continue;
        if (It->ComponentClass && !InstanceClass.InheritsFrom(*It->ComponentClass)) continue;
        if (!It->PropertyName.empty() && !SameText(It->PropertyName, Prop.Name)) continue;
        return It->EditorClass;
    }
    return KindEditor(Prop.Kind());
}

std::vector<TEditorRegistration> PropertyEditorRegistrations()
{
    return Registrations();
}

void UnregisterModulePropertyEditors(TModuleHandle Module)
{
    std::erase_if(Registrations(), [Module](const TEditorRegistration& R) { return R.Module == Module; });
}

void GetComponentProperties(const std::vector<TPersistent*>& Selection, IDesigner* Designer, const TGetPropProc& Proc)
{
    if (Selection.empty()) return;
    const int Count = static_cast<int>(Selection.size());
    for (const TPropInfo* First : Selection[0]->ClassInfo().AllProperties()) {
        const TPropertyEditorClass* EditorClass = GetEditorClass(*First, Selection[0]->ClassInfo());
        if (!EditorClass) continue;
        std::vector<const TPropInfo*> Props{First};
        for (int I = 1; I < Count && Props.size() == static_cast<size_t>(I); ++I) {
            const TClassInfo& Class = Selection[static_cast<size_t>(I)]->ClassInfo();
            const TPropInfo* P = Class.FindProperty(First->Name);
            if (P && P->PropType == First->PropType && GetEditorClass(*P, Class) == EditorClass) Props.push_back(P);
        }
        if (Props.size() != Selection.size()) continue;
        TInterfacePtr<TPropertyEditor> Editor(EditorClass->Create(Designer, Count));
        for (int I = 0; I < Count; ++I) Editor->SetPropEntry(I, Selection[static_cast<size_t>(I)], Props[static_cast<size_t>(I)]);
        Editor->Initialize();
        if (Count > 1 && !Editor->GetAttributes().Contains(paMultiSelect)) continue;
        Proc(Editor);
    }
}
