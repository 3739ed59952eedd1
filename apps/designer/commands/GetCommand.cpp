// qell-designer get FILE PATH: one row's value as the inspector shows it.

#include "apps/designer/commands/PageCommand.h"

const char GetUsage[] = "qell-designer get FILE PATH [--package PATH]\n";

int RunGet(const TArgs& Args)
{
    return RunPage("get", GetUsage, Args, 2, 2, [](const TPageArgs& A) {
        TPageSession Session(A.Package, A.P[0]);
        PrintLine(OneField(Session.Document().Editor(A.P[1])->GetValue()));
        return ExitOk;
    });
}
