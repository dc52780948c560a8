// Writes the three tile textures of the game: the checkerboard pair and the purple of the goal
// marker and the ball. Run from the source tree: make_textures game/texture
//
// The window is only 300 × 300, so each picture is a few flat colours with a strong border:
// neighbouring boxes stay apart and the grain stays visible without turning into noise.

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 128;
constexpr int kBorder = 7;

struct Rgb {
    int r;
    int g;
    int b;
};

using Painter = Rgb (*)(int x, int y);

// A fixed hash, so the output is byte-identical from run to run.
int grain(int x, int y, int amplitude)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<int>(h % static_cast<std::uint32_t>(2 * amplitude + 1)) - amplitude;
}

Rgb shade(Rgb c, int delta) { return {c.r + delta, c.g + delta, c.b + delta}; }

int distanceToEdge(int x, int y)
{
    int d = x;
    if (y < d) d = y;
    if (kSize - 1 - x < d) d = kSize - 1 - x;
    if (kSize - 1 - y < d) d = kSize - 1 - y;
    return d;
}

// A bevelled slab: dark rim, a light line inside it, then the grained face.
Rgb slab(int x, int y, Rgb face, Rgb rim)
{
    int edge = distanceToEdge(x, y);
    if (edge < kBorder) return shade(rim, grain(x, y, 6));
    if (edge < kBorder + 2) return shade(face, 28);
    return shade(face, grain(x, y, 10));
}

Rgb sandTile(int x, int y) { return slab(x, y, {224, 204, 152}, {120, 96, 58}); }

Rgb clayTile(int x, int y) { return slab(x, y, {158, 84, 52}, {70, 34, 20}); }

// Big squares of two purples: on the ball they show its roundness, on the marker they set it
// apart from every tile.
Rgb purpleTile(int x, int y)
{
    if (distanceToEdge(x, y) < 3) return {50, 16, 70};
    bool light = ((x / 32) + (y / 32)) % 2 == 0;
    Rgb face = light ? Rgb{186, 110, 222} : Rgb{112, 36, 150};
    return shade(face, grain(x, y, 5));
}

png_byte clampByte(int v) { return static_cast<png_byte>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

bool writePng(const std::string& path, Painter paint)
{
    std::vector<png_byte> pixels(static_cast<std::size_t>(kSize) * kSize * 3);
    std::vector<png_bytep> rows(kSize);
    for (int y = 0; y < kSize; ++y) {
        rows[y] = &pixels[static_cast<std::size_t>(y) * kSize * 3];
        for (int x = 0; x < kSize; ++x) {
            Rgb c = paint(x, y);
            rows[y][x * 3 + 0] = clampByte(c.r);
            rows[y][x * 3 + 1] = clampByte(c.g);
            rows[y][x * 3 + 2] = clampByte(c.b);
        }
    }

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return false;
    }
    // libpng reports errors by longjmp; only plain data lives across this point.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, kSize, kSize, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string dir = argc > 1 ? argv[1] : "game/texture";
    struct {
        const char* name;
        Painter paint;
    } const textures[] = {
        {"cubeb.png", sandTile},
        {"cuben.png", clayTile},
        {"cubepurple.png", purpleTile},
    };
    int status = 0;
    for (const auto& t : textures) {
        std::string path = dir + "/" + t.name;
        if (writePng(path, t.paint)) {
            std::printf("wrote %s\n", path.c_str());
        } else {
            std::fprintf(stderr, "make_textures: cannot write %s\n", path.c_str());
            status = 1;
        }
    }
    return status;
}
