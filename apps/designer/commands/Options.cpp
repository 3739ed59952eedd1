#include "apps/designer/commands/Options.h"

#include <charconv>
#include <cstdio>

#include "apps/designer/packages/PackageHost.h"
#include "platform/rtl/SysUtils.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/backends/window/WindowBackEnd.h"

TOptionParser::TOptionParser(std::string Command, const char* Usage) : FCommand(std::move(Command)), FUsage(Usage) {}

void TOptionParser::Flag(const std::string& Name, bool& Target)
{
    FFlags[Name] = &Target;
}

void TOptionParser::Value(const std::string& Name, std::string& Target, const char* Noun)
{
    FValues[Name] = {&Target, Noun};
}

TParsed TOptionParser::Error(const std::string& Message) const
{
    std::fprintf(stderr, "qell-designer %s: %s\nusage: %s", FCommand.c_str(), Message.c_str(), FUsage);
    return TParsed::Error;
}

TParsed TOptionParser::Parse(const TArgs& Args, std::vector<std::string>& Positional, size_t MinPositional,
                             size_t MaxPositional)
{
    bool OptionsEnded = false;
    for (size_t I = 0; I < Args.size(); ++I) {
        const std::string& A = Args[I];
        if (!OptionsEnded && A == "--") {
            OptionsEnded = true;
            continue;
        }
        if (!OptionsEnded && IsHelp(A)) return TParsed::Help;
        const auto Flag = OptionsEnded ? FFlags.end() : FFlags.find(A);
        const auto Value = OptionsEnded ? FValues.end() : FValues.find(A);
        if (Flag == FFlags.end() && Value == FValues.end()) {
            if (!OptionsEnded && A.starts_with("-") && A.size() > 1) return Error("unknown option " + QuotedInput(A));
            if (Positional.size() == MaxPositional) return Error("unexpected argument " + QuotedInput(A));
            Positional.push_back(A);
            // Once the command has all it takes, options may follow again.
            if (Positional.size() == MaxPositional) OptionsEnded = false;
            continue;
        }
        if (!FGiven.insert(A).second) return Error(A + " is given more than once");
        if (Flag != FFlags.end()) {
            *Flag->second = true;
            continue;
        }
        if (I + 1 == Args.size()) return Error(A + " needs a value");
        const TValue& V = Value->second;
        *V.Target = Args[++I];
        if (V.Noun && V.Target->empty()) return Error(A + " needs " + V.Noun + ", not ''");
    }
    if (Positional.size() < MinPositional) return Error("missing arguments");
    return TParsed::Run;
}

void AddRunOptions(TOptionParser& Parser, TRunOptions& O, std::string& ScaleText)
{
    Parser.Value("--script", O.Script, "a file name");
    Parser.Value("--snapshot", O.Snapshot, "a file name");
    Parser.Value("--package", O.Package, "a file name");
    Parser.Value("--scale", ScaleText, "a number");
    Parser.Flag("--window", O.Window);
}

TParsed CheckRunOptions(const TOptionParser& Parser, TRunOptions& O, const std::string& ScaleText, const char* What)
{
    if (O.Window && Parser.Given("--script"))
        return Parser.Error("--window and --script exclude each other: a script drives the " + std::string(What) +
                            " headless");
    if (Parser.Given("--scale")) {
        if (!O.Window) return Parser.Error("--scale works only with --window");
        const char* End = ScaleText.data() + ScaleText.size();
        const auto [Ptr, Error] = std::from_chars(ScaleText.data(), End, O.Scale);
        if (Error != std::errc() || Ptr != End || O.Scale < 1 || O.Scale > 8)
            return Parser.Error("--scale takes a whole number from 1 to 8, not " + QuotedInput(ScaleText));
    }
    if (O.Package.empty()) O.Package = DefaultPackagePath();
    return TParsed::Run;
}

namespace {

// The window back end when asked for and a display is there; otherwise headless, fed by
// the script if there is one (Headless then points to it). Says on standard error when
// a window was asked for and cannot be shown. Raises EScriptError for a script that
// cannot be read.
std::unique_ptr<TBackEnd> MakeBackEnd(const std::string& Command, const TRunOptions& O, THeadlessBackEnd*& Headless)
{
    Headless = nullptr;
    if (O.Window) {
        std::string Why;
        if (TWindowBackEnd::Available(Why)) {
            auto W = std::make_unique<TWindowBackEnd>(O.Scale);
            W->SetFinalSnapshot(O.Snapshot);
            return W;
        }
        std::fprintf(stderr, "qell-designer %s: no window (%s); running headless\n", Command.c_str(),
                     QuotedInput(Why, 200).c_str());
    }
    auto H = std::make_unique<THeadlessBackEnd>();
    if (!O.Script.empty()) H->LoadScriptFile(O.Script);
    H->SetFinalSnapshot(O.Snapshot);
    Headless = H.get();
    return H;
}

} // namespace

TRunSession::TRunSession(const std::string& Command, const TRunOptions& O)
{
    Application->SetBackEnd(MakeBackEnd(Command, O, FHeadless));
    Application->SetTitle("qell-designer " + Command);
}

TRunSession::~TRunSession()
{
    Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
}
