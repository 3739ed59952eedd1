#include "platform/toolkit/backends/EventScript.h"

#include <cctype>
#include <charconv>
#include <map>
#include <memory>
#include <mutex>

#include "platform/rtl/Utf8.h"
#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PopupMenu.h"

using namespace ScriptSupport;

namespace {

// Splits a line into words and "quoted texts"; "#" outside quotes ends the line.
std::vector<TScriptToken> Tokenize(std::string_view Line)
{
    std::vector<TScriptToken> Tokens;
    auto Blank = [](char C) { return C == ' ' || C == '\t' || C == '\r'; };
    size_t I = 0;
    while (I < Line.size()) {
        const char C = Line[I];
        if (Blank(C)) {
            ++I;
        } else if (C == '#') {
            break;
        } else if (C == '"') {
            TScriptToken T{"", true};
            ++I;
            bool Closed = false;
            while (I < Line.size()) {
                char D = Line[I++];
                if (D == '"') {
                    Closed = true;
                    break;
                }
                if (D == '\\' && I < Line.size() && (Line[I] == '"' || Line[I] == '\\')) D = Line[I++];
                T.Text += D;
            }
            if (!Closed) throw EScriptError("missing closing quote");
            if (I < Line.size() && !Blank(Line[I])) throw EScriptError("unexpected text after the closing quote");
            Tokens.push_back(std::move(T));
        } else {
            const size_t Start = I;
            while (I < Line.size() && !Blank(Line[I]) && Line[I] != '"') ++I;
            Tokens.push_back({std::string(Line.substr(Start, I - Start)), false});
        }
    }
    return Tokens;
}

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

TComponent* FindOwned(const TComponent& Root, const std::string& Name)
{
    if (TComponent* C = Root.FindComponent(Name)) return C;
    for (int I = 0; I < Root.ComponentCount(); ++I)
        if (TComponent* C = FindOwned(*Root.Components(I), Name)) return C;
    return nullptr;
}

std::string FormTitle(const TForm& Form) { return Form.Name().empty() ? Form.ClassName() : Form.Name(); }

// Argument readers for the built-in verbs.
void Word(const std::vector<TScriptToken>& Args, size_t I, TScriptCommand& C, const std::string& Usage)
{
    if (Args[I].Quoted) throw EScriptError("usage: " + Usage);
    C.Words.push_back(Args[I].Text);
}

void Numbers(const std::vector<TScriptToken>& Args, size_t From, TScriptCommand& C)
{
    for (size_t I = From; I < Args.size(); ++I) C.Numbers.push_back(ReadNumber(Args[I]));
}

void Quoted(const std::vector<TScriptToken>& Args, size_t I, TScriptCommand& C)
{
    if (!Args[I].Quoted) throw EScriptError("expected a quoted text, found " + Shown(Args[I].Text));
    C.Text = Args[I].Text;
}

// press, release, move: NAME X Y and an optional flag word.
TScriptVerb PointerVerb(const char* Name, const char* FlagWord, const char* Usage,
                        std::function<void(const TScriptCommand&, TForm&, TScriptEvents&)> Expand)
{
    return {Name, Usage, 3, 4,
            [FlagWord, Usage](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                Word(Args, 0, C, Usage);
                C.Numbers = {ReadNumber(Args[1]), ReadNumber(Args[2])};
                if (Args.size() == 4) {
                    if (Args[3].Quoted || LowerCase(Args[3].Text) != FlagWord)
                        throw EScriptError(std::string("usage: ") + Usage);
                    C.Flag = true;
                }
            },
            std::move(Expand)};
}

void Press(TScriptEvents& Out, TMouseButton B, TPoint P, TShiftState Keys = {})
{
    TShiftState S = Keys;
    S.Include(ButtonShift(B));
    Out.push_back([=](TForm& F) { F.HandleMouseDown(B, S, P.X, P.Y); });
}

void Release(TScriptEvents& Out, TMouseButton B, TPoint P, TShiftState Keys = {})
{
    Out.push_back([=](TForm& F) { F.HandleMouseUp(B, Keys, P.X, P.Y); });
}

void Move(TScriptEvents& Out, TShiftState S, TPoint P)
{
    Out.push_back([=](TForm& F) { F.HandleMouseMove(S, P.X, P.Y); });
}

// The topmost open popup menu among the form's children, or nullptr.
const TPopupMenu* OpenMenu(const TForm& Form)
{
    for (int I = Form.ControlCount() - 1; I >= 0; --I)
        if (const auto* Menu = dynamic_cast<const TPopupMenu*>(Form.Controls(I)); Menu && Menu->IsOpen()) return Menu;
    return nullptr;
}

std::vector<TScriptVerb> BuiltInVerbs()
{
    std::vector<TScriptVerb> V;
    V.push_back({"click", "click NAME [X Y]", 1, 3,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     if (Args.size() == 2) throw EScriptError("usage: click NAME [X Y]");
                     Word(Args, 0, C, "click NAME [X Y]");
                     Numbers(Args, 1, C);
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     const TControl& Ctl = FindControl(Form, C.Words[0], true);
                     const auto& N = C.Numbers;
                     Click(Out, N.empty() ? At(Ctl, Ctl.Width() / 2, Ctl.Height() / 2) : At(Ctl, N[0], N[1]));
                 }});
    V.push_back({"dblclick", "dblclick NAME [X Y]", 1, 3,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     if (Args.size() == 2) throw EScriptError("usage: dblclick NAME [X Y]");
                     Word(Args, 0, C, "dblclick NAME [X Y]");
                     Numbers(Args, 1, C);
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     const TControl& Ctl = FindControl(Form, C.Words[0], true);
                     const auto& N = C.Numbers;
                     const TPoint P = N.empty() ? At(Ctl, Ctl.Width() / 2, Ctl.Height() / 2) : At(Ctl, N[0], N[1]);
                     // As a window reports it: a click, then a press marked as the second.
                     Click(Out, P);
                     Press(Out, mbLeft, P, {ssDouble});
                     Release(Out, mbLeft, P);
                 }});
    V.push_back({"rclick", "rclick NAME [X Y]", 1, 3,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     if (Args.size() == 2) throw EScriptError("usage: rclick NAME [X Y]");
                     Word(Args, 0, C, "rclick NAME [X Y]");
                     Numbers(Args, 1, C);
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     const TControl& Ctl = FindControl(Form, C.Words[0], true);
                     const auto& N = C.Numbers;
                     const TPoint P = N.empty() ? At(Ctl, Ctl.Width() / 2, Ctl.Height() / 2) : At(Ctl, N[0], N[1]);
                     Press(Out, mbRight, P);
                     Release(Out, mbRight, P);
                 }});
    V.push_back({"menu", "menu \"item\"", 1, 1,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) { Quoted(Args, 0, C); },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     const TPopupMenu* Menu = OpenMenu(Form);
                     if (!Menu) throw EScriptError("no menu is open");
                     const int Index = Menu->IndexOfCaption(C.Text);
                     if (Index < 0) throw EScriptError("the menu has no item " + QuotedInput(C.Text));
                     if (!Menu->CanChoose(Index))
                         throw EScriptError("the menu item " + QuotedInput(C.Text) + " is disabled");
                     const TRect R = Menu->ItemRect(Index);
                     Click(Out, At(*Menu, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
                 }});
    V.push_back(PointerVerb("press", "right", "press NAME X Y [right]",
                            [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                                Press(Out, C.Flag ? mbRight : mbLeft,
                                      At(FindControl(Form, C.Words[0], true), C.Numbers[0], C.Numbers[1]));
                            }));
    // The press may have hidden the control; releasing or moving over it still counts.
    V.push_back(PointerVerb("release", "right", "release NAME X Y [right]",
                            [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                                Release(Out, C.Flag ? mbRight : mbLeft,
                                        At(FindControl(Form, C.Words[0], false), C.Numbers[0], C.Numbers[1]));
                            }));
    V.push_back(PointerVerb("move", "left", "move NAME X Y [left]",
                            [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                                Move(Out, C.Flag ? TShiftState{ssLeft} : TShiftState{},
                                     At(FindControl(Form, C.Words[0], false), C.Numbers[0], C.Numbers[1]));
                            }));
    V.push_back({"hover", "hover NAME X Y", 3, 3,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     Word(Args, 0, C, "hover NAME X Y");
                     Numbers(Args, 1, C);
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     Move(Out, {}, At(FindControl(Form, C.Words[0], true), C.Numbers[0], C.Numbers[1]));
                 }});
    V.push_back({"wheel", "wheel NAME X Y NOTCHES", 4, 4,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     Word(Args, 0, C, "wheel NAME X Y NOTCHES");
                     Numbers(Args, 1, C);
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     const TPoint P = At(FindControl(Form, C.Words[0], true), C.Numbers[0], C.Numbers[1]);
                     Out.push_back([P, D = C.Numbers[2]](TForm& F) { F.HandleMouseWheel({}, D, P.X, P.Y); });
                 }});
    V.push_back({"drag", "drag NAME X1 Y1 X2 Y2 [N]", 5, 6,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     Word(Args, 0, C, "drag NAME X1 Y1 X2 Y2 [N]");
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
    V.push_back({"type", "type NAME \"text\"", 2, 2,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     Word(Args, 0, C, "type NAME \"text\"");
                     Quoted(Args, 1, C);
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
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) { Quoted(Args, 0, C); },
                 [](const TScriptCommand& C, TForm&, TScriptEvents& Out) { TypeText(Out, C.Text); }});
    V.push_back({"key", "key KEY", 1, 1,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     Word(Args, 0, C, "key KEY");
                     ParseKey(C.Words[0], C.Key, C.Shift);
                 },
                 [](const TScriptCommand& C, TForm&, TScriptEvents& Out) {
                     Out.push_back([K = C.Key, S = C.Shift](TForm& F) { F.HandleKeyDown(K, S); });
                 }});
    V.push_back({"select", "select GRID COL ROW", 3, 3,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     Word(Args, 0, C, "select GRID COL ROW");
                     Numbers(Args, 1, C);
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     auto& Grid = FindShowingAs<TDrawGrid>(Form, C.Words[0], "draw grid");
                     const int Col = C.Numbers[0], Row = C.Numbers[1];
                     const std::string Cell = "cell " + std::to_string(Col) + "," + std::to_string(Row);
                     if (Col < 0 || Col >= Grid.ColCount() || Row < 0 || Row >= Grid.RowCount())
                         throw EScriptError(Cell + " is outside " + Shown(C.Words[0]) + " (" +
                                            std::to_string(Grid.ColCount()) + "x" + std::to_string(Grid.RowCount()) +
                                            ")");
                     const TRect R = Intersect(Grid.CellRect(Col, Row), Grid.ClientRect());
                     if (R.IsEmpty()) throw EScriptError(Cell + " is not visible");
                     Click(Out, At(Grid, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
                 }});
    V.push_back({"page", "page PAGECONTROL INDEX", 2, 2,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     Word(Args, 0, C, "page PAGECONTROL INDEX");
                     Numbers(Args, 1, C);
                 },
                 [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
                     auto& Pages = FindShowingAs<TPageControl>(Form, C.Words[0], "page control");
                     const int Index = C.Numbers[0];
                     if (Index < 0 || Index >= Pages.PageCount())
                         throw EScriptError("page " + std::to_string(Index) + " is outside " + Shown(C.Words[0]) + " (" +
                                            std::to_string(Pages.PageCount()) + " pages)");
                     const TRect R = Pages.TabRect(Index);
                     Click(Out, At(Pages, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
                 }});
    V.push_back({"resize", "resize NAME WIDTH HEIGHT", 3, 3,
                 [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                     Word(Args, 0, C, "resize NAME WIDTH HEIGHT");
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
                     if (Args.size() > 1) Word(Args, 1, C, "snapshot FILE.png [NAME]");
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

struct TVerbEntry {
    std::unique_ptr<TScriptVerb> Verb;
    TModuleHandle Module;
};

std::vector<TVerbEntry>& Verbs()
{
    static std::vector<TVerbEntry> Entries = [] {
        std::vector<TVerbEntry> E;
        for (TScriptVerb& V : BuiltInVerbs()) E.push_back({std::make_unique<TScriptVerb>(std::move(V)), nullptr});
        return E;
    }();
    static const TModuleUnloadProcId Hook = AddModuleUnloadProc([](TModuleHandle Module) {
        std::erase_if(Entries, [Module](const TVerbEntry& E) { return E.Module && E.Module == Module; });
    });
    (void)Hook;
    return Entries;
}

// Reads one non-empty line; the caller adds the line number to errors.
TScriptCommand ParseCommand(const std::vector<TScriptToken>& Tokens)
{
    if (Tokens[0].Quoted) throw EScriptError("a line must start with a command");
    TScriptCommand C;
    C.Verb = LowerCase(Tokens[0].Text);
    const TScriptVerb* Verb = FindScriptVerb(C.Verb);
    if (!Verb) throw EScriptError("unknown command " + Shown(Tokens[0].Text));
    const std::vector<TScriptToken> Args(Tokens.begin() + 1, Tokens.end());
    if (Args.size() < Verb->MinArgs || Args.size() > Verb->MaxArgs) throw EScriptError("usage: " + Verb->Usage);
    Verb->Parse(Args, C);
    return C;
}

std::string AtLine(int Line, const std::string& Message)
{
    return "script line " + std::to_string(Line) + ": " + Message;
}

} // namespace

void RegisterScriptVerb(TScriptVerb Verb, TModuleHandle Module)
{
    auto& Entries = Verbs();
    Verb.Name = LowerCase(Verb.Name);
    std::erase_if(Entries, [&](const TVerbEntry& E) { return E.Verb->Name == Verb.Name; });
    Entries.push_back({std::make_unique<TScriptVerb>(std::move(Verb)), Module});
}

const TScriptVerb* FindScriptVerb(std::string_view Name)
{
    for (const TVerbEntry& E : Verbs())
        if (SameText(E.Verb->Name, Name)) return E.Verb.get();
    return nullptr;
}

std::vector<TScriptCommand> ParseScript(std::string_view Script)
{
    std::vector<TScriptCommand> Commands;
    int LineNo = 0;
    size_t Pos = 0;
    while (Pos <= Script.size()) {
        size_t End = Script.find('\n', Pos);
        if (End == std::string_view::npos) End = Script.size();
        const std::string_view Line = Script.substr(Pos, End - Pos);
        Pos = End + 1;
        ++LineNo;
        try {
            const std::vector<TScriptToken> Tokens = Tokenize(Line);
            if (Tokens.empty()) continue;
            TScriptCommand C = ParseCommand(Tokens);
            C.Line = LineNo;
            Commands.push_back(std::move(C));
        } catch (const EScriptError& E) {
            throw EScriptError(AtLine(LineNo, E.Message()));
        }
    }
    return Commands;
}

void ExpandScriptCommand(const TScriptCommand& C, TForm& Form, TScriptEvents& Out)
{
    try {
        const TScriptVerb* Verb = FindScriptVerb(C.Verb);
        if (!Verb) throw EScriptError("command " + Shown(C.Verb) + " is no longer known");
        Verb->Expand(C, Form, Out);
    } catch (const EScriptError& E) {
        throw EScriptError(AtLine(C.Line, E.Message()));
    }
}

int ScriptSupport::ReadNumber(const TScriptToken& T, int Min, int Max)
{
    int V = 0;
    const char* First = T.Text.data();
    const char* Last = First + T.Text.size();
    auto [Ptr, Ec] = std::from_chars(First, Last, V);
    const bool Digits = !T.Quoted && !T.Text.empty() && Ptr == Last;
    if (Digits && (Ec == std::errc::result_out_of_range || V < Min || V > Max))
        throw EScriptError(Shown(T.Text) + " is out of range (" + std::to_string(Min) + ".." + std::to_string(Max) +
                           ")");
    if (!Digits || Ec != std::errc()) throw EScriptError("bad number " + Shown(T.Text));
    return V;
}

TControl& ScriptSupport::FindControl(TForm& Form, const std::string& Name, bool Showing)
{
    TControl* Control = &Form;
    if (!SameText(Name, "form")) {
        TComponent* C = FindOwned(Form, Name);
        if (!C) throw EScriptError("no control named " + Shown(Name) + " on " + FormTitle(Form));
        Control = dynamic_cast<TControl*>(C);
        if (!Control) throw EScriptError(Shown(Name) + " is a " + C->ClassName() + ", not a control");
        if (Control->ParentForm() != &Form) throw EScriptError(Shown(Name) + " is not on " + FormTitle(Form));
    }
    // A control the script points at must be where the user could reach it.
    if (Showing && !Control->Showing()) throw EScriptError(Shown(Name) + " is not showing");
    return *Control;
}

TPoint ScriptSupport::At(const TControl& Control, int X, int Y)
{
    const TPoint O = Control.SurfaceOrigin();
    return {O.X + X, O.Y + Y};
}

void ScriptSupport::Click(TScriptEvents& Out, TPoint P, TShiftState Keys)
{
    Press(Out, mbLeft, P, Keys);
    Release(Out, mbLeft, P, Keys);
}
