#pragma once
// The application object: owner of forms and keeper of the event source that the
// modal loop reads.
//
// The toolkit (the application, its back ends, forms, controls and the registries of
// classes and script verbs) is used from the GUI thread only: the thread that runs the
// modal loop. Nothing in it locks; another thread hands work to that one.

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/toolkit/Control.h"
#include "platform/toolkit/Events.h"
#include "platform/toolkit/Export.h"

class TForm;

// Where a modal loop gets its events. One back end serves all forms.
class QELL_TOOLKIT_API TBackEnd {
public:
    virtual ~TBackEnd() = default;
    // The form is about to run modally; its surface is painted.
    virtual void FormShown(TForm& Form) = 0;
    // Delivers the next input event to Form (through its Handle… methods); blocks until
    // there is one. Answers false when the source has no more events. It may also
    // answer true having delivered nothing: when a signal to end the program arrives
    // (Application->SignalFd() turns readable) it returns so that the loop can end.
    // It is re-entered: a handler it calls may run a modal form, whose loop calls it
    // for that form before the outer call returns, so it holds nothing across the
    // Handle… call that the nested run could change (an event it runs is taken off its
    // queue first).
    virtual bool ProcessNextEvent(TForm& Form) = 0;
    // The surface changed; show it.
    virtual void Present(TForm& Form) = 0;
    // The modal run of Form ended.
    virtual void FormHidden(TForm& Form) = 0;
    // An error escaped an event handler (already printed on standard error).
    virtual void ShowError(const std::string&) {}
    // Whether a person answers the forms shown (a window), rather than a script: a
    // question nobody is there to answer is better not asked.
    virtual bool Interactive() const { return false; }
    // The pointer's shape changed (TControl::CursorAt). The default only remembers it.
    virtual void SetCursor(TCursor Cursor) { FCursor = Cursor; }
    TCursor Cursor() const { return FCursor; }
    // The clipboard's text (Copy value, Paste value). The default is the process's own,
    // which a headless run uses: what one part of the program copies, another pastes,
    // and nothing reaches the system. A window back end uses the system's instead.
    virtual void SetClipboardText(const std::string& Text) { FClipboard = Text; }
    // Empty when it holds no text.
    virtual std::string ClipboardText() { return FClipboard; }

private:
    std::string FClipboard;
    TCursor FCursor = crDefault;
};

class QELL_TOOLKIT_API TApplication : public TComponent {
    QELL_CLASS(TApplication, TComponent)
    TApplication();
    ~TApplication() override;

    // Names the program in error reports ("qell-designer dialog"); empty: "Exception".
    const std::string& Title() const { return FTitle; }
    void SetTitle(std::string V) { FTitle = std::move(V); }
    // The program's name as its windows show it ("Qell Designer"), on message boxes
    // and prompts; empty: Title.
    const std::string& DisplayTitle() const { return FDisplayTitle.empty() ? FTitle : FDisplayTitle; }
    void SetDisplayTitle(std::string V) { FDisplayTitle = std::move(V); }

    // The event source; the default is a headless one with no events, so a modal form
    // answers mrCancel at once. Raises Exception while a form runs modally.
    void SetBackEnd(std::unique_ptr<TBackEnd> BackEnd);
    TBackEnd& BackEnd() { return *FBackEnd; }

    // Runs Form modally: paint, show, then event by event until its ModalResult is set
    // or the back end runs dry (mrCancel). Paints what was invalidated after each event.
    // An error in a handler is reported and the loop goes on, except running out of
    // memory, which ends the run and reaches the caller: nothing can be relied on then.
    TModalResult RunModal(TForm& Form);

    // Reports an exception that escaped an event handler: one line on standard error,
    // "Title: message", and the back end.
    void HandleException(const std::exception& E);

    // Modal runs in progress (nested runs count each).
    int RunDepth() const { return FRunDepth; }

    // The program's last act when it must end at once: saves what would be lost (a page
    // to a recovery file) and prints its last message. It must not show forms nor touch
    // the display. While one is set, SIGTERM, SIGHUP and SIGINT arriving during a modal
    // run end the program after the event being handled: the hook runs, then the
    // program exits with 128 + the signal's number. Outside modal runs, and while no
    // hook is set, those signals act as before. An empty hook removes it.
    using TEmergencyHook = std::function<void()>;
    void SetEmergencyHook(TEmergencyHook Hook);
    // Ends the program now: "Title: Why" on standard error, the hook (at most once),
    // then _exit(Status), skipping the static destructors, which would close windows
    // on a connection that may be gone. For a back end that lost its display.
    [[noreturn]] void EmergencyExit(int Status, const std::string& Why);
    // Readable once such a signal has arrived (-1 while no hook is set): a back end
    // that blocks for input waits on it too, and returns so that the loop can end.
    int SignalFd() const;

private:
    void EndOnPendingSignal();

    std::unique_ptr<TBackEnd> FBackEnd;
    int FRunDepth = 0;
    TForm* FRunning = nullptr; // the innermost form running modally
    std::string FTitle;
    std::string FDisplayTitle;
    TEmergencyHook FEmergencyHook;
};

// The one application object, created when the toolkit library loads.
extern QELL_TOOLKIT_API TApplication* Application;
