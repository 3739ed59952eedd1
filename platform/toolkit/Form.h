#pragma once
// A top-level window with its own retained surface, run modally by the application.

#include <optional>
#include <string>

#include "platform/graphics/Bitmap.h"
#include "platform/toolkit/WinControl.h"

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTBorderStyle;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTPosition;

class QELL_TOOLKIT_API TForm : public TWinControl {
    QELL_CLASS(TForm, TWinControl)
    static constexpr int DefaultClientWidth = 320, DefaultClientHeight = 240;
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& V);
    // The client area is the whole surface; Width/Height equal it (no frame is drawn).
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }
    void SetClientWidth(int V) { SetWidth(V); }
    void SetClientHeight(int V) { SetHeight(V); }
    TBorderStyle BorderStyle = bsSizeable;
    // The smallest client size a user may give a sizeable form (0: no limit).
    int MinClientWidth = 0, MinClientHeight = 0;
    TPosition Position = poDesigned;
    int PixelsPerInch = 96;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    // Asked before the user's close ends the form (the window's close button, or Close
    // from code); setting CanClose to false keeps it open.
    TCloseQueryEvent OnCloseQuery;

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult V) { FModalResult = V; }
    // Shows the form and runs the application's loop until ModalResult is set (or the
    // event source ends: mrCancel). Answers the modal result.
    TModalResult ShowModal();
    // Ends the modal run with mrCancel, when OnCloseQuery allows it.
    void Close();
    // Whether the form may close now: OnCloseQuery's answer, true without one.
    virtual bool CloseQuery();
    bool Modal() const { return FModal; }

    // The retained surface, the size of the client area. It is sized when first used
    // after a resize (what it held is then gone), so building a form costs no pixels.
    TBitmap& Surface();
    const TBitmap& Surface() const { return const_cast<TForm*>(this)->Surface(); }

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* C);

    // A derived form calls this at the end of its constructor, after reading its
    // resource: it fires OnCreate. Calls it at most once.
    void AfterConstruction();
    // A derived form calls this first in its destructor, while its handlers can still
    // run: it fires OnDestroy. Runs at most once; ~TForm calls it too.
    void BeforeDestruction();

    // Input from a back end, in client coordinates. The form finds the target control
    // (topmost showing, enabled, under the pointer, or the one that captured the mouse
    // with a press), converts the coordinates and calls its handlers; over the form's
    // own surface the form's handlers run.
    void HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void HandleMouseMove(TShiftState Shift, int X, int Y);
    void HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // The wheel over (X, Y): the control under the pointer, then its parents, until one
    // scrolls.
    void HandleMouseWheel(TShiftState Shift, int Delta, int X, int Y);
    // The pointer left the form's window.
    void HandleMouseLeave();
    // The user gave the window a new client size: the form takes it, as far as its
    // minimum allows, lays itself out and paints everything again.
    void HandleResize(int ClientWidth, int ClientHeight);
    // Tab and Shift+Tab move focus in tab order; any other key goes to the focused
    // control, and when that does not use it, round the form as a dialog key (Enter
    // presses the default button, Escape the cancel button, Alt+letter the button with
    // that mnemonic, Ctrl+Tab turns the page that holds the focus).
    void HandleKeyDown(TKey Key, TShiftState Shift);
    void HandleTextInput(const std::string& Text);
    // The pointer is no longer this form's: another form runs modally over it and gets
    // the release of a press made here. The press's capture and held buttons go, so
    // that the next click reaches the control under it.
    void CancelMouseCapture();

    // Moves focus to the next (or previous) focusable control in tab order.
    void SelectNext(bool Forward);

    // Paints the whole form now, then everything pending.
    void PaintAll();
    // Paints controls invalidated since the last turn; answers whether any pixel of the
    // surface, or the caption, may have changed since the last call (the back end then
    // presents it).
    bool FlushPaint();
    // Paints C now: itself and its children, and when a control later in z-order
    // overlaps it, everything over its area in z-order, so that what lies on top stays.
    void PaintControl(TControl* C);
    // Paints Area of C (C's coordinates), and what lies on top of it there.
    void PaintControlArea(TWinControl* C, const TRect& Area);

protected:
    void Paint(TCanvas& C) override;
    void ComponentRemoved(TComponent* C) override;

private:
    friend class TControl;
    friend class TWinControl;
    void ForgetControl(TControl* C);
    void MarkInvalid(TControl* C);
    void MarkInvalidArea(TWinControl* C, const TRect& Area);
    void MarkPainted() { FSurfaceChanged = true; }

    std::string FCaption;
    TBitmap FSurface;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FCreated = false;
    bool FDestroyed = false;
    bool FSurfaceChanged = false;
    bool FFocusByTab = false;        // the focus change under way comes from Tab
    TShiftState FMouseButtons;       // buttons held, as ssLeft/ssRight/ssMiddle
    TWinControl* FActiveControl = nullptr;
    TControl* FCaptureControl = nullptr;
    TControl* FHoverControl = nullptr;
    std::vector<TControl*> FInvalid;
    std::vector<TControl*> FPainting; // what FlushPaint is painting this turn
    struct TInvalidArea {
        TWinControl* Control;
        TRect Area;
    };
    std::vector<TInvalidArea> FInvalidAreas;
    // Set while an area is repainted: every canvas is clipped to it.
    std::optional<TRect> FPaintClip;
    std::vector<TInvalidArea> FPaintingAreas;
};
