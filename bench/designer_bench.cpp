// The designer as a person starts it: the program run whole, headless, from start to its
// first painted frame (the package loaded, the sample page read, every pane painted),
// against the program printing the colour names; and the peak memory of each run.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs the designer with Args, output to /dev/null; counts the child's peak resident
// memory (MiB) and fails the benchmark on a non-zero exit.
void RunDesigner(benchmark::State& State, std::vector<std::string> Args)
{
    Args.insert(Args.begin(), QELL_DESIGNER);
    std::vector<char*> Argv;
    for (std::string& A : Args) Argv.push_back(A.data());
    Argv.push_back(nullptr);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    long PeakKiB = 0;
    for (auto _ : State) {
        pid_t Child;
        if (posix_spawn(&Child, QELL_DESIGNER, &Actions, nullptr, Argv.data(), environ) != 0) {
            State.SkipWithError("cannot start the designer");
            break;
        }
        int Status = 0;
        rusage Usage{};
        wait4(Child, &Status, 0, &Usage);
        if (!WIFEXITED(Status) || WEXITSTATUS(Status) != 0) {
            State.SkipWithError("the designer failed");
            break;
        }
        PeakKiB = std::max(PeakKiB, Usage.ru_maxrss);
    }
    posix_spawn_file_actions_destroy(&Actions);
    State.counters["peak_MiB"] = static_cast<double>(PeakKiB) / 1024.0;
}

void BM_ColourNames(benchmark::State& State) { RunDesigner(State, {"colour", "names"}); }
BENCHMARK(BM_ColourNames)->Unit(benchmark::kMillisecond)->UseRealTime();

// An empty script: headless whatever the display, ending right after the first frame.
void BM_DesignerToFirstFrame(benchmark::State& State) { RunDesigner(State, {"design", "--script", "/dev/null"}); }
BENCHMARK(BM_DesignerToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// A session: select, edit by typing, by the list and through the dialog, undo and redo.
void BM_DesignerSession(benchmark::State& State) { RunDesigner(State, {"design", "--script", QELL_SESSION_SCRIPT}); }
BENCHMARK(BM_DesignerSession)->Unit(benchmark::kMillisecond)->UseRealTime();

// A script of one `text` line of 1, 4 and 16 MiB (less the line's own bytes): the peak
// memory should grow with the script's size a few times over, not with an event per
// character.
void BM_DesignerTypesALongLine(benchmark::State& State)
{
    const std::string Script = "/tmp/qell_designer_bench_text_" + std::to_string(getpid()) + ".txt";
    {
        std::FILE* F = std::fopen(Script.c_str(), "w");
        const std::string Line = "text \"" + std::string(static_cast<size_t>(State.range(0) << 20) - 9, 'x') + "\"\n";
        std::fwrite(Line.data(), 1, Line.size(), F);
        std::fclose(F);
    }
    RunDesigner(State, {"design", "--script", Script});
    std::remove(Script.c_str());
}
BENCHMARK(BM_DesignerTypesALongLine)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
