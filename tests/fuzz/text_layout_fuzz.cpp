// Arbitrary bytes as a line of text, laid out as the toolkit draws it: nothing crashes,
// and the layout answers within itself:
//   - the grapheme boundaries rise from 0 to the text's end, and stepping from any byte
//     lands on the next or previous one;
//   - every run lies within the text and every glyph's cluster within its run;
//   - every caret stop lies within the line's width, a hit-test answers a boundary, and
//     the whole text's spans cover no more than the width.

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/graphics/FontEngine.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void Check(bool Holds, const char* What, const std::string& Text)
{
    if (!Holds) Abort(What, Text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    // The dialog font and a named family, regular and bold, chosen by the first byte.
    TFont Font;
    if (Size > 0 && (Data[0] & 1)) Font.SetName("DejaVu Sans");
    if (Size > 0 && (Data[0] & 2)) Font.SetStyle({fsBold});
    const auto L = TFontEngine::Instance().Layout(Font, Text);

    const std::vector<size_t>& Bounds = L->Graphemes();
    Check(!Bounds.empty() && Bounds.front() == 0 && Bounds.back() == Text.size(), "boundaries miss an end", Text);
    Check(std::adjacent_find(Bounds.begin(), Bounds.end(), std::greater_equal<size_t>()) == Bounds.end(),
          "boundaries do not rise", Text);
    for (size_t P = 0; P <= Text.size(); ++P) {
        const auto After = std::upper_bound(Bounds.begin(), Bounds.end(), P);
        Check(NextGraphemePos(Text, P) == (After == Bounds.end() ? Text.size() : *After), "next boundary", Text);
        const auto Before = std::lower_bound(Bounds.begin(), Bounds.end(), P);
        Check(PrevGraphemePos(Text, P) == (Before == Bounds.begin() ? 0 : *std::prev(Before)), "previous boundary",
              Text);
    }
    for (const TTextRun& Run : L->Runs()) {
        Check(Run.First < Run.Last && Run.Last <= Text.size(), "a run outside the text", Text);
        for (const TShapedGlyph& G : Run.Glyphs)
            Check(G.Cluster >= Run.First && G.Cluster < Run.Last, "a glyph outside its run", Text);
    }
    const int W = L->Width();
    for (size_t B : Bounds) {
        const int X = L->CaretX(B);
        Check(X >= 0 && X <= W, "a caret outside the line", Text);
        Check(std::binary_search(Bounds.begin(), Bounds.end(), L->OffsetAt(X)), "a hit between boundaries", Text);
    }
    for (const auto& [Left, Right] : L->Spans(0, Text.size()))
        Check(Left >= 0 && Left < Right && Right <= W, "a span outside the line", Text);
    return 0;
}
