#include "platform/toolkit/backends/window/X11Connection.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/toolkit/Application.h"

// Last: Xlib defines macros (Status, None, …) that the toolkit's names would meet.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace {

int OnProtocolError(Display* D, XErrorEvent* E)
{
    // Only calls that read Xlib's local error database here: a request from inside an
    // error handler would deadlock.
    char What[160] = "";
    XGetErrorText(D, E->error_code, What, sizeof What);
    char Request[80] = "";
    const std::string Code = std::to_string(E->request_code);
    XGetErrorDatabaseText(D, "XRequest", Code.c_str(), Code.c_str(), Request, sizeof Request);
    const std::string Title = Application && !Application->Title().empty() ? Application->Title() : "X";
    std::fprintf(stderr, "%s: X error ignored: %s in request %s on resource 0x%lx\n", Title.c_str(), What, Request,
                 E->resourceid);
    std::fflush(stderr);
    return 0;
}

int OnConnectionLost(Display* D)
{
    const char* Name = DisplayString(D);
    // After the application object is gone (static destructors) there is nothing to save.
    if (!Application) _exit(1);
    Application->EmergencyExit(1, std::string("lost the connection to the display ") + (Name ? Name : ""));
}

} // namespace

namespace X11Connection {

void InstallErrorHandlers()
{
    XSetErrorHandler(OnProtocolError);
    XSetIOErrorHandler(OnConnectionLost);
}

void* DisplayOf(SDL_Window* Window)
{
    SDL_SysWMinfo Info;
    SDL_VERSION(&Info.version);
    if (!Window || !SDL_GetWindowWMInfo(Window, &Info) || Info.subsystem != SDL_SYSWM_X11) return nullptr;
    return Info.info.x11.display;
}

int Socket(void* Display) { return ConnectionNumber(static_cast<::Display*>(Display)); }

bool HasQueuedEvents(void* Display) { return XEventsQueued(static_cast<::Display*>(Display), QueuedAlready) > 0; }

unsigned long WindowOf(SDL_Window* Window)
{
    SDL_SysWMinfo Info;
    SDL_VERSION(&Info.version);
    if (!Window || !SDL_GetWindowWMInfo(Window, &Info) || Info.subsystem != SDL_SYSWM_X11) return 0;
    return Info.info.x11.window;
}

unsigned long DestroyedWindow(const SDL_Event& E)
{
    if (E.type != SDL_SYSWMEVENT || !E.syswm.msg || E.syswm.msg->subsystem != SDL_SYSWM_X11) return 0;
    const XEvent& X = E.syswm.msg->msg.x11.event;
    return X.type == DestroyNotify ? X.xdestroywindow.window : 0;
}

} // namespace X11Connection
