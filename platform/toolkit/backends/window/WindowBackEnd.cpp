#include "platform/toolkit/backends/window/WindowBackEnd.h"

#include <SDL.h>
#include <poll.h>

#include <algorithm>
#include <utility>
#include <cstdlib>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/backends/window/X11Connection.h"

namespace {

std::string SdlError() { return SDL_GetError(); }

TShiftState ModShift(Uint16 Mod)
{
    TShiftState S;
    if (Mod & KMOD_SHIFT) S.Include(ssShift);
    if (Mod & KMOD_CTRL) S.Include(ssCtrl);
    if (Mod & KMOD_ALT) S.Include(ssAlt);
    return S;
}

bool MapButton(Uint8 Button, TMouseButton& B)
{
    switch (Button) {
    case SDL_BUTTON_LEFT: B = mbLeft; return true;
    case SDL_BUTTON_RIGHT: B = mbRight; return true;
    case SDL_BUTTON_MIDDLE: B = mbMiddle; return true;
    default: return false;
    }
}

// The buttons held in an SDL button mask.
TShiftState HeldButtons(Uint32 Mask)
{
    TShiftState S;
    for (const TMouseButton B : {mbLeft, mbRight, mbMiddle}) {
        const Uint32 Bit = B == mbLeft ? SDL_BUTTON_LMASK : B == mbRight ? SDL_BUTTON_RMASK : SDL_BUTTON_MMASK;
        if (Mask & Bit) S.Include(ButtonShift(B));
    }
    return S;
}

// The toolkit's key code for an SDL key, or 0 for keys the toolkit does not know.
TKey MapKey(SDL_Keycode K)
{
    if (K >= SDLK_a && K <= SDLK_z) return 'A' + (K - SDLK_a);
    if (K >= SDLK_0 && K <= SDLK_9) return '0' + (K - SDLK_0);
    switch (K) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return vkReturn;
    case SDLK_TAB: return vkTab;
    case SDLK_ESCAPE: return vkEscape;
    case SDLK_BACKSPACE: return vkBack;
    case SDLK_DELETE: return vkDelete;
    case SDLK_SPACE: return vkSpace;
    case SDLK_LEFT: return vkLeft;
    case SDLK_RIGHT: return vkRight;
    case SDLK_UP: return vkUp;
    case SDLK_DOWN: return vkDown;
    case SDLK_HOME: return vkHome;
    case SDLK_END: return vkEnd;
    case SDLK_PAGEUP: return vkPrior;
    case SDLK_PAGEDOWN: return vkNext;
    case SDLK_INSERT: return vkInsert;
    case SDLK_F1: return vkF1;
    case SDLK_F2: return vkF2;
    case SDLK_F7: return vkF7;
    case SDLK_F8: return vkF8;
    case SDLK_F10: return vkF10;
    case SDLK_APPLICATION: return vkApps;
    default: return 0;
    }
}

// Window coordinates to client coordinates; rounds toward minus infinity so that a
// captured pointer left or above the window stays negative.
int Unscale(int V, int Scale) { return V >= 0 ? V / Scale : -((-V + Scale - 1) / Scale); }

// Hands a mouse event of the window Id (at Scale) to Form; false for any other event.
bool DeliverPointer(const SDL_Event& E, TForm& Form, uint32_t Id, int Scale)
{
    switch (E.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        TMouseButton B;
        if (E.button.windowID != Id || !MapButton(E.button.button, B)) return false;
        TShiftState S = ModShift(SDL_GetModState()) | HeldButtons(SDL_GetMouseState(nullptr, nullptr));
        const int X = Unscale(E.button.x, Scale), Y = Unscale(E.button.y, Scale);
        if (E.type == SDL_MOUSEBUTTONDOWN) {
            // The pressed button counts as held, whatever the polled state says.
            S.Include(ButtonShift(B));
            if (E.button.clicks == 2) S.Include(ssDouble);
            Form.HandleMouseDown(B, S, X, Y);
        } else {
            S.Exclude(ButtonShift(B));
            Form.HandleMouseUp(B, S, X, Y);
        }
        return true;
    }
    case SDL_MOUSEMOTION:
        if (E.motion.windowID != Id) return false;
        Form.HandleMouseMove(ModShift(SDL_GetModState()) | HeldButtons(E.motion.state), Unscale(E.motion.x, Scale),
                             Unscale(E.motion.y, Scale));
        return true;
    case SDL_MOUSEWHEEL: {
        if (E.wheel.windowID != Id || E.wheel.y == 0) return false;
        int X = 0, Y = 0;
        SDL_GetMouseState(&X, &Y);
        const int Delta = E.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -E.wheel.y : E.wheel.y;
        Form.HandleMouseWheel(ModShift(SDL_GetModState()), Delta, Unscale(X, Scale), Unscale(Y, Scale));
        return true;
    }
    default: return false;
    }
}

