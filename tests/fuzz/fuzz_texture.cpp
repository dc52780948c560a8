// Fuzzes D3DXCreateTextureFromFileA (PNG and JPEG) over the recording device.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_files.h"
#include "fuzz_recording.h"
#include "platform/d3d9/texture_limits.h"
#include "platform/d3dx9.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enterScratchDirectory();
    fuzz::installRecording();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::writeFile("texture", data, size);
    platform::RecordingDevice* device = platform::createRecordingDevice();

    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
    const HRESULT result = D3DXCreateTextureFromFileA(device, "texture", &texture);
    if (FAILED(result)) {
        if (texture != nullptr) {
            std::fprintf(stderr, "D3DXCreateTextureFromFileA: a failed load left a texture\n");
            std::abort();
        }
    } else {
        const auto* made = static_cast<platform::RecordingTexture*>(texture);
        if (made->width == 0 || made->height == 0 || made->width > platform::kMaxTextureSide ||
            made->height > platform::kMaxTextureSide || made->locked()) {
            std::fprintf(stderr, "D3DXCreateTextureFromFileA: a %ux%u texture\n", made->width, made->height);
            std::abort();
        }
        texture->Release();
    }
    fuzz::endInput(device);
    return 0;
}
