#include "platform/win32/backend.h"

namespace {
platform::Backend* installed = nullptr;
}

void platform::setBackend(Backend* backend) { installed = backend; }

platform::Backend* platform::currentBackend() { return installed; }
