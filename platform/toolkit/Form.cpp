#include "platform/toolkit/Form.h"

#include <algorithm>
#include <utility>

#include "platform/rtl/Guard.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Application.h"

namespace {

constexpr const char* BorderStyleNames[] = {"bsNone", "bsSingle", "bsSizeable", "bsDialog"};
constexpr const char* PositionNames[] = {"poDesigned",      "poDefault",        "poScreenCenter",
                                         "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};

void Publish(TPublisher<TForm>& P)
{
    P.String("Caption", &TForm::Caption, &TForm::SetCaption, "").Describe("The text in the form's title bar.");
    P.Ordinal("ClientWidth", TypeInfoInteger, &TForm::ClientWidth, &TForm::SetClientWidth, TForm::DefaultClientWidth)
        .Range(0, MaxFormSize).Describe("The width of the form's inside, in pixels.");
    P.Ordinal("ClientHeight", TypeInfoInteger, &TForm::ClientHeight, &TForm::SetClientHeight,
              TForm::DefaultClientHeight)
        .Range(0, MaxFormSize).Describe("The height of the form's inside, in pixels.");
    // The client size says it all; the outer size is accepted but not written.
    for (const char* Outer : {"Width", "Height"}) {
        TPropInfo& Size = P.Redeclare(Outer);
        Size.MaxValue = MaxFormSize;
        Size.Stored = [](const TPersistent&) { return false; };
    }
    P.Redeclare("ParentColor").OrdDefault = false;
    P.Redeclare("ParentFont").OrdDefault = false;
    P.Field("BorderStyle", TypeInfoTBorderStyle, &TForm::BorderStyle, bsSizeable)
        .Describe("The form's frame: whether it can be resized, and whether it has one at all.");
    P.Field("Position", TypeInfoTPosition, &TForm::Position, poDesigned)
        .Describe("Where the form appears when it is shown.");
    P.Field("PixelsPerInch", TypeInfoInteger, &TForm::PixelsPerInch, 96).Range(1, 10000)
        .Describe("The screen density the form was designed at.");
    P.Event("OnCreate", TypeInfoTNotifyEvent, &TForm::OnCreate).Describe("Runs once the form has been read and made.");
    P.Event("OnDestroy", TypeInfoTNotifyEvent, &TForm::OnDestroy).Describe("Runs as the form goes.");
    P.Event("OnCloseQuery", TypeInfoTCloseQueryEvent, &TForm::OnCloseQuery)
        .Describe("Runs before the form closes, and may keep it open.");
}

// Whether C is Ancestor or lies inside it.
bool IsWithin(const TControl* C, const TControl* Ancestor)
{
    for (; C; C = C->Parent())
        if (C == Ancestor) return true;
    return false;
}

// The window controls of Parent in tab order (TabOrder, then insertion order).
std::vector<TWinControl*> TabSorted(const TWinControl& Parent)
{
    std::vector<TWinControl*> List;
    for (int I = 0; I < Parent.ControlCount(); ++I)
        if (auto* W = dynamic_cast<TWinControl*>(Parent.Controls(I))) List.push_back(W);
    std::stable_sort(List.begin(), List.end(),
                     [](const TWinControl* A, const TWinControl* B) { return A->TabOrder() < B->TabOrder(); });
    return List;
}

// Depth first: each control before the controls inside it.
void CollectTabStops(const TWinControl& Parent, std::vector<TWinControl*>& Out)
{
    for (TWinControl* W : TabSorted(Parent)) {
        if (!W->Visible() || !W->Enabled()) continue;
        if (W->CanFocus()) Out.push_back(W);
        CollectTabStops(*W, Out);
    }
}

} // namespace

const TTypeInfo TypeInfoTBorderStyle = EnumTypeInfo("TBorderStyle", BorderStyleNames);
const TTypeInfo TypeInfoTPosition = EnumTypeInfo("TPosition", PositionNames);

QELL_DEFINE_CLASS_INFO(TForm, Publish)

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner)
{
    SetParentColor(false);
    SetParentFont(false);
    SetBounds(0, 0, DefaultClientWidth, DefaultClientHeight);
}

