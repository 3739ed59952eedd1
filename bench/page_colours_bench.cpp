// The page's own colours, worked out each time a colour row's menu offers them, and the
// list of contrast problems, built again after every edit while it shows: at 10k and 100k
// components the time per component should stay flat, every colour of the page distinct
// (the worst case for counting them).

#include <benchmark/benchmark.h>

#include <string>

#include "Sizes.h"
#include "apps/designer/document/PageColours.h"
#include "apps/designer/document/PageDocument.h"
#include "apps/designer/document/PageFile.h"
#include "platform/components/Components.h"

namespace {

std::string PageOf(int Count)
{
    std::string Text = "object Page: TQellPage\n";
    for (int I = 0; I < Count; ++I) {
        Text += "  object Button" + std::to_string(I) + ": TQellButton\n";
        Text += "    Left = " + std::to_string(I % 600) + "\n";
        Text += "    Appearance.BackgroundColor = " + std::to_string(I) + "\n  end\n";
    }
    return Text + "end\n";
}

void PerComponent(benchmark::State& State, int Count)
{
    State.counters["ns_per_component"] = benchmark::Counter(
        static_cast<double>(Count) * static_cast<double>(State.iterations()) / 1e9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PageColours(benchmark::State& State)
{
    RegisterComponentClasses();
    const int Count = static_cast<int>(State.range(0));
    const auto Page = ReadPageText(PageOf(Count));
    for (auto _ : State) benchmark::DoNotOptimize(PageColours(*Page).size());
    PerComponent(State, Count);
}

// What the list does after an edit: the findings again, those failing picked out.
void BM_ContrastProblemsAfterAnEdit(benchmark::State& State)
{
    RegisterComponentClasses();
    const int Count = static_cast<int>(State.range(0));
    TPageDocument Document;
    Document.SetPage(ReadPageText(PageOf(Count)), "");
    int Value = 0;
    for (auto _ : State) {
        Document.SetPropertyText("Button0.Appearance.TextColor", std::to_string(++Value % 2 ? 0 : 0xFFFFFF));
        int Failing = 0;
        for (const TContrastFinding& F : Document.ContrastFindings()) Failing += !F.Passes(TContrastLevel::AA);
        benchmark::DoNotOptimize(Failing);
    }
    PerComponent(State, Count);
}

BENCHMARK(BM_PageColours)->Apply([](auto* B) { Sizes(B, {10000, 100000}); })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContrastProblemsAfterAnEdit)
    ->Apply([](auto* B) { Sizes(B, {10000, 100000}); })
    ->Unit(benchmark::kMillisecond);

} // namespace
