#pragma once
// The line below the inspector: what the selected row is (its path, type and default),
// one sentence on what it does, and for a colour the pairs it is drawn in, with their
// contrast and verdicts.
//
// It grows with its text: HeightNeeded tells the pane that lays it out how high it must
// be to show every line, from DefaultHeight up to MaxHeight. What does not fit the
// height it is given scrolls, by the wheel or the scroll bar at its right.

#include <string>
#include <vector>

#include "platform/toolkit/ScrollBar.h"
#include "platform/toolkit/WinControl.h"

class TDescriptionLine : public TWinControl {
    QELL_CLASS(TDescriptionLine, TWinControl)
    static constexpr int LineHeight = 15, Padding = 3, MinLines = 6, MaxLines = 12;
    static constexpr int DefaultHeight = MinLines * LineHeight + 2 * Padding;
    static constexpr int MaxHeight = MaxLines * LineHeight + 2 * Padding;
    explicit TDescriptionLine(TComponent* AOwner);

    const std::vector<std::string>& Lines() const { return FLines; }
    // The lines as drawn: Lines broken to the width.
    const std::vector<std::string>& ShownLines() const { return FShown; }
    // Shows Lines from the first, each broken at spaces to the width where it is wider.
    void SetLines(std::vector<std::string> Lines);
    // The height that shows every line at AWidth, within DefaultHeight and MaxHeight.
    int HeightNeeded(int AWidth) const;

    bool MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;

protected:
    void Paint(TCanvas& C) override;
    void Resized() override;

private:
    // The lines broken to Width, one string a line shown.
    std::vector<std::string> Broken(int Width) const;
    // Breaks the lines to the width and shows the scroll bar when they overflow.
    void Layout();

    std::vector<std::string> FLines;
    std::vector<std::string> FShown; // FLines broken to the room beside the scroll bar, if shown
    int FHeightNeeded = DefaultHeight; // at the width the line has
    TScrollBar* FScrollBar;
};
