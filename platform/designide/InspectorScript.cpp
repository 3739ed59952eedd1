// Event-script verbs for the property inspector, registered when the library loads.

#include "platform/designide/PropertyInspector.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/script/EventScript.h"

using namespace ScriptSupport;

namespace {

TPropertyInspector& Inspector(TForm& Form, const std::string& Name)
{
    return FindShowingAs<TPropertyInspector>(Form, Name, "property inspector");
}

// A click on one of the selected row's buttons.
TScriptVerb ButtonVerb(const char* Name, TRect (TPropertyInspector::*Button)() const, const char* What)
{
    const std::string Usage = std::string(Name) + " INSPECTOR";
    return {Name, Usage, 1, 1,
            [Usage](const std::vector<TScriptToken>& Args, TScriptCommand& C) { ReadWord(Args, 0, C, Usage); },
            [Button, What](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                TPropertyInspector& I = Inspector(Form, C.Words[0]);
                const TRect R = (I.*Button)();
                if (R.IsEmpty()) throw EScriptError(std::string("the selected row has no ") + What);
                Click(Out, CentreOf(I, R));
            }};
}

} // namespace

void RegisterInspectorScriptVerbs()
{
    RegisterScriptVerb({"inspect", "inspect INSPECTOR PATH", 2, 2,
                        [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                            C.Words = {Args[0].Text, Args[1].Text};
                        },
                        [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                            TPropertyInspector* I = &Inspector(Form, C.Words[0]);
                            Out.push_back([I, Path = C.Words[1]](TForm&) {
                                if (!I->SelectPath(Path)) throw EScriptError("no property row " + QuotedInput(Path));
                            });
                        }});
    RegisterScriptVerb(ButtonVerb("dropdown", &TPropertyInspector::DropDownButtonRect, "value list"));
    RegisterScriptVerb(ButtonVerb("ellipsis", &TPropertyInspector::EllipsisButtonRect, "dialog"));
    RegisterScriptVerb({"choose", "choose INSPECTOR \"item\"", 2, 2,
                        [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                            ReadWord(Args, 0, C, "choose INSPECTOR \"item\"");
                            C.Text = Args[1].Text;
                        },
                        [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                            TListBox* List = Inspector(Form, C.Words[0]).DropDownList();
                            if (!List) throw EScriptError("no value list is open");
                            const int Index = List->IndexOf(C.Text);
                            if (Index < 0) throw EScriptError("the value list has no item " + QuotedInput(C.Text));
                            // Scrolled to, then clicked where it shows, as a user would.
                            Out.push_back([List, Index](TForm&) { List->ScrollIntoView(Index); });
                            Out.push_back([List, Index](TForm& F) {
                                const TRect R = List->ItemRect(Index);
                                const TPoint P = CentreOf(*List, R);
                                F.HandleMouseDown(mbLeft, {ssLeft}, P.X, P.Y);
                                F.HandleMouseUp(mbLeft, {}, P.X, P.Y);
                            });
                        }});
}
