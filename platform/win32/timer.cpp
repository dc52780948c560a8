#include "platform/timer.h"

#include "platform/win32/backend.h"

DWORD timeGetTime() {
    platform::Backend* backend = platform::currentBackend();
    return backend ? backend->milliseconds() : 0;
}
