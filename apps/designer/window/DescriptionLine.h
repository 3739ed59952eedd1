#pragma once
// The line below the inspector: what the selected row is (its path, type and default),
// one sentence on what it does, and for a colour the pairs it is drawn in, with their
// contrast and verdicts.

#include <string>
#include <vector>

#include "platform/toolkit/Control.h"

class TDescriptionLine : public TControl {
    QELL_CLASS(TDescriptionLine, TControl)
    static constexpr int LineHeight = 15, Padding = 3, MaxLines = 6;
    static constexpr int DefaultHeight = MaxLines * LineHeight + 2 * Padding;
    explicit TDescriptionLine(TComponent* AOwner);

    const std::vector<std::string>& Lines() const { return FLines; }
    // Shows Lines, at most MaxLines of them, each broken at spaces to the line's width;
    // what does not fit in the box is cut.
    void SetLines(std::vector<std::string> Lines);

protected:
    void Paint(TCanvas& C) override;

private:
    std::vector<std::string> FLines;
};
