// The device start, its failures, the resources it loads, the cylinder and the release.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "platform/win32.h"
#include "shell/device.h"
#include "shell/frame.h"
#include "shell/globals.h"
#include "shell/level_flow.h"
#include "shell/messages.h"
#include "shell_fixture.h"
#include "support/xfile_material_flood.h"

using namespace shelltest;

namespace {

using Device = ShellTest;

struct Failure {
    const char* call;
    HRESULT result;
    bool levelListRead;  // the device existed, so the game had started before the failure
};

class StartFailure : public ShellTest, public ::testing::WithParamInterface<Failure> {};

int runWinMain() { return WinMain(nullptr, nullptr, nullptr, SW_SHOWDEFAULT); }

}  // namespace

TEST_P(StartFailure, EndsWithExitCodeZeroAndTheWindowNeverShown) {
    writeSingleLevel(flatLevel(3, 3, "0 0 0  1 1 1  0 0"));
    rec->failCall(GetParam().call, GetParam().result);
    EXPECT_EQ(runWinMain(), 0);
    ASSERT_EQ(backend.windows().size(), 1u);
    EXPECT_FALSE(backend.windows()[0].shown);
    EXPECT_FALSE(backend.windows()[0].destroyed);
    EXPECT_EQ(backend.polls(), 0u);  // the loop never ran
    EXPECT_EQ(std::filesystem::exists("log/GameLog.txt"), GetParam().levelListRead);
}

INSTANTIATE_TEST_SUITE_P(Calls, StartFailure,
                         ::testing::Values(Failure{"Direct3DCreate9", E_FAIL, false},
                                           Failure{"CreateDevice", D3DERR_NOTAVAILABLE, false},
                                           Failure{"CreateVertexBuffer", D3DERR_OUTOFVIDEOMEMORY, true},
                                           Failure{"VertexBuffer.Lock", D3DERR_INVALIDCALL, true}),
                         [](const auto& info) {
                             std::string name = info.param.call;
                             name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
                             return name;
                         });

TEST_F(Device, FailedCreationGivesTheGeneralFailureCode) {
    rec->failCall("CreateDevice", D3DERR_NOTAVAILABLE);
    EXPECT_EQ(StartDevice(nullptr), E_FAIL);
    EXPECT_EQ(static_cast<std::uint32_t>(E_FAIL), 0x80004005u);
    EXPECT_EQ(device, nullptr);
    EXPECT_NE(direct3d, nullptr);  // kept, as nothing releases on this path
}

TEST_F(Device, CreatesAWindowedDeviceWithDepthAndNoCulling) {
    writeSingleLevel(flatLevel(3, 3, "0 0 0  1 1 1  0 0"));
    startGame();
    const auto creates = rec->callsNamed("CreateDevice");
    ASSERT_EQ(creates.size(), 1u);
    const platform::RecordedCall& create = *creates[0];
    EXPECT_EQ(create.ints, (std::vector<std::int64_t>{D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING}));
    EXPECT_EQ(create.window, window);
    D3DPRESENT_PARAMETERS expected{};
    expected.Windowed = TRUE;
    expected.SwapEffect = D3DSWAPEFFECT_DISCARD;
    expected.BackBufferFormat = D3DFMT_UNKNOWN;
    expected.EnableAutoDepthStencil = TRUE;
    expected.AutoDepthStencilFormat = D3DFMT_D16;
    EXPECT_EQ(std::memcmp(&create.presentParameters, &expected, sizeof expected), 0);

    const auto states = rec->callsNamed("SetRenderState");
    ASSERT_GE(states.size(), 2u);
    EXPECT_EQ(states[0]->ints, (std::vector<std::int64_t>{D3DRS_CULLMODE, D3DCULL_NONE}));
    EXPECT_EQ(states[1]->ints, (std::vector<std::int64_t>{D3DRS_ZENABLE, D3DZB_TRUE}));
}

TEST_F(Device, BallOpensAtTwoTwoTwoWhateverTheLevelStart) {
    writeSingleLevel(flatLevel(6, 6, "0 0 0  4.5 7.25 -1  0.5 -0.75"));
    ball.jumpRequest = true;
    ball.radius = 3.0f;
    ball.velocity = {0.1f, 0.2f, 0.3f};
    startGame();
    expectXyz(ball.position, 2.0f, 2.0f, 2.0f);
    EXPECT_EQ(ball.radius, 1.0f);
    EXPECT_FALSE(ball.jumpRequest);
    expectXyz(ball.velocity, 0.0f, 0.0f, 0.0f);
    // The level itself was loaded and its camera angles taken.
    EXPECT_EQ(gameMap.rows, 6);
    EXPECT_EQ(gameMap.startPosition.y, 7.25f);
    EXPECT_EQ(currentCameraAngleA, 0.5f);
    EXPECT_EQ(currentCameraAngleB, -0.75f);
    EXPECT_EQ(currentLevel, 0);
}

