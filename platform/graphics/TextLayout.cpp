#include "platform/graphics/TextLayout.h"

#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <algorithm>
#include <climits>

namespace {

int Pixels(int64_t V)
{
    return static_cast<int>(std::clamp<int64_t>((V + 32) >> 6, INT_MIN, INT_MAX));
}

// One character break iterator per thread, opened once: opening one loads ICU's rules.
class TGraphemeIterator {
public:
    TGraphemeIterator()
    {
        UErrorCode Status = U_ZERO_ERROR;
        FBreaks = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &Status);
        if (U_FAILURE(Status)) FBreaks = nullptr;
    }
    ~TGraphemeIterator()
    {
        if (FBreaks) ubrk_close(FBreaks);
    }
    TGraphemeIterator(const TGraphemeIterator&) = delete;
    TGraphemeIterator& operator=(const TGraphemeIterator&) = delete;

    // The iterator set on Text, or null when ICU could not open one. The iterator keeps
    // a reference to Text until the next call.
    UBreakIterator* On(std::string_view Text)
    {
        if (!FBreaks) return nullptr;
        UErrorCode Status = U_ZERO_ERROR;
        UText Utf8 = UTEXT_INITIALIZER;
        utext_openUTF8(&Utf8, Text.data(), static_cast<int64_t>(Text.size()), &Status);
        ubrk_setUText(FBreaks, &Utf8, &Status);
        utext_close(&Utf8);
        return U_SUCCESS(Status) ? FBreaks : nullptr;
    }

private:
    UBreakIterator* FBreaks = nullptr;
};

UBreakIterator* BreaksOn(std::string_view Text)
{
    thread_local TGraphemeIterator Iterator;
    return Iterator.On(Text);
}

} // namespace

size_t NextGraphemePos(std::string_view Text, size_t Pos)
{
    if (Pos >= Text.size()) return Text.size();
    UBreakIterator* Breaks = Text.size() <= INT32_MAX ? BreaksOn(Text) : nullptr;
    const int32_t Next = Breaks ? ubrk_following(Breaks, static_cast<int32_t>(Pos)) : UBRK_DONE;
    return Next == UBRK_DONE ? Text.size() : static_cast<size_t>(Next);
}

size_t PrevGraphemePos(std::string_view Text, size_t Pos)
{
    Pos = std::min(Pos, Text.size());
    if (Pos == 0) return 0;
    UBreakIterator* Breaks = Text.size() <= INT32_MAX ? BreaksOn(Text) : nullptr;
    if (!Breaks) return 0;
    // ICU takes an offset inside a character for that character's start, and answers
    // the boundary before that: step on to the last one before Pos.
    int32_t Prev = ubrk_preceding(Breaks, static_cast<int32_t>(Pos));
    if (Prev == UBRK_DONE) Prev = 0;
    for (int32_t Next; (Next = ubrk_following(Breaks, Prev)) != UBRK_DONE && static_cast<size_t>(Next) < Pos;)
        Prev = Next;
    return static_cast<size_t>(Prev);
}

std::vector<size_t> GraphemeBoundaries(std::string_view Text)
{
    std::vector<size_t> Bounds{0};
    // In ASCII every character is a cluster of its own but CR LF, which is one.
    if (std::all_of(Text.begin(), Text.end(), [](char C) { return static_cast<unsigned char>(C) < 0x80; })) {
        for (size_t I = 1; I <= Text.size(); ++I)
            if (!(Text[I - 1] == '\r' && I < Text.size() && Text[I] == '\n')) Bounds.push_back(I);
        return Bounds;
    }
    UBreakIterator* Breaks = Text.size() <= INT32_MAX ? BreaksOn(Text) : nullptr;
    if (Breaks)
        for (int32_t B = ubrk_first(Breaks); B != UBRK_DONE; B = ubrk_next(Breaks))
            if (B > 0) Bounds.push_back(static_cast<size_t>(B));
    if (Bounds.back() != Text.size()) Bounds.push_back(Text.size());
    return Bounds;
}

TTextLayout::TTextLayout(std::string Text, std::vector<size_t> Graphemes, std::vector<TTextRun> Runs)
    : FText(std::move(Text)), FGraphemes(std::move(Graphemes)), FRuns(std::move(Runs))
{
    Place();
}

int TTextLayout::Width() const
{
    return std::max(0, Pixels(FAdvance));
}

