// Writing a file whole or not at all: what a failure leaves, and what a success keeps.

#include "platform/rtl/Files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/FileSizeLimit.h"

namespace {

namespace fs = std::filesystem;

class AtomicWrite : public ::testing::Test {
protected:
    fs::path Dir;
    void SetUp() override
    {
        std::string Template = (fs::temp_directory_path() / "files_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(Template.data()), nullptr);
        Dir = Template;
    }
    void TearDown() override
    {
        fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(Dir);
    }
    std::string File(const std::string& Name) const { return (Dir / Name).string(); }
    // Every name in the folder, so that a temporary file left behind shows.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> Names;
        for (const auto& E : fs::directory_iterator(Dir)) Names.push_back(E.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }
};

std::string Read(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

void Write(const std::string& FileName, const std::string& Data)
{
    std::ofstream(FileName, std::ios::binary) << Data;
}

// Bytes of every value, NUL included, in a pattern that a partial copy cannot match.
std::string Binary(size_t Size, unsigned Seed)
{
    std::string S(Size, '\0');
    for (size_t I = 0; I < Size; ++I) S[I] = static_cast<char>((I * 131 + Seed * 7 + I / 256) & 0xFF);
    return S;
}

mode_t ModeOf(const std::string& FileName)
{
    struct stat Info;
    return stat(FileName.c_str(), &Info) == 0 ? Info.st_mode & 07777 : 0;
}

std::string MessageOf(const std::string& FileName, std::string_view Data)
{
    try {
        WriteFileAtomically(FileName, Data);
    } catch (const EInOutError& E) {
        return E.what();
    }
    return "no error";
}

TEST_F(AtomicWrite, ReplacesTheWholeContentAndKeepsThePermissions)
{
    const std::string Target = File("out.bin");
    Write(Target, std::string(5000, 'x'));
    ASSERT_EQ(chmod(Target.c_str(), 0640), 0);
    const std::string Data = Binary(3000, 1);
    WriteFileAtomically(Target, Data);
    EXPECT_EQ(Read(Target), Data);
    EXPECT_EQ(ModeOf(Target), 0640u);

    // A new file gets what the process's mask allows, not a temporary file's 0600.
    const mode_t Mask = umask(022);
    WriteFileAtomically(File("new.bin"), "");
    umask(Mask);
    EXPECT_EQ(ModeOf(File("new.bin")), 0644u);
    EXPECT_EQ(Read(File("new.bin")), "");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"new.bin", "out.bin"}));
}

TEST_F(AtomicWrite, AFailureKeepsTheOldFileByteForByteAndLeavesNothingElse)
{
    const std::string Target = File("keep.bin");
    const std::string Old = Binary(1000, 2);
    Write(Target, Old);
    {
        // The disk fills up half way through the new content.
        TFileSizeLimit Full(2000);
        EXPECT_EQ(MessageOf(Target, Binary(4000, 3)), "Cannot write '" + Target + "': File too large");
    }
    EXPECT_EQ(Read(Target), Old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"keep.bin"});

    const std::string Missing = File("no/such/folder/out.bin");
    EXPECT_EQ(MessageOf(Missing, "x"), "Cannot write '" + Missing + "': No such file or directory");

    // Root may write anywhere, so only others can see a folder refuse them.
    if (geteuid() != 0) {
        fs::permissions(Dir, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_EQ(MessageOf(Target, "new"), "Cannot write '" + Target + "': Permission denied");
        EXPECT_EQ(Read(Target), Old);
    }
    EXPECT_EQ(Entries(), std::vector<std::string>{"keep.bin"});
}

TEST_F(AtomicWrite, WritesThroughLinksAndRefusesWhatIsNoRegularFile)
{
    const std::string Real = File("real.txt");
    Write(Real, "old");
    fs::create_symlink("real.txt", File("link.txt"));
    WriteFileAtomically(File("link.txt"), "new");
    EXPECT_TRUE(fs::is_symlink(File("link.txt")));
    EXPECT_EQ(Read(Real), "new");

    // Renaming over a pipe, a folder or a device would replace it with a plain file.
    ASSERT_EQ(mkfifo(File("pipe").c_str(), 0600), 0);
    fs::create_directory(File("folder"));
    EXPECT_EQ(MessageOf(File("pipe"), "x"), "Cannot write '" + File("pipe") + "': not a regular file");
    EXPECT_EQ(MessageOf(File("folder"), "x"), "Cannot write '" + File("folder") + "': not a regular file");
    EXPECT_TRUE(fs::is_fifo(File("pipe")));
    EXPECT_TRUE(fs::is_directory(File("folder")));
    EXPECT_EQ(MessageOf("/dev/null", "x"), "Cannot write '/dev/null': not a regular file");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder", "link.txt", "pipe", "real.txt"}));
}

