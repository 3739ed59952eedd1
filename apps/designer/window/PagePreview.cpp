#include "apps/designer/window/PagePreview.h"

#include <algorithm>

#include "platform/components/PagePainter.h"
#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/Form.h"

namespace {

constexpr int HandleSize = 5, HandleGrip = 7;
// What lies around the page in the preview.
constexpr TColor WorkspaceColor = 0x808080;
// A contrast mark: a red frame round the component inside a white one, which stands out
// on any colour and leaves the component's own pixels to be seen.
constexpr TColor MarkColor = 0x0000FF;
constexpr int MarkWidth = 2;
// What the selection, marks and guides draw beyond a component's bounds.
constexpr int Around = MarkWidth + 2;
constexpr TColor GuideColor = 0xFF00FF;
constexpr TColor GridColor = 0xA0A0A0;

TRect Grown(const TRect& R, int D) { return Inflate(R, -D); }

TRect BoundsOf(const TQellControl& C) { return Bounds(C.Left, C.Top, C.Width, C.Height); }

// The eight handles of R, clockwise from the top-left (PageDrag.h), as centre points.
std::array<TPoint, 8> HandlePoints(const TRect& R)
{
    const int MidX = (R.Left + R.Right - 1) / 2, MidY = (R.Top + R.Bottom - 1) / 2;
    return {TPoint{R.Left, R.Top},          {MidX, R.Top},           {R.Right - 1, R.Top},
            {R.Right - 1, MidY},           {R.Right - 1, R.Bottom - 1}, {MidX, R.Bottom - 1},
            {R.Left, R.Bottom - 1},        {R.Left, MidY}};
}

TRect Handle(TPoint P, int Size) { return Bounds(P.X - Size / 2, P.Y - Size / 2, Size, Size); }

// Filled handles lead (the ones of a single selection or of the first of several: what
// the align commands follow), black inside a white ring that shows on any colour; hollow
// ones follow, a black frame with the component seen through it.
void DrawHandles(TCanvas& C, const TRect& R, bool Filled)
{
    for (const TPoint P : HandlePoints(R)) {
        const TRect H = Handle(P, HandleSize);
        if (Filled) {
            C.Pen.Color = clWhite;
            C.Brush.Color = clBlack;
            C.Rectangle(H);
        } else {
            DrawEdge(C, H, clBlack, clBlack);
        }
    }
}

TCursor HandleCursor(int Handle)
{
    switch (Handle) {
    case 0:
    case 4: return crSizeNWSE;
    case 2:
    case 6: return crSizeNESW;
    case 1:
    case 5: return crSizeNS;
    default: return crSizeWE;
    }
}

} // namespace

QELL_DEFINE_CLASS_INFO(TPagePreview)

TPagePreview::TPagePreview(TWinControl& Parent, TPageDocument& Document)
    : TWinControl(&Parent), FDocument(Document), FDrag(Document, FGrid), FActions(Document, FGrid),
      FHorizontal(new TScrollBar(this)), FVertical(new TScrollBar(this)), FMenu(new TPopupMenu(this))
{
    SetName("Preview");
    SetParent(&Parent);
    TabStop = true;
    FHorizontal->SetKind(sbHorizontal);
    FHorizontal->SmallChange = 16;
    FVertical->SmallChange = 16;
    for (TScrollBar* Bar : {FHorizontal, FVertical}) {
        Bar->SetParent(this);
        Bar->SetVisible(false);
        Bar->OnChange = [this](TObject*) { SetScroll(FHorizontal->Position(), FVertical->Position()); };
    }
    FMenu->SetName("PageMenu");
    FDocument.AddObserver(*this);
}

TPagePreview::~TPagePreview()
{
    FDocument.RemoveObserver(*this);
}

// What changed ---------------------------------------------------------------------

void TPagePreview::Damage(const TRect& Area)
{
    if (Area.IsEmpty()) return;
    const TPoint O = ClientPoint({0, 0});
    InvalidateRect(Grown(Bounds(O.X + Area.Left, O.Y + Area.Top, Area.Width(), Area.Height()), Around + HandleGrip));
}