void TTextLayout::Place()
{
    const size_t Count = FGraphemes.size() > 1 ? FGraphemes.size() - 1 : 0;
    constexpr int64_t None = INT64_MIN;
    FPlaces.assign(Count, TPlace{0, None, None, false});
    for (size_t I = 0; I < Count; ++I) FPlaces[I].Offset = FGraphemes[I];
    const auto Widen = [&](size_t Place, int64_t Left, int64_t Right, bool RightToLeft) {
        TPlace& P = FPlaces[Place];
        P.Left = P.Left == None ? Left : std::min(P.Left, Left);
        P.Right = P.Right == None ? Right : std::max(P.Right, Right);
        P.RightToLeft = RightToLeft;
    };
    int64_t Pen = 0;
    for (const TTextRun& Run : FRuns) {
        Pen = Run.X;
        // Each glyph cluster's bytes end where the next cluster of the run (in logical
        // order) starts.
        std::vector<uint32_t> Starts;
        for (const TShapedGlyph& G : Run.Glyphs) Starts.push_back(G.Cluster);
        std::sort(Starts.begin(), Starts.end());
        Starts.erase(std::unique(Starts.begin(), Starts.end()), Starts.end());
        for (size_t G = 0; G < Run.Glyphs.size();) {
            const uint32_t Cluster = Run.Glyphs[G].Cluster;
            const int64_t Left = Pen;
            for (; G < Run.Glyphs.size() && Run.Glyphs[G].Cluster == Cluster; ++G) Pen += Run.Glyphs[G].XAdvance;
            const auto Next = std::upper_bound(Starts.begin(), Starts.end(), Cluster);
            const size_t End = Next == Starts.end() ? Run.Last : *Next;
            // The graphemes that start in the cluster share its width (a ligature);
            // a cluster that starts inside a grapheme widens that grapheme.
            const size_t First = PlaceOf(Cluster);
            size_t Last = First + 1;
            while (Last < Count && FPlaces[Last].Offset < End) ++Last;
            const size_t Shared = FPlaces[First].Offset < Cluster && Last - First > 1 ? First + 1 : First;
            const int64_t N = static_cast<int64_t>(Last - Shared);
            for (size_t P = Shared; P < Last; ++P) {
                const int64_t K = static_cast<int64_t>(P - Shared);
                const int64_t A = Left + (Pen - Left) * K / N, B = Left + (Pen - Left) * (K + 1) / N;
                if (Run.RightToLeft)
                    Widen(P, Left + Pen - B, Left + Pen - A, true);
                else
                    Widen(P, A, B, false);
            }
            if (Shared != First) Widen(First, Left, Left, Run.RightToLeft);
        }
        FAdvance = std::max(FAdvance, Pen);
    }
    // Graphemes that drew nothing (bytes that are no character) stand where the one
    // before them ends.
    for (size_t I = 0; I < Count; ++I) {
        TPlace& P = FPlaces[I];
        if (P.Left != None) continue;
        const TPlace* Before = I > 0 ? &FPlaces[I - 1] : nullptr;
        const int64_t At = Before ? (Before->RightToLeft ? Before->Left : Before->Right) : 0;
        P.Left = P.Right = At;
        P.RightToLeft = Before && Before->RightToLeft;
    }
}

size_t TTextLayout::PlaceOf(size_t Offset) const
{
    const auto It = std::upper_bound(FPlaces.begin(), FPlaces.end(), Offset,
                                     [](size_t O, const TPlace& P) { return O < P.Offset; });
    return It == FPlaces.begin() ? 0 : static_cast<size_t>(It - FPlaces.begin()) - 1;
}

int TTextLayout::CaretX(size_t Offset) const
{
    if (FPlaces.empty()) return 0;
    if (Offset >= FText.size()) {
        const TPlace& Last = FPlaces.back();
        return Pixels(Last.RightToLeft ? Last.Left : Last.Right);
    }
    const TPlace& P = FPlaces[PlaceOf(Offset)];
    return Pixels(P.RightToLeft ? P.Right : P.Left);
}

size_t TTextLayout::OffsetAt(int X) const
{
    if (FPlaces.empty()) return 0;
    const int64_t At = int64_t{X} * 64;
    size_t Best = 0;
    int64_t BestDistance = INT64_MAX;
    for (size_t I = 0; I < FPlaces.size(); ++I) {
        const TPlace& P = FPlaces[I];
        const int64_t Distance = At < P.Left ? P.Left - At : At >= P.Right ? At - P.Right : 0;
        if (Distance < BestDistance) {
            Best = I;
            BestDistance = Distance;
        }
    }
    const TPlace& P = FPlaces[Best];
    const bool LeftHalf = At * 2 < P.Left + P.Right;
    const size_t Start = P.Offset, End = FGraphemes[Best + 1];
    return LeftHalf != P.RightToLeft ? Start : End;
}

std::vector<std::pair<int, int>> TTextLayout::Spans(size_t From, size_t To) const
{
    std::vector<std::pair<int64_t, int64_t>> Parts;
    for (const TPlace& P : FPlaces)
        if (P.Offset >= From && P.Offset < To && P.Right > P.Left) Parts.emplace_back(P.Left, P.Right);
    std::sort(Parts.begin(), Parts.end());
    std::vector<std::pair<int, int>> Spans;
    for (const auto& [Left, Right] : Parts) {
        const int L = Pixels(Left), R = Pixels(Right);
        if (!Spans.empty() && L <= Spans.back().second)
            Spans.back().second = std::max(Spans.back().second, R);
        else if (R > L)
            Spans.emplace_back(L, R);
    }
    return Spans;
}
