// The inspector's drop-down list of values, apart so that a command line draws the same
// list.

#include <algorithm>

#include "platform/designide/PropertyInspector.h"

namespace {

constexpr int ListBorder = 2;

} // namespace

std::vector<std::string> PropertyListValues(TPropertyEditor& Editor)
{
    std::vector<std::string> Values;
    Editor.GetValues([&](const std::string& S) { Values.push_back(S); });
    if (Editor.GetAttributes().Contains(paSortList))
        std::sort(Values.begin(), Values.end(),
                  [](const std::string& A, const std::string& B) { return CompareText(A, B) < 0; });
    return Values;
}

TPropertyValueList::TPropertyValueList(TComponent* AOwner) : TListBox(AOwner)
{
    SetItemHeight(PlainItemHeight);
    OnMeasureItem = [this](TObject*, int Index, int& H) { H = FHeights[static_cast<size_t>(Index)]; };
    OnDrawItem = [this](TObject*, int Index, const TRect& R, TOwnerDrawState State) {
        const std::string& V = Items(Index);
        if (FDrawing)
            FDrawing->ListDrawValue(V, Canvas(), R, State.Contains(odSelected));
        else
            DefaultPropertyListDrawValue(V, Canvas(), R, State.Contains(odSelected));
    };
    SetStyle(lbOwnerDrawVariable);
}

void TPropertyValueList::ShowValues(const TInterfacePtr<TPropertyEditor>& Editor, const TFont& AFont)
{
    FEditor = Editor;
    Supports(Editor.Get(), FDrawing);
    Font() = AFont;
    const std::vector<std::string> Values = PropertyListValues(*Editor);
    // Measured with the list's font, by the editor when it draws its own items.
    TCanvas Measure;
    Measure.Font = AFont;
    FWidest = 0;
    FHeights.clear();
    for (const std::string& V : Values) {
        int W = Measure.TextWidth(V) + 4, H = PlainItemHeight;
        if (FDrawing) {
            FDrawing->ListMeasureWidth(V, Measure, W);
            FDrawing->ListMeasureHeight(V, Measure, H);
        }
        FWidest = std::max(FWidest, W);
        FHeights.push_back(H);
    }
    SetItems(Values);
}

void TPropertyValueList::ReleaseEditor()
{
    FEditor = TInterfacePtr<TPropertyEditor>();
    FDrawing = TInterfacePtr<ICustomPropertyListDrawing>();
}

void TPropertyValueList::SelectCurrentValue()
{
    SetItemIndex(IndexOf(FEditor->GetVisualValue()));
}

int TPropertyValueList::WidthNeeded() const
{
    return FWidest + 2 * ListBorder;
}

int TPropertyValueList::HeightNeeded(int Rows) const
{
    int Height = 2 * ListBorder;
    for (size_t I = 0; I < FHeights.size() && I < static_cast<size_t>(std::max(Rows, 0)); ++I) Height += FHeights[I];
    return Height;
}
