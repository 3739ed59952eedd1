#include "platform/toolkit/HintWindow.h"

#include <algorithm>
#include <vector>

#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"

namespace {

std::vector<std::string> LinesOf(const std::string& Text)
{
    std::vector<std::string> Lines;
    for (size_t Start = 0;;) {
        const size_t End = Text.find('\n', Start);
        Lines.push_back(Text.substr(Start, End - Start));
        if (End == std::string::npos) return Lines;
        Start = End + 1;
    }
}

} // namespace

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
    int W = 0;
    const std::vector<std::string> Lines = LinesOf(Text);
    for (const std::string& Line : Lines) W = std::max(W, Measure.TextWidth(Line));
    W += 2 * Padding + 2;
    const int H = static_cast<int>(Lines.size()) * Measure.TextHeight("Ag") + 2 * Padding;
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
    int Y = Padding;
    for (const std::string& Line : LinesOf(FText)) {
        C.TextOut(Padding + 1, Y, Line);
        Y += C.TextHeight("Ag");
    }
}
