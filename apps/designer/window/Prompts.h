#pragma once
// The designer's questions and file choosers, together so that their wording and
// buttons are found in one place; scripts press the buttons by caption ("Save",
// "Discard", "Overwrite", "Reload", "Recover", "Cancel").

#include <string>

#include "platform/toolkit/Dialogs.h"

// Unsaved changes to What ("'page.txt'", "the new page"): Save (mrYes), Discard (mrNo)
// or Cancel.
TModalResult AskToSave(const std::string& What);
// The file changed on disk since it was read: Overwrite (mrYes), Reload (mrNo) or Cancel.
TModalResult AskChangedOnDisk(const std::string& FileName);
// A recovery file of FileName's page is there: Recover (mrYes) or Discard (mrNo); closing
// the box leaves it for later.
TModalResult AskRecover(const std::string& FileName, const std::string& Recovered);
// The choosers of page files, starting at FileName; true with the chosen name in
// FileName, false when cancelled.
bool ChoosePageToOpen(std::string& FileName);
bool ChoosePageToSave(std::string& FileName);
