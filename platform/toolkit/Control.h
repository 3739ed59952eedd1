#pragma once
// The base of everything on a form: bounds, parent, visibility, colour and font,
// painting and mouse.

#include <memory>
#include <string>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Font.h"
#include "platform/rtl/Classes.h"
#include "platform/toolkit/Events.h"
#include "platform/toolkit/Export.h"

class TWinControl;
class TForm;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTAnchorKind;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTAnchors;

// Controls lie within these coordinates and sizes, and a form's client area within
// MaxFormSize each way, so that no value read from a resource makes a surface that
// cannot be allocated.
constexpr int MaxCoordinate = 32767;
constexpr int MaxFormSize = 8192;

// The pointer's shape over a control: the arrow, a cross for drawing, or the double
// arrows that say which way a drag will size or move something.
enum TCursor { crDefault, crCross, crSizeAll, crSizeWE, crSizeNS, crSizeNWSE, crSizeNESW };

class QELL_TOOLKIT_API TControl : public TComponent {
    QELL_CLASS(TControl, TComponent)
    explicit TControl(TComponent* AOwner);
    // Leaves the parent; the form forgets it as focus, capture or hover target.
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    void SetParent(TWinControl* AParent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    void SetLeft(int V) { SetBounds(V, FTop, FWidth, FHeight); }
    void SetTop(int V) { SetBounds(FLeft, V, FWidth, FHeight); }
    void SetWidth(int V) { SetBounds(FLeft, FTop, V, FHeight); }
    void SetHeight(int V) { SetBounds(FLeft, FTop, FWidth, V); }
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

    // Which parent edges keep their distance when the parent is resized.
    TAnchors Anchors{akLeft, akTop};

    bool Visible() const { return FVisible; }
    void SetVisible(bool V);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool V);
    // Visible, with every parent visible, up to a form.
    bool Showing() const;

    // Background colour. Setting it stops following the parent's; with ParentColor the
    // parent's colour is used instead.
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool V);
    TColor EffectiveColor() const;
    // Text font. Changing it (through SetFont or the font's setters) stops following
    // the parent's; with ParentFont the parent's font is used instead.
    const TFont& Font() const { return FFont; }
    TFont& Font() { return FFont; }
    void SetFont(const TFont& V) { FFont = V; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool V);
    const TFont& EffectiveFont() const;

    // The form this control is on (itself for a form), or nullptr.
    TForm* ParentForm() const;
    // Top-left corner in the form's surface coordinates.
    TPoint SurfaceOrigin() const;
    // The visible part of the control in surface coordinates (empty when not showing).
    TRect SurfaceClip() const;

    // A canvas bound to the form's surface at this control, clipped to what shows.
    // Pen, brush and font settings persist between calls.
    TCanvas& Canvas();
    // Paints the control (and its children) now.
    void Repaint();
    // Paints it on the next turn of the modal loop.
    void Invalidate();

    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick;

    // Called by the form's input dispatch, in control coordinates. The defaults fire
    // the matching events.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // The wheel turned Delta notches (positive: away from the user) over the control;
    // answers whether it scrolled. The form offers it to the parents while none does.
    virtual bool MouseWheel(TShiftState Shift, int Delta, int X, int Y);
    virtual void Click();
    // The pointer has moved off the control (to another control, or out of the form).
    virtual void MouseLeave() {}
    // The pointer's shape over (X, Y) of the control; the form shows it as the pointer
    // moves, and while a drag that began here lasts. The default: Cursor.
    TCursor Cursor = crDefault;
    virtual TCursor CursorAt(int X, int Y) const;

protected:
    // Draws the control's own look on a canvas bound to it. The default draws nothing.
    virtual void Paint(TCanvas&) {}
    // Called after the bounds changed.
    virtual void Resized() {}
    friend class TWinControl;
    friend class TForm;
    // Paints this control, then its children in z-order; used by Repaint and the loop.
    virtual void PaintTree();

private:
    void FontChanged();
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    TFont FFont;
    bool FParentFont = true;
    TCanvas FCanvas;
};
