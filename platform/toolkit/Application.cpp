#include "platform/toolkit/Application.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/rtl/Guard.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"

TApplication* Application = nullptr;

namespace {

// Creates the application object when the library loads and frees it, with the forms
// it still owns, when the program exits.
struct TApplicationLifetime {
    TApplicationLifetime() { Application = new TApplication; }
    ~TApplicationLifetime()
    {
        delete Application;
        Application = nullptr;
    }
};

const TApplicationLifetime ApplicationLifetime;

// A signal handler may only set flags and write to a pipe: the loop does the rest.
constexpr int CaughtSignals[] = {SIGTERM, SIGHUP, SIGINT};
volatile std::sig_atomic_t PendingSignal = 0;
volatile std::sig_atomic_t InModalRun = 0;
int SignalPipe[2] = {-1, -1};
struct sigaction PreviousActions[std::size(CaughtSignals)];

void OnTerminationSignal(int Signal)
{
    if (!InModalRun) {
        // Nothing is being edited: the signal's default action, as if never caught.
        std::signal(Signal, SIG_DFL);
        std::raise(Signal);
        return;
    }
    PendingSignal = Signal;
    const int SavedErrno = errno;
    const char Byte = 1;
    if (write(SignalPipe[1], &Byte, 1) < 0) {
        // A full pipe already wakes the loop.
    }
    errno = SavedErrno;
}

void CatchTerminationSignals()
{
    if (SignalPipe[0] < 0) {
        if (pipe(SignalPipe) != 0) throw Exception(std::string("Cannot make a pipe: ") + std::strerror(errno));
        for (const int Fd : SignalPipe) {
            fcntl(Fd, F_SETFL, fcntl(Fd, F_GETFL) | O_NONBLOCK);
            fcntl(Fd, F_SETFD, FD_CLOEXEC);
        }
    }
    struct sigaction Action = {};
    Action.sa_handler = OnTerminationSignal;
    sigemptyset(&Action.sa_mask);
    for (size_t I = 0; I < std::size(CaughtSignals); ++I) sigaction(CaughtSignals[I], &Action, &PreviousActions[I]);
}

void ReleaseTerminationSignals()
{
    for (size_t I = 0; I < std::size(CaughtSignals); ++I) sigaction(CaughtSignals[I], &PreviousActions[I], nullptr);
}

std::string SignalName(int Signal)
{
    const char* Abbreviation = sigabbrev_np(Signal);
    return Abbreviation ? std::string("SIG") + Abbreviation : "signal " + std::to_string(Signal);
}

// Marks the modal runs for the signal handler; nested runs restore the outer mark.
class TModalRunMark {
public:
    TModalRunMark() : FWas(InModalRun) { InModalRun = 1; }
    ~TModalRunMark() { InModalRun = FWas; }
    TModalRunMark(const TModalRunMark&) = delete;
    TModalRunMark& operator=(const TModalRunMark&) = delete;

private:
    std::sig_atomic_t FWas;
};

} // namespace

namespace {

// One for the process, whichever back end is in use.
std::string& ProcessClipboard()
{
    static std::string Text;
    return Text;
}

} // namespace

void TBackEnd::SetClipboardText(const std::string& Text)
{
    ProcessClipboard() = Text;
}

std::string TBackEnd::ClipboardText()
{
    return ProcessClipboard();
}

QELL_DEFINE_CLASS_INFO(TApplication)

TApplication::TApplication() : TComponent(nullptr), FBackEnd(std::make_unique<THeadlessBackEnd>()) {}

TApplication::~TApplication()
{
    // Forms go first, while the back end that may still show them exists.
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
}

void TApplication::SetBackEnd(std::unique_ptr<TBackEnd> BackEnd)
{
    if (!BackEnd) throw Exception("SetBackEnd: no back end given");
    // The running loops read events from the current back end; swapping it under them
    // would leave them with a freed event source.
    if (FRunDepth > 0) throw Exception("Cannot change the back end while a form runs modally");
    FBackEnd = std::move(BackEnd);
}

TModalResult TApplication::RunModal(TForm& Form)
{
    TRestoreOnExit<int> Depth(FRunDepth, FRunDepth + 1);
    // A form opened from a press (a dialog button acting on the press) gets its release.
    if (FRunning) FRunning->CancelMouseCapture();
    TRestoreOnExit<TForm*> Running(FRunning, &Form);
    const TModalRunMark Mark;
    TBackEnd& Source = *FBackEnd;
    Form.SetModalResult(mrNone);
    try {
        Form.PaintAll();
    } catch (const std::exception& E) {
        HandleException(E);
    }
    Source.FormShown(Form);
    try {
        Form.FlushPaint();
    } catch (const std::exception& E) {
        HandleException(E);
    }
    Source.Present(Form);
    bool More = true;
    while (More && Form.ModalResult() == mrNone) {
        try {
            More = Source.ProcessNextEvent(Form);
        } catch (const std::bad_alloc&) {
            Source.FormHidden(Form);
            throw;
        } catch (const std::exception& E) {
            HandleException(E);
        } catch (...) {
            HandleException(Exception("Unknown exception in an event handler"));
        }
        EndOnPendingSignal();
        try {
            if (Form.FlushPaint()) Source.Present(Form);
        } catch (const std::exception& E) {
            HandleException(E);
        }
    }
    EndOnPendingSignal();
    if (Form.ModalResult() == mrNone) Form.SetModalResult(mrCancel);
    Source.FormHidden(Form);
    return Form.ModalResult();
}

void TApplication::HandleException(const std::exception& E)
{
    std::fprintf(stderr, "%s: %s\n", FTitle.empty() ? "Exception" : FTitle.c_str(), E.what());
    std::fflush(stderr);
    try {
        FBackEnd->ShowError(E.what());
    } catch (...) {
        // Reporting must not itself end the loop.
    }
}

void TApplication::SetEmergencyHook(TEmergencyHook Hook)
{
    const bool Had = static_cast<bool>(FEmergencyHook);
    if (Hook && !Had) CatchTerminationSignals();
    if (!Hook && Had) ReleaseTerminationSignals();
    FEmergencyHook = std::move(Hook);
}

void TApplication::EmergencyExit(int Status, const std::string& Why)
{
    static std::atomic<bool> Ending{false};
    // A second emergency (the display lost while the hook writes) must not run it again.
    if (Ending.exchange(true)) std::_Exit(Status);
    std::fprintf(stderr, "%s: %s\n", FTitle.empty() ? "Exception" : FTitle.c_str(), Why.c_str());
    std::fflush(stderr);
    if (FEmergencyHook) {
        try {
            FEmergencyHook();
        } catch (const std::exception& E) {
            std::fprintf(stderr, "%s: %s\n", FTitle.empty() ? "Exception" : FTitle.c_str(), E.what());
        } catch (...) {
        }
    }
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(Status);
}

void TApplication::EndOnPendingSignal()
{
    if (const int Signal = PendingSignal; Signal != 0 && FEmergencyHook)
        EmergencyExit(128 + Signal, "ended by " + SignalName(Signal));
}

int TApplication::SignalFd() const
{
    return FEmergencyHook ? SignalPipe[0] : -1;
}
