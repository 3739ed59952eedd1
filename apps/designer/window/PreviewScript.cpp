// The preview's script verbs: "pick NAME [ctrl]" and "place CLASS X Y [W H]".

#include <optional>

#include "apps/designer/window/PagePreview.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/script/EventScript.h"
#include "platform/toolkit/resources/ClassRegistry.h"

namespace {

using namespace ScriptSupport;

void ParsePick(const std::vector<TScriptToken>& Args, TScriptCommand& C)
{
    C.Words.push_back(Args[0].Text);
    if (Args.size() == 2) {
        if (!SameText(Args[1].Text, "ctrl")) throw EScriptError("pick NAME [ctrl]: not " + QuotedInput(Args[1].Text));
        C.Shift.Include(ssCtrl);
    }
}

void ExpandPick(const TScriptCommand& C, TForm& Form, TScriptEvents& Out)
{
    auto* Preview = &FindShowingAs<TPagePreview>(Form, "Preview", "page preview");
    TComponent* Target = FindPageComponent(Preview->Document().Page(), C.Words[0]);
    if (!Target) throw EScriptError("no component " + QuotedInput(C.Words[0]) + " on the page");
    // Scrolled to first, as a user would; then the centre, or else the first point row
    // by row, where the click reaches the component and not one lying over it.
    Out.push_back([Preview, Target, Name = C.Words[0], Keys = C.Shift](TForm& F) {
        Preview->ScrollInView(*Target);
        const TRect R = Intersect(Preview->ComponentRect(*Target), Preview->ViewRect());
        std::optional<TPoint> Hit;
        const TPoint Centre{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
        if (!R.IsEmpty() && Preview->ComponentAt(Centre.X, Centre.Y) == Target) Hit = Centre;
        for (int Y = R.Top; Y < R.Bottom && !Hit; Y += 2)
            for (int X = R.Left; X < R.Right && !Hit; X += 2)
                if (Preview->ComponentAt(X, Y) == Target) Hit = TPoint{X, Y};
        if (!Hit) throw EScriptError(QuotedInput(Name) + " is not in view");
        const TPoint P = At(*Preview, Hit->X, Hit->Y);
        TShiftState Down = Keys;
        Down.Include(ssLeft);
        F.HandleMouseDown(mbLeft, Down, P.X, P.Y);
        F.HandleMouseUp(mbLeft, Keys, P.X, P.Y);
    });
}

void ParsePlace(const std::vector<TScriptToken>& Args, TScriptCommand& C)
{
    if (Args.size() == 4) throw EScriptError("place CLASS X Y [W H]: a size takes both W and H");
    C.Words.push_back(Args[0].Text);
    for (size_t I = 1; I < Args.size(); ++I) C.Numbers.push_back(ReadNumber(Args[I]));
}

void ExpandPlace(const TScriptCommand& C, TForm& Form, TScriptEvents& Out)
{
    auto* Preview = &FindShowingAs<TPagePreview>(Form, "Preview", "page preview");
    const TClassInfo* Class = FindClass(C.Words[0]);
    if (!Class || !Class->CreateComponent || !Class->InheritsFrom(TQellControl::StaticClassInfo()))
        throw EScriptError(QuotedInput(C.Words[0]) + " is no component class a page holds");
    const TPoint From{C.Numbers[0], C.Numbers[1]};
    const std::optional<TPoint> To =
        C.Numbers.size() == 4 ? std::optional<TPoint>({From.X + C.Numbers[2], From.Y + C.Numbers[3]}) : std::nullopt;
    // As a person does it: the class chosen in the palette, then a press in the page and
    // a release, there or after a drag.
    Out.push_back([Preview, Class](TForm&) { Preview->Document().SetPlacingClass(Class); });
    Out.push_back([Preview, From, To](TForm& F) {
        const TPoint Start = Preview->ClientPoint(From), End = Preview->ClientPoint(To.value_or(From));
        const TPoint P = At(*Preview, Start.X, Start.Y), Q = At(*Preview, End.X, End.Y);
        F.HandleMouseDown(mbLeft, TShiftState{ssLeft}, P.X, P.Y);
        if (To) {
            constexpr int Steps = 4;
            for (int I = 1; I <= Steps; ++I)
                F.HandleMouseMove(TShiftState{ssLeft}, P.X + (Q.X - P.X) * I / Steps, P.Y + (Q.Y - P.Y) * I / Steps);
        }
        F.HandleMouseUp(mbLeft, {}, Q.X, Q.Y);
    });
}

} // namespace

void RegisterPreviewScriptVerbs()
{
    RegisterScriptVerb({"pick", "pick NAME [ctrl]", 1, 2, ParsePick, ExpandPick});
    RegisterScriptVerb({"place", "place CLASS X Y [W H]", 3, 5, ParsePlace, ExpandPlace});
}
