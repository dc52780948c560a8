// Handles that stand for things the game never looks inside: its own module and the desktop.

#include "platform/win32.h"

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    // Only the program itself is a module here; the value is the classic image base.
    if (moduleName != nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x00400000));
}

HWND GetDesktopWindow() {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x00010010));
}
