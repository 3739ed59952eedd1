#include "platform/toolkit/StatusBar.h"

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 185, 19);
}

void TStatusBar::SetSimpleText(const std::string& V)
{
    if (V == FSimpleText) return;
    FSimpleText = V;
    Repaint();
}

void TStatusBar::Paint(TCanvas& C)
{
    C.Brush.Color = EffectiveColor();
    C.FillRect(ClientRect());
    // One sunken panel across the bar, two pixels below its top edge.
    const TRect Panel = Rect(0, 2, Width(), Height());
    DrawEdge(C, Panel, clBtnShadow, clBtnHighlight);
    C.Font = EffectiveFont();
    const int TextY = Panel.Top + (Panel.Height() - C.TextHeight(FSimpleText)) / 2;
    C.TextOut(4, TextY, FSimpleText);
}
