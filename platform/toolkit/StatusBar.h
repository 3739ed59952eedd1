#pragma once

#include "platform/toolkit/WinControl.h"

// A bar with one simple text panel.
class QELL_TOOLKIT_API TStatusBar : public TWinControl {
    QELL_CLASS(TStatusBar, TWinControl)
    static constexpr int DefaultWidth = 185, DefaultHeight = 19;
    explicit TStatusBar(TComponent* AOwner);
    bool SimplePanel = true;
    const std::string& SimpleText() const { return FSimpleText; }
    // Repaints the bar when the text changes.
    void SetSimpleText(const std::string& V);

protected:
    void Paint(TCanvas& C) override;

private:
    std::string FSimpleText;
};