TEST_F(Device, EachMaterialGetsItsTextureLoadAndItsCopy) {
    writeSingleLevel(flatLevel(1, 1, "0 0 0  1 1 1  0 0"));
    writeTexture("first.png", 0xFF112233u);
    writeTexture("third.png", 0xFF445566u);
    writeBallMesh({"first.png", "", "third.png", "missing.png"});  // the second has no texture
    ::testing::internal::CaptureStderr();
    startGame();
    // A material with no texture names no file: only the missing one is reported.
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Texture \"missing.png\" not loaded\n");

    ASSERT_EQ(materialCount, 4u);
    ASSERT_NE(ballMesh, nullptr);
    auto* first = static_cast<platform::RecordingTexture*>(ballTextures[0]);
    auto* third = static_cast<platform::RecordingTexture*>(ballTextures[2]);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(ballTextures[1], nullptr);
    EXPECT_EQ(ballTextures[3], nullptr);
    EXPECT_EQ(first->texel(0, 0), 0xFF112233u);
    EXPECT_EQ(third->texel(0, 0), 0xFF445566u);
    // In material order, before the three tile textures.
    const auto& made = rec->textures();
    ASSERT_EQ(made.size(), 5u);
    EXPECT_EQ(made[0], first);
    EXPECT_EQ(made[1], third);
    EXPECT_EQ(made[2], goalTexture);
    EXPECT_EQ(made[3], oddCellTexture);
    EXPECT_EQ(made[4], evenCellTexture);
    for (DWORD i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(ballMaterials[i].Diffuse.r, 0.1f * static_cast<float>(i + 1));
        EXPECT_FLOAT_EQ(ballMaterials[i].Diffuse.g, 0.5f);
        EXPECT_FLOAT_EQ(ballMaterials[i].Power, static_cast<float>(i + 2));
    }
}

TEST_F(Device, MissingBallMeshAndTexturesDoNotStopTheStart) {
    writeSingleLevel(flatLevel(1, 1, "0 0 0  1 1 1  0 0"));
    std::filesystem::remove(messages::ballMeshFile);
    std::filesystem::remove_all("texture");
    ::testing::internal::CaptureStderr();
    startGame();
    // One line a file, naming it; the level's own echo on stdout is not touched.
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Ball mesh \"boule.x\" not loaded: the game goes on without the ball\n"
              "Texture \"texture/cubepurple.png\" not loaded\n"
              "Texture \"texture/cuben.png\" not loaded\n"
              "Texture \"texture/cubeb.png\" not loaded\n");
    EXPECT_EQ(materialCount, 0u);
    EXPECT_EQ(ballMesh, nullptr);
    EXPECT_EQ(goalTexture, nullptr);
    EXPECT_EQ(oddCellTexture, nullptr);
    EXPECT_EQ(evenCellTexture, nullptr);

    // The game draws on without a ball: the tile and the marker only.
    rec->clearCalls();
    DrawFrame();
    EXPECT_EQ(rec->count("DrawIndexedPrimitive"), 2u);
    rec->clearCalls();
    ReleaseDevice();
    EXPECT_EQ(rec->count("Release"), 3u);  // cylinder, device, Direct3D: there is no ball mesh
    EXPECT_TRUE(rec->misuses().empty());
}

TEST_F(Device, ABallMeshPastTheMaterialCapStartsTheGameWithoutABall) {
    writeSingleLevel(flatLevel(1, 1, "0 0 0  1 1 1  0 0"));
    writeText(messages::ballMeshFile, materialFloodFile(500000, 2000));  // half a megabyte, a gigabyte of materials
    startGame();
    EXPECT_EQ(materialCount, 0u);
    EXPECT_EQ(ballMesh, nullptr);
    ASSERT_NE(goalTexture, nullptr);

    rec->clearCalls();
    DrawFrame();
    EXPECT_EQ(rec->count("DrawIndexedPrimitive"), 2u);  // the tile and the marker, no ball
    EXPECT_TRUE(rec->misuses().empty());
}

TEST_F(Device, WithoutTheBoxFramesStillPlaceEveryTileButDrawNone) {
    writeSingleLevel(flatLevel(2, 2, "0 0 0  1 1 1  0 0"));
    rec->failCall("CreateVertexBuffer", E_OUTOFMEMORY, 1);  // the box's, the first buffer asked for
    startGame();
    ASSERT_EQ(boxMesh, nullptr);
    ASSERT_NE(ballMesh, nullptr);

    rec->clearCalls();
    DrawFrame();
    EXPECT_EQ(rec->count("DrawIndexedPrimitive"), 1u);  // the ball alone
    // World reset, view, four tiles, the marker, the ball, world reset, projection.
    EXPECT_EQ(rec->count("SetTransform"), 10u);
    EXPECT_TRUE(rec->misuses().empty());
}

