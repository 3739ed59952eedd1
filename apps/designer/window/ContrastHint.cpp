#include "apps/designer/window/ContrastHint.h"

#include "apps/designer/document/ContrastTexts.h"
#include "platform/toolkit/Form.h"

namespace {

// Below the pointer's tip, so that the hint never covers what it explains.
constexpr int BelowPointer = 20;

} // namespace

TContrastHint::TContrastHint(TControl& Owner) : FOwner(Owner) {}

void TContrastHint::PointAt(TComponent* Component, int X, int Y)
{
    if (Component == FFor) return;
    FFor = Component;
    std::string Text;
    if (Component)
        for (const std::string& Line : FailureLines(*Component, TContrastLevel::AA))
            Text += (Text.empty() ? "" : "\n") + Line;
    TForm* Form = FOwner.ParentForm();
    if (Text.empty() || !Form) {
        if (FHint) FHint->Hide();
        return;
    }
    if (!FHint) FHint = new THintWindow(&FOwner);
    const TPoint O = FOwner.SurfaceOrigin();
    FHint->ShowAt(*Form, O.X + X, O.Y + Y + BelowPointer, Text);
}

void TContrastHint::Hide()
{
    FFor = nullptr;
    if (FHint) FHint->Hide();
}
