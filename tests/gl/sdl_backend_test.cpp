// The SDL backend in a real window (run under Xvfb, where there is no window manager and so
// no frame: the client area is the whole 300 x 300).

#include <gtest/gtest.h>
#include <time.h>

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/sdl/sdl_backend.h"
#include "platform/timer.h"
#include "platform/win32.h"

namespace {

LRESULT CALLBACK quitOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class SdlBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        backend = platform::SdlBackend::open(error);
        ASSERT_NE(backend, nullptr) << "no display: " << error;
        platform::setBackend(backend.get());

        WNDCLASSEXA record{};
        record.cbSize = sizeof record;
        record.style = CS_CLASSDC;
        record.lpfnWndProc = quitOnDestroy;
        record.hInstance = GetModuleHandleA(nullptr);
        record.lpszClassName = "Quorvel";
        ASSERT_NE(RegisterClassExA(&record), 0);
        window = CreateWindowExA(0, "Quorvel", "Quorvel 04: Lights", WS_OVERLAPPEDWINDOW, 100, 100,
                                 300, 300, GetDesktopWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        sdlWindow = static_cast<SDL_Window*>(platform::nativeWindowOf(window));
        ASSERT_NE(sdlWindow, nullptr);
    }

    // Puts a key event on SDL's queue as if the player had pressed it in our window.
    void push(Uint32 type, SDL_Keycode key, bool repeat = false) {
        SDL_Event event{};
        event.type = type;
        event.key.type = type;
        event.key.windowID = SDL_GetWindowID(sdlWindow);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.sym = key;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    bool peek() { return PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0; }

    std::unique_ptr<platform::SdlBackend> backend;
    HWND window = nullptr;
    SDL_Window* sdlWindow = nullptr;
    MSG msg{};
};

TEST_F(SdlBackendTest, WindowIsMadeHiddenForOpenGLAndShownOnRequest) {
    Uint32 flags = SDL_GetWindowFlags(sdlWindow);
    EXPECT_TRUE(flags & SDL_WINDOW_OPENGL);
    EXPECT_TRUE(flags & SDL_WINDOW_HIDDEN);
    EXPECT_STREQ(SDL_GetWindowTitle(sdlWindow), "Quorvel 04: Lights");

    ShowWindow(window, SW_SHOWDEFAULT);
    UpdateWindow(window);
    flags = SDL_GetWindowFlags(sdlWindow);
    EXPECT_TRUE(flags & SDL_WINDOW_SHOWN);
    EXPECT_FALSE(flags & SDL_WINDOW_HIDDEN);

    int width = 0, height = 0, x = 0, y = 0;
    SDL_GetWindowSize(sdlWindow, &width, &height);
    SDL_GetWindowPosition(sdlWindow, &x, &y);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 300);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 100);
}

TEST_F(SdlBackendTest, ContextOnTheWindowHasTheFixedFunctionPipelineAndDepth) {
    SDL_GLContext context = SDL_GL_CreateContext(sdlWindow);
    ASSERT_NE(context, nullptr) << SDL_GetError();
    int depth = 0, doubleBuffer = 0, major = 0, profile = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, &major);
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_GE(depth, 16);
    EXPECT_EQ(doubleBuffer, 1);
    EXPECT_GE(major, 2);
    EXPECT_NE(profile, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_DeleteContext(context);
}

