#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/posix/stop_signals.h"
#include "platform/sdl/box_process.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/win32/latin1.h"
#include "platform/win32/layer_reset.h"

namespace platform {

std::unique_ptr<SdlBackend> SdlBackend::open(std::string& error) {
    bool chosenDriver = std::getenv("SDL_VIDEODRIVER") != nullptr;
    bool wayland = std::getenv("WAYLAND_DISPLAY") != nullptr;
    if (!chosenDriver && !wayland) {
        // Probing Wayland with no session prints its own complaints on the console.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,KMSDRM");
    }
    // Ours, not SDL's: SDL's only queue a quit, which nobody reads while a message box is open.
    if (catchStopSignals()) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        releaseStopSignals();
        error = (!chosenDriver && !wayland && std::getenv("DISPLAY") == nullptr)
                    ? "neither DISPLAY nor WAYLAND_DISPLAY is set"
                    : SDL_GetError();
        return nullptr;
    }
    // Without a display SDL falls back to drivers that draw nowhere; a game nobody can see is
    // no use, unless someone chose such a driver on purpose.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!chosenDriver && driver != nullptr &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        error = std::string("SDL found only its '") + driver + "' video driver";
        SDL_Quit();
        releaseStopSignals();
        return nullptr;
    }
    return std::unique_ptr<SdlBackend>(new SdlBackend());
}

SdlBackend::~SdlBackend() {
    if (currentBackend() == this) {
        resetWindowsLayer();  // its windows are about to go with SDL
        setBackend(nullptr);
    }
    SDL_Quit();
    releaseStopSignals();
}

void* SdlBackend::createWindow(const char* title, int x, int y, int width, int height) {
    // Read when the window picks its visual, so they must come first.
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);

    // Until the window manager has framed the window its borders are unknown, so the client
    // area starts at the outer size and shrinks once they are known (fitToBorders).
    SDL_Window* window = SDL_CreateWindow(latin1ToUtf8(title).c_str(), x, y, std::max(width, 1),
                                          std::max(height, 1), SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        std::fprintf(stderr, "quorvel: cannot create the window: %s\n", SDL_GetError());
        return nullptr;
    }
    windows_.push_back(Frame{window, x, y, width, height, false, Borders{}});
    return window;
}

void SdlBackend::showWindow(void* nativeWindow) {
    Frame* frame = find(nativeWindow);
    if (frame == nullptr) {
        return;
    }
    SDL_ShowWindow(frame->window);
    SDL_RaiseWindow(frame->window);  // keyboard focus, so the keys come to the game
    frame->shown = true;
    fitToBorders(*frame);
}

// Windows sizes the frame, SDL the client area. A window manager tells the borders only after
// it has framed the shown window, so this runs again whenever they change.
void SdlBackend::fitToBorders(Frame& frame) {
    Borders borders;
    if (SDL_GetWindowBordersSize(frame.window, &borders.top, &borders.left, &borders.bottom,
                                 &borders.right) != 0 ||
        borders == frame.fitted) {
        return;
    }
    const bool framedJustNow = frame.fitted == Borders{};
    frame.fitted = borders;
    SDL_SetWindowSize(frame.window, std::max(frame.width - borders.left - borders.right, 1),
                      std::max(frame.height - borders.top - borders.bottom, 1));
    // SDL places the client area; the frame's corner lands at x, y. Only the first time: later
    // the player may have moved the window.
    if (framedJustNow) {
        SDL_SetWindowPosition(frame.window, frame.x + borders.left, frame.y + borders.top);
    }
}

void SdlBackend::destroyWindow(void* nativeWindow) {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [nativeWindow](const Frame& f) { return f.window == nativeWindow; });
    if (it != windows_.end()) {
        SDL_DestroyWindow(it->window);
        windows_.erase(it);
    }
}

void SdlBackend::pollEvents(std::vector<BackendEvent>& out) {
    // One close request per window, however many ways SDL reports it.
    std::vector<SDL_Window*> closing;
    auto requestClose = [&](SDL_Window* window) {
        if (window != nullptr && std::find(closing.begin(), closing.end(), window) == closing.end()) {
            closing.push_back(window);
            out.push_back(BackendEvent{BackendEvent::CloseRequested, window, 0, false});
        }
    };
    auto requestCloseOfAll = [&] {
        for (const Frame& frame : windows_) {
            requestClose(frame.window);
        }
    };

    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            WPARAM virtualKey = 0;
            if (virtualKeyOf(event.key.keysym.sym, virtualKey)) {
                out.push_back(BackendEvent{
                    event.type == SDL_KEYDOWN ? BackendEvent::KeyDown : BackendEvent::KeyUp,
                    SDL_GetWindowFromID(event.key.windowID), virtualKey, event.key.repeat != 0});
            }
            break;
        }
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                requestClose(SDL_GetWindowFromID(event.window.windowID));
            }
            break;
        case SDL_QUIT:  // the last window closed
            requestCloseOfAll();
            break;
        default:
            break;
        }
    }
    if (takeStopSignals()) {  // SIGTERM or SIGINT ends the game as a close does
        requestCloseOfAll();
    }
    // SDL reads the borders from the window manager's events, which the poll has just taken in,
    // and keeps them: asking costs no trip to the X server.
    for (Frame& frame : windows_) {
        if (frame.shown) {
            fitToBorders(frame);
        }
    }
}

// Like the Windows timer, count from the machine's start rather than the program's: the
// ball's jump timer treats clock values below its jump length as "still jumping".
DWORD SdlBackend::milliseconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                             static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);  // wraps at 2^32, as the Windows clock does
}

int SdlBackend::messageBox(const char* text, const char* caption, UINT /*type*/, BoxEventHandler whileOpen) {
    if (stopSignalled()) {
        return 0;  // the game is on its way out; a box would only hold it up
    }
    const std::string utf8Text = latin1ToUtf8(text);
    const std::string utf8Caption = latin1ToUtf8(caption);
    BoxProcess box;
    if (!box.start(utf8Caption, utf8Text)) {
        // The player must still learn what happened; say it on the console instead.
        std::fprintf(stderr, "%s: %s (no message box: its process did not start)\n", utf8Caption.c_str(),
                     utf8Text.c_str());
        return 0;
    }
    bool dismissed = false;
    while (!box.finished(dismissed)) {
        // A stop signal ends the box even when no window is left to take its close request.
        if (dispatchWhileBoxOpen(whileOpen) || stopSignalled()) {
            box.end();
            break;
        }
        SDL_Delay(10);
    }
    // Keys pressed while the box was up belong to the box, never to the game.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
    return dismissed ? IDOK : 0;
}

bool SdlBackend::dispatchWhileBoxOpen(BoxEventHandler whileOpen) {
    std::vector<BackendEvent> events;
    pollEvents(events);
    bool endBox = false;
    for (const BackendEvent& event : events) {
        // Input is dropped: it was meant for the box.
        if (event.kind == BackendEvent::CloseRequested && whileOpen != nullptr && whileOpen(event)) {
            endBox = true;
        }
    }
    return endBox;
}

SdlBackend::Frame* SdlBackend::find(const void* nativeWindow) {
    for (Frame& frame : windows_) {
        if (frame.window == nativeWindow) {
            return &frame;
        }
    }
    return nullptr;
}

}  // namespace platform
