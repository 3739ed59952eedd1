#pragma once
// A context menu: a box of items opened over a form at a point (where a right click
// was), drawn like the toolkit's lists. The pointer or Up and Down make an item hot;
// a click or Enter chooses it: the menu closes, then the item's action runs. Escape,
// a click anywhere outside the box, or the focus going elsewhere closes it without
// choosing. Separators and disabled items cannot be chosen.
//
// While open the control covers the whole form, drawing only its box, so that the
// click outside reaches the menu (which closes) and goes no further, as a menu's does.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit/WinControl.h"

// A caption may end in a tab and the key that does the same ("Copy\tCtrl+C"): the key
// shows at the item's right, and the item is found by the text before the tab.
struct TMenuItem {
    std::string Caption;
    bool Enabled = true;
    bool Checked = false;   // a tick before the caption
    bool Separator = false; // a line between groups; its other fields are unused
    std::function<void()> OnClick;
    // A square of this colour in place of the tick, for a colour to choose.
    std::optional<TColor> Swatch = std::nullopt;
};

// Fires once the menu has closed, chosen or not; HadFocus tells whether the menu held
// the focus then (closed by a key, a click or from code rather than by the focus
// moving away), so that the opener can take it back.
using TPopupCloseEvent = std::function<void(bool HadFocus)>;

class QELL_TOOLKIT_API TPopupMenu : public TWinControl {
    QELL_CLASS(TPopupMenu, TWinControl)
    static constexpr int ItemHeight = 18, SeparatorHeight = 7, Border = 2, CheckWidth = 16, TextPadding = 8,
                         ShortCutGap = 24;
    explicit TPopupMenu(TComponent* AOwner);

    // Read when the menu opens.
    std::vector<TMenuItem> Items;
    TPopupCloseEvent OnClose;

    // Opens the menu on Form with its box's top-left corner at (X, Y) in the form's
    // client coordinates, moved left and up as far as needed to lie within the form
    // (to its top-left corner when the form is smaller than the box). The menu takes
    // the focus; no item is hot. Opening an open menu moves it.
    void Popup(TForm& Form, int X, int Y);
    bool IsOpen() const { return Visible() && Parent(); }
    // Closes the menu without choosing; nothing when it is closed.
    void CloseUp();

    // The box in the control's coordinates, which are the form's while open.
    TRect MenuRect() const { return FMenuRect; }
    // An item's rectangle, or empty for an index out of range.
    TRect ItemRect(int Index) const;
    // The item under (X, Y), separators included, or -1.
    int ItemAtPos(int X, int Y) const;
    // The first item with this caption (without case; the text before its tab), or -1.
    int IndexOfCaption(std::string_view Caption) const;
    // Whether the item can be chosen: in range, enabled and not a separator.
    bool CanChoose(int Index) const;
    int HotItem() const { return FHot; }
    void SetHotItem(int Index);
    // Chooses the item as a click does: closes the menu, then runs its action. An item
    // that cannot be chosen changes nothing and the menu stays open.
    void ClickItem(int Index);

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(TKey& Key, TShiftState Shift) override;
    bool DialogKey(TKey Key, TShiftState Shift) override;
    void DoExit() override;

protected:
    void Paint(TCanvas& C) override;

private:
    int HeightOf(int Index) const;
    // The next item that can be chosen from From in Step's direction, wrapping; -1
    // when there is none.
    int NextChoosable(int From, int Step) const;

    TRect FMenuRect;
    int FHot = -1;
    int FPressed = -1; // the item a press inside the box began on
};

// The event-script verb `menu "item"`: a click on the item of the open menu with that
// caption. Registered by the toolkit's unit StdCtrls.
void RegisterPopupMenuScriptVerbs();
