// `qell-designer check` against reading the same page (`get` of one property), the
// program run whole on pages of 10k and 20k components: the check should cost less
// than twice the read, and grow with the page as the read does. The time is the child's
// CPU time (user and system), which a busy machine does not stretch as it does the
// wall clock.

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "RunDesigner.h"
#include "Sizes.h"

namespace {

// The pages written, removed when the program ends.
struct TPageFiles {
    std::map<int, std::string> Names;
    ~TPageFiles()
    {
        for (const auto& [Count, Name] : Names) std::remove(Name.c_str());
    }
};

// A page of Count components, every kind in turn, each with a colour or two of its own.
const std::string& PageFile(int Count)
{
    static TPageFiles Files;
    std::string& Name = Files.Names[Count];
    if (!Name.empty()) return Name;
    Name = "/tmp/qell_check_bench_" + std::to_string(getpid()) + "_" + std::to_string(Count) + ".txt";
    std::ofstream Out(Name);
    Out << "object Page: TQellPage\n  Width = 4096\n  Height = 4096\n";
    const char* Kinds[] = {"TQellButton", "TQellOnOffButton", "TQellTrackbar", "TQellList",
                           "TQellSpinner", "TQellPopup",       "TQellLabel"};
    for (int I = 0; I < Count; ++I) {
        const std::string Kind = Kinds[I % 7];
        Out << "  object C" << I << ": " << Kind << "\n    Left = " << I % 4000 << "\n    Top = " << I % 3000 << "\n";
        if (Kind == "TQellButton") Out << "    Appearance.BackgroundColor = SeaGreen\n    Appearance.TextColor = White\n";
        if (Kind == "TQellLabel") Out << "    TextColor = Navy\n";
        if (Kind == "TQellSpinner")
            Out << "    Slots = <\n      item\n        Caption = 'A'\n        TextColor = Maroon\n      end\n"
                   "      item\n        Caption = 'B'\n      end>\n";
        Out << "  end\n";
    }
    Out << "end\n";
    return Name;
}

void BM_GetOneProperty(benchmark::State& State)
{
    RunDesigner(State, {"get", PageFile(static_cast<int>(State.range(0))), "C0.Caption"}, 1);
}
BENCHMARK(BM_GetOneProperty)
    ->Apply([](auto* B) { Sizes(B, {10000, 20000}); })
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

void BM_Check(benchmark::State& State)
{
    RunDesigner(State, {"check", PageFile(static_cast<int>(State.range(0)))}, 1);
}
BENCHMARK(BM_Check)
    ->Apply([](auto* B) { Sizes(B, {10000, 20000}); })
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

} // namespace
