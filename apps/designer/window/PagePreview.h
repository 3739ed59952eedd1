#pragma once
// The designer's page preview: the page drawn as it will look, the selection marked,
// scrolled when the page is larger than the pane; on request the components whose
// colours fail a contrast check marked, and the page as a person with a colour-vision
// deficiency sees it.

#include <vector>

#include "colour/Contrast.h"
#include "platform/toolkit/ScrollBar.h"
#include "platform/toolkit/WinControl.h"

class TComponent;
class TDesignerForm;

// The page as it will look: every component drawn by itself at its place, the
// selection marked by handles, scrolled with the scroll bars or the wheel (Shift+wheel
// across) when the page is larger than the pane. A click selects the component under
// the pointer (the page where there is none); Ctrl+click adds it to the selection or
// takes it out.
//
// Only the page is recoloured by a simulation: the workspace, the selection's handles
// and the contrast marks stay as they are, so that they read the same in every mode.
class TPagePreview : public TWinControl {
    QELL_CLASS(TPagePreview, TWinControl)
    // Where the page's top-left corner lies in the preview, unscrolled.
    static constexpr int Margin = 12;
    TPagePreview(TDesignerForm& Designer);
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
    // The components marked, in file order; found again by UpdateMarks while marks show
    // (after the page or its values change), empty while they do not.
    const std::vector<const TComponent*>& Marked() const { return FMarked; }
    void UpdateMarks();
    TVisionDeficiency Simulation() const { return FSimulation; }
    void SetSimulation(TVisionDeficiency Deficiency);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;

protected:
    void Paint(TCanvas& C) override;
    void Resized() override;

private:
    void SetScroll(int X, int Y);
    TDesignerForm& FDesigner;
    TScrollBar* FHorizontal;
    TScrollBar* FVertical;
    int FScrollX = 0, FScrollY = 0;
    bool FMarks = false;
    std::vector<const TComponent*> FMarked;
    TVisionDeficiency FSimulation = TVisionDeficiency::None;
};
