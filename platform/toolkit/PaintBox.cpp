#include "platform/toolkit/PaintBox.h"

#include "platform/rtl/Publish.h"

namespace {

void Publish(TPublisher<TPaintBox>& P)
{
    P.Redeclare("Width").OrdDefault = TPaintBox::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TPaintBox::DefaultHeight;
    P.Event("OnPaint", TypeInfoTNotifyEvent, &TPaintBox::OnPaint).Describe("Draws the paint box's content.");
}

} // namespace

QELL_DEFINE_CLASS_INFO(TPaintBox, Publish, true)

TPaintBox::TPaintBox(TComponent* AOwner) : TControl(AOwner)
{
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

void TPaintBox::Paint(TCanvas&)
{
    if (OnPaint) OnPaint(this);
}
