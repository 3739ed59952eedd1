// qell-designer design: the designer window on a page file (or the bundled sample),
// with the package loaded for as long as it runs.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "apps/designer/Commands.h"
#include "apps/designer/Designer.h"
#include "apps/designer/Options.h"
#include "apps/designer/PackageList.h"
#include "platform/components/Components.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/backends/window/WindowBackEnd.h"

const char DesignUsage[] = "qell-designer design [FILE] [--script FILE | --window [--scale N]]\n"
                           "                            [--snapshot FILE.png] [--package PATH]\n";

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
        if (!Packages.Load(Path))
            std::fprintf(stderr, "qell-designer: package skipped: %s\n", Packages.Statuses().back().Failure.c_str());
    return true;
}

} // namespace

int RunDesignCommand(const TArgs& Args)
{
    TOptionParser Parser("design", DesignUsage);
    TRunOptions O;
    std::string ScaleText;
    AddRunOptions(Parser, O, ScaleText);
    std::vector<std::string> File;
    TParsed Parsed = Parser.Parse(Args, File, 0, 1);
    if (Parsed == TParsed::Run) Parsed = CheckRunOptions(Parser, O, ScaleText, "designer");
    switch (Parsed) {
    case TParsed::Help: std::printf("usage: %s", DesignUsage); return ExitOk;
    case TParsed::Error: return ExitError;
    case TParsed::Run: break;
    }
    // A person at a display gets the window unless a script or a snapshot asks for a
    // run without one.
    if (!Parser.Given("--script") && !Parser.Given("--snapshot") && DesignerWindowAvailable()) O.Window = true;

    RegisterDesignerScriptVerbs(); // before the script is read
    TPackageSet Packages;
    if (!LoadPackages(Parser.Given("--package") ? std::optional<std::string>(O.Package) : std::nullopt, Packages))
        return ExitError;
    std::unique_ptr<TRunSession> Session;
    try {
        Session = std::make_unique<TRunSession>("design", O);
        const std::unique_ptr<TDesignerForm> Designer = std::make_unique<TDesignerForm>(Application);
        if (File.empty()) Designer->SetPage(ReadPageText(SamplePageText()), "");
        else Designer->SetPage(LoadPageFile(File[0]), File[0]);
        Designer->ShowModal();
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer design: %s\n", E.what());
        return ExitError;
    }
    return Session->Failed() ? ExitError : ExitOk;
}
