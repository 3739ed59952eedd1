#pragma once

#include "platform/toolkit/WinControl.h"

// A one-line text field. OnChange fires at once on every change of the text, whether
// code or the user made it. The text is shown laid out as TCanvas draws it, right-to-
// left words in visual order; the arrows, Backspace and Delete move, select and delete
// whole grapheme clusters (a letter with its marks, an emoji with its modifiers, a
// Hangul syllable), and the caret follows the logical order of the text.
class QELL_TOOLKIT_API TEdit : public TWinControl {
    QELL_CLASS(TEdit, TWinControl)
    static constexpr int DefaultWidth = 121, DefaultHeight = 21;
    explicit TEdit(TComponent* AOwner);

    const std::string& Text() const { return FText; }
    // Replaces the text, puts the caret at its end and clears the selection.
    void SetText(const std::string& V);
    TNotifyEvent OnChange;

    // Caret and selection as byte offsets into Text (the selection runs from SelStart
    // for SelLength bytes; the caret sits at its end). Code may set them anywhere; the
    // keys and the mouse put them on grapheme boundaries.
    int SelStart() const { return FSelStart; }
    int SelLength() const { return FSelLength; }
    void SetSelStart(int V);
    void SetSelLength(int V);
    void SelectAll();
    // The most characters (grapheme clusters) the user may type in; 0 for no limit.
    // Text set by code is not cut.
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
    // The part of the text the field lays out: bytes First to Last, its layout's left
    // edge drawn at X.
    struct TShownText {
        int First, Last, X;
        std::shared_ptr<const TTextLayout> Layout;
    };
    // A long text is laid out only around the caret, so that painting, and so a
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
