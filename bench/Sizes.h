#pragma once
// Input sizes for a benchmark that shows how a cost grows with its input. The test
// suite runs every benchmark once with QELL_BENCH_SMOKE set, to see that it works, not
// what it costs: there only the smallest size runs.
// Use: BENCHMARK(BM_Read)->Apply([](auto* B) { Sizes(B, {10000, 100000, 200000}); });

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

inline void Sizes(benchmark::internal::Benchmark* B, std::initializer_list<int64_t> Args)
{
    const char* Smoke = std::getenv("QELL_BENCH_SMOKE");
    for (const int64_t Arg : Args) {
        B->Arg(Arg);
        if (Smoke && *Smoke) return;
    }
}
