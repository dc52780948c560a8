#pragma once
// A Backend driven by the test itself: no display, a clock the test sets, input the test
// injects, and message boxes that are recorded and answered at once. The game's WinMain runs
// over it unchanged.
//
// Constructing one installs it as the current backend and starts the Windows layer afresh
// (no classes, windows or queued messages); destroying it uninstalls it and clears the layer
// again, so one test cannot leak into the next.
//
//     platform::ScriptedBackend backend;
//     backend.setAutoAdvance(5);                                  // 5 ms per loop turn
//     backend.at(10, [&] { backend.keyDown('L'); });              // turn 10: press L
//     backend.at(200, [&] { backend.requestClose(); });           // turn 200: close the window
//     WinMain(nullptr, nullptr, nullptr, SW_SHOWDEFAULT);
//     EXPECT_EQ(backend.messageBoxes().size(), 0u);
//
// A "turn" is one pollEvents call; the Windows layer polls once per PeekMessageA, so with the
// game's loop turn n is the n-th turn of the loop (counted from 0).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/backend.h"

namespace platform {

struct ScriptedWindow {
    std::string title;
    int x;
    int y;
    int width;
    int height;
    bool shown;
    bool destroyed;
};

struct ScriptedMessageBox {
    std::string text;     // Latin-1 bytes as the caller passed them
    std::string caption;
    UINT type;
    DWORD openedAt;       // the clock when the box opened
    bool endedByQuit = false;  // a close request while it was open led to the quit message
};

class ScriptedBackend : public Backend {
public:
    using PollHook = std::function<void(unsigned turn)>;
    using BoxHook = std::function<void(const ScriptedMessageBox& box)>;

    ScriptedBackend();
    ~ScriptedBackend() override;
    ScriptedBackend(const ScriptedBackend&) = delete;
    ScriptedBackend& operator=(const ScriptedBackend&) = delete;

    // --- Clock (wraps at 2^32 like the real one) ---
    void setTime(DWORD milliseconds);
    void advance(DWORD milliseconds);
    DWORD time() const { return clock_; }
    // Added to the clock at the start of every poll, before the hooks run. 0 = off.
    void setAutoAdvance(DWORD millisecondsPerPoll) { autoAdvance_ = millisecondsPerPoll; }

    // --- Input ---
    // Queued for the next poll. A null window means the latest created window that is not
    // destroyed; with none, the event is still delivered and the Windows layer drops it.
    // While a message box is open, key events are dropped (as on the real machine) and only
    // counted; close requests go at once to the Windows layer's handler, as the real box does.
    void keyDown(WPARAM virtualKey, bool repeat = false, void* nativeWindow = nullptr);
    void keyUp(WPARAM virtualKey, void* nativeWindow = nullptr);
    // A full press: key down then key up, both delivered by the same poll.
    void pressKey(WPARAM virtualKey, void* nativeWindow = nullptr);
    void requestClose(void* nativeWindow = nullptr);
    void inject(const BackendEvent& event);

    // Called on every poll with the turn number (0 for the first poll).
    void onPoll(PollHook hook) { pollHook_ = std::move(hook); }
    // Runs action on the poll of the given turn (several actions may share a turn; they run
    // in the order given, after the onPoll hook).
    void at(unsigned turn, std::function<void()> action);
    unsigned polls() const { return polls_; }

    // --- Windows ---
    const std::deque<ScriptedWindow>& windows() const { return windows_; }
    // The native handle the Windows layer knows the window by (what nativeWindowOf returns).
    void* nativeHandle(std::size_t index) { return &windows_.at(index); }
    // Makes createWindow fail (return null) from now on.
    void failWindowCreation(bool fail) { failWindowCreation_ = fail; }

    // --- Message boxes ---
    const std::vector<ScriptedMessageBox>& messageBoxes() const { return boxes_; }
    // Runs while a box is "open", before it is answered; e.g. to advance the clock or to press
    // keys that must never reach the game.
    void whileBoxOpen(BoxHook hook) { boxHook_ = std::move(hook); }
    bool boxOpen() const { return boxOpen_; }
    // Key events dropped because a box was open when they arrived.
    unsigned droppedKeys() const { return droppedKeys_; }

    // --- Backend ---
    void* createWindow(const char* title, int x, int y, int width, int height) override;
    void showWindow(void* nativeWindow) override;
    void destroyWindow(void* nativeWindow) override;
    void pollEvents(std::vector<BackendEvent>& out) override;
    DWORD milliseconds() override { return clock_; }
    int messageBox(const char* text, const char* caption, UINT type, BoxEventHandler whileOpen) override;

private:
    ScriptedWindow* find(void* nativeWindow);
    void* latestLiveWindow();
    void dropPendingKeys();

    DWORD clock_ = 0;
    DWORD autoAdvance_ = 0;
    std::deque<ScriptedWindow> windows_;  // a deque keeps the native handles stable
    std::vector<ScriptedMessageBox> boxes_;
    std::vector<BackendEvent> pending_;
    struct Scheduled {
        unsigned turn;
        std::function<void()> action;
    };
    std::vector<Scheduled> scheduled_;
    PollHook pollHook_;
    BoxHook boxHook_;
    unsigned polls_ = 0;
    unsigned droppedKeys_ = 0;
    bool boxOpen_ = false;
    BoxEventHandler boxHandler_ = nullptr;  // of the innermost open box
    std::size_t openBox_ = 0;               // its index in boxes_
    bool failWindowCreation_ = false;
};

}  // namespace platform
