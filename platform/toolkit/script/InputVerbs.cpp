#include "platform/toolkit/script/InputVerbs.h"

#include <cctype>
#include <map>
#include <memory>

#include "platform/rtl/Utf8.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"

using namespace ScriptSupport;

namespace {

// A word for a message: never longer than a line, never a control byte.
std::string Shown(std::string_view Word) { return QuotedInput(Word, 60); }

const std::map<std::string, TKey>& KeyNames()
{
    static const std::map<std::string, TKey> Names{
        {"tab", vkTab},         {"enter", vkReturn},   {"return", vkReturn}, {"escape", vkEscape},
        {"esc", vkEscape},      {"backspace", vkBack}, {"delete", vkDelete}, {"left", vkLeft},
        {"right", vkRight},     {"up", vkUp},          {"down", vkDown},     {"home", vkHome},
        {"end", vkEnd},         {"pageup", vkPrior},   {"pagedown", vkNext}, {"space", vkSpace},
        {"f1", vkF1},           {"f2", vkF2},          {"f7", vkF7},         {"f8", vkF8},
        {"f10", vkF10},         {"contextmenu", vkApps}, {"insert", vkInsert}};
    return Names;
}

// "Shift+Tab", "Alt+O", "Ctrl+A", "Enter": modifiers, then one key.
void ParseKey(const std::string& Text, TKey& Key, TShiftState& Shift)
{
    std::string Rest = Text;
    Shift = {};
    for (;;) {
        const size_t Plus = Rest.find('+');
        if (Plus == std::string::npos || Plus + 1 == Rest.size()) break;
        const std::string Mod = LowerCase(Rest.substr(0, Plus));
        if (Mod == "shift") Shift.Include(ssShift);
        else if (Mod == "ctrl" || Mod == "control") Shift.Include(ssCtrl);
        else if (Mod == "alt") Shift.Include(ssAlt);
        else throw EScriptError("unknown key " + Shown(Text));
        Rest = Rest.substr(Plus + 1);
    }
    if (Rest.size() == 1 && std::isalnum(static_cast<unsigned char>(Rest[0]))) {
        Key = std::toupper(static_cast<unsigned char>(Rest[0]));
        return;
    }
    auto It = KeyNames().find(LowerCase(Rest));
    if (It == KeyNames().end()) throw EScriptError("unknown key " + Shown(Text));
    Key = It->second;
}

// One text input per character of UTF-8 text; a stray byte counts as one character.
// The event that types the character of Text at I queues the next character's event
// first (at the front, so that a modal form the character opens reads it next), so that
// a text of any length waits as one event, not one per character.
TScriptEvent TypeFrom(TScriptEvents& Out, std::shared_ptr<const std::string> Text, size_t I)
{
    return [&Out, Text = std::move(Text), I](TForm& F) {
        const size_t Next = NextCharPos(*Text, I);
        if (Next < Text->size()) Out.push_front(TypeFrom(Out, Text, Next));
        F.HandleTextInput(Text->substr(I, Next - I));
    };
}

// Out outlives the events it holds, which the back end runs from there.
void TypeText(TScriptEvents& Out, const std::string& Text)
{
    if (!Text.empty()) Out.push_back(TypeFrom(Out, std::make_shared<const std::string>(Text), 0));
}

// How a pointer verb reads its point: NAME, then X Y (or nothing for the centre, where
// Centred), then optionally FlagWord; and whether the control must be showing.
struct TPointerArgs {
    bool Centred = false;
    const char* FlagWord = nullptr;
    bool Showing = true;
};

// A verb of a gesture at a point of a control; Gesture gets the point in the form's
// coordinates and whether the flag word was given.
TScriptVerb PointerVerb(const char* Name, const char* Usage, TPointerArgs Shape,
                        std::function<void(TScriptEvents& Out, TPoint P, bool Flag)> Gesture)
{
    return {Name, Usage, Shape.Centred ? 1u : 3u, Shape.FlagWord ? 4u : 3u,
            [Shape, Usage](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                if (Args.size() == 2) throw EScriptError(std::string("usage: ") + Usage);
                ReadWord(Args, 0, C, Usage);
                if (Args.size() > 1) C.Numbers = {ReadNumber(Args[1]), ReadNumber(Args[2])};
                if (Args.size() == 4) {
                    if (Args[3].Quoted || LowerCase(Args[3].Text) != Shape.FlagWord)
                        throw EScriptError(std::string("usage: ") + Usage);
                    C.Flag = true;
                }
            },
            [Shape, Gesture = std::move(Gesture)](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                const TControl& Ctl = FindControl(Form, C.Words[0], Shape.Showing);
                const auto& N = C.Numbers;
                Gesture(Out, N.empty() ? At(Ctl, Ctl.Width() / 2, Ctl.Height() / 2) : At(Ctl, N[0], N[1]), C.Flag);
            }};
}

std::vector<TScriptVerb> PointerVerbs()
{
    std::vector<TScriptVerb> V;
    V.push_back(PointerVerb("click", "click NAME [X Y]", {.Centred = true},
                            [](TScriptEvents& Out, TPoint P, bool) { Click(Out, P); }));
    V.push_back(PointerVerb("dblclick", "dblclick NAME [X Y]", {.Centred = true}, [](TScriptEvents& Out, TPoint P, bool) {
        // As a window reports it: a click, then a press marked as the second.
        Click(Out, P);
        Press(Out, mbLeft, P, {ssDouble});
        Release(Out, mbLeft, P);
    }));
    V.push_back(PointerVerb("rclick", "rclick NAME [X Y]", {.Centred = true}, [](TScriptEvents& Out, TPoint P, bool) {
        Press(Out, mbRight, P);
        Release(Out, mbRight, P);
    }));
    V.push_back(PointerVerb("press", "press NAME X Y [right]", {.FlagWord = "right"},
                            [](TScriptEvents& Out, TPoint P, bool Right) { Press(Out, Right ? mbRight : mbLeft, P); }));
    // The press may have hidden the control; releasing or moving over it still counts.
    V.push_back(PointerVerb("release", "release NAME X Y [right]", {.FlagWord = "right", .Showing = false},
                            [](TScriptEvents& Out, TPoint P, bool Right) { Release(Out, Right ? mbRight : mbLeft, P); }));
    V.push_back(PointerVerb("move", "move NAME X Y [left]", {.FlagWord = "left", .Showing = false},
                            [](TScriptEvents& Out, TPoint P, bool Left) {
                                Move(Out, Left ? TShiftState{ssLeft} : TShiftState{}, P);
                            }));
    V.push_back(PointerVerb("hover", "hover NAME X Y", {}, [](TScriptEvents& Out, TPoint P, bool) { Move(Out, {}, P); }));
    return V;
}

// The wheel and drags: more than one point, or more than a point.
std::vector<TScriptVerb> WheelAndDragVerbs()
{
    std::vector<TScriptVerb> V;
    V.push_back({"wheel", "wheel NAME X Y NOTCHES", 4, 4,
                 WordAndNumbers("wheel NAME X Y NOTCHES"),
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     const TPoint P = At(FindControl(Form, C.Words[0], true), C.Numbers[0], C.Numbers[1]);
                     Out.push_back([P, D = C.Numbers[2]](TForm& F) { F.HandleMouseWheel({}, D, P.X, P.Y); });
                 }});
    V.push_back({"drag", "drag NAME X1 Y1 X2 Y2 [N]", 5, 6,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     ReadWord(Args, 0, C, "drag NAME X1 Y1 X2 Y2 [N]");
                     for (size_t I = 1; I < 5; ++I) C.Numbers.push_back(ReadNumber(Args[I]));
                     // Each move is an event held in memory: the count is bounded.
                     if (Args.size() == 6) C.Numbers.push_back(ReadNumber(Args[5], 1, MaxDragSteps));
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     const TControl& Ctl = FindControl(Form, C.Words[0], true);
                     const auto& N = C.Numbers;
                     const TPoint From = At(Ctl, N[0], N[1]), To = At(Ctl, N[2], N[3]);
                     const int64_t Steps = N.size() > 4 ? N[4] : 5;
                     Press(Out, mbLeft, From);
                     for (int64_t I = 1; I <= Steps; ++I)
                         Move(Out, {ssLeft},
                              {static_cast<int>(From.X + (int64_t{To.X} - From.X) * I / Steps),
                               static_cast<int>(From.Y + (int64_t{To.Y} - From.Y) * I / Steps)});
                     Release(Out, mbLeft, To);
                 }});
    return V;
}

