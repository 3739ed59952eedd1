// `qell-designer check` against reading the same page (`get` of one property), the
// program run whole on pages of 10k and 20k components: the check should cost less
// than twice the read, and grow with the page as the read does. The time is the child's
// CPU time (user and system), which a busy machine does not stretch as it does the
// wall clock.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

extern char** environ;

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

// Runs the designer with Args, output to /dev/null; an exit code other than 0 or 1 (a
// check that found failing pairs) fails the benchmark.
void RunDesigner(benchmark::State& State, std::vector<std::string> Args)
{
    Args.insert(Args.begin(), QELL_DESIGNER);
    std::vector<char*> Argv;
    for (std::string& A : Args) Argv.push_back(A.data());
    Argv.push_back(nullptr);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    for (auto _ : State) {
        pid_t Child;
        if (posix_spawn(&Child, QELL_DESIGNER, &Actions, nullptr, Argv.data(), environ) != 0) {
            State.SkipWithError("cannot start the designer");
            break;
        }
        int Status = 0;
        rusage Usage{};
        wait4(Child, &Status, 0, &Usage);
        const auto Seconds = [](const timeval& T) { return static_cast<double>(T.tv_sec) + T.tv_usec / 1e6; };
        State.SetIterationTime(Seconds(Usage.ru_utime) + Seconds(Usage.ru_stime));
        if (!WIFEXITED(Status) || WEXITSTATUS(Status) > 1) {
            State.SkipWithError("the designer failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&Actions);
}

void BM_GetOneProperty(benchmark::State& State)
{
    RunDesigner(State, {"get", PageFile(static_cast<int>(State.range(0))), "C0.Caption"});
}
BENCHMARK(BM_GetOneProperty)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_Check(benchmark::State& State)
{
    RunDesigner(State, {"check", PageFile(static_cast<int>(State.range(0)))});
}
BENCHMARK(BM_Check)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace
