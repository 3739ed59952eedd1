// Hostile packages loaded by a host in this process: copies of the test package in one
// mode each (HostileFixture.cpp). Those that fail in their trial never reach the host;
// those that fail only in the host are caught there; either way the host goes on with
// nothing of them registered, and a file rewritten behind the host's back is judged
// again.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/designide/EditorRegistry.h"
#include "platform/rtl/PackageLoader.h"

namespace {

// A folder of one's own, removed with what it holds.
struct TTemporaryFolder {
    std::string Path;
    TTemporaryFolder()
    {
        std::string Template = (std::filesystem::temp_directory_path() / "hostile_test_XXXXXX").string();
        Path = mkdtemp(Template.data()) ? Template : "";
    }
    ~TTemporaryFolder() { std::filesystem::remove_all(Path); }
};

std::string ReadAll(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// The bytes of the test package with its mode text set to Mode.
std::string HostileBytes(const std::string& Mode)
{
    const std::string Marker = "QELL-FIXTURE-MODE:";
    std::string Bytes = ReadAll(QELL_HOSTILE_PACKAGE);
    for (size_t At = Bytes.find(Marker); At != std::string::npos; At = Bytes.find(Marker, At + 1))
        for (size_t I = 0; I < 29; ++I) Bytes[At + Marker.size() + I] = I < Mode.size() ? Mode[I] : '\0';
    return Bytes;
}

std::string WriteHostile(const TTemporaryFolder& Folder, const std::string& Mode)
{
    const std::string Path = Folder.Path + "/" + Mode + ".bpl";
    std::ofstream(Path, std::ios::binary) << HostileBytes(Mode);
    return Path;
}

// Loads Path as a host does (load, register, unload) and answers the one line that
// says why it failed, or empty.
std::string HostLife(const std::string& Path)
{
    TPackageHandle P = nullptr;
    try {
        P = LoadPackage(Path);
    } catch (const EPackageError& E) {
        return E.what();
    }
    const std::string Registered = RegisterPackage(P);
    const std::string Unloaded = UnloadPackage(P);
    return Registered + Unloaded;
}

struct THostile {
    const char* Mode;
    const char* Expected;
};

TEST(HostilePackage, WhatFailsInItsTrialOrInTheHostIsOneLineAndLeavesNothing)
{
    const TTemporaryFolder Folder;
    ASSERT_EQ(setenv("QELL_PACKAGE_TRIAL_SECONDS", "2", 1), 0);
    // The trial's verdicts one by one are package_boundary_test.sh's; here, one of each
    // kind of end, then those that pass their trial and fail here: caught all the same,
    // and copied before the library their exception class lives in is unloaded.
    const THostile Cases[] = {
        {"start-loop", "did not end within 2 s and was stopped, in its start-up code"},
        {"second-load-crash", "in its start-up code on its second load"},
        {"init-42", "its initialisation raised an exception of type int (in a trial load"},
        {"host-init-throw", "its initialisation raised (anonymous namespace)::EFixtureError 'the fixture's init fails'"},
        {"host-init-42", "its initialisation raised an exception of type int"},
        {"host-register-throw", "its IWQellRegDE.Register raised (anonymous namespace)::EFixtureError"},
        {"host-finalize-throw", "its finalisation raised (anonymous namespace)::EFixtureError"},
    };
    const size_t Registrations = PropertyEditorRegistrations().size();
    for (const THostile& C : Cases) {
        const std::string Why = HostLife(WriteHostile(Folder, C.Mode));
        EXPECT_NE(Why.find(C.Expected), std::string::npos) << C.Mode << ": " << Why;
        EXPECT_EQ(Why.find('\n'), std::string::npos) << C.Mode << ": " << Why;
        EXPECT_EQ(PropertyEditorRegistrations().size(), Registrations) << C.Mode;
        EXPECT_FALSE(IsPackagePresent("QellHostileFixture.bpl")) << C.Mode;
    }
    unsetenv("QELL_PACKAGE_TRIAL_SECONDS");
    EXPECT_EQ(HostLife(WriteHostile(Folder, "sound")), "") << "the same package without a fault";
}

// The file's identity has its change time, which every write moves and no user can set
// back: a file rewritten in place, of the same size, its modification time restored as
// `touch -r` does, is copied, checked and tried again rather than taken for the one
// tried before.
TEST(HostilePackage, AFileRewrittenInPlaceWithItsTimeRestoredIsTriedAgain)
{
    const TTemporaryFolder Folder;
    const std::string Path = Folder.Path + "/package.bpl", Crashing = HostileBytes("start-crash");
    std::ofstream(Path, std::ios::binary) << HostileBytes("sound");
    ASSERT_EQ(HostLife(Path), "");
    struct stat Before;
    ASSERT_EQ(stat(Path.c_str(), &Before), 0);
    ASSERT_EQ(static_cast<off_t>(Crashing.size()), Before.st_size);
    const int Fd = open(Path.c_str(), O_WRONLY);
    ASSERT_GE(Fd, 0);
    ASSERT_EQ(pwrite(Fd, Crashing.data(), Crashing.size(), 0), static_cast<ssize_t>(Crashing.size()));
    close(Fd);
    const timespec Times[2] = {Before.st_atim, Before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, Path.c_str(), Times, 0), 0);

    const std::string Why = HostLife(Path);
    EXPECT_NE(Why.find("in its start-up code on its first load"), std::string::npos) << Why;
}

// A file size limit (`ulimit -f`) smaller than the package leaves no room for a copy in
// memory, which counts as a file: the package loads all the same, from the file opened
// once, rather than the host dying of SIGXFSZ or refusing it.
TEST(HostilePackage, AFileSizeLimitBelowThePackagesSizeStillLetsItLoad)
{
    const TTemporaryFolder Folder;
    const std::string Path = WriteHostile(Folder, "sound");
    const pid_t Child = fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) {
        const rlimit Limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &Limit);
        _exit(HostLife(Path).empty() ? 0 : 1);
    }
    int Status = 0;
    ASSERT_EQ(waitpid(Child, &Status, 0), Child);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0)
        << (WIFSIGNALED(Status) ? "signal " + std::to_string(WTERMSIG(Status)) : "refused");
}

} // namespace