std::vector<TScriptVerb> KeyboardVerbs()
{
    std::vector<TScriptVerb> V;
    V.push_back({"type", "type NAME \"text\"", 2, 2,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     ReadWord(Args, 0, C, "type NAME \"text\"");
                     ReadQuoted(Args, 1, C);
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     auto& W = FindShowingAs<TWinControl>(Form, C.Words[0], "control that takes the focus");
                     if (!W.CanFocus()) throw EScriptError(Shown(C.Words[0]) + " cannot take the focus");
                     TWinControl* Target = &W;
                     Out.push_back([Target](TForm&) {
                         Target->SetFocus();
                         if (auto* E = dynamic_cast<TEdit*>(Target)) E->SelectAll();
                     });
                     TypeText(Out, C.Text);
                 }});
    V.push_back({"text", "text \"text\"", 1, 1,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) { ReadQuoted(Args, 0, C); },
                 [](const TScriptCommand& C, TForm&, TScriptEvents& Out) { TypeText(Out, C.Text); }});
    V.push_back({"key", "key KEY", 1, 1,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     ReadWord(Args, 0, C, "key KEY");
                     ParseKey(C.Words[0], C.Key, C.Shift);
                 },
                 [](const TScriptCommand& C, TForm&, TScriptEvents& Out) {
                     Out.push_back([K = C.Key, S = C.Shift](TForm& F) { F.HandleKeyDown(K, S); });
                 }});
    return V;
}

