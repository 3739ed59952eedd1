#include "platform/toolkit/HeadlessBackEnd.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/PageControl.h"

namespace {

using TCommand = THeadlessBackEnd::TCommand;

struct TToken {
    std::string Text;
    bool Quoted = false;
};

std::string Lower(std::string_view S)
{
    std::string R(S);
    for (char& C : R) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return R;
}

// Splits a line into words and "quoted texts"; "#" outside quotes ends the line.
std::vector<TToken> Tokenize(std::string_view Line)
{
    std::vector<TToken> Tokens;
    size_t I = 0;
    while (I < Line.size()) {
        char C = Line[I];
        if (C == ' ' || C == '\t' || C == '\r') {
            ++I;
        } else if (C == '#') {
            break;
        } else if (C == '"') {
            TToken T{"", true};
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
            if (I < Line.size() && Line[I] != ' ' && Line[I] != '\t' && Line[I] != '\r')
                throw EScriptError("unexpected text after the closing quote");
            Tokens.push_back(std::move(T));
        } else {
            size_t Start = I;
            while (I < Line.size() && Line[I] != ' ' && Line[I] != '\t' && Line[I] != '\r' && Line[I] != '"')
                ++I;
            Tokens.push_back({std::string(Line.substr(Start, I - Start)), false});
        }
    }
    return Tokens;
}

int ParseNumber(const TToken& T)
{
    int V = 0;
    const char* First = T.Text.data();
    const char* Last = First + T.Text.size();
    auto [Ptr, Ec] = std::from_chars(First, Last, V);
    if (T.Quoted || T.Text.empty() || Ec != std::errc() || Ptr != Last)
        throw EScriptError("bad number '" + T.Text + "'");
    return V;
}

const std::map<std::string, TKey>& KeyNames()
{
    static const std::map<std::string, TKey> Names{
        {"tab", vkTab},         {"enter", vkReturn},   {"return", vkReturn}, {"escape", vkEscape},
        {"esc", vkEscape},      {"backspace", vkBack}, {"delete", vkDelete}, {"left", vkLeft},
        {"right", vkRight},     {"up", vkUp},          {"down", vkDown},     {"home", vkHome},
        {"end", vkEnd},         {"pageup", vkPrior},   {"pagedown", vkNext}, {"space", vkSpace}};
    return Names;
}

// "Shift+Tab", "Alt+O", "Ctrl+A", "Enter": modifiers, then one key.
void ParseKey(const std::string& Text, TKey& Key, TShiftState& Shift)
{
    std::string Rest = Text;
    Shift = {};
    for (;;) {
        size_t Plus = Rest.find('+');
        if (Plus == std::string::npos || Plus + 1 == Rest.size()) break;
        std::string Mod = Lower(Rest.substr(0, Plus));
        if (Mod == "shift") Shift.Include(ssShift);
        else if (Mod == "ctrl" || Mod == "control") Shift.Include(ssCtrl);
        else if (Mod == "alt") Shift.Include(ssAlt);
        else throw EScriptError("unknown key '" + Text + "'");
        Rest = Rest.substr(Plus + 1);
    }
    if (Rest.size() == 1 && std::isalnum(static_cast<unsigned char>(Rest[0]))) {
        Key = std::toupper(static_cast<unsigned char>(Rest[0]));
        return;
    }
    auto It = KeyNames().find(Lower(Rest));
    if (It == KeyNames().end()) throw EScriptError("unknown key '" + Text + "'");
    Key = It->second;
}

struct TVerbShape {
    const char* Usage;
    size_t MinArgs, MaxArgs;
};

const std::map<std::string, TVerbShape>& Verbs()
{
    static const std::map<std::string, TVerbShape> Shapes{
        {"click", {"click NAME [X Y]", 1, 3}},
        {"press", {"press NAME X Y [right]", 3, 4}},
        {"move", {"move NAME X Y [left]", 3, 4}},
        {"release", {"release NAME X Y [right]", 3, 4}},
        {"drag", {"drag NAME X1 Y1 X2 Y2 [N]", 5, 6}},
        {"hover", {"hover NAME X Y", 3, 3}},
        {"type", {"type NAME \"text\"", 2, 2}},
        {"text", {"text \"text\"", 1, 1}},
        {"key", {"key KEY", 1, 1}},
        {"select", {"select GRID COL ROW", 3, 3}},
        {"page", {"page PAGECONTROL INDEX", 2, 2}},
        {"snapshot", {"snapshot FILE.png [NAME]", 1, 2}}};
    return Shapes;
}

// Reads one non-empty line; the caller adds the line number to errors.
TCommand ParseCommand(const std::vector<TToken>& Tokens)
{
    if (Tokens[0].Quoted) throw EScriptError("a line must start with a command");
    TCommand C;
    C.Verb = Lower(Tokens[0].Text);
    auto Shape = Verbs().find(C.Verb);
    if (Shape == Verbs().end()) throw EScriptError("unknown command '" + Tokens[0].Text + "'");
    const std::vector<TToken> Args(Tokens.begin() + 1, Tokens.end());
    const std::string Usage = std::string("usage: ") + Shape->second.Usage;
    if (Args.size() < Shape->second.MinArgs || Args.size() > Shape->second.MaxArgs) throw EScriptError(Usage);
    auto Word = [&](size_t I) {
        if (Args[I].Quoted) throw EScriptError(Usage);
        C.Words.push_back(Args[I].Text);
    };
    auto Numbers = [&](size_t From, size_t To) {
        for (size_t I = From; I < To; ++I) C.Numbers.push_back(ParseNumber(Args[I]));
    };
    auto Quoted = [&](size_t I) {
        if (!Args[I].Quoted) throw EScriptError("expected a quoted text, found '" + Args[I].Text + "'");
        C.Text = Args[I].Text;
    };
    if (C.Verb == "text") {
        Quoted(0);
        return C;
    }
    if (C.Verb == "key") {
        Word(0);
        ParseKey(C.Words[0], C.Key, C.Shift);
        return C;
    }
    if (C.Verb == "snapshot") {
        // The file name may be quoted, for names with spaces.
        C.Text = Args[0].Text;
        if (Args.size() > 1) Word(1);
        return C;
    }
    Word(0);
    if (C.Verb == "type") {
        Quoted(1);
    } else if (C.Verb == "click") {
        if (Args.size() == 2) throw EScriptError(Usage);
        Numbers(1, Args.size());
    } else if (C.Verb == "press" || C.Verb == "release" || C.Verb == "move") {
        Numbers(1, 3);
        if (Args.size() == 4) {
            const std::string Flag = Lower(Args[3].Text);
            if (Args[3].Quoted || Flag != (C.Verb == "move" ? "left" : "right")) throw EScriptError(Usage);
            C.Flag = true;
        }
    } else if (C.Verb == "drag") {
        Numbers(1, Args.size());
        if (C.Numbers.size() == 5 && C.Numbers[4] < 1) throw EScriptError("a drag needs at least one move");
    } else {
        Numbers(1, Args.size());
    }
    return C;
}

std::vector<TCommand> ParseScript(std::string_view Script)
{
    std::vector<TCommand> Commands;
    int LineNo = 0;
    size_t Pos = 0;
    while (Pos <= Script.size()) {
        size_t End = Script.find('\n', Pos);
        if (End == std::string_view::npos) End = Script.size();
        std::string_view Line = Script.substr(Pos, End - Pos);
        Pos = End + 1;
        ++LineNo;
        try {
            std::vector<TToken> Tokens = Tokenize(Line);
            if (Tokens.empty()) continue;
            TCommand C = ParseCommand(Tokens);
            C.Line = LineNo;
            Commands.push_back(std::move(C));
        } catch (const EScriptError& E) {
            throw EScriptError("script line " + std::to_string(LineNo) + ": " + E.Message());
        }
    }
    return Commands;
}

TComponent* FindOwned(const TComponent& Root, const std::string& Name)
{
    if (TComponent* C = Root.FindComponent(Name)) return C;
    for (int I = 0; I < Root.ComponentCount(); ++I)
        if (TComponent* C = FindOwned(*Root.Components(I), Name)) return C;
    return nullptr;
}

std::string FormTitle(const TForm& Form) { return Form.Name().empty() ? Form.ClassName() : Form.Name(); }

TControl& FindControl(TForm& Form, const std::string& Name)
{
    if (Lower(Name) == "form") return Form;
    TComponent* C = FindOwned(Form, Name);
    if (!C) throw EScriptError("no control named '" + Name + "' on " + FormTitle(Form));
    auto* Control = dynamic_cast<TControl*>(C);
    if (!Control) throw EScriptError("'" + Name + "' is a " + C->ClassName() + ", not a control");
    if (Control->ParentForm() != &Form) throw EScriptError("'" + Name + "' is not on " + FormTitle(Form));
    return *Control;
}

// A control the script points at must be where the user could reach it.
TControl& FindShowing(TForm& Form, const std::string& Name)
{
    TControl& C = FindControl(Form, Name);
    if (!C.Showing()) throw EScriptError("'" + Name + "' is not showing");
    return C;
}

template <typename T>
T& FindShowingAs(TForm& Form, const std::string& Name, const char* What)
{
    TControl& C = FindShowing(Form, Name);
    auto* Typed = dynamic_cast<T*>(&C);
    if (!Typed) throw EScriptError("'" + Name + "' is a " + C.ClassName() + ", not a " + What);
    return *Typed;
}

// Splits UTF-8 text into characters; a stray byte counts as one character.
std::vector<std::string> Characters(const std::string& Text)
{
    std::vector<std::string> R;
    size_t I = 0;
    while (I < Text.size()) {
        auto Lead = static_cast<unsigned char>(Text[I]);
        size_t Len = Lead < 0x80 ? 1 : (Lead >> 5) == 0x6 ? 2 : (Lead >> 4) == 0xE ? 3 : (Lead >> 3) == 0x1E ? 4 : 1;
        if (I + Len > Text.size()) Len = 1;
        for (size_t K = 1; K < Len; ++K)
            if ((static_cast<unsigned char>(Text[I + K]) & 0xC0) != 0x80) Len = 1;
        R.push_back(Text.substr(I, Len));
        I += Len;
    }
    return R;
}

} // namespace

