// qell-designer props FILE [COMPONENT] [--long]: the inspector's rows of each component
// (or of one), a line each: path, value, editor, and with --long what the property
// declares of itself.

#include "apps/designer/commands/PageCommand.h"
#include "platform/designide/PropertyPaths.h"

const char PropsUsage[] = "qell-designer props FILE [COMPONENT] [--long] [--package PATH]\n";

namespace {

// The columns `props --long` adds: the row's type, default and description, as the
// property declares them. A collection item's row has no property: its class, and what
// it is.
std::string LongColumns(const std::string& Path, const TInterfacePtr<TPropertyEditor>& E)
{
    const TPropInfo* P = E->GetPropInfo();
    if (!P) {
        const std::string Collection = Path.substr(0, Path.rfind('['));
        return E->GetComponent(0)->ClassName() + "\t\t" + "One item of " + OneField(Collection) + ", its properties below.";
    }
    return OneField(PropTypeText(*P)) + "\t" + OneField(PropDefaultText(*P)) + "\t" + OneField(P->Description);
}

} // namespace

int RunProps(const TArgs& Args)
{
    bool Long = false;
    return RunPage(
        "props", PropsUsage, Args, 1, 2,
        [&](const TPageArgs& A) {
            TPageSession Session(A.Package, A.P[0]);
            TPageDocument& Doc = Session.Document();
            std::vector<TComponent*> Components = PageComponents(Doc.Page());
            if (A.P.size() == 2) {
                TComponent* Only = FindPageComponent(Doc.Page(), A.P[1]);
                if (!Only) throw EPathError("no component " + QuotedInput(A.P[1]) + " on the page");
                Components = {Only};
            }
            for (TComponent* C : Components) {
                const auto Row = [&](const std::string& Path, const TInterfacePtr<TPropertyEditor>& E) {
                    const std::string FullPath = C->Name() + "." + Path;
                    std::string Line = OneField(FullPath) + "\t" + OneField(E->GetValue()) + "\t" + E->ClassName();
                    if (Long) Line += "\t" + LongColumns(FullPath, E);
                    PrintLine(Line);
                };
                ForEachPropertyPath({C}, &Doc, Row);
            }
            return ExitOk;
        },
        [&](TOptionParser& Parser) { Parser.Flag("--long", Long); });
}
