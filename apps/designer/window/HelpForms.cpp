#include "apps/designer/window/HelpForms.h"

#include "apps/designer/packages/PackageList.h"
#include "platform/rtl/Files.h"
#include "platform/toolkit/Dialogs.h"

namespace {

// The keys and what they do: two columns, which the message box lines up.
constexpr char Keys[] = "Ctrl+N\tstart a new, empty page\n"
                        "Ctrl+O\topen a page file\n"
                        "Ctrl+S\tsave the page\n"
                        "Ctrl+Z\tundo the typing, else the last edit\n"
                        "Ctrl+Y\tredo it (also Ctrl+Shift+Z)\n"
                        "Ctrl+K\ttake the passing colour the description line suggests\n"
                        "Ctrl+E\tpick the selected colour row's colour from the page (Escape cancels)\n"
                        "Ctrl+F\tthe filter box above the rows (Escape empties it, Down goes to the rows)\n"
                        "F7\tmark the components whose colours fail a contrast check\n"
                        "F8\tthe preview as seen with a colour-vision deficiency, in turn\n"
                        "Ctrl+Tab\tthe next page of a page control\n"
                        "F1\tthese keys\n"
                        "\n"
                        "In the page: the arrows move the selection by a pixel (with Ctrl by the grid), "
                        "Shift and the arrows resize it; Tab and Shift+Tab select the next or previous "
                        "component; Delete deletes; Ctrl+X, Ctrl+C, Ctrl+V cut, copy and paste; Ctrl+D "
                        "duplicates; Ctrl+A selects all; Escape leaves a drag or placing; a right click "
                        "opens the page's menu (align, size, order). In the palette, Enter or a double "
                        "click places the class's component at the page's top-left.\n"
                        "\n"
                        "In the inspector: Enter sets a typed value (so does leaving the field), Escape "
                        "takes it back, Up and Down set it and move on, Alt+Down opens the list, a double "
                        "click or Ctrl+Enter or the ... button opens a colour's dialog (a spinner's Slots: the "
                        "collection editor; a list's Items: one item a line); a right click, Shift+F10 "
                        "or the menu key opens a row's menu: reset to default, copy, paste, sort, and for a "
                        "colour Copy as #RRGGBB, Pick from the page, the page's colours and the fixes of "
                        "a failing pair (docs/inspector.md).";

} // namespace

void ShowDesignerHelp()
{
    if (MessageBox("Qell Designer keys", Keys, {{"OK", "OK", mrOk}, {"Packages", "&Packages...", mrYes}}) == mrYes)
        ShowLoadedPackages();
}

void ShowLoadedPackages()
{
    std::string Text;
    for (const TPackageStatus& P : LoadedPackages()) {
        Text += (P.Name.empty() ? ExtractFileName(P.Path) : P.Name) +
                (P.Description.empty() ? "" : ": " + P.Description) + "\n";
        Text += "    " + P.Path + "\n";
        Text += "    " + (P.Failure.empty() ? std::string("loaded") : "failed: " + P.Failure) + "\n\n";
    }
    if (Text.empty()) Text = "No design packages are loaded.\n\n";
    Text += "The list is " + PackageListPath() + ";\n'qell-designer packages' changes it.";
    MessageBox("Design packages", Text, {{"OK", "OK", mrOk}});
}
