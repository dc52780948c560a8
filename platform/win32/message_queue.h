#pragma once
// The thread's message queue. Messages posted by the program (WM_CHAR from TranslateMessage)
// are taken before input from the backend, and the quit message only when neither waits,
// in the order Windows keeps.

#include "platform/win32.h"

namespace platform {

// Drops the queued messages of a window that is being destroyed.
void discardMessagesFor(HWND window);

// The quit message has been posted and not yet taken.
bool quitPending();

void resetMessageQueue();

}  // namespace platform
