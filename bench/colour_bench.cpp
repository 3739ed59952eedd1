// The colour model's hot paths: the colour field repaints with 40,000 HSBtoRGB calls,
// and every level change runs one scaled conversion. Medians of 5 repetitions.

#include <benchmark/benchmark.h>

#include <string>

#include "colour/ColourModel.h"
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

} // namespace
