// qell-designer values FILE PATH: a row's drop-down list, in the list's order.

#include "apps/designer/commands/PageCommand.h"
#include "platform/designide/PropertyInspector.h"

const char ValuesUsage[] = "qell-designer values FILE PATH [--package PATH]\n";

int RunValues(const TArgs& Args)
{
    return RunPage("values", ValuesUsage, Args, 2, 2, [](const TPageArgs& A) {
        TPageSession Session(A.Package, A.P[0]);
        const TInterfacePtr<TPropertyEditor> E = EditorWith(Session.Document(), A.P[1], paValueList, "value list");
        for (const std::string& V : PropertyListValues(*E)) PrintLine(OneField(V));
        return ExitOk;
    });
}
