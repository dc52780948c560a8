#pragma once
// The registered window classes, looked up by name (without regard to letter case, as
// Windows does).

#include <string>

#include "platform/win32.h"

namespace platform {

struct WindowClass {
    std::string name;
    WNDPROC procedure;
    HINSTANCE instance;
    ATOM atom;
};

// Null when no class of that name is registered. The pointer lasts until the next
// registration or removal.
const WindowClass* findWindowClass(const char* name);

void resetWindowClasses();

}  // namespace platform
