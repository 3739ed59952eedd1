// Collections and lists as the designer builds them: the document's operations on a
// collection's items, each one undo step that gives the page's text back byte for byte,
// and the designer's own editors driven by event scripts as a person drives them: the
// collection editor the spinner's Slots row opens, and the box of a list's Items.

#include "platform/components/IWQellSpinner.h"
#include "platform/toolkit/ListBox.h"
#include "platform/toolkit/Memo.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

// Each step of a collection's items, then undone step by step: each undo gives back the
// text seen before that step, the items taken out are the same objects when they come
// back, and what left the page leaves the selection.
TEST(PageDocument, CollectionItemStepsUndoAndRedoToTheExactText)
{
    TPageDocument Doc;
    Doc.SetPage(ReadPageText(SamplePageText()), "");
    TQellSpinnerSlots& Slots = dynamic_cast<TQellSpinner&>(*Doc.Page().FindComponent("SpinnerFilling")).Slots;
    const size_t Entries = Doc.Entries().size();
    TQellSpinnerSlot* Cheese = Slots.Items(0);
    TQellSpinnerSlot* Ham = Slots.Items(1);
    std::vector<std::string> Texts{PageText(Doc.Page())};
    const auto Step = [&] { Texts.push_back(PageText(Doc.Page())); };

    TCollectionItem& Added = Doc.AddCollectionItem(Slots);
    EXPECT_EQ(Added.Index(), 4);
    EXPECT_EQ(Doc.Selection(), std::vector<TPersistent*>{&Added});
    EXPECT_EQ(Doc.Entries().size(), Entries + 1) << "the new item is an entry";
    Step();
    Doc.MoveCollectionItem(Added, 0);
    EXPECT_EQ(Slots.Items(0), &Added);
    EXPECT_EQ(Doc.EntryOf(&Added)->Path, "SpinnerFilling.Slots[0]");
    EXPECT_EQ(Doc.Selection(), std::vector<TPersistent*>{&Added}) << "the selection stays";
    Step();
    Doc.DeleteCollectionItem(*Cheese);
    EXPECT_EQ(Doc.Selection(), std::vector<TPersistent*>{Ham}) << "the item that took its place";
    Step();
    Doc.DeleteCollectionItem(*Slots.Items(3));
    EXPECT_EQ(Doc.Selection(), std::vector<TPersistent*>{Slots.Items(2)}) << "the last gone: the one before";
    Step();
    Doc.Select({&Added});
    for (int I = Slots.Count(); I > 0; --I) {
        Doc.DeleteCollectionItem(*Slots.Items(0));
        Step();
    }
    EXPECT_EQ(Slots.Count(), 0);
    EXPECT_EQ(Doc.Selection(), std::vector<TPersistent*>{Doc.Page().FindComponent("SpinnerFilling")})
        << "none left: the spinner";

    for (size_t I = Texts.size() - 1; I > 0; --I) {
        if (I == 1) Doc.Select({&Added}); // and then its addition is undone
        Doc.Undo();
        ASSERT_EQ(PageText(Doc.Page()), Texts[I - 1]) << "undo to before step " << I;
    }
    EXPECT_FALSE(Doc.CanUndo()) << "one step each";
    EXPECT_FALSE(Doc.IsModified());
    EXPECT_EQ(Slots.Items(0), Cheese) << "the same object back";
    EXPECT_EQ(Slots.Count(), 4);
    EXPECT_EQ(Doc.Entries().size(), Entries);
    EXPECT_EQ(Doc.EntryOf(&Added), nullptr);
    EXPECT_EQ(Doc.Selection(), std::vector<TPersistent*>{&Doc.Page()}) << "the added item left the selection";
    while (Doc.CanRedo()) Doc.Redo();
    EXPECT_EQ(PageText(Doc.Page()), Texts.back());
}

