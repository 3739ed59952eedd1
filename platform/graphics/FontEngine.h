#pragma once
// Text rendering: a font's face found through fontconfig, fallback faces for what it
// lacks, lines laid out by TTextLayout (HarfBuzz shaping, FriBidi ordering) and glyphs
// rendered by FreeType with grey anti-aliasing. Controls draw text through TCanvas,
// which uses this.
//
// Sizes follow the form resources: a negative TFont::Height is the character (em)
// height in pixels, so "MS Sans Serif" at -11 is an 11-pixel sans; a positive height
// is the cell height (ascent plus descent) of the font's own face, and fallback faces
// take the same em. The cell, and so the baseline, is the font's own face's. When no
// font can be found at all, text is skipped and one warning goes to standard error.

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Export.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/TextLayout.h"
#include "platform/graphics/Types.h"

class QELL_GRAPHICS_API TFontEngine {
public:
    // The process's one engine. Faces and rendered glyphs stay cached for its lifetime,
    // and the most recently used layouts, keyed by text and font (not colour), because
    // the same texts are drawn on every paint.
    static TFontEngine& Instance();
    ~TFontEngine();
    TFontEngine(const TFontEngine&) = delete;
    TFontEngine& operator=(const TFontEngine&) = delete;

    // Blends the UTF-8 Text in the plain colour Color into Surface, the top-left corner
    // of its cell at (X, Y) in surface coordinates, touching only pixels inside Clip
    // (which lies within the surface). A character no installed font has is drawn as the
    // font's missing-glyph box.
    void DrawText(TBitmap& Surface, const TRect& Clip, int64_t X, int64_t Y, const TFont& Font,
                  uint32_t Color, std::string_view Text);
    // Text laid out in Font, as DrawText draws it; without a font, a layout with its
    // grapheme boundaries and no runs.
    std::shared_ptr<const TTextLayout> Layout(const TFont& Font, std::string_view Text);
    // The advance of Text in pixels, its layout's width; 0 without a font.
    int TextWidth(const TFont& Font, std::string_view Text);
    // The cell height, ascent plus descent, in pixels; the nominal size without a font.
    int TextHeight(const TFont& Font);
    // Whether a face could be loaded for Font.
    bool HasFace(const TFont& Font);

private:
    TFontEngine();
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
