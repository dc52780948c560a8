// One frame: its calls in order, the failed scene, the follow camera and the projection.

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "shell/device.h"
#include "shell/frame.h"
#include "shell/globals.h"
#include "shell/level_flow.h"
#include "shell_fixture.h"

using namespace shelltest;

namespace {

class Frame : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        writeSingleLevel(flatLevel(1, 1, "0 0 0  0 1 0  0 0"));
        startGame();
        rec->clearCalls();
    }
};

const platform::RecordedCall* lastTransform(const platform::Recording& rec, D3DTRANSFORMSTATETYPE type) {
    const platform::RecordedCall* found = nullptr;
    for (const platform::RecordedCall* call : rec.callsNamed("SetTransform")) {
        if (call->ints.at(0) == type) found = call;
    }
    return found;
}

D3DXMATRIX expectedView(float x, float y, float z) {
    const D3DXVECTOR3 eye(x, y + 2.0f, z - 10.0f), at(x, y, z), up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    return view;
}

}  // namespace

TEST_F(Frame, CallsComeInTheirOrder) {
    DrawFrame();
    const std::vector<std::string> expected = {
        "Clear", "BeginScene", "SetRenderState",              // lighting off
        "SetTransform", "SetTransform",                      // world reset, view
        "SetTexture", "SetTransform", "Draw",                // the one tile
        "SetTexture", "SetTransform", "Draw",                // the goal marker
        "SetMaterial", "SetTransform", "SetTexture", "Draw",  // the ball
        "SetTransform", "SetTransform",                      // world reset, projection
        "EndScene", "Present"};
    EXPECT_EQ(callNames(rec->calls()), expected);

    const auto& calls = rec->calls();
    EXPECT_EQ(calls[0].ints, (std::vector<std::int64_t>{0, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 0}));
    EXPECT_EQ(calls[0].floats, std::vector<float>{1.0f});
    EXPECT_EQ(calls[2].ints, (std::vector<std::int64_t>{D3DRS_LIGHTING, FALSE}));
    const platform::RecordedCall* present = rec->callsNamed("Present").at(0);
    for (const void* argument : present->pointers) EXPECT_EQ(argument, nullptr);

    // What the frame leaves for the next one.
    const platform::RecordingDevice& d = *rec->device();
    EXPECT_EQ(d.renderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    expectMatrixNear(d.transform(D3DTS_WORLD), identity, 0.0f);
    EXPECT_EQ(d.texture(), goalTexture);
}

TEST_F(Frame, FailedSceneOnlyClearsAndPresents) {
    rec->failCall("BeginScene", E_FAIL);
    DrawFrame();
    DrawFrame();
    EXPECT_EQ(callNames(rec->calls()),
              (std::vector<std::string>{"Clear", "BeginScene", "Present", "Clear", "BeginScene", "Present"}));
}

TEST_F(Frame, CameraFollowsTheBallWhateverTheAngles) {
    struct Case {
        float x, y, z, angleA, angleB;
    };
    const Case cases[] = {{2, 5, 2, 0, 0}, {-3.5f, -4.9f, 12.25f, 0.3f, -1.2f}, {100, 0.5f, -40, 3.1f, 7}};
    for (const Case& c : cases) {
        ball.position = {c.x, c.y, c.z};
        currentCameraAngleA = c.angleA;
        currentCameraAngleB = c.angleB;
        rec->clearCalls();
        DrawFrame();
        const platform::RecordedCall* view = lastTransform(*rec, D3DTS_VIEW);
        ASSERT_NE(view, nullptr);
        expectMatrixNear(view->matrix, expectedView(c.x, c.y, c.z), 0.0f);

        // From the second frame on, the ball's centre is the middle of the picture.
        D3DXMATRIX viewProjection, projection, viewMatrix;
        static_cast<D3DMATRIX&>(projection) = rec->device()->transform(D3DTS_PROJECTION);
        static_cast<D3DMATRIX&>(viewMatrix) = view->matrix;
        D3DXMatrixMultiply(&viewProjection, &viewMatrix, &projection);
        const D3DXMATRIX& m = viewProjection;
        const float clipX = c.x * m._11 + c.y * m._21 + c.z * m._31 + m._41;
        const float clipY = c.x * m._12 + c.y * m._22 + c.z * m._32 + m._42;
        const float clipW = c.x * m._14 + c.y * m._24 + c.z * m._34 + m._44;
        EXPECT_NEAR(clipX / clipW, 0.0f, 1e-4f);
        EXPECT_NEAR(clipY / clipW, 0.0f, 1e-4f);
    }
}

TEST_F(Frame, ProjectionIsSetLastSoTheFirstFrameUsesTheInitialOne) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    expectMatrixNear(rec->device()->transform(D3DTS_PROJECTION), identity, 0.0f);  // the start set none
    DrawFrame();
    const auto transforms = rec->callsNamed("SetTransform");
    ASSERT_FALSE(transforms.empty());
    EXPECT_EQ(transforms.back()->ints.at(0), D3DTS_PROJECTION);
    EXPECT_EQ(transforms.back(), lastTransform(*rec, D3DTS_PROJECTION));
    for (std::size_t i = 0; i + 1 < transforms.size(); ++i) {
        EXPECT_NE(transforms[i]->ints.at(0), D3DTS_PROJECTION);
    }
    D3DXMATRIX expected;
    D3DXMatrixPerspectiveFovLH(&expected, 0.7853982f, 1.0f, 1.0f, 100.0f);
    expectMatrixNear(transforms.back()->matrix, expected, 0.0f);
}

