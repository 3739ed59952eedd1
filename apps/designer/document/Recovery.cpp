#include "apps/designer/document/Recovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "apps/designer/document/PageFile.h"
#include "platform/rtl/Files.h"

namespace {

constexpr char TypedMark[] = "// typed ";

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
    return Base + "/qell-designer";
}

// The page's full path, as it names it: the same page reached by another relative name
// gets the same.
std::string FullPath(const std::string& PageFile)
{
    if (char* Resolved = realpath(PageFile.c_str(), nullptr)) {
        std::string Full = Resolved;
        std::free(Resolved);
        return Full;
    }
    if (!PageFile.empty() && PageFile[0] == '/') return PageFile;
    char Here[PATH_MAX];
    return getcwd(Here, sizeof Here) ? std::string(Here) + "/" + PageFile : PageFile;
}

// FNV-1a, 64 bits: enough to tell one user's pages apart by their paths.
std::string PathHash(const std::string& Path)
{
    uint64_t H = 14695981039346656037ull;
    for (const char C : Path) {
        H ^= static_cast<unsigned char>(C);
        H *= 1099511628211ull;
    }
    char Hex[17];
    std::snprintf(Hex, sizeof Hex, "%016llx", static_cast<unsigned long long>(H));
    return Hex;
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

// The recovery file's name in the state folder.
std::string InStateFolder(const std::string& PageFile)
{
    const std::string Name =
        PageFile.empty() ? NewPageName() : ExtractFileName(PageFile) + "." + PathHash(FullPath(PageFile));
    return StateFolder() + "/" + Name + ".recovered";
}

std::string Encode(const std::string& Text)
{
    static constexpr char HexDigits[] = "0123456789abcdef";
    std::string Out;
    for (const char Ch : Text) {
        const auto C = static_cast<unsigned char>(Ch);
        if (C > 0x20 && C < 0x7F && C != '\\') {
            Out += Ch;
        } else {
            Out += "\\x";
            Out += HexDigits[C >> 4];
            Out += HexDigits[C & 0xF];
        }
    }
    return Out;
}

int HexValue(char C)
{
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    return -1;
}

// Decodes what Encode wrote; false for anything else.
bool Decode(std::string_view Text, std::string& Out)
{
    for (size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] != '\\') {
            Out += Text[I];
            continue;
        }
        if (I + 3 >= Text.size() || Text[I + 1] != 'x' || HexValue(Text[I + 2]) < 0 || HexValue(Text[I + 3]) < 0)
            return false;
        Out += static_cast<char>(HexValue(Text[I + 2]) * 16 + HexValue(Text[I + 3]));
        I += 3;
    }
    return true;
}

std::string FileText(const TRecovery& Recovery)
{
    std::string Text;
    for (const TTypedText& T : Recovery.Typed) Text += TypedMark + Encode(T.Path) + " " + Encode(T.Text) + "\n";
    return Text + Recovery.PageText;
}

// The file's text without following a link, from a regular file of the user's.
std::string ReadOwnFile(const std::string& FileName)
{
    const auto Fail = [&](const std::string& Why) {
        return EInOutError("Cannot read " + QuotedFileName(FileName) + ": " + Why);
    };
    const TFileHandle File(open(FileName.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (File.Fd() < 0) {
        if (errno == ELOOP) throw Fail("a symbolic link, not followed");
        throw Fail(std::strerror(errno));
    }
    struct stat Info;
    if (fstat(File.Fd(), &Info) != 0) throw Fail(std::strerror(errno));
    if (!S_ISREG(Info.st_mode)) throw Fail("not a regular file");
    if (Info.st_uid != geteuid()) throw Fail("owned by another user");
    // Read through the descriptor checked, not the name again.
    return ReadFileText("/proc/self/fd/" + std::to_string(File.Fd()), MaxPageFileSize);
}

} // namespace

std::string RecoveryFileBeside(const std::string& PageFile) { return PageFile + ".recovered"; }

std::string FindRecoveryFile(const std::string& PageFile)
{
    if (PageFile.empty()) return {};
    struct stat Info;
    const std::string Beside = RecoveryFileBeside(PageFile);
    if (lstat(Beside.c_str(), &Info) == 0) return Beside;
    try {
        const std::string InState = InStateFolder(PageFile);
        if (lstat(InState.c_str(), &Info) == 0) return InState;
    } catch (const EInOutError&) {
        // No state folder to look in.
    }
    return {};
}

std::string WriteRecoveryFile(const std::string& PageFile, const TRecovery& Recovery)
{
    const std::string Text = FileText(Recovery);
    const TWriteOptions Quick{.Sync = false, .Own = true};
    std::string Reasons;
    if (!PageFile.empty()) {
        const std::string Beside = RecoveryFileBeside(PageFile);
        try {
            WriteFileAtomically(Beside, Text, Quick);
            return Beside;
        } catch (const Exception& E) {
            Reasons = E.Message() + "; ";
        }
    }
    try {
        const std::string InState = InStateFolder(PageFile);
        MakeFolders(InState.substr(0, InState.rfind('/')));
        WriteFileAtomically(InState, Text, Quick);
        return InState;
    } catch (const Exception& E) {
        throw EInOutError(Reasons + E.Message());
    }
}

TRecovery ReadRecoveryFile(const std::string& FileName)
{
    const std::string Text = ReadOwnFile(FileName);
    TRecovery Recovery;
    size_t At = 0;
    while (Text.compare(At, sizeof TypedMark - 1, TypedMark) == 0) {
        const size_t From = At + sizeof TypedMark - 1, End = std::min(Text.find('\n', At), Text.size());
        const std::string_view Line = std::string_view(Text).substr(From, End - From);
        const size_t Space = Line.find(' ');
        TTypedText Typed;
        if (Space == std::string_view::npos || !Decode(Line.substr(0, Space), Typed.Path) ||
            !Decode(Line.substr(Space + 1), Typed.Text))
            throw EInOutError("Cannot read " + QuotedFileName(FileName) + ": a typed text that does not read");
        Recovery.Typed.push_back(std::move(Typed));
        At = End + 1;
    }
    // The typed lines are comments to the page reader; the page's lines keep their numbers.
    Recovery.PageText = Text;
    return Recovery;
}
