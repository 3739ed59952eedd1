// qell-designer dialog: the colour dialog on its own, headless from a script or in a
// real window, reached through the loaded package as a host knows it: by its class and
// its published selection.

#include <charconv>
#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "apps/designer/Commands.h"
#include "apps/designer/PackageHost.h"
#include "platform/rtl/SysUtils.h"
#include "platform/toolkit/Form.h"
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
    std::string Package;
    bool Window = false;
    int Scale = 1;
};

enum class TParsed { Run, Help, Error };

TParsed OptionError(const std::string& Message)
{
    std::fprintf(stderr, "qell-designer dialog: %s\nusage: %s", Message.c_str(), DialogUsage);
    return TParsed::Error;
}

// The whole text as a decimal number from Min to Max: no sign, no spaces, nothing after.
bool ReadNumber(const std::string& Text, int Min, int Max, int& Value)
{
    const char* End = Text.data() + Text.size();
    int V = 0;
    const auto [Ptr, Error] = std::from_chars(Text.data(), End, V);
    if (Error != std::errc() || Ptr != End || V < Min || V > Max) return false;
    Value = V;
    return true;
}

// Every option at most once, each value present, and the combinations checked: an
// option that would be ignored is an error, not a surprise.
TParsed ParseOptions(const TArgs& Args, TDialogOptions& O)
{
    std::set<std::string> Seen;
    std::string ScaleText;
    for (size_t I = 0; I < Args.size(); ++I) {
        const std::string& A = Args[I];
        if (IsHelp(A)) return TParsed::Help;
        std::string* Value = A == "--identifier" ? &O.Identifier
                             : A == "--script"   ? &O.Script
                             : A == "--snapshot" ? &O.Snapshot
                             : A == "--scale"    ? &ScaleText
                             : A == "--package"  ? &O.Package
                                                 : nullptr;
        if (!Value && A != "--window")
            return OptionError((A.starts_with("-") ? "unknown option " : "unexpected argument ") + QuotedInput(A));
        if (!Seen.insert(A).second) return OptionError(A + " is given more than once");
        if (!Value) continue;
        if (I + 1 == Args.size()) return OptionError(A + " needs a value");
        *Value = Args[++I];
    }
    O.HasIdentifier = Seen.contains("--identifier");
    O.Window = Seen.contains("--window");
    if (Seen.contains("--script") && O.Script.empty()) return OptionError("--script needs a file name, not ''");
    if (Seen.contains("--snapshot") && O.Snapshot.empty()) return OptionError("--snapshot needs a file name, not ''");
    if (Seen.contains("--package") && O.Package.empty()) return OptionError("--package needs a file name, not ''");
    if (O.Package.empty()) O.Package = DefaultPackagePath();
    if (O.Window && Seen.contains("--script"))
        return OptionError("--window and --script exclude each other: a script drives the dialog headless");
    if (Seen.contains("--scale")) {
        if (!O.Window) return OptionError("--scale works only with --window");
        if (!ReadNumber(ScaleText, 1, 8, O.Scale))
            return OptionError("--scale takes a whole number from 1 to 8, not " + QuotedInput(ScaleText));
    }
    return TParsed::Run;
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

} // namespace

const char DialogUsage[] = "qell-designer dialog [--identifier TEXT] [--script FILE | --window [--scale N]]\n"
                           "                            [--snapshot FILE.png] [--package PATH]\n";

int RunDialogCommand(const TArgs& Args)
{
    TDialogOptions O;
    switch (ParseOptions(Args, O)) {
    case TParsed::Help: std::printf("usage: %s", DialogUsage); return ExitOk;
    case TParsed::Error: return ExitError;
    case TParsed::Run: break;
    }
    THeadlessBackEnd* Headless = nullptr;
    std::unique_ptr<TPackageHost> Package;
    try {
        Package = std::make_unique<TPackageHost>(O.Package);
        Application->SetBackEnd(MakeBackEnd(O, Headless));
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer dialog: %s\n", E.what());
        return ExitError;
    }
    Application->SetTitle("qell-designer dialog");

    int Result = ExitCancel;
    try {
        const TClassInfo& FormClass = Package->ExportedClass("IWKAVMOBILEDsnColorDialog.TIWKAVMOBILEColorForm");
        const std::unique_ptr<TForm> Form(dynamic_cast<TForm*>(FormClass.CreateComponent(Application)));
        if (!Form) throw EPackageError("the package's colour dialog is not a form");
        const TPropInfo& Selection = *GetPropInfo(*Form, "SelectedIdentifier");
        bool Shown = true;
        if (O.HasIdentifier) {
            try {
                SetStrProp(*Form, Selection, O.Identifier);
            } catch (const EConvertError& E) {
                // The form's own message says why the text is no integer; say what else was tried.
                std::fprintf(stderr,
                             "qell-designer dialog: not a web colour name, toolkit identifier or integer literal: %s\n",
                             E.what());
                Shown = false;
                Result = ExitError;
            }
        }
        if (Shown) {
            const TModalResult Modal = Form->ShowModal();
            if (Headless && Headless->Failed()) {
                Result = ExitError;
            } else if (Modal == mrOk) {
                std::printf("%s\n", GetStrProp(*Form, Selection).c_str());
                Result = ExitOk;
            }
        }
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer dialog: %s\n", E.what());
        Result = ExitError;
    }
    // Close the window (if any) now, and before the package that drew in it goes.
    Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
    return Result;
}
