#include "platform/toolkit/Memo.h"

#include <algorithm>
#include <cstdlib>

#include "platform/graphics/Drawing.h"
#include "platform/graphics/TextLayout.h"
#include "platform/rtl/Publish.h"
#include "platform/rtl/Utf8.h"

namespace {

constexpr int Frame = 2;
constexpr int TextLeft = 3, TextTop = 3; // the frame and one pixel of margin
constexpr int WheelLines = 3;

// Line breaks as line feeds, without the other control characters or bytes that are
// not UTF-8, which no font could show.
std::string Normalized(const std::string& S)
{
    std::string Out;
    Out.reserve(S.size());
    for (size_t Pos = 0; Pos < S.size();) {
        const size_t Start = Pos;
        const uint32_t Code = NextCodePoint(S, Pos);
        if (Code == '\r') {
            if (Pos < S.size() && S[Pos] == '\n') ++Pos;
            Out += '\n';
        } else if (Code == '\n') {
            Out += '\n';
        } else if (Code != Utf8Invalid && Code >= 0x20 && Code != 0x7F) {
            Out.append(S, Start, Pos - Start);
        }
    }
    return Out;
}

// The caret steps, and deletes, by grapheme cluster: a letter with its marks is one.
int NextPos(const std::string& S, int P) { return static_cast<int>(NextGraphemePos(S, static_cast<size_t>(P))); }
int PrevPos(const std::string& S, int P) { return static_cast<int>(PrevGraphemePos(S, static_cast<size_t>(P))); }

void Publish(TPublisher<TMemo>& P)
{
    P.Redeclare("Width").OrdDefault = TMemo::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TMemo::DefaultHeight;
    P.Redeclare("TabStop").OrdDefault = true;
    P.Redeclare("Color").OrdDefault = clWindow;
    P.Redeclare("ParentColor").OrdDefault = false;
    P.String("Text", &TMemo::Text, &TMemo::SetText, "").Describe("The text in the box, lines separated by line feeds.");
    P.Event("OnChange", TypeInfoTNotifyEvent, &TMemo::OnChange)
        .Describe("Runs when the text changes, whether typed or set from code.");
}

} // namespace

QELL_DEFINE_CLASS_INFO(TMemo, Publish, true)

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetColor(clWindow);
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

void TMemo::SetText(const std::string& V)
{
    std::string Text = Normalized(V);
    FSelStart = static_cast<int>(Text.size());
    FSelLength = 0;
    FCaretAtStart = false;
    const bool Changed = Text != FText;
    FText = std::move(Text);
    ScrollToCaret();
    Invalidate();
    if (Changed && OnChange) OnChange(this);
}

std::string TMemo::Lines(int Index) const
{
    const std::vector<int> Starts = LineStarts();
    if (Index < 0 || Index >= static_cast<int>(Starts.size()))
        throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
    const int Start = Starts[static_cast<size_t>(Index)];
    return FText.substr(static_cast<size_t>(Start), static_cast<size_t>(LineEnd(Starts, Index) - Start));
}

void TMemo::SetSelStart(int V)
{
    MoveCaret(V, false);
}

void TMemo::SelectAll()
{
    FSelStart = 0;
    FSelLength = static_cast<int>(FText.size());
    FCaretAtStart = false;
    ScrollToCaret();
    Invalidate();
}

std::vector<int> TMemo::LineStarts() const
{
    std::vector<int> Starts{0};
    for (size_t P = FText.find('\n'); P != std::string::npos; P = FText.find('\n', P + 1))
        Starts.push_back(static_cast<int>(P + 1));
    return Starts;
}

int TMemo::LineOf(const std::vector<int>& Starts, int Pos) const
{
    return static_cast<int>(std::upper_bound(Starts.begin(), Starts.end(), Pos) - Starts.begin()) - 1;
}

int TMemo::LineEnd(const std::vector<int>& Starts, int Line) const
{
    const auto Next = static_cast<size_t>(Line) + 1;
    return Next < Starts.size() ? Starts[Next] - 1 : static_cast<int>(FText.size());
}

int TMemo::LineHeight() const
{
    TCanvas Measure;
    Measure.Font = EffectiveFont();
    return std::max(1, Measure.TextHeight(""));
}

int TMemo::VisibleLines() const
{
    return std::max(1, (Height() - 2 * TextTop) / LineHeight());
}

