#include "apps/designer/window/Prompts.h"

#include <vector>

#include "platform/rtl/Files.h"
#include "platform/toolkit/FileDialogs.h"

namespace {

const char Title[] = "Qell Designer";
const std::vector<TFileFilter> PageFileFilters{{"Page files (*.txt)", "*.txt"}, {"All files (*)", "*"}};

} // namespace

TModalResult AskToSave(const std::string& What)
{
    return MessageBox(Title, "Save the changes to " + What + "?",
                      {{"Save", "&Save", mrYes}, {"Discard", "&Discard", mrNo}, {"Cancel", "Cancel", mrCancel}});
}

TModalResult AskChangedOnDisk(const std::string& FileName)
{
    return MessageBox(
        Title, QuotedFileName(FileName) + " has changed on disk since it was read.",
        {{"Overwrite", "&Overwrite", mrYes}, {"Reload", "&Reload", mrNo}, {"Cancel", "Cancel", mrCancel}});
}

TModalResult AskRecover(const std::string& FileName, const std::string& Recovered)
{
    return MessageBox(Title,
                      "Unsaved changes to " + QuotedFileName(FileName) + " were recovered into " +
                          QuotedFileName(Recovered) + " when the designer had to end.\nRecover them, or discard them?",
                      {{"Recover", "&Recover", mrYes}, {"Discard", "&Discard", mrNo}});
}

bool ChoosePageToOpen(std::string& FileName)
{
    TOpenDialog Chooser;
    Chooser.Title = "Open page";
    Chooser.Filters = PageFileFilters;
    Chooser.FileName = FileName;
    if (!Chooser.Execute()) return false;
    FileName = Chooser.FileName;
    return true;
}

bool ChoosePageToSave(std::string& FileName)
{
    TSaveDialog Chooser;
    Chooser.Title = "Save page";
    Chooser.Filters = PageFileFilters;
    Chooser.DefaultExt = "txt";
    Chooser.FileName = FileName;
    if (!Chooser.Execute()) return false;
    FileName = Chooser.FileName;
    return true;
}
