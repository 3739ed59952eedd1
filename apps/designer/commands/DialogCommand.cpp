// qell-designer dialog: the colour dialog on its own, headless from a script or in a
// real window, reached through the loaded package as a host knows it: by its class and
// its published selection.

#include <cstdio>
#include <memory>
#include <string>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/commands/Options.h"
#include "apps/designer/packages/PackageHost.h"
#include "platform/rtl/SysUtils.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"

const char DialogUsage[] = "qell-designer dialog [--identifier TEXT] [--script FILE | --window [--scale N]]\n"
                           "                            [--snapshot FILE.png] [--package PATH]\n";

int RunDialogCommand(const TArgs& Args)
{
    TOptionParser Parser("dialog", DialogUsage);
    TRunOptions O;
    std::string Identifier, ScaleText;
    Parser.Value("--identifier", Identifier);
    AddRunOptions(Parser, O, ScaleText);
    std::vector<std::string> None;
    TParsed Parsed = Parser.Parse(Args, None);
    if (Parsed == TParsed::Run) Parsed = CheckRunOptions(Parser, O, ScaleText, "dialog");
    switch (Parsed) {
    case TParsed::Help: std::printf("usage: %s", DialogUsage); return ExitOk;
    case TParsed::Error: return ExitError;
    case TParsed::Run: break;
    }
    std::unique_ptr<TPackageHost> Package;
    std::unique_ptr<TRunSession> Session;
    try {
        Package = std::make_unique<TPackageHost>(O.Package);
        Session = std::make_unique<TRunSession>("dialog", O);
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer dialog: %s\n", E.what());
        return ExitError;
    }

    int Result = ExitFailed;
    try {
        const TClassInfo& FormClass = Package->ExportedClass("IWKAVMOBILEDsnColorDialog.TIWKAVMOBILEColorForm");
        const std::unique_ptr<TForm> Form(dynamic_cast<TForm*>(FormClass.CreateComponent(Application)));
        if (!Form) throw EPackageError("the package's colour dialog is not a form");
        const TPropInfo& Selection = *GetPropInfo(*Form, "SelectedIdentifier");
        if (Parser.Given("--identifier")) {
            try {
                SetStrProp(*Form, Selection, Identifier);
            } catch (const EConvertError& E) {
                // The form's own message says why the text is no integer; say what else was tried.
                std::fprintf(stderr,
                             "qell-designer dialog: not a web colour name, toolkit identifier or integer literal: %s\n",
                             E.what());
                return ExitError;
            }
        }
        const TModalResult Modal = Form->ShowModal();
        if (Session->Failed()) {
            Result = ExitError;
        } else if (Modal == mrOk) {
            std::printf("%s\n", GetStrProp(*Form, Selection).c_str());
            Result = ExitOk;
        }
    } catch (const Exception& E) {
        std::fprintf(stderr, "qell-designer dialog: %s\n", E.what());
        Result = ExitError;
    }
    return Result;
}