// Where Form's window goes, at Scale or less: centred on the screen's usable area (the
// desktop's panels left out), the scale lowered and then a sizeable form made smaller,
// as far as its minimum allows, until the window fits; each with a note on standard
// error, since the size or scale was asked for.
SDL_Rect Place(TForm& Form, int& Scale)
{
    const int Asked = Scale;
    const auto Window = [&] {
        return SDL_Rect{0, 0, std::max(1, Form.ClientWidth()) * Scale, std::max(1, Form.ClientHeight()) * Scale};
    };
    SDL_Rect Usable;
    if (SDL_GetDisplayUsableBounds(0, &Usable) != 0 || Usable.w <= 0 || Usable.h <= 0) {
        SDL_Rect R = Window();
        R.x = R.y = static_cast<int>(SDL_WINDOWPOS_CENTERED);
        return R;
    }
    const auto Fits = [&] { return Window().w <= Usable.w && Window().h <= Usable.h; };
    while (Scale > 1 && !Fits()) --Scale;
    if (Scale != Asked)
        std::fprintf(stderr, "%s: the window does not fit the screen at scale %d; showing it at scale %d\n",
                     Form.Caption().c_str(), Asked, Scale);
    if (!Fits() && Form.BorderStyle == bsSizeable) {
        const int Width = Form.ClientWidth(), Height = Form.ClientHeight();
        Form.HandleResize(std::min(Width, Usable.w / Scale), std::min(Height, Usable.h / Scale));
        std::fprintf(stderr, "%s: the window does not fit the screen at %dx%d; showing it at %dx%d\n",
                     Form.Caption().c_str(), Width, Height, Form.ClientWidth(), Form.ClientHeight());
    }
    SDL_Rect R = Window();
    R.x = Usable.x + std::max(0, (Usable.w - R.w) / 2);
    R.y = Usable.y + std::max(0, (Usable.h - R.h) / 2);
    return R;
}

} // namespace

TWindowBackEnd::TWindowBackEnd(int Scale) : FScale(Scale)
{
    if (Scale < 1) throw Exception("Window scale must be at least 1, not " + std::to_string(Scale));
    // A program may run several modal forms one after another; closing the last window
    // of one must not end the next.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // A window gets the focus when shown; by default SDL drops a click that arrives
    // with the focus (and its release), so the user's first click would be lost.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The toolkit paints the surface; the window only shows it, which SDL's software
    // renderer does straight into the window's own X image. Left to itself SDL backs
    // the window with an OpenGL texture: without a GPU that loads a software GL with
    // its compiler and worker threads, four times the memory, and the process's end
    // then waits on its lowest-priority thread, for seconds on a busy machine (after a
    // lost display as after any exit).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw Exception("Cannot start SDL video: " + SdlError());
    // After SDL's driver has installed its own, which ends the program on any error.
    X11Connection::InstallErrorHandlers();
    // X's own events too: SDL reports no window destroyed by another client.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    if (const char* File = std::getenv("QELL_WINDOW_SNAPSHOT")) FPresentSnapshot = File;
}

TWindowBackEnd::~TWindowBackEnd()
{
    for (TWindow& W : FWindows) Destroy(W);
    for (SDL_Cursor* C : FCursors)
        if (C) SDL_FreeCursor(C);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool TWindowBackEnd::Available(std::string& Why)
{
    const char* Display = std::getenv("DISPLAY");
    const char* Wayland = std::getenv("WAYLAND_DISPLAY");
    bool HasX = Display && *Display;
    if (!HasX && !(Wayland && *Wayland)) {
        Why = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
        return false;
    }
    if (HasX && !std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "x11", 0);
    // SDL's X11 video, once quit, often fails to start again in the same process ("x11
    // not available"): a display found usable stays open, once, for the back ends that
    // follow, which then only count up SDL's use of it.
    static bool Kept = false;
    if (Kept) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        Why = "cannot open the display " + std::string(HasX ? Display : Wayland) + ": " + SdlError();
        return false;
    }
    const char* Driver = SDL_GetCurrentVideoDriver();
    std::string Name = Driver ? Driver : "";
    if (Name.empty() || Name == "dummy" || Name == "offscreen" || Name == "evdev") {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        Why = "SDL video driver '" + Name + "' shows no window";
        return false;
    }
    Kept = true;
    return true;
}

