#include "apps/designer/window/DescriptionLine.h"

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"

const TClassInfo& TDescriptionLine::StaticClassInfo()
{
    static const TClassInfo Info =
        MakeClassInfo<TDescriptionLine>("TDescriptionLine", PublishNothing<TDescriptionLine>);
    return Info;
}

TDescriptionLine::TDescriptionLine(TComponent* AOwner) : TControl(AOwner)
{
    SetBounds(0, 0, 300, DefaultHeight);
}

void TDescriptionLine::SetLines(std::vector<std::string> Lines)
{
    if (Lines.size() > MaxLines) Lines.resize(MaxLines);
    if (Lines == FLines) return;
    FLines = std::move(Lines);
    Invalidate();
}

void TDescriptionLine::Paint(TCanvas& C)
{
    const TRect R = ClientRect();
    C.Brush.Color = clBtnFace;
    C.FillRect(R);
    DrawEdge(C, R, clBtnShadow, clBtnHighlight);
    C.Font = EffectiveFont();
    C.Font.SetColor(clWindowText);
    const TRect Inside = Inflate(R, Padding);
    for (size_t I = 0; I < FLines.size(); ++I) {
        const int Top = Inside.Top + static_cast<int>(I) * LineHeight;
        C.TextRect(Rect(Inside.Left, Top, Inside.Right, Top + LineHeight), Inside.Left, Top, FLines[I]);
    }
}
