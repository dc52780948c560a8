#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3d9/recording_device.h"

namespace {

using platform::Recording;
using platform::RecordingDevice;

struct RecordingFixture : ::testing::Test {
    Recording& rec = platform::installRecordingDirect3D();

    RecordingDevice* makeDevice() {
        IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS pp{};
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D16;
        IDirect3DDevice9* device = nullptr;
        EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device),
                  S_OK);
        return static_cast<RecordingDevice*>(device);
    }
};

TEST_F(RecordingFixture, CreateDeviceRecordsItsArgumentsAndPresentParameters) {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    HWND window = reinterpret_cast<HWND>(std::uintptr_t{0x1234});
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, 0x20, &pp, &device), S_OK);

    ASSERT_EQ(rec.calls().size(), 2u);
    EXPECT_EQ(rec.calls()[0].name, "Direct3DCreate9");
    EXPECT_EQ(rec.calls()[0].ints, (std::vector<std::int64_t>{31}));
    const platform::RecordedCall& create = rec.calls()[1];
    EXPECT_EQ(create.name, "CreateDevice");
    EXPECT_EQ(create.ints, (std::vector<std::int64_t>{0, 1, 0x20}));
    EXPECT_EQ(create.window, window);
    EXPECT_EQ(create.presentParameters.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(create.presentParameters.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(create.object, device);
    EXPECT_EQ(rec.device(), device);
    EXPECT_EQ(rec.direct3Ds().at(0), d3d);
}

TEST_F(RecordingFixture, InjectedFailuresReturnTheirCodeAndLeaveNoObject) {
    rec.failCall("Direct3DCreate9", E_FAIL, 1);
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION), nullptr);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);

    rec.failCall("CreateDevice", D3DERR_NOTAVAILABLE);
    D3DPRESENT_PARAMETERS pp{};
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(std::uintptr_t{1});
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &pp, &device), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &pp, &device), D3DERR_NOTAVAILABLE);
    EXPECT_TRUE(rec.devices().empty());
    EXPECT_EQ(rec.callsNamed("CreateDevice").back()->result, D3DERR_NOTAVAILABLE);
}

TEST_F(RecordingFixture, EachCreationAndLockCanBeMadeToFail) {
    RecordingDevice* device = makeDevice();
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DTexture9* texture = nullptr;

    rec.failCall("CreateVertexBuffer", E_OUTOFMEMORY, 1);
    EXPECT_EQ(device->CreateVertexBuffer(96, 0, D3DFVF_XYZ, D3DPOOL_DEFAULT, &vb, nullptr), E_OUTOFMEMORY);
    EXPECT_EQ(vb, nullptr);
    ASSERT_EQ(device->CreateVertexBuffer(96, 0, D3DFVF_XYZ, D3DPOOL_DEFAULT, &vb, nullptr), S_OK);

    rec.failCall("VertexBuffer.Lock", E_FAIL, 1);
    void* data = vb;
    EXPECT_EQ(vb->Lock(0, 0, &data, 0), E_FAIL);
    EXPECT_EQ(data, nullptr);

    rec.failCall("CreateTexture", D3DERR_OUTOFVIDEOMEMORY, 1);
    EXPECT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(texture, nullptr);
    EXPECT_TRUE(rec.textures().empty());

    rec.failCall("BeginScene", E_FAIL, 2);
    EXPECT_EQ(device->BeginScene(), E_FAIL);
    EXPECT_EQ(device->BeginScene(), E_FAIL);
    EXPECT_FALSE(device->inScene());
    EXPECT_EQ(device->BeginScene(), S_OK);
    EXPECT_TRUE(rec.misuses().empty());
}

TEST_F(RecordingFixture, BufferLockHandsOutTheBuffersOwnBytes) {
    RecordingDevice* device = makeDevice();
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(24, 0, D3DFVF_XYZ | D3DFVF_NORMAL, D3DPOOL_DEFAULT, &vb, nullptr),
              S_OK);
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, 0), S_OK);
    const float vertex[6] = {1, 2, 3, 0, 1, 0};
    std::memcpy(data, vertex, sizeof vertex);
    ASSERT_EQ(vb->Unlock(), S_OK);

    platform::RecordingVertexBuffer* ours = rec.vertexBuffers().at(0);
    EXPECT_EQ(ours, vb);
    EXPECT_EQ(ours->fvf, D3DFVF_XYZ | D3DFVF_NORMAL);
    ASSERT_EQ(ours->bytes().size(), 24u);
    EXPECT_EQ(std::memcmp(ours->bytes().data(), vertex, 24), 0);
    EXPECT_FALSE(ours->locked());
    EXPECT_EQ(ours->lockCount(), 1);

    ASSERT_EQ(vb->Lock(12, 0, &data, 0), S_OK);
    EXPECT_EQ(data, ours->bytes().data() + 12);
    vb->Unlock();
    EXPECT_TRUE(rec.misuses().empty());
}

TEST_F(RecordingFixture, LocksOutsideABufferAreRefused) {
    RecordingDevice* device = makeDevice();
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr), S_OK);
    struct Case {
        UINT offset, size;
        HRESULT expected;
    };
    const Case cases[] = {{0, 12, S_OK}, {12, 0, S_OK}, {4, 8, S_OK}, {13, 0, D3DERR_INVALIDCALL},
                          {4, 9, D3DERR_INVALIDCALL}, {0, 0xFFFFFFFFu, D3DERR_INVALIDCALL}};
    for (const Case& c : cases) {
        void* data = nullptr;
        EXPECT_EQ(ib->Lock(c.offset, c.size, &data, 0), c.expected) << c.offset << "+" << c.size;
        EXPECT_EQ(data != nullptr, c.expected == S_OK);
        if (data != nullptr) ib->Unlock();
    }
    EXPECT_EQ(rec.misuses().size(), 3u);
}

