#include "platform/components/PagePainter.h"

#include <unordered_map>

void PaintPage(const TQellPage& Page, const TCanvas& Canvas)
{
    // Only what meets the part being repainted is drawn: a small repaint of a page
    // costs what the components there cost.
    const TRect Clip = TCanvas(Canvas, Rect(0, 0, Page.Width, Page.Height)).ClipArea();
    std::vector<TQellControl*> Controls;
    for (int I = 0; I < Page.ComponentCount() && !Clip.IsEmpty(); ++I)
        if (auto* Control = dynamic_cast<TQellControl*>(Page.Components(I));
            Control && !Intersect(Bounds(Control->Left, Control->Top, Control->Width, Control->Height), Clip).IsEmpty())
            Controls.push_back(Control);
    PaintPage(Page, Canvas, Controls);
}

void PaintPage(const TQellPage& Page, const TCanvas& Canvas, const std::vector<TQellControl*>& Controls)
{
    const TRect PageRect = Rect(0, 0, Page.Width, Page.Height);
    TCanvas OnPage(Canvas, PageRect);
    OnPage.Brush.Color = Page.Color;
    OnPage.FillRect(PageRect);
    if (OnPage.ClipArea().IsEmpty()) return;
    for (const TQellControl* Control : Controls) {
        TCanvas Own(OnPage, Bounds(Control->Left, Control->Top, Control->Width, Control->Height));
        Control->Paint(Own);
    }
}

TBitmap PagePicture(const TQellPage& Page)
{
    TBitmap Picture(Page.Width, Page.Height, Page.Color);
    PaintPage(Page, TCanvas(&Picture, {0, 0}, Rect(0, 0, Page.Width, Page.Height)));
    return Picture;
}

void SimulateVisionOn(TCanvas& Canvas, const TRect& Area, TVisionDeficiency Deficiency)
{
    if (Deficiency == TVisionDeficiency::None) return;
    // A page has few distinct colours (text edges add some): each is simulated once.
    std::unordered_map<TColor, TColor> Seen;
    for (int Y = Area.Top; Y < Area.Bottom; ++Y)
        for (int X = Area.Left; X < Area.Right; ++X) {
            const TColor Pixel = Canvas.Pixels(X, Y);
            if (Pixel < 0) continue; // outside the clip
            auto [It, Added] = Seen.try_emplace(Pixel, 0);
            if (Added) It->second = SimulateVision(Pixel, Deficiency);
            Canvas.SetPixels(X, Y, It->second);
        }
}
