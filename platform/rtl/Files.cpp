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

// Removes the temporary file on every way out unless it has been renamed.
struct TTemporary {
    std::string Name;
    int Fd = -1;
    bool Renamed = false;
    ~TTemporary()
    {
        if (Fd >= 0) close(Fd);
        if (!Renamed && !Name.empty()) unlink(Name.c_str());
    }
};

// A new file beside Target, named after it and hidden; O_EXCL so that it is ours alone.
void CreateBeside(const std::string& Target, TTemporary& Temp)
{
    static std::atomic<unsigned> Counter{0};
    const size_t Slash = Target.rfind('/');
    const std::string Folder = Slash == std::string::npos ? "" : Target.substr(0, Slash + 1);
    // Cut so that the added dot and suffix keep the name within the usual 255 bytes.
    const std::string Base = Target.substr(Slash == std::string::npos ? 0 : Slash + 1).substr(0, 200);
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        Temp.Name = Folder + "." + Base + "." + std::to_string(getpid()) + "-" + std::to_string(Counter++) + ".tmp";
        Temp.Fd = open(Temp.Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Temp.Fd >= 0) return;
        if (errno != EEXIST) break;
    }
    const int Error = errno;
    Temp.Name.clear();
    errno = Error;
}

} // namespace

std::string QuotedFileName(std::string_view FileName) { return QuotedInput(FileName, 4 * PATH_MAX); }

void WriteFileAtomically(const std::string& FileName, std::string_view Data)
{
    if (FileName.empty()) throw EInOutError("Cannot write a file with an empty name");
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

    TTemporary Temp;
    CreateBeside(Target, Temp);
    if (Temp.Fd < 0) Fail(FileName, std::strerror(errno));
    for (size_t Done = 0; Done < Data.size();) {
        const ssize_t N = write(Temp.Fd, Data.data() + Done, Data.size() - Done);
        if (N < 0 && errno == EINTR) continue;
        if (N < 0) Fail(FileName, std::strerror(errno));
        Done += static_cast<size_t>(N);
    }
    if (Exists && fchmod(Temp.Fd, Info.st_mode & 07777) != 0) Fail(FileName, std::strerror(errno));
    // On the disk before the rename: after a crash the name holds the old content or
    // the new, never an empty or partial file.
    if (fsync(Temp.Fd) != 0) Fail(FileName, std::strerror(errno));
    const int Fd = Temp.Fd;
    Temp.Fd = -1;
    if (close(Fd) != 0) Fail(FileName, std::strerror(errno));
    if (rename(Temp.Name.c_str(), Target.c_str()) != 0) Fail(FileName, std::strerror(errno));
    Temp.Renamed = true;
}

std::string ReadFileText(const std::string& FileName, size_t MaxSize)
{
    const auto Fail = [&](const std::string& Why) {
        return EInOutError("Cannot read " + QuotedFileName(FileName) + ": " + Why);
    };
    const TFd F{open(FileName.c_str(), O_RDONLY | O_CLOEXEC)};
    if (F.Fd < 0) throw Fail(std::strerror(errno));
    std::string Text;
    char Chunk[65536];
    for (;;) {
        const ssize_t N = read(F.Fd, Chunk, sizeof Chunk);
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
