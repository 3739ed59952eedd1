#include "platform/rtl/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Closes on every way out.
struct TFd {
    int Fd;
    ~TFd()
    {
        if (Fd >= 0) close(Fd);
    }
};

[[noreturn]] void Fail(const std::string& FileName, const std::string& Reason)
{
    throw EInOutError("Cannot write " + QuotedFileName(FileName) + ": " + Reason);
}

// The new content's file beside its target. Unnamed (O_TMPFILE) where the file system
// allows it, so that a process killed while writing leaves nothing behind; else, or
// once named, under a hidden name of its own, removed on every way out unless kept.
struct TTemporary {
    std::string Name;
    int Fd = -1;
    bool Kept = false;
    ~TTemporary()
    {
        if (Fd >= 0) close(Fd);
        if (!Kept && !Name.empty()) unlink(Name.c_str());
    }
};

std::string FolderOf(const std::string& Target)
{
    const size_t Slash = Target.rfind('/');
    return Slash == std::string::npos ? std::string() : Target.substr(0, Slash + 1);
}

// Calls Make with hidden names beside Target, ".NAME.PID-N.tmp", until one is free and
// Temp takes it. False, errno set, when none could be made.
template <typename TMake>
bool MakeHiddenName(const std::string& Target, TTemporary& Temp, TMake Make)
{
    static std::atomic<unsigned> Counter{0};
    const size_t Slash = Target.rfind('/');
    // Cut so that the added dot and suffix keep the name within the usual 255 bytes.
    const std::string Base = Target.substr(Slash == std::string::npos ? 0 : Slash + 1).substr(0, 200);
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        const std::string Name =
            FolderOf(Target) + "." + Base + "." + std::to_string(getpid()) + "-" + std::to_string(Counter++) + ".tmp";
        if (Make(Name)) {
            Temp.Name = Name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

// Opens Temp in Target's folder: unnamed when the file system allows it and /proc is
// there to name it later.
void OpenBeside(const std::string& Target, TTemporary& Temp)
{
    if (access("/proc/self/fd", X_OK) == 0) {
        const std::string Folder = FolderOf(Target);
        Temp.Fd = open(Folder.empty() ? "." : Folder.c_str(), O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666);
        // EISDIR, EOPNOTSUPP, EINVAL: no unnamed files here. Anything else is the folder's.
        if (Temp.Fd >= 0 || (errno != EISDIR && errno != EOPNOTSUPP && errno != EINVAL)) return;
    }
    MakeHiddenName(Target, Temp, [&](const std::string& Name) {
        Temp.Fd = open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return Temp.Fd >= 0;
    });
}

// Writes Data at Fd's position; false, errno set, on failure.
bool WriteAll(int Fd, std::string_view Data)
{
    for (size_t Done = 0; Done < Data.size();) {
        const ssize_t N = write(Fd, Data.data() + Done, Data.size() - Done);
        if (N < 0 && errno == EINTR) continue;
        if (N < 0) return false;
        Done += static_cast<size_t>(N);
    }
    return true;
}

// Writes Data to Temp, with Mode's permission bits when given, and (with Sync) brings it
// to the disk: after a crash, a name that points at it holds all of Data.
void WriteWhole(const std::string& FileName, TTemporary& Temp, std::string_view Data, const mode_t* Mode,
                bool Sync = true)
{
    if (!WriteAll(Temp.Fd, Data)) Fail(FileName, std::strerror(errno));
    if (Mode && fchmod(Temp.Fd, *Mode & 07777) != 0) Fail(FileName, std::strerror(errno));
    if (Sync && fsync(Temp.Fd) != 0) Fail(FileName, std::strerror(errno));
}

// Gives Temp the owner and group of Old, the file it replaces (before its mode: a
// change of owner clears the set-id bits); false when that is not allowed.
bool TakeOwner(const TTemporary& Temp, const struct stat& Old)
{
    struct stat Now;
    if (fstat(Temp.Fd, &Now) != 0) return false;
    if (Now.st_uid == Old.st_uid && Now.st_gid == Old.st_gid) return true;
    return fchown(Temp.Fd, Old.st_uid, Old.st_gid) == 0;
}

// Whether the user may write the file Info describes at Target: allowed by the system,
// and with a write permission bit left at all.
bool Writable(const std::string& Target, const struct stat& Info)
{
    return (Info.st_mode & 0222) != 0 && access(Target.c_str(), W_OK) == 0;
}

// The whole of Fd from its start, for a backup copy; false, errno set, on failure.
bool ReadAll(int Fd, std::string& Out)
{
    char Chunk[65536];
    for (off_t At = 0;;) {
        const ssize_t N = pread(Fd, Chunk, sizeof Chunk, At);
        if (N < 0 && errno == EINTR) continue;
        if (N < 0) return false;
        if (N == 0) return true;
        Out.append(Chunk, static_cast<size_t>(N));
        At += N;
    }
}

// Rewrites Target where it is (same inode, links, owner and mode): first a whole copy
// of the old content beside it, on the disk; then Data over the old content. The copy
// goes once the new content is on the disk; a failure on the way puts the old content
// back when it can, and leaves the copy.
void WriteInPlace(const std::string& FileName, const std::string& Target, std::string_view Data)
{
    const TFd File{open(Target.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)};
    if (File.Fd < 0) Fail(FileName, std::strerror(errno));
    std::string Old;
    if (!ReadAll(File.Fd, Old)) Fail(FileName, std::strerror(errno));
    TTemporary Backup;
    if (!MakeHiddenName(Target, Backup, [&](const std::string& Name) {
            Backup.Fd = open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            return Backup.Fd >= 0;
        }))
        Fail(FileName, "no backup copy: " + std::string(std::strerror(errno)));
    WriteWhole(FileName, Backup, Old, nullptr);
    const auto Put = [&](std::string_view Text) {
        return lseek(File.Fd, 0, SEEK_SET) == 0 && WriteAll(File.Fd, Text) &&
               ftruncate(File.Fd, static_cast<off_t>(Text.size())) == 0 && fsync(File.Fd) == 0;
    };
    if (!Put(Data)) {
        const std::string Why = std::strerror(errno);
        Backup.Kept = !Put(Old);
        Fail(FileName, Why + (Backup.Kept ? "; the old content is in " + QuotedFileName(Backup.Name) : ""));
    }
}

// What a file that is not a regular one is, for a message.
const char* KindOf(mode_t Mode)
{
    if (S_ISFIFO(Mode)) return "a FIFO";
    if (S_ISDIR(Mode)) return "a directory";
    if (S_ISCHR(Mode)) return "a character device";
    if (S_ISBLK(Mode)) return "a block device";
    if (S_ISSOCK(Mode)) return "a socket";
    return "of an unknown kind";
}

// Gives Temp the further name NewName: false, errno EEXIST, when that is taken.
bool LinkAs(const std::string& FileName, const TTemporary& Temp, const std::string& NewName)
{
    const int Result =
        Temp.Name.empty()
            ? linkat(AT_FDCWD, ("/proc/self/fd/" + std::to_string(Temp.Fd)).c_str(), AT_FDCWD, NewName.c_str(),
                     AT_SYMLINK_FOLLOW)
            : link(Temp.Name.c_str(), NewName.c_str());
    if (Result == 0) return true;
    if (errno != EEXIST) Fail(FileName, std::strerror(errno));
    return false;
}

// Writes Data to a new file and renames it over Target, which Old describes when it
// exists and is to be kept as it was (owner, group, mode); a new one gets Mode, when
// given. False, nothing written, when the new file cannot have Old's owner and group.
bool ReplaceByRename(const std::string& FileName, const std::string& Target, std::string_view Data,
                     const struct stat* Old, const TWriteOptions& Options = {}, const mode_t* Mode = nullptr)
{
    TTemporary Temp;
    OpenBeside(Target, Temp);
    if (Temp.Fd < 0) Fail(FileName, std::strerror(errno));
    if (Old && !TakeOwner(Temp, *Old)) return false;
    WriteWhole(FileName, Temp, Data, Old ? &Old->st_mode : Mode, Options.Sync);
    // Only a rename replaces a file in one step, and it renames a name: the hidden name
    // lives from here to the rename, nothing in between. (The file is closed after; its
    // content is on the disk already.)
    if (Temp.Name.empty() &&
        !MakeHiddenName(Target, Temp, [&](const std::string& Name) { return LinkAs(FileName, Temp, Name); }))
        Fail(FileName, std::strerror(errno));
    if (rename(Temp.Name.c_str(), Target.c_str()) != 0) Fail(FileName, std::strerror(errno));
    Temp.Kept = true;
    return true;
}

} // namespace

TFileHandle::~TFileHandle()
{
    if (FFd >= 0) close(FFd);
}

TFileHandle& TFileHandle::operator=(TFileHandle&& Other) noexcept
{
    if (this != &Other) {
        if (FFd >= 0) close(FFd);
        FFd = Other.FFd;
        Other.FFd = -1;
    }
    return *this;
}

TFileHandle OpenRegularFileForReading(const std::string& FileName, struct stat& Info)
{
    const auto Fail = [&](const std::string& Why) {
        return EInOutError("Cannot read " + QuotedFileName(FileName) + ": " + Why);
    };
    TFileHandle File(open(FileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (File.Fd() < 0) {
        const int Error = errno;
        // A socket cannot be opened at all; say what it is rather than ENXIO.
        if (Error == ENXIO && stat(FileName.c_str(), &Info) == 0 && !S_ISREG(Info.st_mode))
            throw Fail(std::string(KindOf(Info.st_mode)) + ", not a regular file");
        throw Fail(std::strerror(Error));
    }
    if (fstat(File.Fd(), &Info) != 0) throw Fail(std::strerror(errno));
    if (!S_ISREG(Info.st_mode)) throw Fail(std::string(KindOf(Info.st_mode)) + ", not a regular file");
    return File;
}

std::string QuotedFileName(std::string_view FileName) { return QuotedInput(FileName, 4 * PATH_MAX); }

std::string ExtractFileName(std::string_view Path)
{
    const size_t Slash = Path.rfind('/');
    return std::string(Slash == std::string_view::npos ? Path : Path.substr(Slash + 1));
}

std::string UserConfigFolder()
{
    const char* Config = std::getenv("XDG_CONFIG_HOME");
    if (Config && Config[0] == '/') return Config;
    const char* Home = std::getenv("HOME");
    return std::string(Home && Home[0] ? Home : ".") + "/.config";
}

void MakeFolders(const std::string& Folder)
{
    for (size_t Slash = Folder.find('/', 1);; Slash = Folder.find('/', Slash + 1)) {
        const std::string Prefix = Folder.substr(0, Slash);
        if (!Prefix.empty() && mkdir(Prefix.c_str(), 0700) != 0 && errno != EEXIST)
            throw EInOutError("Cannot make the folder " + QuotedFileName(Prefix) + ": " + std::strerror(errno));
        if (Slash == std::string::npos) break;
    }
}

void WriteFileAtomically(const std::string& FileName, std::string_view Data, const TWriteOptions& Options)
{
    if (FileName.empty()) throw EInOutError("Cannot write a file with an empty name");
    if (Options.Own) {
        struct stat Info;
        if (lstat(FileName.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode)) Fail(FileName, "not a regular file");
        const mode_t Private = 0600;
        ReplaceByRename(FileName, FileName, Data, nullptr, Options, &Private);
        return;
    }
    // A link is followed, so that the rename replaces the file it points at rather than
    // the link itself.
    std::string Target = FileName;
    struct stat Info;
    if (lstat(FileName.c_str(), &Info) == 0 && S_ISLNK(Info.st_mode)) {
        if (char* Resolved = realpath(FileName.c_str(), nullptr)) {
            Target = Resolved;
            std::free(Resolved);
        }
    }
    const bool Exists = stat(Target.c_str(), &Info) == 0;
    if (Exists && !S_ISREG(Info.st_mode)) Fail(FileName, "not a regular file");
    if (Exists && !Writable(Target, Info)) Fail(FileName, "read-only");
    // A rename would part the links, leaving the other names with the old content.
    if ((Exists && Info.st_nlink > 1) || !ReplaceByRename(FileName, Target, Data, Exists ? &Info : nullptr, Options))
        WriteInPlace(FileName, Target, Data);
}

bool CreateFileAtomically(const std::string& FileName, std::string_view Data)
{
    if (FileName.empty()) throw EInOutError("Cannot write a file with an empty name");
    struct stat Info;
    if (lstat(FileName.c_str(), &Info) == 0) return false;
    TTemporary Temp;
    OpenBeside(FileName, Temp);
    if (Temp.Fd < 0) Fail(FileName, std::strerror(errno));
    WriteWhole(FileName, Temp, Data, nullptr);
    // A link, unlike a rename, fails when the name is taken: the check and the creation
    // are one step. A hidden name goes with Temp; the content is on the disk already.
    return LinkAs(FileName, Temp, FileName);
}

std::string ReadFileText(const std::string& FileName, size_t MaxSize)
{
    const auto Fail = [&](const std::string& Why) {
        return EInOutError("Cannot read " + QuotedFileName(FileName) + ": " + Why);
    };
    struct stat Info;
    const TFileHandle F = OpenRegularFileForReading(FileName, Info);
    std::string Text;
    char Chunk[65536];
    for (;;) {
        const ssize_t N = read(F.Fd(), Chunk, sizeof Chunk);
        if (N < 0) {
            if (errno == EINTR) continue;
            throw Fail(std::strerror(errno));
        }
        if (N == 0) return Text;
        if (Text.size() + static_cast<size_t>(N) > MaxSize)
            throw Fail("larger than the limit of " + std::to_string(MaxSize) + " bytes");
        Text.append(Chunk, static_cast<size_t>(N));
    }
}
