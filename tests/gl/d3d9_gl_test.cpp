// The OpenGL device drawing known scenes in a real window (run under Xvfb with Mesa), read
// back from the back buffer before Present.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "gl/d3d9_gl_window.h"
#include "platform/d3dx9.h"
#include "platform/gl/gl_read_back.h"
#include "platform/win32/backend.h"

namespace {

constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kGreen = 0xFF00FF00;
constexpr D3DCOLOR kWhite = 0xFFFFFFFF;
constexpr D3DCOLOR kBlack = 0xFF000000;
constexpr D3DCOLOR kPurple = 0xFF8000C0;

struct Vertex {
    float x, y, z;
    D3DCOLOR colour;
    float u, v;
};
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// A 2 × 2 square in the plane z = 0 around the origin, drawn from its own vertex and index
// buffers. Texture coordinate (0, 0) is its top-left corner (-1, 1).
class Quad {
public:
    Quad(IDirect3DDevice9* device, D3DCOLOR colour, bool clockwise = true) : device_(device) {
        EXPECT_EQ(device->CreateVertexBuffer(4 * sizeof(Vertex), 0, kFvf, D3DPOOL_MANAGED, &vertices_, nullptr),
                  S_OK);
        EXPECT_EQ(device->CreateIndexBuffer(6 * 2, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices_, nullptr), S_OK);
        recolour(colour);
        // Corners 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left, seen from -z.
        const std::uint16_t cw[6] = {0, 1, 2, 0, 2, 3};
        const std::uint16_t ccw[6] = {0, 2, 1, 0, 3, 2};
        void* data = nullptr;
        if (indices_ != nullptr && indices_->Lock(0, 0, &data, 0) == S_OK) {
            std::memcpy(data, clockwise ? cw : ccw, sizeof cw);
            indices_->Unlock();
        }
    }
    ~Quad() {
        if (vertices_ != nullptr) vertices_->Release();
        if (indices_ != nullptr) indices_->Release();
    }

    void recolour(D3DCOLOR colour) {
        const Vertex corners[4] = {{-1, 1, 0, colour, 0, 0},
                                   {1, 1, 0, colour, 1, 0},
                                   {1, -1, 0, colour, 1, 1},
                                   {-1, -1, 0, colour, 0, 1}};
        void* data = nullptr;
        if (vertices_ != nullptr && vertices_->Lock(0, 0, &data, 0) == S_OK) {
            std::memcpy(data, corners, sizeof corners);
            vertices_->Unlock();
        }
    }

    void draw() {
        device_->SetFVF(kFvf);
        device_->SetStreamSource(0, vertices_, 0, sizeof(Vertex));
        device_->SetIndices(indices_);
        EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), S_OK);
    }

private:
    IDirect3DDevice9* device_;
    IDirect3DVertexBuffer9* vertices_ = nullptr;
    IDirect3DIndexBuffer9* indices_ = nullptr;
};

D3DXMATRIX placed(float scale, float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    m._11 = m._22 = m._33 = scale;
    return m;
}

class GLDeviceTest : public ::testing::Test {
public:
    void SetUp() override {
        const std::string error = window.open();
        ASSERT_EQ(error, "");
        device = window.device;
        // Camera at the origin looking along +z; 90 degrees, so at distance 5 the 300-pixel
        // view spans x and y from -5 to 5: one unit is 30 pixels there.
        D3DXMATRIX projection;
        D3DXMatrixPerspectiveFovLH(&projection, 1.5707964f, 1.0f, 1.0f, 100.0f);
        device->SetTransform(D3DTS_PROJECTION, &projection);
    }

