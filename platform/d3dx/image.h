#pragma once
// A decoded picture, ready for an A8R8G8B8 texture.

#include <cstddef>
#include <vector>

#include "platform/d3d9/texture_limits.h"

namespace platform::d3dx {

// Wider or taller pictures than a texture can be are refused before any pixel memory is taken.
constexpr UINT kMaxImageSide = kMaxTextureSide;

struct Image {
    UINT width = 0;
    UINT height = 0;
    std::vector<unsigned char> bgra;  // B, G, R, A per pixel, rows top first, no padding
};

// Signature tests on the first bytes of a file.
bool looksLikePng(const unsigned char* data, std::size_t size);
bool looksLikeJpeg(const unsigned char* data, std::size_t size);

// Every PNG colour type and bit depth. False, with `image` untouched, for a broken or
// truncated file or a picture larger than kMaxImageSide.
bool decodePng(const unsigned char* data, std::size_t size, Image& image);

// Greyscale or colour (YCbCr or RGB) JPEG. False, with `image` untouched, for a broken or
// truncated file (corrupt data that libjpeg would only warn about included), CMYK, or a
// picture larger than kMaxImageSide.
bool decodeJpeg(const unsigned char* data, std::size_t size, Image& image);

}  // namespace platform::d3dx
