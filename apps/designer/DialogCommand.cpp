// qell-designer dialog: the colour dialog on its own, headless from a script or in a
// real window.

#include <cstdio>
#include <memory>

#include "apps/designer/Commands.h"
#include "dialog/IWKAVMOBILEDsnColorDialog.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"
#include "platform/toolkit/backends/window/WindowBackEnd.h"

namespace {

constexpr int ExitOk = 0, ExitCancel = 1, ExitError = 2;

struct TDialogOptions {
    bool HasIdentifier = false;
    std::string Identifier;
    std::string Script;
    std::string Snapshot;
    bool Window = false;
    int Scale = 1;
};

bool ParseOptions(const TArgs& Args, TDialogOptions& O)
{
    for (size_t I = 0; I < Args.size(); ++I) {
        const std::string& A = Args[I];
        const bool HasValue = I + 1 < Args.size();
        if (A == "--window") {
            O.Window = true;
        } else if (A == "--identifier" && HasValue) {
            O.HasIdentifier = true;
            O.Identifier = Args[++I];
        } else if (A == "--script" && HasValue) {
            O.Script = Args[++I];
        } else if (A == "--snapshot" && HasValue) {
            O.Snapshot = Args[++I];
        } else if (A == "--scale" && HasValue) {
            O.Scale = std::atoi(Args[++I].c_str());
            if (O.Scale < 1 || O.Scale > 8) {
                std::fprintf(stderr, "qell-designer dialog: --scale takes 1 to 8, not '%s'\n", Args[I].c_str());
                return false;
            }
        } else {
            std::fprintf(stderr, "qell-designer dialog: unexpected argument '%s'\n", A.c_str());
            return false;
        }
    }
    return true;
}

// The window back end when asked for and possible; otherwise headless, fed by the
// script if there is one.
std::unique_ptr<TBackEnd> MakeBackEnd(const TDialogOptions& O, THeadlessBackEnd*& Headless)
{
    Headless = nullptr;
    if (O.Window) {
        std::string Why;
        if (TWindowBackEnd::Available(Why)) {
            auto W = std::make_unique<TWindowBackEnd>(O.Scale);
            W->SetFinalSnapshot(O.Snapshot);
            return W;
        }
        std::fprintf(stderr, "qell-designer dialog: no window (%s); running headless\n", Why.c_str());
    }
    auto H = std::make_unique<THeadlessBackEnd>();
    if (!O.Script.empty()) H->LoadScriptFile(O.Script);
    H->SetFinalSnapshot(O.Snapshot);
    Headless = H.get();
    return H;
}

// Custom colours last as long as the process, as they last as long as the package.
TStringList& CustomColors()
{
    static TStringList List;
    return List;
}

} // namespace

int RunDialogCommand(const TArgs& Args)
{
    TDialogOptions O;
    if (!ParseOptions(Args, O)) return ExitError;
    THeadlessBackEnd* Headless = nullptr;
    try {
        Application->SetBackEnd(MakeBackEnd(O, Headless));
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer dialog: %s\n", E.what());
        return ExitError;
    }

    int Result = ExitCancel;
    {
        auto Form = std::make_unique<TIWKAVMOBILEColorForm>(Application, &CustomColors());
        bool Shown = true;
        if (O.HasIdentifier) {
            try {
                Form->SetSelectedIdentifier(O.Identifier);
            } catch (const Exception& E) {
                std::fprintf(stderr, "qell-designer dialog: %s\n", E.what());
                Shown = false;
                Result = ExitError;
            }
        }
        if (Shown) {
            const TModalResult Modal = Form->ShowModal();
            if (Headless && Headless->Failed()) {
                Result = ExitError;
            } else if (Modal == mrOk) {
                std::printf("%s\n", Form->SelectedIdentifier().c_str());
                Result = ExitOk;
            }
        }
    }
    // Close the window (if any) now rather than at exit.
    Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
    return Result;
}
