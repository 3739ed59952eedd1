#include "apps/designer/window/PageActions.h"

#include <algorithm>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/resources/FormReader.h"

namespace {

TRect BoundsOf(const TQellControl& C) { return Bounds(C.Left, C.Top, C.Width, C.Height); }

} // namespace

std::vector<TComponent*> TPageActions::SelectedComponents() const
{
    std::vector<TComponent*> Found;
    for (TPersistent* Object : FDocument.Selection())
        if (auto* C = dynamic_cast<TQellControl*>(Object)) Found.push_back(C);
    return Found;
}

void TPageActions::Copy()
{
    const std::vector<TComponent*> Chosen = SelectedComponents();
    if (Chosen.empty()) return;
    Application->BackEnd().SetClipboardText(FDocument.ComponentsText(Chosen));
    FDocument.Announce(Chosen.size() == 1 ? "Copied " + Chosen[0]->Name()
                                          : "Copied " + std::to_string(Chosen.size()) + " components");
}

void TPageActions::Cut()
{
    const std::vector<TComponent*> Chosen = SelectedComponents();
    if (Chosen.empty()) return;
    Application->BackEnd().SetClipboardText(FDocument.ComponentsText(Chosen));
    FDocument.DeleteComponents(Chosen);
}

void TPageActions::PasteText(const std::string& Text)
{
    try {
        FDocument.PasteComponents(Text, {FGrid.Size, FGrid.Size});
    } catch (const EReadError& E) {
        ShowMessage("The clipboard holds no component to paste: " + E.Message() + "\nThe page is unchanged.");
    }
}

void TPageActions::Paste()
{
    const std::string Text = Application->BackEnd().ClipboardText();
    if (!Text.empty()) PasteText(Text);
}

void TPageActions::Delete()
{
    FDocument.DeleteComponents(SelectedComponents());
}

void TPageActions::Duplicate()
{
    const std::vector<TComponent*> Chosen = SelectedComponents();
    if (!Chosen.empty()) PasteText(FDocument.ComponentsText(Chosen));
}

void TPageActions::SelectAll()
{
    std::vector<TPersistent*> All;
    const TQellPage& Page = FDocument.Page();
    for (int I = 0; I < Page.ComponentCount(); ++I) All.push_back(Page.Components(I));
    if (!All.empty()) FDocument.Select(std::move(All));
}

void TPageActions::BringToFront()
{
    FDocument.BringToFront(SelectedComponents());
}

void TPageActions::SendToBack()
{
    FDocument.SendToBack(SelectedComponents());
}

void TPageActions::Align(TAlignment How)
{
    std::vector<TPageDocument::TBounds> Controls;
    for (TComponent* C : SelectedComponents())
        Controls.push_back({static_cast<TQellControl*>(C), BoundsOf(static_cast<TQellControl&>(*C))});
    if (Controls.size() < 2) return;
    std::vector<TRect> Rects;
    for (const TPageDocument::TBounds& B : Controls) Rects.push_back(B.Rect);
    const std::vector<TRect> To = Aligned(Rects, How);
    for (size_t I = 0; I < Controls.size(); ++I) Controls[I].Rect = To[I];
    FDocument.SetBounds(Controls, AlignmentCaption(How));
}

void TPageActions::SelectNext(bool Forward)
{
    const TQellPage& Page = FDocument.Page();
    const int Count = Page.ComponentCount();
    if (Count == 0) return;
    const std::vector<TPersistent*>& Now = FDocument.Selection();
    const int At = Now.empty() ? -1 : Page.ComponentIndex(dynamic_cast<TComponent*>(Now.back()));
    const int Next = At < 0 ? (Forward ? 0 : Count - 1) : (At + (Forward ? 1 : Count - 1)) % Count;
    FDocument.Select({Page.Components(Next)});
}