void TPagePreview::DocumentChanged(const TDocumentChange& Change)
{
    const TQellPage& Page = FDocument.Page();
    if (Change.NewPage || Change.Values || Change.Entries) FContrastHint.Hide();
    if (Change.NewPage) {
        FShown.Rebuild(Page);
        FShownSelection.clear();
        FDrag.Cancel();
        FShownOutline = {};
        FShownGuides = {};
        UpdateScrollBars();
        Invalidate();
        return;
    }
    bool Everything = false;
    if (Change.Values || Change.Entries) {
        // Where the components were, then where they are: components taken off the
        // page are no longer its own, and one added or moved in the order is found
        // again by a new index (a change of the page's structure costs what the page
        // holds, as the document's own entries do).
        for (TComponent* C : Change.Components) {
            if (C == &Page) Everything = true;
            if (const auto* Control = dynamic_cast<const TQellControl*>(C))
                if (const TRect* Was = FShown.Find(*Control)) Damage(*Was);
        }
        if (Change.Entries) FShown.Rebuild(Page);
        for (TComponent* C : Change.Components) {
            auto* Control = dynamic_cast<TQellControl*>(C);
            if (!Control || Control->Owner() != &Page) continue;
            if (!Change.Entries && FShown.Find(*Control)) FShown.Update(*Control);
            Damage(BoundsOf(*Control));
        }
        // A change of one colour may fail or pass another component's pair.
        if (FMarks) Everything = true;
        UpdateScrollBars();
    }
    if (Change.Selection || Change.Values || Change.Entries) {
        for (const TRect& R : FShownSelection) Damage(R);
        for (const TRect& R : SelectionAreas()) Damage(R);
    }
    if (Everything) Invalidate();
}

std::vector<TRect> TPagePreview::SelectionAreas() const
{
    std::vector<TRect> Areas;
    const TQellPage& Page = FDocument.Page();
    for (const TPersistent* Object : FDocument.Selection())
        if (const TDocumentEntry* E = FDocument.EntryOf(Object)) {
            if (E->Component == &Page) Areas.push_back(Rect(0, 0, Page.Width, Page.Height));
            else if (const auto* C = dynamic_cast<const TQellControl*>(E->Component)) Areas.push_back(BoundsOf(*C));
        }
    return Areas;
}

// Geometry ---------------------------------------------------------------------------

TRect TPagePreview::ViewRect() const
{
    return Rect(0, 0, Width() - (FVertical->Visible() ? FVertical->Width() : 0),
                Height() - (FHorizontal->Visible() ? FHorizontal->Height() : 0));
}

TPoint TPagePreview::PagePoint(int X, int Y) const
{
    return {X - Margin + FScrollX, Y - Margin + FScrollY};
}

TPoint TPagePreview::ClientPoint(TPoint P) const
{
    return {P.X + Margin - FScrollX, P.Y + Margin - FScrollY};
}

void TPagePreview::UpdateScrollBars()
{
    const TQellPage& Page = FDocument.Page();
    const int ContentWidth = Page.Width + 2 * Margin, ContentHeight = Page.Height + 2 * Margin;
    const int Bar = TScrollBar::DefaultWidth;
    // Each bar takes room from the other's direction: decide both together.
    bool Across = ContentWidth > Width(), Down = ContentHeight > Height();
    Across = ContentWidth > Width() - (Down ? Bar : 0);
    Down = ContentHeight > Height() - (Across ? Bar : 0);
    FHorizontal->SetVisible(Across);
    FVertical->SetVisible(Down);
    const TRect View = ViewRect();
    FHorizontal->SetBounds(0, Height() - Bar, std::max(0, View.Width()), Bar);
    FVertical->SetBounds(Width() - Bar, 0, Bar, std::max(0, View.Height()));
    FHorizontal->SetParams(0, ContentWidth - 1, std::max(1, View.Width()));
    FVertical->SetParams(0, ContentHeight - 1, std::max(1, View.Height()));
    SetScroll(Across ? FHorizontal->Position() : 0, Down ? FVertical->Position() : 0);
}

void TPagePreview::SetScroll(int X, int Y)
{
    FHorizontal->SetPosition(X);
    FVertical->SetPosition(Y);
    X = FHorizontal->Visible() ? FHorizontal->Position() : 0;
    Y = FVertical->Visible() ? FVertical->Position() : 0;
    if (X == FScrollX && Y == FScrollY) return;
    FScrollX = X;
    FScrollY = Y;
    Invalidate();
}

