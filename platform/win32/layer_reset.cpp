#include "platform/win32/layer_reset.h"

#include "platform/win32/message_queue.h"
#include "platform/win32/window_classes.h"
#include "platform/win32/window_table.h"

void platform::resetWindowsLayer() {
    resetMessageQueue();
    resetWindowTable();
    resetWindowClasses();
}
