#include "apps/designer/window/PagePreview.h"

#include <algorithm>
#include <vector>

#include <optional>

#include "platform/components/PagePainter.h"
#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/backends/EventScript.h"

namespace {

constexpr int HandleSize = 5;
// What lies around the page in the preview.
constexpr TColor WorkspaceColor = 0x808080;
// A contrast mark: a red frame inside a white one, which stands out on any colour.
constexpr TColor MarkColor = 0x0000FF;
constexpr int MarkWidth = 2;

TRect Handle(int X, int Y) { return Bounds(X - HandleSize / 2, Y - HandleSize / 2, HandleSize, HandleSize); }

// The eight grab handles round R, filled in Color with a dark outline.
void DrawHandles(TCanvas& C, const TRect& R, TColor Color)
{
    const int MidX = (R.Left + R.Right - 1) / 2, MidY = (R.Top + R.Bottom - 1) / 2;
    C.Brush.Color = Color;
    C.Pen.Color = clBlack;
    for (const TPoint P : {TPoint{R.Left, R.Top}, TPoint{MidX, R.Top}, TPoint{R.Right - 1, R.Top},
                           TPoint{R.Left, MidY}, TPoint{R.Right - 1, MidY}, TPoint{R.Left, R.Bottom - 1},
                           TPoint{MidX, R.Bottom - 1}, TPoint{R.Right - 1, R.Bottom - 1}})
        C.Rectangle(Handle(P.X, P.Y));
}

} // namespace

QELL_DEFINE_CLASS_INFO(TPagePreview)

TPagePreview::TPagePreview(TWinControl& Parent, TPageDocument& Document)
    : TWinControl(&Parent), FDocument(Document), FHorizontal(new TScrollBar(this)), FVertical(new TScrollBar(this))
{
    SetName("Preview");
    SetParent(&Parent);
    FHorizontal->SetKind(sbHorizontal);
    FHorizontal->SmallChange = 16;
    FVertical->SmallChange = 16;
    for (TScrollBar* Bar : {FHorizontal, FVertical}) {
        Bar->SetParent(this);
        Bar->SetVisible(false);
        Bar->OnChange = [this](TObject*) { SetScroll(FHorizontal->Position(), FVertical->Position()); };
    }
    FDocument.AddObserver(*this);
}

TPagePreview::~TPagePreview()
{
    FDocument.RemoveObserver(*this);
}

void TPagePreview::DocumentChanged(const TDocumentChange& Change)
{
    if (Change.NewPage || Change.Values || Change.Entries) UpdateScrollBars();
    if (Change.NewPage || Change.Values || Change.Entries || Change.Selection) Invalidate();
}

