// The inspector pane's colour rows: their CSS forms on the description line, and what
// their row menu adds (InspectorPane.h).

#include "apps/designer/document/PageColours.h"
#include "apps/designer/window/InspectorPane.h"
#include "colour/CssColour.h"
#include "colour/IWColors.h"
#include "platform/designide/PropertyPaths.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Dialogs.h"

const TDocumentEntry* TInspectorPane::SelectedEntry() const
{
    const std::vector<TPersistent*>& Selection = FDocument.Selection();
    return Selection.size() == 1 ? FDocument.EntryOf(Selection[0]) : nullptr;
}

bool TInspectorPane::IsColourRow(int Row) const
{
    const TPropInfo* P = Row >= 0 ? FInspector->RowEditor(Row)->GetPropInfo() : nullptr;
    return P && (P->PropType == &TypeInfoTIWColor || P->PropType == &TypeInfoTColor);
}

std::string TInspectorPane::CssLine(int Row) const
{
    const std::string Value = IsColourRow(Row) ? FInspector->RowValue(Row) : std::string();
    if (Value.empty()) return {};
    const auto Colour = static_cast<TColor>(FInspector->RowEditor(Row)->GetOrdValue());
    return Value + " = " + ColourToCssHex(Colour) + ", " + ColourToCssRgb(Colour);
}

std::vector<TMenuItem> TInspectorPane::ColourItems(int Row)
{
    if (!IsColourRow(Row)) return {};
    const bool Writable = !FInspector->RowEditor(Row)->GetAttributes().Contains(paReadOnly);
    const bool OneValue = !FInspector->RowValue(Row).empty();
    std::vector<TMenuItem> Items{
        {"Copy as #RRGGBB", OneValue, false, false,
         [this, Row] {
             const std::string Hex = ColourToCssHex(static_cast<TColor>(FInspector->RowEditor(Row)->GetOrdValue()));
             Application->BackEnd().SetClipboardText(Hex);
             FDocument.Announce("Copied " + Hex);
         }},
        {"Pick from the page\tCtrl+E", Writable && !FDocument.Selection().empty(), false, false,
         [this] { PickFromPage(); }},
        {"Colours on the page", Writable, false, false,
         [this] { FInspector->ReopenRowMenu(PageColourItems()); }},
    };
    // Each failing pair under its heading, either side, the nearer first, as Ctrl+K
    // would choose.
    for (const TPairFixes& Pair : FFixes) {
        const auto Offer = [&](const char* Side, const TFixText& Fix) {
            if (!Fix.Found) {
                Items.push_back({std::string("No ") + Side + " passes", false, false, false, nullptr});
                return;
            }
            Items.push_back({std::string("Fix the ") + Side + ": " + Fix.Value + "\tΔE " + DistanceText(Fix.Distance),
                             true, false, false, [this, Fix] { ApplyFix(Fix); }});
        };
        Items.push_back({"", false, false, true, nullptr});
        Items.push_back({Pair.Heading, false, false, false, nullptr});
        if (Pair.Fixes.BackgroundNearer) {
            Offer("background", Pair.Fixes.Background);
            Offer("foreground", Pair.Fixes.Foreground);
        } else {
            Offer("foreground", Pair.Fixes.Foreground);
            Offer("background", Pair.Fixes.Background);
        }
    }
    return Items;
}

std::vector<TMenuItem> TInspectorPane::PageColourItems()
{
    std::vector<TMenuItem> Items;
    const int Row = FInspector->SelectedRow();
    if (Row < 0) return Items;
    TPropertyEditor& Editor = *FInspector->RowEditor(Row);
    const std::string Path = FInspector->RowPath(Row);
    TRowTexts Texts;
    for (const TPageColour& C : PageColours(FDocument.Page())) {
        if (Items.size() == MaxPageColours) break;
        const std::string Text = Texts.ValueAs(*Editor.GetComponent(0), *Editor.GetPropInfo(), C.Value);
        TMenuItem Item{Text + "\t" + std::to_string(C.Uses) + (C.Uses == 1 ? " use" : " uses"), true, false, false,
                       [this, Text, Path] { FInspector->SetSelectedValue(Text, "Set " + Path + " to " + Text); }};
        Item.Swatch = ColorToRGB(C.Value);
        Items.push_back(std::move(Item));
    }
    return Items;
}

bool TInspectorPane::PickFromPage()
{
    const int Row = FInspector->SelectedRow();
    std::vector<std::string> Paths;
    for (const TPersistent* Object : FDocument.Selection())
        if (const TDocumentEntry* E = FDocument.EntryOf(Object)) Paths.push_back(E->Path);
    if (Paths.empty() || Paths.size() != FDocument.Selection().size() || !IsColourRow(Row) ||
        FInspector->RowEditor(Row)->GetAttributes().Contains(paReadOnly) || !FInspector->LeaveEdit())
        return false;
    FDocument.SetPicking({std::move(Paths), FInspector->RowPath(Row)});
    return true;
}

bool TInspectorPane::ApplySuggestion()
{
    return !FFixes.empty() && ApplyFix(FFixes[0].Fixes.Nearer());
}

bool TInspectorPane::ApplyFix(TFixText Fix)
{
    const TDocumentEntry* Entry = SelectedEntry();
    if (!Fix.Found || !Entry || !FInspector->LeaveEdit()) return false;
    // Through the colour's own row where the inspector shows it, so that the step names it.
    const size_t Own = Entry->Path.size() + 1;
    const bool Shown =
        SameText(Fix.Path.substr(0, Own), Entry->Path + ".") && FInspector->SelectPath(Fix.Path.substr(Own));
    try {
        const TPagePath P = SplitPagePath(FDocument.Page(), Fix.Path);
        const TInterfacePtr<TPropertyEditor> Editor =
            Shown ? TInterfacePtr<TPropertyEditor>(FInspector->RowEditor(FInspector->SelectedRow()))
                  : FindPropertyEditor({P.Component}, this, P.Property);
        Editor->SetValue(Fix.Value);
    } catch (const std::exception& E) {
        ShowMessage(E.what());
        return false;
    }
    FInspector->Refresh();
    return true;
}
