#include "apps/designer/window/DescriptionLine.h"

#include <algorithm>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"

namespace {

// Line broken at spaces into parts no wider than Width, where a word allows; a part
// after the first keeps the line's indent.
void Wrap(TCanvas& C, const std::string& Line, int Width, std::vector<std::string>& Parts)
{
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
}

} // namespace

QELL_DEFINE_CLASS_INFO(TDescriptionLine)

TDescriptionLine::TDescriptionLine(TComponent* AOwner) : TWinControl(AOwner), FScrollBar(new TScrollBar(this))
{
    FScrollBar->SetParent(this);
    FScrollBar->SetVisible(false);
    FScrollBar->OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(0, 0, 300, DefaultHeight);
}

void TDescriptionLine::SetLines(std::vector<std::string> Lines)
{
    if (Lines == FLines) return;
    FLines = std::move(Lines);
    FScrollBar->SetPosition(0);
    Layout();
}

std::vector<std::string> TDescriptionLine::Broken(int Width) const
{
    TCanvas Measure;
    Measure.Font = EffectiveFont();
    std::vector<std::string> Parts;
    for (const std::string& Line : FLines) Wrap(Measure, Line, Width, Parts);
    return Parts;
}

namespace {

int HeightFor(size_t Lines)
{
    return std::clamp(static_cast<int>(Lines) * TDescriptionLine::LineHeight + 2 * TDescriptionLine::Padding,
                      TDescriptionLine::DefaultHeight, TDescriptionLine::MaxHeight);
}

} // namespace

int TDescriptionLine::HeightNeeded(int AWidth) const
{
    // Asked after every edit, mostly at the width the line has: worked out once there.
    return AWidth == Width() ? FHeightNeeded : HeightFor(Broken(AWidth - 2 * Padding).size());
}

void TDescriptionLine::Layout()
{
    const int Room = std::max(0, Height() - 2 * Padding) / LineHeight;
    FShown = Broken(Width() - 2 * Padding);
    FHeightNeeded = HeightFor(FShown.size());
    const bool Overflows = static_cast<int>(FShown.size()) > Room;
    // Inside the edge, the text keeping its padding from the bar.
    if (Overflows) FShown = Broken(Width() - 2 * Padding - TScrollBar::DefaultWidth);
    FScrollBar->SetBounds(Width() - 1 - TScrollBar::DefaultWidth, 1, TScrollBar::DefaultWidth,
                          std::max(0, Height() - 2));
    FScrollBar->SetParams(0, std::max(0, static_cast<int>(FShown.size()) - 1), std::max(1, Room));
    FScrollBar->SetVisible(Overflows);
    Invalidate();
}

void TDescriptionLine::Resized()
{
    TWinControl::Resized();
    Layout();
}

bool TDescriptionLine::MouseWheel(TShiftState Shift, int Delta, int X, int Y)
{
    return FScrollBar->Visible() && FScrollBar->MouseWheel(Shift, Delta, X, Y);
}

void TDescriptionLine::Paint(TCanvas& C)
{
    const TRect R = ClientRect();
    C.Brush.Color = clBtnFace;
    C.FillRect(R);
    DrawEdge(C, R, clBtnShadow, clBtnHighlight);
    C.Font = EffectiveFont();
    C.Font.SetColor(clWindowText);
    TRect Inside = Inflate(R, Padding);
    if (FScrollBar->Visible()) Inside.Right -= TScrollBar::DefaultWidth;
    int Top = Inside.Top;
    for (size_t I = static_cast<size_t>(FScrollBar->Position()); I < FShown.size(); ++I) {
        if (Top + LineHeight > Inside.Bottom) return;
        C.TextRect(Rect(Inside.Left, Top, Inside.Right, Top + LineHeight), Inside.Left, Top, FShown[I]);
        Top += LineHeight;
    }
}
