// qell-designer design: the designer window on a page file (or the bundled sample),
// with the package loaded for as long as it runs.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/window/DesignerForm.h"
#include "apps/designer/window/FileActions.h"
#include "apps/designer/window/LayoutSettings.h"
#include "apps/designer/commands/Options.h"
#include "apps/designer/packages/PackageHost.h"
#include "platform/rtl/Files.h"
#include "apps/designer/packages/PackageList.h"
#include "platform/components/Components.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/backends/window/WindowBackEnd.h"

const char DesignUsage[] = "qell-designer design [FILE] [--script FILE | --window [--scale N]]\n"
                           "                            [--size WIDTHxHEIGHT] [--snapshot FILE.png] [--package PATH]\n";

namespace {

// "WIDTHxHEIGHT", each a whole number, the window's minimum up to the largest form.
bool ReadSize(const std::string& Text, int& Width, int& Height)
{
    const size_t X = Text.find_first_of("xX");
    if (X == std::string::npos) return false;
    const auto Number = [](std::string_view S, int& V) {
        const auto [Ptr, Error] = std::from_chars(S.data(), S.data() + S.size(), V);
        return !S.empty() && Error == std::errc() && Ptr == S.data() + S.size();
    };
    return Number(std::string_view(Text).substr(0, X), Width) && Number(std::string_view(Text).substr(X + 1), Height) &&
           Width >= TDesignerForm::MinWidth && Height >= TDesignerForm::MinHeight && Width <= MaxFormSize &&
           Height <= MaxFormSize;
}

} // namespace

namespace {

// The application's emergency hook, set for as long as the designer runs.
class TEmergencyHookScope {
public:
    explicit TEmergencyHookScope(TApplication::TEmergencyHook Hook) { Application->SetEmergencyHook(std::move(Hook)); }
    ~TEmergencyHookScope() { Application->SetEmergencyHook(nullptr); }
    TEmergencyHookScope(const TEmergencyHookScope&) = delete;
    TEmergencyHookScope& operator=(const TEmergencyHookScope&) = delete;
};

// Writes the page's unsaved changes to its recovery file and names it.
void KeepUnsaved(const TPageDocument& Document)
{
    const std::string Written = Document.WriteRecovery();
    if (!Written.empty())
        std::fprintf(stderr, "qell-designer design: unsaved changes written to %s\n", QuotedFileName(Written).c_str());
}

} // namespace

bool DesignerWindowAvailable()
{
    std::string Why;
    return TWindowBackEnd::Available(Why);
}

namespace {

// The package --package names, which must load; else the packages on the list, each
// reported in one line and skipped when it fails, so that one broken package never
// keeps the designer from starting.
bool LoadPackages(const std::optional<std::string>& Given, TPackageSet& Packages)
{
    if (Given) {
        if (Packages.Load(*Given)) return true;
        std::fprintf(stderr, "qell-designer design: %s\n", Packages.Statuses().back().Failure.c_str());
        return false;
    }
    std::vector<std::string> Paths;
    try {
        Paths = ReadPackageList();
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer: no design packages loaded: %s\n", E.what());
    }
    for (const std::string& Path : Paths)
        if (!Packages.LoadListed(Path))
            std::fprintf(stderr, "qell-designer: package skipped: %s\n", Packages.Statuses().back().Failure.c_str());
    return true;
}

// The layout the user left (LayoutSettings.h), the window at Width x Height when --size
// gave it; a damaged file is passed over, said in one line.
TLayoutSettings ReadLayout(bool SizeGiven, int Width, int Height)
{
    TLayoutSettings Layout{Width, Height, {}};
    if (const std::string Problem = ReadLayoutSettings(LayoutSettingsPath(), Layout); !Problem.empty())
        std::fprintf(stderr, "qell-designer design: layout settings: %s\n", Problem.c_str());
    if (SizeGiven) {
        Layout.Width = Width;
        Layout.Height = Height;
    }
    Layout.Width = std::clamp(Layout.Width, int(TDesignerForm::MinWidth), MaxFormSize);
    Layout.Height = std::clamp(Layout.Height, int(TDesignerForm::MinHeight), MaxFormSize);
    return Layout;
}

// Writes the window's layout for the next start; a failure is said in one line.
void KeepLayout(const TDesignerForm& Designer)
{
    try {
        WriteLayoutSettings(LayoutSettingsPath(), {Designer.Width(), Designer.Height(), Designer.PaneSizes()});
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer design: the layout was not kept: %s\n", E.what());
    }
}

} // namespace

