#pragma once
// The real machine: windows, keyboard, clock and message boxes through SDL2. Windows are made
// for OpenGL (double-buffered, 16-bit depth, a 2.1 compatibility context for the
// fixed-function pipeline); the Direct3D device makes its context on the SDL_Window that
// nativeWindowOf returns.

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/backend.h"

struct SDL_Window;

namespace platform {

class SdlBackend : public Backend {
public:
    // Starts SDL's video; null, with SDL's reason in error, when no display can be opened.
    static std::unique_ptr<SdlBackend> open(std::string& error);
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    void* createWindow(const char* title, int x, int y, int width, int height) override;
    void showWindow(void* nativeWindow) override;
    void destroyWindow(void* nativeWindow) override;
    void pollEvents(std::vector<BackendEvent>& out) override;
    DWORD milliseconds() override;
    int messageBox(const char* text, const char* caption, UINT type, BoxEventHandler whileOpen) override;

private:
    SdlBackend() = default;

    struct Borders {
        int top = 0;
        int left = 0;
        int bottom = 0;
        int right = 0;
        bool operator==(const Borders& o) const {
            return top == o.top && left == o.left && bottom == o.bottom && right == o.right;
        }
    };
    struct Frame {  // what was asked for: the outer frame
        SDL_Window* window;
        int x;
        int y;
        int width;
        int height;
        bool shown;
        Borders fitted;  // the borders the client area was last sized for
    };
    Frame* find(const void* nativeWindow);
    // One look at the events while a box is open; true when whileOpen says the box is to end.
    bool dispatchWhileBoxOpen(BoxEventHandler whileOpen);
    static void fitToBorders(Frame& frame);

    std::vector<Frame> windows_;
};

}  // namespace platform
