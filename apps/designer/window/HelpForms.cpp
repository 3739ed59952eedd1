#include "apps/designer/window/HelpForms.h"

#include "apps/designer/packages/PackageList.h"
#include "platform/rtl/Files.h"
#include "platform/toolkit/Dialogs.h"

namespace {

constexpr char Keys[] = "Ctrl+N   start a new, empty page\n"
                        "Ctrl+O   open a page file\n"
                        "Ctrl+S   save the page\n"
                        "Ctrl+Z   undo the typing, else the last edit\n"
                        "Ctrl+Y   redo it (also Ctrl+Shift+Z)\n"
                        "Ctrl+K   take the passing colour the description line suggests\n"
                        "Ctrl+F   the filter box above the rows (Escape empties it, Down goes to the rows)\n"
                        "F7   mark the components whose colours fail a contrast check\n"
                        "F8   the preview as seen with a colour-vision deficiency, in turn\n"
                        "Ctrl+Tab   the next page of a page control\n"
                        "F1   these keys\n"
                        "\n"
                        "In the inspector: Enter sets a typed value (so does leaving the field), Escape\n"
                        "takes it back, Up and Down set it and move on, Alt+Down opens the list, a double\n"
                        "click or Ctrl+Enter or the ... button opens a colour's dialog (a spinner's Slots: the\n"
                        "collection editor; a list's Items: one item a line); a right click, Shift+F10\n"
                        "or the menu key opens a row's menu: reset to default, copy, paste, sort (docs/inspector.md).";

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
