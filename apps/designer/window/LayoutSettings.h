#pragma once
// The designer's layout as the user left it: the window's size, the widths given the
// component list and the inspector by their splitters, the inspector's name column and
// the height given the description line. The window keeps it for the session; the
// program writes it when the window closes, to $XDG_CONFIG_HOME/qell-designer/layout
// (else ~/.config/qell-designer/layout), and reads it at the next start.
//
// The file is text, one "name value" a line:
//
//   window 1216x540
//   components 220
//   inspector 300
//   names 140
//   description 0
//
// It may be damaged or hostile like any file the program reads: it is read only when it
// is a regular file of at most MaxLayoutFileSize bytes, and a line that is not one of
// these (an unknown name, a number that does not read, a size out of range) is passed
// over, so the setting keeps the value it had.

#include <string>

// What the panes were given; the window fits them to its size (TDesignerForm).
struct TPaneSizes {
    static constexpr int DefaultListWidth = 220, DefaultInspectorWidth = 300, DefaultNameWidth = 140;
    int ListWidth = DefaultListWidth, InspectorWidth = DefaultInspectorWidth, NameWidth = DefaultNameWidth;
    // 0: the description line's own height, which grows with its text (DescriptionLine.h).
    int DescriptionHeight = 0;
    bool operator==(const TPaneSizes&) const = default;
};

struct TLayoutSettings {
    int Width = 0, Height = 0; // the window's client size; 0 when not known
    TPaneSizes Panes;
};

constexpr size_t MaxLayoutFileSize = 4096;

// Where the layout is kept.
std::string LayoutSettingsPath();
// Replaces in Layout what the file at Path holds, each value as it stands within 0 and
// the largest form (the window fits the sizes to itself when it takes them). Answers why
// the file or a line of it was passed over, in one line (the first such line only),
// empty when nothing was; a missing file is not a fault. Never raises.
std::string ReadLayoutSettings(const std::string& Path, TLayoutSettings& Layout);
// Writes Layout to Path atomically, making the folder when needed; a symbolic link or
// anything else at the name is replaced, never written through. Raises EInOutError
// with the file unchanged when it cannot.
void WriteLayoutSettings(const std::string& Path, const TLayoutSettings& Layout);
