// JPEG through libjpeg. Its errors leave by longjmp; each stage that can raise one arms the
// jump in a frame of its own that holds nothing with a destructor, so the jump skips no C++
// cleanup, and the pixel memory lives in the caller's frame.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "platform/d3dx/image.h"

namespace platform::d3dx {
namespace {

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leaveOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void stayQuiet(j_common_ptr) {}

bool readHeader(jpeg_decompress_struct& info, JpegError& error, const unsigned char* data, std::size_t size) {
    if (setjmp(error.jump)) {
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_GRAYSCALE) {
        info.out_color_space = JCS_GRAYSCALE;
    } else if (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB) {
        info.out_color_space = JCS_RGB;
    } else {
        return false;
    }
    jpeg_calc_output_dimensions(&info);
    return true;
}

bool readRows(jpeg_decompress_struct& info, JpegError& error, unsigned char* pixels, std::size_t rowBytes) {
    if (setjmp(error.jump)) {
        return false;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + info.output_scanline * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

bool looksLikeJpeg(const unsigned char* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool decodeJpeg(const unsigned char* data, std::size_t size, Image& image) {
    JpegError error{};
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = leaveOnError;
    error.manager.output_message = stayQuiet;

    bool decoded = readHeader(info, error, data, size);
    const UINT width = decoded ? info.output_width : 0;
    const UINT height = decoded ? info.output_height : 0;
    const int components = decoded ? info.output_components : 0;
    decoded = decoded && width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
              (components == 1 || components == 3);

    std::vector<unsigned char> samples;
    if (decoded) {
        const std::size_t rowBytes = static_cast<std::size_t>(width) * components;
        samples.resize(rowBytes * height);
        // libjpeg only warns about truncated or corrupt data and makes up the rest; that is
        // still a broken file.
        decoded = readRows(info, error, samples.data(), rowBytes) && error.manager.num_warnings == 0;
    }
    jpeg_destroy_decompress(&info);
    if (!decoded) {
        return false;
    }

    std::vector<unsigned char> bgra(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t pixel = 0; pixel < static_cast<std::size_t>(width) * height; ++pixel) {
        const unsigned char* in = &samples[pixel * components];
        unsigned char* out = &bgra[pixel * 4];
        out[0] = in[components == 3 ? 2 : 0];
        out[1] = in[components == 3 ? 1 : 0];
        out[2] = in[0];
        out[3] = 0xFF;
    }
    image.width = width;
    image.height = height;
    image.bgra = std::move(bgra);
    return true;
}

}  // namespace platform::d3dx
