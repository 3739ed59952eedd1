// The package's whole life in a host (load, Initialize, Register, Finalize, unload)
// against a bare load and unload of the same file, and the first load of a version of
// the file, which copies, checks and tries it before loading.

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/rtl/PackageLoader.h"

namespace {

void BM_BareLoadUnload(benchmark::State& State)
{
    for (auto _ : State) {
        void* Library = dlopen(QELL_PACKAGE, RTLD_NOW | RTLD_LOCAL);
        if (!Library) State.SkipWithError(dlerror());
        dlclose(Library);
    }
}
BENCHMARK(BM_BareLoadUnload)->Unit(benchmark::kMicrosecond);

void BM_PackageCycle(benchmark::State& State)
{
    for (auto _ : State) {
        const TPackageHandle Package = LoadPackage(QELL_PACKAGE);
        for (void (*Register)() : GetPackageRegisterProcs(Package)) Register();
        if (!UnloadPackage(Package).empty()) State.SkipWithError("its finalisation failed");
    }
}
BENCHMARK(BM_PackageCycle)->Unit(benchmark::kMicrosecond);

// Each load meets a new version of the file (a change of mode moves its change time),
// so each is copied, checked and tried in a process of its own: real time, since the
// trial's own process does most of the work.
void BM_FirstLoadOfAVersion(benchmark::State& State)
{
    const std::string Copy = std::filesystem::temp_directory_path() / ("package_bench_" + std::to_string(getpid()) + ".bpl");
    std::filesystem::copy_file(QELL_PACKAGE, Copy, std::filesystem::copy_options::overwrite_existing);
    mode_t Mode = 0644;
    for (auto _ : State) {
        Mode ^= 0040;
        chmod(Copy.c_str(), Mode);
        try {
            if (!UnloadPackage(LoadPackage(Copy)).empty()) State.SkipWithError("its finalisation failed");
        } catch (const EPackageError& E) {
            State.SkipWithError(E.what());
        }
    }
    std::filesystem::remove(Copy);
}
BENCHMARK(BM_FirstLoadOfAVersion)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
