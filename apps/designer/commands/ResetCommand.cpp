// qell-designer reset FILE PATH: a row back to its default, then the page saved, under
// the file's lock from the read to the write.

#include <cstdio>

#include "apps/designer/commands/PageCommand.h"

const char ResetUsage[] = "qell-designer reset FILE PATH [--package PATH]\n";

int RunReset(const TArgs& Args)
{
    return RunPage("reset", ResetUsage, Args, 2, 2, [](const TPageArgs& A) {
        TPageSession Session(A.Package, A.P[0], true);
        TPageDocument& Doc = Session.Document();
        const TInterfacePtr<TPropertyEditor> E = Doc.Editor(A.P[1]);
        try {
            E->Revert();
        } catch (const std::exception& X) {
            std::fprintf(stderr, "qell-designer reset: %s: %s\n", QuotedInput(A.P[1]).c_str(), X.what());
            return ExitFailed;
        }
        if (Doc.IsModified()) Doc.SaveAs(A.P[0]);
        return ExitOk;
    });
}
