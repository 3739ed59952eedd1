#pragma once
// A back end without a screen: input comes from an event script (EventScript.h), and
// the surface is only kept in memory (and saved as PNG on request).
//
// Errors: a script that cannot be read raises from loading, before anything runs. A
// line that cannot be carried out against the running form (unknown control, a cell
// outside the grid, a snapshot that cannot be written) raises EScriptError from
// ProcessNextEvent; the application reports it, and the back end then answers no more
// events, so every open modal form ends with mrCancel and Failed() tells a program to
// exit with an error.

#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/script/EventScript.h"

class QELL_TOOLKIT_API THeadlessBackEnd : public TBackEnd {
public:
    // No events: a modal form ends with mrCancel at once.
    THeadlessBackEnd();
    // Loads Script (see LoadScript).
    explicit THeadlessBackEnd(std::string_view Script);
    ~THeadlessBackEnd() override;

    // Replaces the script and starts from its first line. Raises EScriptError on a line
    // that cannot be read, keeping the previous script.
    void LoadScript(std::string_view Script);
    // The same from a file. Raises EScriptError naming the file and the reason when it
    // cannot be read, and prefixes every later error of the script with the file name.
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
    bool AtEnd() const { return FScript.AtEnd() && FPending.empty(); }

    void FormShown(TForm& Form) override;
    bool ProcessNextEvent(TForm& Form) override;
    void Present(TForm& Form) override;
    void FormHidden(TForm& Form) override;
    void ShowError(const std::string& Message) override;

private:
    void Start(TEventScript Script);

    TEventScript FScript;
    std::string FScriptName; // "file: " for messages, or empty
    int FLine = 0;           // the line of the command whose events are pending
    TScriptEvents FPending;
    std::string FFinalSnapshot;
    std::string FScriptError;
    std::vector<std::string> FErrors;
    int FDepth = 0;
};
