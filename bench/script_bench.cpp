// Reading an event script of 1, 4 and 16 MiB: checking every line when it is loaded,
// then reading each command again as a run reaches it. The time per byte should stay
// flat, whatever the size; the script's memory is its text (the peak of a whole run is
// measured on the program, see README.md).

#include <benchmark/benchmark.h>

#include <string>

#include "platform/toolkit/script/EventScript.h"

namespace {

// Lines of every shape the language has: short commands, coordinates, quoted text,
// keys with modifiers and comments, repeated to Size bytes.
std::string ScriptOf(size_t Size)
{
    const std::string Lines = "key Tab\n"
                              "click ButtonOK\n"
                              "press PaintBox1 10 20 right\n"
                              "drag TrackBar1 0 0 120 8 12\n"
                              "type EditName \"Quoted \\\"text\\\" here\"\n"
                              "key Ctrl+Shift+Home # with a comment\n"
                              "\n"
                              "hover PaintBox1 -5 7\n";
    std::string Text;
    Text.reserve(Size + Lines.size());
    while (Text.size() + Lines.size() <= Size) Text += Lines;
    return Text;
}

void BM_ReadScript(benchmark::State& State)
{
    const size_t Size = static_cast<size_t>(State.range(0)) << 20;
    const std::string Text = ScriptOf(Size);
    for (auto _ : State) {
        TEventScript Script(Text);
        TScriptCommand C;
        int Commands = 0;
        while (Script.Next(C)) ++Commands;
        benchmark::DoNotOptimize(Commands);
    }
    State.SetBytesProcessed(static_cast<int64_t>(Text.size()) * State.iterations());
    State.counters["ns_per_byte"] =
        benchmark::Counter(static_cast<double>(Text.size()) * static_cast<double>(State.iterations()) / 1e9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadScript)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace
