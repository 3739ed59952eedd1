#pragma once
// Aligning, sizing and spacing components, as pure geometry: new bounds from old, so that
// the window's commands and their tests share one computation.

#include <vector>

#include "platform/graphics/Types.h"

enum class TAlignment {
    Lefts,           // the left edges on the first's
    Rights,          // the right edges on the first's
    Tops,            // the top edges on the first's
    Bottoms,         // the bottom edges on the first's
    Centres,         // the horizontal centres on the first's (one above the other)
    Middles,         // the vertical centres on the first's (side by side)
    SameWidth,       // the first's width
    SameHeight,      // the first's height
    SameSize,        // the first's width and height
    SpaceAcross,     // equal gaps from left to right, the outermost two staying
    SpaceDown,       // equal gaps from top to bottom, the outermost two staying
};

// Rects[0] is the one the others follow; each answer is the rectangle of the same index.
// Spacing keeps the order the rectangles have across (or down), the outermost staying
// where they are; what does not divide evenly goes to the first gaps, a pixel each.
// Fewer than two rectangles stay as they are.
std::vector<TRect> Aligned(const std::vector<TRect>& Rects, TAlignment How);

// Its caption in menus ("Align left edges").
const char* AlignmentCaption(TAlignment How);