    void begin(D3DCOLOR clearColour = kBlue) {
        ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColour, 1.0f, 0), S_OK);
        ASSERT_EQ(device->BeginScene(), S_OK);
    }

    void place(float scale, float x, float y, float z) {
        const D3DXMATRIX world = placed(scale, x, y, z);
        device->SetTransform(D3DTS_WORLD, &world);
    }

    // Ends the scene and keeps what it drew.
    void end() {
        ASSERT_EQ(device->EndScene(), S_OK);
        frame = platform::readBackBuffer(device, width, height);
        ASSERT_EQ(frame.size(), static_cast<std::size_t>(width) * height);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
    }

    // The colour drawn at (x, y) from the top-left, alpha left out: the window may have none.
    D3DCOLOR at(int x, int y) const { return frame.at(static_cast<std::size_t>(y) * width + x) | 0xFF000000u; }

    d3d9_gl::DeviceWindow window;
    IDirect3DDevice9* device = nullptr;
    std::vector<D3DCOLOR> frame;
    int width = 0;
    int height = 0;
};

TEST_F(GLDeviceTest, ClearFillsTheClientSizedBackBufferWithTheArgbColour) {
    EXPECT_EQ(window.parameters.BackBufferWidth, 300u);
    EXPECT_EQ(window.parameters.BackBufferHeight, 300u);
    for (D3DCOLOR colour : {kBlue, D3DCOLOR{0xFF123456}}) {
        begin(colour);
        end();
        ASSERT_EQ(width, 300);
        ASSERT_EQ(height, 300);
        int wrong = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) wrong += at(x, y) != colour;
        }
        EXPECT_EQ(wrong, 0) << std::hex << colour;
    }
}

TEST_F(GLDeviceTest, FramesFollowTheClientAreaWhenTheWindowChangesSize) {
    // The frame is only known once the window is shown, after the device is made; Direct3D
    // stretches its back buffer over the client area as it is at Present.
    SDL_Window* native = static_cast<SDL_Window*>(platform::nativeWindowOf(window.window));
    ASSERT_NE(native, nullptr);
    SDL_SetWindowSize(native, 240, 200);
    begin();
    end();  // this Present finds the new size

    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    Quad quad(device, kPurple);
    begin();
    place(1.0f, 0.0f, 0.0f, 5.0f);  // 2 units wide at distance 5: a fifth of the view each way
    quad.draw();
    end();
    ASSERT_EQ(width, 240);
    ASSERT_EQ(height, 200);
    EXPECT_EQ(at(120, 100), kPurple);
    EXPECT_EQ(at(120 + 20, 100 + 16), kPurple);
    EXPECT_EQ(at(120 + 28, 100), kBlue);
    EXPECT_EQ(at(120, 100 + 24), kBlue);
}

TEST_F(GLDeviceTest, TexturedQuadShowsItsTexelsUprightWhereTheWorldMatrixPutsIt) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
    const D3DCOLOR texels[2][2] = {{kRed, kGreen}, {kWhite, kBlack}};  // rows top-first
    for (int row = 0; row < 2; ++row) {
        std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + row * locked.Pitch, texels[row], 8);
    }
    texture->UnlockRect(0);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTexture(0, texture);
    Quad quad(device, kWhite);

    struct Case {
        float x, y;   // where the world matrix puts the quad, at distance 5
        int px, py;   // where its centre must show
    };
    const Case cases[] = {{0, 0, 150, 150}, {2.5f, 0, 225, 150}, {0, 2.5f, 150, 75}, {-2.5f, -2.5f, 75, 225}};
    for (const Case& c : cases) {
        begin();
        place(1.0f, c.x, c.y, 5.0f);
        quad.draw();
        end();
        SCOPED_TRACE(testing::Message() << "quad at " << c.x << ", " << c.y);
        EXPECT_EQ(at(c.px - 15, c.py - 15), kRed);
        EXPECT_EQ(at(c.px + 15, c.py - 15), kGreen);
        EXPECT_EQ(at(c.px - 15, c.py + 15), kWhite);
        EXPECT_EQ(at(c.px + 15, c.py + 15), kBlack);
        EXPECT_EQ(at(c.px - 35, c.py), kBlue);
        EXPECT_EQ(at(c.px + 35, c.py), kBlue);
        EXPECT_EQ(at(c.px, c.py - 35), kBlue);
        EXPECT_EQ(at(c.px, c.py + 35), kBlue);
    }
    texture->Release();
}

