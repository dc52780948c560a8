// Writes the seed corpora of the fuzz targets: make_fuzz_seeds GAME_DIR OUT_DIR makes
// OUT_DIR/levels, OUT_DIR/mesh and OUT_DIR/texture from the game's own files (GAME_DIR is
// game/) and from the files the unit tests build.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/d3dx_image_writers.h"
#include "platform/d3dx_xfile_samples.h"
#include "support/xfile_material_flood.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// One level input: header, grid and list, each ended by a NUL (see fuzz_levels.cpp).
std::string levelInput(const std::string& header, const std::string& grid, const std::string& list) {
    return header + '\0' + grid + '\0' + list;
}

void levelSeeds(const fs::path& game, const fs::path& out) {
    const std::string list = readFile(game / "map" / "jeu.txt");
    int made = 0;
    for (const auto& entry : fs::directory_iterator(game / "map")) {
        if (entry.path().extension() != ".txt" || entry.path().filename() == "jeu.txt") continue;
        const std::string header = readFile(entry.path());
        // The grid's path is the header's fifth word, relative to the game's directory.
        std::istringstream words(header);
        std::string word;
        for (int i = 0; i < 5; ++i) words >> word;
        writeFile(out / ("game-" + entry.path().stem().string()), levelInput(header, readFile(game / word), list));
        ++made;
    }
    if (made == 0) {
        std::fprintf(stderr, "no level headers in %s\n", (game / "map").c_str());
        std::exit(1);
    }
    // The shapes the level tests write: Windows line ends, holes, a short header, a short grid.
    writeFile(out / "crlf", levelInput("2 3\r\n1.0 1.0\r\nmap/a.grid a\r\n1 0 2\r\n0.5 1.0 0.5\r\n0.25 -0.5\r\n",
                                       "0 1 2\r\n-1 -2.5 3\r\n", "map/a.txt\r\nmap/b.txt\r\n"));
    writeFile(out / "short-header", levelInput("3", "1 2\n", "map/a.txt"));
    writeFile(out / "short-grid", levelInput("4 4 2.0 2.0 map/g.grid g 0 0 0 1 1 1 0 0", "1 2 3\n-1", ""));
}

void meshSeeds(const fs::path& game, const fs::path& out) {
    writeFile(out / "boule.x", readFile(game / "boule.x"));
    writeFile(out / "sample-text.x", d3dxtest::kTextSample);
    writeFile(out / "sample-binary.x", d3dxtest::binarySample());
    writeFile(out / "material-references.x", materialFloodFile(16, 4));
}

std::vector<unsigned char> bytes(std::initializer_list<unsigned char> values) { return values; }

void textureSeeds(const fs::path& game, const fs::path& out) {
    for (const auto& entry : fs::directory_iterator(game / "texture")) {
        if (entry.path().extension() == ".png") writeFile(out / entry.path().filename(), readFile(entry.path()));
    }
    using d3dxtest::PngSpec;
    const std::pair<const char*, PngSpec> pngs[] = {
        {"rgba8.png", {2, 2, PNG_COLOR_TYPE_RGBA, 8, false, bytes({255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 1, 2, 3, 4})}},
        {"grey1.png", {3, 1, PNG_COLOR_TYPE_GRAY, 1, false, bytes({0xA0})}},
        {"palette2-trns.png",
         {3, 1, PNG_COLOR_TYPE_PALETTE, 2, false, bytes({0x18}), {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {255, 0}}},
        {"grey-alpha16.png", {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, bytes({0x40, 0x40, 0xFF, 0xFF})}},
        {"interlaced.png", {3, 3, PNG_COLOR_TYPE_GRAY, 8, true, bytes({1, 2, 3, 4, 5, 6, 7, 8, 9})}},
    };
    for (const auto& [name, spec] : pngs) writeFile(out / name, d3dxtest::pngFile(spec));

    std::vector<unsigned char> grey(16 * 16), rgb(16 * 16 * 3);
    for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<unsigned char>(i);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<unsigned char>(i * 7);
    writeFile(out / "grey.jpg", d3dxtest::jpegFile(16, 16, 1, grey));
    writeFile(out / "rgb.jpg", d3dxtest::jpegFile(16, 16, 3, rgb, 90));
    writeFile(out / "cmyk.jpg", d3dxtest::jpegFile(8, 8, 4, std::vector<unsigned char>(8 * 8 * 4, 10)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s GAME_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    const fs::path game = argv[1], out = argv[2];
    for (const char* kind : {"levels", "mesh", "texture"}) fs::create_directories(out / kind);
    levelSeeds(game, out / "levels");
    meshSeeds(game, out / "mesh");
    textureSeeds(game, out / "texture");
    return 0;
}
