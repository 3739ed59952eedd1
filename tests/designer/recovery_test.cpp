// Recovery files as hostile input and as the last home of a user's work: text typed and
// not yet set is kept and set on recovery (or refused, saying so, with the text shown);
// a recovery file that is a link or another user's is refused, never followed; a
// script is never asked; pages of one name in different folders never share one.

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "apps/designer/document/Recovery.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

bool Exists(const std::string& File)
{
    struct stat Info;
    return lstat(File.c_str(), &Info) == 0;
}

TEST_F(Designer, TextTypedButNotSetIsRecoveredThroughItsRowsEditor)
{
    const std::string File = TempFile("typed.txt"), Recovered = RecoveryFileBeside(File);
    std::remove(Recovered.c_str());
    ASSERT_TRUE(D->Document().SaveAs(File));
    Run("pick ButtonOrder\ninspect Inspector Appearance.TextColor\ntype Inspector \"tomato\"\n");
    ASSERT_FALSE(D->Document().IsModified()) << "typed, not set";
    ASSERT_EQ(D->Document().WriteRecovery(), Recovered);
    EXPECT_EQ(Contents(Recovered).rfind("// typed ButtonOrder.Appearance.TextColor tomato\nobject ", 0), 0u);

    EXPECT_TRUE(OpenAsAPerson(File, "click Recover\n").size() == 1) << "only the question";
    EXPECT_EQ(Button().TextColor, Web("Tomato"));
    EXPECT_TRUE(D->Document().IsModified());

    // Text the row refuses is shown, not lost; the rest of the page is recovered.
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"Pay\"\nkey Enter\n"
        "inspect Inspector Appearance.TextColor\ntype Inspector \"Bluish green\"\n");
    ASSERT_EQ(D->Document().WriteRecovery(), Recovered);
    const std::vector<std::string> Shown = OpenAsAPerson(File, "click Recover\nclick OK\n");
    ASSERT_EQ(Shown.size(), 2u);
    EXPECT_NE(Shown[1].find("ButtonOrder.Appearance.TextColor was not set"), std::string::npos) << Shown[1];
    EXPECT_NE(Shown[1].find("'Bluish green'"), std::string::npos) << Shown[1];
    EXPECT_EQ(Find("ButtonOrder").Caption, "Pay");
    EXPECT_TRUE(Exists(Recovered)) << "kept until saved or discarded";
    std::remove(Recovered.c_str());
}

TEST_F(Designer, ARecoveryFileThatIsALinkOrAnothersIsRefusedAndNeverFollowed)
{
    const std::string File = TempFile("linked.txt"), Recovered = RecoveryFileBeside(File);
    const std::string Secret = TempFile("secret.txt");
    std::remove(Recovered.c_str());
    ASSERT_TRUE(D->Document().SaveAs(File));
    const std::string OnDisk = Contents(File);
    // Another file of the user's that reads as a page.
    std::ofstream(Secret) << "object Secret: TQellPage\n  Title = 'not this page'\nend\n";
    ASSERT_EQ(symlink(Secret.c_str(), Recovered.c_str()), 0);
    std::vector<std::string> Shown = OpenAsAPerson(File, "click Recover\nclick OK\n");
    ASSERT_EQ(Shown.size(), 2u);
    EXPECT_NE(Shown[1].find("a symbolic link, not followed"), std::string::npos) << Shown[1];
    EXPECT_EQ(Text(), OnDisk);
    EXPECT_FALSE(D->Document().IsModified());

    // A recovery written now replaces the link itself, never the file it points at.
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"Pay\"\nkey Enter\n");
    ASSERT_EQ(D->Document().WriteRecovery(), Recovered);
    EXPECT_EQ(Contents(Secret), "object Secret: TQellPage\n  Title = 'not this page'\nend\n");
    struct stat Info;
    ASSERT_EQ(lstat(Recovered.c_str(), &Info), 0);
    EXPECT_TRUE(S_ISREG(Info.st_mode));
    EXPECT_EQ(Info.st_mode & 0777, 0600u) << "readable by its user only";

    if (geteuid() == 0) {
        ASSERT_EQ(chown(Recovered.c_str(), 65534, 65534), 0);
        Shown = OpenAsAPerson(File, "click Recover\nclick OK\n");
        ASSERT_EQ(Shown.size(), 2u);
        EXPECT_NE(Shown[1].find("owned by another user"), std::string::npos) << Shown[1];
        EXPECT_EQ(Text(), OnDisk);
    }
    std::remove(Recovered.c_str());
    std::remove(Secret.c_str());
}

TEST_F(Designer, AScriptIsNeverAskedAboutARecoveryFile)
{
    const std::string File = TempFile("scripted.txt"), Recovered = RecoveryFileBeside(File);
    ASSERT_TRUE(D->Document().SaveAs(File));
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"Pay\"\nkey Enter\n");
    ASSERT_EQ(D->Document().WriteRecovery(), Recovered);
    D->Document().SetPage(ReadPageText(SamplePageText()), "");
    testing::internal::CaptureStderr();
    TRecordingBackEnd& Back = Run("key Ctrl+O\ntype FileName \"" + File + "\"\nclick OK\npick ButtonOrder\n");
    const std::string Said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Back.Messages.empty()) << Back.Messages[0];
    EXPECT_NE(Said.find("'" + Recovered + "' holds unsaved changes"), std::string::npos) << Said;
    EXPECT_EQ(Find("ButtonOrder").Caption, "Order") << "the page as on disk";
    EXPECT_TRUE(Exists(Recovered)) << "left for a person to decide";
    std::remove(Recovered.c_str());
}

TEST_F(Designer, PagesOfOneNameInFoldersThatCannotBeWrittenKeepRecoveriesApart)
{
    const std::string State = ::testing::TempDir() + "designer_state_apart";
    ASSERT_EQ(setenv("XDG_STATE_HOME", State.c_str(), 1), 0);
    // Folders that are not there cannot be written, even by root.
    std::vector<std::string> Written;
    for (const char* Folder : {"/nonexistent-qell-a", "/nonexistent-qell-b"}) {
        const std::string Page = std::string(Folder) + "/page.txt";
        D->Document().SetPage(ReadPageText(SamplePageText()), Page);
        Run(std::string("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"") + Folder + "\"\nkey Enter\n");
        Written.push_back(D->Document().WriteRecovery());
        EXPECT_EQ(Written.back().rfind(State + "/qell-designer/page.txt.", 0), 0u) << Written.back();
        EXPECT_EQ(D->Document().RecoveryFile(), Written.back());
    }
    unsetenv("XDG_STATE_HOME");
    ASSERT_NE(Written[0], Written[1]);
    EXPECT_NE(Contents(Written[0]).find("/nonexistent-qell-a"), std::string::npos);
    EXPECT_NE(Contents(Written[1]).find("/nonexistent-qell-b"), std::string::npos);
    for (const std::string& W : Written) std::remove(W.c_str());
}

} // namespace
