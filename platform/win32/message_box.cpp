#include "platform/win32.h"
#include "platform/win32/backend.h"

int MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT type) {
    platform::Backend* backend = platform::currentBackend();
    if (backend == nullptr) {
        return 0;  // no box could be shown: the failure value
    }
    // Windows shows a missing caption as "Error".
    return backend->messageBox(text ? text : "", caption ? caption : "Error", type);
}
