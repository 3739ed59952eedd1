#pragma once
// The designer's list of the page's components: the page first, each component under
// it, collection items under their owners.

#include "apps/designer/document/PageDocument.h"
#include "platform/toolkit/ListBox.h"

// Drawn selected as the document's selection says; a click selects the entry,
// Ctrl+click adds it or takes it out.
class TComponentList : public TListBox, private IDocumentObserver {
    QELL_CLASS(TComponentList, TListBox)
    // Owned by Parent, and shown in it.
    TComponentList(TWinControl& Parent, TPageDocument& Document);
    ~TComponentList() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DocumentChanged(const TDocumentChange& Change) override;
    // The entries again from the document's, keeping the scroll position and the item
    // index where it still exists.
    void ShowEntries();
    void DrawEntry(int Index, const TRect& Rect);
    TPageDocument& FDocument;
};
