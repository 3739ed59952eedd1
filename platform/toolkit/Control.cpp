#include "platform/toolkit/Control.h"

#include <algorithm>

#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/WinControl.h"

namespace {

constexpr const char* AnchorKindNames[] = {"akLeft", "akTop", "akRight", "akBottom"};

void Publish(TPublisher<TControl>& P)
{
    P.Ordinal("Left", TypeInfoInteger, &TControl::Left, &TControl::SetLeft, 0).Range(-MaxCoordinate, MaxCoordinate)
        .Describe("The distance, in pixels, from the parent's left edge to the control's.");
    P.Ordinal("Top", TypeInfoInteger, &TControl::Top, &TControl::SetTop, 0).Range(-MaxCoordinate, MaxCoordinate)
        .Describe("The distance, in pixels, from the parent's top edge to the control's.");
    P.Ordinal("Width", TypeInfoInteger, &TControl::Width, &TControl::SetWidth, 0).Range(0, MaxCoordinate)
        .Describe("The control's width in pixels.");
    P.Ordinal("Height", TypeInfoInteger, &TControl::Height, &TControl::SetHeight, 0).Range(0, MaxCoordinate)
        .Describe("The control's height in pixels.");
    P.Ordinal("Visible", TypeInfoBoolean, &TControl::Visible, &TControl::SetVisible, true)
        .Describe("Whether the control is shown.");
    P.Ordinal("Enabled", TypeInfoBoolean, &TControl::Enabled, &TControl::SetEnabled, true)
        .Describe("Whether the control responds to the mouse and keyboard.");
    P.Field("Anchors", TypeInfoTAnchors, &TControl::Anchors, TAnchors{akLeft, akTop})
        .Describe("Which of the parent's edges the control keeps its distance to when the parent is resized.");
    P.Ordinal("Color", TypeInfoTColor, &TControl::Color, &TControl::SetColor, clBtnFace)
        .StoredWhen([](const TControl& C) { return !C.ParentColor(); })
        .Describe("The colour of the control's background.");
    P.Ordinal("ParentColor", TypeInfoBoolean, &TControl::ParentColor, &TControl::SetParentColor, true)
        .Describe("Whether the control takes its parent's Color.");
    P.Object("Font", TypeInfoTFont, [](TControl& C) -> TFont& { return C.Font(); })
        .StoredWhen([](const TControl& C) { return !C.ParentFont(); })
        .Describe("The font of the control's text: name, height and colour.");
    P.Ordinal("ParentFont", TypeInfoBoolean, &TControl::ParentFont, &TControl::SetParentFont, true)
        .Describe("Whether the control takes its parent's Font.");
    P.Event("OnClick", TypeInfoTNotifyEvent, &TControl::OnClick).Describe("Runs when the control is clicked.");
    P.Event("OnMouseDown", TypeInfoTMouseEvent, &TControl::OnMouseDown)
        .Describe("Runs when a mouse button is pressed over the control.");
    P.Event("OnMouseMove", TypeInfoTMouseMoveEvent, &TControl::OnMouseMove)
        .Describe("Runs when the mouse moves over the control.");
    P.Event("OnMouseUp", TypeInfoTMouseEvent, &TControl::OnMouseUp)
        .Describe("Runs when a mouse button is released over the control.");
}

} // namespace

const TTypeInfo TypeInfoTAnchorKind = EnumTypeInfo("TAnchorKind", AnchorKindNames);
const TTypeInfo TypeInfoTAnchors = SetTypeInfo("TAnchors", TypeInfoTAnchorKind);

QELL_DEFINE_CLASS_INFO(TControl, Publish)

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    FFont.OnChange = [this] { FontChanged(); };
}

