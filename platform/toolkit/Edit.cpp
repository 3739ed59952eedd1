#include "platform/toolkit/Edit.h"

#include <algorithm>
#include <cstdlib>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"
#include "platform/rtl/Utf8.h"

namespace {

// Typed text loses line breaks and other control characters, since the field holds one
// line, and bytes that are not UTF-8, which no font could show.
std::string Printable(const std::string& S)
{
    std::string Out;
    for (size_t Pos = 0; Pos < S.size();) {
        const size_t Start = Pos;
        const uint32_t Code = NextCodePoint(S, Pos);
        if (Code == Utf8Invalid || Code < 0x20 || Code == 0x7F) continue;
        Out.append(S, Start, Pos - Start);
    }
    return Out;
}

size_t CharCount(std::string_view S)
{
    size_t N = 0;
    for (size_t P = 0; P < S.size(); P = NextCharPos(S, P)) ++N;
    return N;
}

constexpr int TextLeft = 3; // two pixels of frame and one of margin

int NextPos(const std::string& S, int P) { return static_cast<int>(NextCharPos(S, static_cast<size_t>(P))); }
int PrevPos(const std::string& S, int P) { return static_cast<int>(PrevCharPos(S, static_cast<size_t>(P))); }

void Publish(TPublisher<TEdit>& P)
{
    P.Redeclare("Width").OrdDefault = TEdit::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TEdit::DefaultHeight;
    P.Redeclare("TabStop").OrdDefault = true;
    P.Redeclare("Color").OrdDefault = clWindow;
    P.Redeclare("ParentColor").OrdDefault = false;
    P.String("Text", &TEdit::Text, &TEdit::SetText, "").Describe("The text in the box.");
    P.Event("OnChange", TypeInfoTNotifyEvent, &TEdit::OnChange)
        .Describe("Runs when the text changes, whether typed or set from code.");
}

} // namespace

QELL_DEFINE_CLASS_INFO(TEdit, Publish, true)

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetColor(clWindow);
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

void TEdit::SetText(const std::string& V)
{
    FSelStart = static_cast<int>(V.size());
    FSelLength = 0;
    FCaretAtStart = false;
    ChangeText(V);
}

void TEdit::SetSelStart(int V)
{
    FSelStart = std::clamp(V, 0, static_cast<int>(FText.size()));
    FSelLength = 0;
    FCaretAtStart = false;
    Invalidate();
}

void TEdit::SetSelLength(int V)
{
    FSelLength = std::clamp(V, 0, static_cast<int>(FText.size()) - FSelStart);
    FCaretAtStart = false;
    Invalidate();
}

void TEdit::SelectAll()
{
    FSelStart = 0;
    FSelLength = static_cast<int>(FText.size());
    FCaretAtStart = false;
    Invalidate();
}

void TEdit::MoveCaret(int To, bool Extend)
{
    To = std::clamp(To, 0, static_cast<int>(FText.size()));
    const int Anchor = Extend ? (FCaretAtStart ? FSelStart + FSelLength : FSelStart) : To;
    FSelStart = std::min(Anchor, To);
    FSelLength = std::abs(To - Anchor);
    FCaretAtStart = To < Anchor;
    Invalidate();
}

void TEdit::ReplaceSelection(const std::string& With)
{
    if (With.empty() && FSelLength == 0) return;
    // In place: a keystroke does not copy the whole text.
    FText.replace(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength), With);
    FSelStart += static_cast<int>(With.size());
    FSelLength = 0;
    FCaretAtStart = false;
    Invalidate();
    if (OnChange) OnChange(this);
}

void TEdit::ChangeText(std::string V)
{
    if (V == FText) return;
    FText = std::move(V);
    const int N = static_cast<int>(FText.size());
    FSelStart = std::min(FSelStart, N);
    FSelLength = std::min(FSelLength, N - FSelStart);
    Invalidate();
    // Last: the handler may write the text again, and its write must stand.
    if (OnChange) OnChange(this);
}

void TEdit::KeyDown(TKey& Key, TShiftState Shift)
{
    const bool Extend = Shift.Contains(ssShift);
    const bool HasSelection = FSelLength > 0;
    switch (Key) {
    case vkLeft:
        if (HasSelection && !Extend) MoveCaret(FSelStart, false);
        else MoveCaret(PrevPos(FText, Caret()), Extend);
        break;
    case vkRight:
        if (HasSelection && !Extend) MoveCaret(FSelStart + FSelLength, false);
        else MoveCaret(NextPos(FText, Caret()), Extend);
        break;
    case vkHome: MoveCaret(0, Extend); break;
    case vkEnd: MoveCaret(static_cast<int>(FText.size()), Extend); break;
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
        if (!Shift.Contains(ssCtrl)) return;
        SelectAll();
        break;
    default: TWinControl::KeyDown(Key, Shift); return;
    }
    Key = 0;
}

