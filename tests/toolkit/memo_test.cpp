// The text box of several lines: line breaks typed and normalised, the caret moved by
// line, selections replaced, the box scrolled to the caret, and its pixels.

#include <gtest/gtest.h>

#include "platform/toolkit/Button.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Memo.h"

namespace {

struct TMemoForm {
    TForm Form{nullptr};
    TMemo* Memo = new TMemo(&Form);
    TButton* Ok = new TButton(&Form);
    int Changes = 0;
    bool Clicked = false;

    TMemoForm()
    {
        Form.SetBounds(0, 0, 300, 200);
        Memo->SetParent(&Form);
        Memo->SetBounds(10, 10, 200, 60);
        Ok->SetParent(&Form);
        Ok->SetBounds(220, 10, 60, 25);
        Ok->Default = true;
        Ok->OnClick = [this](TObject*) { Clicked = true; };
        Memo->OnChange = [this](TObject*) { ++Changes; };
        Memo->SetFocus();
    }
    void Key(TKey K, TShiftState S = {}) { Form.HandleKeyDown(K, S); }
    void Type(const std::string& T) { Form.HandleTextInput(T); }
};

TEST(Memo, EnterBreaksTheLineAndTextIsNormalised)
{
    TMemoForm M;
    M.Type("Rye");
    M.Key(vkReturn);
    M.Type("Oat");
    EXPECT_EQ(M.Memo->Text(), "Rye\nOat");
    EXPECT_FALSE(M.Clicked) << "Enter is the box's";
    M.Key(vkReturn, {ssCtrl});
    EXPECT_TRUE(M.Clicked) << "Ctrl+Enter is the form's";
    EXPECT_EQ(M.Changes, 3);

    M.Memo->SetText("a\r\nb\rc\x07\n");
    EXPECT_EQ(M.Memo->Text(), "a\nb\nc\n");
    EXPECT_EQ(M.Memo->LineCount(), 4);
    EXPECT_EQ(M.Memo->Lines(2), "c");
    EXPECT_EQ(M.Memo->Lines(3), "");
    M.Type("x\r\ny\tz");
    EXPECT_EQ(M.Memo->Text(), "a\nb\nc\nx\nyz");
}

// As in the one-line box, a letter with its combining mark is one step of the caret
// and one Backspace or Delete, never split.
TEST(Memo, TheCaretStepsAndDeletesByGraphemeCluster)
{
    TMemoForm M;
    M.Memo->SetText("ne\xCC\x81" "e");
    M.Key(vkBack);
    M.Key(vkBack);
    EXPECT_EQ(M.Memo->Text(), "n");
    M.Memo->SetText("ne\xCC\x81" "e");
    M.Key(vkHome);
    M.Key(vkRight);
    M.Key(vkDelete);
    EXPECT_EQ(M.Memo->Text(), "ne");
}

TEST(Memo, TheCaretMovesByLineAndShiftSelects)
{
    TMemoForm M;
    M.Memo->SetText("RyeRye\nRye\nBaguette");
    M.Key(vkUp);
    EXPECT_EQ(M.Memo->SelStart(), 10) << "the end of the shorter line above";
    M.Key(vkHome);
    EXPECT_EQ(M.Memo->SelStart(), 7);
    M.Key(vkUp);
    EXPECT_EQ(M.Memo->SelStart(), 0);
    M.Key(vkRight);
    M.Key(vkRight);
    M.Key(vkDown);
    EXPECT_EQ(M.Memo->SelStart(), 9) << "the same place on the line below";
    M.Key(vkEnd, {ssShift});
    M.Key(vkEnd, {ssShift, ssCtrl});
    EXPECT_EQ(M.Memo->SelStart(), 9);
    EXPECT_EQ(M.Memo->SelLength(), 10);
    M.Type("e");
    EXPECT_EQ(M.Memo->Text(), "RyeRye\nRye");
    M.Key(vkHome, {ssCtrl});
    M.Key(vkEnd, {ssShift});
    M.Key(vkDelete);
    M.Key(vkDelete);
    EXPECT_EQ(M.Memo->Text(), "Rye") << "the line, then its break";
    M.Key(vkEnd);
    M.Key(vkBack);
    EXPECT_EQ(M.Memo->Text(), "Ry");
    M.Key('A', {ssCtrl});
    M.Key(vkBack);
    EXPECT_EQ(M.Memo->Text(), "");
}

// The caret's line is always in view, and the lines shown are painted where they are:
// each text row is drawn on, and the rows below the last line are plain window colour.
TEST(Memo, ScrollsToTheCaretAndPaintsTheLinesShown)
{
    TMemoForm M;
    std::string Text;
    for (int I = 0; I < 20; ++I) Text += (I ? "\n" : "") + std::string("Line ") + std::to_string(I);
    M.Memo->SetText(Text);
    const int Shown = M.Memo->LineCount() - M.Memo->TopLine();
    EXPECT_GT(M.Memo->TopLine(), 0) << "the caret at the end";
    EXPECT_LT(Shown, 20);
    M.Key(vkHome, {ssCtrl});
    EXPECT_EQ(M.Memo->TopLine(), 0);
    EXPECT_TRUE(M.Memo->MouseWheel({}, -1, 5, 5));
    EXPECT_EQ(M.Memo->TopLine(), 3);

    M.Memo->SetText("WWW\nWWW");
    M.Key(vkHome, {ssCtrl});
    M.Form.PaintAll();
    const TBitmap& S = M.Form.Surface();
    const auto Inked = [&](int Top, int Bottom) {
        int N = 0;
        for (int Y = Top; Y < Bottom; ++Y)
            for (int X = 10 + 4; X < 10 + 40; ++X) N += S.Pixel(X, Y) != ColorToRGB(clWindow);
        return N;
    };
    TCanvas Measure;
    Measure.Font = M.Memo->EffectiveFont();
    const int H = Measure.TextHeight("");
    EXPECT_EQ(Shown, (60 - 6) / H) << "as many lines as fit";
    EXPECT_GT(Inked(10 + 3, 10 + 3 + H), 0) << "the first line";
    EXPECT_GT(Inked(10 + 3 + H, 10 + 3 + 2 * H), 0) << "the second line";
    EXPECT_EQ(Inked(10 + 3 + 2 * H, 10 + 60 - 2), 0) << "nothing below the last";
}

} // namespace
