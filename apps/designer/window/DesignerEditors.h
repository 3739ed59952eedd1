#pragma once
// The designer's own property editors, for what a package's editors know nothing of:
// the items of a collection and the texts of a list. The collection editor changes the
// page's structure, so it works through the open document, which it reaches through
// the inspector's designer (IDocumentDesigner). The program registers them before it
// loads any package, so that a package's own registration for its classes, made later,
// wins, as the host's registration rules say (EditorRegistry.h).

#include "apps/designer/document/PageDocument.h"

// A designer that edits a page document: the one an editor of the designer's reaches.
class IDocumentDesigner : public IDesigner {
public:
    virtual TPageDocument& Document() = 0;

protected:
    ~IDocumentDesigner() override = default;
};

// A collection (a spinner's Slots): its items as rows, as TClassProperty shows them.
// With one component of the page selected and a document to edit, the "…" button too,
// which opens the collection editor (CollectionEditor.h).
class TCollectionProperty : public TClassProperty {
    QELL_CLASS(TCollectionProperty, TClassProperty)
    using TClassProperty::TClassProperty;
    static const TPropertyEditorClass& EditorClass();
    TPropertyAttributes GetAttributes() override;
    void Edit() override;

private:
    // The document when the collection is one its editor can change; else nullptr.
    TPageDocument* Document();
};

// A list's Items, its texts separated by '|': typed as text, or one item a line in the
// box the "…" button opens (ListItemsDialog.h); one undo step either way.
class TListItemsProperty : public TStringProperty {
    QELL_CLASS(TListItemsProperty, TStringProperty)
    using TStringProperty::TStringProperty;
    static const TPropertyEditorClass& EditorClass();
    TPropertyAttributes GetAttributes() override;
    void Edit() override;
};

// Registers TCollectionProperty for every collection property and TListItemsProperty
// for TQellList.Items, as the program's; before any package is loaded. Running it again
// changes nothing.
void RegisterDesignerEditors();
