#include "platform/toolkit/PopupMenu.h"

#include <algorithm>
#include <utility>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/script/EventScript.h"

namespace {

// A caption's text and the key after its tab, if any.
std::pair<std::string, std::string> SplitCaption(const std::string& Caption)
{
    const size_t Tab = Caption.find('\t');
    if (Tab == std::string::npos) return {Caption, {}};
    return {Caption.substr(0, Tab), Caption.substr(Tab + 1)};
}

} // namespace

QELL_DEFINE_CLASS_INFO(TPopupMenu)

TPopupMenu::TPopupMenu(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetVisible(false);
}

void TPopupMenu::Popup(TForm& Form, int X, int Y)
{
    // Over everything else on the form: its last control.
    if (Parent() != &Form || Form.Controls(Form.ControlCount() - 1) != this) {
        SetParent(nullptr);
        SetParent(&Form);
    }
    TCanvas Measure;
    Measure.Font = EffectiveFont();
    int Widest = 0, WidestKey = 0, Height = 0;
    for (int I = 0; I < static_cast<int>(Items.size()); ++I) {
        const TMenuItem& Item = Items[static_cast<size_t>(I)];
        if (!Item.Separator) {
            const auto [Text, Key] = SplitCaption(Item.Caption);
            Widest = std::max(Widest, Measure.TextWidth(Text));
            WidestKey = std::max(WidestKey, Key.empty() ? 0 : Measure.TextWidth(Key) + ShortCutGap);
        }
        Height += HeightOf(I);
    }
    const int W = Widest + WidestKey + CheckWidth + 2 * TextPadding + 2 * Border, H = Height + 2 * Border;
    X = std::clamp(X, 0, std::max(0, Form.ClientWidth() - W));
    Y = std::clamp(Y, 0, std::max(0, Form.ClientHeight() - H));
    FMenuRect = Bounds(X, Y, W, H);
    FHot = FPressed = -1;
    SetBounds(0, 0, Form.ClientWidth(), Form.ClientHeight());
    SetVisible(true);
    Invalidate();
    SetFocus();
}

void TPopupMenu::CloseUp()
{
    if (!IsOpen()) return;
    const bool HadFocus = Focused();
    FHot = FPressed = -1;
    SetVisible(false);
    if (OnClose) OnClose(HadFocus);
}

int TPopupMenu::HeightOf(int Index) const
{
    return Items[static_cast<size_t>(Index)].Separator ? SeparatorHeight : ItemHeight;
}

TRect TPopupMenu::ItemRect(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(Items.size())) return {};
    int Top = FMenuRect.Top + Border;
    for (int I = 0; I < Index; ++I) Top += HeightOf(I);
    return Rect(FMenuRect.Left + Border, Top, FMenuRect.Right - Border, Top + HeightOf(Index));
}

int TPopupMenu::ItemAtPos(int X, int Y) const
{
    if (X < FMenuRect.Left + Border || X >= FMenuRect.Right - Border) return -1;
    int Top = FMenuRect.Top + Border;
    for (int I = 0; I < static_cast<int>(Items.size()); ++I) {
        const int Bottom = Top + HeightOf(I);
        if (Y >= Top && Y < Bottom) return I;
        Top = Bottom;
    }
    return -1;
}

int TPopupMenu::IndexOfCaption(std::string_view Caption) const
{
    for (int I = 0; I < static_cast<int>(Items.size()); ++I)
        if (const TMenuItem& Item = Items[static_cast<size_t>(I)];
            !Item.Separator && SameText(SplitCaption(Item.Caption).first, Caption))
            return I;
    return -1;
}

bool TPopupMenu::CanChoose(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(Items.size())) return false;
    const TMenuItem& Item = Items[static_cast<size_t>(Index)];
    return Item.Enabled && !Item.Separator;
}

void TPopupMenu::SetHotItem(int Index)
{
    if (!CanChoose(Index)) Index = -1;
    if (Index == FHot) return;
    FHot = Index;
    Invalidate();
}

int TPopupMenu::NextChoosable(int From, int Step) const
{
    const int Count = static_cast<int>(Items.size());
    for (int N = 1; N <= Count; ++N) {
        // From -1 going up starts at the last item.
        const int I = ((From + Step * N) % Count + Count) % Count;
        if (CanChoose(I)) return I;
    }
    return -1;
}

void TPopupMenu::ClickItem(int Index)
{
    if (!IsOpen() || !CanChoose(Index)) return;
    // The action may open a modal box or free the opener's rows: the menu is gone first,
    // and the action is a copy, since the opener may refill Items.
    const std::function<void()> Action = Items[static_cast<size_t>(Index)].OnClick;
    CloseUp();
    if (Action) Action();
}

void TPopupMenu::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TWinControl::MouseDown(Button, Shift, X, Y);
    if (!FMenuRect.Contains(X, Y)) {
        CloseUp();
        return;
    }
    FPressed = ItemAtPos(X, Y);
    SetHotItem(FPressed);
}

void TPopupMenu::MouseMove(TShiftState Shift, int X, int Y)
{
    TWinControl::MouseMove(Shift, X, Y);
    if (FMenuRect.Contains(X, Y)) SetHotItem(ItemAtPos(X, Y));
}

