#include "platform/toolkit/Edit.h"

#include <algorithm>
#include <cstdlib>

#include "platform/graphics/Drawing.h"
#include "platform/graphics/TextLayout.h"
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

constexpr int TextLeft = 3; // two pixels of frame and one of margin

int NextPos(const std::string& S, int P) { return static_cast<int>(NextGraphemePos(S, static_cast<size_t>(P))); }
int PrevPos(const std::string& S, int P) { return static_cast<int>(PrevGraphemePos(S, static_cast<size_t>(P))); }

// The grapheme boundary at or before P, which lies before the text's end.
int BoundaryAtOrBefore(const std::string& S, int P)
{
    return P <= 0 ? 0 : PrevPos(S, P + 1);
}

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
        const auto Count = [](std::string_view S) { return GraphemeBoundaries(S).size() - 1; };
        const size_t Kept = Count(FText) - Count(std::string_view(FText).substr(static_cast<size_t>(FSelStart),
                                                                                static_cast<size_t>(FSelLength)));
        size_t Room = static_cast<size_t>(MaxLength) > Kept ? static_cast<size_t>(MaxLength) - Kept : 0, End = 0;
        for (; Room > 0 && End < Typed.size(); --Room) End = NextGraphemePos(Typed, End);
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
        // The caret goes to the shown grapheme boundary nearest the pointer.
        TCanvas Measure;
        Measure.Font = EffectiveFont();
        const TShownText Shown = ShownText(Measure);
        MoveCaret(Shown.First + static_cast<int>(Shown.Layout->OffsetAt(X - Shown.X)), Shift.Contains(ssShift));
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

TEdit::TShownText TEdit::ShownText(TCanvas& C) const
{
    const int Inner = Width() - 2 * TextLeft;
    const int CaretPos = Caret();
    // Bytes enough on each side of the caret to fill the field several times over,
    // however wide its characters.
    const int Reach = 2 * std::max(Width(), 64);
    const int Size = static_cast<int>(FText.size());
    int First = 0, Last = Size;
    if (Size > 2 * Reach) {
        First = BoundaryAtOrBefore(FText, CaretPos - Reach);
        Last = CaretPos + Reach >= Size ? Size : BoundaryAtOrBefore(FText, CaretPos + Reach);
    }
    TShownText Shown{First, Last, TextLeft,
                     C.TextLayout(FText.substr(static_cast<size_t>(First), static_cast<size_t>(Last - First)))};
    // Scrolled so that the caret stays inside the field, the text as far left as it goes.
    const int CaretX = Shown.Layout->CaretX(static_cast<size_t>(CaretPos - First));
    Shown.X = TextLeft + std::min(0, Inner - 1 - CaretX);
    return Shown;
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
    const std::string& Part = Shown.Layout->Text();
    C.TextOut(Shown.X, TY, Part);
    if (FText.empty() && !TextHint.empty()) {
        const TColor Saved = C.Font.Color();
        C.Font.SetColor(clGrayText);
        C.TextOut(Shown.X, TY, TextHint);
        C.Font.SetColor(Saved);
    }

    if (!Focused()) return;
    // Where byte P of the text lies in the shown part; one outside it, at its edge.
    const auto InShown = [&](int P) { return static_cast<size_t>(std::clamp(P, Shown.First, Shown.Last) - Shown.First); };
    // The selection, in visual order: a span for each stretch of one direction.
    const TColor Ink = C.Font.Color();
    C.Font.SetColor(clHighlightText);
    C.Brush.Color = clHighlight;
    for (const auto& [Left, Right] : Shown.Layout->Spans(InShown(FSelStart), InShown(FSelStart + FSelLength))) {
        const TRect Span = Rect(Shown.X + Left, TY, Shown.X + Right, TY + TH);
        C.FillRect(Span);
        C.TextRect(Span, Shown.X, TY, Part);
    }
    C.Font.SetColor(Ink);
    const int CaretX = Shown.X + Shown.Layout->CaretX(InShown(Caret()));
    C.Brush.Color = Ink;
    C.FillRect(Rect(CaretX, TY, CaretX + 1, TY + TH));
}
