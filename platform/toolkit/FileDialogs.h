#pragma once
// The file chooser: TOpenDialog and TSaveDialog, built in code like the other dialogs
// (Dialogs.h) and run through the application's modal loop, so scripts drive them by
// control name:
//
//   "Folder"     a label with the folder shown, its whole path
//   "Files"      the folder's entries: ".." first (but at the root), then its
//                sub-folders as "name/", then the files the chosen type matches, each
//                group sorted without case; names starting with "." are left out
//   "FileName"   the name box: a name in the folder, or a path (relative to the folder,
//                absolute, or from "~")
//   "Types"      the file types offered (Filters); a click picks one
//   "OK"         captioned Open or Save; "Cancel"
//
// The name box has the focus when FileName gives a name, the list otherwise.
// In the list, a click selects and typing jumps to the entry that starts with what was
// typed; Enter or a double click opens a folder (".." the one above) or takes the file;
// Backspace goes up one folder; selecting a file puts its name in the name box, and
// nothing is asked until the user takes a file. Enter in the name box is OK:
// a folder typed there opens, a file is taken if the dialog accepts it. A refusal is a
// message naming the file and why; the chooser then stays open.

#include <string>
#include <vector>

#include "platform/toolkit/Export.h"

// One entry of the "Types" list: "Page files (*.txt)" and its patterns ("*.txt", or
// several separated by ";"; "*" for all files).
struct TFileFilter {
    std::string Description;
    std::string Patterns;
};

class QELL_TOOLKIT_API TOpenDialog {
public:
    TOpenDialog();
    virtual ~TOpenDialog();

    std::string Title = "Open";
    // Before Execute: where to start, a file name with or without its folder (the name
    // goes into the name box, the folder is the one shown). After OK: the file chosen,
    // as a whole path.
    std::string FileName;
    // The folder shown when FileName names none; empty: the current folder.
    std::string InitialDir;
    // The types offered, the first one chosen; none: all files.
    std::vector<TFileFilter> Filters;
    // Added, after a ".", to a typed name that has no extension and names nothing that
    // exists ("txt": "notes" is "notes.txt").
    std::string DefaultExt;

    // Runs the chooser; true after OK with FileName set, false (FileName as it was) after
    // Cancel, Escape, closing the window or the end of the input.
    bool Execute();

    // Whether Path may be the answer, telling the user why not (a message box) when it
    // may not. Open: an existing regular file (not a folder, device or FIFO).
    virtual bool Acceptable(const std::string& Path);

protected:
    // "Open" or "Save": the OK button's caption.
    virtual const char* ActionCaption() const { return "Open"; }
};

class QELL_TOOLKIT_API TSaveDialog : public TOpenDialog {
public:
    TSaveDialog();
    // Save: a regular file, or none yet, in an existing folder; an existing file only
    // after the user answers Yes to replacing it ("Yes", "No" in the question).
    bool Acceptable(const std::string& Path) override;

protected:
    const char* ActionCaption() const override { return "Save"; }
};
