// The program's entry: the window, the device, then the loop until quit.

#include "platform/win32.h"
#include "shell/device.h"
#include "shell/main_loop.h"
#include "shell/messages.h"
#include "shell/winmain.h"

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ReleaseDevice();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const HMODULE module = GetModuleHandleA(nullptr);

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = messages::windowClass;
    RegisterClassExA(&windowClass);

    const HWND window = CreateWindowExA(0, messages::windowClass, messages::windowTitle, WS_OVERLAPPEDWINDOW,
                                        100, 100, 300, 300, GetDesktopWindow(), nullptr, module, nullptr);

    int exitCode = 0;
    const HRESULT started = StartDevice(window);
    if (started == E_NO_LEVELS) {
        exitCode = 1;  // the cause is already on stderr
    } else if (SUCCEEDED(started) && SUCCEEDED(BuildCylinder())) {
        ShowWindow(window, SW_SHOWDEFAULT);
        UpdateWindow(window);
        MSG msg{};
        RunMainLoop(msg);
    }

    UnregisterClassA(messages::windowClass, module);
    return exitCode;
}
