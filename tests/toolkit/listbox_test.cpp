// The list box, the scroll bar and the small dialogs, driven as a user drives them.

#include <gtest/gtest.h>

#include <map>

#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/ListBox.h"
#include "tests/support/FormTesting.h"

namespace {

struct TListForm {
    TForm Form{nullptr};
    TListBox* List;
    std::vector<std::string> Log;

    TListForm()
    {
        Form.SetBounds(0, 0, 200, 200);
        List = Place<TListBox>(Form, Form, 10, 10, 150, 4 + 5 * 16); // five items show
        List->SetName("List");
        std::vector<std::string> Items;
        for (const char* S : {"apple", "apricot", "banana", "blueberry", "cherry", "date", "elder", "fig", "grape"})
            Items.push_back(S);
        List->SetItems(Items);
        List->OnClick = [this](TObject*) { Log.push_back("click " + List->Items(List->ItemIndex())); };
        List->OnChoose = [this](TObject*) { Log.push_back("choose " + List->Items(List->ItemIndex())); };
        List->SetFocus();
    }
    ~TListForm() { ResetBackEnd(); }
    void Run(const std::string& Script) { UseScript(Script), Form.ShowModal(); }
};

TEST(ListBox, KeysAndTypingMoveTheSelectionAndEnterChooses)
{
    TListForm F;
    F.Run("key Down\nkey End\nkey PageUp\ntext \"b\"\ntext \"l\"\ntext \"z\"\nkey Home\nkey Enter\n");
    EXPECT_EQ(F.Log, (std::vector<std::string>{"click apple", "click grape", "click cherry", "click banana",
                                               "click blueberry", "click apple", "choose apple"}))
        << "'bl' narrows to blueberry; 'z' matches nothing and changes nothing";
}

TEST(ListBox, ScrollsToWhatIsSelectedAndAClickChoosesTheItemUnderIt)
{
    TListForm F;
    F.List->SetItemIndex(8);
    EXPECT_EQ(F.List->TopIndex(), 4) << "the last five items show";
    EXPECT_FALSE(F.List->ItemRect(8).IsEmpty());
    EXPECT_TRUE(F.List->ItemRect(3).IsEmpty());
    const TRect R = F.List->ItemRect(6);
    F.Run("click List 20 " + std::to_string((R.Top + R.Bottom) / 2) + "\n");
    EXPECT_EQ(F.Log, (std::vector<std::string>{"click elder", "choose elder"}));
    // The wheel and the scroll bar move the view, not the selection.
    F.Run("wheel List 20 20 2\n");
    EXPECT_EQ(F.List->TopIndex(), 0);
    EXPECT_EQ(F.List->ItemIndex(), 6);
    F.Run("drag List 140 22 140 200 4\n"); // the scroll bar's thumb to the end
    EXPECT_EQ(F.List->TopIndex(), 4);
    // Items of their own heights: the view scrolls by items, never past the last.
    F.List->OnMeasureItem = [](TObject*, int Index, int& H) { H = Index == 0 ? 40 : 10; };
    F.List->SetStyle(lbOwnerDrawVariable);
    F.List->SetItemIndex(8);
    EXPECT_EQ(F.List->ItemRect(8).Bottom, F.List->ItemRect(F.List->TopIndex()).Top + 10 * (9 - F.List->TopIndex()));
    F.List->SetItemIndex(0);
    EXPECT_EQ(F.List->TopIndex(), 0);
    EXPECT_EQ(F.List->ItemRect(0).Height(), 40);
}

TEST(Dialogs, AnswerTheButtonPressedAndKeepTheValueOnCancel)
{
    auto Ask = [](const std::string& Script) {
        UseScript(Script);
        return MessageBox("Save?", "The form has changed.\nSave it?",
                          {{"Save", "&Save", mrYes}, {"Discard", "&Discard", mrNo}, {"Cancel", "Cancel", mrCancel}});
    };
    EXPECT_EQ(Ask("key Enter"), mrYes) << "the first button is the default";
    EXPECT_EQ(Ask("click Discard"), mrNo);
    EXPECT_EQ(Ask("key Alt+D"), mrNo);
    EXPECT_EQ(Ask("key Escape"), mrCancel);
    EXPECT_EQ(Ask(""), mrCancel) << "closed without an answer";

    std::string Path = "old.form";
    UseScript("type Value \"new.form\"\nkey Enter");
    EXPECT_TRUE(InputQuery("Open", "File:", Path));
    EXPECT_EQ(Path, "new.form");
    UseScript("type Value \"other.form\"\nclick Cancel");
    EXPECT_FALSE(InputQuery("Open", "File:", Path));
    EXPECT_EQ(Path, "new.form");

    TColorDialog Colours;
    Colours.Color = clRed;
    UseScript("select Colors 0 2\nclick OK");
    EXPECT_TRUE(Colours.Execute());
    std::vector<std::string> Names;
    GetColorValues([&](const std::string& S) { Names.push_back(S); });
    TColor Third;
    ASSERT_TRUE(IdentToColor(Names[16], Third));
    EXPECT_EQ(Colours.Color, Third);
    UseScript("key Escape");
    EXPECT_FALSE(Colours.Execute());
    EXPECT_EQ(Colours.Color, Third);
    EXPECT_EQ(Application->ComponentCount(), 0) << "every dialog freed";
    ResetBackEnd();
}

// A line with a tab is two columns: whatever its first part's width, the second parts
// all start at one place past the widest first part, and wrap there.
TEST(Dialogs, AMessageLaysOutLinesWithATabInTwoAlignedColumns)
{
    const std::string Long = "a text long enough to be wrapped, since no message box grows wider than a few "
                             "hundred pixels however much it has to say";
    auto B = std::make_unique<TRecordingBackEnd>("key Enter");
    TRecordingBackEnd& Back = *B;
    Application->SetBackEnd(std::move(B));
    MessageBox("Keys", "Ctrl+Shift+Z\tredo\nF1\tthese keys\nWWW\t" + Long + "\nA line of its own",
               {{"OK", "OK", mrOk}});
    ASSERT_EQ(Back.Labels.size(), 1u);
    std::map<std::string, TRect> At;
    std::vector<TRect> Parts; // of the long text
    for (const auto& [Caption, Bounds] : Back.Labels[0]) {
        At[Caption] = Bounds;
        if (Long.find(Caption) != std::string::npos && Caption.size() > 4) Parts.push_back(Bounds);
    }
    const int Column = At["redo"].Left;
    for (const char* Key : {"Ctrl+Shift+Z", "F1", "WWW", "A line of its own"}) EXPECT_EQ(At[Key].Left, At["F1"].Left);
    for (const char* Key : {"Ctrl+Shift+Z", "F1", "WWW"}) EXPECT_LT(At[Key].Right, Column) << Key;
    EXPECT_EQ(At["these keys"].Left, Column);
    EXPECT_EQ(At["these keys"].Top, At["F1"].Top);
    ASSERT_GE(Parts.size(), 2u) << "the long text wraps";
    for (size_t I = 0; I < Parts.size(); ++I) EXPECT_EQ(Parts[I].Left, Column) << I;
    for (size_t I = 1; I < Parts.size(); ++I) EXPECT_GT(Parts[I].Top, Parts[I - 1].Top) << I;
    EXPECT_EQ(Parts[0].Top, At["WWW"].Top);
    EXPECT_GT(At["A line of its own"].Top, Parts.back().Top);
    ResetBackEnd();
}

} // namespace
