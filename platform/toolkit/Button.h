#pragma once

#include "platform/toolkit/WinControl.h"

// A push button. "&" in the caption marks the mnemonic letter ("&&" is a plain "&").
// A click fires OnClick, then sets the form's ModalResult to ModalResult if that is
// not mrNone.
class QELL_TOOLKIT_API TButton : public TWinControl {
    QELL_CLASS(TButton, TWinControl)
    static constexpr int DefaultWidth = 75, DefaultHeight = 25;
    explicit TButton(TComponent* AOwner);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& V);
    // The mnemonic letter in uppercase, or 0.
    char Mnemonic() const;
    bool Default = false; // pressed by Enter
    bool Cancel = false;  // pressed by Escape
    TModalResult ModalResult = mrNone;

    void Click() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(TKey& Key, TShiftState Shift) override;
    // Enter when Default, Escape when Cancel, Alt with the mnemonic letter: a click.
    bool DialogKey(TKey Key, TShiftState Shift) override;

protected:
    void Paint(TCanvas& C) override;

private:
    std::string FCaption;
    bool FPressed = false;
};
