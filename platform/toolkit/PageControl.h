#pragma once

#include <vector>

#include "platform/toolkit/WinControl.h"

class TPageControl;

// One page of a page control; a child of it. Only the active page is visible.
class QELL_TOOLKIT_API TTabSheet : public TWinControl {
    QELL_CLASS(TTabSheet, TWinControl)
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& V);
    TPageControl* PageControl() const;
    int PageIndex() const;

protected:
    // Fills the page with its colour, so a page that appears covers the one before.
    void Paint(TCanvas& C) override;

private:
    std::string FCaption;
};

// Tabs across the top; clicking a tab shows its page. Pages are the tab sheets among
// the children, in the order they were added. A page's bounds are set by the control:
// the client area below the tabs, inset by the frame.
class QELL_TOOLKIT_API TPageControl : public TWinControl {
    QELL_CLASS(TPageControl, TWinControl)
    static constexpr int DefaultWidth = 289, DefaultHeight = 193;
    explicit TPageControl(TComponent* AOwner);

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(static_cast<size_t>(Index)); }
    // -1 when there are no pages.
    int ActivePageIndex() const;
    // Shows that page and paints it; an index out of range (before the pages exist, as
    // while a form is read) is kept and applied once the page exists.
    void SetActivePageIndex(int V);
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* Page);
    TNotifyEvent OnChange;

    // The tab under (X, Y), or -1.
    int TabAtPos(int X, int Y) const;
    TRect TabRect(int Index);
    // The rectangle pages occupy, in this control's coordinates.
    TRect PageRect() const;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(TKey& Key, TShiftState Shift) override;
    // Ctrl+Tab and Ctrl+Shift+Tab turn the page while the focus is on one of the pages.
    bool DialogKey(TKey Key, TShiftState Shift) override;
    void Loaded() override;

protected:
    void Paint(TCanvas& C) override;
    void Resized() override;
    void ControlInserted(TControl* C) override;
    void ControlRemoving(TControl* C) override;

private:
    friend class TTabSheet;
    void AddPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void ShowActive();
    void TurnPage(bool Forward);
    std::vector<TTabSheet*> FPages;
    int FActive = -1;
    int FPending = -1;
};

// The event-script verb `page PAGECONTROL INDEX`: a click on that tab. Registered by
// the toolkit's unit StdCtrls.
void RegisterPageControlScriptVerbs();
