#include "platform/rtl/PackageTrial.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "platform/rtl/Files.h"
#include "platform/rtl/PackageLoader.h"

extern char** environ;

namespace {

// A trial reports a few short lines; more than this is a package writing on the
// report's descriptor, and is not kept.
constexpr size_t MaxReport = 64 * 1024;

// The trial program sits beside the runtime library, in the build tree and once
// installed (lib/qell/); never looked for in the current folder or on the path.
std::string TrialProgram()
{
    Dl_info Info{};
    if (dladdr(reinterpret_cast<const void*>(&TryPackage), &Info) == 0 || !Info.dli_fname) return "";
    const std::string Library = Info.dli_fname;
    const size_t Slash = Library.rfind('/');
    return Slash == std::string::npos ? "" : Library.substr(0, Slash) + "/qell-package-trial";
}

// A descriptor of one's own, numbered 10 or above so that the child's rearrangement of
// 0 to 4 cannot overwrite it before it is moved.
int HighCopy(int Fd)
{
    return fcntl(Fd, F_DUPFD_CLOEXEC, 10);
}

struct TSpawned {
    pid_t Child = -1;
    int Report = -1; // the read end of the report pipe
    std::string Why; // when Child is -1
};

TSpawned Spawn(const TPackageImage& Image)
{
    TSpawned S;
    int Pipe[2];
    if (pipe2(Pipe, O_CLOEXEC) != 0) return {-1, -1, std::strerror(errno)};
    const TFileHandle ImageCopy(HighCopy(Image.Fd())), ReportCopy(HighCopy(Pipe[1]));
    close(Pipe[1]);
    S.Report = Pipe[0];
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&Actions, ImageCopy.Fd(), 3);
    posix_spawn_file_actions_adddup2(&Actions, ReportCopy.Fd(), 4);
    posix_spawn_file_actions_addclosefrom_np(&Actions, 5);
    posix_spawnattr_t Attributes;
    posix_spawnattr_init(&Attributes);
    sigset_t None, All;
    sigemptyset(&None);
    sigfillset(&All);
    posix_spawnattr_setsigmask(&Attributes, &None);
    posix_spawnattr_setsigdefault(&Attributes, &All);
    posix_spawnattr_setpgroup(&Attributes, 0);
    posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const std::string Program = TrialProgram(), Parent = std::to_string(getpid());
    char* const Argv[] = {const_cast<char*>(Program.c_str()), const_cast<char*>(Parent.c_str()), nullptr};
    const int Error = ImageCopy.Fd() < 0 || ReportCopy.Fd() < 0
                          ? errno
                          : posix_spawn(&S.Child, Program.c_str(), &Actions, &Attributes, Argv, environ);
    posix_spawnattr_destroy(&Attributes);
    posix_spawn_file_actions_destroy(&Actions);
    if (Error != 0) {
        close(S.Report);
        return {-1, -1, "its trial program " + QuotedFileName(Program) + " cannot be started: " + std::strerror(Error)};
    }
    return S;
}

// Reads what the report holds now, without waiting; false once it is at its end.
bool ReadReport(int Fd, std::string& Report)
{
    char Buffer[4096];
    for (;;) {
        const ssize_t N = read(Fd, Buffer, sizeof Buffer);
        if (N > 0) {
            const size_t Room = MaxReport - std::min(MaxReport, Report.size());
            Report.append(Buffer, std::min(static_cast<size_t>(N), Room));
            continue;
        }
        if (N < 0 && errno == EINTR) continue;
        return N < 0; // EAGAIN: more may come; 0: the end
    }
}

struct TEnd {
    enum { Ended, TimedOut, Lost } How = Ended;
    int Error = 0; // when Lost
    siginfo_t Info{};
};

