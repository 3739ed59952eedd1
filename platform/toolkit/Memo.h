#pragma once

#include <string>
#include <vector>

#include "platform/toolkit/WinControl.h"

// A text box of several lines, the text's lines separated by line feeds. Enter breaks
// the line (so a form's default button does not take it); Up and Down move to the line
// above or below, as near the same place as its text allows; Home and End go to the
// line's ends, Ctrl+Home and Ctrl+End to the text's; Shift with any of these, or with
// Left and Right, selects. The box scrolls to keep the caret in view, and the wheel
// scrolls it. OnChange fires at once on every change of the text, whether code or the
// user made it.
class QELL_TOOLKIT_API TMemo : public TWinControl {
    QELL_CLASS(TMemo, TWinControl)
    static constexpr int DefaultWidth = 185, DefaultHeight = 89;
    explicit TMemo(TComponent* AOwner);

    const std::string& Text() const { return FText; }
    // Replaces the text, puts the caret at its end and clears the selection. Carriage
    // returns, alone or before a line feed, become line feeds.
    void SetText(const std::string& V);
    TNotifyEvent OnChange;
    // The number of lines (one for an empty text; a text ending in a line feed has an
    // empty last line), and the line at Index without its line feed.
    int LineCount() const { return static_cast<int>(LineStarts().size()); }
    std::string Lines(int Index) const;

    // Caret and selection as byte offsets into Text, as in TEdit.
    int SelStart() const { return FSelStart; }
    int SelLength() const { return FSelLength; }
    void SetSelStart(int V);
    void SelectAll();
    // The first line shown.
    int TopLine() const { return FTopLine; }

    void KeyDown(TKey& Key, TShiftState Shift) override;
    void TextInput(const std::string& Text) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;

protected:
    void Paint(TCanvas& C) override;
    void Resized() override;

private:
    // Where each line starts in FText: found again from the text when asked, so that
    // nothing else has to be kept in step with it.
    std::vector<int> LineStarts() const;
    int LineOf(const std::vector<int>& Starts, int Pos) const;
    int LineEnd(const std::vector<int>& Starts, int Line) const;
    int LineHeight() const;
    int VisibleLines() const;
    // The character boundary of Line nearest X pixels from the line's start.
    int PosAtX(const std::vector<int>& Starts, int Line, int X) const;
    int XOf(const std::vector<int>& Starts, int Pos) const;
    int Caret() const { return FCaretAtStart ? FSelStart : FSelStart + FSelLength; }
    void MoveCaret(int To, bool Extend);
    void ReplaceSelection(const std::string& With);
    // Scrolls so that the caret shows.
    void ScrollToCaret();
    std::string FText;
    int FSelStart = 0, FSelLength = 0;
    bool FCaretAtStart = false; // a selection made backwards
    int FTopLine = 0;
    int FScrollX = 0; // pixels of every line scrolled out on the left
};
