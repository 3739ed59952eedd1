#pragma once
// Event scripts: input for a running form, written as text, in a language of verbs that
// libraries extend. One command per line; blank lines and text after "#" (outside
// quotes) are ignored. The language's own verbs:
//
//   click NAME [X Y]            left press and release at X,Y (default: the centre)
//   dblclick NAME [X Y]         a click, then a second press (marked as a double click)
//                               and release at the same place
//   rclick NAME [X Y]           right press and release at X,Y (default: the centre)
//   press NAME X Y [right]      press the left (or right) button
//   move NAME X Y [left]        pointer move, with the left button held if "left"
//   release NAME X Y [right]    release the left (or right) button
//   drag NAME X1 Y1 X2 Y2 [N]   left press at 1, N moves (default 5, at most 5000) to 2,
//                               release
//   hover NAME X Y              pointer move without buttons
//   wheel NAME X Y NOTCHES      the wheel turned (positive: away from the user)
//   type NAME "text"            focus NAME as Tab would (an edit selects all), then
//                               one text input per character
//   text "text"                 one text input per character, to the focused control
//   key KEY                     Tab, Shift+Tab, Enter, Escape, Backspace, Delete, Left,
//                               Right, Up, Down, Home, End, PageUp, PageDown, Space, F2,
//                               a letter or digit; with Shift+, Ctrl+, Alt+ prefixes
//   resize NAME W H             the form's window sized by the user (as far as its
//                               minimum allows), or a control's size
//   close                       the window's close button: the form's Close
//   snapshot FILE.png [NAME]    save the form surface (or NAME's visible part)
//
// Controls with gestures of their own add verbs from their own code (RegisterScriptVerb):
// the draw grid `select`, the page control `page`, the popup menu `menu`, and the
// libraries above the toolkit theirs. NAME is a component of the running form (found on
// the form, then among the components its components own), or "form" for the form
// itself. Coordinates are relative to the named control and lie within
// ±MaxScriptCoordinate. Quoted texts take \" and \\ as escapes.
//
// The verb table, like the rest of the toolkit, is used from the GUI thread only.

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Modules.h"
#include "platform/toolkit/Control.h"
#include "platform/toolkit/Export.h"

class TForm;

class QELL_TOOLKIT_API EScriptError : public Exception {
public:
    using Exception::Exception;
};

constexpr int MaxScriptCoordinate = 1000000;
constexpr int MaxDragSteps = 5000;

// A word of a line: plain, or a "quoted text".
struct TScriptToken {
    std::string Text;
    bool Quoted = false;
};

// One line as read.
struct TScriptCommand {
    int Line = 0;
    std::string Verb; // lower case
    std::vector<std::string> Words;
    std::vector<int> Numbers;
    std::string Text;
    bool Flag = false; // "right" for press and release, "left" for move
    TKey Key = 0;
    TShiftState Shift;
};

// An input event for the running form, and the events one command stands for.
using TScriptEvent = std::function<void(TForm& Form)>;
using TScriptEvents = std::deque<TScriptEvent>;

// A command word. Parse reads the arguments (their count already checked) into the
// command; Expand turns the command into input events against the running form, when
// the command is reached, so that a nested modal form opened by an earlier command is
// the one that later lines address. Both raise EScriptError, without the line number.
struct TScriptVerb {
    std::string Name;
    std::string Usage; // "click NAME [X Y]"
    size_t MinArgs = 0, MaxArgs = 0;
    std::function<void(const std::vector<TScriptToken>& Args, TScriptCommand& C)> Parse;
    std::function<void(const TScriptCommand& C, TForm& Form, TScriptEvents& Out)> Expand;
};

// Adds a verb for Module (the caller's by default), or replaces the one of that name.
// The verb goes when Module is unloaded.
QELL_TOOLKIT_API void RegisterScriptVerb(TScriptVerb Verb, TModuleHandle Module = HInstance());
QELL_TOOLKIT_API const TScriptVerb* FindScriptVerb(std::string_view Name);

