#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>

#include "d3dx_image_writers.h"
#include "d3dx_test_support.h"
#include "platform/d3dx9.h"

namespace {

struct TextureTest : ::testing::Test {
    platform::Recording& rec = platform::installRecordingDirect3D();
    platform::RecordingDevice* device = platform::createRecordingDevice();
    d3dxtest::ScratchDir dir;

    // Loads `bytes` as a file; the texture on success, null (and no texture left) on failure.
    platform::RecordingTexture* load(const std::string& bytes, HRESULT* result = nullptr) {
        const std::string file = dir.write("image", bytes);
        IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
        const HRESULT hr = D3DXCreateTextureFromFileA(device, file.c_str(), &texture);
        if (result) *result = hr;
        if (FAILED(hr)) {
            EXPECT_EQ(texture, nullptr);
            EXPECT_TRUE(d3dxtest::allReleased(rec));
            return nullptr;
        }
        EXPECT_EQ(rec.textures().size(), 1u);
        return rec.textures().back();
    }
};

std::vector<unsigned char> bytes(std::initializer_list<int> values) {
    return std::vector<unsigned char>(values.begin(), values.end());
}

// Rebuilds the CRC of the chunk whose data starts at `dataAt` with `length` bytes.
void fixCrc(std::string& png, size_t dataAt, size_t length) {
    const auto* start = reinterpret_cast<const Bytef*>(png.data() + dataAt - 4);
    const uLong crc = crc32(0L, start, static_cast<uInt>(length + 4));
    for (int i = 0; i < 4; ++i) png[dataAt + length + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
}

TEST_F(TextureTest, EveryPngKindBecomesBgraRowsTopFirst) {
    struct Case {
        const char* what;
        d3dxtest::PngSpec spec;
        std::vector<D3DCOLOR> texels;  // ARGB, row by row
        int tolerance;
    };
    const Case cases[] = {
        {"rgba 8", {2, 2, PNG_COLOR_TYPE_RGBA, 8, false, bytes({255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 1, 2, 3, 4})},
         {0xFFFF0000, 0x8000FF00, 0x000000FF, 0x04010203}, 0},
        {"rgb 8", {2, 1, PNG_COLOR_TYPE_RGB, 8, false, bytes({10, 20, 30, 40, 50, 60})}, {0xFF0A141E, 0xFF28323C}, 0},
        {"grey 8", {1, 2, PNG_COLOR_TYPE_GRAY, 8, false, bytes({7, 250})}, {0xFF070707, 0xFFFAFAFA}, 0},
        {"grey alpha 8", {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, bytes({100, 255, 200, 0})}, {0xFF646464, 0x00C8C8C8}, 0},
        {"grey 1", {3, 1, PNG_COLOR_TYPE_GRAY, 1, false, bytes({0xA0})}, {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}, 0},
        {"palette 2 with transparency",
         {3, 1, PNG_COLOR_TYPE_PALETTE, 2, false, bytes({0x18}), {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {255, 0}},
         {0xFFFF0000, 0x0000FF00, 0xFF0000FF}, 0},
        {"rgb 16", {1, 1, PNG_COLOR_TYPE_RGB, 16, false, bytes({0xFF, 0xFF, 0x80, 0x80, 0x00, 0x00})}, {0xFFFF8000}, 1},
        {"grey alpha 16", {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, bytes({0x40, 0x40, 0xFF, 0xFF})}, {0xFF404040}, 1},
        {"interlaced", {3, 3, PNG_COLOR_TYPE_GRAY, 8, true, bytes({1, 2, 3, 4, 5, 6, 7, 8, 9})},
         {0xFF010101, 0xFF020202, 0xFF030303, 0xFF040404, 0xFF050505, 0xFF060606, 0xFF070707, 0xFF080808, 0xFF090909}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rec.reset();
        const std::string png = d3dxtest::pngFile(c.spec);
        ASSERT_FALSE(png.empty());
        platform::RecordingTexture* texture = load(png);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->width, c.spec.width);
        EXPECT_EQ(texture->height, c.spec.height);
        EXPECT_EQ(texture->levels, 1u);
        EXPECT_EQ(texture->format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(texture->pool, D3DPOOL_MANAGED);
        EXPECT_FALSE(texture->locked());
        for (unsigned i = 0; i < c.texels.size(); ++i) {
            const D3DCOLOR got = texture->texel(i % c.spec.width, i / c.spec.width);
            for (int shift = 0; shift < 32; shift += 8) {
                const int want = (c.texels[i] >> shift) & 0xFF, have = (got >> shift) & 0xFF;
                EXPECT_LE(std::abs(want - have), c.tolerance) << "texel " << i << " got " << std::hex << got;
            }
        }
    }
}

TEST_F(TextureTest, JpegGreyAndColourDecodeTopRowFirst) {
    std::vector<unsigned char> grey(16 * 16), rgb(16 * 16 * 3);
    for (unsigned y = 0; y < 16; ++y) {
        for (unsigned x = 0; x < 16; ++x) {
            grey[y * 16 + x] = x < 8 ? 50 : 200;
            unsigned char* pixel = &rgb[(y * 16 + x) * 3];
            pixel[0] = y < 8 ? 255 : 0;  // red on top, blue below
            pixel[2] = y < 8 ? 0 : 255;
        }
    }
    struct Probe {
        unsigned x, y;
        D3DCOLOR argb;
    };
    struct Case {
        const char* what;
        std::string file;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"grey", d3dxtest::jpegFile(16, 16, 1, grey), {{2, 8, 0xFF323232}, {13, 3, 0xFFC8C8C8}}},
        {"rgb", d3dxtest::jpegFile(16, 16, 3, rgb), {{3, 2, 0xFFFF0000}, {12, 13, 0xFF0000FF}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rec.reset();
        platform::RecordingTexture* texture = load(c.file);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->width, 16u);
        EXPECT_EQ(texture->height, 16u);
        for (const Probe& probe : c.probes) {
            const D3DCOLOR got = texture->texel(probe.x, probe.y);
            for (int shift = 0; shift < 32; shift += 8) {
                EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((probe.argb >> shift) & 0xFF), 6)
                    << std::hex << got << " at " << std::dec << probe.x << ", " << probe.y;
            }
        }
    }
}

TEST_F(TextureTest, BrokenTruncatedAndOversizedImagesFailWithNoTextureLeft) {
    const std::string png = d3dxtest::pngFile({4, 4, PNG_COLOR_TYPE_RGB, 8, false, std::vector<unsigned char>(48, 99)});
    std::vector<unsigned char> samples(32 * 32 * 3, 128);
    const std::string jpeg = d3dxtest::jpegFile(32, 32, 3, samples, 90);

    std::vector<std::pair<std::string, std::string>> files = {
        {"empty", ""},
        {"text", "not an image at all"},
        {"png signature only", png.substr(0, 8)},
        {"jpeg start only", jpeg.substr(0, 3)},
        {"cmyk jpeg", d3dxtest::jpegFile(8, 8, 4, std::vector<unsigned char>(8 * 8 * 4, 10))},
    };
    for (size_t cut = 9; cut < png.size() - 12; cut += 5) {  // the IEND chunk is the last 12 bytes
        files.push_back({"png cut at " + std::to_string(cut), png.substr(0, cut)});
    }
    for (size_t cut = 4; cut < jpeg.size() - 2; cut += jpeg.size() / 23) {
        files.push_back({"jpeg cut at " + std::to_string(cut), jpeg.substr(0, cut)});
    }
    std::string badCrc = png;
    badCrc[png.find("IDAT") + 6] ^= 0x55;
    files.push_back({"png with damaged image data", badCrc});

    // IHDR data begins at byte 16: width, then height, big-endian.
    std::string huge = png;
    huge.replace(16, 8, std::string("\x00\x01\x86\xA0\x00\x01\x86\xA0", 8));  // 100000 × 100000
    fixCrc(huge, 16, 13);
    files.push_back({"png of 100000 x 100000", huge});
    std::string wide = jpeg;
    const size_t sof = wide.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    wide.replace(sof + 5, 4, std::string("\xFF\x00\xFF\x00", 4));  // 65280 × 65280
    files.push_back({"jpeg of 65280 x 65280", wide});

    // Well-formed, but wider than a texture may be.
    files.push_back({"png 8193 wide", d3dxtest::pngFile({8193, 1, PNG_COLOR_TYPE_GRAY, 8, false,
                                                         std::vector<unsigned char>(8193, 1)})});
    files.push_back({"jpeg 8200 wide", d3dxtest::jpegFile(8200, 8, 1, std::vector<unsigned char>(8200 * 8, 1), 50)});

    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        rec.reset();
        HRESULT result = S_OK;
        EXPECT_EQ(load(bytes, &result), nullptr);
        EXPECT_EQ(result, D3DXERR_INVALIDDATA);
        EXPECT_EQ(rec.count("CreateTexture"), 0u);
    }
}

TEST_F(TextureTest, MissingNamesFilesAndDeviceFailures) {
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, nullptr, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(D3DXCreateTextureFromFileA(nullptr, "x.png", &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, "x.png", nullptr), D3DERR_INVALIDCALL);
    texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, dir.path("missing.png").c_str(), &texture), E_FAIL);
    EXPECT_EQ(texture, nullptr);

    const std::string png = d3dxtest::pngFile({1, 1, PNG_COLOR_TYPE_GRAY, 8, false, bytes({1})});
    for (const char* call : {"CreateTexture", "Texture.LockRect"}) {
        SCOPED_TRACE(call);
        rec.reset();
        rec.failCall(call, D3DERR_OUTOFVIDEOMEMORY);
        HRESULT result = S_OK;
        EXPECT_EQ(load(png, &result), nullptr);
        EXPECT_EQ(result, D3DERR_OUTOFVIDEOMEMORY);
    }
    EXPECT_TRUE(rec.misuses().empty());
}

TEST_F(TextureTest, TheGamesTilesLoad) {
    for (const char* name : {"cubeb.png", "cuben.png", "cubepurple.png"}) {
        SCOPED_TRACE(name);
        const std::string file = std::string(QUORVEL_SOURCE_DIR) + "/game/texture/" + name;
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(D3DXCreateTextureFromFileA(device, file.c_str(), &texture), S_OK);
        EXPECT_NE(texture, nullptr);
    }
}

}  // namespace
