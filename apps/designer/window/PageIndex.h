#pragma once
// Where the page's components lie, found by area: what the preview paints in a damaged
// part of the page and what lies under the pointer, at a cost that grows with what
// lies there, not with the page. The page is cut into square cells, each listing the
// components that meet it; a component that spans many cells is listed apart and
// looked at by every query, so that no page can make the index large.

#include <unordered_map>
#include <vector>

#include "platform/components/IWQellBase.h"
#include "platform/graphics/Types.h"

class TPageIndex {
public:
    // Every control of Page with its bounds, in page order (what was there before goes).
    void Rebuild(const TQellPage& Page);
    // The bounds of Control, which must be indexed, as they are now.
    void Update(TQellControl& Control);
    // The bounds Control was indexed with; nullptr when it is not indexed.
    const TRect* Find(const TQellControl& Control) const;
    // The indexed controls whose bounds meet Area (page coordinates), in page order.
    std::vector<TQellControl*> Meeting(const TRect& Area) const;

private:
    struct TPlace {
        TRect Bounds;
        int Order; // in the page, as of the last Rebuild
    };
    // The range of cells R meets, clamped to the grid (first and last, both axes).
    struct TCells {
        int Left, Top, Right, Bottom;
        int Count() const { return (Right - Left + 1) * (Bottom - Top + 1); }
    };
    static TCells CellsOf(const TRect& R);
    void Insert(TQellControl& Control, const TRect& Bounds);
    void Remove(TQellControl& Control, const TRect& Bounds);
    std::vector<TQellControl*>& Cell(int X, int Y) { return FCells[static_cast<size_t>(Y * Side + X)]; }

    static constexpr int CellSize = 128;
    // Places reach from -MaxQellExtent to twice MaxQellExtent (a place plus a size).
    static constexpr int Origin = -MaxQellExtent, Side = 3 * MaxQellExtent / CellSize;
    // A control spanning more cells than this is listed in FWide instead.
    static constexpr int MaxCells = 16;
    std::unordered_map<const TQellControl*, TPlace> FPlaces;
    std::vector<std::vector<TQellControl*>> FCells;
    std::vector<TQellControl*> FWide;
};
