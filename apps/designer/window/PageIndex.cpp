#include "apps/designer/window/PageIndex.h"

#include <algorithm>

namespace {

TRect BoundsOf(const TQellControl& C) { return Bounds(C.Left, C.Top, C.Width, C.Height); }

int CellOf(int V, int CellSize, int Origin, int Side)
{
    // Floor division, so that negative places fall in the cell below.
    const int Offset = V - Origin;
    const int Cell = Offset >= 0 ? Offset / CellSize : -((-Offset + CellSize - 1) / CellSize);
    return std::clamp(Cell, 0, Side - 1);
}

} // namespace

TPageIndex::TCells TPageIndex::CellsOf(const TRect& R)
{
    return {CellOf(R.Left, CellSize, Origin, Side), CellOf(R.Top, CellSize, Origin, Side),
            CellOf(R.Right - 1, CellSize, Origin, Side), CellOf(R.Bottom - 1, CellSize, Origin, Side)};
}

void TPageIndex::Rebuild(const TQellPage& Page)
{
    FPlaces.clear();
    FCells.assign(static_cast<size_t>(Side * Side), {});
    FWide.clear();
    for (int I = 0; I < Page.ComponentCount(); ++I)
        if (auto* C = dynamic_cast<TQellControl*>(Page.Components(I))) {
            FPlaces[C] = {BoundsOf(*C), I};
            Insert(*C, BoundsOf(*C));
        }
}

void TPageIndex::Update(TQellControl& Control)
{
    TPlace& Place = FPlaces.at(&Control);
    const TRect Now = BoundsOf(Control);
    if (Place.Bounds == Now) return;
    Remove(Control, Place.Bounds);
    Place.Bounds = Now;
    Insert(Control, Now);
}

const TRect* TPageIndex::Find(const TQellControl& Control) const
{
    const auto It = FPlaces.find(&Control);
    return It == FPlaces.end() ? nullptr : &It->second.Bounds;
}

void TPageIndex::Insert(TQellControl& Control, const TRect& Bounds)
{
    if (Bounds.IsEmpty()) return; // meets nothing
    const TCells Cells = CellsOf(Bounds);
    if (Cells.Count() > MaxCells) {
        FWide.push_back(&Control);
        return;
    }
    for (int Y = Cells.Top; Y <= Cells.Bottom; ++Y)
        for (int X = Cells.Left; X <= Cells.Right; ++X) Cell(X, Y).push_back(&Control);
}

void TPageIndex::Remove(TQellControl& Control, const TRect& Bounds)
{
    if (Bounds.IsEmpty()) return;
    const auto Drop = [&](std::vector<TQellControl*>& List) {
        const auto It = std::find(List.begin(), List.end(), &Control);
        if (It == List.end()) return;
        *It = List.back();
        List.pop_back();
    };
    const TCells Cells = CellsOf(Bounds);
    if (Cells.Count() > MaxCells) {
        Drop(FWide);
        return;
    }
    for (int Y = Cells.Top; Y <= Cells.Bottom; ++Y)
        for (int X = Cells.Left; X <= Cells.Right; ++X) Drop(Cell(X, Y));
}

std::vector<TQellControl*> TPageIndex::Meeting(const TRect& Area) const
{
    std::vector<std::pair<int, TQellControl*>> Met; // in page order once sorted
    const auto Take = [&](const std::vector<TQellControl*>& List) {
        for (TQellControl* C : List)
            if (const TPlace& P = FPlaces.at(C); !Intersect(P.Bounds, Area).IsEmpty()) Met.emplace_back(P.Order, C);
    };
    if (!Area.IsEmpty() && !FCells.empty()) {
        const TCells Cells = CellsOf(Area);
        for (int Y = Cells.Top; Y <= Cells.Bottom; ++Y)
            for (int X = Cells.Left; X <= Cells.Right; ++X) Take(FCells[static_cast<size_t>(Y * Side + X)]);
        Take(FWide);
    }
    // A control that spans several cells is met in each.
    std::sort(Met.begin(), Met.end());
    Met.erase(std::unique(Met.begin(), Met.end()), Met.end());
    std::vector<TQellControl*> Found;
    Found.reserve(Met.size());
    for (const auto& M : Met) Found.push_back(M.second);
    return Found;
}
