// Reading a page file and freeing the page, at 10k, 100k and 200k components: the time
// per component should stay flat (finding a name and removing a component cost the same
// whatever the page holds). Named components, and unnamed ones, which skip the names;
// and names an attacker chose to collide in the name index's hash under a key he knew,
// read by a process with a key of its own.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "Sizes.h"
#include "apps/designer/document/PageFile.h"
#include "platform/components/Components.h"
#include "platform/rtl/NameIndex.h"

namespace {

enum class TNames { Ordinary, Crafted, None };

// Fixed, so that every run hashes the same: a process draws its own.
constexpr TNameHashKey RunKey{0x243F6A8885A308D3, 0x13198A2E03707344};
constexpr TNameHashKey KnownKey{0xA4093822299F31D0, 0x082EFA98EC4E6C89};

// 200k names whose hashes all share their low 8 bits under KnownKey, found by trying
// names as an attacker would; 256 tries a name keeps this to about a second.
const std::vector<std::string>& CraftedNames()
{
    static const std::vector<std::string> Names = [] {
        std::vector<std::string> Found;
        SetNameHashKey(KnownKey);
        for (size_t N = 0; Found.size() < 200000; ++N)
            if (std::string Name = "Label" + std::to_string(N); (NameHash(Name) & 0xFF) == 0)
                Found.push_back(std::move(Name));
        return Found;
    }();
    return Names;
}

std::string PageOf(int Count, TNames Names)
{
    const std::vector<std::string>* Crafted = Names == TNames::Crafted ? &CraftedNames() : nullptr;
    std::string Text = "object Page: TQellPage\n";
    for (int I = 0; I < Count; ++I) {
        if (Names == TNames::None) Text += "  object TQellLabel\n";
        else Text += "  object " + (Crafted ? (*Crafted)[static_cast<size_t>(I)] : "Label" + std::to_string(I)) + ": TQellLabel\n";
        Text += "    Left = " + std::to_string(I % 600) + "\n  end\n";
    }
    return Text + "end\n";
}

void LoadAndFree(benchmark::State& State, TNames Names)
{
    RegisterComponentClasses();
    const int Count = static_cast<int>(State.range(0));
    const std::string Text = PageOf(Count, Names);
    SetNameHashKey(RunKey);
    for (auto _ : State) {
        auto Page = ReadPageText(Text);
        benchmark::DoNotOptimize(Page->ComponentCount());
    }
    State.counters["ns_per_component"] = benchmark::Counter(
        static_cast<double>(Count) * static_cast<double>(State.iterations()) / 1e9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LoadAndFreeNamed(benchmark::State& State) { LoadAndFree(State, TNames::Ordinary); }
void BM_LoadAndFreeCraftedNames(benchmark::State& State) { LoadAndFree(State, TNames::Crafted); }
void BM_LoadAndFreeUnnamed(benchmark::State& State) { LoadAndFree(State, TNames::None); }
BENCHMARK(BM_LoadAndFreeNamed)
    ->Apply([](auto* B) { Sizes(B, {10000, 100000, 200000}); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndFreeCraftedNames)
    ->Apply([](auto* B) { Sizes(B, {10000, 100000, 200000}); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndFreeUnnamed)
    ->Apply([](auto* B) { Sizes(B, {10000, 100000, 200000}); })
    ->Unit(benchmark::kMillisecond);

} // namespace
