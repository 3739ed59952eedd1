#pragma once

#include <string>
#include <vector>

#include "platform/toolkit/ScrollBar.h"
#include "platform/toolkit/WinControl.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTListBoxStyle;

enum TOwnerDrawStateItem { odSelected, odFocused };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

// Draws item Index in Rect on the list's canvas, whose brush and font the list has set
// for the item's state (and filled the rectangle with).
using TDrawItemEvent = std::function<void(TObject* Sender, int Index, const TRect& Rect, TOwnerDrawState State)>;
// Sets Height for item Index (lbOwnerDrawVariable).
using TMeasureItemEvent = std::function<void(TObject* Sender, int Index, int& Height)>;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTDrawItemEvent;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTMeasureItemEvent;

// A list of texts, one selected, drawn by the list or by its owner, with a vertical
// scroll bar when the items do not fit. Up, Down, Page Up, Page Down, Home and End move
// the selection; typing jumps to the first item that starts with what was typed (more
// letters narrow it); a click selects. Enter chooses the selected item (OnChoose), and
// so does a click, or only a double click when ClickChooses is off. OnClick tells of
// every selection the user makes.
class QELL_TOOLKIT_API TListBox : public TWinControl {
    QELL_CLASS(TListBox, TWinControl)
    static constexpr int DefaultWidth = 121, DefaultHeight = 97, DefaultItemHeight = 16;
    explicit TListBox(TComponent* AOwner);

    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
    // Replaces the items; the selection goes and the list scrolls to the top.
    void SetItems(std::vector<std::string> Items);
    // The first item equal to S without case, or -1.
    int IndexOf(std::string_view S) const;

    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle V);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int V);

    // -1 for none. Setting it scrolls the item into view; it fires nothing.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int V);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int V);

    // The item under (X, Y), or -1; an item's rectangle (empty when not in view).
    int ItemAtPos(int X, int Y) const;
    TRect ItemRect(int Index) const;
    // Makes Index the last item that shows, or the first, whichever moves the list less.
    void ScrollIntoView(int Index);

    // On in a drop-down, where a click picks the value; off in a list of things to open
    // (the file chooser's), where a click only selects.
    bool ClickChooses = true;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TNotifyEvent OnClick;
    TNotifyEvent OnChoose;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;
    void KeyDown(TKey& Key, TShiftState Shift) override;
    void TextInput(const std::string& Text) override;
    void DoEnter(bool ByTab) override;

protected:
    void Paint(TCanvas& C) override;
    void Resized() override;

private:
    static constexpr int Border = 2;
    void Measure();
    void Layout();
    int ItemHeightOf(int Index) const;
    // How many items fit from First on, at least one.
    int FittingFrom(int First) const;
    // The inner area without border and scroll bar.
    TRect ItemArea() const;
    void UserSelects(int Index);

    std::vector<std::string> FItems;
    std::vector<int> FHeights; // lbOwnerDrawVariable
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = DefaultItemHeight;
    int FItemIndex = -1;
    int FTopIndex = 0;
    int FPressedIndex = -1;
    bool FPressedTwice = false; // the press was a double click's second
    std::string FSearch;
    TScrollBar* FScrollBar;
};
