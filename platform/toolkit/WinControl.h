#pragma once
// A control that holds children and can take the keyboard focus.

#include <string>
#include <vector>

#include "platform/toolkit/Control.h"

class QELL_TOOLKIT_API TWinControl : public TControl {
    QELL_CLASS(TWinControl, TControl)
    explicit TWinControl(TComponent* AOwner);
    // Children are freed by their owners, not their parent; a parent freed first leaves
    // its remaining children without a parent.
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(static_cast<size_t>(Index)); }

    // Position among the parent's focusable children; Tab follows it.
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int V);
    bool TabStop = false;

    // Showing, enabled and a tab stop (or the form itself).
    virtual bool CanFocus() const;
    bool Focused() const;
    // Raises Exception "Cannot focus a disabled or invisible window" when it cannot.
    void SetFocus();

    // Repaints the part Area (this control's coordinates) on the next turn of the loop:
    // this control's own drawing clipped to it, then every child that overlaps it. What
    // a child leaves behind when it moves, shrinks or hides is repainted this way, so
    // that controls elsewhere on the parent are left as they are. Areas are painted as
    // one where their union is no larger than the two (one that overlaps or continues
    // another), else apart.
    void InvalidateRect(const TRect& Area);

    // The topmost showing, enabled child under (X, Y), in this control's coordinates,
    // searching down through child windows; nullptr over the control's own surface.
    TControl* ControlAtPos(int X, int Y) const;

    // Keyboard, delivered to the focused control by the form. KeyDown sets Key to 0
    // when it used the key.
    virtual void KeyDown(TKey& Key, TShiftState Shift);
    // A key that the focused control did not use goes round the form as a shortcut
    // (Enter, Escape, Alt+letter, Ctrl+Tab): each control claims the ones it answers
    // and says so. The default offers the key to the showing, enabled children in
    // order, depth first, until one claims it.
    virtual bool DialogKey(TKey Key, TShiftState Shift);
    // Whether Tab and Shift+Tab go to this control's KeyDown while it has the focus,
    // instead of moving the focus (a page whose components Tab steps through).
    virtual bool WantsTab() const { return false; }
    // Typed text (UTF-8), after KeyDown.
    virtual void TextInput(const std::string& Text);
    // Focus arrives or leaves; ByTab is true when Tab or Shift+Tab moved it.
    virtual void DoEnter(bool ByTab);
    virtual void DoExit();

protected:
    void PaintTree() override;
    // A child arrived (already in the list) or is about to leave (still in it). Not
    // called while this control itself is being destroyed.
    virtual void ControlInserted(TControl*) {}
    virtual void ControlRemoving(TControl*) {}

private:
    friend class TControl;
    friend class TForm;
    void PaintArea(const TRect& Area);
    void InsertControl(TControl* C);
    void RemoveControl(TControl* C);
    std::vector<TControl*> FControls; // z-order: later is on top
    int FTabOrder = -1;
};