int TMemo::XOf(const std::vector<int>& Starts, int Pos) const
{
    TCanvas Measure;
    Measure.Font = EffectiveFont();
    const int Start = Starts[static_cast<size_t>(LineOf(Starts, Pos))];
    return Measure.TextWidth(FText.substr(static_cast<size_t>(Start), static_cast<size_t>(Pos - Start)));
}

int TMemo::PosAtX(const std::vector<int>& Starts, int Line, int X) const
{
    TCanvas Measure;
    Measure.Font = EffectiveFont();
    const int End = LineEnd(Starts, Line);
    int Best = Starts[static_cast<size_t>(Line)], BestDistance = std::abs(X), Passed = 0;
    // Character by character, so that a long line costs what its length does.
    for (int P = Best; P < End;) {
        const int Next = NextPos(FText, P);
        Passed += Measure.TextWidth(FText.substr(static_cast<size_t>(P), static_cast<size_t>(Next - P)));
        P = Next;
        if (std::abs(X - Passed) < BestDistance) {
            Best = P;
            BestDistance = std::abs(X - Passed);
        }
    }
    return Best;
}

void TMemo::MoveCaret(int To, bool Extend)
{
    To = std::clamp(To, 0, static_cast<int>(FText.size()));
    const int Anchor = Extend ? (FCaretAtStart ? FSelStart + FSelLength : FSelStart) : To;
    FSelStart = std::min(Anchor, To);
    FSelLength = std::abs(To - Anchor);
    FCaretAtStart = To < Anchor;
    ScrollToCaret();
    Invalidate();
}

void TMemo::ReplaceSelection(const std::string& With)
{
    if (With.empty() && FSelLength == 0) return;
    FText.replace(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength), With);
    FSelStart += static_cast<int>(With.size());
    FSelLength = 0;
    FCaretAtStart = false;
    ScrollToCaret();
    Invalidate();
    if (OnChange) OnChange(this);
}

void TMemo::ScrollToCaret()
{
    const std::vector<int> Starts = LineStarts();
    const int Line = LineOf(Starts, Caret()), Shown = VisibleLines();
    if (Line < FTopLine) FTopLine = Line;
    else if (Line >= FTopLine + Shown) FTopLine = Line - Shown + 1;
    FTopLine = std::clamp(FTopLine, 0, std::max(0, static_cast<int>(Starts.size()) - Shown));
    const int X = XOf(Starts, Caret()), Inner = std::max(1, Width() - 2 * TextLeft);
    if (X < FScrollX) FScrollX = X;
    else if (X > FScrollX + Inner - 1) FScrollX = X - Inner + 1;
}

void TMemo::Resized()
{
    TWinControl::Resized();
    ScrollToCaret();
}

void TMemo::KeyDown(TKey& Key, TShiftState Shift)
{
    const bool Extend = Shift.Contains(ssShift), Ctrl = Shift.Contains(ssCtrl);
    const bool HasSelection = FSelLength > 0;
    const std::vector<int> Starts = LineStarts();
    const int Line = LineOf(Starts, Caret());
    const auto ToLine = [&](int Delta) {
        const int To = Line + Delta;
        if (To < 0) MoveCaret(0, Extend);
        else if (To >= static_cast<int>(Starts.size())) MoveCaret(static_cast<int>(FText.size()), Extend);
        else MoveCaret(PosAtX(Starts, To, XOf(Starts, Caret())), Extend);
    };
    switch (Key) {
    case vkLeft:
        if (HasSelection && !Extend) MoveCaret(FSelStart, false);
        else MoveCaret(PrevPos(FText, Caret()), Extend);
        break;
    case vkRight:
        if (HasSelection && !Extend) MoveCaret(FSelStart + FSelLength, false);
        else MoveCaret(NextPos(FText, Caret()), Extend);
        break;
    case vkUp: ToLine(-1); break;
    case vkDown: ToLine(1); break;
    case vkPrior: ToLine(-VisibleLines()); break;
    case vkNext: ToLine(VisibleLines()); break;
    case vkHome: MoveCaret(Ctrl ? 0 : Starts[static_cast<size_t>(Line)], Extend); break;
    case vkEnd: MoveCaret(Ctrl ? static_cast<int>(FText.size()) : LineEnd(Starts, Line), Extend); break;
    case vkReturn:
        // Ctrl+Enter and Alt+Enter are the form's (its default button).
        if (Ctrl || Shift.Contains(ssAlt)) return TWinControl::KeyDown(Key, Shift);
        ReplaceSelection("\n");
        break;
    case vkBack:
        if (!HasSelection) {
            const int P = Caret();
            if (P == 0) break;
            FSelStart = PrevPos(FText, P);
            FSelLength = P - FSelStart;
        }
        ReplaceSelection("");
        break;
    case vkDelete:
        if (!HasSelection) {
            FSelStart = Caret();
            FSelLength = NextPos(FText, FSelStart) - FSelStart;
            if (FSelLength == 0) break;
        }
        ReplaceSelection("");
        break;
    case 'A':
        if (!Ctrl) return TWinControl::KeyDown(Key, Shift);
        SelectAll();
        break;
    default: TWinControl::KeyDown(Key, Shift); return;
    }
    Key = 0;
}

