#include "shell_fixture.h"

#include <png.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/win32.h"
#include "shell/device.h"
#include "shell/globals.h"
#include "shell/messages.h"
#include "shell/winmain.h"

namespace shelltest {

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

Level flatLevel(int rows, int columns, const std::string& goalStartAngles) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
        line += column == 0 ? "0" : " 0";
    }
    std::string grid;
    for (int row = 0; row < rows; ++row) {
        grid += line + "\n";
    }
    return Level{std::to_string(rows) + " " + std::to_string(columns) + " 1.0 1.0", goalStartAngles, grid};
}

std::string ballMeshText(const std::vector<std::string>& textureNames) {
    const std::size_t n = textureNames.size();
    std::ostringstream x;
    x << "xof 0303txt 0032\n"
      << "Mesh {\n  3;\n  0.0;0.0;0.0;,\n  1.0;0.0;0.0;,\n  0.0;1.0;0.0;;\n  " << (n == 0 ? 1 : n) << ";\n";
    for (std::size_t i = 0; i < (n == 0 ? 1 : n); ++i) {
        x << "  3;0,1,2;" << (i + 1 < (n == 0 ? 1 : n) ? "," : ";") << "\n";
    }
    if (n > 0) {
        x << "  MeshMaterialList {\n    " << n << ";\n    " << n << ";\n";
        for (std::size_t i = 0; i < n; ++i) {
            x << "    " << i << (i + 1 < n ? "," : ";") << "\n";
        }
        for (std::size_t i = 0; i < n; ++i) {
            // Each material told apart by its red component and its power.
            x << "    Material {\n      0." << i + 1 << ";0.5;0.25;1.0;;\n      " << i + 2 << ".0;\n"
              << "      0.0;0.0;0.0;;\n      0.0;0.0;0.0;;\n";
            if (!textureNames[i].empty()) {
                x << "      TextureFilename { \"" << textureNames[i] << "\"; }\n";
            }
            x << "    }\n";
        }
        x << "  }\n";
    }
    x << "}\n";
    return x.str();
}

void ShellTest::SetUp() {
    scratch.emplace();
    std::filesystem::create_directory("map");
    std::filesystem::create_directory("texture");
    writeTexture(messages::goalTextureFile, goalColour);
    writeTexture(messages::oddCellTextureFile, oddColour);
    writeTexture(messages::evenCellTextureFile, evenColour);
    writeBallMesh({messages::goalTextureFile});
    rec = &platform::installRecordingDirect3D();
    // Well past 500 ms: a clock near 0 would count as inside a jump begun at time 0.
    backend.setTime(10000);
}

void ShellTest::TearDown() {
    gameMap.clear();  // the level's tiles are the game's to the end; give them back here
    scratch.reset();
}

void ShellTest::writeLevel(const std::string& name, const Level& level) {
    const std::string gridPath = "map/" + name + ".grid";
    writeText("map/" + name + ".txt", level.size + "\n" + gridPath + " " + name + "\n" + level.goalStartAngles + "\n");
    writeText(gridPath, level.grid);
}

void ShellTest::writeLevelList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += "map/" + name + ".txt\n";
    }
    writeText(messages::levelListFile, list);
}

void ShellTest::writeSingleLevel(const Level& level) {
    writeLevel("one", level);
    writeLevelList({"one"});
}

void ShellTest::writeBallMesh(const std::vector<std::string>& textureNames) {
    writeText(messages::ballMeshFile, ballMeshText(textureNames));
}

void ShellTest::writeTexture(const std::string& path, std::uint32_t argb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 2;
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint8_t> texels;
    for (int i = 0; i < 4; ++i) {
        texels.insert(texels.end(), {static_cast<std::uint8_t>(argb), static_cast<std::uint8_t>(argb >> 8),
                                     static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 24)});
    }
    ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, texels.data(), 0, nullptr), 0) << path;
}

void ShellTest::startGame() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;  // so closing it ends a loop as in the game
    windowClass.lpszClassName = "ShellTest";
    RegisterClassExA(&windowClass);
    window = CreateWindowExA(0, "ShellTest", "test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_EQ(StartDevice(window), S_OK);
    ASSERT_EQ(BuildCylinder(), S_OK);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> callNames(const std::vector<platform::RecordedCall>& calls) {
    std::vector<std::string> names;
    for (const platform::RecordedCall& call : calls) {
        if (call.name == "SetFVF" || call.name == "SetStreamSource" || call.name == "SetIndices") {
            continue;
        }
        names.push_back(call.name == "DrawIndexedPrimitive" ? "Draw" : call.name);
    }
    return names;
}

D3DVECTOR translationOf(const D3DMATRIX& m) { return D3DVECTOR{m._41, m._42, m._43}; }

void expectXyz(const Entite::Vector& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

void expectMatrixNear(const D3DMATRIX& actual, const D3DMATRIX& expected, float tolerance) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_NEAR(actual.m[row][column], expected.m[row][column], tolerance)
                << "at [" << row << "][" << column << "]";
        }
    }
}

}  // namespace shelltest