// What is done to the form as a window, or to a picture of it.
std::vector<TScriptVerb> FormVerbs()
{
    std::vector<TScriptVerb> V;
    V.push_back({"resize", "resize NAME WIDTH HEIGHT", 3, 3,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     ReadWord(Args, 0, C, "resize NAME WIDTH HEIGHT");
                     C.Numbers = {ReadNumber(Args[1], 0, MaxFormSize), ReadNumber(Args[2], 0, MaxFormSize)};
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     TControl* Target = &FindControl(Form, C.Words[0], false);
                     Out.push_back([Target, W = C.Numbers[0], H = C.Numbers[1]](TForm& F) {
                         // The form as the user sizes its window; a control keeps its place.
                         if (Target == &F) F.HandleResize(W, H);
                         else Target->SetBounds(Target->Left(), Target->Top(), W, H);
                     });
                 }});
    V.push_back({"close", "close", 0, 0, [](const std::vector<TScriptToken>&, TScriptCommand&) {},
                 [](const TScriptCommand&, TForm&, TScriptEvents& Out) {
                     Out.push_back([](TForm& F) { F.Close(); });
                 }});
    V.push_back({"snapshot", "snapshot FILE.png [NAME]", 1, 2,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     // The file name may be quoted, for names with spaces.
                     C.Text = Args[0].Text;
                     if (C.Text.empty()) throw EScriptError("snapshot needs a file name");
                     if (Args.size() > 1) ReadWord(Args, 1, C, "snapshot FILE.png [NAME]");
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     TRect Area = Rect(0, 0, Form.Surface().Width(), Form.Surface().Height());
                     if (!C.Words.empty()) {
                         Area = FindControl(Form, C.Words[0], true).SurfaceClip();
                         if (Area.IsEmpty()) throw EScriptError(Shown(C.Words[0]) + " has nothing to save");
                     }
                     try {
                         Form.Surface().SaveToPNG(C.Text, Area);
                     } catch (const Exception& E) {
                         throw EScriptError(E.Message());
                     }
                     // A snapshot is one step of the script, though no input.
                     Out.push_back([](TForm&) {});
                 }});
    return V;
}

} // namespace

std::vector<TScriptVerb> InputVerbs()
{
    std::vector<TScriptVerb> All;
    for (auto Group : {PointerVerbs, WheelAndDragVerbs, KeyboardVerbs, FormVerbs})
        for (TScriptVerb& V : Group()) All.push_back(std::move(V));
    return All;
}

void ScriptSupport::Press(TScriptEvents& Out, TMouseButton Button, TPoint P, TShiftState Keys)
{
    TShiftState S = Keys;
    S.Include(ButtonShift(Button));
    Out.push_back([=](TForm& F) { F.HandleMouseDown(Button, S, P.X, P.Y); });
}

void ScriptSupport::Release(TScriptEvents& Out, TMouseButton Button, TPoint P, TShiftState Keys)
{
    Out.push_back([=](TForm& F) { F.HandleMouseUp(Button, Keys, P.X, P.Y); });
}

void ScriptSupport::Move(TScriptEvents& Out, TShiftState Keys, TPoint P)
{
    Out.push_back([=](TForm& F) { F.HandleMouseMove(Keys, P.X, P.Y); });
}

void ScriptSupport::Click(TScriptEvents& Out, TPoint P, TShiftState Keys)
{
    Press(Out, mbLeft, P, Keys);
    Release(Out, mbLeft, P, Keys);
}
