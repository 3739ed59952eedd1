#pragma once
// A back end that shows each modal form in a real window through SDL2: the surface is
// presented pixel for pixel (optionally scaled by a whole factor) by SDL's software
// renderer, without OpenGL, and mouse, keyboard and text input become the form's
// Handle… calls. Closing the window is Cancel.
//
// Choose it explicitly after asking Available(): without a display SDL would fall back
// to a driver that shows nothing, and the program would wait for input that never comes.
//
// With the environment variable QELL_WINDOW_SNAPSHOT set to a file name, every
// presented surface is also written there as PNG (atomically, through a temporary
// file), so that a test can compare a screenshot of the window with it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/toolkit/Application.h"

#define QELL_WINDOW_API __attribute__((visibility("default")))

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;

class QELL_WINDOW_API TWindowBackEnd : public TBackEnd {
public:
    // Raises Exception with SDL's reason when the video subsystem cannot start.
    explicit TWindowBackEnd(int Scale = 1);
    ~TWindowBackEnd() override;
    TWindowBackEnd(const TWindowBackEnd&) = delete;
    TWindowBackEnd& operator=(const TWindowBackEnd&) = delete;

    // Whether a window can be shown here; when not, Why gets a one-line reason. Selects
    // SDL's X11 driver when DISPLAY is set and SDL_VIDEODRIVER is not. A true answer
    // leaves SDL's video started until the process ends, since it may not start again.
    static bool Available(std::string& Why);

    // The scale asked for; a window that would not fit the screen at it is shown at the
    // largest scale that fits (at least 1), with a note on standard error.
    int Scale() const { return FScale; }
    // Saves the surface of the outermost modal form as PNG when its run ends.
    void SetFinalSnapshot(std::string FileName) { FFinalSnapshot = std::move(FileName); }

    void FormShown(TForm& Form) override;
    bool ProcessNextEvent(TForm& Form) override;
    void Present(TForm& Form) override;
    void FormHidden(TForm& Form) override;
    // Keeps the last message in the window title, after the caption.
    void ShowError(const std::string& Message) override;
    bool Interactive() const override { return true; }
    // SDL's clipboard, shared with the other programs on the display.
    void SetClipboardText(const std::string& Text) override;
    std::string ClipboardText() override;
    // One of SDL's own pointers for each shape, made when first shown.
    void SetCursor(TCursor Cursor) override;

private:
    struct TWindow {
        TForm* Form = nullptr;
        SDL_Window* Window = nullptr;
        SDL_Renderer* Renderer = nullptr;
        SDL_Texture* Texture = nullptr;
        int TextureWidth = 0, TextureHeight = 0;
        int Scale = 1;
        std::string Title;
    };
    TWindow* Find(const TForm& Form);
    void Draw(TWindow& W);
    void SetTitle(TWindow& W, const std::string& Title);
    static void Destroy(TWindow& W);
    // Raises W and gives it the keyboard; until it has it, the keys typed go to W.
    void TakeFocus(TWindow& W);
    // Whether a key marked with the window KeyWindow goes to the form of the window Id.
    bool TakesKeys(uint32_t KeyWindow, uint32_t Id) const;
    // The next SDL event; false when a signal to end the program arrived first.
    bool WaitEvent(SDL_Event& E);
    // Each hands E to Form, whose window is Id at Scale, when E is input of its kind
    // for that window, and answers whether it did. An exposed window, of any form, is
    // redrawn, and that is no input.
    // Ends the program (as a lost display does) when E says that one of its windows was
    // destroyed by another client.
    void EndIfWindowDestroyed(const SDL_Event& E);
    bool DeliverWindowEvent(const SDL_Event& E, TForm& Form, uint32_t Id, int Scale);
    bool DeliverKeyboard(const SDL_Event& E, TForm& Form, uint32_t Id);

    int FScale;
    bool FQuit = false;
    bool FSwallowText = false; // the last key came with Ctrl or Alt
    std::string FFinalSnapshot;
    std::string FPresentSnapshot;
    std::string FLastError;
    std::vector<TWindow> FWindows; // one per running modal form, innermost last
    std::vector<SDL_Cursor*> FCursors; // by TCursor, made when first shown
    void* FDisplay = nullptr;      // the X connection, when SDL runs on X11
    uint32_t FAwaitingFocus = 0;   // the window given the keyboard, until it reports it has it
};
