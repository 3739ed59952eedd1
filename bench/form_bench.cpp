// A full repaint of a form whose 202 x 202 paint box is painted pixel by pixel through
// its control canvas, as the colour dialog's field is: background, frame of controls,
// and 40,000 pixel writes.

#include <benchmark/benchmark.h>

#include "Sizes.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PaintBox.h"

namespace {

void BM_FormRepaintWithPixelPaintBox(benchmark::State& State)
{
    TForm Form(nullptr);
    Form.SetClientWidth(385);
    Form.SetClientHeight(453);
    auto* Box = new TPaintBox(&Form);
    Box->SetParent(&Form);
    Box->SetBounds(8, 8, 202, 202);
    Box->OnPaint = [Box](TObject*) {
        TCanvas& C = Box->Canvas();
        for (int Y = 0; Y < 202; ++Y)
            for (int X = 0; X < 202; ++X) C.SetPixels(X, Y, (X * 0x010305 + Y * 0x050301) & 0xFFFFFF);
    };
    auto* Label = new TLabel(&Form);
    Label->SetParent(&Form);
    Label->SetBounds(220, 10, 0, 0);
    Label->SetCaption("Picked Color:");
    auto* Button = new TButton(&Form);
    Button->SetParent(&Form);
    Button->SetBounds(220, 40, 75, 25);
    Button->SetCaption("&OK");
    for (auto _ : State) {
        Form.PaintAll();
        benchmark::DoNotOptimize(Form.Surface().Pixel(100, 100));
    }
}
BENCHMARK(BM_FormRepaintWithPixelPaintBox)->Unit(benchmark::kMicrosecond);

} // namespace

// Typing N characters into an edit, the edit painted after each as the loop paints it:
// the time per character should not grow with N (10k, 40k, 160k), since a keystroke
// measures and draws only what the field shows.
void BM_TypeIntoEdit(benchmark::State& State)
{
    const int Count = static_cast<int>(State.range(0));
    for (auto _ : State) {
        TForm Form(nullptr);
        Form.SetClientWidth(300);
        Form.SetClientHeight(60);
        auto* Edit = new TEdit(&Form);
        Edit->SetParent(&Form);
        Edit->SetBounds(8, 8, 200, 21);
        Form.SetActiveControl(Edit);
        for (int I = 0; I < Count; ++I) {
            Form.HandleTextInput(std::string(1, static_cast<char>('a' + I % 26)));
            Form.PaintControl(Edit);
        }
        benchmark::DoNotOptimize(Form.Surface().Pixel(100, 15));
    }
    State.counters["us_per_char"] = benchmark::Counter(
        static_cast<double>(Count) * static_cast<double>(State.iterations()) / 1e6,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TypeIntoEdit)->Apply([](auto* B) { Sizes(B, {10000, 40000, 160000}); })->Unit(benchmark::kMillisecond);
