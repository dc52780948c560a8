#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3d9/recording_device.h"

namespace {

// A device with four vertices and the indices 0 1 2 2 1 3 bound, inside a scene.
struct DrawFixture : ::testing::Test {
    platform::Recording& rec = platform::installRecordingDirect3D();
    platform::RecordingDevice* device = platform::createRecordingDevice();
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;

    void SetUp() override {
        ASSERT_EQ(device->CreateVertexBuffer(4 * 12, 0, D3DFVF_XYZ, D3DPOOL_MANAGED, &vb, nullptr), S_OK);
        ASSERT_EQ(device->CreateIndexBuffer(6 * 2, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr), S_OK);
        void* data = nullptr;
        ASSERT_EQ(ib->Lock(0, 0, &data, 0), S_OK);
        const std::uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
        std::memcpy(data, indices, sizeof indices);
        ib->Unlock();
        device->SetFVF(D3DFVF_XYZ);
        device->SetStreamSource(0, vb, 0, 12);
        device->SetIndices(ib);
        device->BeginScene();
    }
};

TEST_F(DrawFixture, DrawsWithinTheBuffersAreAccepted) {
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), S_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 1, 3, 3, 1), S_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, 0, 4, 0, 4), S_OK);
    EXPECT_TRUE(rec.misuses().empty());
    const platform::RecordedCall& draw = *rec.callsNamed("DrawIndexedPrimitive").at(1);
    EXPECT_EQ(draw.ints, (std::vector<std::int64_t>{D3DPT_TRIANGLELIST, 0, 1, 3, 3, 1}));
    EXPECT_EQ(rec.count("DrawIndexedPrimitive"), 3u);
}

TEST_F(DrawFixture, DrawsThatReadOutsideTheirBuffersAreRefused) {
    struct Case {
        const char* what;
        INT base;
        UINT minIndex, numVertices, startIndex, primitives;
    };
    const Case cases[] = {
        {"past the index buffer", 0, 0, 4, 3, 2},
        {"vertex past the vertex buffer", 1, 0, 4, 0, 2},
        {"negative vertex", -1, 0, 4, 0, 1},
        {"index below minVertexIndex", 0, 1, 3, 0, 1},
        {"index past the declared range", 0, 0, 3, 0, 2},
        {"no primitives", 0, 0, 4, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, c.base, c.minIndex, c.numVertices,
                                               c.startIndex, c.primitives),
                  D3DERR_INVALIDCALL)
            << c.what;
    }
    EXPECT_EQ(rec.misuses().size(), std::size(cases));
}

TEST_F(DrawFixture, DrawingFromALockedOrUnboundBufferIsRefused) {
    void* data = nullptr;
    vb->Lock(0, 0, &data, 0);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    vb->Unlock();
    device->SetIndices(nullptr);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(rec.misuses().size(), 2u);
}

TEST_F(DrawFixture, ADrawOutsideASceneIsNotedButDone) {
    device->EndScene();
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), S_OK);
    ASSERT_EQ(rec.misuses().size(), 1u);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
}

}  // namespace
