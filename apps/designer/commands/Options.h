#pragma once
// Command-line options, read strictly: every option at most once, each value present,
// an unknown option or an extra argument an error; and the options shared by every
// command that shows forms (--script, --snapshot, --window, --scale, --package), with
// the back end they choose.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "apps/designer/commands/Commands.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"

enum class TParsed { Run, Help, Error };

class TOptionParser {
public:
    // Command names the command in messages ("dialog"); Usage is its usage text.
    TOptionParser(std::string Command, const char* Usage);

    void Flag(const std::string& Name, bool& Target);
    // An option with a value. With a Noun ("a file name") an empty value is an error.
    void Value(const std::string& Name, std::string& Target, const char* Noun = nullptr);
    // Reads Args: options anywhere, the other arguments into Positional, between
    // MinPositional and MaxPositional of them. After "--" the arguments are positional
    // until there are MaxPositional, so that a value may start with a dash ("-5") and
    // options may still follow it.
    TParsed Parse(const TArgs& Args, std::vector<std::string>& Positional, size_t MinPositional = 0,
                  size_t MaxPositional = 0);
    bool Given(const std::string& Name) const { return FGiven.contains(Name); }
    // Prints "qell-designer COMMAND: Message" and the usage on standard error.
    TParsed Error(const std::string& Message) const;
    const std::string& Command() const { return FCommand; }

private:
    std::string FCommand;
    const char* FUsage;
    std::map<std::string, bool*> FFlags;
    struct TValue {
        std::string* Target;
        const char* Noun;
    };
    std::map<std::string, TValue> FValues;
    std::set<std::string> FGiven;
};

// How a command that shows forms runs them.
struct TRunOptions {
    std::string Script, Snapshot, Package;
    bool Window = false;
    int Scale = 1;
};

// Declares --script, --snapshot, --window, --scale and --package.
void AddRunOptions(TOptionParser& Parser, TRunOptions& O, std::string& ScaleText);
// Checks their combinations (--window and --script exclude each other, --scale needs
// --window and is 1 to 8) and fills in the default package. What names what the
// command shows ("dialog") in messages.
TParsed CheckRunOptions(const TOptionParser& Parser, TRunOptions& O, const std::string& ScaleText, const char* What);

// The application reports errors as "qell-designer COMMAND", and gets a back end
// without events again when the object goes, closing any window before what drew in it
// is unloaded.
class TRunSession {
public:
    TRunSession(const std::string& Command, const TRunOptions& O);
    ~TRunSession();
    TRunSession(const TRunSession&) = delete;
    TRunSession& operator=(const TRunSession&) = delete;
    // Whether the script failed against a form (the command then exits with 2).
    bool Failed() const { return FHeadless && FHeadless->Failed(); }
    THeadlessBackEnd* Headless() const { return FHeadless; }

private:
    THeadlessBackEnd* FHeadless = nullptr;
};
