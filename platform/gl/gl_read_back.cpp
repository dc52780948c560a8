#include "platform/gl/gl_read_back.h"

#include <cstdint>

#include "platform/gl/gl_device.h"

namespace platform {

std::vector<D3DCOLOR> readBackBuffer(IDirect3DDevice9* device, int& width, int& height) {
    width = height = 0;
    auto* ours = dynamic_cast<GLDevice*>(device);
    if (ours == nullptr || !ours->context().makeCurrent()) return {};
    width = ours->width();
    height = ours->height();
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
    std::vector<D3DCOLOR> argb(bgra.size() / 4);
    for (int y = 0; y < height; ++y) {
        // GL's rows run from the bottom.
        const std::uint8_t* row = bgra.data() + static_cast<std::size_t>(height - 1 - y) * width * 4;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + static_cast<std::size_t>(x) * 4;
            argb[static_cast<std::size_t>(y) * width + x] =
                D3DCOLOR{p[0]} | D3DCOLOR{p[1]} << 8 | D3DCOLOR{p[2]} << 16 | D3DCOLOR{p[3]} << 24;
        }
    }
    return argb;
}

}  // namespace platform
