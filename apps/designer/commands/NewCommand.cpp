// qell-designer new FILE [--blank]: a page file holding the bundled sample page, or an
// empty page.

#include <cstdio>

#include "apps/designer/commands/PageCommand.h"
#include "platform/components/Components.h"
#include "platform/rtl/Files.h"

const char NewUsage[] = "qell-designer new FILE [--blank] [--package PATH]\n";

int RunNew(const TArgs& Args)
{
    bool Blank = false;
    return RunPage(
        "new", NewUsage, Args, 1, 1,
        [&Blank](const TPageArgs& A) {
            const TPackageHost Host(A.Package);
            if (CreateFileAtomically(A.P[0], Blank ? BlankPageText() : SamplePageText())) return ExitOk;
            std::fprintf(stderr, "qell-designer new: %s already exists; not overwritten\n",
                         QuotedFileName(A.P[0]).c_str());
            return ExitFailed;
        },
        [&Blank](TOptionParser& Parser) { Parser.Flag("--blank", Blank); });
}
