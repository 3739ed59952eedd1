#pragma once

#include "platform/toolkit/WinControl.h"

// A one-line text field. OnChange fires at once on every change of the text, whether
// code or the user made it.
class QELL_TOOLKIT_API TEdit : public TWinControl {
    QELL_CLASS(TEdit, TWinControl)
    static constexpr int DefaultWidth = 121, DefaultHeight = 21;
    explicit TEdit(TComponent* AOwner);

    const std::string& Text() const { return FText; }
    // Replaces the text, puts the caret at its end and clears the selection.
    void SetText(const std::string& V);
    TNotifyEvent OnChange;

    // Caret and selection as byte offsets into Text (the selection runs from SelStart
    // for SelLength bytes; the caret sits at its end).
    int SelStart() const { return FSelStart; }
    int SelLength() const { return FSelLength; }
    void SetSelStart(int V);
    void SetSelLength(int V);
    void SelectAll();
    // The most characters the user may type in; 0 for no limit. Text set by code is
    // not cut.
    int MaxLength = 0;
    // Shown in grey while the text is empty: what to type here ("Filter (Ctrl+F)").
    std::string TextHint;

    void KeyDown(TKey& Key, TShiftState Shift) override;
    void TextInput(const std::string& Text) override;
    void DoEnter(bool ByTab) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void Paint(TCanvas& C) override;

private:
    // The part of the text the field shows: bytes First to Last, First drawn at X.
    struct TShownText {
        int First, Last, X;
    };
    // Only the characters around the caret are measured, so that painting, and so a
    // keystroke, costs the same however long the text.
    TShownText ShownText(TCanvas& C) const;
    void ReplaceSelection(const std::string& With);
    void ChangeText(std::string V);
    std::string FText;
    int FSelStart = 0, FSelLength = 0;
    bool FCaretAtStart = false; // a selection made leftwards by Shift+arrows
    int Caret() const { return FCaretAtStart ? FSelStart : FSelStart + FSelLength; }
    void MoveCaret(int To, bool Extend);
};