// Waits for the child to end, reading its report meanwhile, at most Seconds; a child
// that outlasts them, or that cannot be watched, is killed. Then kills its process
// group and reaps it: the group is killed while the child is still unreaped, so that
// its number cannot have been taken by another process meanwhile.
TEnd Wait(const TSpawned& S, int Seconds, std::string& Report)
{
    TEnd End;
    fcntl(S.Report, F_SETFL, O_NONBLOCK);
    // A descriptor that turns readable when the child ends (glibc 2.36 declares
    // pidfd_open without C linkage, so the system call is made directly).
    const TFileHandle Watch(static_cast<int>(syscall(SYS_pidfd_open, S.Child, 0)));
    if (Watch.Fd() < 0) End = {TEnd::Lost, errno, {}};
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
    for (bool Open = true; End.How == TEnd::Ended;) {
        pollfd Fds[2] = {{Watch.Fd(), POLLIN, 0}, {Open ? S.Report : -1, POLLIN, 0}};
        const auto Left =
            std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now());
        const int Ready = poll(Fds, 2, static_cast<int>(std::max<long>(0, Left.count())));
        if (Ready < 0 && errno == EINTR) continue;
        if (Ready < 0) End = {TEnd::Lost, errno, {}};
        else if (Fds[1].revents) Open = ReadReport(S.Report, Report);
        if (Ready > 0 && Fds[0].revents) break;
        if (Ready == 0 && Left.count() <= 0) End.How = TEnd::TimedOut;
    }
    if (End.How != TEnd::Ended) kill(-S.Child, SIGKILL);
    while (waitid(P_PID, static_cast<id_t>(S.Child), &End.Info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {}
    kill(-S.Child, SIGKILL);
    while (waitpid(S.Child, nullptr, 0) < 0 && errno == EINTR) {}
    ReadReport(S.Report, Report);
    close(S.Report);
    return End;
}

// The last step the report announced and its load, and what it says of the end.
struct TReport {
    std::string Step = "none", Failure;
    int Load = 0;
    bool Passed = false;
};

TReport Parse(const std::string& Text)
{
    TReport R;
    for (size_t Start = 0; Start < Text.size();) {
        size_t End = Text.find('\n', Start);
        if (End == std::string::npos) End = Text.size();
        const std::string_view Line(Text.data() + Start, End - Start);
        if (Line.starts_with("step ")) {
            const size_t Space = Line.rfind(' ');
            R.Step = Line.substr(5, Space - 5);
            std::from_chars(Line.data() + Space + 1, Line.data() + Line.size(), R.Load);
        } else if (Line.starts_with("failed ")) {
            R.Failure = Line.substr(7);
        } else if (Line == "passed") {
            R.Passed = true;
        }
        Start = End + 1;
    }
    return R;
}

// "on its second load": the load the trial was at, if any.
std::string OnLoad(const TReport& R)
{
    return R.Load == 1 ? "on its first load" : R.Load == 2 ? "on its second load" : "";
}

// "in its Initialize on its second load": where the trial was when it ended.
std::string Where(const TReport& R)
{
    std::string Step;
    for (const TTrialStep S : {TTrialStep::Load, TTrialStep::Initialize, TTrialStep::Register, TTrialStep::Finalize,
                               TTrialStep::Unload, TTrialStep::Ended})
        if (R.Step == TrialStepName(S))
            Step = S == TTrialStep::Load         ? "in its start-up code "
                   : S == TTrialStep::Initialize ? "in its Initialize "
                   : S == TTrialStep::Register   ? "in its Register procedures "
                   : S == TTrialStep::Finalize   ? "in its Finalize "
                   : S == TTrialStep::Unload     ? "in its unloading "
                                                 : "after it was unloaded";
    return Step.empty() ? "before it was loaded" : Step + OnLoad(R);
}

} // namespace

const char* TrialStepName(TTrialStep Step)
{
    switch (Step) {
    case TTrialStep::Load: return "load";
    case TTrialStep::Initialize: return "initialise";
    case TTrialStep::Register: return "register";
    case TTrialStep::Finalize: return "finalise";
    case TTrialStep::Unload: return "unload";
    case TTrialStep::Ended: return "ended";
    }
    return "";
}

int PackageTrialSeconds()
{
    const char* Text = std::getenv("QELL_PACKAGE_TRIAL_SECONDS");
    int Seconds = 0;
    if (!Text) return DefaultPackageTrialSeconds;
    const char* End = Text + std::strlen(Text);
    const auto [Ptr, Error] = std::from_chars(Text, End, Seconds);
    return Error == std::errc() && Ptr == End && Seconds >= 1 && Seconds <= 3600 ? Seconds
                                                                                 : DefaultPackageTrialSeconds;
}

TTrialVerdict TryPackage(const TPackageImage& Image)
{
    const TSpawned S = Spawn(Image);
    if (S.Child < 0) return {false, S.Why};
    const int Seconds = PackageTrialSeconds();
    std::string Text;
    const TEnd End = Wait(S, Seconds, Text);
    if (End.How == TEnd::Lost) return {false, std::string("its trial cannot be watched: ") + std::strerror(End.Error)};
    const TReport R = Parse(Text);
    const int Status = End.Info.si_status;
    if (End.How == TEnd::TimedOut)
        return {true, "a trial load did not end within " + std::to_string(Seconds) + " s and was stopped, " + Where(R)};
    if (End.Info.si_code == CLD_EXITED && Status == 0 && R.Passed) return {true, ""};
    if (!R.Failure.empty())
        return {true, R.Failure + " (in a trial load" + (R.Load > 0 ? ", " + OnLoad(R) : "") + ")"};
    if (End.Info.si_code == CLD_KILLED || End.Info.si_code == CLD_DUMPED)
        return {true, "a trial load crashed with signal " + std::to_string(Status) + " (" + strsignal(Status) + ") " +
                          Where(R)};
    return {true, "a trial load ended with exit status " + std::to_string(Status) + " " + Where(R) +
                      ", before its end"};
}
