#include "platform/toolkit/WinControl.h"

#include <algorithm>

#include "platform/rtl/Publish.h"
#include "platform/rtl/Guard.h"
#include "platform/toolkit/Form.h"

namespace {

void Publish(TPublisher<TWinControl>& P)
{
    P.Ordinal("TabOrder", TypeInfoInteger, &TWinControl::TabOrder, &TWinControl::SetTabOrder, std::nullopt)
        .Range(0, 1000000)
        .StoredWhen([](const TWinControl& C) { return C.TabOrder() >= 0; })
        .Describe("The control's place in the order that Tab moves the focus through.");
    P.Field("TabStop", TypeInfoBoolean, &TWinControl::TabStop, false).Describe("Whether Tab stops at the control.");
}

} // namespace

QELL_DEFINE_CLASS_INFO(TWinControl, Publish)

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    // The whole subtree leaves the form's bookkeeping while the parent links still
    // lead there; a form itself is no longer a TForm here, so it finds no form.
    if (TForm* Form = ParentForm()) Form->ForgetControl(this);
    for (TControl* C : FControls) C->FParent = nullptr;
    FControls.clear();
}

void TWinControl::SetTabOrder(int V)
{
    FTabOrder = V;
}

bool TWinControl::CanFocus() const
{
    if (!Parent() && dynamic_cast<const TForm*>(this)) return true;
    if (!TabStop || !Showing()) return false;
    for (const TControl* C = this; C; C = C->Parent())
        if (!C->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const
{
    TForm* Form = ParentForm();
    return Form && Form != this && Form->ActiveControl() == this;
}

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
    TForm* Form = ParentForm();
    if (!Form) return;
    Form->SetActiveControl(Form == this ? nullptr : this);
}

TControl* TWinControl::ControlAtPos(int X, int Y) const
{
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
        TControl* C = *It;
        if (!C->Visible() || !C->Enabled() || !C->BoundsRect().Contains(X, Y)) continue;
        if (auto* Win = dynamic_cast<TWinControl*>(C))
            if (TControl* Inner = Win->ControlAtPos(X - C->Left(), Y - C->Top())) return Inner;
        return C;
    }
    return nullptr;
}

void TWinControl::KeyDown(TKey&, TShiftState) {}

void TWinControl::TextInput(const std::string&) {}

bool TWinControl::DialogKey(TKey Key, TShiftState Shift)
{
    // A copy: claiming a key may change the children (a page turns).
    const std::vector<TControl*> Children = FControls;
    for (TControl* C : Children) {
        auto* W = dynamic_cast<TWinControl*>(C);
        if (W && W->Visible() && W->Enabled() && W->DialogKey(Key, Shift)) return true;
    }
    return false;
}

void TWinControl::DoEnter(bool)
{
    Invalidate();
}

void TWinControl::DoExit()
{
    Invalidate();
}

void TWinControl::PaintTree()
{
    TControl::PaintTree();
    // A handler may reparent or free controls while painting: walk a copy and recheck.
    const std::vector<TControl*> Children = FControls;
    for (TControl* C : Children)
        if (std::find(FControls.begin(), FControls.end(), C) != FControls.end() && C->Visible())
            C->PaintTree();
}

void TWinControl::InvalidateRect(const TRect& Area)
{
    if (Area.IsEmpty()) return;
    if (TForm* Form = ParentForm()) Form->MarkInvalidArea(this, Area);
}

void TWinControl::PaintArea(const TRect& Area)
{
    TForm* Form = ParentForm();
    if (!Form || !Showing()) return;
    const TPoint O = SurfaceOrigin();
    const TRect Clip =
        Intersect(SurfaceClip(), Rect(O.X + Area.Left, O.Y + Area.Top, O.X + Area.Right, O.Y + Area.Bottom));
    if (Clip.IsEmpty()) return;
    // This control and the children over the area, each clipped to it, in z-order.
    const std::optional<TRect> Outer = Form->FPaintClip;
    TRestoreOnExit<std::optional<TRect>> Guard(Form->FPaintClip, Outer ? Intersect(*Outer, Clip) : Clip);
    Paint(Canvas());
    const std::vector<TControl*> Children = FControls;
    for (TControl* Child : Children)
        if (std::find(FControls.begin(), FControls.end(), Child) != FControls.end() && Child->Visible() &&
            !Intersect(Child->BoundsRect(), Area).IsEmpty())
            Child->PaintTree();
}

void TWinControl::InsertControl(TControl* C)
{
    FControls.push_back(C);
    auto* Win = dynamic_cast<TWinControl*>(C);
    if (Win && Win->FTabOrder < 0) {
        // A new child goes after its siblings in tab order, as it would when placed last.
        int Next = 0;
        for (TControl* S : FControls)
            if (auto* SW = dynamic_cast<TWinControl*>(S); SW && SW != Win)
                Next = std::max(Next, SW->FTabOrder + 1);
        Win->FTabOrder = Next;
    }
}

void TWinControl::RemoveControl(TControl* C)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), C), FControls.end());
}
