#pragma once
// Forgets every class, window and queued message of the Windows layer without calling any
// window procedure or the backend: a fresh start when a backend is swapped (tests).

namespace platform {

void resetWindowsLayer();

}  // namespace platform
