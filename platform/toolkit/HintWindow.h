#pragma once
// A hint: a small box of text shown over a form near the pointer, for what a control
// cannot show whole (a value cut off by its column) or has to say of what lies there.
// It takes no input: the pointer and clicks reach what lies under it.

#include <string>

#include "platform/toolkit/Control.h"

class TForm;

class QELL_TOOLKIT_API THintWindow : public TControl {
    QELL_CLASS(THintWindow, TControl)
    static constexpr int Padding = 3;
    explicit THintWindow(TComponent* AOwner);

    const std::string& Text() const { return FText; }
    // Shows Text on Form with its top-left corner at (X, Y) in the form's client
    // coordinates, moved left or up as far as needed to lie within the form. A line
    // feed in Text starts a line below.
    void ShowAt(TForm& Form, int X, int Y, const std::string& Text);
    void Hide();

protected:
    void Paint(TCanvas& C) override;

private:
    std::string FText;
};
