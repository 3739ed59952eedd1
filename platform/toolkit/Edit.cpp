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

const TClassInfo& TEdit::StaticClassInfo()
{
    static const TClassInfo Info = MakeClassInfo<TEdit>("TEdit", Publish, true);
    return Info;
}

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
    std::string V = FText;
    V.replace(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength), With);
    FSelStart += static_cast<int>(With.size());
    FSelLength = 0;
    FCaretAtStart = false;
    ChangeText(std::move(V));
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
    const std::string Typed = Printable(Text);
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
        // The caret goes to the character boundary nearest the pointer.
        TCanvas Measure;
        Measure.Font = EffectiveFont();
        int Best = 0, BestDistance = std::abs(X - TextLeft);
        for (int P = NextPos(FText, 0); P > 0; P = NextPos(FText, P)) {
            const int D = std::abs(X - TextLeft - Measure.TextWidth(FText.substr(0, static_cast<size_t>(P))));
            if (D < BestDistance) {
                Best = P;
                BestDistance = D;
            }
            if (P >= static_cast<int>(FText.size())) break;
        }
        MoveCaret(Best, Shift.Contains(ssShift));
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
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
    const int Inner = Width() - 2 * TextLeft;
    auto WidthTo = [&](int P) { return C.TextWidth(FText.substr(0, static_cast<size_t>(P))); };
    // Scroll so that the caret stays inside the field.
    const int CaretX = WidthTo(Caret());
    const int Scroll = std::max(0, CaretX - Inner + 1);
    const int TX = TextLeft - Scroll;
    C.TextOut(TX, TY, FText);

    const bool HasFocus = Focused();
    if (FSelLength > 0 && HasFocus) {
        const int X0 = TX + WidthTo(FSelStart), X1 = TX + WidthTo(FSelStart + FSelLength);
        C.Brush.Color = clHighlight;
        C.FillRect(Rect(X0, TY, X1, TY + TH));
        const TColor Saved = C.Font.Color();
        C.Font.SetColor(clHighlightText);
        C.TextOut(X0, TY, FText.substr(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength)));
        C.Font.SetColor(Saved);
    }
    if (HasFocus) {
        C.Brush.Color = C.Font.Color();
        C.FillRect(Rect(TX + CaretX, TY, TX + CaretX + 1, TY + TH));
    }
}
