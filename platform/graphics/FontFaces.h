#pragma once
// Private to the graphics library: font faces at a pixel size, found through fontconfig
// and opened with FreeType, with their HarfBuzz fonts and rendered glyphs, and the
// choice of a fallback face for the characters a font lacks.

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/graphics/Font.h"

struct TGlyphBitmap {
    int Left = 0, Top = 0, Width = 0, Rows = 0;
    std::vector<uint8_t> Coverage;
};

// One face at one pixel size. Layouts hold it by shared pointer, so that it outlives
// the store's cache while any layout drawn with it does.
class TSizedFace {
public:
    // Takes Face, whose size is already set.
    TSizedFace(FT_Face Face, std::string File, int Index, bool Embolden);
    ~TSizedFace();
    TSizedFace(const TSizedFace&) = delete;
    TSizedFace& operator=(const TSizedFace&) = delete;

    const std::string& File() const { return FFile; }
    int Index() const { return FIndex; }
    int Ascent() const { return FAscent; }
    int Descent() const { return FDescent; }
    // What bold adds to each advance when the face has no bold of its own (26.6).
    int64_t EmboldenStrength() const { return FEmbolden ? FStrength : 0; }
    hb_font_t* Shaper() const { return FShaper; }
    // Whether the face maps Code to a glyph.
    bool Has(uint32_t Code);
    // The pair's kerning from the face's 'kern' table, fitted to whole pixels (26.6);
    // 0 without one.
    int32_t TableKerning(uint32_t Left, uint32_t Right) const;
    int Em() const { return FEm; }
    // The glyph's coverage, rendered on first use; empty when FreeType cannot render it.
    const TGlyphBitmap& Glyph(uint32_t Id);

private:
    FT_Face FFace;
    hb_font_t* FShaper = nullptr;
    std::string FFile;
    int FIndex;
    bool FEmbolden;
    int64_t FStrength = 0;
    int FEm = 0, FAscent = 0, FDescent = 0;
    std::unordered_map<uint32_t, bool> FHas;
    std::unordered_map<uint32_t, TGlyphBitmap> FGlyphs;
};

using TFacePtr = std::shared_ptr<TSizedFace>;

class TFaceStore {
public:
    TFaceStore();
    ~TFaceStore();
    TFaceStore(const TFaceStore&) = delete;
    TFaceStore& operator=(const TFaceStore&) = delete;

    bool Ready() const { return FLibrary != nullptr; }
    // The face fontconfig matches for Font's family and style, at its size; null when
    // there is none.
    TFacePtr Primary(const TFont& Font);
    // The face to draw a grapheme cluster with when the primary face lacks some of it:
    // of the fonts fontconfig sorts for Font's family and style and for Language (empty
    // for none), the first that has all of Cluster's visible characters, else the first
    // that has its first; at the primary face's size Em. Null when no font has that.
    TFacePtr Fallback(const TFont& Font, int Em, const std::string& Language, std::span<const uint32_t> Cluster);

private:
    struct TCandidate {
        std::string File;
        int Index = 0;
        FcCharSet* Chars = nullptr;
    };
    struct TSortedFonts {
        std::vector<TCandidate> Candidates;
        std::unordered_map<uint32_t, int> FirstHaving; // a character's first candidate, -1 for none
        ~TSortedFonts();
    };
    // The face at the size Height asks of it, as TFont's Height reads.
    TFacePtr Open(const std::string& File, int Index, int Height, bool Bold);
    TSortedFonts& Sorted(const std::string& Family, bool Bold, const std::string& Language);
    int FirstHaving(TSortedFonts& Fonts, uint32_t Code);

    FT_Library FLibrary = nullptr;
    // Resolved font file and face index per family and boldness; an empty file when
    // none was found.
    std::map<std::pair<std::string, bool>, std::pair<std::string, int>> FFiles;
    std::map<std::tuple<std::string, int, int, bool>, TFacePtr> FFaces;
    std::map<std::tuple<std::string, bool, std::string>, std::unique_ptr<TSortedFonts>> FSorted;
};

// Whether Code shows anything: not a default-ignorable code point (joiners, variation
// selectors, bidi marks), whose absence from a font matters not.
bool IsVisibleCharacter(uint32_t Code);

// The form resources name the classic dialog font; here that is whatever sans the
// system's fontconfig prefers.
std::string FamilyFor(const std::string& Name);
// Whether Font is that classic dialog font, which had neither kerning pairs beyond a
// table's nor optional ligatures.
bool IsClassicDialogFont(const TFont& Font);
