#pragma once
// The multimedia timer: milliseconds as an unsigned 32-bit count that wraps at 2^32.

#include "platform/win32.h"

DWORD timeGetTime();