void TMemo::TextInput(const std::string& Text)
{
    const std::string Typed = Normalized(Text);
    if (!Typed.empty()) ReplaceSelection(Typed);
}

void TMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        const std::vector<int> Starts = LineStarts();
        const int Line = std::clamp(FTopLine + (Y - TextTop) / LineHeight(), 0, static_cast<int>(Starts.size()) - 1);
        MoveCaret(PosAtX(Starts, Line, X - TextLeft + FScrollX), Shift.Contains(ssShift));
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

bool TMemo::MouseWheel(TShiftState, int Delta, int, int)
{
    const int Top = std::clamp(FTopLine - Delta * WheelLines, 0, std::max(0, LineCount() - VisibleLines()));
    if (Top == FTopLine) return false;
    FTopLine = Top;
    Invalidate();
    return true;
}

void TMemo::Paint(TCanvas& C)
{
    const TRect R = ClientRect();
    C.Brush.Color = Enabled() ? EffectiveColor() : clBtnFace;
    C.FillRect(R);
    C.Font = EffectiveFont();
    if (!Enabled()) C.Font.SetColor(clGrayText);
    const TRect Inner = Rect(Frame, Frame, R.Right - Frame, R.Bottom - Frame);
    const std::vector<int> Starts = LineStarts();
    const int LH = C.TextHeight(""), Left = TextLeft - FScrollX, SelEnd = FSelStart + FSelLength;
    const bool HasFocus = Focused();
    const auto Part = [&](int From, int To) {
        return FText.substr(static_cast<size_t>(From), static_cast<size_t>(To - From));
    };
    for (int L = FTopLine; L < static_cast<int>(Starts.size()); ++L) {
        const int Y = TextTop + (L - FTopLine) * LH;
        if (Y >= Inner.Bottom) break;
        const int Start = Starts[static_cast<size_t>(L)], End = LineEnd(Starts, L);
        C.TextRect(Inner, Left, Y, Part(Start, End));
        // The selected part, and a space's width for a selected line break.
        const int From = std::max(FSelStart, Start), To = std::min(SelEnd, End);
        const bool BreakSelected = SelEnd > End && FSelStart <= End;
        if (!HasFocus || FSelLength == 0 || From > To || (From == To && !BreakSelected)) continue;
        const int X0 = Left + C.TextWidth(Part(Start, From));
        const int X1 = Left + C.TextWidth(Part(Start, To)) + (BreakSelected ? C.TextWidth(" ") : 0);
        C.Brush.Color = clHighlight;
        C.FillRect(Intersect(Rect(X0, Y, X1, Y + LH), Inner));
        const TColor Saved = C.Font.Color();
        C.Font.SetColor(clHighlightText);
        C.TextRect(Inner, X0, Y, Part(From, To));
        C.Font.SetColor(Saved);
    }
    if (HasFocus) {
        const int Line = LineOf(Starts, Caret());
        const int X = Left + C.TextWidth(Part(Starts[static_cast<size_t>(Line)], Caret()));
        const int Y = TextTop + (Line - FTopLine) * LH;
        C.Brush.Color = C.Font.Color();
        C.FillRect(Intersect(Rect(X, Y, X + 1, Y + LH), Inner));
    }
    DrawEdge(C, R, clBtnShadow, clBtnHighlight);
    DrawEdge(C, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), cl3DDkShadow, cl3DLight);
}
