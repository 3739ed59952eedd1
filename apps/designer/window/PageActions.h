#pragma once
// What the page's keys and its right-click menu do to the selection, through the
// document's operations (each one undo step): cut, copy, paste and duplicate as page-file
// text on the clipboard, delete, order, align and size, select all, and the arrow keys'
// moves and resizes. The menu shows the key beside each action.

#include "apps/designer/document/Alignment.h"
#include "apps/designer/document/PageDocument.h"
#include "apps/designer/window/PageDrag.h"
#include "platform/toolkit/PopupMenu.h"

class TPageActions {
public:
    TPageActions(TPageDocument& Document, const TGridSettings& Grid) : FDocument(Document), FGrid(Grid) {}

    // The selected components of the page (the page itself and collection items passed
    // over), in the order selected.
    std::vector<TComponent*> SelectedComponents() const;
    void Cut();
    void Copy();
    // The clipboard's components, one grid step below and right of where they were
    // copied; a text that is no component is refused in a message box, the page kept.
    void Paste();
    void Delete();
    void Duplicate();
    void SelectAll();
    void BringToFront();
    void SendToBack();
    // With two or more controls selected, the first leading.
    void Align(TAlignment How);
    // Tab, Shift+Tab: the next or previous component in the page's order.
    void SelectNext(bool Forward);
    // The keys that act on the page; true when Key was one of them.
    bool KeyDown(TKey Key, TShiftState Shift);
    // The right-click menu of the page, and the menu of the align and size commands.
    std::vector<TMenuItem> MenuItems(const std::function<void()>& OpenAlignMenu);
    std::vector<TMenuItem> AlignItems();

private:
    // Arrows: a move by Step, or with Shift a resize.
    void Nudge(TKey Key, bool Resize, int Step);
    void PasteText(const std::string& Text);
    TPageDocument& FDocument;
    const TGridSettings& FGrid;
};
