#include "apps/designer/window/Snapping.h"

#include <algorithm>
#include <cstdlib>

namespace {

int ToGrid(int V, int Grid)
{
    if (Grid <= 0) return V;
    // Nearest multiple, ties away from zero; floor division keeps negatives on the grid.
    const int Down = (V >= 0 ? V / Grid : -((-V + Grid - 1) / Grid)) * Grid;
    return V - Down < Grid - (V - Down) ? Down : Down + Grid;
}

} // namespace

TSnapTargets::TSnapTargets(const std::vector<TRect>& Rects)
{
    FAcross.reserve(3 * Rects.size());
    FDown.reserve(3 * Rects.size());
    for (const TRect& R : Rects) {
        FAcross.insert(FAcross.end(), {R.Left, R.Right, R.Left + R.Width() / 2});
        FDown.insert(FDown.end(), {R.Top, R.Bottom, R.Top + R.Height() / 2});
    }
    std::sort(FAcross.begin(), FAcross.end());
    std::sort(FDown.begin(), FDown.end());
}

bool TSnapTargets::Nearest(const std::vector<int>& Targets, std::initializer_list<int> Values, int Reach, int& Shift,
                           int& Target)
{
    bool Found = false;
    for (const int V : Values) {
        auto It = std::lower_bound(Targets.begin(), Targets.end(), V - Reach);
        for (; It != Targets.end() && *It <= V + Reach; ++It)
            if (!Found || std::abs(*It - V) < std::abs(Shift)) {
                Found = true;
                Shift = *It - V;
                Target = *It;
            }
    }
    return Found;
}

TRect TSnapTargets::Move(const TRect& R, int Grid, int Reach, TSnapGuides& Guides) const
{
    int DX = 0, DY = 0, Target = 0;
    if (Nearest(FAcross, {R.Left, R.Left + R.Width() / 2, R.Right}, Reach, DX, Target)) Guides.X.push_back(Target);
    else DX = ToGrid(R.Left, Grid) - R.Left;
    if (Nearest(FDown, {R.Top, R.Top + R.Height() / 2, R.Bottom}, Reach, DY, Target)) Guides.Y.push_back(Target);
    else DY = ToGrid(R.Top, Grid) - R.Top;
    return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

TRect TSnapTargets::Resize(const TRect& R, TMovingEdges Edges, int Grid, int Reach, TSnapGuides& Guides) const
{
    const auto Snap = [&](const std::vector<int>& Targets, int V, std::vector<int>& Lines) {
        int Shift = 0, Target = 0;
        if (Nearest(Targets, {V}, Reach, Shift, Target)) {
            Lines.push_back(Target);
            return Target;
        }
        return ToGrid(V, Grid);
    };
    TRect Out = R;
    if (Edges.Left) Out.Left = std::min(Snap(FAcross, R.Left, Guides.X), R.Right);
    if (Edges.Right) Out.Right = std::max(Snap(FAcross, R.Right, Guides.X), Out.Left);
    if (Edges.Top) Out.Top = std::min(Snap(FDown, R.Top, Guides.Y), R.Bottom);
    if (Edges.Bottom) Out.Bottom = std::max(Snap(FDown, R.Bottom, Guides.Y), Out.Top);
    return Out;
}
