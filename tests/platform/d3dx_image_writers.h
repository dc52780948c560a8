#pragma once
// Small PNG and JPEG files made in memory by libpng and libjpeg, for the texture loader tests.

#include <csetjmp>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace d3dxtest {

struct PngSpec {
    PngSpec(unsigned width, unsigned height, int colorType, int bitDepth, bool interlaced,
            std::vector<unsigned char> rows, std::vector<png_color> palette = {},
            std::vector<png_byte> transparency = {})
        : width(width), height(height), colorType(colorType), bitDepth(bitDepth), interlaced(interlaced),
          rows(std::move(rows)), palette(std::move(palette)), transparency(std::move(transparency)) {}

    unsigned width, height;
    int colorType;
    int bitDepth;
    bool interlaced;
    std::vector<unsigned char> rows;  // the raw rows as PNG stores them, packed, big-endian
    std::vector<png_color> palette;
    std::vector<png_byte> transparency;  // tRNS for a palette
};

namespace detail {
inline void appendPng(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}
inline void flushPng(png_structp) {}

// Only trivially destructible locals here: libpng's errors land on the setjmp.
inline bool writePng(const PngSpec& spec, std::string* out, png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, appendPng, flushPng);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty()) png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.transparency.empty())
        png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()), nullptr);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    const size_t rowBytes = spec.rows.size() / spec.height;
    for (int pass = 0; pass < passes; ++pass) {
        for (unsigned row = 0; row < spec.height; ++row) {
            png_write_row(png, spec.rows.data() + row * rowBytes);
        }
    }
    png_write_end(png, info);
    return true;
}
}  // namespace detail

inline std::string pngFile(const PngSpec& spec) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool written = detail::writePng(spec, &out, png, info);
    png_destroy_write_struct(&png, &info);
    return written ? out : std::string();
}

// A baseline JPEG of the given samples (1 component: grey, 3: RGB, 4: CMYK), top row first.
inline std::string jpegFile(unsigned width, unsigned height, int components, const std::vector<unsigned char>& samples,
                            int quality = 100) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < height) {
        JSAMPROW row = const_cast<unsigned char*>(samples.data()) + info.next_scanline * width * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

}  // namespace d3dxtest
