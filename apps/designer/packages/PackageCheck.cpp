// qell-designer package check: the package's life in a host, N times over: load,
// initialise, register, finalise, unload, and afterwards nothing of it may be left in
// the process: no module record, no registration, no mapping of its file.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/packages/PackageHost.h"
#include "platform/designide/EditorRegistry.h"
#include "platform/rtl/Units.h"

namespace {

constexpr int MaxCycles = 1000000;

// How many of the process's memory mappings are of File, as the maps name it.
int MappingsOf(const std::string& File)
{
    std::ifstream Maps("/proc/self/maps");
    int N = 0;
    for (std::string Line; std::getline(Maps, Line);) N += !File.empty() && Line.ends_with(" " + File);
    return N;
}

// The resident memory, in KiB.
long ResidentKiB()
{
    std::ifstream Status("/proc/self/status");
    for (std::string Line; std::getline(Status, Line);)
        if (Line.starts_with("VmRSS:")) return std::atol(Line.c_str() + 6);
    return 0;
}

struct TState {
    size_t Registrations = 0;
    bool Present = false;
    int Mappings = 0;
    friend bool operator==(const TState&, const TState&) = default;
};

TState StateOf(const std::string& File, const std::string& Name)
{
    return {PropertyEditorRegistrations().size(), IsPackagePresent(Name), MappingsOf(File)};
}

// The registrations Package made, one line each: type, class, property, editor.
void PrintRegistrations(TModuleHandle Package)
{
    for (const TEditorRegistration& R : PropertyEditorRegistrations())
        if (R.Module == Package)
            std::printf("registration\t%s\t%s\t%s\t%s\n", R.PropertyType->Name,
                        R.ComponentClass ? R.ComponentClass->Name.c_str() : "(every class)",
                        R.PropertyName.empty() ? "(every property)" : R.PropertyName.c_str(), R.EditorClass->Name.c_str());
}

} // namespace

int RunPackageCheck(const TArgs& Args)
{
    std::string Path;
    int Cycles = 1;
    for (size_t I = 0; I < Args.size(); ++I) {
        if (Args[I] == "--cycles" && I + 1 < Args.size()) {
            char* End = nullptr;
            const long N = std::strtol(Args[++I].c_str(), &End, 10);
            if (Args[I].empty() || *End != '\0' || N < 1 || N > MaxCycles) {
                std::fprintf(stderr, "qell-designer package check: --cycles takes 1 to %d, not %s\n", MaxCycles,
                             QuotedInput(Args[I]).c_str());
                return ExitError;
            }
            Cycles = static_cast<int>(N);
        } else if (Path.empty() && !Args[I].starts_with("-")) {
            Path = Args[I];
        } else {
            const std::string Why = Args[I] == "--cycles"      ? "--cycles needs a number"
                                    : Args[I].starts_with("-") ? "unknown option " + QuotedInput(Args[I])
                                                               : "unexpected argument " + QuotedInput(Args[I]);
            std::fprintf(stderr, "qell-designer package check: %s\nusage: %s", Why.c_str(), PackageUsage);
            return ExitError;
        }
    }
    if (Path.empty()) Path = DefaultPackagePath();

    const std::string Name = "IW14QellDEDXE7.bpl";
    // The package is loaded from a sealed copy of its file, whose mappings are what may
    // stay; none exist before the first load.
    std::string File;
    const TState Before = StateOf(File, Name);
    long FirstRss = 0;
    for (int Cycle = 1; Cycle <= Cycles; ++Cycle) {
        try {
            TPackageHost Host(Path);
            auto* Custom = Host.ExportedVariable<TStringList*>("IWKAVMOBILEDsnColor.CustomColorsList");
            if (Cycle == 1) {
                File = PackageMappingName(Host.Handle());
                PrintRegistrations(PackageInstance(Host.Handle()));
                std::printf("CustomColorsList\t%s\n",
                            Custom ? (std::to_string(Custom->Count()) + " entries").c_str() : "none");
            }
            if (!Custom || Custom->Count() != 0) {
                std::fprintf(stderr, "qell-designer package check: cycle %d: CustomColorsList is not a new, empty list\n",
                             Cycle);
                return ExitFailed;
            }
            Custom->Add("$00FF0000"); // must be gone by the next load
            if (const std::string Why = Host.Unload(); !Why.empty()) throw EPackageError(Why);
        } catch (const Exception& E) {
            std::fprintf(stderr, "qell-designer package check: cycle %d: %s\n", Cycle, E.what());
            return ExitError;
        }
        const TState After = StateOf(File, Name);
        if (!(After == Before)) {
            std::fprintf(stderr,
                         "qell-designer package check: cycle %d left something behind: %zu registrations (before %zu), "
                         "package %s, %d mappings of the file\n",
                         Cycle, After.Registrations, Before.Registrations, After.Present ? "present" : "gone",
                         After.Mappings);
            return ExitFailed;
        }
        if (Cycle == 1) FirstRss = ResidentKiB();
    }
    std::printf("cycles\t%d\tnothing left behind\nresident\t%ld KiB after the first\t%ld KiB after the last\n", Cycles,
                FirstRss, ResidentKiB());
    return ExitOk;
}
