#pragma once
// A drag in the page, from the press to the release, in page coordinates: placing a
// component of the class being placed, moving the selected components, resizing the one
// selected by one of its handles, or selecting what a rubber band touches. Moves and
// resizes change the page at once through the document (every view follows) and become
// one undo step when the drag ends; Cancel (Escape) puts everything back.

#include "apps/designer/document/PageDocument.h"
#include "apps/designer/window/Snapping.h"

// The preview's grid: what moves and sizes snap to, and whether it is drawn.
struct TGridSettings {
    bool Snap = true;
    bool Show = false;
    int Size = 8;
    // How near an edge or a centre must come to catch another.
    static constexpr int Reach = 4;
};

class TPageDrag {
public:
    enum class TKind { None, Place, Move, Resize, Band };
    // A press must travel this far before it moves anything: a click moves nothing.
    static constexpr int Threshold = 3;
    TPageDrag(TPageDocument& Document, const TGridSettings& Grid) : FDocument(Document), FGrid(Grid) {}

    TKind Kind() const { return FKind; }
    // Handles of a rectangle, clockwise from the top-left: 0 top-left, 1 top, 2 top-right,
    // 3 right, 4 bottom-right, 5 bottom, 6 bottom-left, 7 left.
    static TMovingEdges EdgesOf(int Handle);

    void BeginPlace(TPoint P);
    // The selected controls move together.
    void BeginMove(TPoint P);
    // Control is the one selected; Handle as above.
    void BeginResize(TPoint P, TQellControl& Control, int Handle);
    // Keep: the components touched join the selection (Ctrl), else replace it.
    void BeginBand(TPoint P, bool Keep);
    // The pointer at P; Snap false (Alt held) turns snapping off for this step.
    void MoveTo(TPoint P, bool Snap);
    // The release: the drag's change made (one undo step), the placed component or
    // the band's components selected.
    void End();
    // Escape: the page as before the drag; placing stops too.
    void Cancel();

    // What to draw while it lasts: the lines of the snaps applied, and the rectangle
    // of a band or of a component being placed (empty when none).
    const TSnapGuides& Guides() const { return FGuides; }
    TRect Outline() const;
    // The handle being dragged, for the pointer's shape; -1 when none.
    int Handle() const { return FKind == TKind::Resize ? FHandle : -1; }

private:
    void Reset();
    TPageDocument& FDocument;
    const TGridSettings& FGrid;
    TKind FKind = TKind::None;
    TPoint FStart, FNow;
    bool FTravelled = false; // past the threshold
    bool FKeep = false;
    int FHandle = -1;
    std::vector<TPageDocument::TBounds> FFrom; // the controls moved, as they were
    TSnapTargets FTargets;
    TSnapGuides FGuides;
};