// A script's text and the place reached in it. The whole text is checked when the
// script is made; each command is read from the text again when it is reached, so that
// a script costs its text in memory and time in proportion to its length, whatever its
// lines hold.
class QELL_TOOLKIT_API TEventScript {
public:
    // No commands.
    TEventScript() = default;
    // Raises EScriptError "script line N: …" on the first line that cannot be read
    // (unknown command or key, bad or out-of-range number, missing quote, wrong
    // arguments).
    explicit TEventScript(std::string Text);

    // Reads the next command into C and answers true; false at the end. Raises
    // EScriptError "script line N: …" when its line no longer reads (the module of its
    // verb was unloaded since).
    bool Next(TScriptCommand& C);
    // No command is left.
    bool AtEnd() const { return FPos >= FEnd; }

private:
    std::string FText;
    size_t FPos = 0; // where the next line starts
    size_t FEnd = 0; // past the last line with a command
    int FLine = 0;   // lines passed
};
// The events of one command; raises EScriptError "script line N: …".
QELL_TOOLKIT_API void ExpandScriptCommand(const TScriptCommand& C, TForm& Form, TScriptEvents& Out);

// Building blocks for verbs.
namespace ScriptSupport {
// Argument I as a plain word, added to C.Words; "usage: Usage" when it is quoted.
QELL_TOOLKIT_API void ReadWord(const std::vector<TScriptToken>& Args, size_t I, TScriptCommand& C,
                               const std::string& Usage);
// Argument I as a quoted text, into C.Text.
QELL_TOOLKIT_API void ReadQuoted(const std::vector<TScriptToken>& Args, size_t I, TScriptCommand& C);
// Every argument from From on as a coordinate, added to C.Numbers.
QELL_TOOLKIT_API void ReadNumbers(const std::vector<TScriptToken>& Args, size_t From, TScriptCommand& C);
// The parse of a verb whose first argument is a plain word and the rest coordinates
// ("select GRID COL ROW"); Usage is the verb's.
QELL_TOOLKIT_API std::function<void(const std::vector<TScriptToken>&, TScriptCommand&)>
WordAndNumbers(std::string Usage);
// A decimal number within Min..Max (by default a coordinate).
QELL_TOOLKIT_API int ReadNumber(const TScriptToken& T, int Min = -MaxScriptCoordinate, int Max = MaxScriptCoordinate);
// The named control on the form ("form": the form), showing if Showing is asked.
QELL_TOOLKIT_API TControl& FindControl(TForm& Form, const std::string& Name, bool Showing);
template <typename T>
T& FindShowingAs(TForm& Form, const std::string& Name, const char* What)
{
    TControl& C = FindControl(Form, Name, true);
    auto* Typed = dynamic_cast<T*>(&C);
    if (!Typed) throw EScriptError(QuotedInput(Name, 60) + " is a " + C.ClassName() + ", not a " + What);
    return *Typed;
}
// (X, Y) of Control in the form's client coordinates.
QELL_TOOLKIT_API TPoint At(const TControl& Control, int X, int Y);
// The centre of R, a rectangle in Control's coordinates, in the form's.
QELL_TOOLKIT_API TPoint CentreOf(const TControl& Control, const TRect& R);
// Events for Out: a press, a release (Keys held, besides the button for the press), a
// pointer move with Keys held, and a left click (press and release) at P.
QELL_TOOLKIT_API void Press(TScriptEvents& Out, TMouseButton Button, TPoint P, TShiftState Keys = {});
QELL_TOOLKIT_API void Release(TScriptEvents& Out, TMouseButton Button, TPoint P, TShiftState Keys = {});
QELL_TOOLKIT_API void Move(TScriptEvents& Out, TShiftState Keys, TPoint P);
QELL_TOOLKIT_API void Click(TScriptEvents& Out, TPoint P, TShiftState Keys = {});
} // namespace ScriptSupport
