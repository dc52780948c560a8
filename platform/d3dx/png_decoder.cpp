// PNG through libpng's simplified API, which keeps its longjmp to itself.

#include <png.h>

#include <cstring>
#include <utility>

#include "platform/d3dx/image.h"

namespace platform::d3dx {

bool looksLikePng(const unsigned char* data, std::size_t size) {
    return size >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

bool decodePng(const unsigned char* data, std::size_t size, Image& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size)) {
        png_image_free(&png);
        return false;
    }
    if (png.width == 0 || png.height == 0 || png.width > kMaxImageSide || png.height > kMaxImageSide) {
        png_image_free(&png);
        return false;
    }
    // 16-bit files without gamma information are taken as the same encoding as 8-bit ones
    // (libpng would take them for linear light and brighten them).
    png.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    png.format = PNG_FORMAT_BGRA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(png));
    const bool finished = png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr) != 0;
    png_image_free(&png);  // finish_read has usually freed it already; a second free is a no-op
    if (!finished) {
        return false;
    }
    image.width = png.width;
    image.height = png.height;
    image.bgra = std::move(pixels);
    return true;
}

}  // namespace platform::d3dx
