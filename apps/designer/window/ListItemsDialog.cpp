#include "apps/designer/window/ListItemsDialog.h"

#include <algorithm>
#include <memory>

#include "platform/rtl/SysUtils.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/Memo.h"

namespace {

constexpr int Margin = 12, Gap = 8, BoxWidth = 320, BoxHeight = 200;

// The first line of Text that holds the separator, with its number from 1; 0 for none.
int LineWithSeparator(const std::string& Text, std::string& Line)
{
    int Number = 1;
    for (size_t Start = 0; Start <= Text.size(); ++Number) {
        const size_t End = std::min(Text.find('\n', Start), Text.size());
        if (Text.find(ListItemSeparator, Start) < End) {
            Line = Text.substr(Start, End - Start);
            return Number;
        }
        Start = End + 1;
    }
    return 0;
}

TButton* AddButton(TForm& Form, const char* Name, const char* Caption, int Left, int Top)
{
    auto* B = new TButton(&Form);
    B->SetName(Name);
    B->SetParent(&Form);
    B->SetCaption(Caption);
    B->SetBounds(Left, Top, TButton::DefaultWidth, TButton::DefaultHeight);
    return B;
}

} // namespace

bool EditListItems(const std::string& Caption, std::string& Items)
{
    auto Form = std::make_unique<TForm>(Application);
    Form->SetName("ListItems");
    Form->SetCaption(Caption);
    Form->BorderStyle = bsDialog;
    Form->Position = poScreenCenter;
    auto* Prompt = new TLabel(Form.get());
    Prompt->SetName("Prompt");
    Prompt->SetParent(Form.get());
    Prompt->SetCaption("One item a line (Ctrl+Enter: OK):");
    Prompt->SetBounds(Margin, Margin, Prompt->Width(), Prompt->Height());
    auto* Box = new TMemo(Form.get());
    Box->SetName("Lines");
    Box->SetParent(Form.get());
    Box->SetBounds(Margin, Prompt->Top() + Prompt->Height() + 4, BoxWidth, BoxHeight);
    std::string Shown = Items;
    std::replace(Shown.begin(), Shown.end(), ListItemSeparator, '\n');
    Box->SetText(Shown);

    const int Top = Box->Top() + Box->Height() + Gap;
    const int Right = Margin + BoxWidth;
    TButton* Ok = AddButton(*Form, "OK", "OK", Right - 2 * TButton::DefaultWidth - Gap, Top);
    Ok->Default = true;
    TButton* Cancel = AddButton(*Form, "Cancel", "Cancel", Right - TButton::DefaultWidth, Top);
    Cancel->Cancel = true;
    Cancel->ModalResult = mrCancel;
    Ok->OnClick = [&](TObject*) {
        std::string Line;
        if (const int Number = LineWithSeparator(Box->Text(), Line)) {
            ShowMessage("Line " + std::to_string(Number) + ", " + QuotedInput(Line) + ", holds '" +
                        ListItemSeparator + "', which separates the items: an item cannot contain it.");
            return;
        }
        Form->SetModalResult(mrOk);
    };
    Form->SetClientWidth(Right + Margin);
    Form->SetClientHeight(Top + TButton::DefaultHeight + Margin);
    Form->SetActiveControl(Box);
    if (Form->ShowModal() != mrOk || Box->Text() == Shown) return false;
    std::string Text = Box->Text();
    if (Text.ends_with('\n')) Text.pop_back();
    std::replace(Text.begin(), Text.end(), '\n', ListItemSeparator);
    Items = std::move(Text);
    return true;
}
