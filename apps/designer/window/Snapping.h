#pragma once
// Snapping a rectangle being dragged in the page: to the edges and centres of the other
// components and of the page when one lies within reach, else to the grid; and the guide
// lines that show which edges it snapped to. Pure geometry in page coordinates, so that
// a drag costs the same on a page of 10 components as on one of 10,000: the targets are
// sorted once when the drag begins, and each step finds the nearest by bisection.

#include <vector>

#include "platform/graphics/Types.h"

// Lines to draw while a drag lasts: vertical ones at X, horizontal ones at Y.
struct TSnapGuides {
    std::vector<int> X, Y;
    bool operator==(const TSnapGuides&) const = default;
};

// The edges of a rectangle that a resize moves.
struct TMovingEdges {
    bool Left = false, Top = false, Right = false, Bottom = false;
};

class TSnapTargets {
public:
    TSnapTargets() = default;
    // The left and right edges and the centres across, the top and bottom edges and the
    // middles down, of Rects.
    explicit TSnapTargets(const std::vector<TRect>& Rects);
    // Snaps R moved by a drag: the one of its left edge, centre and right edge that lies
    // nearest a target across, within Reach, moves R onto it, else its left edge goes to
    // the nearest multiple of Grid (none when Grid is 0); likewise down. Guides gets the
    // lines of the targets it snapped to.
    TRect Move(const TRect& R, int Grid, int Reach, TSnapGuides& Guides) const;
    // Snaps the edges of R that a resize moves, each on its own, in the same way; an
    // edge that would pass the opposite one stops there.
    TRect Resize(const TRect& R, TMovingEdges Edges, int Grid, int Reach, TSnapGuides& Guides) const;

private:
    // The target nearest any of Values within Reach: the shift onto it, and the target;
    // false when none is in reach.
    static bool Nearest(const std::vector<int>& Targets, std::initializer_list<int> Values, int Reach, int& Shift,
                        int& Target);
    std::vector<int> FAcross, FDown; // sorted
};
