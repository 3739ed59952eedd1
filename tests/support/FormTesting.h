#pragma once
// What tests of forms need again and again: a control's pixels, a control placed on a
// form, and a modal run fed by an event script.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"

// A pixel of a control, in the control's own coordinates, as last painted on its form.
inline TColor PixelOf(const TControl& Control, int X, int Y)
{
    const TPoint O = Control.SurfaceOrigin();
    return Control.ParentForm()->Surface().Pixel(O.X + X, O.Y + Y);
}

// A new control owned by Owner, placed on Parent at the given bounds.
template <typename T>
T* Place(TComponent& Owner, TWinControl& Parent, int Left, int Top, int Width, int Height)
{
    auto* C = new T(&Owner);
    C->SetParent(&Parent);
    C->SetBounds(Left, Top, Width, Height);
    return C;
}

// Makes the application read its events from Script; the back end answers for the run
// (Failed, ScriptError, Errors) until the next one is installed.
inline THeadlessBackEnd& UseScript(std::string_view Script)
{
    auto B = std::make_unique<THeadlessBackEnd>(Script);
    THeadlessBackEnd& Raw = *B;
    Application->SetBackEnd(std::move(B));
    return Raw;
}

// Back to a back end without events, so that no test leaves its script to the next.
inline void ResetBackEnd()
{
    Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
}

// Records the text of every message box shown, its lines joined by spaces, and where
// each of its labels lies.
class TRecordingBackEnd : public THeadlessBackEnd {
public:
    using THeadlessBackEnd::THeadlessBackEnd;
    std::vector<std::string> Messages;
    struct TShownLabel {
        std::string Caption;
        TRect Bounds;
    };
    std::vector<std::vector<TShownLabel>> Labels; // a list per message box
    // Answers the forms as a person at a window would (the script standing for them).
    bool AsAPerson = false;
    bool Interactive() const override { return AsAPerson; }
    void FormShown(TForm& Form) override
    {
        THeadlessBackEnd::FormShown(Form);
        if (Form.Name() != "MessageBox") return;
        std::string Text;
        Labels.emplace_back();
        for (int I = 0; I < Form.ComponentCount(); ++I)
            if (auto* L = dynamic_cast<TLabel*>(Form.Components(I))) {
                Text += (Text.empty() ? "" : " ") + L->Caption();
                Labels.back().push_back({L->Caption(), L->BoundsRect()});
            }
        Messages.push_back(Text);
    }
};
