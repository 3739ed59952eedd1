// Text editing and its change events.

#include <gtest/gtest.h>

#include "platform/graphics/FontEngine.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"

namespace {

struct TEditForm {
    TForm Form{nullptr};
    TEdit* Edit = new TEdit(&Form);
    TEdit* Other = new TEdit(&Form);
    std::vector<std::string> Changes;

    TEditForm()
    {
        Form.SetBounds(0, 0, 200, 100);
        Edit->SetParent(&Form);
        Edit->SetBounds(10, 10, 100, 21);
        Other->SetParent(&Form);
        Other->SetBounds(10, 40, 100, 21);
        Edit->OnChange = [this](TObject*) { Changes.push_back(Edit->Text()); };
        Edit->SetFocus();
    }
    void Key(TKey K, TShiftState S = {}) { Form.HandleKeyDown(K, S); }
    void Type(const std::string& T) { Form.HandleTextInput(T); }
};

TEST(EditChange, FiresAtOnceOnCodeWritesOnlyWhenTheTextChanges)
{
    TEditForm E;
    E.Edit->SetText("150");
    EXPECT_EQ(E.Changes, (std::vector<std::string>{"150"}));
    E.Edit->SetText("150");
    EXPECT_EQ(E.Changes.size(), 1u);
    EXPECT_EQ(E.Edit->SelStart(), 3);
    EXPECT_EQ(E.Edit->SelLength(), 0);
}

TEST(EditChange, EveryKeystrokeFiresAndAHandlerMayRewriteTheText)
{
    TEditForm E;
    // Like a numeric field that rejects values of 200 and more.
    E.Edit->OnChange = [&](TObject*) {
        E.Changes.push_back(E.Edit->Text());
        if (E.Edit->Text().size() > 2) E.Edit->SetText(E.Edit->Text().substr(0, 2));
    };
    E.Type("2");
    E.Type("5");
    E.Type("0");
    EXPECT_EQ(E.Edit->Text(), "25");
    EXPECT_EQ(E.Changes, (std::vector<std::string>{"2", "25", "250", "25"}));
    E.Type("x"); // caret stayed at the end after the rewrite
    EXPECT_EQ(E.Changes.back(), "25");
}

TEST(EditKeys, CaretMovesDeletesAndShiftSelects)
{
    TEditForm E;
    E.Edit->SetText("abcd");
    E.Key(vkLeft);
    E.Key(vkBack);
    EXPECT_EQ(E.Edit->Text(), "abd");
    E.Key(vkHome);
    E.Key(vkDelete);
    EXPECT_EQ(E.Edit->Text(), "bd");
    E.Key(vkEnd);
    E.Key(vkLeft, {ssShift});
    E.Key(vkLeft, {ssShift});
    EXPECT_EQ(E.Edit->SelStart(), 0);
    EXPECT_EQ(E.Edit->SelLength(), 2);
    E.Type("Z"); // typing replaces the selection
    EXPECT_EQ(E.Edit->Text(), "Z");
    E.Key(vkBack);
    E.Key(vkBack); // nothing left to delete: no change event
    EXPECT_EQ(E.Edit->Text(), "");
    EXPECT_EQ(E.Changes, (std::vector<std::string>{"abcd", "abd", "bd", "Z", ""}));
}

TEST(EditKeys, EditingKeysAreConsumedButEnterIsNot)
{
    TEditForm E;
    TKey K = vkLeft;
    E.Edit->KeyDown(K, {});
    EXPECT_EQ(K, 0);
    K = vkReturn;
    E.Edit->KeyDown(K, {});
    EXPECT_EQ(K, vkReturn);
}

TEST(EditKeys, MultiByteCharactersAreStepOverWhole)
{
    TEditForm E;
    E.Edit->SetText("a\xC3\xA9");  // "aé"
    E.Key(vkBack);
    EXPECT_EQ(E.Edit->Text(), "a");
    E.Type("\xC3\xA9\n");          // line breaks are not typed into one line
    EXPECT_EQ(E.Edit->Text(), "a\xC3\xA9");
    E.Key(vkLeft);
    EXPECT_EQ(E.Edit->SelStart(), 1);
}

TEST(EditFocus, TabSelectsAllButAClickPlacesTheCaret)
{
    TEditForm E;
    E.Other->SetText("hello");
    E.Form.HandleKeyDown(vkTab, {});
    ASSERT_EQ(E.Form.ActiveControl(), E.Other);
    EXPECT_EQ(E.Other->SelStart(), 0);
    EXPECT_EQ(E.Other->SelLength(), 5);
    E.Form.HandleMouseDown(mbLeft, {}, 11, 45);
    E.Form.HandleMouseUp(mbLeft, {}, 11, 45);
    EXPECT_EQ(E.Other->SelLength(), 0);
    EXPECT_EQ(E.Other->SelStart(), 0);
}

TEST(EditSelection, SettersClampIntoTheText)
{
    TEditForm E;
    E.Edit->SetText("abc");
    E.Edit->SetSelStart(10);
    EXPECT_EQ(E.Edit->SelStart(), 3);
    E.Edit->SetSelStart(1);
    E.Edit->SetSelLength(10);
    EXPECT_EQ(E.Edit->SelLength(), 2);
    E.Edit->SetSelLength(-3);
    EXPECT_EQ(E.Edit->SelLength(), 0);
}

TEST(EditPainting, FocusedFieldShowsSelectionInHighlight)
{
    TEditForm E;
    E.Edit->SetText("WWWW");
    E.Edit->SelectAll();
    E.Form.PaintAll();
    bool SawHighlight = false;
    for (int X = 10; X < 110; ++X)
        SawHighlight = SawHighlight || E.Form.Surface().Pixel(X, 20) == ColorToRGB(clHighlight);
    EXPECT_TRUE(SawHighlight);
    EXPECT_EQ(E.Form.Surface().Pixel(12, 12), ColorToRGB(clWindow)); // inside the frame
}

// Clusters of more than one character: a letter with two marks, an emoji with a skin
// tone, a Hangul syllable written in its three jamo.
const std::string Clusters[] = {
    "a\xCC\x88\xCC\xA3",
    "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD",
    "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB",
};

TEST(EditClusters, ArrowsAndShiftArrowsStepOverWholeClusters)
{
    for (const std::string& X : Clusters) {
        TEditForm E;
        const int N = static_cast<int>(X.size());
        E.Edit->SetText("x" + X + "y");
        E.Key(vkHome);
        E.Key(vkRight);
        E.Key(vkRight);
        EXPECT_EQ(E.Edit->SelStart(), 1 + N) << X;
        E.Key(vkLeft);
        EXPECT_EQ(E.Edit->SelStart(), 1) << X;
        E.Key(vkRight, {ssShift});
        EXPECT_EQ(E.Edit->SelStart(), 1) << X;
        EXPECT_EQ(E.Edit->SelLength(), N) << X;
        E.Key(vkEnd);
        E.Key(vkLeft, {ssShift});
        E.Key(vkLeft, {ssShift});
        EXPECT_EQ(E.Edit->SelStart(), 1) << X;
        EXPECT_EQ(E.Edit->SelLength(), N + 1) << X;
    }
}

TEST(EditClusters, BackspaceAndDeleteRemoveWholeClusters)
{
    for (const std::string& X : Clusters) {
        TEditForm E;
        E.Edit->SetText("x" + X + "y");
        E.Key(vkEnd);
        E.Key(vkLeft);
        E.Key(vkBack);
        EXPECT_EQ(E.Edit->Text(), "xy") << X;
        EXPECT_EQ(E.Edit->SelStart(), 1) << X;
        E.Edit->SetText(X + X);
        E.Key(vkHome);
        E.Key(vkDelete);
        EXPECT_EQ(E.Edit->Text(), X) << X;
        E.Key(vkDelete);
        EXPECT_EQ(E.Edit->Text(), "") << X;
    }
    // The limit counts clusters: a letter with its marks is one.
    TEditForm E;
    E.Edit->MaxLength = 2;
    E.Type(Clusters[0]);
    E.Type("bc");
    EXPECT_EQ(E.Edit->Text(), Clusters[0] + "b");
}

// Arabic typed letter by letter is drawn as one joined word, right to left: what the
// canvas draws for the word, not its letters' separate forms; the caret stands at the
// word's left end, where the next letter will go, and a click at its right end puts
// the caret before the first letter.
TEST(EditClusters, TypedArabicIsJoinedRightToLeft)
{
    if (!TFontEngine::Instance().HasFace(TFont{})) GTEST_SKIP() << "no sans font installed";
    const std::string Beh = "\xD8\xA8", Yeh = "\xD9\x8A", Teh = "\xD8\xAA", Word = Beh + Yeh + Teh;
    TEditForm E;
    for (const std::string& Letter : {Beh, Yeh, Teh}) E.Type(Letter);
    ASSERT_EQ(E.Edit->Text(), Word);
    EXPECT_EQ(E.Edit->SelStart(), 6);

    // The field's pixels against the word and the letters drawn at its text's place.
    const TFont Font;
    const int TH = TFontEngine::Instance().TextHeight(Font), TY = (21 - TH) / 2;
    const auto Field = [&] {
        E.Form.PaintAll();
        // Inside the frame's two pixels and the margin.
        TBitmap B(100, 21, clWindow);
        for (int Y = 2; Y < 19; ++Y)
            for (int X = 3; X < 97; ++X) B.ScanLine(Y)[X] = static_cast<uint32_t>(E.Form.Surface().Pixel(10 + X, 10 + Y));
        return B;
    };
    const auto Drawn = [&](const std::vector<std::string>& Parts) {
        TBitmap B(100, 21, clWindow);
        TCanvas C(&B, {0, 0}, Rect(3, 0, 97, 21));
        int X = 3;
        for (const std::string& P : Parts) {
            C.TextOut(X, TY, P);
            X += C.TextWidth(P);
        }
        return B;
    };
    E.Other->SetFocus(); // no caret over the text
    const TBitmap Shown = Field();
    EXPECT_TRUE(Shown == Drawn({Word})) << "the field draws the shaped word";
    EXPECT_FALSE(Shown == Drawn({Teh, Yeh, Beh})) << "not the letters' own forms, right to left";
    EXPECT_FALSE(Shown == Drawn({Beh, Yeh, Teh})) << "nor left to right";

    E.Edit->SetFocus();
    const TBitmap Focused = Field();
    for (int Y = TY; Y < TY + TH; ++Y) EXPECT_EQ(Focused.Pixel(3, Y), ColorToRGB(clWindowText)) << Y;
    const int W = TFontEngine::Instance().TextWidth(Font, Word);
    E.Form.HandleMouseDown(mbLeft, {}, 10 + 3 + W - 1, 20);
    E.Form.HandleMouseUp(mbLeft, {}, 10 + 3 + W - 1, 20);
    EXPECT_EQ(E.Edit->SelStart(), 0);
    E.Key(vkRight);
    EXPECT_EQ(E.Edit->SelStart(), 2) << "the caret follows the logical order";
}

// A selection across a change of direction is highlighted where its characters are
// drawn: "c " at the left, alef at the far right, not the letters between.
TEST(EditClusters, ASelectionAcrossDirectionsIsHighlightedWhereItsLettersAre)
{
    if (!TFontEngine::Instance().HasFace(TFont{})) GTEST_SKIP() << "no sans font installed";
    const std::string Text = "abc \xD7\x90\xD7\x91\xD7\x92";
    TEditForm E;
    E.Edit->SetText(Text);
    E.Key(vkHome);
    E.Key(vkRight);
    E.Key(vkRight);
    for (int I = 0; I < 3; ++I) E.Key(vkRight, {ssShift});
    ASSERT_EQ(E.Edit->SelStart(), 2);
    ASSERT_EQ(E.Edit->SelLength(), 4);
    E.Form.PaintAll();
    const auto L = TFontEngine::Instance().Layout(TFont(), Text);
    const int TH = TFontEngine::Instance().TextHeight(TFont()), Top = 10 + (21 - TH) / 2;
    const auto Highlighted = [&](int X) { return E.Form.Surface().Pixel(10 + 3 + X, Top) == ColorToRGB(clHighlight); };
    EXPECT_TRUE(Highlighted((L->CaretX(2) + L->CaretX(3)) / 2)) << "c";
    EXPECT_TRUE(Highlighted(L->Width() - 2)) << "alef";
    EXPECT_FALSE(Highlighted((L->CaretX(6) + L->CaretX(8)) / 2)) << "bet";
    EXPECT_FALSE(Highlighted(L->CaretX(1) - 2)) << "a";
}

} // namespace
