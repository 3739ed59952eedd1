#pragma once
// One line of text laid out as it is drawn: split into runs by direction, script and
// font, each run shaped by HarfBuzz, the runs in visual order (left to right on the
// screen). Drawing, measuring, caret placing and hit-testing all read the same layout,
// so what is measured is what is drawn. Offsets are byte offsets into the UTF-8 text;
// x positions are pixels from the line's left edge.
//
// The paragraph is left to right, as a web page's is unless it says otherwise; right-to-
// left words in it are ordered by the Unicode bidirectional algorithm (FriBidi).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Export.h"

class TSizedFace;

struct TShapedGlyph {
    uint32_t Id = 0;      // in the run's font; 0 is the font's missing-glyph box
    uint32_t Cluster = 0; // byte offset of the first character it shows
    // 26.6 fixed point, as HarfBuzz gives them; Y up.
    int32_t XAdvance = 0, XOffset = 0, YOffset = 0;
};

struct TTextRun {
    size_t First = 0, Last = 0; // the bytes [First, Last) of the text
    bool RightToLeft = false;
    std::string Script;   // ISO 15924 tag, "Arab"
    std::string Language; // BCP 47 tag HarfBuzz shaped with
    std::string FontFile; // the face drawn with, and its index in the file
    int FaceIndex = 0;
    int64_t X = 0; // left edge, 26.6
    std::vector<TShapedGlyph> Glyphs; // in visual order
    std::shared_ptr<TSizedFace> Face;
};

class QELL_GRAPHICS_API TTextLayout {
public:
    // What the font engine builds; Graphemes are the text's grapheme boundaries, 0 and
    // the text's size included, and Runs in visual order with their X set.
    TTextLayout(std::string Text, std::vector<size_t> Graphemes, std::vector<TTextRun> Runs);

    const std::string& Text() const { return FText; }
    const std::vector<TTextRun>& Runs() const { return FRuns; }
    // The advance of the whole line in pixels.
    int Width() const;
    // The grapheme cluster boundaries: where a caret may stand.
    const std::vector<size_t>& Graphemes() const { return FGraphemes; }
    // Where the caret at Offset is drawn: the leading edge of the grapheme that starts
    // there (its left edge in a left-to-right run, its right edge in a right-to-left
    // one), or at the text's end the trailing edge of the last. An offset inside a
    // grapheme counts as that grapheme's start.
    int CaretX(size_t Offset) const;
    // The caret offset nearest X: the nearer edge of the grapheme under X, or of the
    // grapheme at the line's end nearer X.
    size_t OffsetAt(int X) const;
    // The pixel spans [Left, Right) that the graphemes of the bytes [From, To) cover,
    // left to right, touching spans merged: one for a selection in one direction, more
    // where it crosses a change of direction.
    std::vector<std::pair<int, int>> Spans(size_t From, size_t To) const;

private:
    // A grapheme's place: its bytes start at Offset, and it covers [Left, Right) in
    // 26.6, drawn in a right-to-left run or not.
    struct TPlace {
        size_t Offset;
        int64_t Left, Right;
        bool RightToLeft;
    };
    void Place();
    size_t PlaceOf(size_t Offset) const;
    std::string FText;
    std::vector<size_t> FGraphemes;
    std::vector<TTextRun> FRuns;
    std::vector<TPlace> FPlaces; // in logical order
    int64_t FAdvance = 0;
};

// Grapheme cluster boundaries (Unicode text segmentation), from ICU: the boundary after
// or before byte Pos of UTF-8 Text, clamped to the text. A malformed sequence counts as
// one character. They read only the characters around Pos.
QELL_GRAPHICS_API size_t NextGraphemePos(std::string_view Text, size_t Pos);
QELL_GRAPHICS_API size_t PrevGraphemePos(std::string_view Text, size_t Pos);
// Every boundary of Text, 0 and Text.size() included.
QELL_GRAPHICS_API std::vector<size_t> GraphemeBoundaries(std::string_view Text);
