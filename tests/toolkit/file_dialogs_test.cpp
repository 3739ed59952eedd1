// The file chooser driven headless as a user drives it: through the list with
// type-ahead, Enter and Backspace, by a typed path, with the file types, and its
// refusals (a pipe, a missing file) and its question before a file is replaced.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/toolkit/Edit.h"
#include "platform/toolkit/FileDialogs.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/ListBox.h"
#include "tests/support/FormTesting.h"

namespace fs = std::filesystem;

namespace {

// What a test checks on the running form at a "probe N" line of its script.
std::vector<std::function<void(TForm&)>> Probes;

class FileChooser : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterScriptVerb({"probe", "probe N", 1, 1,
                            [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
                                C.Numbers.push_back(ScriptSupport::ReadNumber(Args[0], 0, 99));
                            },
                            [](const TScriptCommand& C, TForm&, TScriptEvents& Out) {
                                Out.push_back([N = C.Numbers[0]](TForm& F) { Probes.at(static_cast<size_t>(N))(F); });
                            }});
    }

    // root/ a.txt b.txt notes.md .hidden.txt pipe.txt (a FIFO) sub/ (page.txt deeper/) Zeta/
    void SetUp() override
    {
        std::string Template = (fs::temp_directory_path() / "chooserXXXXXX").string();
        ASSERT_NE(mkdtemp(Template.data()), nullptr);
        Root = Template;
        for (const char* Name : {"a.txt", "b.txt", "notes.md", ".hidden.txt", "sub/page.txt"})
            Write(Root / Name, Name);
        fs::create_directories(Root / "sub" / "deeper");
        fs::create_directories(Root / "Zeta");
        ASSERT_EQ(mkfifo((Root / "pipe.txt").c_str(), 0600), 0);
        Probes.clear();
    }
    void TearDown() override
    {
        ResetBackEnd();
        fs::remove_all(Root);
    }

    static void Write(const fs::path& P, const std::string& Text)
    {
        fs::create_directories(P.parent_path());
        std::ofstream(P) << Text;
    }

    TRecordingBackEnd& Run(TOpenDialog& Dialog, std::string_view Script, bool Expected)
    {
        auto B = std::make_unique<TRecordingBackEnd>(Script);
        TRecordingBackEnd& Back = *B;
        Application->SetBackEnd(std::move(B));
        EXPECT_EQ(Dialog.Execute(), Expected);
        EXPECT_FALSE(Back.Failed()) << Back.ScriptError();
        EXPECT_TRUE(Back.AtEnd()) << "the chooser ended before its script";
        return Back;
    }

    static TListBox& List(TForm& F) { return *dynamic_cast<TListBox*>(F.FindComponent("Files")); }
    static std::vector<std::string> Items(TForm& F)
    {
        std::vector<std::string> R;
        for (int I = 0; I < List(F).Count(); ++I) R.push_back(List(F).Items(I));
        return R;
    }
    static std::string Folder(TForm& F) { return dynamic_cast<TLabel*>(F.FindComponent("Folder"))->Caption(); }
    static std::string Selected(TForm& F)
    {
        const int I = List(F).ItemIndex();
        return I < 0 ? "" : List(F).Items(I);
    }

    static std::string NameBox(TForm& F) { return dynamic_cast<TEdit*>(F.FindComponent("FileName"))->Text(); }
    // "X Y" of the list's entry Index, for a click on it.
    static std::string Entry(int Index) { return "20 " + std::to_string(2 + 16 * Index + 8); }

    static std::vector<TFileFilter> PageFilters() { return {{"Page files (*.txt)", "*.txt"}, {"All files (*)", "*"}}; }

    fs::path Root;
};

using TItems = std::vector<std::string>;

TEST_F(FileChooser, OpensAFileInASubFolderThroughTheList)
{
    TOpenDialog D;
    D.InitialDir = Root.string();
    D.Filters = PageFilters();
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(F.Caption(), "Open");
        EXPECT_EQ(Folder(F), Root.string());
        EXPECT_EQ(Items(F), (TItems{"..", "sub/", "Zeta/", "a.txt", "b.txt", "pipe.txt"}));
        EXPECT_EQ(F.ActiveControl(), &List(F));
    });
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(Folder(F), (Root / "sub").string());
        EXPECT_EQ(Items(F), (TItems{"..", "deeper/", "page.txt"}));
    });
    // Type-ahead picks the folder; Enter opens it; in it, the file.
    Run(D, "probe 0\ntype Files \"su\"\nkey Enter\nprobe 1\ntype Files \"pa\"\nkey Enter\n", true);
    EXPECT_EQ(D.FileName, (Root / "sub" / "page.txt").string());
}

