// qell-designer set FILE PATH TEXT: a row set as typed into the inspector, then the page
// saved, under the file's lock from the read to the write.

#include <cstdio>

#include "apps/designer/commands/PageCommand.h"

const char SetUsage[] = "qell-designer set FILE PATH [--] TEXT [--package PATH]\n";

int RunSet(const TArgs& Args)
{
    return RunPage("set", SetUsage, Args, 3, 3, [](const TPageArgs& A) {
        TPageSession Session(A.Package, A.P[0], true);
        TPageDocument& Doc = Session.Document();
        const TInterfacePtr<TPropertyEditor> E = Doc.Editor(A.P[1]);
        // As the inspector, which offers no typing into such a row.
        if (E->GetAttributes().Contains(paReadOnly)) {
            std::fprintf(stderr, "qell-designer set: %s is read-only\n", QuotedInput(A.P[1]).c_str());
            return ExitFailed;
        }
        try {
            E->SetValue(A.P[2]);
        } catch (const std::exception& X) {
            std::fprintf(stderr, "qell-designer set: %s: %s\n", QuotedInput(A.P[1]).c_str(), X.what());
            return ExitFailed;
        }
        if (Doc.IsModified()) Doc.SaveAs(A.P[0]);
        return ExitOk;
    });
}
