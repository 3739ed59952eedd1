// qell-designer draw FILE PATH --out FILE.png: a row's value cell as the inspector paints
// it, or its drop-down list, as a picture.

#include <algorithm>
#include <charconv>

#include "apps/designer/commands/PageCommand.h"
#include "platform/designide/PropertyInspector.h"
#include "platform/designide/PropertyPaths.h"
#include "platform/toolkit/Form.h"

const char DrawUsage[] = "qell-designer draw FILE PATH --out FILE.png [--width W] [--height H] [--selected | --list]\n"
                         "                          [--package PATH]\n";

namespace {

// A whole number from 1 to 4096 for Option, into Target.
bool ReadSize(const TOptionParser& Parser, const std::string& Option, const std::string& Text, int& Target)
{
    if (!Parser.Given(Option)) return true;
    const char* End = Text.data() + Text.size();
    const auto [Ptr, Error] = std::from_chars(Text.data(), End, Target);
    if (Error == std::errc() && Ptr == End && Target >= 1 && Target <= 4096) return true;
    Parser.Error(Option + " takes a whole number from 1 to 4096, not " + QuotedInput(Text));
    return false;
}

// The value cell as the inspector paints it, W x H, in the inspector's default font.
void DrawValueCell(TPropertyEditor& E, int Level, int Width, int Height, bool Selected, const std::string& Out)
{
    TBitmap Bitmap(Width, Height, clWindow);
    TCanvas Canvas(&Bitmap, {0, 0}, Rect(0, 0, Width, Height));
    PaintPropertyValueCell(&E, Canvas, TFont(), Rect(0, 0, Width, Height), Selected, PropertyRowExpands(E, Level));
    Bitmap.SaveToPNG(Out);
}

// The drop-down list as the inspector opens it, the current value selected, but long
// enough for every item, and at least Width wide (the value cell it drops from).
void DrawValueList(const TInterfacePtr<TPropertyEditor>& E, int Width, const std::string& Out)
{
    TForm Form(nullptr);
    auto* List = new TPropertyValueList(&Form);
    List->SetParent(&Form);
    List->ShowValues(E, TFont());
    const int ListWidth = std::max(Width, List->WidthNeeded()), ListHeight = List->HeightNeeded(List->Count());
    Form.SetBounds(0, 0, ListWidth, ListHeight);
    List->SetBounds(0, 0, ListWidth, ListHeight);
    List->SelectCurrentValue();
    Form.SetActiveControl(List);
    Form.PaintAll();
    Form.Surface().SaveToPNG(Out);
}

} // namespace

int RunDraw(const TArgs& Args)
{
    std::string Out, WidthText, HeightText;
    bool Selected = false, List = false;
    int Width = TPropertyInspector::DefaultValueWidth, Height = TPropertyInspector::ValueHeight;
    const auto Declare = [&](TOptionParser& Parser) {
        Parser.Value("--out", Out, "a file name");
        Parser.Value("--width", WidthText, "a number");
        Parser.Value("--height", HeightText, "a number");
        Parser.Flag("--selected", Selected);
        Parser.Flag("--list", List);
    };
    const auto Check = [&](const TOptionParser& Parser) {
        if (!ReadSize(Parser, "--width", WidthText, Width) || !ReadSize(Parser, "--height", HeightText, Height))
            return false;
        if (!Parser.Given("--out")) {
            Parser.Error("--out FILE.png is needed");
            return false;
        }
        if (List && (Selected || Parser.Given("--height"))) {
            Parser.Error("--list draws the whole list, as tall as its items, the current value selected: "
                         "not with --height or --selected");
            return false;
        }
        return true;
    };
    return RunPage(
        "draw", DrawUsage, Args, 2, 2,
        [&](const TPageArgs& A) {
            TPageSession Session(A.Package, A.P[0]);
            TPageDocument& Doc = Session.Document();
            int Level = 0;
            if (List)
                DrawValueList(EditorWith(Doc, A.P[1], paValueList, "value list"), Width, Out);
            else
                DrawValueCell(*Doc.Editor(A.P[1], &Level), Level, Width, Height, Selected, Out);
            return ExitOk;
        },
        Declare, Check);
}
