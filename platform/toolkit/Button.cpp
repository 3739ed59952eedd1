#include "platform/toolkit/Button.h"

#include <cctype>

#include "platform/graphics/Drawing.h"
#include "platform/rtl/Publish.h"
#include "platform/graphics/TextLayout.h"
#include "platform/toolkit/Form.h"

namespace {

void Publish(TPublisher<TButton>& P)
{
    P.Redeclare("Width").OrdDefault = TButton::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TButton::DefaultHeight;
    P.Redeclare("TabStop").OrdDefault = true;
    P.String("Caption", &TButton::Caption, &TButton::SetCaption, "").Describe("The text on the button.");
    P.Field("Default", TypeInfoBoolean, &TButton::Default, false).Describe("Whether Enter presses the button.");
    P.Field("Cancel", TypeInfoBoolean, &TButton::Cancel, false).Describe("Whether Escape presses the button.");
    P.Field("ModalResult", TypeInfoInteger, &TButton::ModalResult, mrNone)
        .Describe("What the button answers to the modal form it closes; 0 leaves the form open.");
}

// The caption as shown ("&&" becomes "&", a lone "&" disappears) and the byte offset
// of the underlined letter in it, or -1.
std::string DisplayCaption(const std::string& Caption, int& Underline)
{
    std::string Out;
    Underline = -1;
    for (size_t I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == '&' && I + 1 < Caption.size()) {
            ++I;
            if (Caption[I] != '&' && Underline < 0) Underline = static_cast<int>(Out.size());
        }
        Out += Caption[I];
    }
    return Out;
}

} // namespace

QELL_DEFINE_CLASS_INFO(TButton, Publish, true)

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

void TButton::SetCaption(const std::string& V)
{
    if (V == FCaption) return;
    FCaption = V;
    Invalidate();
}

char TButton::Mnemonic() const
{
    int Underline;
    const std::string Shown = DisplayCaption(FCaption, Underline);
    if (Underline < 0) return 0;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(Shown[static_cast<size_t>(Underline)])));
}

void TButton::Click()
{
    // Read before the handler runs: it may close the form or change the button.
    TForm* Form = ParentForm();
    const TModalResult Result = ModalResult;
    TControl::Click();
    if (Result != mrNone && Form) Form->SetModalResult(Result);
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        FPressed = true;
        Invalidate();
    }
    TControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
    TControl::MouseUp(Button, Shift, X, Y);
}

void TButton::KeyDown(TKey& Key, TShiftState Shift)
{
    if (Key == vkSpace || Key == vkReturn) {
        Key = 0;
        Click();
        return;
    }
    TWinControl::KeyDown(Key, Shift);
}

bool TButton::DialogKey(TKey Key, TShiftState Shift)
{
    const bool Claims = (Key == vkReturn && Default && !Shift.Contains(ssAlt)) ||
                        (Key == vkEscape && Cancel && !Shift.Contains(ssAlt)) ||
                        (Shift.Contains(ssAlt) && Key > 0 && Key < 128 && Mnemonic() != 0 &&
                         std::toupper(Key) == Mnemonic());
    if (!Claims) return false;
    Click();
    return true;
}

void TButton::Paint(TCanvas& C)
{
    TRect R = ClientRect();
    C.Brush.Color = clBtnFace;
    C.FillRect(R);
    // The default button, and a focused one, wear a dark outer frame.
    if (Default || Focused()) {
        DrawEdge(C, R, cl3DDkShadow, cl3DDkShadow);
        R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    }
    if (FPressed) {
        DrawEdge(C, R, clBtnShadow, clBtnShadow);
    } else {
        DrawEdge(C, R, clBtnHighlight, cl3DDkShadow);
        DrawEdge(C, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), cl3DLight, clBtnShadow);
    }

    int Underline;
    const std::string Shown = DisplayCaption(FCaption, Underline);
    C.Font = EffectiveFont();
    C.Font.SetColor(Enabled() ? clBtnText : clGrayText);
    const int TW = C.TextWidth(Shown), TH = C.TextHeight(Shown);
    const int Shift = FPressed ? 1 : 0;
    const int TX = (Width() - TW) / 2 + Shift, TY = (Height() - TH) / 2 + Shift;
    C.TextOut(TX, TY, Shown);
    if (Underline >= 0) {
        // Under the letter where the caption's layout draws it.
        const size_t At = static_cast<size_t>(Underline);
        C.Brush.Color = C.Font.Color();
        for (const auto& [X0, X1] : C.TextLayout(Shown)->Spans(At, NextGraphemePos(Shown, At)))
            C.FillRect(Rect(TX + X0, TY + TH - 1, TX + X1, TY + TH));
    }
    if (Focused()) DrawFocusRect(C, Rect(4, 4, Width() - 4, Height() - 4));
}