TForm::~TForm()
{
    BeforeDestruction();
    // Free what the form owns while it is still a form, so that every control's
    // destructor finds it whole.
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
    FActiveControl = nullptr;
    FCaptureControl = nullptr;
    FHoverControl = nullptr;
    FInvalid.clear();
}

void TForm::SetCaption(const std::string& V)
{
    if (V == FCaption) return;
    FCaption = V;
    // The window's title is shown with the surface: present it again.
    MarkPainted();
}

TModalResult TForm::ShowModal()
{
    TRestoreOnExit<bool> Guard(FModal, true);
    FModalResult = mrNone;
    return Application->RunModal(*this);
}

bool TForm::CloseQuery()
{
    bool CanClose = true;
    if (OnCloseQuery) OnCloseQuery(this, CanClose);
    return CanClose;
}

void TForm::Close()
{
    if (CloseQuery()) SetModalResult(mrCancel);
}

void TForm::SetActiveControl(TWinControl* C)
{
    if (C == this) C = nullptr;
    if (C == FActiveControl) return;
    TWinControl* Old = FActiveControl;
    FActiveControl = C;
    const bool ByTab = FFocusByTab;
    FFocusByTab = false;
    if (Old) Old->DoExit();
    // DoExit may have moved the focus elsewhere or freed C; then that decision stands.
    if (C && FActiveControl == C) C->DoEnter(ByTab);
}

void TForm::AfterConstruction()
{
    if (FCreated) return;
    FCreated = true;
    if (OnCreate) OnCreate(this);
}

void TForm::BeforeDestruction()
{
    if (FDestroyed) return;
    FDestroyed = true;
    if (OnDestroy) OnDestroy(this);
}

void TForm::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FMouseButtons.Include(ButtonShift(Button));
    Shift = Shift | FMouseButtons;
    TControl* Target = FCaptureControl;
    if (!Target) {
        Target = ControlAtPos(X, Y);
        if (!Target) Target = this;
        FCaptureControl = Target;
    }
    if (auto* W = dynamic_cast<TWinControl*>(Target); W && W != this && W->CanFocus() && !W->Focused())
        W->SetFocus();
    // Focus handlers may have freed the target; ForgetControl then cleared the capture.
    if (FCaptureControl != Target) return;
    const TPoint O = Target->SurfaceOrigin();
    Target->MouseDown(Button, Shift, X - O.X, Y - O.Y);
}

void TForm::CancelMouseCapture()
{
    FCaptureControl = nullptr;
    FMouseButtons = {};
}

void TForm::HandleMouseMove(TShiftState Shift, int X, int Y)
{
    Shift = Shift | FMouseButtons;
    TControl* Target = FCaptureControl;
    if (!Target) Target = ControlAtPos(X, Y);
    if (!Target) Target = this;
    if (TControl* Left = std::exchange(FHoverControl, Target); Left && Left != Target) {
        Left->MouseLeave();
        // The handler may have freed the target: ForgetControl then cleared the hover.
        if (FHoverControl != Target) return;
    }
    const TPoint O = Target->SurfaceOrigin();
    Target->MouseMove(Shift, X - O.X, Y - O.Y);
    // The handler may have freed the target or moved the capture.
    if (FHoverControl != Target) return;
    const TCursor Shape = Target->CursorAt(X - O.X, Y - O.Y);
    if (Shape != Application->BackEnd().Cursor()) Application->BackEnd().SetCursor(Shape);
}

void TForm::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FMouseButtons.Exclude(ButtonShift(Button));
    Shift = Shift | FMouseButtons;
    TControl* Pressed = FCaptureControl;
    TControl* Target = Pressed;
    if (!Target) Target = ControlAtPos(X, Y);
    if (!Target) Target = this;
    if (FMouseButtons.Empty()) FCaptureControl = nullptr;
    const TPoint O = Target->SurfaceOrigin();
    // The handler may free the target; ForgetControl then clears FHoverControl.
    FHoverControl = Target;
    Target->MouseUp(Button, Shift, X - O.X, Y - O.Y);
    if (Button != mbLeft || !Pressed || FHoverControl != Target) return;
    TControl* Under = ControlAtPos(X, Y);
    if (!Under) Under = this;
    if (Under == Target) Target->Click();
}

