// qell-designer design: the designer window on a page file (or the bundled sample),
// with the package loaded for as long as it runs.

#include <cstdio>
#include <memory>
#include <string>

#include "apps/designer/Commands.h"
#include "apps/designer/Designer.h"
#include "apps/designer/Options.h"
#include "apps/designer/PackageHost.h"
#include "platform/rtl/Files.h"
#include "platform/components/Components.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/backends/window/WindowBackEnd.h"

const char DesignUsage[] = "qell-designer design [FILE] [--script FILE | --window [--scale N]]\n"
                           "                            [--snapshot FILE.png] [--package PATH]\n";

namespace {

// The application's emergency hook, set for as long as the designer runs.
class TEmergencyHookScope {
public:
    explicit TEmergencyHookScope(TApplication::TEmergencyHook Hook) { Application->SetEmergencyHook(std::move(Hook)); }
    ~TEmergencyHookScope() { Application->SetEmergencyHook(nullptr); }
    TEmergencyHookScope(const TEmergencyHookScope&) = delete;
    TEmergencyHookScope& operator=(const TEmergencyHookScope&) = delete;
};

} // namespace

bool DesignerWindowAvailable()
{
    std::string Why;
    return TWindowBackEnd::Available(Why);
}

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
    std::unique_ptr<TPackageHost> Package;
    std::unique_ptr<TRunSession> Session;
    try {
        Package = std::make_unique<TPackageHost>(O.Package);
        Session = std::make_unique<TRunSession>("design", O);
        const std::unique_ptr<TDesignerForm> Designer = std::make_unique<TDesignerForm>(Application);
        if (File.empty()) {
            Designer->SetPage(ReadPageText(SamplePageText()), "");
        } else {
            Designer->SetPage(LoadPageFile(File[0]), File[0]);
            Designer->OfferRecovery();
        }
        // Ending at once (the display lost, SIGTERM, SIGHUP) keeps unsaved changes.
        const TEmergencyHookScope Hook([&Designer] {
            const std::string Written = Designer->WriteRecovery();
            if (!Written.empty())
                std::fprintf(stderr, "qell-designer design: unsaved changes written to %s\n",
                             QuotedFileName(Written).c_str());
        });
        Designer->ShowModal();
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer design: %s\n", E.what());
        return ExitError;
    }
    return Session->Failed() ? ExitError : ExitOk;
}
