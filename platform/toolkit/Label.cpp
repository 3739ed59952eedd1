#include "platform/toolkit/Label.h"

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner)
{
    SetBounds(0, 0, 65, 13);
}

void TLabel::SetCaption(const std::string& V)
{
    if (V == FCaption) return;
    FCaption = V;
    AdjustSize();
    Invalidate();
}

void TLabel::SetAutoSize(bool V)
{
    if (V == FAutoSize) return;
    FAutoSize = V;
    AdjustSize();
}

void TLabel::AdjustSize()
{
    if (!FAutoSize) return;
    TCanvas Measure;
    Measure.Font = EffectiveFont();
    SetBounds(Left(), Top(), Measure.TextWidth(FCaption), Measure.TextHeight(FCaption));
}

void TLabel::Paint(TCanvas& C)
{
    C.Brush.Color = EffectiveColor();
    C.FillRect(ClientRect());
    C.Font = EffectiveFont();
    if (!Enabled()) C.Font.Color = clGrayText;
    C.TextOut(0, 0, FCaption);
}