void TForm::HandleMouseWheel(TShiftState Shift, int Delta, int X, int Y)
{
    for (TControl* C = ControlAtPos(X, Y); C; C = C->Parent()) {
        const TPoint O = C->SurfaceOrigin();
        if (C->MouseWheel(Shift | FMouseButtons, Delta, X - O.X, Y - O.Y)) return;
    }
}

void TForm::HandleMouseLeave()
{
    if (TControl* Left = std::exchange(FHoverControl, nullptr)) Left->MouseLeave();
}

void TForm::HandleResize(int ClientWidth, int ClientHeight)
{
    ClientWidth = std::max(ClientWidth, MinClientWidth);
    ClientHeight = std::max(ClientHeight, MinClientHeight);
    if (ClientWidth == Width() && ClientHeight == Height()) return;
    SetBounds(Left(), Top(), ClientWidth, ClientHeight);
    // The surface is new: everything is painted again.
    Invalidate();
}

void TForm::HandleKeyDown(TKey Key, TShiftState Shift)
{
    if (Key == vkTab && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt) &&
        !(FActiveControl && FActiveControl->WantsTab())) {
        SelectNext(!Shift.Contains(ssShift));
        return;
    }
    if (FActiveControl) {
        FActiveControl->KeyDown(Key, Shift);
        if (Key == 0) return;
    }
    DialogKey(Key, Shift);
}

void TForm::HandleTextInput(const std::string& Text)
{
    if (FActiveControl) FActiveControl->TextInput(Text);
}

void TForm::SelectNext(bool Forward)
{
    std::vector<TWinControl*> Stops;
    CollectTabStops(*this, Stops);
    if (Stops.empty()) return;
    auto It = std::find(Stops.begin(), Stops.end(), FActiveControl);
    size_t Index;
    if (It == Stops.end()) {
        Index = Forward ? 0 : Stops.size() - 1;
    } else {
        const size_t Current = static_cast<size_t>(It - Stops.begin());
        Index = Forward ? (Current + 1) % Stops.size() : (Current + Stops.size() - 1) % Stops.size();
    }
    FFocusByTab = true;
    SetActiveControl(Stops[Index]);
    FFocusByTab = false;
}

void TForm::PaintAll()
{
    FInvalid.clear();
    FInvalidAreas.clear();
    PaintTree();
    MarkPainted();
    FlushPaint();
    FSurfaceChanged = true;
}

bool TForm::FlushPaint()
{
    // What is invalidated while this turn paints waits for the next turn, so a paint
    // handler that invalidates cannot loop forever.
    FPainting.clear();
    FPainting.swap(FInvalid);
    // A control whose ancestor is pending is painted with it.
    std::vector<TControl*> Roots;
    for (TControl* C : FPainting) {
        bool Covered = false;
        for (TControl* P = C->Parent(); P && !Covered; P = P->Parent())
            Covered = std::find(FPainting.begin(), FPainting.end(), P) != FPainting.end();
        if (!Covered) Roots.push_back(C);
    }
    FPainting = std::move(Roots);
    // ForgetControl removes controls freed by a paint handler from FPainting too.
    while (!FPainting.empty()) {
        TControl* C = FPainting.front();
        FPainting.erase(FPainting.begin());
        if (!C->Showing()) continue;
        PaintControl(C);
        FSurfaceChanged = true;
    }
    FPaintingAreas.clear();
    FPaintingAreas.swap(FInvalidAreas);
    while (!FPaintingAreas.empty()) {
        const TInvalidArea A = FPaintingAreas.front();
        FPaintingAreas.erase(FPaintingAreas.begin());
        PaintControlArea(A.Control, A.Area);
        FSurfaceChanged = true;
    }
    const bool Changed = FSurfaceChanged;
    FSurfaceChanged = false;
    return Changed;
}

namespace {

// Whether a later sibling of C or of one of its parents overlaps it.
bool Covered(const TControl* C)
{
    for (const TControl* P = C; P->Parent(); P = P->Parent()) {
        const TWinControl* Parent = P->Parent();
        bool After = false;
        for (int I = 0; I < Parent->ControlCount(); ++I) {
            const TControl* S = Parent->Controls(I);
            if (S == P) After = true;
            else if (After && S->Visible() && !Intersect(S->BoundsRect(), P->BoundsRect()).IsEmpty()) return true;
        }
    }
    return false;
}

} // namespace

