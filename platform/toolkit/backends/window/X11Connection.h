#pragma once
// What the window back end needs from Xlib directly, kept apart so that Xlib's macros
// (None, Status, Bool, …) stay out of the rest of the code. Private to the library.

struct SDL_Window;
union SDL_Event;

namespace X11Connection {

// Installs the process's X error handlers; call after SDL's X11 driver has started
// (it installs handlers of its own then). A protocol error (a request about a window
// that another client or this one already destroyed) is reported on standard error and
// the program goes on. A broken connection (the server ended, a forwarded display
// dropped) ends the program through Application->EmergencyExit, which never touches the
// connection again.
void InstallErrorHandlers();

// The X connection of Window's display, or nullptr when SDL does not run on X11.
void* DisplayOf(SDL_Window* Window);
// The connection's socket, which becomes readable when the server sends something.
int Socket(void* Display);
// Whether Xlib already holds events that it has read from the socket.
bool HasQueuedEvents(void* Display);
// Window's X window, or 0 when SDL does not run on X11.
unsigned long WindowOf(SDL_Window* Window);
// The X window that E, an SDL_SYSWMEVENT, says was destroyed; 0 for any other event.
unsigned long DestroyedWindow(const SDL_Event& E);

} // namespace X11Connection