void TPagePreview::ScrollInView(const TComponent& C)
{
    const TRect R = ComponentRect(C), View = ViewRect();
    // The far edges first, so that the near ones win when C does not fit.
    int DX = std::max(0, R.Right - View.Right), DY = std::max(0, R.Bottom - View.Bottom);
    if (R.Left - DX < View.Left) DX = R.Left - View.Left;
    if (R.Top - DY < View.Top) DY = R.Top - View.Top;
    SetScroll(FScrollX + DX, FScrollY + DY);
}

void TPagePreview::Resized()
{
    TWinControl::Resized();
    UpdateScrollBars();
}

TRect TPagePreview::ComponentRect(const TComponent& C) const
{
    const TQellPage& Page = FDocument.Page();
    const TPoint O = ClientPoint({0, 0});
    if (&C == &Page) return Bounds(O.X, O.Y, Page.Width, Page.Height);
    const auto* Control = dynamic_cast<const TQellControl*>(&C);
    if (!Control) return {};
    return Bounds(O.X + Control->Left, O.Y + Control->Top, Control->Width, Control->Height);
}

TComponent* TPagePreview::ComponentAt(int X, int Y) const
{
    TQellPage& Page = FDocument.Page();
    if (!ViewRect().Contains(X, Y) || !ComponentRect(Page).Contains(X, Y)) return nullptr;
    const TPoint P = PagePoint(X, Y);
    const std::vector<TQellControl*> Under = FShown.Meeting(Bounds(P.X, P.Y, 1, 1));
    return Under.empty() ? static_cast<TComponent*>(&Page) : Under.back();
}

std::optional<TColor> TPagePreview::PageColourAt(int X, int Y) const
{
    if (!Intersect(ComponentRect(FDocument.Page()), ViewRect()).Contains(X, Y)) return std::nullopt;
    // The page painted into one pixel: only what meets it is drawn.
    const TPoint P = PagePoint(X, Y);
    TBitmap Pixel(1, 1);
    PaintPage(FDocument.Page(), TCanvas(&Pixel, {-P.X, -P.Y}, Rect(0, 0, 1, 1)),
              FShown.Meeting(Bounds(P.X, P.Y, 1, 1)));
    return Pixel.Pixel(0, 0);
}

int TPagePreview::HandleAt(int X, int Y, TQellControl*& Control) const
{
    const std::vector<TPersistent*>& Selection = FDocument.Selection();
    Control = Selection.size() == 1 ? dynamic_cast<TQellControl*>(Selection[0]) : nullptr;
    if (!Control) return -1;
    const std::array<TPoint, 8> Points = HandlePoints(ComponentRect(*Control));
    for (int I = 0; I < 8; ++I)
        if (Handle(Points[static_cast<size_t>(I)], HandleGrip).Contains(X, Y)) return I;
    return -1;
}

// Settings ---------------------------------------------------------------------------

void TPagePreview::SetGrid(const TGridSettings& Grid)
{
    FGrid = Grid;
    Invalidate();
}

void TPagePreview::SetContrastMarks(bool On)
{
    if (On == FMarks) return;
    FMarks = On;
    FContrastHint.Hide();
    Invalidate();
}

const std::vector<const TComponent*>& TPagePreview::Marked() const
{
    static const std::vector<const TComponent*> None;
    return FMarks ? FDocument.ContrastProblems() : None;
}

void TPagePreview::SetSimulation(TVisionDeficiency Deficiency)
{
    if (Deficiency == FSimulation) return;
    FSimulation = Deficiency;
    Invalidate();
}

// Input ------------------------------------------------------------------------------

void TPagePreview::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TWinControl::MouseDown(Button, Shift, X, Y);
    FContrastHint.Hide();
    if (!FDocument.CommitPendingEdits()) return;
    if (CanFocus() && !Focused()) SetFocus();
    if (!FDocument.Picking().RowPath.empty()) {
        Pick(Button, X, Y);
        return;
    }
    if (Button == mbRight) {
        if (FDrag.Kind() != TPageDrag::TKind::None || FDocument.PlacingClass()) {
            FDrag.Cancel();
            ShowDrag();
            return;
        }
        OpenMenu(X, Y);
        return;
    }
    if (Button != mbLeft) return;
    const TPoint P = PagePoint(X, Y);
    if (FDocument.PlacingClass()) {
        FDrag.BeginPlace(P);
        return;
    }
    TQellControl* Sized = nullptr;
    if (const int Handle = HandleAt(X, Y, Sized); Handle >= 0) {
        FDrag.BeginResize(P, *Sized, Handle);
        return;
    }
    TComponent* C = ComponentAt(X, Y);
    if (!C) return;
    if (C == &FDocument.Page()) {
        FDrag.BeginBand(P, Shift.Contains(ssCtrl));
        if (!Shift.Contains(ssCtrl)) FDocument.Select({C});
        return;
    }
    if (Shift.Contains(ssCtrl)) {
        FDocument.ToggleSelected(C);
        return;
    }
    if (!FDocument.IsSelected(C)) FDocument.Select({C});
    FDrag.BeginMove(P, *C);
}

