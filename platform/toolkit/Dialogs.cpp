#include "platform/toolkit/Dialogs.h"

#include <algorithm>
#include <memory>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"

namespace {

constexpr int Margin = 12, Gap = 8, ButtonWidth = 75, ButtonHeight = 25, MaxTextWidth = 480;

// A dialog form owned by the application, freed on every way out.
std::unique_ptr<TForm> NewDialog(const std::string& Name, const std::string& Caption)
{
    auto Form = std::make_unique<TForm>(Application);
    Form->SetName(Name);
    Form->SetCaption(Caption);
    Form->BorderStyle = bsDialog;
    Form->Position = poScreenCenter;
    return Form;
}

// Text broken into lines no wider than MaxTextWidth, at spaces where it can.
std::vector<std::string> Wrap(const std::string& Text, const TFont& Font)
{
    TCanvas Measure;
    Measure.Font = Font;
    std::vector<std::string> Lines;
    size_t Start = 0;
    while (Start <= Text.size()) {
        size_t End = Text.find('\n', Start);
        if (End == std::string::npos) End = Text.size();
        std::string Line = Text.substr(Start, End - Start);
        while (Measure.TextWidth(Line) > MaxTextWidth) {
            size_t Cut = Line.size();
            while (Cut > 0 && (Line[Cut - 1] != ' ' || Measure.TextWidth(Line.substr(0, Cut - 1)) > MaxTextWidth))
                --Cut;
            if (Cut == 0) break; // one word wider than the line: it stays whole
            Lines.push_back(Line.substr(0, Cut - 1));
            Line = Line.substr(Cut);
        }
        Lines.push_back(Line);
        Start = End + 1;
    }
    return Lines;
}

// Buttons right-aligned along the bottom of the form; the form as wide as needed.
void PlaceButtons(TForm& Form, const std::vector<TMessageButton>& Buttons, int Top, int MinWidth)
{
    const int Row = static_cast<int>(Buttons.size()) * (ButtonWidth + Gap) - Gap;
    const int Width = std::max(MinWidth, Row) + 2 * Margin;
    Form.SetClientWidth(Width);
    Form.SetClientHeight(Top + ButtonHeight + Margin);
    int Left = Width - Margin - Row;
    for (size_t I = 0; I < Buttons.size(); ++I) {
        auto* B = new TButton(&Form);
        B->SetName(Buttons[I].Name);
        B->SetParent(&Form);
        B->SetBounds(Left, Top, ButtonWidth, ButtonHeight);
        B->SetCaption(Buttons[I].Caption);
        B->ModalResult = Buttons[I].Result;
        B->Default = I == 0;
        B->Cancel = Buttons[I].Result == mrCancel;
        Left += ButtonWidth + Gap;
    }
}

} // namespace

TModalResult MessageBox(const std::string& Caption, const std::string& Text, const std::vector<TMessageButton>& Buttons)
{
    std::unique_ptr<TForm> Form = NewDialog("MessageBox", Caption);
    int Top = Margin, Widest = 0;
    int N = 0;
    for (const std::string& Line : Wrap(Text, Form->Font())) {
        auto* L = new TLabel(Form.get());
        L->SetName(N == 0 ? "Message" : "Message" + std::to_string(N));
        L->SetParent(Form.get());
        L->SetCaption(Line);
        L->SetBounds(Margin, Top, L->Width(), L->Height());
        Widest = std::max(Widest, L->Width());
        Top += std::max(L->Height(), 13) + 2;
        ++N;
    }
    PlaceButtons(*Form, Buttons, Top + Gap, Widest);
    return Form->ShowModal();
}

void ShowMessage(const std::string& Text)
{
    const std::string& Title = Application->DisplayTitle();
    MessageBox(Title.empty() ? "Message" : Title, Text, {{"OK", "OK", mrOk}});
}

bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value)
{
    std::unique_ptr<TForm> Form = NewDialog("InputQuery", Caption);
    auto* L = new TLabel(Form.get());
    L->SetName("Message");
    L->SetParent(Form.get());
    L->SetCaption(Prompt);
    L->SetLeft(Margin);
    L->SetTop(Margin);
    constexpr int EditWidth = 360;
    auto* E = new TEdit(Form.get());
    E->SetName("Value");
    E->SetParent(Form.get());
    E->SetBounds(Margin, Margin + L->Height() + 4, EditWidth, 21);
    E->SetText(Value);
    E->SelectAll();
    PlaceButtons(*Form, {{"OK", "OK", mrOk}, {"Cancel", "Cancel", mrCancel}}, E->Top() + E->Height() + Gap,
                 std::max(EditWidth, L->Width()));
    Form->SetActiveControl(E);
    if (Form->ShowModal() != mrOk) return false;
    Value = E->Text();
    return true;
}

bool TColorDialog::Execute()
{
    std::vector<std::string> Names;
    GetColorValues([&](const std::string& S) { Names.push_back(S); });
    constexpr int Cols = 8, Cell = 24;
    const int Rows = (static_cast<int>(Names.size()) + Cols - 1) / Cols;
    std::unique_ptr<TForm> Form = NewDialog("ColorDialog", "Color");
    auto* Grid = new TDrawGrid(Form.get());
    Grid->SetName("Colors");
    Grid->SetParent(Form.get());
    Grid->SetColCount(Cols);
    Grid->SetRowCount(Rows);
    Grid->DefaultColWidth = Cell;
    Grid->DefaultRowHeight = Cell;
    Grid->SetBounds(Margin, Margin, Cols * (Cell + 1) + 3, Rows * (Cell + 1) + 3);
    auto* Chosen = new TLabel(Form.get());
    Chosen->SetName("Chosen");
    Chosen->SetParent(Form.get());
    Chosen->SetBounds(Margin, Grid->Top() + Grid->Height() + Gap, 0, 0);

    auto IndexOf = [&](int Col, int Row) { return Row * Cols + Col; };
    auto NameAt = [&](int Col, int Row) -> const std::string* {
        const int I = IndexOf(Col, Row);
        return I < static_cast<int>(Names.size()) ? &Names[static_cast<size_t>(I)] : nullptr;
    };
    Grid->OnDrawCell = [&](TObject*, int Col, int Row, const TRect& R, TGridDrawState) {
        TColor C;
        if (const std::string* Name = NameAt(Col, Row); Name && IdentToColor(*Name, C)) {
            Grid->Canvas().Brush.Color = C;
            Grid->Canvas().FillRect(Inflate(R, 2));
        }
    };
    Grid->OnSelectCell = [&](TObject*, int Col, int Row, bool& CanSelect) {
        const std::string* Name = NameAt(Col, Row);
        CanSelect = Name != nullptr;
        if (Name) Chosen->SetCaption(*Name);
    };
    std::string Start;
    if (ColorToIdent(Color, Start))
        for (size_t I = 0; I < Names.size(); ++I)
            if (Names[I] == Start) Grid->FocusCell(static_cast<int>(I) % Cols, static_cast<int>(I) / Cols);
    Chosen->SetCaption(NameAt(Grid->Col(), Grid->Row()) ? *NameAt(Grid->Col(), Grid->Row()) : "");
    PlaceButtons(*Form, {{"OK", "OK", mrOk}, {"Cancel", "Cancel", mrCancel}}, Chosen->Top() + 13 + Gap,
                 Grid->Width());
    Form->SetActiveControl(Grid);
    if (Form->ShowModal() != mrOk) return false;
    const std::string* Name = NameAt(Grid->Col(), Grid->Row());
    return Name && IdentToColor(*Name, Color);
}