TEST_F(Frame, FixedCameraLooksAtTheOriginFromAboveAndBehind) {
    SetViewAndProjection();
    EXPECT_EQ(callNames(rec->calls()), (std::vector<std::string>{"SetTransform", "SetTransform", "SetTransform"}));
    const auto transforms = rec->callsNamed("SetTransform");
    ASSERT_EQ(transforms.size(), 3u);
    D3DXMATRIX identity, view, projection;
    D3DXMatrixIdentity(&identity);
    const D3DXVECTOR3 eye(0.0f, 3.0f, -5.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 1.0f, 1.0f, 100.0f);
    const std::pair<D3DTRANSFORMSTATETYPE, const D3DXMATRIX*> expected[] = {
        {D3DTS_WORLD, &identity}, {D3DTS_VIEW, &view}, {D3DTS_PROJECTION, &projection}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(transforms[i]->ints.at(0), expected[i].first);
        expectMatrixNear(transforms[i]->matrix, *expected[i].second, 0.0f);
    }
}

class BallSubsets : public ShellTest, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(BallSubsets, EachIsDrawnAtTheBallInYellowWithTheGoalTexture) {
    const std::vector<std::string>& textures = GetParam();
    writeSingleLevel(flatLevel(1, 1, "0 0 0  0 1 0  0 0"));
    writeBallMesh(textures);
    startGame();
    ASSERT_EQ(materialCount, textures.size());
    ball.position = {1.5f, 2.5f, -3.0f};
    rec->clearCalls();
    DrawFrame();
    const auto& calls = rec->calls();
    std::size_t material = 0;
    while (calls[material].name != "SetMaterial") ++material;
    std::vector<std::string> expected = {"SetMaterial", "SetTransform", "SetTexture"};
    expected.insert(expected.end(), textures.size(), "Draw");
    expected.insert(expected.end(), {"SetTransform", "SetTransform", "EndScene", "Present"});
    EXPECT_EQ(callNames({calls.begin() + static_cast<std::ptrdiff_t>(material), calls.end()}), expected);
    EXPECT_EQ(calls[material + 2].object, goalTexture);
    const D3DVECTOR placed = translationOf(calls[material + 1].matrix);
    EXPECT_EQ(placed.x, 1.5f);
    EXPECT_EQ(placed.y, 2.5f);
    EXPECT_EQ(placed.z, -3.0f);
    D3DMATERIAL9 yellow{};
    yellow.Diffuse = yellow.Ambient = D3DCOLORVALUE{1.0f, 1.0f, 0.0f, 1.0f};
    EXPECT_EQ(std::memcmp(&calls[material].material, &yellow, sizeof yellow), 0);
}

INSTANTIATE_TEST_SUITE_P(MaterialCounts, BallSubsets,
                         ::testing::Values(std::vector<std::string>{"texture/cuben.png"},
                                           std::vector<std::string>{"texture/cuben.png", "", "texture/cubeb.png"}));