int RunDesignCommand(const TArgs& Args)
{
    TOptionParser Parser("design", DesignUsage);
    TRunOptions O;
    std::string ScaleText, SizeText;
    AddRunOptions(Parser, O, ScaleText);
    Parser.Value("--size", SizeText, "a size such as 1000x600");
    std::vector<std::string> File;
    TParsed Parsed = Parser.Parse(Args, File, 0, 1);
    if (Parsed == TParsed::Run) Parsed = CheckRunOptions(Parser, O, ScaleText, "designer");
    int Width = TDesignerForm::DefaultWidth, Height = TDesignerForm::DefaultHeight;
    if (Parsed == TParsed::Run && Parser.Given("--size") && !ReadSize(SizeText, Width, Height))
        Parsed = Parser.Error("--size takes WIDTHxHEIGHT from " + std::to_string(TDesignerForm::MinWidth) + "x" +
                              std::to_string(TDesignerForm::MinHeight) + " to " + std::to_string(MaxFormSize) + "x" +
                              std::to_string(MaxFormSize) + ", not " + QuotedInput(SizeText));
    switch (Parsed) {
    case TParsed::Help: std::printf("usage: %s", DesignUsage); return ExitOk;
    case TParsed::Error: return ExitError;
    case TParsed::Run: break;
    }
    // A person at a display gets the window unless a script or a snapshot asks for a
    // run without one.
    if (!Parser.Given("--script") && !Parser.Given("--snapshot") && DesignerWindowAvailable()) O.Window = true;

    RegisterDesignerScriptVerbs(); // before the script is read
    RegisterDesignerEditors();     // before the packages, whose own registrations win
    TPackageSet Packages;
    if (!LoadPackages(Parser.Given("--package") ? std::optional<std::string>(O.Package) : std::nullopt, Packages))
        return ExitError;
    std::unique_ptr<TRunSession> Session;
    try {
        Session = std::make_unique<TRunSession>("design", O);
        // Message boxes and prompts carry the program's name.
        Application->SetDisplayTitle("Qell Designer");
        const std::unique_ptr<TDesignerForm> Designer = std::make_unique<TDesignerForm>(Application);
        // A person's window opens as they left it. A headless run (a script, a snapshot)
        // is the same on every machine: the layout file plays no part in it.
        if (O.Window) {
            const TLayoutSettings Layout = ReadLayout(Parser.Given("--size"), Width, Height);
            Designer->SetBounds(0, 0, Layout.Width, Layout.Height);
            Designer->SetPaneSizes(Layout.Panes);
        } else {
            Designer->SetBounds(0, 0, Width, Height);
        }
        TPageDocument& Document = Designer->Document();
        if (File.empty()) {
            Document.SetPage(ReadPageText(SamplePageText()), "");
        } else {
            Document.Open(File[0]);
            OfferRecovery(Document);
        }
        // Ending at once (the display lost, SIGTERM, SIGHUP, SIGINT) keeps unsaved changes,
        // and a window's layout as well, since a session that logs out ends so.
        const TEmergencyHookScope Hook([&Document, &Designer, &O] {
            if (O.Window) KeepLayout(*Designer); // says why it failed, never raises
            KeepUnsaved(Document);
        });
        Designer->ShowModal();
        if (O.Window) KeepLayout(*Designer);
        // A script whose save failed has lost nothing either, and fails.
        if (!O.Window && !Document.SaveError().empty()) {
            std::fprintf(stderr, "qell-designer design: the page was not saved: %s\n", Document.SaveError().c_str());
            KeepUnsaved(Document);
            return ExitError;
        }
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer design: %s\n", E.what());
        return ExitError;
    }
    return Session->Failed() ? ExitError : ExitOk;
}
