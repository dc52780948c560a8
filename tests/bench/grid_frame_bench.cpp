// How long one frame of a 64 × 64 grid of boxes takes on the OpenGL device, drawn the way the
// game draws its grid: per box a texture change, a world transform and one box draw. Not a
// test; run it under Xvfb:  xvfb-run -a -s "-screen 0 1024x768x24" build/tests/grid_frame_bench

#include <chrono>
#include <cstdio>
#include <cstring>

#include "gl/d3d9_gl_window.h"
#include "platform/d3dx9.h"

namespace {

constexpr int kRows = 64;
constexpr int kColumns = 64;
constexpr int kWarmUpFrames = 20;
constexpr int kFrames = 300;

IDirect3DTexture9* plainTexture(IDirect3DDevice9* device, D3DCOLOR colour) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(device->CreateTexture(32, 32, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr))) {
        return nullptr;
    }
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(texture->LockRect(0, &locked, nullptr, 0))) {
        for (int y = 0; y < 32; ++y) {
            auto* row = static_cast<std::uint8_t*>(locked.pBits) + y * locked.Pitch;
            for (int x = 0; x < 32; ++x) std::memcpy(row + x * 4, &colour, 4);
        }
        texture->UnlockRect(0);
    }
    return texture;
}

void drawFrame(IDirect3DDevice9* device, ID3DXMesh* box, IDirect3DTexture9* const textures[3]) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    if (FAILED(device->BeginScene())) return;
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    device->SetTransform(D3DTS_WORLD, &world);
    const D3DXVECTOR3 ball(2.0f, 2.0f, 2.0f);
    const D3DXVECTOR3 eye(ball.x, ball.y + 2.0f, ball.z - 10.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &ball, &up);
    device->SetTransform(D3DTS_VIEW, &view);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            device->SetTexture(0, textures[(row + column) % 2]);
            D3DXMatrixTranslation(&world, static_cast<float>(row), static_cast<float>((row * column) % 3) * 0.5f,
                                  static_cast<float>(column));
            device->SetTransform(D3DTS_WORLD, &world);
            box->DrawSubset(0);
        }
    }
    device->SetTexture(0, textures[2]);
    D3DXMatrixTranslation(&world, 10.0f, 1.0f, 10.0f);
    device->SetTransform(D3DTS_WORLD, &world);
    box->DrawSubset(0);
    D3DXMatrixIdentity(&world);
    device->SetTransform(D3DTS_WORLD, &world);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 1.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

int main() {
    d3d9_gl::DeviceWindow window;
    const std::string error = window.open();
    if (!error.empty()) {
        std::fprintf(stderr, "grid_frame_bench: %s\n", error.c_str());
        return 1;
    }
    IDirect3DDevice9* device = window.device;
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    ID3DXMesh* box = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    if (FAILED(D3DXCreateBox(device, 1.0f, 1.0f, 1.0f, &box, &adjacency))) {
        std::fprintf(stderr, "grid_frame_bench: no box\n");
        return 1;
    }
    IDirect3DTexture9* const textures[3] = {plainTexture(device, 0xFFE0E0E0), plainTexture(device, 0xFF202020),
                                            plainTexture(device, 0xFF8000C0)};

    for (int i = 0; i < kWarmUpFrames; ++i) drawFrame(device, box, textures);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) drawFrame(device, box, textures);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double msPerFrame = seconds * 1000.0 / kFrames;
    std::printf("%d x %d boxes (%d draws a frame): %.3f ms per frame, %.0f frames per second over %d frames\n",
                kRows, kColumns, kRows * kColumns + 1, msPerFrame, 1000.0 / msPerFrame, kFrames);

    for (IDirect3DTexture9* texture : textures) {
        if (texture != nullptr) texture->Release();
    }
    adjacency->Release();
    box->Release();
    return 0;
}