// A collection no component of the page publishes, or a place outside the collection,
// is refused with the page as it was and no undo step.
TEST(PageDocument, CollectionItemRefusalsChangeNothing)
{
    TPageDocument Doc;
    Doc.SetPage(ReadPageText(SamplePageText()), "");
    const std::string Before = PageText(Doc.Page());
    TQellSpinner Loose(nullptr);
    EXPECT_THROW(Doc.AddCollectionItem(Loose.Slots), EComponentError);
    EXPECT_EQ(Loose.Slots.Count(), 0);
    TQellSpinnerSlots& Slots = dynamic_cast<TQellSpinner&>(*Doc.Page().FindComponent("SpinnerFilling")).Slots;
    EXPECT_THROW(Doc.MoveCollectionItem(*Slots.Items(0), 4), EStringListError);
    EXPECT_THROW(Doc.MoveCollectionItem(*Slots.Items(0), -1), EStringListError);
    Doc.MoveCollectionItem(*Slots.Items(2), 2);
    EXPECT_EQ(PageText(Doc.Page()), Before);
    EXPECT_FALSE(Doc.CanUndo());
}

// Keeps what the designer's own editors showed as they closed: the collection editor's
// lines and the items box's text.
class TEditorsBackEnd : public TRecordingBackEnd {
public:
    using TRecordingBackEnd::TRecordingBackEnd;
    std::vector<std::string> ListLines;
    std::string BoxText;
    void FormHidden(TForm& Form) override
    {
        auto* List = Form.Name() == "CollectionEditor" ? dynamic_cast<TListBox*>(Form.FindComponent("Items")) : nullptr;
        if (List) {
            ListLines.clear();
            for (int I = 0; I < List->Count(); ++I) ListLines.push_back(List->Items(I));
        }
        if (auto* Box = dynamic_cast<TMemo*>(Form.FindComponent("Lines"))) BoxText = Box->Text();
        TRecordingBackEnd::FormHidden(Form);
    }
};

class Collections : public Designer {
protected:
    TEditorsBackEnd& RunEditors(std::string_view Script)
    {
        auto B = std::make_unique<TEditorsBackEnd>(Script);
        TEditorsBackEnd& Back = *B;
        Application->SetBackEnd(std::move(B));
        D->ShowModal();
        EXPECT_FALSE(Back.Failed()) << Back.ScriptError();
        return Back;
    }
    // The spinner's collection editor opened from its Slots row, Script run in it, and
    // closed.
    TEditorsBackEnd& InSlotsEditor(const std::string& Script)
    {
        return RunEditors("pick SpinnerFilling\ninspect Inspector Slots\nellipsis Inspector\n" + Script +
                          "click Close\n");
    }
    // A click on the collection editor's item Index: rows of 16 pixels below a 2-pixel
    // border.
    static std::string ClickItem(int Index)
    {
        return "click Items 30 " + std::to_string(2 + Index * TListBox::DefaultItemHeight + 8) + "\n";
    }
    TQellSpinnerSlots& Slots() const { return Find<TQellSpinner>("SpinnerFilling").Slots; }
    std::string Header() const
    {
        return dynamic_cast<TLabel&>(*D->FindComponent("InspectorLabel")).Caption();
    }
};

TEST_F(Collections, ChoosingAnItemSelectsItSoTheInspectorShowsIt)
{
    const TEditorsBackEnd& Back = InSlotsEditor(ClickItem(2));
    EXPECT_EQ(Back.ListLines, (std::vector<std::string>{"0 - Cheese", "1 - Ham", "2 - Egg", "3 - Tofu"}));
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{Slots().Items(2)});
    EXPECT_EQ(Header(), "SpinnerFilling.Slots[2]: TQellSpinnerSlot");
    const TPropertyInspector& I = D->Inspector();
    ASSERT_GE(I.FindRow("Caption"), 0);
    EXPECT_EQ(I.RowValue(I.FindRow("Caption")), "Egg");
    EXPECT_FALSE(D->Document().CanUndo()) << "choosing changes nothing";
}

