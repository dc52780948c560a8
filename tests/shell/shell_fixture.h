#pragma once
// A fresh game for each test: a temporary working directory holding the level files, the
// textures and the ball mesh the test asks for, a scripted Windows backend and the recording
// Direct3D. Each test runs in its own process, so the game's globals start from scratch.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "physics/Entite.h"
#include "platform/d3d9/recording_device.h"
#include "platform/d3dx9.h"
#include "platform/win32/scripted_backend.h"
#include "support/scratch_directory.h"

namespace shelltest {

// A level: `rows columns tileX tileZ`, then `goalRow goalHeight goalColumn startX startY
// startZ angleA angleB`, and the grid file's lines.
struct Level {
    std::string size;
    std::string goalStartAngles;
    std::string grid;
};

// A flat rows x columns level of height 0, goal and start as given.
Level flatLevel(int rows, int columns, const std::string& goalStartAngles);

// A ball mesh file of one triangle per material; texture names may be empty (no texture).
std::string ballMeshText(const std::vector<std::string>& textureNames);

// ARGB colours of the three tile textures the fixture writes.
constexpr std::uint32_t goalColour = 0xFF8000FFu;
constexpr std::uint32_t oddColour = 0xFF00FF00u;
constexpr std::uint32_t evenColour = 0xFFFF0000u;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes map/<name>.txt and its grid file map/<name>.grid.
    void writeLevel(const std::string& name, const Level& level);
    // Writes map/jeu.txt naming map/<name>.txt for each name.
    void writeLevelList(const std::vector<std::string>& names);
    // One level and a list of it; the usual set-up.
    void writeSingleLevel(const Level& level);
    void writeBallMesh(const std::vector<std::string>& textureNames);
    // A 2 x 2 PNG of one colour (ARGB).
    void writeTexture(const std::string& path, std::uint32_t argb);

    // StartDevice and BuildCylinder as WinMain runs them, with a window of our own.
    void startGame();
    HWND window = nullptr;

    platform::ScriptedBackend backend;
    platform::Recording* rec = nullptr;

private:
    std::optional<ScratchDirectory> scratch;
};

std::string readFile(const std::string& path);
void writeText(const std::string& path, const std::string& text);

// The device calls in order, with the calls a mesh draw is made of folded into one "Draw".
std::vector<std::string> callNames(const std::vector<platform::RecordedCall>& calls);

// The translation row of a matrix.
D3DVECTOR translationOf(const D3DMATRIX& m);

// The three components, exactly.
void expectXyz(const Entite::Vector& v, float x, float y, float z);

void expectMatrixNear(const D3DMATRIX& actual, const D3DMATRIX& expected, float tolerance = 1e-5f);

}  // namespace shelltest
