#pragma once

#include "platform/toolkit/Control.h"

// A surface whose owner paints it in OnPaint. It draws nothing of its own, so its
// pixels stay until OnPaint or other drawing changes them.
class TPaintBox : public TControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    std::string ClassName() const override { return "TPaintBox"; }
    TNotifyEvent OnPaint;

protected:
    void Paint(TCanvas& C) override;
};