TRect TPagePreview::ViewRect() const
{
    return Rect(0, 0, Width() - (FVertical->Visible() ? FVertical->Width() : 0),
                Height() - (FHorizontal->Visible() ? FHorizontal->Height() : 0));
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

void TPagePreview::SetContrastMarks(bool On)
{
    if (On == FMarks) return;
    FMarks = On;
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

void TPagePreview::Resized()
{
    TWinControl::Resized();
    UpdateScrollBars();
}

TRect TPagePreview::ComponentRect(const TComponent& C) const
{
    const TQellPage& Page = FDocument.Page();
    const int X = Margin - FScrollX, Y = Margin - FScrollY;
    if (&C == &Page) return Bounds(X, Y, Page.Width, Page.Height);
    const auto* Control = dynamic_cast<const TQellControl*>(&C);
    if (!Control) return {};
    return Bounds(X + Control->Left, Y + Control->Top, Control->Width, Control->Height);
}

TComponent* TPagePreview::ComponentAt(int X, int Y) const
{
    if (!ViewRect().Contains(X, Y)) return nullptr;
    TQellPage& Page = FDocument.Page();
    for (int I = Page.ComponentCount() - 1; I >= 0; --I) {
        TComponent* C = Page.Components(I);
        if (Intersect(ComponentRect(*C), ComponentRect(Page)).Contains(X, Y)) return C;
    }
    return ComponentRect(Page).Contains(X, Y) ? &Page : nullptr;
}

void TPagePreview::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TWinControl::MouseDown(Button, Shift, X, Y);
    // The preview takes no focus: what is typed in the inspector is set here first.
    if (Button != mbLeft || !FDocument.CommitPendingEdits()) return;
    if (TComponent* C = ComponentAt(X, Y)) {
        if (Shift.Contains(ssCtrl)) FDocument.ToggleSelected(C);
        else FDocument.Select({C});
    }
}

bool TPagePreview::MouseWheel(TShiftState Shift, int Delta, int X, int Y)
{
    TScrollBar* Bar = Shift.Contains(ssShift) ? FHorizontal : FVertical;
    return Bar->Visible() && Bar->MouseWheel({}, Delta, X, Y);
}

void TPagePreview::Paint(TCanvas& C)
{
    const TQellPage& Page = FDocument.Page();
    C.Brush.Color = WorkspaceColor;
    C.FillRect(ClientRect());
    const TRect PageRect = ComponentRect(Page);
    PaintPage(Page, TCanvas(C, PageRect));
    SimulateVisionOn(C, Intersect(PageRect, ViewRect()), FSimulation);
    for (const TComponent* Marked : Marked()) {
        const TRect R = Intersect(ComponentRect(*Marked), PageRect);
        for (int I = 0; I < MarkWidth; ++I) DrawEdge(C, Inflate(R, I), MarkColor, MarkColor);
        DrawEdge(C, Inflate(R, MarkWidth), clWhite, clWhite);
    }
    // One selected component has white handles, several grey ones, as designers mark
    // which of them the inspector's single-object rows would follow. Selected
    // collection items frame their owner, once however many of its items are selected.
    const TColor HandleColor = FDocument.Selection().size() == 1 ? clWhite : clGray;
    std::vector<const TComponent*> Framed;
    for (const TPersistent* Object : FDocument.Selection())
        if (const TDocumentEntry* E = FDocument.EntryOf(Object)) {
            const TRect R = ComponentRect(*E->Component);
            if (E->Component == E->Object) {
                DrawHandles(C, R, HandleColor);
            } else if (std::find(Framed.begin(), Framed.end(), E->Component) == Framed.end()) {
                Framed.push_back(E->Component);
                C.Pen.Color = clBlack;
                DrawFocusRect(C, R);
            }
        }
}

// ---------------------------------------------------------------------------------

void RegisterPreviewScriptVerbs()
{
    using namespace ScriptSupport;
    RegisterScriptVerb(
        {"pick", "pick NAME [ctrl]", 1, 2,
         [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
             C.Words.push_back(Args[0].Text);
             if (Args.size() == 2) {
                 if (!SameText(Args[1].Text, "ctrl")) throw EScriptError("pick NAME [ctrl]: not " + QuotedInput(Args[1].Text));
                 C.Shift.Include(ssCtrl);
             }
         },
         [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
             auto* Preview = &FindShowingAs<TPagePreview>(Form, "Preview", "page preview");
             TComponent* Target = FindPageComponent(Preview->Document().Page(), C.Words[0]);
             if (!Target) throw EScriptError("no component " + QuotedInput(C.Words[0]) + " on the page");
             // Scrolled to first, as a user would; then the centre, or else the first
             // point row by row, where the click reaches the component and not one lying
             // over it.
             Out.push_back([Preview, Target, Name = C.Words[0], Keys = C.Shift](TForm& F) {
                 Preview->ScrollInView(*Target);
                 const TRect R = Intersect(Preview->ComponentRect(*Target), Preview->ViewRect());
                 std::optional<TPoint> Hit;
                 const TPoint Centre{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
                 if (!R.IsEmpty() && Preview->ComponentAt(Centre.X, Centre.Y) == Target) Hit = Centre;
                 for (int Y = R.Top; Y < R.Bottom && !Hit; Y += 2)
                     for (int X = R.Left; X < R.Right && !Hit; X += 2)
                         if (Preview->ComponentAt(X, Y) == Target) Hit = TPoint{X, Y};
                 if (!Hit) throw EScriptError(QuotedInput(Name) + " is not in view");
                 const TPoint P = At(*Preview, Hit->X, Hit->Y);
                 TShiftState Down = Keys;
                 Down.Include(ssLeft);
                 F.HandleMouseDown(mbLeft, Down, P.X, P.Y);
                 F.HandleMouseUp(mbLeft, Keys, P.X, P.Y);
             });
         }});
}
