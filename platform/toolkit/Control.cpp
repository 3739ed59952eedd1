#include "platform/toolkit/Control.h"

#include <algorithm>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/WinControl.h"

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

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

TColor TControl::EffectiveColor() const
{
    if (ParentColor && FParent) return FParent->EffectiveColor();
    return Color;
}

const TFont& TControl::EffectiveFont() const
{
    if (ParentFont && FParent) return FParent->EffectiveFont();
    return Font;
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
    FCanvas.Bind(Form ? &Form->Surface() : nullptr, SurfaceOrigin(), SurfaceClip());
    return FCanvas;
}

void TControl::Repaint()
{
    TForm* Form = ParentForm();
    if (!Form || !Showing()) return;
    PaintTree();
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

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DrawEdge(TCanvas& C, const TRect& R, TColor TopLeft, TColor BottomRight)
{
    if (R.IsEmpty()) return;
    const TColor Saved = C.Brush.Color;
    C.Brush.Color = TopLeft;
    C.FillRect(Rect(R.Left, R.Top, R.Right, R.Top + 1));
    C.FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom));
    C.Brush.Color = BottomRight;
    C.FillRect(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
    C.FillRect(Rect(R.Right - 1, R.Top, R.Right, R.Bottom));
    C.Brush.Color = Saved;
}

void TControl::DrawFocusRect(TCanvas& C, const TRect& R)
{
    if (R.IsEmpty()) return;
    auto Invert = [&](int X, int Y) {
        const TColor P = C.Pixels(X, Y);
        if (P >= 0) C.SetPixels(X, Y, ~P & 0xFFFFFF);
    };
    for (int X = R.Left; X < R.Right; X += 2) {
        Invert(X, R.Top);
        if (R.Bottom - 1 > R.Top) Invert(X, R.Bottom - 1);
    }
    for (int Y = R.Top + 2; Y < R.Bottom - 1; Y += 2) {
        Invert(R.Left, Y);
        if (R.Right - 1 > R.Left) Invert(R.Right - 1, Y);
    }
}
