#include "platform/graphics/FontFaces.h"

#include FT_SYNTHESIS_H
#include <hb-ft.h>
#include <unicode/uchar.h>

#include <algorithm>

namespace {

// Sizes beyond this are clamped: nothing in a dialog needs more, and a corrupt height
// must not make FreeType render glyphs of megabytes.
constexpr int64_t MaxPixelSize = 512;
constexpr int DefaultPixelSize = 11;
// Forms use a handful of fonts; a text that names ever new ones (a fuzzed resource) must
// not grow the caches without bound. Layouts keep the faces they use, so starting afresh
// is safe.
constexpr size_t MaxCachedFaces = 64;
constexpr size_t MaxSortedLists = 16;

void CopyBitmap(const FT_Bitmap& B, TGlyphBitmap& G)
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

// The em in pixels that Height asks of Face: a negative Height is the em itself, a
// positive one the cell (ascent plus descent).
int64_t EmFor(FT_Face Face, int Height)
{
    int64_t Em = DefaultPixelSize;
    if (Height < 0) {
        Em = -int64_t{Height};
    } else if (Height > 0) {
        const int64_t Cell = int64_t{Face->ascender} - Face->descender;
        Em = Cell > 0 ? (int64_t{Height} * Face->units_per_EM + Cell / 2) / Cell : Height;
    }
    return std::clamp<int64_t>(Em, 1, MaxPixelSize);
}

FcPattern* PatternFor(const std::string& Family, bool Bold, const std::string& Language)
{
    FcPattern* Pattern = FcPatternCreate();
    if (!Pattern) return nullptr;
    FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
    FcPatternAddBool(Pattern, FC_SCALABLE, FcTrue);
    if (Bold) FcPatternAddInteger(Pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    if (!Language.empty()) FcPatternAddString(Pattern, FC_LANG, reinterpret_cast<const FcChar8*>(Language.c_str()));
    FcConfigSubstitute(nullptr, Pattern, FcMatchPattern);
    FcDefaultSubstitute(Pattern);
    return Pattern;
}

} // namespace

bool IsVisibleCharacter(uint32_t Code)
{
    return !u_hasBinaryProperty(static_cast<UChar32>(Code), UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
}

std::string FamilyFor(const std::string& Name)
{
    if (Name.empty() || Name == "MS Sans Serif") return "sans-serif";
    return Name;
}

bool IsClassicDialogFont(const TFont& Font)
{
    return Font.Name().empty() || Font.Name() == "MS Sans Serif";
}

TSizedFace::TSizedFace(FT_Face Face, std::string File, int Index, bool Embolden)
    : FFace(Face), FFile(std::move(File)), FIndex(Index), FEmbolden(Embolden)
{
    const FT_Size_Metrics& M = Face->size->metrics;
    FEm = M.y_ppem;
    FAscent = static_cast<int>((M.ascender + 63) >> 6);
    FDescent = static_cast<int>((-M.descender + 63) >> 6);
    // What FT_GlyphSlot_Embolden adds to an advance.
    FStrength = FT_MulFix(Face->units_per_EM, M.y_scale) / 24;
    FShaper = hb_ft_font_create_referenced(Face);
    // Advances as the glyphs are drawn: hinted.
    hb_ft_font_set_load_flags(FShaper, FT_LOAD_DEFAULT);
}

TSizedFace::~TSizedFace()
{
    hb_font_destroy(FShaper);
    FT_Done_Face(FFace);
}

bool TSizedFace::Has(uint32_t Code)
{
    auto It = FHas.find(Code);
    if (It == FHas.end()) It = FHas.emplace(Code, Code <= 0x10FFFF && FT_Get_Char_Index(FFace, Code) != 0).first;
    return It->second;
}

int32_t TSizedFace::TableKerning(uint32_t Left, uint32_t Right) const
{
    FT_Vector Delta{};
    if (!FT_HAS_KERNING(FFace) || FT_Get_Kerning(FFace, Left, Right, FT_KERNING_DEFAULT, &Delta) != 0) return 0;
    return static_cast<int32_t>(Delta.x);
}

const TGlyphBitmap& TSizedFace::Glyph(uint32_t Id)
{
    auto It = FGlyphs.find(Id);
    if (It != FGlyphs.end()) return It->second;
    TGlyphBitmap G;
    const FT_GlyphSlot Slot = FFace->glyph;
    if (FT_Load_Glyph(FFace, Id, FT_LOAD_DEFAULT) == 0) {
        if (FEmbolden) FT_GlyphSlot_Embolden(Slot);
        if (FT_Render_Glyph(Slot, FT_RENDER_MODE_NORMAL) == 0) {
            G.Left = Slot->bitmap_left;
            G.Top = Slot->bitmap_top;
            CopyBitmap(Slot->bitmap, G);
        }
    }
    return FGlyphs.emplace(Id, std::move(G)).first->second;
}

TFaceStore::TSortedFonts::~TSortedFonts()
{
    for (TCandidate& C : Candidates) FcCharSetDestroy(C.Chars);
}

TFaceStore::TFaceStore()
{
    if (FT_Init_FreeType(&FLibrary) != 0) FLibrary = nullptr;
}

TFaceStore::~TFaceStore()
{
    FFaces.clear();
    if (FLibrary) FT_Done_FreeType(FLibrary);
}

TFacePtr TFaceStore::Open(const std::string& File, int Index, int Height, bool Bold)
{
    const auto Key = std::make_tuple(File, Index, Height, Bold);
    if (auto It = FFaces.find(Key); It != FFaces.end()) return It->second;
    if (FFaces.size() >= MaxCachedFaces) FFaces.clear();
    TFacePtr Sized;
    FT_Face Face = nullptr;
    if (FLibrary && FT_New_Face(FLibrary, File.c_str(), Index, &Face) == 0) {
        if (FT_IS_SCALABLE(Face) && FT_Set_Pixel_Sizes(Face, 0, static_cast<FT_UInt>(EmFor(Face, Height))) == 0)
            Sized = std::make_shared<TSizedFace>(Face, File, Index, Bold && !(Face->style_flags & FT_STYLE_FLAG_BOLD));
        else
            FT_Done_Face(Face);
    }
    return FFaces.emplace(Key, std::move(Sized)).first->second;
}

TFacePtr TFaceStore::Primary(const TFont& Font)
{
    const std::string Family = FamilyFor(Font.Name());
    const bool Bold = Font.Style().Contains(fsBold);
    auto It = FFiles.find({Family, Bold});
    if (It == FFiles.end()) {
        if (FFiles.size() >= MaxCachedFaces) FFiles.clear();
        std::pair<std::string, int> Found{"", 0};
        if (FcPattern* Pattern = PatternFor(Family, Bold, "")) {
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
        It = FFiles.emplace(std::make_pair(Family, Bold), std::move(Found)).first;
    }
    if (It->second.first.empty()) return nullptr;
    return Open(It->second.first, It->second.second, Font.Height(), Bold);
}

TFaceStore::TSortedFonts& TFaceStore::Sorted(const std::string& Family, bool Bold, const std::string& Language)
{
    const auto Key = std::make_tuple(Family, Bold, Language);
    if (auto It = FSorted.find(Key); It != FSorted.end()) return *It->second;
    if (FSorted.size() >= MaxSortedLists) FSorted.clear();
    auto Fonts = std::make_unique<TSortedFonts>();
    if (FcPattern* Pattern = PatternFor(Family, Bold, Language)) {
        FcResult Result;
        // Trimmed: a font that adds no character to those before it is left out.
        if (FcFontSet* Set = FcFontSort(nullptr, Pattern, FcTrue, nullptr, &Result)) {
            for (int I = 0; I < Set->nfont; ++I) {
                FcPattern* Font = Set->fonts[I];
                FcChar8* File = nullptr;
                FcCharSet* Chars = nullptr;
                FcBool Scalable = FcFalse, Colour = FcFalse;
                int Index = 0;
                FcPatternGetBool(Font, FC_SCALABLE, 0, &Scalable);
                FcPatternGetBool(Font, FC_COLOR, 0, &Colour);
                // Glyphs are drawn as grey coverage: colour bitmap fonts cannot serve.
                if (!Scalable || Colour || FcPatternGetString(Font, FC_FILE, 0, &File) != FcResultMatch ||
                    FcPatternGetCharSet(Font, FC_CHARSET, 0, &Chars) != FcResultMatch)
                    continue;
                FcPatternGetInteger(Font, FC_INDEX, 0, &Index);
                Fonts->Candidates.push_back({reinterpret_cast<const char*>(File), Index, FcCharSetCopy(Chars)});
            }
            FcFontSetDestroy(Set);
        }
        FcPatternDestroy(Pattern);
    }
    return *FSorted.emplace(Key, std::move(Fonts)).first->second;
}

int TFaceStore::FirstHaving(TSortedFonts& Fonts, uint32_t Code)
{
    auto It = Fonts.FirstHaving.find(Code);
    if (It != Fonts.FirstHaving.end()) return It->second;
    int Found = -1;
    for (size_t I = 0; I < Fonts.Candidates.size() && Found < 0; ++I)
        if (FcCharSetHasChar(Fonts.Candidates[I].Chars, Code)) Found = static_cast<int>(I);
    return Fonts.FirstHaving.emplace(Code, Found).first->second;
}

TFacePtr TFaceStore::Fallback(const TFont& Font, int Em, const std::string& Language,
                              std::span<const uint32_t> Cluster)
{
    if (Cluster.empty()) return nullptr;
    const bool Bold = Font.Style().Contains(fsBold);
    TSortedFonts& Fonts = Sorted(FamilyFor(Font.Name()), Bold, Language);
    const int First = FirstHaving(Fonts, Cluster[0]);
    if (First < 0) return nullptr;
    int Chosen = First;
    if (Cluster.size() > 1) {
        for (size_t I = static_cast<size_t>(First); I < Fonts.Candidates.size(); ++I) {
            const bool All = std::all_of(Cluster.begin(), Cluster.end(), [&](uint32_t Code) {
                return !IsVisibleCharacter(Code) || FcCharSetHasChar(Fonts.Candidates[I].Chars, Code);
            });
            if (All) {
                Chosen = static_cast<int>(I);
                break;
            }
        }
    }
    const TCandidate& C = Fonts.Candidates[static_cast<size_t>(Chosen)];
    return Open(C.File, C.Index, -Em, Bold);
}
