#include "platform/toolkit/PaintBox.h"

TPaintBox::TPaintBox(TComponent* AOwner) : TControl(AOwner)
{
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint(TCanvas&)
{
    if (OnPaint) OnPaint(this);
}
