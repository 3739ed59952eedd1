// The colour dialog's paint and construction costs, against the bare conversions that
// one paint of the colour field makes.

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

#include "dialog/IWKAVMOBILEDsnColorDialog.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"

namespace {

// Runs a body inside a form's modal loop, where the form is showing and paints for
// real, then ends the run.
class TBenchBackEnd : public TBackEnd {
public:
    explicit TBenchBackEnd(std::function<void(TForm&)> Body) : FBody(std::move(Body)) {}
    void FormShown(TForm&) override {}
    bool ProcessNextEvent(TForm& Form) override
    {
        if (FBody) std::exchange(FBody, nullptr)(Form);
        return false;
    }
    void Present(TForm&) override {}
    void FormHidden(TForm&) override {}

private:
    std::function<void(TForm&)> FBody;
};

void RunShown(TIWKAVMOBILEColorForm& Form, std::function<void(TForm&)> Body)
{
    Application->SetBackEnd(std::make_unique<TBenchBackEnd>(std::move(Body)));
    Form.ShowModal();
    Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
}

// The 40,000 conversions of one field paint, in the paint's order, with nothing drawn.
void BM_FieldConversions(benchmark::State& State)
{
    for (auto _ : State) {
        uint32_t Sum = 0;
        for (int32_t S = SatRange - 1; S >= 0; --S) {
            const Extended Sat = static_cast<Extended>(S) / SatRange;
            for (int32_t H = 0; H < HueRange; ++H)
                Sum += static_cast<uint32_t>(HSBtoRGB(static_cast<Extended>(H) / HueRange, Sat, 0.75L));
        }
        benchmark::DoNotOptimize(Sum);
    }
}
BENCHMARK(BM_FieldConversions)->Unit(benchmark::kMicrosecond);

// One paint of the colour field through the canvas, cross included.
void BM_PaintBoxColorPaint(benchmark::State& State)
{
    TStringList Custom;
    TIWKAVMOBILEColorForm Form(nullptr, &Custom);
    RunShown(Form, [&](TForm&) {
        for (auto _ : State) Form.PaintBoxColorPaint(Form.PaintBoxColor);
    });
}
BENCHMARK(BM_PaintBoxColorPaint)->Unit(benchmark::kMicrosecond);

// Building the dialog from its resource, FormCreate included.
void BM_Construct(benchmark::State& State)
{
    TStringList Custom;
    for (auto _ : State) {
        TIWKAVMOBILEColorForm Form(nullptr, &Custom);
        benchmark::DoNotOptimize(&Form);
    }
}
BENCHMARK(BM_Construct)->Unit(benchmark::kMicrosecond);

// What the user waits for: construction, then the first full paint of the form on
// its custom page.
void BM_ConstructAndFirstPaint(benchmark::State& State)
{
    TStringList Custom;
    for (auto _ : State) {
        TIWKAVMOBILEColorForm Form(nullptr, &Custom);
        RunShown(Form, [](TForm&) {});
        benchmark::DoNotOptimize(Form.Surface().Pixel(10, 10));
    }
}
BENCHMARK(BM_ConstructAndFirstPaint)->Unit(benchmark::kMicrosecond);

} // namespace
