// toolkit_clipboard: the window back end's clipboard seen from two programs on one
// display. "copy TEXT" puts TEXT on the clipboard, then keeps a window open, since the
// owner of the clipboard answers the programs that paste, until the window is closed;
// "paste" prints what the clipboard holds. Exit 3 when no window can be shown.

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/backends/window/WindowBackEnd.h"

int main(int argc, char** argv)
{
    const bool Copy = argc == 3 && std::strcmp(argv[1], "copy") == 0;
    const bool Paste = argc == 2 && std::strcmp(argv[1], "paste") == 0;
    if (!Copy && !Paste) {
        std::fputs("usage: toolkit_clipboard copy TEXT | paste\n", stderr);
        return 64;
    }
    std::string Why;
    if (!TWindowBackEnd::Available(Why)) {
        std::fprintf(stderr, "toolkit_clipboard: %s\n", Why.c_str());
        return 3;
    }
    try {
        auto Back = std::make_unique<TWindowBackEnd>();
        TWindowBackEnd& Window = *Back;
        Application->SetBackEnd(std::move(Back));
        if (Paste) {
            const std::string Text = Window.ClipboardText();
            std::fwrite(Text.data(), 1, Text.size(), stdout);
            return 0;
        }
        Window.SetClipboardText(argv[2]);
        TForm Owner(nullptr);
        Owner.SetCaption("clipboard owner");
        Owner.SetBounds(0, 0, 120, 40);
        Owner.ShowModal();
    } catch (const Exception& E) {
        std::fprintf(stderr, "toolkit_clipboard: %s\n", E.what());
        return 3;
    }
    return 0;
}
