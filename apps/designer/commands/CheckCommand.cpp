// qell-designer check: every colour pair a page draws judged against the accessibility
// level, one line (or JSON object) a pair, so that a page can be checked in CI: the exit
// code says whether every pair passes. Values are written as `props` writes them,
// through the package's editors, so that each suggested fix is a text `set` takes.

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/commands/Options.h"
#include "apps/designer/packages/PackageHost.h"
#include "apps/designer/document/PageFile.h"
#include "apps/designer/document/ContrastTexts.h"
#include "platform/components/PageContrast.h"

const char CheckUsage[] = "qell-designer check FILE [--level AA|AAA] [--suggest] [--json] [--package PATH]\n";

namespace {

const char* KindName(TContrastKind Kind)
{
    switch (Kind) {
    case TContrastKind::Text: return "text";
    case TContrastKind::LargeText: return "large text";
    case TContrastKind::Part: break;
    }
    return "part";
}

// Text as a JSON string, quotes included.
std::string JsonString(const std::string& Text)
{
    std::string Out = "\"";
    for (const char C : Text) {
        const auto U = static_cast<unsigned char>(C);
        if (C == '"' || C == '\\') {
            Out += '\\';
            Out += C;
        } else if (U < 0x20) {
            char Escape[8];
            std::snprintf(Escape, sizeof Escape, "\\u%04x", U);
            Out += Escape;
        } else {
            Out += C;
        }
    }
    return Out + "\"";
}

// A pair's colours as the rows show them, and with --suggest on a failing pair its two
// fixes as their rows would show them.
struct TPairTexts {
    std::string Foreground, Background;
    bool Suggested = false;
    TFixTexts Fixes;
};

TPairTexts Texts(TRowTexts& Rows, const TContrastFinding& F, TContrastLevel Level, bool Suggest)
{
    TPairTexts T;
    T.Foreground = Rows.Value(*F.Foreground.Object, *F.Foreground.Prop);
    T.Background = Rows.Value(*F.Background.Object, *F.Background.Prop);
    T.Suggested = Suggest && !F.Passes(Level);
    if (T.Suggested) T.Fixes = FixTexts(Rows, F, Level);
    return T;
}

// The fields that end a failing line: each side's colour and distance ("none" for a side
// that no colour fixes), and which side is the nearer.
std::string SuggestionFields(const TFixTexts& Fixes)
{
    std::string Fields;
    for (const TFixText* Fix : {&Fixes.Foreground, &Fixes.Background})
        Fields += Fix->Found ? "\t" + Fix->Value + "\t" + DistanceText(Fix->Distance) : std::string("\tnone\tnone");
    const bool Any = Fixes.Foreground.Found || Fixes.Background.Found;
    return Fields + "\t" + (!Any ? "none" : Fixes.BackgroundNearer ? "background" : "foreground");
}

std::string SuggestionMembers(const TFixTexts& Fixes)
{
    std::string Members;
    for (const auto& [Side, Fix] : {std::pair{"foreground", &Fixes.Foreground}, {"background", &Fixes.Background}}) {
        Members += std::string(", \"") + Side + "Suggestion\": " + (Fix->Found ? JsonString(Fix->Value) : "null");
        Members += std::string(", \"") + Side + "Distance\": " + (Fix->Found ? DistanceText(Fix->Distance) : "null");
    }
    const bool Any = Fixes.Foreground.Found || Fixes.Background.Found;
    return Members + ", \"nearer\": " +
           (!Any ? "null" : Fixes.BackgroundNearer ? "\"background\"" : "\"foreground\"");
}

void PrintLines(TRowTexts& Rows, const std::vector<TContrastFinding>& Findings, TContrastLevel Level, bool Suggest)
{
    for (const TContrastFinding& F : Findings) {
        const TPairTexts T = Texts(Rows, F, Level, Suggest);
        std::string Line = F.Component->Name() + "\t" + F.ForegroundPath + "\t" + F.BackgroundPath + "\t" +
                           T.Foreground + "\t" + T.Background + "\t" + RatioText(F.Ratio) + "\t" +
                           RatioText(F.Required(Level)) + "\t" + (F.Passes(Level) ? "pass" : "fail");
        if (T.Suggested) Line += SuggestionFields(T.Fixes);
        std::printf("%s\n", Line.c_str());
    }
}

void PrintJson(TRowTexts& Rows, const std::vector<TContrastFinding>& Findings, TContrastLevel Level, bool Suggest)
{
    std::printf("[");
    const char* Separator = "\n";
    for (const TContrastFinding& F : Findings) {
        const TPairTexts T = Texts(Rows, F, Level, Suggest);
        // The ratio as shown, so that no reader rounds a failing 4.4989 up to 4.5.
        std::string Object = std::string("  {\"component\": ") + JsonString(F.Component->Name()) +
                             ", \"foreground\": " + JsonString(F.ForegroundPath) +
                             ", \"background\": " + JsonString(F.BackgroundPath) +
                             ", \"foregroundValue\": " + JsonString(T.Foreground) +
                             ", \"backgroundValue\": " + JsonString(T.Background) +
                             ", \"kind\": " + JsonString(KindName(F.Kind)) + ", \"ratio\": " + RatioText(F.Ratio) +
                             ", \"required\": " + RatioText(F.Required(Level)) +
                             ", \"pass\": " + (F.Passes(Level) ? "true" : "false");
        if (T.Suggested) Object += SuggestionMembers(T.Fixes);
        std::printf("%s%s}", Separator, Object.c_str());
        Separator = ",\n";
    }
    std::printf("%s]\n", Findings.empty() ? "" : "\n");
}

} // namespace

int RunCheckCommand(const TArgs& Args)
{
    TOptionParser Parser("check", CheckUsage);
    std::string LevelText, Package;
    bool Suggest = false, Json = false;
    Parser.Value("--package", Package, "a file name");
    Parser.Value("--level", LevelText, "AA or AAA");
    Parser.Flag("--suggest", Suggest);
    Parser.Flag("--json", Json);
    std::vector<std::string> File;
    switch (Parser.Parse(Args, File, 1, 1)) {
    case TParsed::Help: std::printf("usage: %s", CheckUsage); return ExitOk;
    case TParsed::Error: return ExitError;
    case TParsed::Run: break;
    }
    TContrastLevel Level = TContrastLevel::AA;
    if (Parser.Given("--level")) {
        if (LevelText == "AAA") Level = TContrastLevel::AAA;
        else if (LevelText != "AA") {
            Parser.Error("--level takes AA or AAA, not " + QuotedInput(LevelText));
            return ExitError;
        }
    }
    try {
        // The package goes last, after the page and the editors.
        const TPackageHost Host(Package.empty() ? DefaultPackagePath() : Package);
        const std::unique_ptr<TQellPage> Page = LoadPageFile(File[0]);
        TRowTexts Rows;
        const std::vector<TContrastFinding> Findings = PageContrast(*Page);
        if (Json) PrintJson(Rows, Findings, Level, Suggest);
        else PrintLines(Rows, Findings, Level, Suggest);
        for (const TContrastFinding& F : Findings)
            if (!F.Passes(Level)) return ExitFailed;
        return ExitOk;
    } catch (const std::exception& E) {
        std::fprintf(stderr, "qell-designer check: %s\n", E.what());
        return ExitError;
    }
}