void TPagePreview::Pick(TMouseButton Button, int X, int Y)
{
    if (Button == mbRight) {
        FDocument.SetPicking({});
        return;
    }
    const std::optional<TColor> Colour = Button == mbLeft ? PageColourAt(X, Y) : std::nullopt;
    if (!Colour) return;
    try {
        FDocument.PickColour(*Colour);
    } catch (const std::exception& E) {
        ShowMessage(E.what());
    }
}

void TPagePreview::MouseMove(TShiftState Shift, int X, int Y)
{
    TWinControl::MouseMove(Shift, X, Y);
    if (FMarks && !Shift.Contains(ssLeft) && !Shift.Contains(ssRight))
        FContrastHint.PointAt(ComponentAt(X, Y), X, Y);
    if (FDrag.Kind() == TPageDrag::TKind::None || !Shift.Contains(ssLeft)) return;
    FDrag.MoveTo(PagePoint(X, Y), !Shift.Contains(ssAlt));
    ShowDrag();
}

void TPagePreview::ShowDrag()
{
    if (const TRect Outline = FDrag.Outline(); Outline != FShownOutline) {
        Damage(FShownOutline);
        Damage(Outline);
        FShownOutline = Outline;
    }
    // Each line apart: a guide crosses the page, and the area that holds two of them
    // would be most of it.
    if (FDrag.Guides() == FShownGuides) return;
    const TQellPage& Page = FDocument.Page();
    for (const TSnapGuides* G : {static_cast<const TSnapGuides*>(&FShownGuides), &FDrag.Guides()}) {
        for (const int X : G->X) Damage(Rect(X, -Margin, X + 1, Page.Height + Margin));
        for (const int Y : G->Y) Damage(Rect(-Margin, Y, Page.Width + Margin, Y + 1));
    }
    FShownGuides = FDrag.Guides();
}

void TPagePreview::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TWinControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || FDrag.Kind() == TPageDrag::TKind::None) return;
    FDrag.End();
    ShowDrag();
}

void TPagePreview::MouseLeave()
{
    FContrastHint.Hide();
}

bool TPagePreview::MouseWheel(TShiftState Shift, int Delta, int X, int Y)
{
    FContrastHint.Hide();
    TScrollBar* Bar = Shift.Contains(ssShift) ? FHorizontal : FVertical;
    return Bar->Visible() && Bar->MouseWheel({}, Delta, X, Y);
}

void TPagePreview::KeyDown(TKey& Key, TShiftState Shift)
{
    if (Key == vkEscape && Shift.Empty() && (FDrag.Kind() != TPageDrag::TKind::None || FDocument.PlacingClass())) {
        FDrag.Cancel();
        ShowDrag();
        Key = 0;
        return;
    }
    // Keys act on what lies still: not in the middle of a drag.
    if (FDrag.Kind() == TPageDrag::TKind::None && FActions.KeyDown(Key, Shift)) {
        Key = 0;
        return;
    }
    TWinControl::KeyDown(Key, Shift);
}

TCursor TPagePreview::CursorAt(int X, int Y) const
{
    if (FDrag.Handle() >= 0) return HandleCursor(FDrag.Handle());
    if (FDrag.Kind() == TPageDrag::TKind::Move) return crSizeAll;
    if (FDocument.PlacingClass()) return crCross;
    if (!FDocument.Picking().RowPath.empty())
        return Intersect(ComponentRect(FDocument.Page()), ViewRect()).Contains(X, Y) ? crCross : crDefault;
    TQellControl* Sized = nullptr;
    if (const int Handle = HandleAt(X, Y, Sized); Handle >= 0) return HandleCursor(Handle);
    const TComponent* C = ComponentAt(X, Y);
    return C && C != &FDocument.Page() && FDocument.IsSelected(C) ? crSizeAll : crDefault;
}

