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

constexpr int Margin = 12, Gap = 8, ColumnGap = 16, ButtonWidth = 75, ButtonHeight = 25, MaxTextWidth = 480;

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

// Line broken into parts no wider than Width, at spaces where it can.
std::vector<std::string> Wrap(TCanvas& Measure, std::string Line, int Width)
{
    std::vector<std::string> Parts;
    while (Measure.TextWidth(Line) > Width) {
        size_t Cut = Line.size();
        while (Cut > 0 && (Line[Cut - 1] != ' ' || Measure.TextWidth(Line.substr(0, Cut - 1)) > Width)) --Cut;
        if (Cut == 0) break; // one word wider than the line: it stays whole
        Parts.push_back(Line.substr(0, Cut - 1));
        Line = Line.substr(Cut);
    }
    Parts.push_back(Line);
    return Parts;
}

std::vector<std::string> Split(const std::string& Text, char At)
{
    std::vector<std::string> Parts;
    size_t Start = 0;
    for (size_t End; (End = Text.find(At, Start)) != std::string::npos; Start = End + 1)
        Parts.push_back(Text.substr(Start, End - Start));
    Parts.push_back(Text.substr(Start));
    return Parts;
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
    TCanvas Measure;
    Measure.Font = Form->Font();
    const std::vector<std::string> Lines = Split(Text, '\n');
    // The second column starts past the widest first one: measured, since in a
    // proportional font no count of spaces lines the texts up.
    int Column = 0;
    for (const std::string& Line : Lines)
        if (const size_t Tab = Line.find('\t'); Tab != std::string::npos)
            Column = std::max(Column, Measure.TextWidth(Line.substr(0, Tab)) + ColumnGap);
    int Top = Margin, Widest = 0, N = 0;
    const auto Add = [&](const std::string& Caption, int Left) {
        auto* L = new TLabel(Form.get());
        L->SetName(N == 0 ? "Message" : "Message" + std::to_string(N));
        ++N;
        L->SetParent(Form.get());
        L->SetCaption(Caption);
        L->SetBounds(Left, Top, L->Width(), L->Height());
        Widest = std::max(Widest, Left - Margin + L->Width());
        return L;
    };
    for (const std::string& Line : Lines) {
        const size_t Tab = Line.find('\t');
        if (Tab != std::string::npos) Add(Line.substr(0, Tab), Margin);
        const int Left = Margin + (Tab != std::string::npos ? Column : 0);
        const std::string Rest = Tab != std::string::npos ? Line.substr(Tab + 1) : Line;
        for (const std::string& Part : Wrap(Measure, Rest, MaxTextWidth - (Left - Margin)))
            Top += std::max(Add(Part, Left)->Height(), 13) + 2;
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
