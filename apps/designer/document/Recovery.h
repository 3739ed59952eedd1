#pragma once
// Recovery files: a page with unsaved changes, and any text typed into a row but not yet
// set, written when the designer must end at once (the display is lost, SIGTERM, SIGHUP
// or SIGINT, or a script whose save failed), and offered when the page is opened again.
//
// A page's recovery file lies beside it, "PAGE.recovered". When that folder cannot be
// written, and for a page without a file, it goes to $XDG_STATE_HOME/qell-designer/
// (~/.local/state/qell-designer/ by default), named after the page's name and a hash of
// its full path ("page.txt.1f0c93a7d2b45e86.recovered"), so that two pages of one name in
// different folders never share one.
//
// The file is a page file: typed text rides in comment lines above the page
// ("// typed ButtonOrder.Appearance.TextColor Bluish", bytes outside printable ASCII
// and the backslash as \xNN), so that the file still opens as a page. Every recovery
// file may be hostile: it is read only when it is a regular file of the user's, never
// through a symbolic link, and written as the program's own (WriteFileAtomically), never
// through a link either.

#include <string>
#include <vector>

// Text typed into a row and not yet set: the row's full path and the text.
struct TTypedText {
    std::string Path; // "ButtonOrder.Appearance.TextColor"
    std::string Text;
    bool operator==(const TTypedText&) const = default;
};

struct TRecovery {
    std::string PageText;
    std::vector<TTypedText> Typed;
};

// The recovery file of PageFile (a page file's name) that is there, beside the page or
// in the state folder, whatever it is (a symbolic link included: ReadRecoveryFile says
// why it is refused); empty when there is none.
std::string FindRecoveryFile(const std::string& PageFile);
// "PAGE.recovered": where a page file's recovery goes first.
std::string RecoveryFileBeside(const std::string& PageFile);
// Writes Recovery as the recovery file of PageFile (empty: a page without a file) and
// answers its name: beside the page, else in the state folder. Raises EInOutError
// naming each place tried when none can be written.
std::string WriteRecoveryFile(const std::string& PageFile, const TRecovery& Recovery);
// Reads a recovery file. Raises EInOutError "Cannot read 'NAME': reason" for anything
// but a regular file the user owns (a symbolic link, a FIFO, another user's file) and
// for one larger than a page may be.
TRecovery ReadRecoveryFile(const std::string& FileName);