void TForm::PaintControl(TControl* C)
{
    if (!Covered(C)) {
        C->PaintTree();
        return;
    }
    const TRect Area = C->SurfaceClip();
    if (!Area.IsEmpty()) PaintArea(Area);
}

void TForm::PaintControlArea(TWinControl* C, const TRect& Area)
{
    if (C == this || !Covered(C)) {
        C->PaintArea(Area);
        return;
    }
    // From the form down over the area, so that what lies on top is painted again too.
    const TPoint O = C->SurfaceOrigin();
    const TRect Surface =
        Intersect(C->SurfaceClip(), Rect(O.X + Area.Left, O.Y + Area.Top, O.X + Area.Right, O.Y + Area.Bottom));
    if (!Surface.IsEmpty()) PaintArea(Surface);
}

void TForm::Paint(TCanvas& C)
{
    C.Brush.Color = Color();
    C.FillRect(ClientRect());
}

TBitmap& TForm::Surface()
{
    if (FSurface.Width() != Width() || FSurface.Height() != Height())
        FSurface.SetSize(Width(), Height(), ColorToRGB(Color()));
    return FSurface;
}

void TForm::ComponentRemoved(TComponent* C)
{
    // A control has already been forgotten by its own destructor; this covers a
    // component that merely changes owner.
    const void* Gone = C;
    auto Same = [&](const TControl* P) { return P && static_cast<const void*>(P) == Gone; };
    if (Same(FActiveControl)) FActiveControl = nullptr;
    if (Same(FCaptureControl)) FCaptureControl = nullptr;
    if (Same(FHoverControl)) FHoverControl = nullptr;
    FInvalid.erase(std::remove_if(FInvalid.begin(), FInvalid.end(), Same), FInvalid.end());
    FPainting.erase(std::remove_if(FPainting.begin(), FPainting.end(), Same), FPainting.end());
}

void TForm::ForgetControl(TControl* C)
{
    if (IsWithin(FActiveControl, C)) FActiveControl = nullptr;
    if (IsWithin(FCaptureControl, C)) FCaptureControl = nullptr;
    if (IsWithin(FHoverControl, C)) FHoverControl = nullptr;
    auto Inside = [&](const TControl* P) { return IsWithin(P, C); };
    FInvalid.erase(std::remove_if(FInvalid.begin(), FInvalid.end(), Inside), FInvalid.end());
    FPainting.erase(std::remove_if(FPainting.begin(), FPainting.end(), Inside), FPainting.end());
    auto AreaInside = [&](const TInvalidArea& A) { return IsWithin(A.Control, C); };
    std::erase_if(FInvalidAreas, AreaInside);
    std::erase_if(FPaintingAreas, AreaInside);
}

void TForm::MarkInvalidArea(TWinControl* C, const TRect& Area)
{
    // Areas are joined only where that paints little more than painting them apart:
    // two small repaints far from each other (a dragged component and a guide across a
    // large page), or two thin ones that cross, do not become one large one. Past a
    // few areas a control's next joins its last, which bounds the work of a turn.
    constexpr int MaxAreas = 8;
    const auto Size = [](const TRect& R) { return int64_t{R.Width()} * R.Height(); };
    const auto Join = [&](const TRect& A, const TRect& B) { return Size(Union(A, B)) <= Size(A) + Size(B); };
    TInvalidArea* Last = nullptr;
    int Count = 0;
    for (TInvalidArea& A : FInvalidAreas)
        if (A.Control == C) {
            if (Join(A.Area, Area)) {
                A.Area = Union(A.Area, Area);
                return;
            }
            Last = &A;
            ++Count;
        }
    if (Count >= MaxAreas) Last->Area = Union(Last->Area, Area);
    else FInvalidAreas.push_back({C, Area});
}

void TForm::MarkInvalid(TControl* C)
{
    if (std::find(FInvalid.begin(), FInvalid.end(), C) == FInvalid.end()) FInvalid.push_back(C);
}
