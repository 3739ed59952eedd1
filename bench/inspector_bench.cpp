// The property inspector's costs: one full paint of about 30 rows of a component (and
// the same with a filter applied, and with several values changed, drawn bold), and
// opening the drop-down list of every colour name, against painting the same texts in a
// plain list without swatches, and as many rows in Arabic and in Japanese.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/IWKAVMOBILEDsnColor.h"
#include "platform/components/IWQellSpinner.h"
#include "platform/designide/EditorRegistry.h"
#include "platform/designide/PropertyInspector.h"
#include "platform/toolkit/Form.h"

namespace {

struct TBench {
    TForm Form{nullptr};
    TPropertyInspector* Inspector = new TPropertyInspector(&Form);
    TQellSpinner Spinner{nullptr};

    TBench()
    {
        IWKAVMOBILEDsnColor_Initialization();
        static const bool Registered = [] {
            for (const TClassInfo* C : {&TQellSpinnerSlot::StaticClassInfo(), &TQellSpinnerAppearance::StaticClassInfo()})
                RegisterPropertyEditor(&TypeInfoTIWColor, C, "", TIWKAVMOBILEColorEditor::EditorClass());
            return true;
        }();
        (void)Registered;
        Form.SetBounds(0, 0, 320, 700);
        Inspector->SetParent(&Form);
        Inspector->SetBounds(0, 0, 320, 700);
        for (const char* Caption : {"One", "Two", "Three"}) Spinner.Slots.Add()->Caption = Caption;
        Inspector->SetSelection({&Spinner});
        for (const char* Path : {"Slots[0].Caption", "Slots[1].Caption", "Slots[2].Caption", "Appearance.BorderColor"})
            Inspector->SelectPath(Path);
        Inspector->SetSelectedRow(0);
        Form.PaintAll();
    }
    ~TBench() { IWKAVMOBILEDsnColor_Finalization(); }
};

void BM_InspectorPaint(benchmark::State& State)
{
    TBench B;
    State.counters["rows"] = B.Inspector->RowCount();
    for (auto _ : State) {
        B.Inspector->Repaint();
        benchmark::DoNotOptimize(B.Form.Surface().Pixel(100, 100));
    }
}
BENCHMARK(BM_InspectorPaint)->Unit(benchmark::kMicrosecond);

// A filter that leaves the colour rows under their sub-objects.
void BM_InspectorPaintFiltered(benchmark::State& State)
{
    TBench B;
    B.Inspector->SetFilter("color");
    B.Form.PaintAll();
    State.counters["rows"] = B.Inspector->RowCount();
    for (auto _ : State) {
        B.Inspector->Repaint();
        benchmark::DoNotOptimize(B.Form.Surface().Pixel(100, 100));
    }
}
BENCHMARK(BM_InspectorPaintFiltered)->Unit(benchmark::kMicrosecond);

// A page's changes: several colours away from their defaults, drawn bold.
void BM_InspectorPaintBoldValues(benchmark::State& State)
{
    TBench B;
    int Changed = 0;
    for (int Row = 0; Row < B.Inspector->RowCount(); ++Row)
        if (B.Inspector->RowPath(Row).ends_with("Color") && Changed < 8) {
            B.Inspector->RowEditor(Row)->SetValue(Changed % 2 ? "Navy" : "#FF6347");
            ++Changed;
        }
    B.Inspector->Refresh();
    B.Form.PaintAll();
    int Bold = 0;
    for (int Row = 0; Row < B.Inspector->RowCount(); ++Row) Bold += !B.Inspector->RowEditor(Row)->GetIsDefault();
    State.counters["rows"] = B.Inspector->RowCount();
    State.counters["bold"] = Bold;
    for (auto _ : State) {
        B.Inspector->Repaint();
        benchmark::DoNotOptimize(B.Form.Surface().Pixel(100, 100));
    }
}
BENCHMARK(BM_InspectorPaintBoldValues)->Unit(benchmark::kMicrosecond);

// Opening the list of the 195 colour names (measured, positioned) and painting it.
void BM_ColourListOpenAndPaint(benchmark::State& State)
{
    TBench B;
    B.Inspector->SelectPath("Appearance.BackgroundColor");
    for (auto _ : State) {
        B.Inspector->OpenDropDown();
        B.Inspector->DropDownList()->Repaint();
        B.Inspector->CloseDropDown();
    }
}
BENCHMARK(BM_ColourListOpenAndPaint)->Unit(benchmark::kMicrosecond);

// Painting the open list alone, with its swatches.
void BM_ColourListPaint(benchmark::State& State)
{
    TBench B;
    B.Inspector->SelectPath("Appearance.BackgroundColor");
    B.Inspector->OpenDropDown();
    TListBox* List = B.Inspector->DropDownList();
    for (auto _ : State) List->Repaint();
    State.counters["items"] = List->Count();
}
BENCHMARK(BM_ColourListPaint)->Unit(benchmark::kMicrosecond);

// Colour words to stand for the names in other scripts: shaped and joined Arabic, right
// to left, and Japanese drawn through a fallback font.
const std::vector<std::string> ArabicWords = {"أحمر", "أزرق", "أخضر", "أصفر", "بنفسجي", "برتقالي",
                                              "وردي", "بني", "رمادي", "أبيض", "أسود", "سماوي"};
const std::vector<std::string> JapaneseWords = {"赤", "青", "緑", "黄色", "紫", "橙色",
                                                "桃色", "茶色", "灰色", "白", "黒", "水色"};

// The item texts: the colour names themselves, or as many words with their number.
std::string ItemText(const std::string& Name, int Index, const std::vector<std::string>* Words)
{
    if (!Words) return Name;
    const std::string& Word = (*Words)[static_cast<size_t>(Index) % Words->size()];
    return Word + " " + (*Words)[static_cast<size_t>(Index / 12) % Words->size()] + " " + std::to_string(Index);
}

// The same names (or as many words in another script) in a plain list of the same size,
// without swatches; every row shown is drawn, none is laid out afresh.
void PlainListPaint(benchmark::State& State, const std::vector<std::string>* Words)
{
    TBench B;
    B.Inspector->SelectPath("Appearance.BackgroundColor");
    B.Inspector->OpenDropDown();
    const TListBox* Colours = B.Inspector->DropDownList();
    auto* Plain = new TListBox(&B.Form);
    Plain->SetParent(&B.Form);
    Plain->SetBounds(Colours->Left(), Colours->Top(), Colours->Width(), Colours->Height());
    Plain->SetItemHeight(Colours->ItemHeight());
    std::vector<std::string> Items;
    for (int I = 0; I < Colours->Count(); ++I) Items.push_back(ItemText(Colours->Items(I), I, Words));
    Plain->SetItems(Items);
    Plain->SetItemIndex(Colours->ItemIndex());
    B.Inspector->CloseDropDown();
    for (auto _ : State) Plain->Repaint();
}
BENCHMARK_CAPTURE(PlainListPaint, ascii, nullptr)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PlainListPaint, arabic, &ArabicWords)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PlainListPaint, japanese, &JapaneseWords)->Unit(benchmark::kMicrosecond);

} // namespace
