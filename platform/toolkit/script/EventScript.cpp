#include "platform/toolkit/script/EventScript.h"

#include <charconv>
#include <memory>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/script/InputVerbs.h"

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

TComponent* FindOwned(const TComponent& Root, const std::string& Name)
{
    if (TComponent* C = Root.FindComponent(Name)) return C;
    for (int I = 0; I < Root.ComponentCount(); ++I)
        if (TComponent* C = FindOwned(*Root.Components(I), Name)) return C;
    return nullptr;
}

std::string FormTitle(const TForm& Form) { return Form.Name().empty() ? Form.ClassName() : Form.Name(); }

struct TVerbEntry {
    std::unique_ptr<TScriptVerb> Verb;
    TModuleHandle Module;
};

std::vector<TVerbEntry>& Verbs()
{
    static std::vector<TVerbEntry> Entries = [] {
        std::vector<TVerbEntry> E;
        for (TScriptVerb& V : InputVerbs()) E.push_back({std::make_unique<TScriptVerb>(std::move(V)), nullptr});
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

// The line of Text that starts at Pos, up to its line break, and Pos moved past it;
// false when Pos is past the end.
bool NextLine(std::string_view Text, size_t& Pos, std::string_view& Line)
{
    if (Pos > Text.size()) return false;
    size_t End = Text.find('\n', Pos);
    if (End == std::string_view::npos) End = Text.size();
    Line = Text.substr(Pos, End - Pos);
    Pos = End + 1;
    return true;
}

// The command on the line numbered LineNo into C; false for a line without one.
bool ReadCommand(std::string_view Line, int LineNo, TScriptCommand& C)
{
    try {
        const std::vector<TScriptToken> Tokens = Tokenize(Line);
        if (Tokens.empty()) return false;
        C = ParseCommand(Tokens);
        C.Line = LineNo;
        return true;
    } catch (const EScriptError& E) {
        throw EScriptError(AtLine(LineNo, E.Message()));
    }
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

TEventScript::TEventScript(std::string Text) : FText(std::move(Text))
{
    size_t Pos = 0;
    int LineNo = 0;
    std::string_view Line;
    TScriptCommand C;
    while (NextLine(FText, Pos, Line))
        if (ReadCommand(Line, ++LineNo, C)) FEnd = Pos;
}

bool TEventScript::Next(TScriptCommand& C)
{
    std::string_view Line;
    while (FPos < FEnd && NextLine(FText, FPos, Line))
        if (ReadCommand(Line, ++FLine, C)) return true;
    return false;
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

void ScriptSupport::ReadWord(const std::vector<TScriptToken>& Args, size_t I, TScriptCommand& C,
                             const std::string& Usage)
{
    if (Args[I].Quoted) throw EScriptError("usage: " + Usage);
    C.Words.push_back(Args[I].Text);
}

void ScriptSupport::ReadQuoted(const std::vector<TScriptToken>& Args, size_t I, TScriptCommand& C)
{
    if (!Args[I].Quoted) throw EScriptError("expected a quoted text, found " + Shown(Args[I].Text));
    C.Text = Args[I].Text;
}

std::function<void(const std::vector<TScriptToken>&, TScriptCommand&)>
ScriptSupport::WordAndNumbers(std::string Usage)
{
    return [Usage = std::move(Usage)](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
        ReadWord(Args, 0, C, Usage);
        ReadNumbers(Args, 1, C);
    };
}

void ScriptSupport::ReadNumbers(const std::vector<TScriptToken>& Args, size_t From, TScriptCommand& C)
{
    for (size_t I = From; I < Args.size(); ++I) C.Numbers.push_back(ReadNumber(Args[I]));
}

TPoint ScriptSupport::At(const TControl& Control, int X, int Y)
{
    const TPoint O = Control.SurfaceOrigin();
    return {O.X + X, O.Y + Y};
}

TPoint ScriptSupport::CentreOf(const TControl& Control, const TRect& R)
{
    return At(Control, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}
