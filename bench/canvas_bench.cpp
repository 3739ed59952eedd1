// Canvas throughput: the colour field is painted one pixel at a time on every paint,
// and fills and text run on every repaint of every control.

#include <benchmark/benchmark.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/FontEngine.h"

namespace {

constexpr int Field = 202; // 200 x 200 colours inside a one-pixel frame

// Colours that vary per pixel, computed ahead so that only the canvas is measured.
std::vector<TColor> FieldColours()
{
    std::vector<TColor> C(200 * 200);
    for (int S = 0; S < 200; ++S)
        for (int H = 0; H < 200; ++H) C[static_cast<size_t>(S * 200 + H)] = (H * 0x010305 + S * 0x050301) & 0xFFFFFF;
    return C;
}

// 40,000 pixel writes through Canvas into Surface, the colour field's inner pixels.
void WriteFieldPixels(benchmark::State& State, TBitmap& Surface, TCanvas& Canvas)
{
    const std::vector<TColor> Colours = FieldColours();
    for (auto _ : State) {
        const TColor* C = Colours.data();
        for (int Y = 1; Y <= 200; ++Y)
            for (int X = 1; X <= 200; ++X) Canvas.SetPixels(X, Y, *C++);
        benchmark::DoNotOptimize(Surface.ScanLine(0));
    }
    State.SetItemsProcessed(State.iterations() * 200 * 200);
    State.counters["time_per_pixel"] = benchmark::Counter(static_cast<double>(State.iterations()) * 200 * 200,
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_SetPixels(benchmark::State& State)
{
    TBitmap Surface(Field, Field);
    TCanvas Canvas(&Surface, {0, 0}, Rect(0, 0, Field, Field));
    WriteFieldPixels(State, Surface, Canvas);
}
BENCHMARK(BM_SetPixels);

// A control's canvas sits at an offset in its form, clipped to itself.
void BM_SetPixelsTranslated(benchmark::State& State)
{
    TBitmap Surface(640, 480);
    TCanvas Canvas(&Surface, {212, 40}, Bounds(212, 40, Field, Field));
    WriteFieldPixels(State, Surface, Canvas);
}
BENCHMARK(BM_SetPixelsTranslated);

void BM_FillRect(benchmark::State& State)
{
    const int Side = static_cast<int>(State.range(0));
    TBitmap Surface(Side, Side);
    TCanvas Canvas(&Surface, {0, 0}, Rect(0, 0, Side, Side));
    TColor Colour = 0;
    for (auto _ : State) {
        Canvas.Brush.Color = Colour++ & 0xFFFFFF;
        Canvas.FillRect(Rect(0, 0, Side, Side));
        benchmark::DoNotOptimize(Surface.ScanLine(0));
    }
    State.SetItemsProcessed(State.iterations() * Side * Side);
}
BENCHMARK(BM_FillRect)->Arg(24)->Arg(202)->Arg(1024);

// The colour field's whole paint: frame, 40,000 pixels and the marker cross.
void BM_PaintColourField(benchmark::State& State)
{
    TBitmap Surface(640, 480, clBtnFace);
    TCanvas Canvas(&Surface, {212, 40}, Bounds(212, 40, Field, Field));
    const std::vector<TColor> Colours = FieldColours();
    for (auto _ : State) {
        Canvas.Pen.Mode = pmCopy;
        Canvas.Pen.Color = clWhite;
        Canvas.MoveTo(0, 0);
        Canvas.LineTo(Field - 1, 0);
        Canvas.LineTo(Field - 1, Field - 1);
        Canvas.LineTo(0, Field - 1);
        Canvas.LineTo(0, 0);
        const TColor* C = Colours.data();
        for (int S = 199; S >= 0; --S)
            for (int H = 0; H < 200; ++H) Canvas.SetPixels(H + 1, 200 - S, C[S * 200 + H]);
        Canvas.Pen.Mode = pmNot;
        Canvas.Pen.Color = clBlack;
        Canvas.MoveTo(51, 1 - 10);
        Canvas.LineTo(51, 1 + 10);
        Canvas.MoveTo(51 - 10, 1);
        Canvas.LineTo(51 + 10, 1);
        benchmark::DoNotOptimize(Surface.ScanLine(0));
    }
    State.SetItemsProcessed(State.iterations() * Field * Field);
}
BENCHMARK(BM_PaintColourField);

// A line from one end of the coordinate range to the other costs what it draws.
void BM_LineFarOut(benchmark::State& State)
{
    TBitmap Surface(Field, Field);
    TCanvas Canvas(&Surface, {0, 0}, Rect(0, 0, Field, Field));
    for (auto _ : State) {
        Canvas.MoveTo(INT_MIN, INT_MIN + 7);
        Canvas.LineTo(INT_MAX, INT_MAX - 3);
        benchmark::DoNotOptimize(Surface.ScanLine(0));
    }
}
BENCHMARK(BM_LineFarOut);

void BM_TextOut(benchmark::State& State)
{
    TBitmap Surface(300, 20, clBtnFace);
    TCanvas Canvas(&Surface, {0, 0}, Rect(0, 0, 300, 20));
    for (auto _ : State) {
        Canvas.TextOut(4, 2, "Identifier: clMoneyGreen");
        benchmark::DoNotOptimize(Surface.ScanLine(0));
    }
}
BENCHMARK(BM_TextOut);

// Laying out a line not seen before: splitting, shaping and ordering, without the cache.
void TextLayoutUncached(benchmark::State& State, const char* Line)
{
    const TFont Font;
    int N = 0;
    for (auto _ : State) {
        const std::string Text = Line + std::to_string(++N);
        benchmark::DoNotOptimize(TFontEngine::Instance().Layout(Font, Text)->Width());
    }
}
BENCHMARK_CAPTURE(TextLayoutUncached, ascii, "Identifier: clMoneyGreen ");
BENCHMARK_CAPTURE(TextLayoutUncached, arabic, "المعرّف: أخضر النعناع ");
BENCHMARK_CAPTURE(TextLayoutUncached, japanese, "識別子：ミントグリーン ");

} // namespace
