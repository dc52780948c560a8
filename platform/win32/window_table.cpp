#include "platform/win32/window_table.h"

#include <map>

#include "platform/win32/backend.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_classes.h"

namespace {

struct Window {
    std::string className;
    WNDPROC procedure;
    void* native;
    bool visible;
    bool destroying;
};

std::map<HWND, Window> windows;

// Handles are numbers, never reused, so a stale handle finds nothing instead of another window.
constexpr std::uintptr_t firstHandle = 0x00010020;
std::uintptr_t nextHandle = firstHandle;

Window* find(HWND window) {
    auto it = windows.find(window);
    return it == windows.end() ? nullptr : &it->second;
}

}  // namespace

WNDPROC platform::procedureOf(HWND window) {
    Window* w = find(window);
    return w ? w->procedure : nullptr;
}

HWND platform::windowOfNative(const void* nativeWindow) {
    if (nativeWindow == nullptr) {
        return nullptr;
    }
    for (const auto& [handle, w] : windows) {
        if (w.native == nativeWindow) {
            return handle;
        }
    }
    return nullptr;
}

bool platform::classHasWindows(const std::string& className) {
    for (const auto& entry : windows) {
        if (entry.second.className == className) {
            return true;
        }
    }
    return false;
}

void platform::resetWindowTable() {
    windows.clear();
    nextHandle = firstHandle;
}

void* platform::nativeWindowOf(HWND window) {
    Window* w = find(window);
    return w ? w->native : nullptr;
}

HWND CreateWindowExA(DWORD /*exStyle*/, LPCSTR className, LPCSTR windowName, DWORD /*style*/, int x,
                     int y, int width, int height, HWND /*parent*/, HMENU /*menu*/,
                     HINSTANCE /*instance*/, void* /*param*/) {
    const platform::WindowClass* windowClass = platform::findWindowClass(className);
    platform::Backend* backend = platform::currentBackend();
    if (windowClass == nullptr || backend == nullptr) {
        return nullptr;
    }
    void* native = backend->createWindow(windowName ? windowName : "", x, y, width, height);
    if (native == nullptr) {
        return nullptr;
    }
    HWND handle = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 4;
    WNDPROC procedure = windowClass->procedure;
    windows[handle] = Window{windowClass->name, procedure, native, false, false};

    // There is no creation record here, so lParam is 0. -1 refuses the window, as on Windows.
    if (procedure(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL ShowWindow(HWND window, int showCommand) {
    Window* w = find(window);
    if (w == nullptr) {
        return FALSE;
    }
    BOOL wasVisible = w->visible ? TRUE : FALSE;
    // The backend cannot hide a window again; SW_HIDE only changes what we report.
    w->visible = showCommand != SW_HIDE;
    if (w->visible && !wasVisible) {
        if (platform::Backend* backend = platform::currentBackend()) {
            backend->showWindow(w->native);
        }
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND window) {
    // Nothing is painted outside the game's own frames, so there is nothing to update.
    return find(window) ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND window) {
    Window* w = find(window);
    if (w == nullptr || w->destroying) {
        return FALSE;  // not a window, or already on its way out (WM_DESTROY calling back)
    }
    w->destroying = true;
    WNDPROC procedure = w->procedure;
    procedure(window, WM_DESTROY, 0, 0);

    // The procedure may have changed the table; look again.
    w = find(window);
    if (w == nullptr) {
        return TRUE;
    }
    void* native = w->native;
    windows.erase(window);
    platform::discardMessagesFor(window);
    if (platform::Backend* backend = platform::currentBackend()) {
        backend->destroyWindow(native);
    }
    return TRUE;
}
