#pragma once
// A shown 300 × 300 window of our Windows layer over SDL, with an OpenGL device on it made the
// way the game makes its device. Shared by the display tests and the benchmark.

#include <SDL.h>

#include <memory>
#include <string>

#include "platform/d3d9.h"
#include "platform/gl/gl_direct3d.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/win32.h"

namespace d3d9_gl {

inline LRESULT CALLBACK plainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class DeviceWindow {
public:
    DeviceWindow() = default;
    DeviceWindow(const DeviceWindow&) = delete;
    DeviceWindow& operator=(const DeviceWindow&) = delete;

    // Empty when the window and device are made, else what failed.
    std::string open() {
        std::string error;
        // Xvfb started without -noreset restarts itself when its last client leaves, and refuses
        // connections for that moment: a test that follows another closely may knock on it.
        for (int attempt = 0; attempt < 20 && backend_ == nullptr; ++attempt) {
            if (attempt > 0) SDL_Delay(50);
            backend_ = platform::SdlBackend::open(error);
        }
        if (backend_ == nullptr) return "no display: " + error;
        platform::setBackend(backend_.get());
        WNDCLASSEXA record{};
        record.cbSize = sizeof record;
        record.style = CS_CLASSDC;
        record.lpfnWndProc = plainProcedure;
        record.hInstance = GetModuleHandleA(nullptr);
        record.lpszClassName = kClass;
        if (RegisterClassExA(&record) == 0) return "RegisterClassExA failed";
        window = CreateWindowExA(0, kClass, "device test", WS_OVERLAPPEDWINDOW, 100, 100, 300, 300,
                                 GetDesktopWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
        if (window == nullptr) return "CreateWindowExA failed";
        ShowWindow(window, SW_SHOWDEFAULT);
        UpdateWindow(window);
        direct3d = platform::createGLDirect3D(D3D_SDK_VERSION);
        parameters = D3DPRESENT_PARAMETERS{};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.BackBufferFormat = D3DFMT_UNKNOWN;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D16;
        const HRESULT result = direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
        if (FAILED(result)) return "CreateDevice failed: " + std::to_string(result);
        return {};
    }

    ~DeviceWindow() {
        if (device != nullptr) device->Release();
        if (direct3d != nullptr) direct3d->Release();
        if (window != nullptr) DestroyWindow(window);
        UnregisterClassA(kClass, GetModuleHandleA(nullptr));
        platform::setBackend(nullptr);
    }

    HWND window = nullptr;
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS parameters{};

private:
    static constexpr const char* kClass = "DeviceTest";
    std::unique_ptr<platform::SdlBackend> backend_;
};

}  // namespace d3d9_gl
