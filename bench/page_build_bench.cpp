// Building a large page in the designer, each step with the repaint the window does
// after it (FlushPaint), so that what is measured is what a person waits for.
//
// An edit, a move step and a resize step on the sample page and on a page of 6,000
// components: the sample's components where they always are, the others beside and
// below them. Only what lies beyond the sample differs, so the large page should cost
// the same within a small factor (aim: within 3x).
//
// A button placed from the palette (Enter on its class) on a page of N components, one
// in twenty of them a button already on the diagonal where such buttons go, then taken
// back: the time per place at 10,000 should be within 3x of 10x the time at 1,000 (the
// page is read once per place, not once per button passed over).
//
// One component dragged 200 steps with snapping on, across pages of 10, 1,000 and 10,000
// components at the same spacing: the time per step (per_step) at 10,000 should be
// within 3x of the time at 10, and under a frame (16 ms).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "Sizes.h"
#include "apps/designer/window/DesignerForm.h"
#include "platform/components/Components.h"
#include "platform/toolkit/Application.h"

namespace {

// A grid of small labels and buttons, Count of them, filling rows of the page at a
// fixed spacing and passing over the cells for which Skip is true.
template <typename TSkip>
std::string GridComponents(int Count, TSkip Skip)
{
    constexpr int Pitch = 40, Columns = 100;
    std::string Text;
    for (int Cell = 0, Made = 0; Made < Count; ++Cell) {
        const int X = Cell % Columns * Pitch, Y = Cell / Columns * Pitch;
        if (Skip(X, Y)) continue;
        const std::string N = std::to_string(Made++);
        Text += (Made % 2 ? "  object Label" + N + ": TQellLabel\n" : "  object Button" + N + ": TQellButton\n") +
                "    Left = " + std::to_string(X) + "\n    Top = " + std::to_string(Y) +
                "\n    Width = 32\n    Height = 16\n    Caption = 'C" + N + "'\n  end\n";
    }
    return Text;
}

constexpr std::string_view PageHeader = "object Page: TQellPage\n  Width = 4000\n  Height = 4000\n";

// The sample page with Extra components added where the sample has none.
std::string SamplePageWith(int Extra)
{
    if (Extra == 0) return std::string(SamplePageText());
    std::string Sample(SamplePageText());
    const size_t End = Sample.rfind("end");
    const size_t Header = Sample.find('\n') + 1;
    return Sample.substr(0, Header) + "  Width = 4000\n  Height = 4000\n" + Sample.substr(Header, End - Header) +
           GridComponents(Extra, [](int X, int Y) { return X < 640 && Y < 480; }) + "end\n";
}

// The designer headless on PageText, painted whole once.
std::unique_ptr<TDesignerForm> Designer(std::string_view PageText)
{
    RegisterComponentClasses();
    auto D = std::make_unique<TDesignerForm>(Application);
    D->Document().SetPage(ReadPageText(PageText), "");
    D->PaintAll();
    return D;
}

// The pointer in the preview at page point P, as the form gets it.
TPoint PointerAt(const TDesignerForm& D, TPoint P)
{
    const TPoint O = D.Preview().SurfaceOrigin(), C = D.Preview().ClientPoint(P);
    return {O.X + C.X, O.Y + C.Y};
}

void Select(TDesignerForm& D, const char* Name)
{
    D.Document().Select({D.Document().Page().FindComponent(Name)});
    D.FlushPaint();
}

// A colour typed into the inspector and set, then the repaint.
void EditColour(benchmark::State& State)
{
    const auto D = Designer(SamplePageWith(static_cast<int>(State.range(0))));
    Select(*D, "ButtonOrder");
    TPropertyInspector& I = D->Inspector();
    if (!I.SelectPath("Appearance.BackgroundColor")) State.SkipWithError("no BackgroundColor row");
    D->FlushPaint();
    bool Painted = true;
    int N = 0;
    for (auto _ : State) {
        I.BeginEdit(++N % 2 ? "Tomato" : "Navy", false);
        if (!I.CommitEdit()) State.SkipWithError("the edit was refused");
        Painted = D->FlushPaint() && Painted;
    }
    if (!Painted) State.SkipWithError("an edit painted nothing");
}

// A drag in the preview held from page point From, each iteration one step of the
// pointer to the next of two points To and Back, then the repaint.
void DragSteps(benchmark::State& State, const char* Name, TPoint From, TPoint To, TPoint Back)
{
    const auto D = Designer(SamplePageWith(static_cast<int>(State.range(0))));
    Select(*D, Name);
    const auto* Control = dynamic_cast<const TQellControl*>(D->Document().Page().FindComponent(Name));
    const TPoint Press = PointerAt(*D, From);
    D->HandleMouseDown(mbLeft, TShiftState{ssLeft}, Press.X, Press.Y);
    const auto Step = [&](TPoint At) {
        const TPoint P = PointerAt(*D, At);
        D->HandleMouseMove(TShiftState{ssLeft}, P.X, P.Y);
        const bool Painted = D->FlushPaint();
        return std::pair{Bounds(Control->Left, Control->Top, Control->Width, Control->Height), Painted};
    };
    // Snapping must not put the two places of the steps on one.
    const TRect There = Step(To).first;
    if (Step(Back).first == There) State.SkipWithError("the steps change nothing");
    bool Painted = true;
    int N = 0;
    for (auto _ : State) Painted = Step(++N % 2 ? To : Back).second && Painted;
    if (D->Preview().Drag().Kind() == TPageDrag::TKind::None) State.SkipWithError("no drag under way");
    if (!Painted) State.SkipWithError("a step painted nothing");
    D->HandleMouseUp(mbLeft, {}, Press.X, Press.Y);
}

// ButtonOrder lies at 24,56, 120 x 32: its middle pressed, or its right-hand handle.
void BM_ColourEdit(benchmark::State& State) { EditColour(State); }
void BM_MoveStep(benchmark::State& State) { DragSteps(State, "ButtonOrder", {84, 72}, {104, 90}, {96, 82}); }
void BM_ResizeStep(benchmark::State& State) { DragSteps(State, "ButtonOrder", {143, 72}, {170, 72}, {160, 72}); }
BENCHMARK(BM_ColourEdit)->Apply([](auto* B) { Sizes(B, {0, 6000}); })->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveStep)->Apply([](auto* B) { Sizes(B, {0, 6000}); })->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResizeStep)->Apply([](auto* B) { Sizes(B, {0, 6000}); })->Unit(benchmark::kMicrosecond);