void TPagePreview::OpenMenu(int X, int Y)
{
    if (TComponent* C = ComponentAt(X, Y); C && !FDocument.IsSelected(C)) FDocument.Select({C});
    TForm* Form = ParentForm();
    if (!Form) return;
    const TPoint At{SurfaceOrigin().X - Form->SurfaceOrigin().X + X, SurfaceOrigin().Y - Form->SurfaceOrigin().Y + Y};
    FMenu->Items = FActions.MenuItems([this, At, Form] {
        FMenu->Items = FActions.AlignItems();
        FMenu->Popup(*Form, At.X, At.Y);
    });
    FMenu->SetFont(EffectiveFont());
    FMenu->Popup(*Form, At.X, At.Y);
}

// Painting ---------------------------------------------------------------------------

void TPagePreview::Paint(TCanvas& C)
{
    const TQellPage& Page = FDocument.Page();
    const TRect Clip = C.ClipArea();
    C.Brush.Color = WorkspaceColor;
    C.FillRect(Clip);
    const TRect PageRect = ComponentRect(Page);
    const TRect Area = Intersect(Clip, PageRect);
    PaintPage(Page, TCanvas(C, PageRect),
              FShown.Meeting(Bounds(Area.Left - PageRect.Left, Area.Top - PageRect.Top, Area.Width(), Area.Height())));
    if (FGrid.Show && FGrid.Size > 0) {
        const TRect Dots = Intersect(Intersect(PageRect, Clip), ViewRect());
        const int First = FGrid.Size;
        for (int Y = PageRect.Top + First; Y < Dots.Bottom; Y += FGrid.Size)
            for (int X = PageRect.Left + First; Y >= Dots.Top && X < Dots.Right; X += FGrid.Size)
                if (X >= Dots.Left) C.SetPixels(X, Y, GridColor);
    }
    SimulateVisionOn(C, Intersect(Intersect(PageRect, ViewRect()), Clip), FSimulation);
    PaintMarks(C, PageRect);
    PaintSelection(C);
    PaintDrag(C, PageRect);
}

void TPagePreview::PaintMarks(TCanvas& C, const TRect& PageRect)
{
    const TRect Clip = C.ClipArea();
    for (const TComponent* Marked : Marked()) {
        const TRect R = Intersect(ComponentRect(*Marked), PageRect);
        if (Intersect(Grown(R, Around), Clip).IsEmpty()) continue;
        for (int I = 1; I <= MarkWidth; ++I) DrawEdge(C, Grown(R, I), MarkColor, MarkColor);
        DrawEdge(C, Grown(R, MarkWidth + 1), clWhite, clWhite);
    }
}

void TPagePreview::PaintSelection(TCanvas& C)
{
    // The first selected leads, as the align commands follow it: its handles are
    // filled, the others hollow. Selected collection items frame their owner, once
    // however many of its items are selected.
    const TRect Clip = C.ClipArea();
    std::vector<const TComponent*> Framed;
    bool First = true;
    for (const TPersistent* Object : FDocument.Selection()) {
        const TDocumentEntry* E = FDocument.EntryOf(Object);
        if (!E) continue;
        const TRect R = ComponentRect(*E->Component);
        const bool Visible = !Intersect(Grown(R, HandleGrip), Clip).IsEmpty();
        if (E->Component == E->Object) {
            if (Visible) DrawHandles(C, R, First);
        } else if (std::find(Framed.begin(), Framed.end(), E->Component) == Framed.end()) {
            Framed.push_back(E->Component);
            C.Pen.Color = clBlack;
            if (Visible) DrawFocusRect(C, R);
        }
        First = false;
    }
    FShownSelection = SelectionAreas();
}

void TPagePreview::PaintDrag(TCanvas& C, const TRect& PageRect)
{
    C.Pen.Color = GuideColor;
    for (const int X : FDrag.Guides().X) {
        C.MoveTo(PageRect.Left + X, PageRect.Top - Margin);
        C.LineTo(PageRect.Left + X, PageRect.Bottom + Margin);
    }
    for (const int Y : FDrag.Guides().Y) {
        C.MoveTo(PageRect.Left - Margin, PageRect.Top + Y);
        C.LineTo(PageRect.Right + Margin, PageRect.Top + Y);
    }
    if (const TRect O = FDrag.Outline(); !O.IsEmpty()) {
        C.Pen.Color = clBlack;
        DrawFocusRect(C, Bounds(PageRect.Left + O.Left, PageRect.Top + O.Top, O.Width(), O.Height()));
    }
}
