#pragma once

#include "platform/toolkit/WinControl.h"

// A bar with one simple text panel.
class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    std::string ClassName() const override { return "TStatusBar"; }
    bool SimplePanel = true;
    const std::string& SimpleText() const { return FSimpleText; }
    // Repaints the bar when the text changes.
    void SetSimpleText(const std::string& V);

protected:
    void Paint(TCanvas& C) override;

private:
    std::string FSimpleText;
};