// One whole drag of 200 steps, 2 pixels across and 1 down each, then released; the next
// drags it back, so that every iteration crosses the same components. The component
// dragged is a button over the grid's first row, last in the order, so that it lies on
// top wherever it goes.
void BM_Drag200Steps(benchmark::State& State)
{
    constexpr int Steps = 200;
    const auto D = Designer(std::string(PageHeader) +
                            GridComponents(static_cast<int>(State.range(0)), [](int, int) { return false; }) +
                            "  object Dragged: TQellButton\n    Left = 44\n    Top = 4\n  end\nend\n");
    Select(*D, "Dragged");
    const auto* Control = dynamic_cast<const TQellControl*>(D->Document().Page().FindComponent("Dragged"));
    int Way = 1;
    for (auto _ : State) {
        const int Left = Control->Left;
        const TPoint From{Left + 60, Control->Top + 16};
        const TPoint Press = PointerAt(*D, From);
        D->HandleMouseDown(mbLeft, TShiftState{ssLeft}, Press.X, Press.Y);
        for (int I = 1; I <= Steps; ++I) {
            const TPoint P = PointerAt(*D, {From.X + Way * 2 * I, From.Y + Way * I});
            D->HandleMouseMove(TShiftState{ssLeft}, P.X, P.Y);
            D->FlushPaint();
        }
        const TPoint End = PointerAt(*D, {From.X + Way * 2 * Steps, From.Y + Way * Steps});
        D->HandleMouseUp(mbLeft, {}, End.X, End.Y);
        D->FlushPaint();
        if (std::abs(Control->Left - (Left + Way * 2 * Steps)) > TGridSettings::Reach)
            State.SkipWithError("the drag did not take the component along");
        Way = -Way;
    }
    State.counters["per_step"] =
        benchmark::Counter(Steps, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Drag200Steps)->Apply([](auto* B) { Sizes(B, {10, 1000, 10000}); })->Unit(benchmark::kMillisecond);

void BM_PlaceFromPalette(benchmark::State& State)
{
    const int N = static_cast<int>(State.range(0));
    std::string Diagonal;
    for (int I = 0; I < N / 20; ++I)
        Diagonal += "  object Placed" + std::to_string(I) + ": TQellButton\n    Left = " +
                    std::to_string(TPalette::FirstPlace + I * TPalette::Step) + "\n    Top = " +
                    std::to_string(TPalette::FirstPlace + I * TPalette::Step) + "\n  end\n";
    const auto D = Designer(std::string(PageHeader) + GridComponents(N - N / 20, [](int, int) { return false; }) +
                            Diagonal + "end\n");
    TPageDocument& Doc = D->Document();
    const TClassInfo& Button = TQellButton::StaticClassInfo();
    const int Before = Doc.Page().ComponentCount();
    for (auto _ : State) {
        D->Palette().PlaceAtTopLeft(Button);
        D->FlushPaint();
        const auto* Made = dynamic_cast<const TQellControl*>(Doc.Page().Components(Before));
        if (!Made || Made->Left != TPalette::FirstPlace + N / 20 * TPalette::Step)
            State.SkipWithError("the button was not placed after the others");
        Doc.Undo();
        D->FlushPaint();
    }
}
BENCHMARK(BM_PlaceFromPalette)->Apply([](auto* B) { Sizes(B, {1000, 10000}); })->Unit(benchmark::kMillisecond);

} // namespace
