#pragma once
// The designer's list of the page's components: the page first, each component under
// it, collection items under their owners.

#include "platform/toolkit/ListBox.h"

class TDesignerForm;

// Drawn selected as the designer's selection says; a click selects the entry,
// Ctrl+click adds it or takes it out.
class TComponentList : public TListBox {
    QELL_CLASS(TComponentList, TListBox)
    explicit TComponentList(TDesignerForm& Designer);
    // The entries again from the designer's, keeping the scroll position and the item
    // index where it still exists.
    void ShowEntries();
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DrawEntry(int Index, const TRect& Rect);
    TDesignerForm& FDesigner;
};
