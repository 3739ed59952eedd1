// The benchmark programs' main: Google Benchmark's own, except that the program fails
// when a benchmark reports an error (SkipWithError), so that the test suite's run of
// every benchmark notices one that no longer works.

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Passes everything on to the display the flags chose, counting the runs in error.
class TErrorCountingReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context& C) override { return FDisplay->ReportContext(C); }
    void ReportRuns(const std::vector<Run>& Runs) override
    {
        for (const Run& R : Runs) FErrors += R.error_occurred;
        FDisplay->ReportRuns(Runs);
    }
    void Finalize() override { FDisplay->Finalize(); }
    int Errors() const { return FErrors; }

private:
    // Owned by the library, which keeps it for the whole run.
    benchmark::BenchmarkReporter* FDisplay = benchmark::CreateDefaultDisplayReporter();
    int FErrors = 0;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TErrorCountingReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();
    return Reporter.Errors() > 0 ? 1 : 0;
}
