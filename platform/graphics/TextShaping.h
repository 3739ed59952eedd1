#pragma once
// Private to the graphics library: laying out one line of text.

#include <memory>
#include <string_view>

#include "platform/graphics/FontFaces.h"
#include "platform/graphics/TextLayout.h"

// Text laid out in Font, whose primary face is Primary: each grapheme cluster in the
// first face that has it (Primary, else a fallback fontconfig names, else Primary's
// missing-glyph box), runs split by bidi level, script and face and shaped by HarfBuzz,
// then put in visual order. Bytes that are not UTF-8 show nothing; control characters
// show nothing and take no room.
std::shared_ptr<const TTextLayout> ShapeLine(TFaceStore& Faces, const TFacePtr& Primary, const TFont& Font,
                                             std::string_view Text);
