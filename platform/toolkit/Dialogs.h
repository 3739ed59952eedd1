#pragma once
// Small modal dialogs built in code: a message with buttons, a one-line question, and
// the toolkit's colour dialog. Each runs through the application's modal loop, so
// scripts drive them like any form: the buttons are named after their TMessageButton
// names ("OK", "Cancel", …), the message label "Message", the input edit "Value" and
// the colour grid "Colors".

#include <string>
#include <vector>

#include "platform/colors/Colors.h"
#include "platform/toolkit/Events.h"
#include "platform/toolkit/Export.h"

struct TMessageButton {
    std::string Name;    // the component name: "OK"
    std::string Caption; // "&OK"
    TModalResult Result;
};

// Shows Text (lines split at '\n', long lines wrapped) above Buttons, right-aligned
// in the given order. A line with a tab is two columns: what comes before the tab, and
// the rest, which starts at one place for every such line, past the widest first part,
// and wraps there. The first button is the default (Enter); the one whose result is
// mrCancel, if any, answers Escape. Answers the result of the button pressed, mrCancel
// when the window is closed or the input ends.
QELL_TOOLKIT_API TModalResult MessageBox(const std::string& Caption, const std::string& Text,
                                         const std::vector<TMessageButton>& Buttons);
// Text and an OK button, captioned with the application's title.
QELL_TOOLKIT_API void ShowMessage(const std::string& Text);
// Asks for one line of text, starting from Value; true with Value changed after OK,
// false with Value as it was.
QELL_TOOLKIT_API bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value);

// The toolkit's colour dialog: a grid of its named colours with their swatches.
class QELL_TOOLKIT_API TColorDialog {
public:
    // The colour shown as selected when it opens (when it has a name) and, after OK,
    // the colour chosen.
    TColor Color = clBlack;
    // True after OK with Color set; false with Color as it was.
    bool Execute();
};
