#include "apps/designer/window/DescriptionLine.h"

#include <algorithm>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"

namespace {

// Line broken at spaces into parts no wider than Width, where a word allows; a part
// after the first keeps the line's indent.
std::vector<std::string> Wrapped(TCanvas& C, const std::string& Line, int Width)
{
    std::vector<std::string> Parts;
    const std::string Indent(std::min(Line.find_first_not_of(' '), Line.size()), ' ');
    std::string Rest = Line;
    while (C.TextWidth(Rest) > Width) {
        size_t Break = std::string::npos;
        for (size_t At = Rest.find(' ', Indent.size()); At != std::string::npos; At = Rest.find(' ', At + 1)) {
            if (C.TextWidth(Rest.substr(0, At)) > Width) break;
            Break = At;
        }
        if (Break == std::string::npos) break;
        Parts.push_back(Rest.substr(0, Break));
        Rest = Indent + Rest.substr(Break + 1);
    }
    Parts.push_back(Rest);
    return Parts;
}

} // namespace

QELL_DEFINE_CLASS_INFO(TDescriptionLine)

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
    int Top = Inside.Top;
    for (const std::string& Line : FLines)
        for (const std::string& Part : Wrapped(C, Line, Inside.Width())) {
            if (Top + LineHeight > Inside.Bottom) return;
            C.TextRect(Rect(Inside.Left, Top, Inside.Right, Top + LineHeight), Inside.Left, Top, Part);
            Top += LineHeight;
        }
}
