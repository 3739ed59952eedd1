#include "platform/graphics/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/rtl/Utf8.h"

namespace {

// Sizes beyond this are clamped: nothing in a dialog needs more, and a corrupt height
// must not make FreeType render glyphs of megabytes.
constexpr int64_t MaxPixelSize = 512;
constexpr int DefaultPixelSize = 11;

struct TGlyph {
    int Left = 0, Top = 0, Width = 0, Rows = 0;
    int64_t Advance = 0; // 26.6 fixed point
    std::vector<uint8_t> Coverage;
};

// One face at one pixel size, with the glyphs rendered so far.
struct TSizedFace {
    FT_Face Face = nullptr;
    int Ascent = 0, Descent = 0;
    // Bold was asked for but the face found is not: its glyphs are thickened.
    bool Embolden = false;
    std::unordered_map<uint32_t, FT_UInt> Indexes;
    std::unordered_map<FT_UInt, TGlyph> Glyphs;
    ~TSizedFace()
    {
        if (Face) FT_Done_Face(Face);
    }
};

// The form resources name the classic dialog font; here that is whatever sans the
// system's fontconfig prefers.
std::string FamilyFor(const std::string& Name)
{
    if (Name.empty() || Name == "MS Sans Serif") return "sans-serif";
    return Name;
}

uint8_t Blend(uint32_t Dst, uint32_t Src, int Shift, uint32_t Alpha)
{
    const uint32_t D = (Dst >> Shift) & 0xFF, S = (Src >> Shift) & 0xFF;
    return static_cast<uint8_t>((S * Alpha + D * (255 - Alpha) + 127) / 255);
}

void CopyBitmap(const FT_Bitmap& B, TGlyph& G)
{
    G.Width = static_cast<int>(B.width);
    G.Rows = static_cast<int>(B.rows);
    G.Coverage.assign(static_cast<size_t>(G.Width) * static_cast<size_t>(G.Rows), 0);
    const int Pitch = B.pitch < 0 ? -B.pitch : B.pitch;
    for (int Y = 0; Y < G.Rows; ++Y) {
        // A negative pitch stores the rows bottom-up.
        const unsigned char* Row = B.buffer + static_cast<ptrdiff_t>(B.pitch < 0 ? G.Rows - 1 - Y : Y) * Pitch;
        uint8_t* Out = G.Coverage.data() + static_cast<size_t>(Y) * static_cast<size_t>(G.Width);
        for (int X = 0; X < G.Width; ++X) {
            if (B.pixel_mode == FT_PIXEL_MODE_MONO)
                Out[X] = (Row[X >> 3] & (0x80 >> (X & 7))) ? 255 : 0;
            else if (B.num_grays == 256 || B.num_grays == 0)
                Out[X] = Row[X];
            else
                Out[X] = static_cast<uint8_t>(Row[X] * 255 / (B.num_grays - 1));
        }
    }
}

} // namespace

constexpr size_t MaxCachedFaces = 64;

struct TFontEngine::TImpl {
    FT_Library Library = nullptr;
    bool Warned = false;
    // Resolved font file and face index per family and boldness; an empty file when
    // none was found.
    std::map<std::pair<std::string, bool>, std::pair<std::string, int>> Files;
    std::map<std::tuple<std::string, int, bool>, std::unique_ptr<TSizedFace>> Faces;

    ~TImpl()
    {
        Faces.clear();
        if (Library) FT_Done_FreeType(Library);
    }

    void Warn(const std::string& What)
    {
        if (Warned) return;
        Warned = true;
        std::fprintf(stderr, "toolkit: %s; text will not be drawn\n", What.c_str());
    }