TWindowBackEnd::TWindow* TWindowBackEnd::Find(const TForm& Form)
{
    for (TWindow& W : FWindows)
        if (W.Form == &Form) return &W;
    return nullptr;
}

void TWindowBackEnd::Destroy(TWindow& W)
{
    if (W.Texture) SDL_DestroyTexture(W.Texture);
    if (W.Renderer) SDL_DestroyRenderer(W.Renderer);
    if (W.Window) SDL_DestroyWindow(W.Window);
    W = {};
}

void TWindowBackEnd::SetTitle(TWindow& W, const std::string& Title)
{
    if (Title == W.Title) return;
    W.Title = Title;
    SDL_SetWindowTitle(W.Window, Title.c_str());
}

void TWindowBackEnd::FormShown(TForm& Form)
{
    TWindow W;
    W.Form = &Form;
    W.Scale = FScale;
    const SDL_Rect At = Place(Form, W.Scale);
    const bool Sizeable = Form.BorderStyle == bsSizeable;
    // Shown only once it can draw and carries its minimum size, so that a window
    // manager sees the hints when the window maps.
    W.Window = SDL_CreateWindow(Form.Caption().c_str(), At.x, At.y, At.w, At.h,
                                SDL_WINDOW_HIDDEN | (Sizeable ? SDL_WINDOW_RESIZABLE : 0));
    if (!W.Window) throw Exception("Cannot create a window: " + SdlError());
    W.Title = Form.Caption();
    W.Renderer = SDL_CreateRenderer(W.Window, -1, SDL_RENDERER_SOFTWARE);
    if (!W.Renderer) {
        std::string Reason = SdlError();
        Destroy(W);
        throw Exception("Cannot draw in a window: " + Reason);
    }
    if (Sizeable && (Form.MinClientWidth > 0 || Form.MinClientHeight > 0))
        SDL_SetWindowMinimumSize(W.Window, std::max(1, Form.MinClientWidth) * W.Scale,
                                 std::max(1, Form.MinClientHeight) * W.Scale);
    SDL_ShowWindow(W.Window);
    // The window below a modal one takes no input until the modal one ends.
    FWindows.push_back(W);
    if (!FDisplay) FDisplay = X11Connection::DisplayOf(W.Window);
    TakeFocus(W);
    SDL_StartTextInput();
}

void TWindowBackEnd::TakeFocus(TWindow& W)
{
    FAwaitingFocus = SDL_GetWindowID(W.Window);
    SDL_RaiseWindow(W.Window);
    // Without a window manager nobody else gives a window the keyboard.
    SDL_SetWindowInputFocus(W.Window);
}