// Add, Move up, Delete and Move down, each in the editor as a person clicks them, then
// undone and redone with the designer's keys: every undo gives back the text before its
// step, byte for byte, and redoing them all the text after the last.
TEST_F(Collections, EveryButtonIsOneUndoStepBackToTheExactText)
{
    std::vector<std::string> Texts{Text()};
    TEditorsBackEnd* Back = &InSlotsEditor("click Add\n");
    EXPECT_EQ(Back->ListLines.back(), "4 - TQellSpinnerSlot");
    TCollectionItem* Added = Slots().Items(4);
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{Added});
    Texts.push_back(Text());
    InSlotsEditor(ClickItem(4) + "click MoveUp\n");
    EXPECT_EQ(Slots().Items(3), Added);
    Texts.push_back(Text());
    TQellSpinnerSlot* Cheese = Slots().Items(0);
    Back = &InSlotsEditor(ClickItem(0) + "click Delete\n");
    EXPECT_EQ(Back->ListLines, (std::vector<std::string>{"0 - Ham", "1 - Egg", "2 - TQellSpinnerSlot", "3 - Tofu"}));
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{Slots().Items(0)});
    Texts.push_back(Text());
    Back = &InSlotsEditor(ClickItem(0) + "click MoveDown\nclick MoveDown\n");
    EXPECT_EQ(Back->ListLines, (std::vector<std::string>{"0 - Egg", "1 - TQellSpinnerSlot", "2 - Ham", "3 - Tofu"}));
    Texts.push_back(Text());
    Texts.push_back(Text());
    Texts[4] = ""; // the first of the two moves, checked by its undo below

    for (size_t I = Texts.size() - 1; I > 0; --I) {
        Run("key Ctrl+Z\n");
        if (!Texts[I - 1].empty()) {
            ASSERT_EQ(Text(), Texts[I - 1]) << "undo to before step " << I;
        }
    }
    EXPECT_EQ(Slots().Items(0), Cheese);
    EXPECT_FALSE(D->Document().IsModified());
    EXPECT_FALSE(D->Document().CanUndo()) << "one step each, no more";
    Run("key Ctrl+Y\nkey Ctrl+Y\nkey Ctrl+Y\nkey Ctrl+Y\nkey Ctrl+Y\n");
    EXPECT_EQ(Text(), Texts.back());
}

TEST_F(Collections, TheItemsBoxTakesOneItemALineAndRefusesTheSeparator)
{
    const std::string Before = Text();
    const std::string Open = "pick ListBread\ninspect Inspector Items\nellipsis Inspector\n";
    // A line holding '|': a message, the box open with the text as typed; then Cancel.
    TEditorsBackEnd* Back = &RunEditors(Open + "key Ctrl+A\ntext \"Rye\"\nkey Enter\ntext \"Oat|Barley\"\n"
                                               "click OK\nclick OK\nclick Cancel\n");
    ASSERT_EQ(Back->Messages.size(), 1u);
    EXPECT_NE(Back->Messages[0].find("Line 2, 'Oat|Barley', holds '|'"), std::string::npos) << Back->Messages[0];
    EXPECT_EQ(Back->BoxText, "Rye\nOat|Barley");
    EXPECT_EQ(Text(), Before);
    EXPECT_FALSE(D->Document().CanUndo());

    // The box shows the items one a line; a last line break adds no item.
    Back = &RunEditors(Open + "key Shift+Home\ntext \"Spelt\"\nkey Enter\nclick OK\n");
    EXPECT_EQ(Back->BoxText, "White\nBrown\nRye\nSourdough\nSpelt\n");
    EXPECT_EQ(Find<TQellList>("ListBread").Items, "White|Brown|Rye|Sourdough|Spelt");
    EXPECT_TRUE(Back->Messages.empty());
    // OK on the text as shown changes nothing.
    RunEditors(Open + "click OK\n");
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Text(), Before) << "one step, back byte for byte";
    EXPECT_FALSE(D->Document().CanUndo());
}

} // namespace
