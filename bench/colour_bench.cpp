// The colour model's hot paths: the colour field repaints with 40,000 HSBtoRGB calls,
// and every level change runs one scaled conversion; the colour difference and the
// fixes of a contrast problem. Medians of 5 repetitions.

#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "colour/ColourDifference.h"
#include "colour/ColourModel.h"
#include "colour/Contrast.h"
#include "colour/IWColors.h"

namespace {

void BM_HSBtoRGB(benchmark::State& State)
{
    int32_t I = 0;
    for (auto _ : State) {
        const Extended H = static_cast<Extended>(I % 200) / 200;
        benchmark::DoNotOptimize(HSBtoRGB(H, 0.6L, 0.75L));
        ++I;
    }
}
BENCHMARK(BM_HSBtoRGB)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LevelsToColor(benchmark::State& State)
{
    int32_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(LevelsToColor(I % 200, (I / 200) % 200, 150));
        ++I;
    }
}
BENCHMARK(BM_LevelsToColor)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ColorToLevels(benchmark::State& State)
{
    uint32_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(ColorToLevels(I & 0xFF, (I >> 8) & 0xFF, (I * 7) & 0xFF));
        ++I;
    }
}
BENCHMARK(BM_ColorToLevels)->Repetitions(5)->ReportAggregatesOnly(true);

// One paint of the 200 x 200 colour field at brightness 0.75, bottom row first.
void BM_PaintColourField(benchmark::State& State)
{
    for (auto _ : State) {
        TColor Sum = 0;
        for (int32_t S = 199; S >= 0; --S)
            for (int32_t H = 0; H < 200; ++H)
                Sum ^= HSBtoRGB(static_cast<Extended>(H) / 200, static_cast<Extended>(S) / 200, 0.75L);
        benchmark::DoNotOptimize(Sum);
    }
    State.SetItemsProcessed(State.iterations() * 40000);
}
BENCHMARK(BM_PaintColourField)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_IdentToIWColor(benchmark::State& State)
{
    const std::string Names[] = {"AliceBlue", "yellowgreen", "clBtnFace", "MediumSpringGreen", "nonsense"};
    int I = 0;
    for (auto _ : State) {
        TColor C;
        benchmark::DoNotOptimize(IdentToIWColor(Names[I % 5], C));
        ++I;
    }
}
BENCHMARK(BM_IdentToIWColor)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_IWColorToString(benchmark::State& State)
{
    int I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(IWColorToString(I % 3 == 0 ? 0x123456 : IWColors[I % IWColorCount].Value));
        ++I;
    }
}
BENCHMARK(BM_IWColorToString)->Repetitions(5)->ReportAggregatesOnly(true);

// One CIEDE2000 difference of two colours, their CIELAB included: the search for a fix
// weighs about a thousand of them.
void BM_ColourDifference(benchmark::State& State)
{
    int32_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(DeltaE2000(ColourToLab(I * 40503), ColourToLab(I * 7919 + 0x2E8B57)));
        ++I;
    }
}
BENCHMARK(BM_ColourDifference)->Repetitions(5)->ReportAggregatesOnly(true);

// Both fixes of a failing pair, as the description line offers them when a row is
// selected: the sample page's white caption on SeaGreen, its highlight text, and a grey
// on a near-grey, in turn. Aim: well within a frame (under 10 ms).
void BM_ContrastFixes(benchmark::State& State)
{
    const std::pair<TColor, TColor> Pairs[] = {
        {clWhite, 0x578B2E}, {clHighlightText, clHighlight}, {0x767676, 0x696969}};
    size_t I = 0;
    for (auto _ : State) {
        const auto& [Fg, Bg] = Pairs[I++ % std::size(Pairs)];
        benchmark::DoNotOptimize(ContrastFixes(Fg, Bg, 4.5));
    }
}
BENCHMARK(BM_ContrastFixes)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
