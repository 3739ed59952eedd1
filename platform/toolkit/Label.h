#pragma once

#include "platform/toolkit/Control.h"

// Static text; sizes itself to its caption when AutoSize is on.
class TLabel : public TControl {
public:
    explicit TLabel(TComponent* AOwner);
    std::string ClassName() const override { return "TLabel"; }
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
