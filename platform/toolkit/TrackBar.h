#pragma once

#include "platform/toolkit/WinControl.h"

enum TTrackBarOrientation { trHorizontal, trVertical };
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTTrackBarOrientation;

// A slider. Min is at the left, or at the top when vertical. SetPosition clamps the
// value into Min..Max (a value outside shows and reads as the nearest end) and fires
// OnChange when the position changed. Arrow keys move by one, Page Up/Down by
// PageSize, Home/End to the ends; a drag moves the thumb with the pointer.
class QELL_TOOLKIT_API TTrackBar : public TWinControl {
    QELL_CLASS(TTrackBar, TWinControl)
    static constexpr int DefaultWidth = 150, DefaultHeight = 45;
    explicit TTrackBar(TComponent* AOwner);

    TTrackBarOrientation Orientation = trHorizontal;
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    void SetMin(int V);
    void SetMax(int V);
    int Position() const { return FPosition; }
    void SetPosition(int V);
    // A tick every Frequency positions.
    int Frequency = 1;
    int PageSize = 2;
    TNotifyEvent OnChange;

    // The position that a pointer at (X, Y) stands for.
    int PositionAt(int X, int Y) const;
    TRect ThumbRect() const;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(TKey& Key, TShiftState Shift) override;

protected:
    void Paint(TCanvas& C) override;

private:
    int FMin = 0, FMax = 10, FPosition = 0;
    bool FDragging = false;
    int FDragOffset = 0; // pointer minus thumb centre along the track, during a drag
    int TrackStart() const;
    int TrackEnd() const;
    int PositionToPixel(int P) const;
};