TEST_F(Device, CylinderVerticesRingTheYAxis) {
    writeSingleLevel(flatLevel(1, 1, "0 0 0  1 1 1  0 0"));
    startGame();
    auto* buffer = static_cast<platform::RecordingVertexBuffer*>(cylinderBuffer);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->fvf, D3DFVF_XYZ | D3DFVF_NORMAL);
    EXPECT_EQ(buffer->pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(buffer->usage, 0u);
    ASSERT_EQ(buffer->bytes().size(), 2400u);
    EXPECT_FALSE(buffer->locked());

    float v[600];
    std::memcpy(v, buffer->bytes().data(), sizeof v);
    auto vertex = [&](int i) { return &v[6 * i]; };
    struct Expected {
        int index;
        float s, c;
    };
    for (const Expected& e : {Expected{0, 0.0f, 1.0f}, Expected{2, 0.12787716f, 0.99179f},
                              Expected{98, 1.7484555e-07f, 1.0f}}) {
        for (int i : {e.index, e.index + 1}) {
            const float* p = vertex(i);
            EXPECT_NEAR(p[0], e.s, 1e-7) << "vertex " << i;
            EXPECT_FLOAT_EQ(p[1], i % 2 == 0 ? -1.0f : 1.0f);
            EXPECT_NEAR(p[2], e.c, 1e-5) << "vertex " << i;
            EXPECT_EQ(p[3], p[0]);
            EXPECT_EQ(p[4], 0.0f);
            EXPECT_EQ(p[5], p[2]);
        }
    }
    EXPECT_NE(vertex(98)[0], 0.0f);  // the last pair closes the ring only up to rounding
    for (int i = 0; i < 100; ++i) {
        EXPECT_NEAR(std::hypot(vertex(i)[0], vertex(i)[2]), 1.0, 1e-6) << "vertex " << i;
    }
}

TEST_F(Device, ReleaseFreesTheDeviceObjectsInOrderAndNothingElse) {
    writeSingleLevel(flatLevel(1, 1, "0 0 0  1 1 1  0 0"));
    startGame();
    rec->clearCalls();
    IUnknown* const released[] = {cylinderBuffer, device, direct3d};
    ReleaseDevice();
    const auto releases = rec->callsNamed("Release");
    ASSERT_GE(releases.size(), 3u);
    EXPECT_EQ(releases[0]->object, released[0]);
    EXPECT_EQ(releases[1]->object, released[1]);
    EXPECT_EQ(releases[2]->object, released[2]);
    EXPECT_TRUE(rec->vertexBuffers().back()->released());  // the cylinder's
    for (platform::RecordingTexture* texture : rec->textures()) {
        EXPECT_FALSE(texture->released());
    }
    EXPECT_FALSE(rec->vertexBuffers().at(0)->released());  // the box's
    EXPECT_TRUE(rec->vertexBuffers().at(1)->released());   // the ball's, with its mesh

    // Every released global is emptied, so a second release frees nothing twice.
    EXPECT_EQ(cylinderBuffer, nullptr);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(direct3d, nullptr);
    EXPECT_EQ(ballMesh, nullptr);
    EXPECT_EQ(ballMaterials, nullptr);
    EXPECT_EQ(ballTextures, nullptr);
    rec->clearCalls();
    ReleaseDevice();
    EXPECT_TRUE(rec->calls().empty());
    EXPECT_TRUE(rec->misuses().empty());
}

TEST_F(Device, ReleaseBeforeAnyStartDoesNothing) {
    ReleaseDevice();
    EXPECT_TRUE(rec->calls().empty());
}

class NoLevels : public ShellTest, public ::testing::WithParamInterface<bool> {};

TEST_P(NoLevels, GameEndsBeforeShowingItsWindowWithOneLineOnStderr) {
    if (GetParam()) {
        writeLevelList({});  // there, but empty
    }
    ::testing::internal::CaptureStderr();
    const int exitCode = runWinMain();
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(exitCode, 0);
    EXPECT_NE(errors.find("\"map/jeu.txt\""), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    ASSERT_EQ(backend.windows().size(), 1u);
    EXPECT_FALSE(backend.windows()[0].shown);
    EXPECT_EQ(cylinderBuffer, nullptr);
    EXPECT_TRUE(gameMap.grid.empty());
}

INSTANTIATE_TEST_SUITE_P(LevelList, NoLevels, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Empty" : "Missing"; });
