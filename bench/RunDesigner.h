#pragma once
// The designer program run whole from a benchmark, as a person runs it.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

// Runs QELL_DESIGNER with Args once per iteration, output to /dev/null. Each iteration's
// manual time is the child's CPU time (user and system), which a busy machine does not
// stretch as it does the wall clock; benchmarks that want it say UseManualTime. Counts
// the child's peak resident memory (peak_MiB). An exit code above MaxExit fails the
// benchmark.
inline void RunDesigner(benchmark::State& State, std::vector<std::string> Args, int MaxExit = 0)
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
        const auto Seconds = [](const timeval& T) { return static_cast<double>(T.tv_sec) + T.tv_usec / 1e6; };
        State.SetIterationTime(Seconds(Usage.ru_utime) + Seconds(Usage.ru_stime));
        if (!WIFEXITED(Status) || WEXITSTATUS(Status) > MaxExit) {
            State.SkipWithError("the designer failed");
            break;
        }
        PeakKiB = std::max(PeakKiB, Usage.ru_maxrss);
    }
    posix_spawn_file_actions_destroy(&Actions);
    State.counters["peak_MiB"] = static_cast<double>(PeakKiB) / 1024.0;
}

// A script for the designer in a file of its own, removed with this object. (The
// designer reads regular files only, so even an empty script cannot be /dev/null.)
// Raises std::runtime_error when it cannot be written.
class TScriptFile {
public:
    explicit TScriptFile(const std::string& Text)
    {
        const int Fd = mkstemp(FName.data());
        std::FILE* F = Fd < 0 ? nullptr : fdopen(Fd, "w");
        const bool Written = F && std::fwrite(Text.data(), 1, Text.size(), F) == Text.size();
        if (!F || std::fclose(F) != 0 || !Written) {
            if (Fd >= 0) std::remove(FName.c_str());
            throw std::runtime_error("cannot write a script in /tmp");
        }
    }
    ~TScriptFile() { std::remove(FName.c_str()); }
    TScriptFile(const TScriptFile&) = delete;
    TScriptFile& operator=(const TScriptFile&) = delete;

    const std::string& Name() const { return FName; }

private:
    std::string FName = "/tmp/qell_designer_bench_XXXXXX";
};
