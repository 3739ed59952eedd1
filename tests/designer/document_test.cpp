// The designer's panes as views of one document: an edit made through the document's
// own operations (the way the command line edits) shows in every pane exactly as an
// edit typed into the inspector does, and undo, redo and renames reach every pane.

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
