#pragma once
// A bar between two panes that the user drags to share the room between them. A
// vertical one stands between panes side by side and is dragged across; a horizontal
// one lies between panes one above the other and is dragged up and down. The pointer
// over it shows the double arrow of its direction.
//
// It knows nothing of the panes: a drag moves the bar itself, within MinPosition and
// MaxPosition, and OnMoved lets whoever lays the panes out follow it (and set the
// range again for the new layout). A double click fires OnDblClick (to give a pane
// back its own size, say).

#include <vector>

#include "platform/toolkit/Control.h"

enum TSplitterKind { skVertical, skHorizontal };

class QELL_TOOLKIT_API TSplitter : public TControl {
    QELL_CLASS(TSplitter, TControl)
    static constexpr int DefaultThickness = 8;
    explicit TSplitter(TComponent* AOwner);

    TSplitterKind Kind() const { return FKind; }
    // Sets the direction, and the pointer's shape with it.
    void SetKind(TSplitterKind V);
    // The bar's left edge (vertical) or top edge (horizontal) in its parent.
    int Position() const { return FKind == skVertical ? Left() : Top(); }
    // Where a drag may take Position; a drag that goes further stops at the end. Code
    // that moves the bar through SetBounds is not held to it.
    int MinPosition = 0, MaxPosition = MaxCoordinate;
    // A drag moved the bar (each step that changed Position, the bar already moved).
    TNotifyEvent OnMoved;
    TNotifyEvent OnDblClick;
    // Whether a drag that began on the bar is under way.
    bool Dragging() const { return FDragging; }

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void Paint(TCanvas& C) override;

private:
    int Along(int X, int Y) const { return FKind == skVertical ? X : Y; }
    TSplitterKind FKind = skVertical;
    bool FDragging = false;
    int FGrab = 0; // where along the bar the pointer took hold of it
};

// Panes in a row (or a column) that share a length, as splitters divide it: each wants
// a size and has a smallest; one of them, the flexible one, takes what the others leave.
struct TPaneSpan {
    int Wanted = 0, Min = 0;
};
// The sizes of Spans in Room (the length less the splitters): each its wanted size (at
// least its smallest), the flexible one the rest. Where that rest would be less than the
// flexible pane's smallest, the others give up room in proportion to what they have
// above their own smallest, down to it; where even the smallest sizes do not fit, each
// other pane is its smallest and the flexible one gets what is left (none when nothing
// is). Wanted sizes stay as they are, so the panes get them back as the room grows.
QELL_TOOLKIT_API std::vector<int> FitSpans(const std::vector<TPaneSpan>& Spans, size_t Flexible, int Room);
