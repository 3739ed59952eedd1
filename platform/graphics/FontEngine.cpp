#include "platform/graphics/FontEngine.h"

#include <algorithm>
#include <cstdio>
#include <list>
#include <string>
#include <unordered_map>

#include "platform/graphics/FontFaces.h"
#include "platform/graphics/TextShaping.h"

namespace {

constexpr int DefaultPixelSize = 11;
constexpr int64_t MaxPixelSize = 512;
// The layouts kept: a designer's window shows a few hundred texts; the cost counts a
// layout's bytes and glyphs, so that a few huge captions do not crowd out the rest.
constexpr size_t MaxCachedLines = 4096;
constexpr size_t MaxCachedCost = size_t{16} << 20;

uint8_t Blend(uint32_t Dst, uint32_t Src, int Shift, uint32_t Alpha)
{
    const uint32_t D = (Dst >> Shift) & 0xFF, S = (Src >> Shift) & 0xFF;
    return static_cast<uint8_t>((S * Alpha + D * (255 - Alpha) + 127) / 255);
}

void BlendGlyph(TBitmap& Surface, const TRect& Clip, const TGlyphBitmap& G, int64_t OriginX, int64_t Baseline,
                uint32_t Color)
{
    const int64_t Left = OriginX + G.Left, Top = Baseline - G.Top;
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
}

// A cached layout's key, and the same key over borrowed strings for looking one up
// without copying the text.
struct TLineKey {
    std::string Text, Name;
    int Height;
    bool Bold;
};
struct TLineKeyRef {
    std::string_view Text, Name;
    int Height;
    bool Bold;
};

struct TLineHash {
    using is_transparent = void;
    size_t operator()(const TLineKeyRef& K) const
    {
        const size_t H = std::hash<std::string_view>()(K.Text) ^ (std::hash<std::string_view>()(K.Name) * 31);
        return H ^ (static_cast<size_t>(K.Height) * 2 + K.Bold) * 0x9E3779B97F4A7C15ull;
    }
    size_t operator()(const TLineKey& K) const { return (*this)(TLineKeyRef{K.Text, K.Name, K.Height, K.Bold}); }
};

struct TLineEqual {
    using is_transparent = void;
    static TLineKeyRef Ref(const TLineKey& K) { return {K.Text, K.Name, K.Height, K.Bold}; }
    static TLineKeyRef Ref(const TLineKeyRef& K) { return K; }
    template <typename A, typename B>
    bool operator()(const A& X, const B& Y) const
    {
        const TLineKeyRef L = Ref(X), R = Ref(Y);
        return L.Height == R.Height && L.Bold == R.Bold && L.Text == R.Text && L.Name == R.Name;
    }
};

} // namespace

struct TFontEngine::TImpl {
    struct TLine {
        std::shared_ptr<const TTextLayout> Layout;
        TFacePtr Primary;
        size_t Cost = 0;
        std::list<const TLineKey*>::iterator Age;
    };

    TFaceStore Faces;
    bool Warned = false;
    std::unordered_map<TLineKey, TLine, TLineHash, TLineEqual> Lines;
    std::list<const TLineKey*> Ages; // most recently used first
    size_t Cost = 0;

    void Warn(const std::string& What)
    {
        if (Warned) return;
        Warned = true;
        std::fprintf(stderr, "toolkit: %s; text will not be drawn\n", What.c_str());
    }

    TFacePtr Primary(const TFont& Font)
    {
        TFacePtr Face = Faces.Primary(Font);
        if (!Face) Warn("no usable font found for \"" + Font.Name() + "\"");
        return Face;
    }

    const TLine& Line(const TFont& Font, std::string_view Text)
    {
        const TLineKeyRef Ref{Text, Font.Name(), Font.Height(), Font.Style().Contains(fsBold)};
        if (auto It = Lines.find(Ref); It != Lines.end()) {
            Ages.splice(Ages.begin(), Ages, It->second.Age);
            return It->second;
        }
        TLine New;
        New.Primary = Primary(Font);
        New.Layout = ShapeLine(Faces, New.Primary, Font, Text);
        for (const TTextRun& Run : New.Layout->Runs()) New.Cost += Run.Glyphs.size() * sizeof(TShapedGlyph);
        New.Cost += Text.size() + New.Layout->Graphemes().size() * 3 * sizeof(size_t);
        while (!Ages.empty() && (Lines.size() >= MaxCachedLines || Cost + New.Cost > MaxCachedCost)) {
            auto Oldest = Lines.find(*Ages.back());
            Cost -= Oldest->second.Cost;
            Ages.pop_back();
            Lines.erase(Oldest);
        }
        auto [It, Added] = Lines.emplace(TLineKey{std::string(Text), Font.Name(), Ref.Height, Ref.Bold}, std::move(New));
        Ages.push_front(&It->first);
        It->second.Age = Ages.begin();
        Cost += It->second.Cost;
        return It->second;
    }
};

TFontEngine& TFontEngine::Instance()
{
    static TFontEngine Engine;
    return Engine;
}

TFontEngine::TFontEngine() : FImpl(std::make_unique<TImpl>())
{
    if (!FImpl->Faces.Ready()) FImpl->Warn("FreeType could not be initialised");
}

TFontEngine::~TFontEngine() = default;

bool TFontEngine::HasFace(const TFont& Font)
{
    return FImpl->Primary(Font) != nullptr;
}

int TFontEngine::TextHeight(const TFont& Font)
{
    if (const TFacePtr Face = FImpl->Primary(Font)) return Face->Ascent() + Face->Descent();
    if (Font.Height() == 0) return DefaultPixelSize;
    return static_cast<int>(std::min<int64_t>(Font.Height() < 0 ? -int64_t{Font.Height()} : Font.Height(), MaxPixelSize));
}

std::shared_ptr<const TTextLayout> TFontEngine::Layout(const TFont& Font, std::string_view Text)
{
    return FImpl->Line(Font, Text).Layout;
}

int TFontEngine::TextWidth(const TFont& Font, std::string_view Text)
{
    return FImpl->Line(Font, Text).Layout->Width();
}

void TFontEngine::DrawText(TBitmap& Surface, const TRect& Clip, int64_t X, int64_t Y,
                           const TFont& Font, uint32_t Color, std::string_view Text)
{
    if (Clip.IsEmpty()) return;
    const TImpl::TLine& Line = FImpl->Line(Font, Text);
    if (!Line.Primary) return;
    const int64_t Baseline = Y + Line.Primary->Ascent();
    if (Baseline + Line.Primary->Descent() <= Clip.Top || Y >= Clip.Bottom) return;
    for (const TTextRun& Run : Line.Layout->Runs()) {
        TSizedFace& Face = *Run.Face;
        // Glyphs reach at most about an em beyond their advance: those wholly outside
        // the clip are passed over unrendered, and drawing stops past its right edge.
        const int64_t Reach = 2 * int64_t{Face.Em()};
        int64_t Pen = Run.X;
        for (const TShapedGlyph& G : Run.Glyphs) {
            const int64_t Origin = X + ((Pen + G.XOffset + 32) >> 6);
            Pen += G.XAdvance;
            if (Origin - Reach >= Clip.Right) return;
            if (X + (Pen >> 6) + Reach < Clip.Left) continue;
            BlendGlyph(Surface, Clip, Face.Glyph(G.Id), Origin, Baseline - ((G.YOffset + 32) >> 6), Color);
        }
    }
}
