#include "platform/toolkit/PageControl.h"

#include <algorithm>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/script/EventScript.h"

namespace {

void PublishSheet(TPublisher<TTabSheet>& P)
{
    P.String("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption, "").Describe("The text on the page's tab.");
    // A page's bounds belong to its page control, and which page shows is the page
    // control's to say.
    for (const char* Bound : {"Left", "Top", "Width", "Height"}) {
        TPropInfo& B = P.Redeclare(Bound);
        B.SetOrd = [](TPersistent&, int64_t) { throw EPropertyError("a page's bounds are set by its page control"); };
        B.Stored = [](const TPersistent&) { return false; };
    }
    P.Redeclare("Visible").Stored = [](const TPersistent&) { return false; };
}

void PublishPages(TPublisher<TPageControl>& P)
{
    P.Redeclare("Width").OrdDefault = TPageControl::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TPageControl::DefaultHeight;
    P.Redeclare("TabStop").OrdDefault = true;
    P.Ordinal("ActivePageIndex", TypeInfoInteger, &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex,
              std::nullopt)
        .Range(-1, 10000)
        .StoredWhen([](const TPageControl& C) { return C.ActivePageIndex() > 0; })
        .Describe("The page shown, counted from 0; -1 for none.");
    P.Event("OnChange", TypeInfoTNotifyEvent, &TPageControl::OnChange).Describe("Runs when another page is shown.");
}

constexpr int TabHeight = 20;   // the strip of tabs above the pages
constexpr int TabPadding = 6;   // on each side of a caption
constexpr int FrameInset = 4;   // from the control's edge to the page, on three sides
constexpr int FirstTabLeft = 2;

int TabWidth(const TFont& Font, const std::string& Caption)
{
    TCanvas Measure;
    Measure.Font = Font;
    return Measure.TextWidth(Caption) + 2 * TabPadding;
}

} // namespace

QELL_DEFINE_CLASS_INFO(TTabSheet, PublishSheet, true)

QELL_DEFINE_CLASS_INFO(TPageControl, PublishPages, true)

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {}

TTabSheet::~TTabSheet()
{
    // Now, while this is still a tab sheet: the page control keeps a typed list.
    if (TPageControl* PC = PageControl()) PC->RemovePage(this);
}

void TTabSheet::SetCaption(const std::string& V)
{
    if (V == FCaption) return;
    FCaption = V;
    if (TPageControl* PC = PageControl()) PC->Invalidate();
}

TPageControl* TTabSheet::PageControl() const
{
    return dynamic_cast<TPageControl*>(Parent());
}

int TTabSheet::PageIndex() const
{
    TPageControl* PC = PageControl();
    if (!PC) return -1;
    auto It = std::find(PC->FPages.begin(), PC->FPages.end(), this);
    return It == PC->FPages.end() ? -1 : static_cast<int>(It - PC->FPages.begin());
}

void TTabSheet::Paint(TCanvas& C)
{
    C.Brush.Color = EffectiveColor();
    C.FillRect(ClientRect());
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

int TPageControl::ActivePageIndex() const
{
    return FActive;
}

void TPageControl::SetActivePageIndex(int V)
{
    if (V >= PageCount()) {
        // Pages not read yet: applied when that page arrives, or on Loaded.
        FPending = V;
        return;
    }
    FPending = -1;
    if (V < 0) V = -1;
    if (V == FActive) return;
    FActive = V;
    ShowActive();
    Repaint();
}

TTabSheet* TPageControl::ActivePage() const
{
    return FActive >= 0 ? FPages[static_cast<size_t>(FActive)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (!Page) {
        SetActivePageIndex(-1);
        return;
    }
    const int Index = Page->PageIndex();
    if (Index < 0 || Page->PageControl() != this) throw Exception("The page does not belong to this page control");
    SetActivePageIndex(Index);
}

int TPageControl::TabAtPos(int X, int Y) const
{
    if (Y < 0 || Y >= TabHeight) return -1;
    const TFont& Font = EffectiveFont();
    int Left = FirstTabLeft;
    for (int I = 0; I < PageCount(); ++I) {
        const int W = TabWidth(Font, FPages[static_cast<size_t>(I)]->Caption());
        if (X >= Left && X < Left + W) return I;
        Left += W;
    }
    return -1;
}

TRect TPageControl::TabRect(int Index)
{
    if (Index < 0 || Index >= PageCount()) return {};
    const TFont& Font = EffectiveFont();
    int Left = FirstTabLeft;
    for (int I = 0; I < Index; ++I) Left += TabWidth(Font, FPages[static_cast<size_t>(I)]->Caption());
    return Rect(Left, 2, Left + TabWidth(Font, FPages[static_cast<size_t>(Index)]->Caption()), TabHeight);
}

TRect TPageControl::PageRect() const
{
    return Rect(FrameInset, TabHeight + FrameInset, std::max(FrameInset, Width() - FrameInset),
                std::max(TabHeight + FrameInset, Height() - FrameInset));
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        const int Tab = TabAtPos(X, Y);
        if (Tab >= 0 && Tab != FActive) {
            SetActivePageIndex(Tab);
            if (OnChange) OnChange(this);
        }
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TPageControl::KeyDown(TKey& Key, TShiftState Shift)
{
    if (PageCount() == 0) return TWinControl::KeyDown(Key, Shift);
    if (Key == vkTab && Shift.Contains(ssCtrl)) {
        TurnPage(!Shift.Contains(ssShift));
    } else if (Key == vkLeft || Key == vkRight) {
        const int Next = Key == vkLeft ? std::max(FActive - 1, 0) : std::min(FActive + 1, PageCount() - 1);
        if (Next != FActive) {
            SetActivePageIndex(Next);
            if (OnChange) OnChange(this);
        }
    } else {
        return TWinControl::KeyDown(Key, Shift);
    }
    Key = 0;
}

namespace {

// The page control that holds the focus, or nullptr.
const TPageControl* HoldingFocus(const TForm& Form)
{
    for (const TControl* C = Form.ActiveControl(); C; C = C->Parent())
        if (const auto* Pages = dynamic_cast<const TPageControl*>(C)) return Pages;
    return nullptr;
}

// The first showing page control inside Parent, depth first.
const TPageControl* FirstPageControl(const TWinControl& Parent)
{
    for (int I = 0; I < Parent.ControlCount(); ++I) {
        const auto* W = dynamic_cast<const TWinControl*>(Parent.Controls(I));
        if (!W || !W->Showing()) continue;
        if (const auto* Pages = dynamic_cast<const TPageControl*>(W)) return Pages;
        if (const TPageControl* Inside = FirstPageControl(*W)) return Inside;
    }
    return nullptr;
}

} // namespace

bool TPageControl::DialogKey(TKey Key, TShiftState Shift)
{
    // Ctrl+Tab turns the pages that hold the focus, or else the form's first pages.
    if (Key == vkTab && Shift.Contains(ssCtrl) && PageCount() > 0)
        if (const TForm* Form = ParentForm()) {
            const TPageControl* Holder = HoldingFocus(*Form);
            if (Holder == this || (!Holder && FirstPageControl(*Form) == this)) {
                TurnPage(!Shift.Contains(ssShift));
                return true;
            }
        }
    return TWinControl::DialogKey(Key, Shift);
}

void TPageControl::TurnPage(bool Forward)
{
    const int Next = Forward ? (FActive + 1) % PageCount() : (FActive + PageCount() - 1) % PageCount();
    if (Next == FActive) return;
    SetActivePageIndex(Next);
    if (OnChange) OnChange(this);
}

void TPageControl::Loaded()
{
    TWinControl::Loaded();
    if (FPending >= 0 && FPending < PageCount()) SetActivePageIndex(FPending);
    FPending = -1;
    if (FActive < 0 && PageCount() > 0) SetActivePageIndex(0);
}

void TPageControl::Paint(TCanvas& C)
{
    C.Brush.Color = EffectiveColor();
    C.FillRect(ClientRect());
    // The frame around the pages.
    const TRect Frame = Rect(0, TabHeight, Width(), Height());
    DrawEdge(C, Frame, clBtnHighlight, cl3DDkShadow);
    DrawEdge(C, Rect(1, TabHeight + 1, Width() - 1, Height() - 1), cl3DLight, clBtnShadow);

    C.Font = EffectiveFont();
    if (!Enabled()) C.Font.SetColor(clGrayText);
    auto DrawTab = [&](int I, bool Active) {
        TRect R = TabRect(I);
        if (Active) R = Rect(R.Left - 2, 0, R.Right + 2, TabHeight + 1);
        C.Brush.Color = EffectiveColor();
        C.FillRect(R);
        C.Brush.Color = clBtnHighlight;
        C.FillRect(Rect(R.Left, R.Top + 1, R.Left + 1, R.Bottom));
        C.FillRect(Rect(R.Left + 1, R.Top, R.Right - 1, R.Top + 1));
        C.Brush.Color = cl3DDkShadow;
        C.FillRect(Rect(R.Right - 1, R.Top + 1, R.Right, R.Bottom));
        C.Brush.Color = clBtnShadow;
        C.FillRect(Rect(R.Right - 2, R.Top + 1, R.Right - 1, R.Bottom));
        const std::string& Caption = FPages[static_cast<size_t>(I)]->Caption();
        const int TX = R.Left + (R.Width() - C.TextWidth(Caption)) / 2;
        const int TY = R.Top + (R.Height() - C.TextHeight(Caption)) / 2;
        C.TextOut(TX, TY, Caption);
        if (Active && Focused()) DrawFocusRect(C, Rect(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 2));
    };
    for (int I = 0; I < PageCount(); ++I)
        if (I != FActive) DrawTab(I, false);
    if (FActive >= 0) DrawTab(FActive, true);
}

void TPageControl::Resized()
{
    const TRect R = PageRect();
    for (TTabSheet* Page : FPages) Page->SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TPageControl::ControlInserted(TControl* C)
{
    if (auto* Page = dynamic_cast<TTabSheet*>(C)) AddPage(Page);
}

void TPageControl::ControlRemoving(TControl* C)
{
    auto It = std::find_if(FPages.begin(), FPages.end(), [&](const TTabSheet* P) { return P == C; });
    if (It != FPages.end()) RemovePage(*It);
}

void TPageControl::AddPage(TTabSheet* Page)
{
    if (std::find(FPages.begin(), FPages.end(), Page) != FPages.end()) return;
    FPages.push_back(Page);
    const TRect R = PageRect();
    Page->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    const int Index = PageCount() - 1;
    if (FPending == Index || (FActive < 0 && FPending < 0)) {
        FPending = -1;
        FActive = Index;
    }
    ShowActive();
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    auto It = std::find(FPages.begin(), FPages.end(), Page);
    if (It == FPages.end()) return;
    const int Index = static_cast<int>(It - FPages.begin());
    FPages.erase(It);
    if (Index < FActive) --FActive;
    else if (Index == FActive) FActive = std::min(FActive, PageCount() - 1);
    ShowActive();
    Invalidate();
}

void TPageControl::ShowActive()
{
    // Focus on a page that goes away moves to the page control, properly exited.
    if (TForm* Form = ParentForm())
        for (TControl* C = Form->ActiveControl(); C && C != this; C = C->Parent())
            if (auto* Page = dynamic_cast<TTabSheet*>(C); Page && Page->Parent() == this && Page != ActivePage()) {
                Form->SetActiveControl(CanFocus() ? this : nullptr);
                break;
            }
    for (int I = 0; I < PageCount(); ++I) FPages[static_cast<size_t>(I)]->SetVisible(I == FActive);
}

void RegisterPageControlScriptVerbs()
{
    using namespace ScriptSupport;
    RegisterScriptVerb({"page", "page PAGECONTROL INDEX", 2, 2,
                        WordAndNumbers("page PAGECONTROL INDEX"),
                        [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                            auto& Pages = FindShowingAs<TPageControl>(Form, C.Words[0], "page control");
                            const int Index = C.Numbers[0];
                            if (Index < 0 || Index >= Pages.PageCount())
                                throw EScriptError("page " + std::to_string(Index) + " is outside " +
                                                   QuotedInput(C.Words[0], 60) + " (" +
                                                   std::to_string(Pages.PageCount()) + " pages)");
                            Click(Out, CentreOf(Pages, Pages.TabRect(Index)));
                        }});
}