void TPageActions::Nudge(TKey Key, bool Resize, int Step)
{
    const int DX = Key == vkLeft ? -Step : Key == vkRight ? Step : 0;
    const int DY = Key == vkUp ? -Step : Key == vkDown ? Step : 0;
    std::vector<TPageDocument::TBounds> To;
    for (TComponent* C : SelectedComponents()) {
        auto& Control = static_cast<TQellControl&>(*C);
        const TRect R = BoundsOf(Control);
        To.push_back({&Control, Resize ? Rect(R.Left, R.Top, std::max(R.Left, R.Right + DX), std::max(R.Top, R.Bottom + DY))
                                       : Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY)});
    }
    if (To.empty()) return;
    const std::string What = To.size() == 1 ? To[0].Control->Name() : std::to_string(To.size()) + " components";
    // A run of presses of one key within a second is one undo step.
    FDocument.SetBounds(To, (Resize ? "Resized " : "Moved ") + What,
                        "key " + std::to_string(Key) + (Resize ? " size " : " move ") + std::to_string(Step));
}

bool TPageActions::KeyDown(TKey Key, TShiftState Shift)
{
    const bool Ctrl = Shift.Contains(ssCtrl), WithShift = Shift.Contains(ssShift), Alt = Shift.Contains(ssAlt);
    if (Alt) return false;
    if (Key == vkLeft || Key == vkRight || Key == vkUp || Key == vkDown) {
        Nudge(Key, WithShift, Ctrl ? FGrid.Size : 1);
        return true;
    }
    if (Key == vkTab && !Ctrl) {
        SelectNext(!WithShift);
        return true;
    }
    if (Key == vkDelete && Shift.Empty()) {
        Delete();
        return true;
    }
    if (!Ctrl || WithShift) return false;
    switch (Key) {
    case 'X': Cut(); return true;
    case 'C': Copy(); return true;
    case 'V': Paste(); return true;
    case 'D': Duplicate(); return true;
    case 'A': SelectAll(); return true;
    default: return false;
    }
}

std::vector<TMenuItem> TPageActions::MenuItems(const std::function<void()>& OpenAlignMenu)
{
    const bool Any = !SelectedComponents().empty();
    const bool Pastable = !Application->BackEnd().ClipboardText().empty();
    return {
        {"Cut\tCtrl+X", Any, false, false, [this] { Cut(); }},
        {"Copy\tCtrl+C", Any, false, false, [this] { Copy(); }},
        {"Paste\tCtrl+V", Pastable, false, false, [this] { Paste(); }},
        {"Delete\tDel", Any, false, false, [this] { Delete(); }},
        {"Duplicate\tCtrl+D", Any, false, false, [this] { Duplicate(); }},
        {"", false, false, true, nullptr},
        {"Bring to front", Any, false, false, [this] { BringToFront(); }},
        {"Send to back", Any, false, false, [this] { SendToBack(); }},
        {"Align and size...", SelectedComponents().size() >= 2, false, false, OpenAlignMenu},
        {"", false, false, true, nullptr},
        {"Select all\tCtrl+A", FDocument.Page().ComponentCount() > 0, false, false, [this] { SelectAll(); }},
    };
}

std::vector<TMenuItem> TPageActions::AlignItems()
{
    std::vector<TMenuItem> Items;
    for (const TAlignment How : {TAlignment::Lefts, TAlignment::Rights, TAlignment::Tops, TAlignment::Bottoms,
                                 TAlignment::Centres, TAlignment::Middles, TAlignment::SameWidth,
                                 TAlignment::SameHeight, TAlignment::SameSize, TAlignment::SpaceAcross,
                                 TAlignment::SpaceDown}) {
        const bool Spacing = How == TAlignment::SpaceAcross || How == TAlignment::SpaceDown;
        Items.push_back({AlignmentCaption(How), SelectedComponents().size() >= (Spacing ? 3u : 2u), false, false,
                         [this, How] { Align(How); }});
        if (How == TAlignment::Middles || How == TAlignment::SameSize)
            Items.push_back({"", false, false, true, nullptr});
    }
    return Items;
}
