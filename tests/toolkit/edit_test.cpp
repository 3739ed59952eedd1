// Text editing and its change events.

#include <gtest/gtest.h>

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

} // namespace