TEST_F(SdlBackendTest, KeyEventsBecomeKeyMessagesWithVirtualKeyCodes) {
    ShowWindow(window, SW_SHOWDEFAULT);
    push(SDL_KEYDOWN, SDLK_l);
    push(SDL_KEYDOWN, SDLK_l, true);
    push(SDL_KEYUP, SDLK_l);
    push(SDL_KEYDOWN, SDLK_PRINTSCREEN);  // no code: never a message
    push(SDL_KEYDOWN, SDLK_F1);
    push(SDL_KEYDOWN, SDLK_7);

    struct Expected {
        UINT message;
        WPARAM key;
        LPARAM lParam;
    };
    const Expected expected[] = {
        {WM_KEYDOWN, 'L', 0x00000001},
        {WM_KEYDOWN, 'L', 0x40000001},
        {WM_KEYUP, 'L', static_cast<LPARAM>(0xC0000001u)},
        {WM_KEYDOWN, VK_F1, 0x00000001},
        {WM_KEYDOWN, '7', 0x00000001},
    };
    for (const Expected& e : expected) {
        ASSERT_TRUE(peek());
        EXPECT_EQ(msg.hwnd, window);
        EXPECT_EQ(msg.message, e.message);
        EXPECT_EQ(msg.wParam, e.key);
        EXPECT_EQ(msg.lParam, e.lParam);
    }
    EXPECT_FALSE(peek());
}

TEST_F(SdlBackendTest, ClosingTheWindowEndsInOneCloseAndTheQuitMessage) {
    ShowWindow(window, SW_SHOWDEFAULT);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(sdlWindow);
    Uint32 id = close.window.windowID;
    SDL_PushEvent(&close);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);

    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_CLOSE);
    DispatchMessageA(&msg);
    EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);  // the SDL window went with it
    EXPECT_EQ(platform::nativeWindowOf(window), nullptr);

    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_FALSE(peek());
}

// Presses Return in the box once a window titled caption (UTF-8, no quotes) appears, again
// until it is gone (another window may take the focus back between the focus and the key),
// and writes "found" to marker; if none appears in 10 s it writes "missing" and presses
// Return in every window so that the test does not hang.
void dismissBoxLater(const std::string& caption, const std::string& marker) {
    std::string script =
        "(seen=missing\n"
        "for i in $(seq 1 100); do\n"
        "  w=$(xwininfo -root -tree | awk -v t='\"" + caption + "\"' 'index($0, t) {print $1; exit}')\n"
        "  if [ -n \"$w\" ]; then seen=found; echo found > " + marker + "; xdotool windowfocus --sync $w key Return;\n"
        "  elif [ $seen = found ]; then exit 0; fi\n"
        "  sleep 0.1\n"
        "done\n"
        "echo $seen > " + marker + "\n"
        "for w in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do xdotool windowfocus $w key Return; done\n"
        ") >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(script.c_str()), 0);
}

TEST_F(SdlBackendTest, MessageBoxShowsLatin1TextAndSwallowsWaitingKeys) {
    if (std::system("command -v xdotool >/dev/null && command -v xwininfo >/dev/null") != 0) {
        GTEST_SKIP() << "needs xdotool and xwininfo to press the box's button";
    }
    ShowWindow(window, SW_SHOWDEFAULT);
    push(SDL_KEYDOWN, SDLK_l);  // waiting, not yet taken, when the box opens

    std::string marker = "sdl_box_" + std::to_string(SDL_GetTicks()) + ".txt";
    dismissBoxLater("Quorvel \xC3\xA9t\xC3\xA9", marker);
    int answer = MessageBoxA(nullptr, "Beurk, tu t'es viand\xE9! c'est comique!", "Quorvel \xE9t\xE9",
                             MB_OK | MB_ICONEXCLAMATION);

    EXPECT_EQ(answer, IDOK);
    std::string seen;
    std::ifstream(marker) >> seen;
    std::remove(marker.c_str());
    EXPECT_EQ(seen, "found") << "no box titled with the UTF-8 caption";
    EXPECT_FALSE(peek());
}

TEST_F(SdlBackendTest, ClockCountsMillisecondsSinceTheMachineStarted) {
    DWORD first = timeGetTime();
    SDL_Delay(30);
    DWORD second = timeGetTime();
    EXPECT_GE(static_cast<DWORD>(second - first), 30u);
    EXPECT_LE(static_cast<DWORD>(second - first), 1000u);
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    DWORD sinceBoot = static_cast<DWORD>(static_cast<std::uint64_t>(boot.tv_sec) * 1000u + boot.tv_nsec / 1000000);
    EXPECT_LE(static_cast<DWORD>(sinceBoot - second), 5u);
}

}  // namespace