// A click selects; a double click opens a folder, goes up one level on "..", takes a
// file. The entries at the root: .. sub/ Zeta/ a.txt b.txt pipe.txt.
TEST_F(FileChooser, AClickSelectsAndADoubleClickOpens)
{
    TOpenDialog D;
    D.InitialDir = Root.string();
    D.Filters = PageFilters();
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(Folder(F), Root.string()) << "a click on a folder only selects it";
        EXPECT_EQ(Selected(F), "sub/");
    });
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(Folder(F), Root.string()) << "a click on \"..\" only selects it";
        EXPECT_EQ(Selected(F), "..");
    });
    Probes.push_back([&](TForm& F) { EXPECT_EQ(Folder(F), (Root / "sub").string()); });
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(Folder(F), Root.string()) << "a double click on \"..\" goes up one level";
        EXPECT_EQ(Selected(F), "sub/");
    });
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(F.Name(), "FileDialog") << "a click on a file does not open it";
        EXPECT_EQ(Selected(F), "a.txt");
        EXPECT_EQ(NameBox(F), "a.txt");
    });
    Run(D,
        "click Files " + Entry(1) + "\nprobe 0\nclick Files " + Entry(0) + "\nprobe 1\ndblclick Files " + Entry(1) +
            "\nprobe 2\ndblclick Files " + Entry(0) + "\nprobe 3\nclick Files " + Entry(3) +
            "\nprobe 4\ndblclick Files " + Entry(4) + "\n",
        true);
    EXPECT_EQ(D.FileName, (Root / "b.txt").string());
}

TEST_F(FileChooser, OpensAFileByATypedPathRelativeOrWhole)
{
    TOpenDialog D;
    D.InitialDir = Root.string();
    Run(D, "type FileName \"sub/../sub/page.txt\"\nkey Enter\n", true);
    EXPECT_EQ(D.FileName, (Root / "sub" / "page.txt").string());

    // Starting from a file name: its folder is shown, its name in the box. A whole
    // path typed there, then a folder typed, which opens in the list.
    D.FileName = (Root / "a.txt").string();
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(Folder(F), Root.string());
        EXPECT_EQ(Selected(F), "a.txt");
        EXPECT_EQ(F.ActiveControl()->Name(), "FileName");
    });
    Probes.push_back([&](TForm& F) { EXPECT_EQ(Folder(F), (Root / "sub" / "deeper").string()); });
    Run(D, "probe 0\ntype FileName \"" + Root.string() + "/sub/deeper/\"\nclick OK\nprobe 1\ntype FileName \"" +
               Root.string() + "/b.txt\"\nclick OK\n",
        true);
    EXPECT_EQ(D.FileName, (Root / "b.txt").string());
}

TEST_F(FileChooser, BackspaceGoesUpAndKeepsTheFolderLeftSelected)
{
    TOpenDialog D;
    D.InitialDir = (Root / "sub" / "deeper").string();
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(Folder(F), (Root / "sub").string());
        EXPECT_EQ(Selected(F), "deeper/");
    });
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(Folder(F), Root.string());
        EXPECT_EQ(Selected(F), "sub/");
    });
    Probes.push_back([&](TForm& F) { EXPECT_EQ(Folder(F), (Root / "sub").string()); });
    Probes.push_back([&](TForm& F) { EXPECT_EQ(Folder(F), Root.string()) << "\"..\" goes up too"; });
    Run(D, "key Backspace\nprobe 0\nkey Backspace\nprobe 1\nkey Enter\nprobe 2\nkey Home\nkey Enter\nprobe 3\n"
           "key Escape\n",
        false);
}

TEST_F(FileChooser, RefusesAPipeAndAMissingFileAndStaysOpen)
{
    TOpenDialog D;
    D.InitialDir = Root.string();
    Probes.push_back([&](TForm& F) { EXPECT_EQ(F.Name(), "FileDialog") << "still open after the refusal"; });
    TRecordingBackEnd& Back = Run(D,
                                  "type Files \"pi\"\nkey Enter\nclick OK\nprobe 0\n"
                                  "type FileName \"pipe.txt\"\nkey Enter\nclick OK\n"
                                  "type FileName \"missing.txt\"\nkey Enter\nclick OK\nkey Escape\n",
                                  false);
    const std::string Pipe = "'" + (Root / "pipe.txt").string() + "' is not a regular file";
    ASSERT_EQ(Back.Messages.size(), 3u);
    EXPECT_EQ(Back.Messages[0].find(Pipe), 0u) << Back.Messages[0];
    EXPECT_EQ(Back.Messages[1].find(Pipe), 0u) << Back.Messages[1];
    EXPECT_EQ(Back.Messages[2], "'" + (Root / "missing.txt").string() + "' does not exist.");
}