TEST_F(GLDeviceTest, NearerSurfaceWinsWhateverTheDrawOrder) {
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    Quad nearRed(device, kRed);
    Quad farGreen(device, kGreen);
    struct Case {
        bool depthTest;
        bool nearFirst;
        D3DCOLOR centre;
    };
    const Case cases[] = {{true, true, kRed}, {true, false, kRed}, {false, true, kGreen}, {false, false, kRed}};
    for (const Case& c : cases) {
        device->SetRenderState(D3DRS_ZENABLE, c.depthTest ? D3DZB_TRUE : D3DZB_FALSE);
        begin();
        for (bool nearNow : {c.nearFirst, !c.nearFirst}) {
            if (nearNow) {
                place(1.0f, 0, 0, 5.0f);  // 30 pixels either side of the centre
                nearRed.draw();
            } else {
                place(3.0f, 0, 0, 10.0f);  // 45 pixels either side
                farGreen.draw();
            }
        }
        end();
        SCOPED_TRACE(testing::Message() << "depth test " << c.depthTest << ", near first " << c.nearFirst);
        EXPECT_EQ(at(150, 150), c.centre);
        EXPECT_EQ(at(150 + 40, 150), kGreen);
        EXPECT_EQ(at(150 + 50, 150), kBlue);
    }
}

// The near plane is at 1, the far one at 100. Between -1 and 0 of Direct3D's depth GL would
// still draw, were the depth range not mapped.
void expectOnlyWhatLiesBetweenTheNearAndFarPlanesDrawn(GLDeviceTest& test) {
    test.device->SetRenderState(D3DRS_LIGHTING, FALSE);
    Quad quad(test.device, kRed);
    struct Case {
        float z;
        bool drawn;
    };
    const Case cases[] = {{0.8f, false}, {1.5f, true}, {99.0f, true}, {101.0f, false}};
    for (const Case& c : cases) {
        test.begin();
        test.place(c.z * 0.1f, 0, 0, c.z);  // always 15 pixels either side of the centre
        quad.draw();
        test.end();
        EXPECT_EQ(test.at(150, 150), c.drawn ? kRed : kBlue) << "quad at z = " << c.z;
    }
}

TEST_F(GLDeviceTest, OnlyWhatLiesBetweenTheNearAndFarPlanesIsDrawn) {
    expectOnlyWhatLiesBetweenTheNearAndFarPlanesDrawn(*this);
}

// Drivers without clip control get the depth range folded into the projection.
class GLDeviceWithoutClipControlTest : public GLDeviceTest {
protected:
    void SetUp() override {
        setenv("QUORVEL_GL_NO_CLIP_CONTROL", "1", 1);
        GLDeviceTest::SetUp();
        unsetenv("QUORVEL_GL_NO_CLIP_CONTROL");
    }
};

TEST_F(GLDeviceWithoutClipControlTest, OnlyWhatLiesBetweenTheNearAndFarPlanesIsDrawn) {
    expectOnlyWhatLiesBetweenTheNearAndFarPlanesDrawn(*this);
}

TEST_F(GLDeviceTest, CullModesHideTheFacesDirect3DHides) {
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    Quad clockwise(device, kRed, true);
    Quad counterClockwise(device, kRed, false);
    struct Case {
        DWORD cullMode;  // 0: the device's default
        bool clockwise;
        bool drawn;
    };
    const Case cases[] = {{0, true, true},           {0, false, false},
                          {D3DCULL_NONE, true, true}, {D3DCULL_NONE, false, true},
                          {D3DCULL_CW, true, false},  {D3DCULL_CW, false, true},
                          {D3DCULL_CCW, true, true},  {D3DCULL_CCW, false, false}};
    for (const Case& c : cases) {
        if (c.cullMode != 0) device->SetRenderState(D3DRS_CULLMODE, c.cullMode);
        begin();
        place(1.0f, 0, 0, 5.0f);
        (c.clockwise ? clockwise : counterClockwise).draw();
        end();
        EXPECT_EQ(at(150, 150), c.drawn ? kRed : kBlue)
            << "cull mode " << c.cullMode << ", clockwise " << c.clockwise;
    }
}

