#pragma once
// The palette: the pointer, then the component classes the loaded packages register
// (the creatable classes of components a page holds), each with a small icon and its
// class name. Choosing a class arms placing (the document's PlacingClass): the next click
// in the page places one there, a drag one of the size dragged (PagePreview.h), and the
// palette returns to the pointer. A double click on a class, or Enter on it, places one
// at the page's top-left, moved on by a grid step while one of its class lies there, so
// that a page can be built without a mouse.

#include <vector>

#include "apps/designer/document/PageDocument.h"
#include "platform/toolkit/ListBox.h"

class TPalette : public TListBox, private IDocumentObserver {
    QELL_CLASS(TPalette, TListBox)
    static constexpr int ItemHeight = 22, IconSize = 16, FirstPlace = 8, Step = 8;
    // Owned by Parent, and shown in it.
    TPalette(TWinControl& Parent, TPageDocument& Document);
    ~TPalette() override;

    // The classes listed after the pointer, in the order registered.
    const std::vector<const TClassInfo*>& Classes() const { return FClasses; }
    // The classes again from the class registry (after packages load or go).
    void ShowClasses();
    // Places one of Class at the page's top-left, as a double click on it does.
    void PlaceAtTopLeft(const TClassInfo& Class);

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(TKey& Key, TShiftState Shift) override;

private:
    void DocumentChanged(const TDocumentChange& Change) override;
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    TPageDocument& FDocument;
    std::vector<const TClassInfo*> FClasses;
};

// Draws Class's icon in the IconSize square at (X, Y): a sketch of what the component
// looks like (a button's face, a list's rows, a track with its thumb), or a plain box
// for a class it does not know.
void DrawClassIcon(TCanvas& C, const TClassInfo& Class, int X, int Y);