THeadlessBackEnd::THeadlessBackEnd() = default;

THeadlessBackEnd::THeadlessBackEnd(std::string_view Script) { LoadScript(Script); }

THeadlessBackEnd::~THeadlessBackEnd() = default;

void THeadlessBackEnd::LoadScript(std::string_view Script)
{
    std::vector<TCommand> Commands = ParseScript(Script);
    FCommands = std::move(Commands);
    FNext = 0;
    FPending.clear();
    FScriptError.clear();
}

void THeadlessBackEnd::LoadScriptFile(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    if (!In) throw Exception("Cannot read event script " + FileName);
    std::ostringstream Text;
    Text << In.rdbuf();
    if (In.bad()) throw Exception("Cannot read event script " + FileName);
    try {
        LoadScript(Text.str());
    } catch (const EScriptError& E) {
        throw EScriptError(FileName + ": " + E.Message());
    }
}

void THeadlessBackEnd::FormShown(TForm&) { ++FDepth; }

void THeadlessBackEnd::Present(TForm&) {}

void THeadlessBackEnd::FormHidden(TForm& Form)
{
    --FDepth;
    if (FDepth == 0 && !FFinalSnapshot.empty()) Form.Surface().SaveToPNG(FFinalSnapshot);
}

void THeadlessBackEnd::ShowError(const std::string& Message) { FErrors.push_back(Message); }

