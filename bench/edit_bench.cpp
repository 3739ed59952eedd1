// One edit in the designer, typed into the inspector and set, on the sample page and on
// a page of 10k components: an undo step keeps only what the edit changed, so the two
// should cost about the same (aim: the large page within 2x of the sample).

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <string_view>

#include "apps/designer/window/DesignerForm.h"
#include "platform/components/Components.h"
#include "platform/toolkit/Application.h"

namespace {

std::string LargePage(int Labels)
{
    std::string Text = "object Page: TQellPage\n  object ButtonOrder: TQellButton\n    Caption = 'Order'\n  end\n";
    for (int I = 0; I < Labels; ++I)
        Text += "  object Label" + std::to_string(I) + ": TQellLabel\n    Left = " + std::to_string(I % 600) +
                "\n  end\n";
    return Text + "end\n";
}

void TypeCaptions(benchmark::State& State, std::string_view PageText)
{
    RegisterComponentClasses();
    const auto D = std::make_unique<TDesignerForm>(Application);
    D->Document().SetPage(ReadPageText(PageText), "");
    D->Document().Select({D->Document().Page().FindComponent("ButtonOrder")});
    TPropertyInspector& I = D->Inspector();
    if (!I.SelectPath("Caption")) State.SkipWithError("no Caption row");
    int N = 0;
    for (auto _ : State) {
        I.BeginEdit("Order " + std::to_string(++N), false);
        if (!I.CommitEdit()) State.SkipWithError("the edit was refused");
    }
    if (!D->Document().CanUndo() || D->Document().Page().FindComponent("ButtonOrder") == nullptr)
        State.SkipWithError("nothing was edited");
}

void BM_EditSamplePage(benchmark::State& State) { TypeCaptions(State, SamplePageText()); }
void BM_EditPageOf10kComponents(benchmark::State& State) { TypeCaptions(State, LargePage(10000)); }
BENCHMARK(BM_EditSamplePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditPageOf10kComponents)->Unit(benchmark::kMicrosecond);

} // namespace
