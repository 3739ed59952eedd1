#include "apps/designer/document/RowTexts.h"

#include "platform/designide/EditorRegistry.h"

TPropertyEditor* TRowTexts::EditorFor(TPersistent& Object, const TPropInfo& Prop)
{
    TInterfacePtr<TPropertyEditor>& Editor = FEditors[{&Object.ClassInfo(), &Prop}];
    if (!Editor) {
        const TPropertyEditorClass* Class = GetEditorClass(Prop, Object.ClassInfo());
        if (!Class) return nullptr;
        Editor = TInterfacePtr<TPropertyEditor>(Class->Create(this, 1));
        Editor->SetPropEntry(0, &Object, &Prop);
        Editor->Initialize();
    }
    Editor->SetPropEntry(0, &Object, &Prop);
    return Editor.Get();
}

std::string TRowTexts::Value(TPersistent& Object, const TPropInfo& Prop)
{
    TPropertyEditor* Editor = EditorFor(Object, Prop);
    return Editor ? Editor->GetValue() : std::string();
}

std::string TRowTexts::ValueAs(TPersistent& Object, const TPropInfo& Prop, int64_t Value)
{
    const int64_t Held = GetOrdProp(Object, Prop);
    if (Held == Value) return this->Value(Object, Prop);
    SetOrdProp(Object, Prop, Value);
    try {
        std::string Text = this->Value(Object, Prop);
        SetOrdProp(Object, Prop, Held);
        return Text;
    } catch (...) {
        SetOrdProp(Object, Prop, Held);
        throw;
    }
}
