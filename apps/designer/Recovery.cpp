#include "apps/designer/Recovery.h"

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

} // namespace

std::string RecoveryFileName(const std::string& PageFile) { return PageFile + ".recovered"; }

std::string WriteRecoveryFile(const std::string& PageFile, std::string_view Text)
{
    std::string Reasons;
    if (!PageFile.empty()) {
        const std::string Beside = RecoveryFileName(PageFile);
        try {
            WriteFileAtomically(Beside, Text);
            return Beside;
        } catch (const Exception& E) {
            Reasons = E.Message() + "; ";
        }
    }
    const size_t Slash = PageFile.rfind('/');
    const std::string Name = PageFile.empty() ? NewPageName() : PageFile.substr(Slash == std::string::npos ? 0 : Slash + 1);
    try {
        const std::string InState = StateFolder() + "/" + RecoveryFileName(Name);
        WriteFileAtomically(InState, Text);
        return InState;
    } catch (const Exception& E) {
        throw EInOutError(Reasons + E.Message());
    }
}
