#include "apps/designer/window/DesignerEditors.h"

#include "apps/designer/window/CollectionEditor.h"
#include "apps/designer/window/ListItemsDialog.h"
#include "platform/designide/EditorRegistry.h"
#include "platform/rtl/Publish.h"

QELL_DEFINE_CLASS_INFO(TCollectionProperty)

QELL_PROPERTY_EDITOR_CLASS(TCollectionProperty)

TPageDocument* TCollectionProperty::Document()
{
    auto* Designer = dynamic_cast<IDocumentDesigner*>(this->Designer());
    if (!Designer || PropCount() != 1) return nullptr;
    // Only a component's own collections are entries of the document.
    const TDocumentEntry* Entry = Designer->Document().EntryOf(GetComponent(0));
    return Entry && Entry->Object == Entry->Component ? &Designer->Document() : nullptr;
}

TPropertyAttributes TCollectionProperty::GetAttributes()
{
    TPropertyAttributes A = TClassProperty::GetAttributes();
    if (Document()) A.Include(paDialog);
    return A;
}

void TCollectionProperty::Edit()
{
    TPageDocument* Doc = Document();
    auto* Collection = dynamic_cast<TCollection*>(GetObjectProp(*GetComponent(0), *GetPropInfo()));
    if (!Doc || !Collection) return;
    EditCollection(*Doc, *Collection, Doc->EntryOf(GetComponent(0))->Path + "." + GetName());
}

QELL_DEFINE_CLASS_INFO(TListItemsProperty)

QELL_PROPERTY_EDITOR_CLASS(TListItemsProperty)

TPropertyAttributes TListItemsProperty::GetAttributes()
{
    TPropertyAttributes A = TStringProperty::GetAttributes();
    A.Include(paDialog);
    return A;
}

void TListItemsProperty::Edit()
{
    const auto* List = dynamic_cast<const TComponent*>(GetComponent(0));
    const std::string Of = PropCount() > 1 ? std::to_string(PropCount()) + " lists" : List ? List->Name() : "the list";
    const std::string Before = GetVisualValue();
    std::string Items = Before;
    if (EditListItems("Items of " + Of, Items) && Items != Before) SetStrValue(Items);
}

void RegisterDesignerEditors()
{
    static const bool Registered = [] {
        RegisterPropertyEditor(&TypeInfoTCollection, nullptr, "", TCollectionProperty::EditorClass());
        RegisterPropertyEditor(&TypeInfoString, &TQellList::StaticClassInfo(), "Items",
                               TListItemsProperty::EditorClass());
        return true;
    }();
    (void)Registered;
}
