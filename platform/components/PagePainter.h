#pragma once
// The page as the designer's preview and the command line draw it: one painter for both,
// so that a picture made on the command line is what the preview shows.

#include <vector>

#include "colour/Contrast.h"
#include "platform/components/IWQellBase.h"
#include "platform/graphics/Bitmap.h"

// Draws Page with its top-left at Canvas's (0, 0): the page's colour over Page.Width x
// Page.Height, then each component in file order, each on a canvas of its own place
// clipped to the page. Draws nothing outside the page, and nothing of the designer's own
// (no workspace, no selection); a component that lies wholly outside Canvas's clip is
// not drawn at all.
QELL_COMPONENTS_API void PaintPage(const TQellPage& Page, const TCanvas& Canvas);
// The same with the components to draw found by the caller: the page's colour, then
// Controls (the page's, in page order) as above. For a large page whose caller knows
// which components meet the part being painted, without looking at the others.
QELL_COMPONENTS_API void PaintPage(const TQellPage& Page, const TCanvas& Canvas,
                                   const std::vector<TQellControl*>& Controls);

// The page alone, in a bitmap of the page's own size.
QELL_COMPONENTS_API TBitmap PagePicture(const TQellPage& Page);

// Recolours every pixel of Canvas inside Area (canvas coordinates, clipped as the canvas
// clips) as a person with Deficiency sees it (SimulateVision); None changes nothing.
QELL_COMPONENTS_API void SimulateVisionOn(TCanvas& Canvas, const TRect& Area, TVisionDeficiency Deficiency);
