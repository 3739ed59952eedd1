#pragma once

#include "platform/toolkit/Control.h"

// Static text; sizes itself to its caption when AutoSize is on.
class QELL_TOOLKIT_API TLabel : public TControl {
    QELL_CLASS(TLabel, TControl)
    static constexpr int DefaultWidth = 65, DefaultHeight = 13;
    explicit TLabel(TComponent* AOwner);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& V);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool V);

protected:
    void Paint(TCanvas& C) override;

private:
    void AdjustSize();
    std::string FCaption;
    bool FAutoSize = true;
};
