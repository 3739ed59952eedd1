#include "apps/designer/window/StatusLine.h"

#include <algorithm>

#include "platform/rtl/Publish.h"

QELL_DEFINE_CLASS_INFO(TStatusLine)

TStatusLine::TStatusLine(TWinControl& Parent, TPageDocument& Document) : TStatusBar(&Parent), FDocument(Document)
{
    SetName("Status");
    SetParent(&Parent);
    SetSimpleText(Keys);
    FDocument.AddObserver(*this);
}

TStatusLine::~TStatusLine()
{
    FDocument.RemoveObserver(*this);
}

void TStatusLine::DocumentChanged(const TDocumentChange& Change)
{
    if (!Change.Action.empty()) SetAction(Change.Action);
    if (FCounting && (Change.Values || Change.Entries || Change.NewPage))
        SetProblems(static_cast<int>(FDocument.ContrastProblems().size()));
}

void TStatusLine::SetCountProblems(bool On)
{
    FCounting = On;
    SetProblems(On ? static_cast<int>(FDocument.ContrastProblems().size()) : -1);
}

void TStatusLine::SetAction(const std::string& Action)
{
    if (Action == FAction) return;
    FAction = Action;
    Invalidate();
}

void TStatusLine::SetProblems(int Count)
{
    if (Count == FProblems) return;
    FProblems = Count;
    Invalidate();
}

std::string TStatusLine::ProblemsText() const
{
    if (FProblems < 0) return {};
    if (FProblems == 0) return "no contrast problems";
    return std::to_string(FProblems) + " contrast problem" + (FProblems == 1 ? "" : "s");
}

void TStatusLine::Paint(TCanvas& C)
{
    TStatusBar::Paint(C);
    std::string Right = ProblemsText();
    if (!FAction.empty()) Right += (Right.empty() ? "" : "   ") + FAction;
    if (Right.empty()) return;
    // The right-hand text is drawn over the keys' end when the window is narrow: what
    // just happened matters more than a reminder of the keys.
    const int W = C.TextWidth(Right), X = std::max(4, Width() - 6 - W);
    const TRect Cell = Rect(X - 8, 3, Width() - 2, Height() - 1);
    C.Brush.Color = EffectiveColor();
    C.FillRect(Cell);
    C.TextOut(X, 2 + (Height() - 2 - C.TextHeight(Right)) / 2, Right);
}
