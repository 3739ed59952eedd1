// Reading a page file and freeing the page, at 10k, 100k and 200k components: the time
// per component should stay flat (finding a name and removing a component cost the same
// whatever the page holds). Named components, and unnamed ones, which skip the names.

#include <benchmark/benchmark.h>

#include <string>

#include "Sizes.h"
#include "apps/designer/document/PageFile.h"
#include "platform/components/Components.h"

namespace {

std::string PageOf(int Count, bool Named)
{
    std::string Text = "object Page: TQellPage\n";
    for (int I = 0; I < Count; ++I) {
        Text += Named ? "  object Label" + std::to_string(I) + ": TQellLabel\n" : "  object TQellLabel\n";
        Text += "    Left = " + std::to_string(I % 600) + "\n  end\n";
    }
    return Text + "end\n";
}

void LoadAndFree(benchmark::State& State, bool Named)
{
    RegisterComponentClasses();
    const int Count = static_cast<int>(State.range(0));
    const std::string Text = PageOf(Count, Named);
    for (auto _ : State) {
        auto Page = ReadPageText(Text);
        benchmark::DoNotOptimize(Page->ComponentCount());
    }
    State.counters["ns_per_component"] = benchmark::Counter(
        static_cast<double>(Count) * static_cast<double>(State.iterations()) / 1e9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LoadAndFreeNamed(benchmark::State& State) { LoadAndFree(State, true); }
void BM_LoadAndFreeUnnamed(benchmark::State& State) { LoadAndFree(State, false); }
BENCHMARK(BM_LoadAndFreeNamed)
    ->Apply([](auto* B) { Sizes(B, {10000, 100000, 200000}); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndFreeUnnamed)
    ->Apply([](auto* B) { Sizes(B, {10000, 100000, 200000}); })
    ->Unit(benchmark::kMillisecond);

} // namespace
