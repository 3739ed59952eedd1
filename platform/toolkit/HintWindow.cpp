#include "platform/toolkit/HintWindow.h"

#include <algorithm>

#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"

QELL_DEFINE_CLASS_INFO(THintWindow)

THintWindow::THintWindow(TComponent* AOwner) : TControl(AOwner)
{
    SetVisible(false);
    // Disabled controls are passed over by the form's hit test.
    SetEnabled(false);
}

void THintWindow::ShowAt(TForm& Form, int X, int Y, const std::string& Text)
{
    // Over everything else on the form: its last control.
    if (Parent() != &Form || Form.Controls(Form.ControlCount() - 1) != this) {
        SetParent(nullptr);
        SetParent(&Form);
    }
    FText = Text;
    TCanvas Measure;
    Measure.Font = EffectiveFont();
    const int W = Measure.TextWidth(Text) + 2 * Padding + 2, H = Measure.TextHeight(Text) + 2 * Padding;
    X = std::clamp(X, 0, std::max(0, Form.ClientWidth() - W));
    Y = std::clamp(Y, 0, std::max(0, Form.ClientHeight() - H));
    SetBounds(X, Y, W, H);
    SetVisible(true);
    Invalidate();
}

void THintWindow::Hide()
{
    SetVisible(false);
}

void THintWindow::Paint(TCanvas& C)
{
    const TRect R = ClientRect();
    C.Brush.Color = clInfoBk;
    C.Pen.Color = clInfoText;
    C.Rectangle(R);
    C.Font = EffectiveFont();
    C.Font.SetColor(clInfoText);
    C.Brush.Color = clInfoBk;
    C.TextOut(Padding + 1, Padding, FText);
}
