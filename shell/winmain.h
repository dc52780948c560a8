#pragma once
// The game window's procedure; WinMain itself is declared in platform/win32.h.

#include "platform/win32.h"

// Releases the device when the window is destroyed and ends the loop; the rest goes to
// DefWindowProcA.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
