// qell-designer delete FILE NAME…: components taken off the page by the document, as
// the window deletes them, then the page saved, under the file's lock from the read to
// the write. Every name is found before anything is deleted.

#include <limits>

#include "apps/designer/commands/PageCommand.h"

const char DeleteUsage[] = "qell-designer delete FILE NAME... [--package PATH]\n";

int RunDelete(const TArgs& Args)
{
    return RunPage("delete", DeleteUsage, Args, 2, std::numeric_limits<size_t>::max(), [](const TPageArgs& A) {
        TPageSession Session(A.Package, A.P[0], true);
        TPageDocument& Doc = Session.Document();
        std::vector<TComponent*> Doomed;
        for (size_t I = 1; I < A.P.size(); ++I) {
            TComponent* C = FindPageComponent(Doc.Page(), A.P[I]);
            if (!C) throw EPathError("no component " + QuotedInput(A.P[I]) + " on the page");
            if (C == &Doc.Page()) throw EPathError(QuotedInput(A.P[I]) + " is the page, not a component on it");
            Doomed.push_back(C);
        }
        Doc.DeleteComponents(Doomed);
        Doc.SaveAs(A.P[0]);
        return ExitOk;
    });
}
