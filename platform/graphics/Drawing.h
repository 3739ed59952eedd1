#pragma once
// Small drawing helpers for any canvas: the bevels and the focus rectangle that
// controls and property editors draw.

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Export.h"

// A one-pixel bevel just inside R: top and left in TopLeft, bottom and right in
// BottomRight. The brush colour is left as it was.
QELL_GRAPHICS_API void DrawEdge(TCanvas& C, const TRect& R, TColor TopLeft, TColor BottomRight);
// A dotted rectangle just inside R that inverts what lies under it, so drawing it
// twice removes it.
QELL_GRAPHICS_API void DrawFocusRect(TCanvas& C, const TRect& R);