TEST_F(FileChooser, TheTypesChooseWhichFilesShow)
{
    TOpenDialog D;
    D.InitialDir = Root.string();
    D.Filters = PageFilters();
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(Items(F), (TItems{"..", "sub/", "Zeta/", "a.txt", "b.txt", "notes.md", "pipe.txt"}));
    });
    Run(D, "type Types \"\"\nkey Down\nprobe 0\ntype Files \"n\"\nkey Enter\n", true);
    EXPECT_EQ(D.FileName, (Root / "notes.md").string());
}

TEST_F(FileChooser, SaveAsksBeforeReplacingAFile)
{
    TSaveDialog D;
    D.InitialDir = Root.string();
    D.Filters = PageFilters();
    D.DefaultExt = "txt";
    Probes.push_back([&](TForm& F) { EXPECT_EQ(F.Name(), "FileDialog") << "No keeps the chooser open"; });
    // "a" is a.txt, which exists: No, then Yes.
    TRecordingBackEnd& Back =
        Run(D, "type FileName \"a\"\nkey Enter\nclick No\nprobe 0\nkey Enter\nclick Yes\n", true);
    EXPECT_EQ(D.FileName, (Root / "a.txt").string());
    ASSERT_EQ(Back.Messages.size(), 2u);
    EXPECT_EQ(Back.Messages[0], "'" + D.FileName + "' already exists. Do you want to replace it?");
    EXPECT_EQ(Back.Messages[1], Back.Messages[0]);

    // A new name asks nothing; a folder typed opens; a missing folder and a pipe are
    // refused; closing the question is No.
    TRecordingBackEnd& Quiet = Run(D, "type FileName \"sub\"\nkey Enter\ntype FileName \"new\"\nkey Enter\n", true);
    EXPECT_EQ(D.FileName, (Root / "sub" / "new.txt").string());
    EXPECT_TRUE(Quiet.Messages.empty());
    TRecordingBackEnd& Refused = Run(D,
                                     "type FileName \"../nofolder/x\"\nkey Enter\nclick OK\n"
                                     "type FileName \"../pipe.txt\"\nkey Enter\nclick OK\n"
                                     "type FileName \"page\"\nkey Enter\nclose\nkey Escape\n",
                                     false);
    ASSERT_EQ(Refused.Messages.size(), 3u);
    EXPECT_EQ(Refused.Messages[0], "The folder '" + (Root / "nofolder").string() + "' does not exist.");
    EXPECT_EQ(Refused.Messages[1].find("'" + (Root / "pipe.txt").string() + "' is not a regular file"), 0u);
    EXPECT_NE(Refused.Messages[2].find("page.txt' already exists"), std::string::npos);
    EXPECT_EQ(D.FileName, (Root / "sub" / "new.txt").string()) << "as it was";
    EXPECT_EQ(fs::file_size(Root / "a.txt"), 5u) << "the chooser writes nothing";
}

// In Save a click on a file puts its name in the name box and asks nothing; the question
// comes when the user saves (OK, or a double click on the file).
TEST_F(FileChooser, SaveAsksAboutAFileClickedOnlyWhenTheUserSaves)
{
    TSaveDialog D;
    D.InitialDir = Root.string();
    D.Filters = PageFilters();
    Probes.push_back([&](TForm& F) {
        EXPECT_EQ(F.Name(), "FileDialog") << "no question on a click";
        EXPECT_EQ(NameBox(F), "a.txt");
    });
    Probes.push_back([&](TForm& F) { EXPECT_EQ(F.Name(), "FileDialog") << "No keeps the chooser open"; });
    TRecordingBackEnd& Back = Run(D,
                                  "click Files " + Entry(3) + "\nprobe 0\ndblclick Files " + Entry(4) +
                                      "\nclick No\nprobe 1\nclick Files " + Entry(3) + "\nclick OK\nclick Yes\n",
                                  true);
    EXPECT_EQ(D.FileName, (Root / "a.txt").string());
    ASSERT_EQ(Back.Messages.size(), 2u);
    EXPECT_EQ(Back.Messages[0], "'" + (Root / "b.txt").string() + "' already exists. Do you want to replace it?");
    EXPECT_EQ(Back.Messages[1], "'" + D.FileName + "' already exists. Do you want to replace it?");
}

} // namespace
