#include "platform/graphics/TextShaping.h"

#include <fribidi.h>

#include <algorithm>
#include <climits>
#include <string>

#include "platform/rtl/Utf8.h"

namespace {

// A longer line is laid out to its first MiB: no screen shows more of one, and a hostile
// caption must not cost without bound.
constexpr size_t MaxLineBytes = size_t{1} << 20;
constexpr uint32_t ZeroWidthSpace = 0x200B;

// The characters of a line and where each starts; Offset has the text's size last.
struct TCodes {
    std::vector<uint32_t> Code;
    std::vector<size_t> Offset;
};

TCodes Decode(std::string_view Text)
{
    TCodes C;
    for (size_t Pos = 0; Pos < Text.size();) {
        const size_t Start = Pos;
        uint32_t Code = NextCodePoint(Text, Pos);
        if (Code == Utf8Invalid) continue;
        // A line has no tabs or breaks to show: control characters take no room.
        if (Code < 0x20 || (Code >= 0x7F && Code < 0xA0)) Code = ZeroWidthSpace;
        C.Code.push_back(Code);
        C.Offset.push_back(Start);
    }
    C.Offset.push_back(Text.size());
    return C;
}

// Each character's resolved bidi level in a left-to-right paragraph, trailing white
// space at the paragraph's level.
std::vector<FriBidiLevel> Levels(const std::vector<uint32_t>& Codes)
{
    std::vector<FriBidiLevel> L(Codes.size(), 0);
    // Nothing below Hebrew's block is right to left or a bidi control.
    if (std::all_of(Codes.begin(), Codes.end(), [](uint32_t C) { return C < 0x590; })) return L;
    const auto N = static_cast<FriBidiStrIndex>(Codes.size());
    std::vector<FriBidiCharType> Types(Codes.size());
    std::vector<FriBidiBracketType> Brackets(Codes.size());
    fribidi_get_bidi_types(Codes.data(), N, Types.data());
    fribidi_get_bracket_types(Codes.data(), N, Types.data(), Brackets.data());
    FriBidiParType Direction = FRIBIDI_PAR_LTR;
    if (fribidi_get_par_embedding_levels_ex(Types.data(), Brackets.data(), N, &Direction, L.data()) == 0 ||
        fribidi_reorder_line(FRIBIDI_FLAGS_DEFAULT, Types.data(), N, 0, Direction, L.data(), nullptr, nullptr) == 0)
        return std::vector<FriBidiLevel>(Codes.size(), 0);
    return L;
}

bool Neutral(hb_script_t S)
{
    return S == HB_SCRIPT_COMMON || S == HB_SCRIPT_INHERITED || S == HB_SCRIPT_UNKNOWN || S == HB_SCRIPT_INVALID;
}

// Each character's script; spaces, digits, punctuation and marks take the script of
// the character before them, those at the start the first one after.
std::vector<hb_script_t> Scripts(const std::vector<uint32_t>& Codes)
{
    hb_unicode_funcs_t* Unicode = hb_unicode_funcs_get_default();
    std::vector<hb_script_t> S(Codes.size(), HB_SCRIPT_INVALID);
    hb_script_t Last = HB_SCRIPT_INVALID;
    for (size_t I = 0; I < Codes.size(); ++I) {
        const hb_script_t Own = hb_unicode_script(Unicode, Codes[I]);
        if (!Neutral(Own)) Last = Own;
        S[I] = Last;
    }
    const auto First = std::find_if(S.begin(), S.end(), [](hb_script_t X) { return !Neutral(X); });
    std::fill(S.begin(), First, First == S.end() ? HB_SCRIPT_COMMON : *First);
    return S;
}

// Han characters are Japanese beside kana, Korean beside Hangul, else in the language of
// the locale when that writes with them; otherwise fontconfig chooses by the characters.
std::string HanLanguage(const std::vector<hb_script_t>& Scripts)
{
    for (hb_script_t S : Scripts) {
        if (S == HB_SCRIPT_HIRAGANA || S == HB_SCRIPT_KATAKANA) return "ja";
        if (S == HB_SCRIPT_HANGUL) return "ko";
    }
    const std::string Locale = hb_language_to_string(hb_language_get_default());
    for (const char* CJK : {"ja", "ko", "zh"})
        if (Locale.starts_with(CJK)) return Locale;
    return "";
}

// The language that picks a fallback font for a script, where the script alone leaves
// a choice of glyph shapes; empty elsewhere.
std::string FallbackLanguage(hb_script_t Script, const std::string& Han)
{
    switch (Script) {
    case HB_SCRIPT_HIRAGANA:
    case HB_SCRIPT_KATAKANA: return "ja";
    case HB_SCRIPT_HANGUL: return "ko";
    case HB_SCRIPT_HAN:
    case HB_SCRIPT_BOPOMOFO: return Han;
    default: return "";
    }
}

// Each character's face: its grapheme cluster's first face that has it whole.
// Fallback faces found are added to Kept.
std::vector<TSizedFace*> Faces(TFaceStore& Store, const TFacePtr& Primary, const TFont& Font,
                               const std::vector<size_t>& Bounds, const TCodes& C,
                               const std::vector<hb_script_t>& Scripts, const std::string& Han,
                               std::vector<TFacePtr>& Kept)
{
    std::vector<TSizedFace*> F(C.Code.size(), Primary.get());
    const auto HasAll = [&](TSizedFace& Face, size_t Begin, size_t End) {
        for (size_t I = Begin; I < End; ++I)
            if (IsVisibleCharacter(C.Code[I]) && !Face.Has(C.Code[I])) return false;
        return true;
    };
    size_t Begin = 0;
    for (size_t B = 1; B < Bounds.size() && Begin < C.Code.size(); ++B) {
        size_t End = Begin;
        while (End < C.Code.size() && C.Offset[End] < Bounds[B]) ++End;
        if (End == Begin) continue;
        TSizedFace* Face = Primary.get();
        const bool Visible = std::any_of(C.Code.begin() + static_cast<ptrdiff_t>(Begin),
                                         C.Code.begin() + static_cast<ptrdiff_t>(End), IsVisibleCharacter);
        if (!Visible) {
            // Joiners and selectors on their own stay in the run they follow.
            if (Begin > 0) Face = F[Begin - 1];
        } else if (!HasAll(*Primary, Begin, End)) {
            const std::span<const uint32_t> Cluster(C.Code.data() + Begin, End - Begin);
            TFacePtr Other = Store.Fallback(Font, Primary->Em(), FallbackLanguage(Scripts[Begin], Han), Cluster);
            // A fallback that has only part of what the primary face lacks is no better.
            if (Other && (HasAll(*Other, Begin, End) || !Primary->Has(C.Code[Begin]))) {
                Face = Other.get();
                if (std::find(Kept.begin(), Kept.end(), Other) == Kept.end()) Kept.push_back(Other);
            }
        }
        std::fill(F.begin() + static_cast<ptrdiff_t>(Begin), F.begin() + static_cast<ptrdiff_t>(End), Face);
        Begin = End;
    }
    return F;
}

// A stretch of characters [Begin, End) of one bidi level, script and face.
struct TItem {
    size_t Begin, End;
    FriBidiLevel Level;
    hb_script_t Script;
    TSizedFace* Face;
};

std::vector<TItem> Itemize(const std::vector<FriBidiLevel>& Levels, const std::vector<hb_script_t>& Scripts,
                           const std::vector<TSizedFace*>& Faces)
{
    std::vector<TItem> Items;
    for (size_t I = 0; I < Levels.size(); ++I) {
        if (!Items.empty() && Items.back().Level == Levels[I] && Items.back().Script == Scripts[I] &&
            Items.back().Face == Faces[I]) {
            Items.back().End = I + 1;
            continue;
        }
        Items.push_back({I, I + 1, Levels[I], Scripts[I], Faces[I]});
    }
    return Items;
}

// The items in visual order: from the highest level down to the lowest odd one, every
// stretch of items at that level or above reversed (the bidi algorithm's rule L2).
void ToVisualOrder(std::vector<TItem>& Items)
{
    int Highest = 0, LowestOdd = INT_MAX;
    for (const TItem& It : Items) {
        Highest = std::max<int>(Highest, It.Level);
        if (It.Level % 2) LowestOdd = std::min<int>(LowestOdd, It.Level);
    }
    for (int Level = Highest; Level >= LowestOdd && Level > 0; --Level)
        for (size_t I = 0; I < Items.size();) {
            if (Items[I].Level < Level) {
                ++I;
                continue;
            }
            size_t End = I;
            while (End < Items.size() && Items[End].Level >= Level) ++End;
            std::reverse(Items.begin() + static_cast<ptrdiff_t>(I), Items.begin() + static_cast<ptrdiff_t>(End));
            I = End;
        }
}

// Forms drawn in the classic dialog font keep its spacing: HarfBuzz's kerning and
// optional ligatures off, the face's kerning table's pairs as that font had them.
// Required forms (Arabic joining, Indic reordering, marks) are shaped all the same.
const hb_feature_t* ClassicFeatures()
{
    static const hb_feature_t Off[2] = {{HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
                                        {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END}};
    return Off;
}

void AddTableKerning(TTextRun& Run, const TSizedFace& Face)
{
    for (size_t I = 1; I < Run.Glyphs.size(); ++I)
        Run.Glyphs[I - 1].XAdvance += Face.TableKerning(Run.Glyphs[I - 1].Id, Run.Glyphs[I].Id);
}

TTextRun Shape(hb_buffer_t* Buffer, const TCodes& C, const TItem& It, const std::string& Language, bool Classic)
{
    hb_buffer_clear_contents(Buffer);
    hb_buffer_add_codepoints(Buffer, C.Code.data(), static_cast<int>(C.Code.size()), static_cast<unsigned>(It.Begin),
                             static_cast<int>(It.End - It.Begin));
    hb_buffer_set_direction(Buffer, It.Level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(Buffer, It.Script);
    const hb_language_t Lang =
        Language.empty() ? hb_language_get_default() : hb_language_from_string(Language.c_str(), -1);
    hb_buffer_set_language(Buffer, Lang);
    unsigned Flags = HB_BUFFER_FLAG_DEFAULT;
    if (It.Begin == 0) Flags |= HB_BUFFER_FLAG_BOT;
    if (It.End == C.Code.size()) Flags |= HB_BUFFER_FLAG_EOT;
    hb_buffer_set_flags(Buffer, static_cast<hb_buffer_flags_t>(Flags));
    hb_shape(It.Face->Shaper(), Buffer, Classic ? ClassicFeatures() : nullptr, Classic ? 2 : 0);

    TTextRun Run;
    Run.First = C.Offset[It.Begin];
    Run.Last = C.Offset[It.End];
    Run.RightToLeft = It.Level % 2;
    char Tag[5] = {};
    hb_tag_to_string(hb_script_to_iso15924_tag(It.Script), Tag);
    Run.Script = Tag;
    Run.Language = hb_language_to_string(Lang);
    Run.FontFile = It.Face->File();
    Run.FaceIndex = It.Face->Index();
    unsigned Count = 0;
    const hb_glyph_info_t* Info = hb_buffer_get_glyph_infos(Buffer, &Count);
    const hb_glyph_position_t* Pos = hb_buffer_get_glyph_positions(Buffer, &Count);
    const int64_t Bolder = It.Face->EmboldenStrength();
    Run.Glyphs.reserve(Count);
    for (unsigned I = 0; I < Count; ++I) {
        const int64_t Advance = Pos[I].x_advance + (Pos[I].x_advance ? Bolder : 0);
        Run.Glyphs.push_back({Info[I].codepoint, static_cast<uint32_t>(C.Offset[Info[I].cluster]),
                              static_cast<int32_t>(Advance), Pos[I].x_offset, Pos[I].y_offset});
    }
    if (Classic && !Run.RightToLeft) AddTableKerning(Run, *It.Face);
    return Run;
}

} // namespace

std::shared_ptr<const TTextLayout> ShapeLine(TFaceStore& Store, const TFacePtr& Primary, const TFont& Font,
                                             std::string_view Text)
{
    if (Text.size() > MaxLineBytes) Text = Text.substr(0, PrevCharPos(Text, MaxLineBytes + 1));
    std::vector<size_t> Graphemes = GraphemeBoundaries(Text);
    std::vector<TTextRun> Runs;
    if (Primary) {
        const TCodes C = Decode(Text);
        const std::vector<hb_script_t> Scripts = ::Scripts(C.Code);
        const std::string Han = HanLanguage(Scripts);
        std::vector<TFacePtr> Kept{Primary};
        std::vector<TItem> Items =
            Itemize(Levels(C.Code), Scripts, Faces(Store, Primary, Font, Graphemes, C, Scripts, Han, Kept));
        ToVisualOrder(Items);
        std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)> Buffer(hb_buffer_create(), hb_buffer_destroy);
        int64_t X = 0;
        for (const TItem& It : Items) {
            TTextRun Run = Shape(Buffer.get(), C, It, FallbackLanguage(It.Script, Han), IsClassicDialogFont(Font));
            Run.X = X;
            for (const TShapedGlyph& G : Run.Glyphs) X += G.XAdvance;
            for (const TFacePtr& Face : Kept)
                if (Face.get() == It.Face) Run.Face = Face;
            Runs.push_back(std::move(Run));
        }
    }
    return std::make_shared<const TTextLayout>(std::string(Text), std::move(Graphemes), std::move(Runs));
}
