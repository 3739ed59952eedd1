#include "apps/designer/document/Recovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/rtl/Files.h"

namespace {

// $XDG_STATE_HOME/qell-designer, made (private to the user) if missing.
std::string StateFolder()
{
    std::string Base;
    const char* State = std::getenv("XDG_STATE_HOME");
    if (State && State[0] == '/') {
        Base = State;
    } else {
        const char* Home = std::getenv("HOME");
        if (!Home || Home[0] != '/') throw EInOutError("Cannot find a folder for recovery files: HOME is not set");
        Base = std::string(Home) + "/.local/state";
    }
    const std::string Folder = Base + "/qell-designer";
    // Every level, since ~/.local/state may not exist yet either.
    for (size_t Slash = Folder.find('/', 1);; Slash = Folder.find('/', Slash + 1)) {
        const std::string Prefix = Folder.substr(0, Slash);
        if (mkdir(Prefix.c_str(), 0700) != 0 && errno != EEXIST)
            throw EInOutError("Cannot make the folder " + QuotedFileName(Prefix) + ": " + std::strerror(errno));
        if (Slash == std::string::npos) break;
    }
    return Folder;
}

std::string NewPageName()
{
    char Stamp[32] = "";
    const std::time_t Now = std::time(nullptr);
    std::tm Local{};
    localtime_r(&Now, &Local);
    std::strftime(Stamp, sizeof Stamp, "%Y%m%d-%H%M%S", &Local);
    return "new-page-" + std::string(Stamp) + "-" + std::to_string(getpid());
}

// Writes Text to a new file beside FileName and renames it over FileName: a reader never
// sees half a file. No fsync: the program is ending within a moment, and on a machine
// under load waiting for the disk's journal took seconds. The data is safe once the
// process ends; only a crash of the whole system in the next seconds could lose it.
void WriteQuickly(const std::string& FileName, std::string_view Text)
{
    const size_t Slash = FileName.rfind('/');
    const std::string Temporary = FileName.substr(0, Slash == std::string::npos ? 0 : Slash + 1) + "." +
                                  FileName.substr(Slash == std::string::npos ? 0 : Slash + 1) + "." +
                                  std::to_string(getpid()) + ".tmp";
    const auto Failed = [&](const char* What) {
        const std::string Reason = std::strerror(errno);
        unlink(Temporary.c_str());
        return EInOutError("Cannot write " + QuotedFileName(FileName) + ": " + What + ": " + Reason);
    };
    const int Fd = open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (Fd < 0) throw EInOutError("Cannot write " + QuotedFileName(FileName) + ": " + std::strerror(errno));
    for (size_t Done = 0; Done < Text.size();) {
        const ssize_t N = write(Fd, Text.data() + Done, Text.size() - Done);
        if (N < 0 && errno == EINTR) continue;
        if (N <= 0) {
            close(Fd);
            throw Failed("write");
        }
        Done += static_cast<size_t>(N);
    }
    if (close(Fd) != 0) throw Failed("close");
    if (rename(Temporary.c_str(), FileName.c_str()) != 0) throw Failed("rename");
}

} // namespace

std::string RecoveryFileName(const std::string& PageFile) { return PageFile + ".recovered"; }

std::string WriteRecoveryFile(const std::string& PageFile, std::string_view Text)
{
    std::string Reasons;
    if (!PageFile.empty()) {
        const std::string Beside = RecoveryFileName(PageFile);
        try {
            WriteQuickly(Beside, Text);
            return Beside;
        } catch (const Exception& E) {
            Reasons = E.Message() + "; ";
        }
    }
    const std::string Name = PageFile.empty() ? NewPageName() : ExtractFileName(PageFile);
    try {
        const std::string InState = StateFolder() + "/" + RecoveryFileName(Name);
        WriteQuickly(InState, Text);
        return InState;
    } catch (const Exception& E) {
        throw EInOutError(Reasons + E.Message());
    }
}