void TPopupMenu::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TWinControl::MouseUp(Button, Shift, X, Y);
    // A release over the item the press began on chooses it; a release of the press
    // that opened the menu (made before it opened) chooses nothing.
    const int Item = ItemAtPos(X, Y);
    const int Pressed = std::exchange(FPressed, -1);
    if (Item >= 0 && Item == Pressed) ClickItem(Item);
}

void TPopupMenu::KeyDown(TKey& Key, TShiftState Shift)
{
    switch (Key) {
    case vkUp: SetHotItem(NextChoosable(FHot, -1)); break;
    case vkDown: SetHotItem(NextChoosable(FHot, 1)); break;
    case vkHome: SetHotItem(NextChoosable(-1, 1)); break;
    case vkEnd: SetHotItem(NextChoosable(static_cast<int>(Items.size()), -1)); break;
    case vkReturn:
    case vkSpace: ClickItem(FHot); break;
    case vkEscape: CloseUp(); break;
    default: TWinControl::KeyDown(Key, Shift); return;
    }
    Key = 0;
}

bool TPopupMenu::DialogKey(TKey Key, TShiftState)
{
    return IsOpen() && Focused() && (Key == vkReturn || Key == vkEscape);
}

void TPopupMenu::DoExit()
{
    TWinControl::DoExit();
    CloseUp();
}

void TPopupMenu::Paint(TCanvas& C)
{
    // The box alone: the rest of the control lets the form show through.
    const TRect R = FMenuRect;
    C.Brush.Color = clWindow;
    C.Pen.Color = clWindow;
    C.Pen.Mode = pmCopy;
    C.FillRect(R);
    DrawEdge(C, R, cl3DLight, cl3DDkShadow);
    DrawEdge(C, Inflate(R, -1), clBtnHighlight, clBtnShadow);
    for (int I = 0; I < static_cast<int>(Items.size()); ++I) {
        const TMenuItem& Item = Items[static_cast<size_t>(I)];
        const TRect Cell = ItemRect(I);
        if (Item.Separator) {
            const int Y = (Cell.Top + Cell.Bottom) / 2;
            C.Brush.Color = clBtnShadow;
            C.FillRect(Rect(Cell.Left + 2, Y - 1, Cell.Right - 2, Y));
            C.Brush.Color = clBtnHighlight;
            C.FillRect(Rect(Cell.Left + 2, Y, Cell.Right - 2, Y + 1));
            continue;
        }
        const bool Hot = I == FHot;
        C.Brush.Color = Hot ? clHighlight : clWindow;
        C.FillRect(Cell);
        const TColor Ink = !Item.Enabled ? clGrayText : Hot ? clHighlightText : clWindowText;
        if (Item.Checked) {
            // A tick: two strokes, three pixels thick.
            C.Brush.Color = Ink;
            const int X = Cell.Left + 4, Y = Cell.Top + Cell.Height() / 2;
            for (int D = 0; D < 3; ++D) C.FillRect(Rect(X + D, Y - 1 + D, X + D + 1, Y + 2 + D));
            for (int D = 0; D < 5; ++D) C.FillRect(Rect(X + 3 + D, Y + 1 - D, X + 4 + D, Y + 4 - D));
        }
        if (Item.Swatch) {
            // Framed in the ink, so that a colour near the menu's own still shows.
            constexpr int Size = 12;
            const int Top = Cell.Top + (Cell.Height() - Size) / 2;
            C.Pen.Color = Ink;
            C.Brush.Color = *Item.Swatch;
            C.Rectangle(Bounds(Cell.Left + 2, Top, Size, Size));
        }
        C.Font = EffectiveFont();
        C.Font.SetColor(Ink);
        C.Brush.Color = Hot ? clHighlight : clWindow;
        const int TextX = Cell.Left + CheckWidth + TextPadding - Border;
        const auto [Text, Key] = SplitCaption(Item.Caption);
        C.TextOut(TextX, Cell.Top + (Cell.Height() - C.TextHeight(Text)) / 2, Text);
        if (!Key.empty())
            C.TextOut(Cell.Right - TextPadding - C.TextWidth(Key), Cell.Top + (Cell.Height() - C.TextHeight(Key)) / 2,
                      Key);
    }
}

namespace {

// The topmost open popup menu among the form's children, or nullptr.
const TPopupMenu* OpenMenu(const TForm& Form)
{
    for (int I = Form.ControlCount() - 1; I >= 0; --I)
        if (const auto* Menu = dynamic_cast<const TPopupMenu*>(Form.Controls(I)); Menu && Menu->IsOpen()) return Menu;
    return nullptr;
}

} // namespace

void RegisterPopupMenuScriptVerbs()
{
    using namespace ScriptSupport;
    RegisterScriptVerb({"menu", "menu \"item\"", 1, 1,
                        [](const std::vector<TScriptToken>& Args, TScriptCommand& C) { ReadQuoted(Args, 0, C); },
                        [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                            const TPopupMenu* Menu = OpenMenu(Form);
                            if (!Menu) throw EScriptError("no menu is open");
                            const int Index = Menu->IndexOfCaption(C.Text);
                            if (Index < 0) throw EScriptError("the menu has no item " + QuotedInput(C.Text));
                            if (!Menu->CanChoose(Index))
                                throw EScriptError("the menu item " + QuotedInput(C.Text) + " is disabled");
                            Click(Out, CentreOf(*Menu, Menu->ItemRect(Index)));
                        }});
}