TEST_F(GLDeviceTest, LightingIsOnByDefaultAndLitColourComesFromTheMaterial) {
    Quad quad(device, kRed);
    D3DMATERIAL9 glowing{};
    glowing.Emissive = {0.0f, 1.0f, 0.0f, 1.0f};
    struct Case {
        const char* what;
        bool lightingOff;
        const D3DMATERIAL9* material;
        D3DCOLOR centre;
    };
    // No light is ever set: lit surfaces show only their emissive colour.
    const Case cases[] = {{"default: lit, zero material", false, nullptr, kBlack},
                          {"lit, emissive green", false, &glowing, kGreen},
                          {"unlit: the vertex colour", true, &glowing, kRed}};
    for (const Case& c : cases) {
        if (c.material != nullptr) device->SetMaterial(c.material);
        if (c.lightingOff) device->SetRenderState(D3DRS_LIGHTING, FALSE);
        begin();
        place(1.0f, 0, 0, 5.0f);
        quad.draw();
        end();
        EXPECT_EQ(at(150, 150), c.centre) << c.what;
    }
}

TEST_F(GLDeviceTest, EachUnlockSendsTheNewVerticesToGL) {
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    Quad quad(device, kRed);
    for (D3DCOLOR colour : {kRed, kGreen, kWhite}) {
        quad.recolour(colour);
        begin();
        place(1.0f, 0, 0, 5.0f);
        quad.draw();
        end();
        EXPECT_EQ(at(150, 150), colour);
    }
}

TEST_F(GLDeviceTest, TexturedBoxSeenAsTheGameSeesTheBall) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
    std::memcpy(locked.pBits, &kPurple, 4);
    texture->UnlockRect(0);
    ID3DXMesh* box = nullptr;
    ASSERT_EQ(D3DXCreateBox(device, 1.0f, 1.0f, 1.0f, &box, nullptr), S_OK);

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    const D3DXVECTOR3 ball(3.0f, 1.0f, 4.0f);
    const D3DXVECTOR3 eye(ball.x, ball.y + 2.0f, ball.z - 10.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &ball, &up);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 1.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);

    begin();
    place(1.0f, ball.x, ball.y, ball.z);
    device->SetTexture(0, texture);
    EXPECT_EQ(box->DrawSubset(0), S_OK);
    end();
    // About 10 units away with a 45-degree view, the unit box spans some 35 pixels.
    EXPECT_EQ(at(150, 150), kPurple);
    EXPECT_EQ(at(150 - 10, 150 + 10), kPurple);
    EXPECT_EQ(at(150 + 30, 150), kBlue);
    EXPECT_EQ(at(150, 150 - 30), kBlue);
    box->Release();
    texture->Release();
}

TEST_F(GLDeviceTest, ResourcesMayOutliveTheirDevice) {
    IDirect3DTexture9* texture = nullptr;
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    ASSERT_EQ(device->CreateVertexBuffer(64, 0, D3DFVF_XYZ, D3DPOOL_DEFAULT, &buffer, nullptr), S_OK);
    device->SetTexture(0, texture);
    EXPECT_EQ(texture->Release(), 1u);  // the device still holds it, bound
    EXPECT_EQ(device->Release(), 0u);
    window.device = nullptr;
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), S_OK);
    EXPECT_EQ(buffer->Unlock(), S_OK);
    EXPECT_EQ(buffer->Release(), 0u);
}

TEST(GLDirect3D, DeviceNeedsAWindowOfTheWindowsLayer) {
    IDirect3D9* direct3d = platform::createGLDirect3D(D3D_SDK_VERSION);
    ASSERT_NE(direct3d, nullptr);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    IDirect3DDevice9* device = nullptr;
    HWND stranger = reinterpret_cast<HWND>(std::uintptr_t{0x5});
    EXPECT_LT(direct3d->CreateDevice(0, D3DDEVTYPE_HAL, stranger, 0x20, &parameters, &device), 0);
    EXPECT_LT(direct3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0x20, &parameters, &device), 0);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(direct3d->Release(), 0u);
    EXPECT_EQ(platform::createGLDirect3D(D3D_SDK_VERSION + 1), nullptr);
}

}  // namespace
