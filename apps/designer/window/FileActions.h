#pragma once
// Opening and saving the document as a person does it in the window: what is being typed
// is set first, unsaved changes are asked about, a file changed on disk is asked about,
// and a failure is shown in a message box, changing nothing. The questions are in
// Prompts.h.

#include <string>

class TPageDocument;

// Reads FileName and shows it, then offers its recovery file when there is one. A file
// that cannot be read or is no page is refused with a message box naming the reason
// (and the line), the page shown as it was.
bool OpenPage(TPageDocument& Document, const std::string& FileName);
// Ctrl+O: asks whether to save unsaved changes, then for a file name.
void OpenWithPrompt(TPageDocument& Document);
// Ctrl+N: asks whether to save unsaved changes, then shows an empty page without a file.
void NewPageWithPrompt(TPageDocument& Document);
// Writes the page to its file (asking for a name when it has none); when the file
// changed on disk since it was read, asks first: Overwrite, Reload (the file's page
// replaces the edits) or Cancel. False when nothing was written.
bool SavePage(TPageDocument& Document);
bool SavePageAs(TPageDocument& Document, const std::string& FileName);
// Before the window closes or another page replaces this one: unsaved changes ask Save,
// Discard or Cancel. True when the page may go.
bool AskToClose(TPageDocument& Document);
// When the page's file has a recovery file, asks whether to recover it: Recover shows
// its text as an unsaved change (each typed text it held that its row refuses is shown
// in a message box), Discard deletes it, closing the box leaves it for later. A run
// without a person to answer (a script) asks nothing: it says on standard error that
// the file is there, and leaves it.
void OfferRecovery(TPageDocument& Document);
