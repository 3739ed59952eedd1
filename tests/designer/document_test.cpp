// The designer's panes as views of one document: an edit made through the document's
// own operations (the way the command line edits) shows in every pane exactly as an
// edit typed into the inspector does, and undo, redo and renames reach every pane.

#include <chrono>

#include "platform/toolkit/resources/ClassRegistry.h"
#include "platform/toolkit/resources/FormReader.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

// Counts what a document tells its observers.
class TRecorder : public IDocumentObserver {
public:
    std::vector<TDocumentChange> Changes;
    void DocumentChanged(const TDocumentChange& Change) override { Changes.push_back(Change); }
};

TEST_F(Designer, EveryPaneFollowsAnEditMadeThroughTheDocument)
{
    TPageDocument& Doc = D->Document();
    TRecorder Recorder;
    Doc.AddObserver(Recorder);
    Run("pick ButtonOrder\ninspect Inspector Appearance.BackgroundColor\n");
    const TPagePreview& P = D->Preview();
    const TRect R = P.ComponentRect(Find("ButtonOrder"));
    const TPoint Inside{R.Left + 3, (R.Top + R.Bottom) / 2};
    const TColor Before = PixelOf(P, Inside.X, Inside.Y);
    ASSERT_EQ(Before, Web("SeaGreen"));

    // As `set` does it: the editor of a path, told to the document.
    Recorder.Changes.clear();
    Doc.Editor("ButtonOrder.Appearance.BackgroundColor")->SetValue("Gold");
    ASSERT_EQ(Recorder.Changes.size(), 1u);
    const TDocumentChange& Edit = Recorder.Changes[0];
    EXPECT_TRUE(Edit.Values && Edit.File && !Edit.Entries && !Edit.NewPage);
    ASSERT_EQ(Edit.Components.size(), 1u) << "the component that holds the selected object";
    D->PaintAll();
    EXPECT_EQ(PixelOf(P, Inside.X, Inside.Y), Web("Gold")) << "the preview";
    EXPECT_EQ(D->Inspector().RowValue(D->Inspector().SelectedRow()), "Gold") << "the inspector's row";
    EXPECT_EQ(D->Caption(), "Qell Designer - (new page) *") << "the caption";

    Run("key Ctrl+Z\n");
    ASSERT_NE(Recorder.Changes.back().Step, nullptr) << "an undo names its step";
    D->PaintAll();
    EXPECT_EQ(PixelOf(P, Inside.X, Inside.Y), Before);
    EXPECT_EQ(D->Inspector().RowValue(D->Inspector().SelectedRow()), "SeaGreen");
    EXPECT_EQ(D->Caption(), "Qell Designer - (new page)");
    EXPECT_EQ(D->Status().Action(), "Undid the edit");
    Doc.RemoveObserver(Recorder);
}

TEST_F(Designer, ARenameReachesTheListTheHeadingAndUndo)
{
    const auto Line = [&](int Index) { return D->List().Items(Index); };
    const TDocumentEntry* E = D->Document().FindEntry("ButtonOrder");
    ASSERT_NE(E, nullptr);
    const int Index = static_cast<int>(E - D->Document().Entries().data());
    const auto HeadingText = [&] { return dynamic_cast<TLabel&>(*D->FindComponent("InspectorLabel")).Caption(); };

    Run("pick ButtonOrder\ninspect Inspector Name\ntype Inspector \"Checkout\"\nkey Enter\n");
    EXPECT_EQ(Line(Index), "Checkout: TQellButton");
    EXPECT_EQ(HeadingText(), "Checkout: TQellButton");
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Line(Index), "ButtonOrder: TQellButton");
    EXPECT_EQ(HeadingText(), "ButtonOrder: TQellButton");
    Run("key Ctrl+Y\n");
    EXPECT_EQ(HeadingText(), "Checkout: TQellButton");
    EXPECT_NE(D->Document().FindEntry("Checkout"), nullptr);
}

} // namespace

