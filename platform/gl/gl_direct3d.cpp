#include "platform/gl/gl_direct3d.h"

#include "platform/gl/gl_device.h"
#include "platform/win32/backend.h"

namespace platform {

namespace {

constexpr UINT kPresentIntervalImmediate = 0x80000000u;  // D3DPRESENT_INTERVAL_IMMEDIATE

class GLDirect3D final : public RefCounted<IDirect3D9> {
public:
    HRESULT CreateDevice(UINT, D3DDEVTYPE, HWND focusWindow, DWORD, D3DPRESENT_PARAMETERS* parameters,
                         IDirect3DDevice9** returnedDevice) override {
        if (returnedDevice == nullptr || parameters == nullptr) return D3DERR_INVALIDCALL;
        *returnedDevice = nullptr;
        if (!parameters->Windowed) return D3DERR_NOTAVAILABLE;
        HWND window = parameters->hDeviceWindow != nullptr ? parameters->hDeviceWindow : focusWindow;
        auto* sdlWindow = static_cast<SDL_Window*>(nativeWindowOf(window));
        if (sdlWindow == nullptr) return D3DERR_INVALIDCALL;
        std::shared_ptr<GLContext> context = GLContext::create(sdlWindow);
        if (context == nullptr) return D3DERR_NOTAVAILABLE;
        // The default interval waits for the display's refresh, where the driver can.
        SDL_GL_SetSwapInterval(parameters->PresentationInterval == kPresentIntervalImmediate ? 0 : 1);
        // A windowed back buffer is the client area, whatever size was asked; say which.
        int width = 0;
        int height = 0;
        SDL_GL_GetDrawableSize(sdlWindow, &width, &height);
        parameters->BackBufferWidth = static_cast<UINT>(width);
        parameters->BackBufferHeight = static_cast<UINT>(height);
        *returnedDevice = new GLDevice(std::move(context), width, height, parameters->EnableAutoDepthStencil != FALSE);
        return S_OK;
    }
};

}  // namespace

IDirect3D9* createGLDirect3D(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    return new GLDirect3D();
}

}  // namespace platform
