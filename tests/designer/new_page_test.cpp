// Ctrl+N as a person meets it: unsaved changes are asked about first, and the page that
// follows is the empty page, without a file, that `new --blank` writes.

#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

TEST_F(Designer, CtrlNAsksAboutUnsavedChangesThenStartsAnEmptyPage)
{
    const std::string File = TempFile("before_new.txt");
    ASSERT_TRUE(D->Document().SaveAs(File));
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"Unsaved\"\nkey Enter\n");
    const std::string Edited = Text();

    // Cancel keeps the page and its edit; the typed text was set before the question.
    TRecordingBackEnd* Back = &Run("key Ctrl+N\nclick Cancel\n");
    ASSERT_EQ(Back->Messages.size(), 1u);
    EXPECT_NE(Back->Messages[0].find("Save the changes to"), std::string::npos) << Back->Messages[0];
    EXPECT_EQ(Text(), Edited);
    EXPECT_EQ(D->Document().FileName(), File);

    // Save writes the file first, then the empty page shows.
    Back = &Run("key Ctrl+N\nclick Save\n");
    EXPECT_EQ(Back->Messages.size(), 1u);
    EXPECT_EQ(Contents(File), Edited);
    EXPECT_EQ(Text(), BlankPageText());
    EXPECT_EQ(D->Document().FileName(), "");
    EXPECT_FALSE(D->Document().IsModified());
    EXPECT_FALSE(D->Document().CanUndo());
    EXPECT_EQ(D->Caption(), "Qell Designer - (new page)");
    EXPECT_EQ(D->Document().Entries().size(), 1u) << "the page alone";
    EXPECT_EQ(D->Status().Action(), "New page");

    // An empty page unchanged asks nothing.
    Back = &Run("key Ctrl+N\n");
    EXPECT_TRUE(Back->Messages.empty());
    EXPECT_EQ(Text(), BlankPageText());
}

} // namespace