TEST_F(RecordingFixture, TextureTexelsReadBackAsArgb) {
    RecordingDevice* device = makeDevice();
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(3, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
    EXPECT_EQ(locked.Pitch, 12);
    auto* row1 = static_cast<std::uint8_t*>(locked.pBits) + locked.Pitch;
    const std::uint8_t bgra[4] = {0x11, 0x22, 0x33, 0x44};
    std::memcpy(row1 + 2 * 4, bgra, 4);
    ASSERT_EQ(texture->UnlockRect(0), S_OK);

    RECT rect{2, 1, 3, 2};
    ASSERT_EQ(texture->LockRect(0, &locked, &rect, 0), S_OK);
    EXPECT_EQ(std::memcmp(locked.pBits, bgra, 4), 0);
    texture->UnlockRect(0);

    platform::RecordingTexture* ours = rec.textures().at(0);
    EXPECT_EQ(ours->width, 3u);
    EXPECT_EQ(ours->height, 2u);
    EXPECT_EQ(ours->creationIndex, 0);
    EXPECT_EQ(ours->texel(2, 1), 0x44332211u);
    EXPECT_EQ(ours->texel(0, 0), 0u);
    EXPECT_EQ(ours->texel(3, 0), 0u);

    EXPECT_EQ(texture->LockRect(1, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    RECT outside{2, 1, 4, 2};
    EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(0, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(100000, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_OUTOFVIDEOMEMORY);
}

TEST_F(RecordingFixture, SetTextureRecordsWhichTextureWasBound) {
    RecordingDevice* device = makeDevice();
    IDirect3DTexture9* first = nullptr;
    IDirect3DTexture9* second = nullptr;
    device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &first, nullptr);
    device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &second, nullptr);
    device->SetTexture(0, second);
    device->SetTexture(0, first);
    device->SetTexture(0, nullptr);

    auto bound = rec.callsNamed("SetTexture");
    ASSERT_EQ(bound.size(), 3u);
    EXPECT_EQ(bound[0]->object, second);
    EXPECT_EQ(bound[0]->texture()->creationIndex, 1);
    EXPECT_EQ(bound[1]->texture()->width, 1u);
    EXPECT_EQ(bound[2]->texture(), nullptr);
    EXPECT_EQ(device->texture(), nullptr);
    EXPECT_EQ(device->SetTexture(1, first), D3DERR_INVALIDCALL);
}

TEST_F(RecordingFixture, DeviceStartsWithDirect3DDefaultsAndTracksState) {
    RecordingDevice* device = makeDevice();
    EXPECT_EQ(device->renderState(D3DRS_LIGHTING), TRUE);
    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), D3DCULL_CCW);
    EXPECT_EQ(device->renderState(D3DRS_ZENABLE), D3DZB_TRUE);
    EXPECT_EQ(device->renderState(D3DRS_ZFUNC), D3DCMP_LESSEQUAL);
    EXPECT_EQ(device->transform(D3DTS_PROJECTION)._11, 1.0f);
    EXPECT_EQ(device->transform(D3DTS_PROJECTION)._12, 0.0f);

    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    D3DMATRIX m{};
    m._41 = 7.0f;
    device->SetTransform(D3DTS_WORLD, &m);
    D3DMATERIAL9 material{};
    material.Diffuse.r = 0.5f;
    device->SetMaterial(&material);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FFu, 1.0f, 0);

    EXPECT_EQ(device->renderState(D3DRS_LIGHTING), FALSE);
    EXPECT_EQ(device->transform(D3DTS_WORLD)._41, 7.0f);
    EXPECT_EQ(device->material().Diffuse.r, 0.5f);
    const platform::RecordedCall& world = *rec.callsNamed("SetTransform").at(0);
    EXPECT_EQ(world.ints.at(0), D3DTS_WORLD);
    EXPECT_EQ(world.matrix._41, 7.0f);
    EXPECT_EQ(rec.callsNamed("SetMaterial").at(0)->material.Diffuse.r, 0.5f);
    const platform::RecordedCall& clear = *rec.callsNamed("Clear").at(0);
    EXPECT_EQ(clear.ints, (std::vector<std::int64_t>{0, 3, 0xFF0000FF, 0}));
    EXPECT_EQ(clear.floats, (std::vector<float>{1.0f}));
    EXPECT_EQ(device->SetTransform(D3DTS_VIEW, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(RecordingFixture, ReleaseCountsDownAndLaterCallsAreMisuses) {
    RecordingDevice* device = makeDevice();
    EXPECT_EQ(device->refCount(), 1u);
    EXPECT_EQ(device->AddRef(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_FALSE(device->released());
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_TRUE(device->released());
    EXPECT_TRUE(rec.misuses().empty());

    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(rec.misuses().size(), 2u);
    auto releases = rec.callsNamed("Release");
    ASSERT_EQ(releases.size(), 3u);
    EXPECT_EQ(releases[0]->object, device);
}

}  // namespace