    const std::pair<std::string, int>& FileFor(const std::string& Family, bool Bold)
    {
        auto It = Files.find({Family, Bold});
        if (It != Files.end()) return It->second;
        std::pair<std::string, int> Found{"", 0};
        if (FcPattern* Pattern = FcPatternCreate()) {
            FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
            FcPatternAddBool(Pattern, FC_SCALABLE, FcTrue);
            if (Bold) FcPatternAddInteger(Pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
            FcConfigSubstitute(nullptr, Pattern, FcMatchPattern);
            FcDefaultSubstitute(Pattern);
            FcResult Result;
            if (FcPattern* Match = FcFontMatch(nullptr, Pattern, &Result)) {
                FcChar8* File = nullptr;
                int Index = 0;
                if (FcPatternGetString(Match, FC_FILE, 0, &File) == FcResultMatch && File) {
                    FcPatternGetInteger(Match, FC_INDEX, 0, &Index);
                    Found = {reinterpret_cast<const char*>(File), Index};
                }
                FcPatternDestroy(Match);
            }
            FcPatternDestroy(Pattern);
        }
        return Files.emplace(std::make_pair(Family, Bold), std::move(Found)).first->second;
    }

    TSizedFace* FaceFor(const TFont& Font)
    {
        const std::string Family = FamilyFor(Font.Name());
        const bool Bold = Font.Style().Contains(fsBold);
        const auto Key = std::make_tuple(Family, Font.Height(), Bold);
        auto It = Faces.find(Key);
        if (It != Faces.end()) return It->second.get();
        // Forms use a handful of fonts; a text that names ever new ones (a fuzzed
        // resource) must not grow the caches without bound. Nothing keeps a face or a
        // file name across calls, so starting afresh is safe.
        if (Faces.size() >= MaxCachedFaces) Faces.clear();
        if (Files.size() >= MaxCachedFaces) Files.clear();
        std::unique_ptr<TSizedFace> Face = Load(Family, Font.Height(), Bold);
        if (!Face) Warn("no usable font found for \"" + Font.Name() + "\"");
        return Faces.emplace(Key, std::move(Face)).first->second.get();
    }

    std::unique_ptr<TSizedFace> Load(const std::string& Family, int Height, bool Bold)
    {
        if (!Library) return nullptr;
        const auto& [File, Index] = FileFor(Family, Bold);
        if (File.empty()) return nullptr;
        auto Sized = std::make_unique<TSizedFace>();
        if (FT_New_Face(Library, File.c_str(), Index, &Sized->Face) != 0) {
            Sized->Face = nullptr;
            return nullptr;
        }
        FT_Face F = Sized->Face;
        if (!FT_IS_SCALABLE(F)) return nullptr;
        Sized->Embolden = Bold && !(F->style_flags & FT_STYLE_FLAG_BOLD);

        int64_t Em = DefaultPixelSize;
        if (Height < 0) {
            Em = -int64_t{Height};
        } else if (Height > 0) {
            // The cell height given: the em that makes ascent plus descent that tall.
            const int64_t Cell = int64_t{F->ascender} - F->descender;
            Em = Cell > 0 ? (int64_t{Height} * F->units_per_EM + Cell / 2) / Cell : Height;
        }
        Em = std::clamp<int64_t>(Em, 1, MaxPixelSize);
        if (FT_Set_Pixel_Sizes(F, 0, static_cast<FT_UInt>(Em)) != 0) return nullptr;
        const FT_Size_Metrics& M = F->size->metrics;
        Sized->Ascent = static_cast<int>((M.ascender + 63) >> 6);
        Sized->Descent = static_cast<int>((-M.descender + 63) >> 6);
        return Sized;
    }

    // The glyph for a character, or nullptr when the face lacks it.
    const TGlyph* GlyphFor(TSizedFace& Face, uint32_t Code, FT_UInt& GlyphIndex)
    {
        auto IndexIt = Face.Indexes.find(Code);
        if (IndexIt == Face.Indexes.end())
            IndexIt = Face.Indexes.emplace(Code, Code > 0x10FFFF ? 0 : FT_Get_Char_Index(Face.Face, Code)).first;
        GlyphIndex = IndexIt->second;
        if (GlyphIndex == 0) return nullptr;

        auto It = Face.Glyphs.find(GlyphIndex);
        if (It != Face.Glyphs.end()) return &It->second;
        TGlyph G;
        const FT_GlyphSlot Slot = Face.Face->glyph;
        if (FT_Load_Glyph(Face.Face, GlyphIndex, FT_LOAD_DEFAULT) == 0) {
            if (Face.Embolden) FT_GlyphSlot_Embolden(Slot);
            if (FT_Render_Glyph(Slot, FT_RENDER_MODE_NORMAL) == 0) {
                G.Left = Slot->bitmap_left;
                G.Top = Slot->bitmap_top;
                G.Advance = Slot->advance.x;
                CopyBitmap(Slot->bitmap, G);
            }
        }
        return &Face.Glyphs.emplace(GlyphIndex, std::move(G)).first->second;
    }

    // Runs Visit(glyph, pen x in 26.6) over the text's glyphs and answers the end
    // position in 26.6.
    template <typename TVisit>
    int64_t Layout(TSizedFace& Face, std::string_view Text, TVisit Visit)
    {
        int64_t Pen = 0;
        FT_UInt Previous = 0;
        const bool Kerning = FT_HAS_KERNING(Face.Face);
        for (size_t Pos = 0; Pos < Text.size();) {
            const uint32_t Code = NextCodePoint(Text, Pos);
            FT_UInt Index = 0;
            const TGlyph* G = GlyphFor(Face, Code, Index);
            if (!G) continue;
            if (Kerning && Previous) {
                FT_Vector Delta{};
                if (FT_Get_Kerning(Face.Face, Previous, Index, FT_KERNING_DEFAULT, &Delta) == 0)
                    Pen += Delta.x;
            }
            if (!Visit(*G, Pen)) break;
            Pen += G->Advance;
            Previous = Index;
        }
        return Pen;
    }
};

TFontEngine& TFontEngine::Instance()
{
    static TFontEngine Engine;
    return Engine;
}

TFontEngine::TFontEngine() : FImpl(std::make_unique<TImpl>())
{
    if (FT_Init_FreeType(&FImpl->Library) != 0) {
        FImpl->Library = nullptr;
        FImpl->Warn("FreeType could not be initialised");
    }
}

TFontEngine::~TFontEngine() = default;

bool TFontEngine::HasFace(const TFont& Font)
{
    return FImpl->FaceFor(Font) != nullptr;
}

int TFontEngine::TextHeight(const TFont& Font)
{
    if (const TSizedFace* Face = FImpl->FaceFor(Font)) return Face->Ascent + Face->Descent;
    if (Font.Height() == 0) return DefaultPixelSize;
    return static_cast<int>(std::min<int64_t>(Font.Height() < 0 ? -int64_t{Font.Height()} : Font.Height(), MaxPixelSize));
}

int TFontEngine::TextWidth(const TFont& Font, std::string_view Text)
{
    TSizedFace* Face = FImpl->FaceFor(Font);
    if (!Face) return 0;
    const int64_t End = FImpl->Layout(*Face, Text, [](const TGlyph&, int64_t) { return true; });
    return static_cast<int>(std::clamp<int64_t>((End + 32) >> 6, 0, INT32_MAX));
}

void TFontEngine::DrawText(TBitmap& Surface, const TRect& Clip, int64_t X, int64_t Y,
                           const TFont& Font, uint32_t Color, std::string_view Text)
{
    TSizedFace* Face = FImpl->FaceFor(Font);
    if (!Face || Clip.IsEmpty()) return;
    const int64_t Baseline = Y + Face->Ascent;
    if (Y + Face->Ascent + Face->Descent <= Clip.Top || Y >= Clip.Bottom) return;

    FImpl->Layout(*Face, Text, [&](const TGlyph& G, int64_t Pen) {
        const int64_t Left = X + ((Pen + 32) >> 6) + G.Left;
        if (Left >= Clip.Right) return false;
        const int64_t Top = Baseline - G.Top;
        const int64_t X0 = std::max<int64_t>(Left, Clip.Left), X1 = std::min<int64_t>(Left + G.Width, Clip.Right);
        const int64_t Y0 = std::max<int64_t>(Top, Clip.Top), Y1 = std::min<int64_t>(Top + G.Rows, Clip.Bottom);
        for (int64_t SY = Y0; SY < Y1; ++SY) {
            const uint8_t* Cov = G.Coverage.data() + (SY - Top) * G.Width;
            uint32_t* Row = Surface.ScanLine(static_cast<int>(SY));
            for (int64_t SX = X0; SX < X1; ++SX) {
                const uint32_t A = Cov[SX - Left];
                if (A == 0) continue;
                if (A == 255) {
                    Row[SX] = Color;
                    continue;
                }
                const uint32_t D = Row[SX];
                Row[SX] = uint32_t{Blend(D, Color, 0, A)} | uint32_t{Blend(D, Color, 8, A)} << 8 |
                          uint32_t{Blend(D, Color, 16, A)} << 16;
            }
        }
        return true;
    });
}
