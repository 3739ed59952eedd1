#include "platform/toolkit/StatusBar.h"

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"

namespace {

void Publish(TPublisher<TStatusBar>& P)
{
    P.Redeclare("Width").OrdDefault = TStatusBar::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TStatusBar::DefaultHeight;
    P.Field("SimplePanel", TypeInfoBoolean, &TStatusBar::SimplePanel, true)
        .Describe("Whether the bar shows one text across its whole width.");
    P.String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText, "").Describe("The text the bar shows.");
}

} // namespace

QELL_DEFINE_CLASS_INFO(TStatusBar, Publish, true)

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
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
