#pragma once
// What the Windows layer needs from the machine: a native window, input events, a clock and
// a modal message box. The SDL backend is the real one; tests install a scripted one.

#include <vector>

#include "platform/win32.h"

namespace platform {

struct BackendEvent {
    enum Kind { KeyDown, KeyUp, CloseRequested };
    Kind kind;
    void* nativeWindow;  // the window the event is for
    WPARAM virtualKey;   // KeyDown/KeyUp: a letter is its upper-case ASCII code, F1 is VK_F1
    bool repeat;         // KeyDown from auto-repeat
};

class Backend {
public:
    virtual ~Backend() = default;

    // A new window, hidden until showWindow; x, y, width and height are its outer frame.
    // Null on failure.
    virtual void* createWindow(const char* title, int x, int y, int width, int height) = 0;
    virtual void showWindow(void* nativeWindow) = 0;
    virtual void destroyWindow(void* nativeWindow) = 0;

    // Appends, without waiting, the events that arrived since the last call.
    virtual void pollEvents(std::vector<BackendEvent>& out) = 0;

    // Milliseconds on a clock that wraps at 2^32.
    virtual DWORD milliseconds() = 0;

    // What the Windows layer does with an event that comes while a box is open, as Windows'
    // own box dispatches it: a close request goes to the window's procedure at once. True when
    // the box is to end: the program has posted its quit message.
    using BoxEventHandler = bool (*)(const BackendEvent& event);

    // Modal until dismissed, or until whileOpen answers true. Text and caption are Latin-1
    // bytes. Close requests that arrive while the box is open go to whileOpen; input is
    // dropped, never queued for later.
    virtual int messageBox(const char* text, const char* caption, UINT type, BoxEventHandler whileOpen) = 0;
};

// The backend every Windows call goes through; not owned. Null until installed.
void setBackend(Backend* backend);
Backend* currentBackend();

// The backend's window behind a window handle, or null. With the SDL backend it is the
// SDL_Window*.
void* nativeWindowOf(HWND window);

}  // namespace platform
