#pragma once
// A back end without a screen: input comes from an event script, and the surface is
// only kept in memory (and saved as PNG on request).
//
// One command per line; blank lines and text after "#" (outside quotes) are ignored:
//
//   click NAME [X Y]            left press and release at X,Y (default: the centre)
//   press NAME X Y [right]      press the left (or right) button
//   move NAME X Y [left]        pointer move, with the left button held if "left"
//   release NAME X Y [right]    release the left (or right) button
//   drag NAME X1 Y1 X2 Y2 [N]   left press at 1, N moves (default 5) to 2, release
//   hover NAME X Y              pointer move without buttons
//   type NAME "text"            focus NAME as Tab would (an edit selects all), then
//                               one text input per character
//   text "text"                 one text input per character, to the focused control
//   key KEY                     Tab, Shift+Tab, Enter, Escape, Backspace, Delete, Left,
//                               Right, Up, Down, Home, End, PageUp, PageDown, Space,
//                               a letter or digit; with Shift+, Ctrl+, Alt+ prefixes
//   select GRID COL ROW         click the centre of that cell of a draw grid
//   page PAGECONTROL INDEX      click that tab
//   snapshot FILE.png [NAME]    save the form surface (or NAME's visible part)
//
// NAME is a component of the running form (found on the form, then among the
// components its components own), or "form" for the form itself. Coordinates are
// relative to the named control. Quoted texts take \" and \\ as escapes.
//
// Errors: a line that cannot be read (unknown command or key, bad number, missing
// quote, wrong arguments) makes loading raise EScriptError "script line N: …" before
// anything runs. A line that cannot be carried out against the running form (unknown
// control, a cell outside the grid, a snapshot that cannot be written) raises it from
// ProcessNextEvent; the application reports it, and the back end then answers no more
// events, so every open modal form ends with mrCancel and Failed() tells a program to
// exit with an error.

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Types.h"

class TForm;

class EScriptError : public Exception {
public:
    using Exception::Exception;
};

class THeadlessBackEnd : public TBackEnd {
public:
    // No events: a modal form ends with mrCancel at once.
    THeadlessBackEnd();
    // Loads Script (see LoadScript).
    explicit THeadlessBackEnd(std::string_view Script);
    ~THeadlessBackEnd() override;

    // Replaces the script and starts from its first line. Raises EScriptError on a line
    // that cannot be read, keeping the previous script.
    void LoadScript(std::string_view Script);
    // The same from a file; raises Exception naming the file when it cannot be read.
    void LoadScriptFile(const std::string& FileName);

    // Saves the surface of the outermost modal form as PNG when its run ends, whether
    // by a button or by the end of the script. Empty turns it off.
    void SetFinalSnapshot(std::string FileName) { FFinalSnapshot = std::move(FileName); }

    // A script line failed against the form; the run was cut short.
    bool Failed() const { return !FScriptError.empty(); }
    const std::string& ScriptError() const { return FScriptError; }
    // Every message reported to this back end, script errors and handler exceptions.
    const std::vector<std::string>& Errors() const { return FErrors; }
    // All commands were carried out.
    bool AtEnd() const { return FNext >= FCommands.size() && FPending.empty(); }

    void FormShown(TForm& Form) override;
    bool ProcessNextEvent(TForm& Form) override;
    void Present(TForm& Form) override;
    void FormHidden(TForm& Form) override;
    void ShowError(const std::string& Message) override;

    // One script line as read: the command word, its plain words and numbers, its
    // quoted text.
    struct TCommand {
        int Line = 0;
        std::string Verb;
        std::vector<std::string> Words;
        std::vector<int> Numbers;
        std::string Text;
        bool Flag = false; // "right" for press/release, "left" for move
        TKey Key = 0;
        TShiftState Shift;
    };

private:
    using TEvent = std::function<void(TForm&)>;
    void Expand(const TCommand& C, TForm& Form);

    std::vector<TCommand> FCommands;
    size_t FNext = 0;
    std::deque<TEvent> FPending;
    std::string FFinalSnapshot;
    std::string FScriptError;
    std::vector<std::string> FErrors;
    int FDepth = 0;
};
