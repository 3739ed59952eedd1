// qell-designer edit FILE PATH: a row's dialog, driven by a script or in a window; OK
// writes its choice and saves the page, under the file's lock from the read to the write.

#include "apps/designer/commands/PageCommand.h"

const char EditUsage[] = "qell-designer edit FILE PATH [--script FILE | --window [--scale N]] [--snapshot FILE.png]\n"
                         "                          [--package PATH]\n";

int RunEdit(const TArgs& Args)
{
    // The run options take --package too, into O.
    TRunOptions O;
    std::string ScaleText;
    return RunPage(
        "edit", EditUsage, Args, 2, 2,
        [&](const TPageArgs& A) {
            TPageSession Session(O.Package, A.P[0], true);
            TPageDocument& Doc = Session.Document();
            const TInterfacePtr<TPropertyEditor> E = EditorWith(Doc, A.P[1], paDialog, "dialog");
            {
                const TRunSession Run("edit", O);
                E->Edit();
                if (Run.Failed()) return ExitError;
            }
            // OK writes the dialog's value through the editor, which reports it; Cancel
            // writes nothing, and the file stays as it was.
            if (!Doc.IsModified()) return ExitFailed;
            Doc.SaveAs(A.P[0]);
            PrintLine(OneField(E->GetValue()));
            return ExitOk;
        },
        [&](TOptionParser& Parser) { AddRunOptions(Parser, O, ScaleText); },
        [&](const TOptionParser& Parser) { return CheckRunOptions(Parser, O, ScaleText, "dialog") == TParsed::Run; });
}
