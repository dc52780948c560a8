#include "platform/timer.h"
#include "platform/win32.h"
#include "platform/win32/backend.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_table.h"

namespace {

// As Windows' box does with the messages of its thread: a close request is dispatched to the
// window at once (so its procedure may destroy it and post the quit), and the quit ends the box.
bool dispatchWhileBoxOpen(const platform::BackendEvent& event) {
    if (event.kind == platform::BackendEvent::CloseRequested) {
        if (HWND window = platform::windowOfNative(event.nativeWindow)) {
            const MSG close{window, WM_CLOSE, 0, 0, timeGetTime(), POINT{0, 0}};
            DispatchMessageA(&close);
        }
    }
    return platform::quitPending();
}

}  // namespace

int MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT type) {
    platform::Backend* backend = platform::currentBackend();
    if (backend == nullptr) {
        return 0;  // no box could be shown: the failure value
    }
    // Windows shows a missing caption as "Error".
    return backend->messageBox(text ? text : "", caption ? caption : "Error", type, dispatchWhileBoxOpen);
}