void TEdit::TextInput(const std::string& Text)
{
    std::string Typed = Printable(Text);
    if (MaxLength > 0) {
        const size_t Kept = CharCount(FText) - CharCount(FText.substr(static_cast<size_t>(FSelStart),
                                                                       static_cast<size_t>(FSelLength)));
        size_t Room = static_cast<size_t>(MaxLength) > Kept ? static_cast<size_t>(MaxLength) - Kept : 0, End = 0;
        for (; Room > 0 && End < Typed.size(); --Room) End = NextCharPos(Typed, End);
        Typed.resize(End);
    }
    if (!Typed.empty()) ReplaceSelection(Typed);
}

void TEdit::DoEnter(bool ByTab)
{
    if (ByTab) SelectAll();
    TWinControl::DoEnter(ByTab);
}

void TEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        // The caret goes to the shown character boundary nearest the pointer.
        TCanvas Measure;
        Measure.Font = EffectiveFont();
        const TShownText Shown = ShownText(Measure);
        int Best = Shown.First, BestDistance = std::abs(X - Shown.X);
        for (int P = Shown.First; P < Shown.Last;) {
            P = NextPos(FText, P);
            const int D = std::abs(X - Shown.X - Measure.TextWidth(FText.substr(static_cast<size_t>(Shown.First),
                                                                               static_cast<size_t>(P - Shown.First))));
            if (D < BestDistance) {
                Best = P;
                BestDistance = D;
            }
        }
        MoveCaret(Best, Shift.Contains(ssShift));
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

TEdit::TShownText TEdit::ShownText(TCanvas& C) const
{
    const int Inner = Width() - 2 * TextLeft;
    const int CaretPos = Caret();
    const auto WidthOf = [&](int From, int To) {
        return C.TextWidth(FText.substr(static_cast<size_t>(From), static_cast<size_t>(To - From)));
    };
    // Back from the caret, until the characters passed fill the field and its margin.
    int First = CaretPos;
    for (int Passed = 0; First > 0 && Passed <= Inner + TextLeft;) {
        const int P = PrevPos(FText, First);
        Passed += WidthOf(P, First);
        First = P;
    }
    // Scrolled so that the caret stays inside the field, the text as far left as it goes.
    const int ToCaret = WidthOf(First, CaretPos);
    const int X = First == 0 ? TextLeft - std::max(0, ToCaret - Inner + 1) : TextLeft + Inner - 1 - ToCaret;
    // On from the caret, until past the right edge.
    int Last = CaretPos;
    for (int Passed = X + ToCaret; Last < static_cast<int>(FText.size()) && Passed <= Width();) {
        const int P = NextPos(FText, Last);
        Passed += WidthOf(Last, P);
        Last = P;
    }
    return {First, Last, X};
}

void TEdit::Paint(TCanvas& C)
{
    const TRect R = ClientRect();
    C.Brush.Color = Enabled() ? EffectiveColor() : clBtnFace;
    C.FillRect(R);
    DrawEdge(C, R, clBtnShadow, clBtnHighlight);
    DrawEdge(C, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), cl3DDkShadow, cl3DLight);

    C.Font = EffectiveFont();
    if (!Enabled()) C.Font.SetColor(clGrayText);
    const int TH = C.TextHeight(FText);
    const int TY = (Height() - TH) / 2;
    const TShownText Shown = ShownText(C);
    const auto Part = [&](int From, int To) {
        return FText.substr(static_cast<size_t>(From), static_cast<size_t>(To - From));
    };
    // Where the boundary at byte P is drawn; one outside the shown part, at its edge.
    auto XOf = [&](int P) { return Shown.X + C.TextWidth(Part(Shown.First, std::clamp(P, Shown.First, Shown.Last))); };
    C.TextOut(Shown.X, TY, Part(Shown.First, Shown.Last));
    if (FText.empty() && !TextHint.empty()) {
        const TColor Saved = C.Font.Color();
        C.Font.SetColor(clGrayText);
        C.TextOut(Shown.X, TY, TextHint);
        C.Font.SetColor(Saved);
    }

    const bool HasFocus = Focused();
    const int From = std::max(FSelStart, Shown.First), To = std::min(FSelStart + FSelLength, Shown.Last);
    if (From < To && HasFocus) {
        const int X0 = XOf(From), X1 = XOf(To);
        C.Brush.Color = clHighlight;
        C.FillRect(Rect(X0, TY, X1, TY + TH));
        const TColor Saved = C.Font.Color();
        C.Font.SetColor(clHighlightText);
        C.TextOut(X0, TY, Part(From, To));
        C.Font.SetColor(Saved);
    }
    if (HasFocus) {
        const int CaretX = XOf(Caret());
        C.Brush.Color = C.Font.Color();
        C.FillRect(Rect(CaretX, TY, CaretX + 1, TY + TH));
    }
}
