#pragma once
// Drawing on a bitmap through an origin and a clip rectangle. A control's canvas is
// bound to its form's surface at the control's place, clipped to the control and to
// every parent; outside the clip nothing is drawn, whatever the coordinates.

#include <string>

#include "platform/colors/Colors.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Export.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Types.h"

enum TPenMode { pmCopy, pmNot };

struct TPen {
    TColor Color = clBlack;
    TPenMode Mode = pmCopy;
};

struct TBrush {
    TColor Color = clWhite;
};

class QELL_GRAPHICS_API TCanvas {
public:
    TCanvas() = default;
    // Draw onto Surface with (0, 0) at Origin (surface coordinates), clipped to Clip
    // (surface coordinates) and to the surface. A null surface draws nothing.
    TCanvas(TBitmap* Surface, TPoint Origin, TRect Clip) { Bind(Surface, Origin, Clip); }
    void Bind(TBitmap* Surface, TPoint Origin, TRect Clip);
    // A canvas on Within's surface with (0, 0) at Part's top-left (Within's coordinates),
    // clipped to Part and to Within's clip; its pen, brush and font start afresh.
    TCanvas(const TCanvas& Within, const TRect& Part);

    TPen Pen;
    TBrush Brush;
    TFont Font;

    TPoint PenPos() const { return FPenPos; }
    void MoveTo(int X, int Y);
    // Draws from the pen position to (X, Y) in the pen colour (or inverting, pmNot),
    // the end point not drawn; the pen moves to (X, Y).
    void LineTo(int X, int Y);
    // Fills with the brush colour; right and bottom excluded.
    void FillRect(const TRect& R);
    // Outline in the pen colour, interior in the brush colour; right and bottom excluded.
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }

    // What the canvas may draw on, in its own coordinates; empty when nothing.
    TRect ClipArea() const
    {
        return FClip.IsEmpty() ? TRect{}
                               : Rect(FClip.Left - FOrigin.X, FClip.Top - FOrigin.Y, FClip.Right - FOrigin.X,
                                      FClip.Bottom - FOrigin.Y);
    }
    // A plain colour, or -1 outside the clip.
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Color);

    // Text in Font, its top-left cell corner at (X, Y); transparent background.
    void TextOut(int X, int Y, const std::string& Text);
    // TextOut, drawing only inside R (canvas coordinates), as a table cell does.
    void TextRect(const TRect& R, int X, int Y, const std::string& Text);
    int TextWidth(const std::string& Text);
    int TextHeight(const std::string& Text);

private:
    TBitmap* FSurface = nullptr;
    TPoint FOrigin;
    TRect FClip; // surface coordinates, already intersected with the surface
    TPoint FPenPos;
};
