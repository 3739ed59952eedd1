// The designer as a person starts it: the program run whole, headless, from start to its
// first painted frame (the package loaded, the sample page read, every pane painted),
// against the program printing the colour names; and the peak memory of each run.

#include <string>

#include "RunDesigner.h"
#include "Sizes.h"

namespace {

void BM_ColourNames(benchmark::State& State) { RunDesigner(State, {"colour", "names"}); }
BENCHMARK(BM_ColourNames)->Unit(benchmark::kMillisecond)->UseRealTime();

// An empty script: headless whatever the display, ending right after the first frame.
void BM_DesignerToFirstFrame(benchmark::State& State)
{
    const TScriptFile Empty("");
    RunDesigner(State, {"design", "--script", Empty.Name()});
}
BENCHMARK(BM_DesignerToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// A session: select, edit by typing, by the list and through the dialog, undo and redo.
void BM_DesignerSession(benchmark::State& State) { RunDesigner(State, {"design", "--script", QELL_SESSION_SCRIPT}); }
BENCHMARK(BM_DesignerSession)->Unit(benchmark::kMillisecond)->UseRealTime();

// A script of one `text` line of 1, 4 and 16 MiB (less the line's own bytes): the peak
// memory should grow with the script's size a few times over, not with an event per
// character.
void BM_DesignerTypesALongLine(benchmark::State& State)
{
    const TScriptFile Script("text \"" + std::string(static_cast<size_t>(State.range(0) << 20) - 9, 'x') + "\"\n");
    RunDesigner(State, {"design", "--script", Script.Name()});
}
BENCHMARK(BM_DesignerTypesALongLine)
    ->Apply([](auto* B) { Sizes(B, {1, 4, 16}); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace
