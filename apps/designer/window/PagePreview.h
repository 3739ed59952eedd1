#pragma once
// The designer's page preview: the page drawn as it will look, the selection marked,
// scrolled when the page is larger than the pane; on request the components whose
// colours fail a contrast check marked, and the page as a person with a colour-vision
// deficiency sees it.

#include <vector>

#include "apps/designer/document/PageDocument.h"
#include "colour/Contrast.h"
#include "platform/toolkit/ScrollBar.h"
#include "platform/toolkit/WinControl.h"

// The page as it will look: every component drawn by itself at its place, the
// selection marked by handles, scrolled with the scroll bars or the wheel (Shift+wheel
// across) when the page is larger than the pane. A click selects the component under
// the pointer (the page where there is none); Ctrl+click adds it to the selection or
// takes it out. Text being typed elsewhere is set first (the preview takes no focus).
//
// Only the page is recoloured by a simulation: the workspace, the selection's handles
// and the contrast marks stay as they are, so that they read the same in every mode.
class TPagePreview : public TWinControl, private IDocumentObserver {
    QELL_CLASS(TPagePreview, TWinControl)
    // Where the page's top-left corner lies in the preview, unscrolled.
    static constexpr int Margin = 12;
    // Owned by Parent, and shown in it.
    TPagePreview(TWinControl& Parent, TPageDocument& Document);
    ~TPagePreview() override;
    TPageDocument& Document() const { return FDocument; }
    // The component's place in the preview, as scrolled now.
    TRect ComponentRect(const TComponent& C) const;
    // The topmost component under (X, Y), the page where there is none, nullptr off
    // the page or on a scroll bar.
    TComponent* ComponentAt(int X, int Y) const;
    // The part of the preview that shows the page: the client area less the scroll bars.
    TRect ViewRect() const;
    TPoint ScrollOffset() const { return {FScrollX, FScrollY}; }
    // Scrolls so that as much of C as fits is in view.
    void ScrollInView(const TComponent& C);
    // The scroll bars again for the page's size and the pane's (after a resize, a new
    // page or a change of the page's size).
    void UpdateScrollBars();

    // Whether the components with a pair that fails AA are framed in red.
    bool ContrastMarks() const { return FMarks; }
    void SetContrastMarks(bool On);
    // The components marked, in file order (the document's contrast problems), empty
    // while marks do not show.
    const std::vector<const TComponent*>& Marked() const;
    TVisionDeficiency Simulation() const { return FSimulation; }
    void SetSimulation(TVisionDeficiency Deficiency);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;

protected:
    void Paint(TCanvas& C) override;
    void Resized() override;

private:
    void DocumentChanged(const TDocumentChange& Change) override;
    void SetScroll(int X, int Y);
    TPageDocument& FDocument;
    TScrollBar* FHorizontal;
    TScrollBar* FVertical;
    int FScrollX = 0, FScrollY = 0;
    bool FMarks = false;
    TVisionDeficiency FSimulation = TVisionDeficiency::None;
};

// The script verb "pick NAME [ctrl]": a click on the component of the page named NAME
// in the preview, scrolled into view first.
void RegisterPreviewScriptVerbs();
