#pragma once
// A window class whose procedure records what it receives and behaves like the game's:
// WM_DESTROY posts the quit message, everything else goes to DefWindowProcA.

#include <vector>

#include "platform/win32.h"
#include "platform/win32/scripted_backend.h"

namespace win32_test {

struct Call {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<Call>& calls() {
    static std::vector<Call> recorded;
    return recorded;
}

inline LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    calls().push_back({window, message, wParam, lParam});
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

inline WNDCLASSEXA classRecord(const char* name, WNDPROC procedure = recordingProcedure) {
    WNDCLASSEXA record{};
    record.cbSize = sizeof(WNDCLASSEXA);
    record.style = CS_CLASSDC;
    record.lpfnWndProc = procedure;
    record.hInstance = GetModuleHandleA(nullptr);
    record.lpszClassName = name;
    return record;
}

inline HWND createWindow(const char* className, const char* title = "Test") {
    return CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 100, 100, 300, 300,
                           GetDesktopWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The calls seen so far with the given message.
inline std::vector<Call> callsOf(UINT message) {
    std::vector<Call> out;
    for (const Call& c : calls()) {
        if (c.message == message) {
            out.push_back(c);
        }
    }
    return out;
}

// A scripted backend with one registered class and one shown window.
class WindowTest {
protected:
    WindowTest() {
        calls().clear();
        WNDCLASSEXA record = classRecord("Quorvel");
        RegisterClassExA(&record);
        window = createWindow("Quorvel");
        ShowWindow(window, SW_SHOWDEFAULT);
        calls().clear();
    }

    platform::ScriptedBackend backend;
    HWND window = nullptr;
};

}  // namespace win32_test
