#include "platform/win32/message_queue.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "platform/win32/backend.h"
#include "platform/win32/key_characters.h"
#include "platform/win32/window_table.h"

namespace {

std::deque<MSG> posted;  // by the program itself
std::deque<MSG> input;   // from the backend
bool quitPosted = false;
int quitCode = 0;

// Key message lParam: repeat count 1; bit 30 = the key was already down; bit 31 = released.
constexpr LPARAM repeatCountOne = 1;
constexpr LPARAM wasDownBit = LPARAM{1} << 30;
constexpr LPARAM releasedBit = LPARAM{1} << 31;

DWORD now() {
    platform::Backend* backend = platform::currentBackend();
    return backend ? backend->milliseconds() : 0;
}

MSG message(HWND window, UINT id, WPARAM wParam, LPARAM lParam, DWORD time) {
    return MSG{window, id, wParam, lParam, time, POINT{0, 0}};
}

void pollBackend() {
    platform::Backend* backend = platform::currentBackend();
    if (backend == nullptr) {
        return;
    }
    std::vector<platform::BackendEvent> events;
    backend->pollEvents(events);
    if (events.empty()) {
        return;
    }
    DWORD time = backend->milliseconds();
    for (const platform::BackendEvent& event : events) {
        HWND window = platform::windowOfNative(event.nativeWindow);
        if (window == nullptr) {
            continue;  // for a window that is gone, or none of ours
        }
        switch (event.kind) {
        case platform::BackendEvent::KeyDown:
            input.push_back(message(window, WM_KEYDOWN, event.virtualKey,
                                    repeatCountOne | (event.repeat ? wasDownBit : 0), time));
            break;
        case platform::BackendEvent::KeyUp:
            input.push_back(message(window, WM_KEYUP, event.virtualKey,
                                    repeatCountOne | wasDownBit | releasedBit, time));
            break;
        case platform::BackendEvent::CloseRequested:
            input.push_back(message(window, WM_CLOSE, 0, 0, time));
            break;
        }
    }
}

// 0 to 0 is every message.
bool inRange(UINT id, UINT filterMin, UINT filterMax) {
    return (filterMin == 0 && filterMax == 0) || (id >= filterMin && id <= filterMax);
}

bool matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
    return (window == nullptr || msg.hwnd == window) && inRange(msg.message, filterMin, filterMax);
}

bool take(std::deque<MSG>& queue, MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove) {
    auto it = std::find_if(queue.begin(), queue.end(),
                           [&](const MSG& m) { return matches(m, window, filterMin, filterMax); });
    if (it == queue.end()) {
        return false;
    }
    *out = *it;
    if (remove) {
        queue.erase(it);
    }
    return true;
}

}  // namespace

void platform::discardMessagesFor(HWND window) {
    auto forWindow = [window](const MSG& m) { return m.hwnd == window; };
    posted.erase(std::remove_if(posted.begin(), posted.end(), forWindow), posted.end());
    input.erase(std::remove_if(input.begin(), input.end(), forWindow), input.end());
}

bool platform::quitPending() { return quitPosted; }

void platform::resetMessageQueue() {
    posted.clear();
    input.clear();
    quitPosted = false;
    quitCode = 0;
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (msg == nullptr) {
        return FALSE;
    }
    pollBackend();
    bool remove = (removeFlags & PM_REMOVE) != 0;
    if (take(posted, msg, window, filterMin, filterMax, remove) ||
        take(input, msg, window, filterMin, filterMax, remove)) {
        return TRUE;
    }
    // The quit message belongs to no window, so a window filter never sees it.
    if (quitPosted && window == nullptr && inRange(WM_QUIT, filterMin, filterMax)) {
        *msg = message(nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0, now());
        if (remove) {
            quitPosted = false;
        }
        return TRUE;
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP)) {
        return FALSE;
    }
    WPARAM character = 0;
    if (msg->message == WM_KEYDOWN && platform::characterOfKey(msg->wParam, character)) {
        posted.push_back(message(msg->hwnd, WM_CHAR, character, msg->lParam, now()));
    }
    // Windows answers non-zero for every key message, whether or not it typed a character.
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) {
        return 0;  // thread messages such as WM_QUIT have no procedure to go to
    }
    WNDPROC procedure = platform::procedureOf(msg->hwnd);
    return procedure ? procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
    }
    return 0;
}

void PostQuitMessage(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}