TEST_F(AtomicWrite, CreatesOnlyANameThatIsFree)
{
    const std::string Target = File("new.txt");
    const mode_t Mask = umask(022);
    EXPECT_TRUE(CreateFileAtomically(Target, "first"));
    umask(Mask);
    EXPECT_EQ(Read(Target), "first");
    EXPECT_EQ(ModeOf(Target), 0644u);
    EXPECT_FALSE(CreateFileAtomically(Target, "second"));
    EXPECT_EQ(Read(Target), "first");

    // Whatever holds the name keeps it: a link to nowhere (which a write would follow
    // and create), a folder.
    fs::create_symlink("nowhere.txt", File("dangling"));
    fs::create_directory(File("folder"));
    EXPECT_FALSE(CreateFileAtomically(File("dangling"), "x"));
    EXPECT_FALSE(CreateFileAtomically(File("folder"), "x"));
    EXPECT_FALSE(fs::exists(File("nowhere.txt")));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"dangling", "folder", "new.txt"}));

    const std::string Missing = File("no/such/folder/new.txt");
    try {
        CreateFileAtomically(Missing, "x");
        ADD_FAILURE() << "created in a missing folder";
    } catch (const EInOutError& E) {
        EXPECT_EQ(std::string(E.what()), "Cannot write '" + Missing + "': No such file or directory");
    }
}

// Processes that create the same name at once: exactly one succeeds, the file holds
// its content whole, and nothing else is left.
TEST_F(AtomicWrite, OfRacingCreatorsExactlyOneWins)
{
    constexpr int Racers = 8;
    const std::string Target = File("race.bin");
    int Start[2];
    ASSERT_EQ(pipe(Start), 0);
    std::vector<pid_t> Children;
    for (int I = 0; I < Racers; ++I) {
        const pid_t Child = fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            close(Start[1]);
            char Go;
            // Every racer waits for the pipe to close, then all run together.
            const bool Ready = read(Start[0], &Go, 1) == 0;
            _exit(Ready && CreateFileAtomically(Target, Binary(1 << 20, static_cast<unsigned>(I))) ? 10 + I : 1);
        }
        Children.push_back(Child);
    }
    close(Start[0]);
    close(Start[1]);
    std::vector<int> Winners;
    for (const pid_t Child : Children) {
        int Status = 0;
        ASSERT_EQ(waitpid(Child, &Status, 0), Child);
        ASSERT_TRUE(WIFEXITED(Status));
        if (WEXITSTATUS(Status) >= 10) Winners.push_back(WEXITSTATUS(Status) - 10);
        else EXPECT_EQ(WEXITSTATUS(Status), 1);
    }
    ASSERT_EQ(Winners.size(), 1u);
    EXPECT_EQ(Read(Target), Binary(1 << 20, static_cast<unsigned>(Winners[0])));
    EXPECT_EQ(Entries(), std::vector<std::string>{"race.bin"});
}

// Opening for reading answers at once for whatever the name holds: a FIFO with no
// writer would otherwise block the open for ever (the test's own timeout then fails it).
TEST_F(AtomicWrite, OpeningForReadingTakesRegularFilesOnlyAndNeverBlocks)
{
    WriteFileAtomically(File("plain"), "text");
    struct stat Info;
    const TFileHandle Plain = OpenRegularFileForReading(File("plain"), Info);
    EXPECT_GE(Plain.Fd(), 0);
    EXPECT_EQ(Info.st_size, 4);
    char Byte = 0;
    EXPECT_EQ(read(Plain.Fd(), &Byte, 1), 1) << "an ordinary, readable descriptor";

    ASSERT_EQ(mkfifo(File("fifo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir(File("folder").c_str(), 0700), 0);
    const std::pair<std::string, std::string> Refused[] = {
        {File("fifo"), "a FIFO, not a regular file"},
        {File("folder"), "a directory, not a regular file"},
        {"/dev/null", "a character device, not a regular file"},
        {File("missing"), "No such file or directory"},
    };
    for (const auto& [Name, Why] : Refused) {
        try {
            OpenRegularFileForReading(Name, Info);
            ADD_FAILURE() << Name << " opened";
        } catch (const EInOutError& E) {
            EXPECT_EQ(std::string(E.what()), "Cannot read '" + Name + "': " + Why);
        }
    }
}

} // namespace