TControl::~TControl()
{
    // SetParent(nullptr) makes the form forget this control before it leaves the tree.
    if (FParent) SetParent(nullptr);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent) return;
    for (const TControl* P = AParent; P; P = P->FParent)
        if (P == this) throw Exception("A control cannot be its own parent");
    if (FParent) {
        TWinControl* Old = FParent;
        if (TForm* Form = ParentForm()) Form->ForgetControl(this);
        if (Visible()) Old->InvalidateRect(BoundsRect());
        Old->ControlRemoving(this);
        Old->RemoveControl(this);
        FParent = nullptr;
    }
    if (AParent) {
        FParent = AParent;
        AParent->InsertControl(this);
        AParent->ControlInserted(this);
        Invalidate();
    }
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    // What the control covered must be repainted by the parent.
    if (FParent && Showing()) FParent->InvalidateRect(BoundsRect());
    const int OldWidth = FWidth, OldHeight = FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (auto* Win = dynamic_cast<TWinControl*>(this)) {
        const int DX = FWidth - OldWidth, DY = FHeight - OldHeight;
        if (DX != 0 || DY != 0) {
            for (int I = 0; I < Win->ControlCount(); ++I) {
                TControl* C = Win->Controls(I);
                int L = C->FLeft, T = C->FTop, W = C->FWidth, H = C->FHeight;
                if (C->Anchors.Contains(akRight)) {
                    if (C->Anchors.Contains(akLeft)) W += DX;
                    else L += DX;
                }
                if (C->Anchors.Contains(akBottom)) {
                    if (C->Anchors.Contains(akTop)) H += DY;
                    else T += DY;
                }
                C->SetBounds(L, T, W, H);
            }
        }
    }
    Resized();
    Invalidate();
}

void TControl::SetVisible(bool V)
{
    if (V == FVisible) return;
    if (!V && FParent && Showing()) FParent->InvalidateRect(BoundsRect());
    FVisible = V;
    if (!V) {
        // Focus, capture and hover may not stay on something that vanished.
        if (TForm* Form = ParentForm(); Form && Form != this) Form->ForgetControl(this);
    } else {
        Invalidate();
    }
}

void TControl::SetEnabled(bool V)
{
    if (V == FEnabled) return;
    FEnabled = V;
    if (!V)
        if (TForm* Form = ParentForm(); Form && Form != this) Form->ForgetControl(this);
    Invalidate();
}

bool TControl::Showing() const
{
    if (!FVisible) return false;
    if (FParent) return FParent->Showing();
    return dynamic_cast<const TForm*>(this) != nullptr;
}

void TControl::SetColor(TColor V)
{
    if (V == FColor && !FParentColor) return;
    FColor = V;
    FParentColor = false;
    Invalidate();
}

void TControl::SetParentColor(bool V)
{
    if (V == FParentColor) return;
    FParentColor = V;
    Invalidate();
}

void TControl::SetParentFont(bool V)
{
    if (V == FParentFont) return;
    FParentFont = V;
    Invalidate();
}

void TControl::FontChanged()
{
    FParentFont = false;
    Invalidate();
}

TColor TControl::EffectiveColor() const
{
    if (FParentColor && FParent) return FParent->EffectiveColor();
    return FColor;
}

const TFont& TControl::EffectiveFont() const
{
    if (FParentFont && FParent) return FParent->EffectiveFont();
    return FFont;
}

TForm* TControl::ParentForm() const
{
    for (const TControl* C = this; C; C = C->FParent)
        if (auto* Form = dynamic_cast<const TForm*>(C)) return const_cast<TForm*>(Form);
    return nullptr;
}

TPoint TControl::SurfaceOrigin() const
{
    TPoint P;
    for (const TControl* C = this; C && C->FParent; C = C->FParent) {
        P.X += C->FLeft;
        P.Y += C->FTop;
    }
    return P;
}

TRect TControl::SurfaceClip() const
{
    if (!Showing() || !ParentForm()) return {};
    const TPoint O = SurfaceOrigin();
    TRect R = Bounds(O.X, O.Y, FWidth, FHeight);
    for (const TControl* P = FParent; P && !R.IsEmpty(); P = P->FParent) {
        const TPoint PO = P->SurfaceOrigin();
        R = Intersect(R, Bounds(PO.X, PO.Y, P->FWidth, P->FHeight));
    }
    return R;
}

TCanvas& TControl::Canvas()
{
    TForm* Form = ParentForm();
    TRect Clip = SurfaceClip();
    // While the form repaints an area, nothing outside it is touched.
    if (Form && Form->FPaintClip) Clip = Intersect(Clip, *Form->FPaintClip);
    FCanvas.Bind(Form ? &Form->Surface() : nullptr, SurfaceOrigin(), Clip);
    return FCanvas;
}

void TControl::Repaint()
{
    TForm* Form = ParentForm();
    if (!Form || !Showing()) return;
    Form->PaintControl(this);
    Form->MarkPainted();
}

void TControl::Invalidate()
{
    if (TForm* Form = ParentForm()) Form->MarkInvalid(this);
}

void TControl::PaintTree()
{
    Paint(Canvas());
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::MouseWheel(TShiftState, int, int, int)
{
    return false;
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

TCursor TControl::CursorAt(int, int) const
{
    return Cursor;
}