namespace {

// A page built by every structural operation in turn, then undone step by step: each
// undo gives back the page text seen before that step, byte for byte, and redoing all
// gives the last one; objects the steps name stay the same objects throughout.
TEST(PageDocument, EveryStructuralStepUndoesAndRedoesToTheExactText)
{
    TPageDocument Doc;
    Doc.SetPage(ReadPageText(SamplePageText()), "");
    std::vector<std::string> Texts{PageText(Doc.Page())};
    const auto Step = [&] { Texts.push_back(PageText(Doc.Page())); };
    TQellPage& Page = Doc.Page();
    const TClassInfo* Button = FindClass("TQellButton");
    ASSERT_NE(Button, nullptr);

    TQellControl& Added = Doc.AddComponent(*Button, "", {40, 50});
    EXPECT_EQ(Added.Name(), "QellButton1");
    Step();
    EXPECT_EQ(Doc.AddComponent(*Button, "", {60, 70}, TPoint{90, 30}).Name(), "QellButton2");
    Step();
    Doc.SetBounds({{&Added, Bounds(44, 52, 80, 24)}}, "Moved QellButton1");
    Step();
    TComponent* Order = Page.FindComponent("ButtonOrder");
    const std::string Copied = Doc.ComponentsText({Order, &Added});
    std::vector<TComponent*> Pasted = Doc.PasteComponents(Copied, {8, 8});
    ASSERT_EQ(Pasted.size(), 2u);
    EXPECT_EQ(Pasted[0]->Name(), "ButtonOrder1") << "taken: the lowest free number after the name";
    EXPECT_EQ(Pasted[1]->Name(), "QellButton3") << "trailing digits give way to the number";
    EXPECT_EQ(dynamic_cast<TQellControl&>(*Pasted[0]).Left, dynamic_cast<TQellControl&>(*Order).Left + 8);
    Step();
    EXPECT_EQ(Doc.PasteComponents(Copied, {8, 8})[0]->Name(), "ButtonOrder2");
    EXPECT_EQ(dynamic_cast<TQellControl&>(*Page.FindComponent("ButtonOrder2")).Left,
              dynamic_cast<TQellControl&>(*Order).Left + 16) << "not onto the first copy";
    Step();
    Doc.SendToBack({Pasted[1]});
    EXPECT_EQ(Page.Components(0), Pasted[1]);
    Step();
    Doc.BringToFront({Order});
    EXPECT_EQ(Page.Components(Page.ComponentCount() - 1), Order);
    Step();
    Doc.DeleteComponents({Order, &Added, &Page});
    EXPECT_EQ(Page.FindComponent("ButtonOrder"), nullptr);
    EXPECT_EQ(Doc.Selection(), std::vector<TPersistent*>{&Page});
    Step();

    for (size_t I = Texts.size() - 1; I > 0; --I) {
        Doc.Undo();
        ASSERT_EQ(PageText(Doc.Page()), Texts[I - 1]) << "undo to before step " << I;
    }
    EXPECT_FALSE(Doc.IsModified());
    EXPECT_EQ(Page.FindComponent("ButtonOrder"), Order) << "the same object back";
    while (Doc.CanRedo()) Doc.Redo();
    EXPECT_EQ(PageText(Doc.Page()), Texts.back());
}

TEST(PageDocument, APasteThatIsNoComponentChangesNothing)
{
    TPageDocument Doc;
    Doc.SetPage(ReadPageText(SamplePageText()), "");
    const std::string Before = PageText(Doc.Page());
    const std::pair<const char*, const char*> Cases[] = {
        {"Caption = 'x'\n", "line 1: not a component"},
        {"object A: TQellButton\n  Nonsense = 1\nend\n", "line 2: unknown property 'Nonsense'"},
        {"object A: TNoSuchClass\nend\n", "line 1: "},
        {"object A: TQellButton\n  Left = 3\n", "line 3"},
        {"object P: TQellPage\nend\n", "line 1: the text holds no component"},
    };
    for (const auto& [Text, Says] : Cases) {
        try {
            Doc.PasteComponents(Text, {8, 8});
            ADD_FAILURE() << "pasted: " << Text;
        } catch (const EReadError& E) {
            EXPECT_NE(E.Message().find(Says), std::string::npos) << "says: " << E.Message();
        }
        EXPECT_EQ(PageText(Doc.Page()), Before);
        EXPECT_FALSE(Doc.CanUndo());
    }
}

// Key presses of one kind within a second are one step; a pause starts another.
TEST(PageDocument, ARunOfBoundsChangesWithinASecondIsOneStep)
{
    TPageDocument Doc;
    Doc.SetPage(ReadPageText(SamplePageText()), "");
    auto Now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    Doc.Clock = [&] { return Now; };
    auto& B = dynamic_cast<TQellControl&>(*Doc.Page().FindComponent("ButtonOrder"));
    const int Left = B.Left;
    for (int I = 1; I <= 3; ++I) {
        Doc.SetBounds({{&B, Bounds(Left + I, B.Top, B.Width, B.Height)}}, "Moved", "Right");
        Now += std::chrono::milliseconds(400);
    }
    Now += std::chrono::seconds(2);
    Doc.SetBounds({{&B, Bounds(Left + 4, B.Top, B.Width, B.Height)}}, "Moved", "Right");
    Doc.Undo();
    EXPECT_EQ(B.Left, Left + 3);
    Doc.Undo();
    EXPECT_EQ(B.Left, Left) << "three presses, one step";
    EXPECT_FALSE(Doc.CanUndo());
}

} // namespace
