#pragma once
// The live windows: each handle maps to its class's procedure and the backend's window.

#include <string>

#include "platform/win32.h"

namespace platform {

// Null for a handle that is not (or no longer) a window.
WNDPROC procedureOf(HWND window);
// The handle of the window the backend knows as nativeWindow; null if none.
HWND windowOfNative(const void* nativeWindow);
bool classHasWindows(const std::string& className);

void resetWindowTable();

}  // namespace platform
