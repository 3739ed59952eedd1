#pragma once
// The designer's page preview, where the page is built: the page drawn as it will look,
// the selection marked by handles, scrolled when the page is larger than the pane; on
// request the components whose colours fail a contrast check marked, the grid shown, and
// the page as a person with a colour-vision deficiency sees it.
//
// With the mouse: a click selects the component under the pointer (the page where there
// is none), Ctrl+click adds it to the selection or takes it out; dragging a selected
// component moves every selected one, dragging one of the eight handles of a single
// selection resizes it, dragging where there is no component selects what the rectangle
// touches (with Ctrl, added to the selection). While the palette has a class armed, a
// click places one there at its default size, a drag places one of the size dragged;
// Escape or a right click stops placing. Moves and resizes snap to the grid and to the
// edges and centres of the other components and of the page (PageDrag.h), with guide
// lines drawn while the drag lasts; Alt held turns snapping off; Escape puts a drag back.
// A right click opens the page's menu (PageActions.h). Text being typed elsewhere is set
// first. With the focus, the page's keys act on the selection (PageActions.h). While a
// colour row waits for a pick (TPageDocument::Picking), the pointer is a cross over the
// page, and a left click there gives the row the colour of the page's pixel under it, as
// drawn without a simulation; a right click ends the wait (Escape does, wherever the focus
// is: DesignerForm.h).
//
// Only what changed is repainted: the old and new bounds of the components an edit
// touched, the handles of the selection before and after, and a drag's guides and
// outline when they change; and only the components that meet what is repainted are
// painted, found through an index of the page (PageIndex.h), so that a step costs about
// the same on a page of 10,000 components as on the sample.
//
// Only the page is recoloured by a simulation: the workspace, the selection's handles
// and the contrast marks stay as they are, so that they read the same in every mode.

#include <optional>
#include <vector>

#include "apps/designer/document/PageDocument.h"
#include "apps/designer/window/ContrastHint.h"
#include "apps/designer/window/PageActions.h"
#include "apps/designer/window/PageDrag.h"
#include "apps/designer/window/PageIndex.h"
#include "colour/Contrast.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/ScrollBar.h"
#include "platform/toolkit/WinControl.h"

class TPagePreview : public TWinControl, private IDocumentObserver {
    QELL_CLASS(TPagePreview, TWinControl)
    // Where the page's top-left corner lies in the preview, unscrolled.
    static constexpr int Margin = 12;
    // Owned by Parent, and shown in it.
    TPagePreview(TWinControl& Parent, TPageDocument& Document);
    ~TPagePreview() override;
    TPageDocument& Document() const { return FDocument; }
    TPageActions& Actions() { return FActions; }

    // The component's place in the preview, as scrolled now.
    TRect ComponentRect(const TComponent& C) const;
    // A point of the preview in page coordinates, and back.
    TPoint PagePoint(int X, int Y) const;
    TPoint ClientPoint(TPoint P) const;
    // The topmost component under (X, Y), the page where there is none, nullptr off
    // the page or on a scroll bar.
    TComponent* ComponentAt(int X, int Y) const;
    // The colour of the page's pixel at (X, Y), as the page draws it (no simulation, no
    // grid, selection or marks); nothing off the page or outside the view.
    std::optional<TColor> PageColourAt(int X, int Y) const;
    // The part of the preview that shows the page: the client area less the scroll bars.
    TRect ViewRect() const;
    TPoint ScrollOffset() const { return {FScrollX, FScrollY}; }
    // Scrolls so that as much of C as fits is in view.
    void ScrollInView(const TComponent& C);
    // The scroll bars again for the page's size and the pane's (after a resize, a new
    // page or a change of the page's size).
    void UpdateScrollBars();

    // Snap to grid, show grid, the grid's size (4, 8 or 16).
    const TGridSettings& Grid() const { return FGrid; }
    void SetGrid(const TGridSettings& Grid);
    // Whether the components with a pair that fails AA are framed in red.
    bool ContrastMarks() const { return FMarks; }
    void SetContrastMarks(bool On);
    // While the marks show, the pointer resting on a marked component shows a hint that
    // names its failing pairs (ContrastHint.h); nullptr when none shows.
    const THintWindow* ContrastHint() const { return FContrastHint.Shown(); }
    // The components marked, in file order (the document's contrast problems), empty
    // while marks do not show.
    const std::vector<const TComponent*>& Marked() const;
    TVisionDeficiency Simulation() const { return FSimulation; }
    void SetSimulation(TVisionDeficiency Deficiency);
    const TPageDrag& Drag() const { return FDrag; }
    // The page's right-click menu, open or not.
    TPopupMenu& Menu() const { return *FMenu; }

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    bool MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;
    void KeyDown(TKey& Key, TShiftState Shift) override;
    // Tab steps through the page's components.
    bool WantsTab() const override { return true; }
    TCursor CursorAt(int X, int Y) const override;

protected:
    void Paint(TCanvas& C) override;
    void Resized() override;

private:
    void DocumentChanged(const TDocumentChange& Change) override;
    void SetScroll(int X, int Y);
    // Repaints what lies on Area of the page, with room for handles and marks around it.
    void Damage(const TRect& Area);
    // The rectangles (page coordinates) the selection's marks cover now.
    std::vector<TRect> SelectionAreas() const;
    // Repaints where the drag's guides and outline were and are, when they changed.
    void ShowDrag();
    // The handle of a single selected control under (X, Y), or -1.
    int HandleAt(int X, int Y, TQellControl*& Control) const;
    void OpenMenu(int X, int Y);
    // A click while a colour row waits for a pick: the left button picks, the right ends
    // the wait.
    void Pick(TMouseButton Button, int X, int Y);
    void PaintMarks(TCanvas& C, const TRect& PageRect);
    void PaintSelection(TCanvas& C);
    void PaintDrag(TCanvas& C, const TRect& PageRect);

    TPageDocument& FDocument;
    TGridSettings FGrid;
    TPageDrag FDrag;
    TPageActions FActions;
    TScrollBar* FHorizontal;
    TScrollBar* FVertical;
    TPopupMenu* FMenu;
    TContrastHint FContrastHint{*this};
    int FScrollX = 0, FScrollY = 0;
    bool FMarks = false;
    TVisionDeficiency FSimulation = TVisionDeficiency::None;
    // What the preview shows, to repaint only what moves: each component's bounds and
    // the selection's areas, the drag's outline and guides, in page coordinates.
    TPageIndex FShown;
    std::vector<TRect> FShownSelection;
    TRect FShownOutline;
    TSnapGuides FShownGuides;
};

// The script verbs "pick NAME [ctrl]" (a click on the page's component NAME in the
// preview, scrolled into view first) and "place CLASS X Y [W H]" (the class chosen in
// the palette, then a click at page coordinates X,Y, or a drag to X+W,Y+H).
void RegisterPreviewScriptVerbs();
