#pragma once

#include "platform/toolkit/WinControl.h"

// A vertical scroll bar: arrows at both ends, a thumb as long as the page is to the
// range. Position runs from Min to Max - PageSize + 1 (at least Min); SetPosition
// clamps into that and fires OnChange when it changed. An arrow steps by SmallChange,
// the track by a page, and the thumb follows a drag.
class QELL_TOOLKIT_API TScrollBar : public TWinControl {
    QELL_CLASS(TScrollBar, TWinControl)
    static constexpr int DefaultWidth = 16, DefaultHeight = 121;
    explicit TScrollBar(TComponent* AOwner);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int PageSize() const { return FPageSize; }
    // Sets the range and the page at once, keeping the position inside them.
    void SetParams(int AMin, int AMax, int APageSize);
    int Position() const { return FPosition; }
    void SetPosition(int V);
    int SmallChange = 1;
    TNotifyEvent OnChange;

    // The thumb in control coordinates; empty when the page covers the whole range.
    TRect ThumbRect() const;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;

protected:
    void Paint(TCanvas& C) override;

private:
    int MaxPosition() const;
    int ArrowSize() const;
    int FMin = 0, FMax = 100, FPageSize = 10, FPosition = 0;
    bool FDragging = false;
    int FDragOffset = 0; // pointer minus thumb top, during a drag
};