bool TWindowBackEnd::WaitEvent(SDL_Event& E)
{
    const int Wake = Application->SignalFd();
    for (;;) {
        // Never SDL_WaitEvent: on X11 it wakes itself with an event sent to the newest
        // window over a second connection, which may reach the server after the window
        // is destroyed (BadWindow in X_SendEvent).
        SDL_PumpEvents();
        const int Got = SDL_PeepEvents(&E, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        if (Got < 0) throw Exception("Cannot read window events: " + SdlError());
        if (Got > 0) return true;
        pollfd Fds[2] = {{Wake, POLLIN, 0}, {FDisplay ? X11Connection::Socket(FDisplay) : -1, POLLIN, 0}};
        if (FDisplay && X11Connection::HasQueuedEvents(FDisplay)) continue;
        // The timeout serves what SDL reads elsewhere (an input method's messages) and
        // drivers other than X11, whose socket is not known here.
        poll(Fds, 2, FDisplay ? 250 : 20);
        if (Fds[0].revents & POLLIN) return false;
    }
}

void TWindowBackEnd::Draw(TWindow& W)
{
    if (!W.Texture) return;
    SDL_RenderClear(W.Renderer);
    // Pixel for pixel at the scale, never stretched to a window of another size: a
    // click then lands where it is shown.
    const SDL_Rect To{0, 0, W.TextureWidth * W.Scale, W.TextureHeight * W.Scale};
    SDL_RenderCopy(W.Renderer, W.Texture, nullptr, &To);
    SDL_RenderPresent(W.Renderer);
}

void TWindowBackEnd::Present(TForm& Form)
{
    TWindow* W = Find(Form);
    if (!W) return;
    const TBitmap& Surface = Form.Surface();
    if (Surface.Width() <= 0 || Surface.Height() <= 0) return;
    if (!W->Texture || W->TextureWidth != Surface.Width() || W->TextureHeight != Surface.Height()) {
        if (W->Texture) SDL_DestroyTexture(W->Texture);
        // The surface packs pixels as 0x00BBGGRR, which is SDL's XBGR8888.
        W->Texture = SDL_CreateTexture(W->Renderer, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING,
                                       Surface.Width(), Surface.Height());
        if (!W->Texture) throw Exception("Cannot create a texture: " + SdlError());
        W->TextureWidth = Surface.Width();
        W->TextureHeight = Surface.Height();
        // A form that changed its own size takes its window along; one the user sized
        // already fits it.
        int WindowWidth = 0, WindowHeight = 0;
        SDL_GetWindowSize(W->Window, &WindowWidth, &WindowHeight);
        if (WindowWidth / W->Scale != Surface.Width() || WindowHeight / W->Scale != Surface.Height())
            SDL_SetWindowSize(W->Window, Surface.Width() * W->Scale, Surface.Height() * W->Scale);
    }
    SDL_UpdateTexture(W->Texture, nullptr, Surface.ScanLine(0), Surface.Width() * 4);
    SetTitle(*W, FLastError.empty() ? Form.Caption() : Form.Caption() + " - error: " + FLastError);
    Draw(*W);
    // SaveToPNG replaces the file whole, so a reader never sees half a file.
    if (!FPresentSnapshot.empty()) Surface.SaveToPNG(FPresentSnapshot);
}

bool TWindowBackEnd::ProcessNextEvent(TForm& Form)
{
    if (FQuit) return false;
    TWindow* Top = Find(Form);
    const uint32_t Id = Top ? SDL_GetWindowID(Top->Window) : 0;
    const int Scale = Top ? Top->Scale : FScale;
    for (;;) {
        SDL_Event E;
        // A signal to end: back to the loop, which ends the program.
        if (!WaitEvent(E)) return true;
        if (E.type == SDL_QUIT) {
            // Interrupted from outside (a signal): every modal form ends.
            FQuit = true;
            return false;
        }
        EndIfWindowDestroyed(E);
        if (DeliverWindowEvent(E, Form, Id, Scale) || DeliverPointer(E, Form, Id, Scale) ||
            DeliverKeyboard(E, Form, Id))
            return true;
    }
}

void TWindowBackEnd::EndIfWindowDestroyed(const SDL_Event& E)
{
    const unsigned long Gone = X11Connection::DestroyedWindow(E);
    if (Gone == 0) return;
    // Windows this program destroyed are off the list by now: this one went from outside,
    // leaving a modal form nobody can see, answer or close. The display's loss is as final.
    for (const TWindow& W : FWindows)
        if (X11Connection::WindowOf(W.Window) == Gone)
            Application->EmergencyExit(1, "the window '" + W.Title + "' was destroyed by another program");
}

bool TWindowBackEnd::DeliverWindowEvent(const SDL_Event& E, TForm& Form, uint32_t Id, int Scale)
{
    if (E.type != SDL_WINDOWEVENT) return false;
    const SDL_WindowEvent& W = E.window;
    if (W.event == SDL_WINDOWEVENT_CLOSE) {
        if (W.windowID != Id) return false;
        Form.Close();
        return true;
    }
    if (W.event == SDL_WINDOWEVENT_SIZE_CHANGED && W.windowID == Id) {
        Form.HandleResize(Unscale(W.data1, Scale), Unscale(W.data2, Scale));
        return true;
    }
    if (W.event == SDL_WINDOWEVENT_FOCUS_GAINED && W.windowID == FAwaitingFocus) FAwaitingFocus = 0;
    if (W.event == SDL_WINDOWEVENT_LEAVE && W.windowID == Id) {
        Form.HandleMouseLeave();
        return true;
    }
    if (W.event == SDL_WINDOWEVENT_EXPOSED || W.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
        W.event == SDL_WINDOWEVENT_RESTORED) {
        for (TWindow& Shown : FWindows)
            if (SDL_GetWindowID(Shown.Window) == W.windowID) Draw(Shown);
    }
    return false;
}

bool TWindowBackEnd::DeliverKeyboard(const SDL_Event& E, TForm& Form, uint32_t Id)
{
    if (E.type == SDL_KEYDOWN) {
        // Ctrl and Alt with a key are commands (Alt+O presses a button), and the text
        // the key also makes is not typed. Judged by the key's own event: when the
        // program falls behind, the keys held now may no longer be those held then.
        FSwallowText = (E.key.keysym.mod & (KMOD_CTRL | KMOD_LALT)) != 0;
        const TKey Key = MapKey(E.key.keysym.sym);
        if (!TakesKeys(E.key.windowID, Id) || Key == 0) return false;
        Form.HandleKeyDown(Key, ModShift(E.key.keysym.mod));
        return true;
    }
    if (E.type == SDL_TEXTINPUT) {
        const bool Swallow = std::exchange(FSwallowText, false);
        if (!TakesKeys(E.text.windowID, Id) || Swallow) return false;
        Form.HandleTextInput(E.text.text);
        return true;
    }
    return false;
}

bool TWindowBackEnd::TakesKeys(uint32_t KeyWindow, uint32_t Id) const
{
    // Until the window has the focus, keys come marked with the window that had it:
    // typed before this one showed (or, below it, before the one above went), they are
    // meant for it.
    return KeyWindow == Id || FAwaitingFocus == Id;
}

void TWindowBackEnd::FormHidden(TForm& Form)
{
    for (size_t I = FWindows.size(); I-- > 0;) {
        if (FWindows[I].Form != &Form) continue;
        // The form below takes the keyboard before this window goes, so that no key
        // falls between them.
        if (I > 0) TakeFocus(FWindows[I - 1]);
        Destroy(FWindows[I]);
        FWindows.erase(FWindows.begin() + static_cast<std::ptrdiff_t>(I));
        break;
    }
    if (FWindows.empty()) {
        SDL_StopTextInput();
        if (!FFinalSnapshot.empty()) Form.Surface().SaveToPNG(FFinalSnapshot);
    }
}

void TWindowBackEnd::ShowError(const std::string& Message)
{
    FLastError = Message;
    if (!FWindows.empty()) {
        TWindow& W = FWindows.back();
        SetTitle(W, W.Form->Caption() + " - error: " + Message);
    }
}

void TWindowBackEnd::SetClipboardText(const std::string& Text)
{
    if (SDL_SetClipboardText(Text.c_str()) != 0) throw Exception("Cannot copy: " + SdlError());
}

void TWindowBackEnd::SetCursor(TCursor Cursor)
{
    TBackEnd::SetCursor(Cursor);
    static constexpr SDL_SystemCursor Shapes[] = {SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_CROSSHAIR,
                                                  SDL_SYSTEM_CURSOR_SIZEALL,  SDL_SYSTEM_CURSOR_SIZEWE,
                                                  SDL_SYSTEM_CURSOR_SIZENS,   SDL_SYSTEM_CURSOR_SIZENWSE,
                                                  SDL_SYSTEM_CURSOR_SIZENESW};
    const auto Index = static_cast<size_t>(Cursor);
    if (Index >= std::size(Shapes)) return;
    if (FCursors.size() <= Index) FCursors.resize(Index + 1, nullptr);
    if (!FCursors[Index]) FCursors[Index] = SDL_CreateSystemCursor(Shapes[Index]);
    // A display without the shape keeps the pointer it has.
    if (FCursors[Index]) SDL_SetCursor(FCursors[Index]);
}

std::string TWindowBackEnd::ClipboardText()
{
    char* Text = SDL_GetClipboardText();
    if (!Text) return {};
    std::string Result = Text;
    SDL_free(Text);
    return Result;
}
