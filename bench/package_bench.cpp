// The package's whole life in a host (load, Initialize, Register, Finalize, unload)
// against a bare load and unload of the same file.

#include <benchmark/benchmark.h>
#include <dlfcn.h>

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

} // namespace