bool THeadlessBackEnd::ProcessNextEvent(TForm& Form)
{
    if (Failed()) return false;
    int Line = 0;
    try {
        while (FPending.empty()) {
            if (FNext >= FCommands.size()) return false;
            const TCommand& C = FCommands[FNext++];
            Line = C.Line;
            Expand(C, Form);
        }
    } catch (const EScriptError& E) {
        FPending.clear();
        FScriptError = "script line " + std::to_string(Line) + ": " + E.Message();
        throw EScriptError(FScriptError);
    }
    TEvent Event = std::move(FPending.front());
    FPending.pop_front();
    Event(Form);
    return true;
}

// Turns one command into the input events it stands for, resolving names and
// coordinates against the form now, when the command is reached: a nested modal form
// opened by an earlier command is the one the next lines address.
void THeadlessBackEnd::Expand(const TCommand& C, TForm& Form)
{
    auto Press = [this](TMouseButton B, TPoint P) {
        TShiftState S{B == mbRight ? ssRight : ssLeft};
        FPending.push_back([=](TForm& F) { F.HandleMouseDown(B, S, P.X, P.Y); });
    };
    auto Release = [this](TMouseButton B, TPoint P) {
        FPending.push_back([=](TForm& F) { F.HandleMouseUp(B, {}, P.X, P.Y); });
    };
    auto Move = [this](TShiftState S, TPoint P) {
        FPending.push_back([=](TForm& F) { F.HandleMouseMove(S, P.X, P.Y); });
    };
    auto At = [](const TControl& Ctl, int X, int Y) {
        TPoint O = Ctl.SurfaceOrigin();
        return TPoint{O.X + X, O.Y + Y};
    };
    const std::vector<int>& N = C.Numbers;

    if (C.Verb == "click") {
        TControl& Ctl = FindShowing(Form, C.Words[0]);
        TPoint P = N.empty() ? At(Ctl, Ctl.Width() / 2, Ctl.Height() / 2) : At(Ctl, N[0], N[1]);
        Press(mbLeft, P);
        Release(mbLeft, P);
    } else if (C.Verb == "press") {
        Press(C.Flag ? mbRight : mbLeft, At(FindShowing(Form, C.Words[0]), N[0], N[1]));
    } else if (C.Verb == "release") {
        // The press may have hidden the control; releasing over it still makes sense.
        Release(C.Flag ? mbRight : mbLeft, At(FindControl(Form, C.Words[0]), N[0], N[1]));
    } else if (C.Verb == "move") {
        Move(C.Flag ? TShiftState{ssLeft} : TShiftState{}, At(FindControl(Form, C.Words[0]), N[0], N[1]));
    } else if (C.Verb == "hover") {
        Move({}, At(FindShowing(Form, C.Words[0]), N[0], N[1]));
    } else if (C.Verb == "drag") {
        TControl& Ctl = FindShowing(Form, C.Words[0]);
        TPoint From = At(Ctl, N[0], N[1]), To = At(Ctl, N[2], N[3]);
        int Steps = N.size() > 4 ? N[4] : 5;
        Press(mbLeft, From);
        for (int I = 1; I <= Steps; ++I)
            Move({ssLeft}, {From.X + (To.X - From.X) * I / Steps, From.Y + (To.Y - From.Y) * I / Steps});
        Release(mbLeft, To);
    } else if (C.Verb == "type" || C.Verb == "text") {
        if (C.Verb == "type") {
            auto& W = FindShowingAs<TWinControl>(Form, C.Words[0], "control that takes the focus");
            if (!W.CanFocus()) throw EScriptError("'" + C.Words[0] + "' cannot take the focus");
            TWinControl* Target = &W;
            FPending.push_back([Target](TForm&) {
                Target->SetFocus();
                if (auto* E = dynamic_cast<TEdit*>(Target)) E->SelectAll();
            });
        }
        for (std::string& Ch : Characters(C.Text))
            FPending.push_back([Ch = std::move(Ch)](TForm& F) { F.HandleTextInput(Ch); });
    } else if (C.Verb == "key") {
        FPending.push_back([K = C.Key, S = C.Shift](TForm& F) { F.HandleKeyDown(K, S); });
    } else if (C.Verb == "select") {
        auto& Grid = FindShowingAs<TDrawGrid>(Form, C.Words[0], "draw grid");
        int Col = N[0], Row = N[1];
        if (Col < 0 || Col >= Grid.ColCount() || Row < 0 || Row >= Grid.RowCount())
            throw EScriptError("cell " + std::to_string(Col) + "," + std::to_string(Row) + " is outside " +
                               C.Words[0] + " (" + std::to_string(Grid.ColCount()) + "x" +
                               std::to_string(Grid.RowCount()) + ")");
        TRect R = Intersect(Grid.CellRect(Col, Row), Grid.ClientRect());
        if (R.IsEmpty()) throw EScriptError("cell " + std::to_string(Col) + "," + std::to_string(Row) + " is not visible");
        TPoint P = At(Grid, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
        Press(mbLeft, P);
        Release(mbLeft, P);
    } else if (C.Verb == "page") {
        auto& Pages = FindShowingAs<TPageControl>(Form, C.Words[0], "page control");
        int Index = N[0];
        if (Index < 0 || Index >= Pages.PageCount())
            throw EScriptError("page " + std::to_string(Index) + " is outside " + C.Words[0] + " (" +
                               std::to_string(Pages.PageCount()) + " pages)");
        TRect R = Pages.TabRect(Index);
        TPoint P = At(Pages, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
        Press(mbLeft, P);
        Release(mbLeft, P);
    } else if (C.Verb == "snapshot") {
        TRect Area = Rect(0, 0, Form.Surface().Width(), Form.Surface().Height());
        if (!C.Words.empty()) {
            Area = FindShowing(Form, C.Words[0]).SurfaceClip();
            if (Area.IsEmpty()) throw EScriptError("'" + C.Words[0] + "' has nothing to save");
        }
        try {
            Form.Surface().SaveToPNG(C.Text, Area);
        } catch (const Exception& E) {
            throw EScriptError(E.Message());
        }
        // A snapshot is one step of the script, though no input.
        FPending.push_back([](TForm&) {});
    }
}
