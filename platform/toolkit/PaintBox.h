#pragma once

#include "platform/toolkit/Control.h"

// A surface whose owner paints it in OnPaint. It draws nothing of its own, so its
// pixels stay until OnPaint or other drawing changes them.
class QELL_TOOLKIT_API TPaintBox : public TControl {
    QELL_CLASS(TPaintBox, TControl)
    static constexpr int DefaultWidth = 105, DefaultHeight = 105;
    explicit TPaintBox(TComponent* AOwner);
    TNotifyEvent OnPaint;

protected:
    void Paint(TCanvas& C) override;
};
