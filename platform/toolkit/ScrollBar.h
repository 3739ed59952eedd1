#pragma once

#include "platform/toolkit/WinControl.h"

enum TScrollBarKind { sbHorizontal, sbVertical };
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTScrollBarKind;

// A scroll bar, vertical unless its Kind says horizontal: arrows at both ends, a thumb as long as the page is to the
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
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind V);

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
    // The bar's length along its direction, its thickness across it, and a point's
    // place along it.
    int Length() const { return FKind == sbVertical ? Height() : Width(); }
    int Thickness() const { return FKind == sbVertical ? Width() : Height(); }
    int Along(int X, int Y) const { return FKind == sbVertical ? Y : X; }
    // The part of the bar from Start to End along it.
    TRect Span(int Start, int End) const;
    TScrollBarKind FKind = sbVertical;
    int FMin = 0, FMax = 100, FPageSize = 10, FPosition = 0;
    bool FDragging = false;
    int FDragOffset = 0; // pointer minus thumb top, during a drag
};
