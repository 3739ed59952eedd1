#include "platform/toolkit/Label.h"

#include "platform/rtl/Publish.h"

namespace {

void Publish(TPublisher<TLabel>& P)
{
    P.Redeclare("Width").OrdDefault = TLabel::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TLabel::DefaultHeight;
    P.String("Caption", &TLabel::Caption, &TLabel::SetCaption, "").Describe("The text shown.");
    P.Ordinal("AutoSize", TypeInfoBoolean, &TLabel::AutoSize, &TLabel::SetAutoSize, true)
        .Describe("Whether the label takes the size of its text.");
}

} // namespace

QELL_DEFINE_CLASS_INFO(TLabel, Publish, true)

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner)
{
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
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
    if (!Enabled()) C.Font.SetColor(clGrayText);
    C.TextOut(0, 0, FCaption);
}
