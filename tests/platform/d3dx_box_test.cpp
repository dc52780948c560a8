#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

#include "d3dx_test_support.h"
#include "platform/d3dx9.h"

namespace {

using platform::d3dx::MeshVertex;

struct BoxTest : ::testing::Test {
    platform::Recording& rec = platform::installRecordingDirect3D();
    platform::RecordingDevice* device = platform::createRecordingDevice();
};

std::array<float, 3> minus(const float* a, const float* b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

TEST_F(BoxTest, SizedBoxesAreCentredWithAFaceOfTheirOwnPerSide) {
    const std::array<float, 3> sizes[] = {{1, 1, 1}, {2, 4, 6}, {0.5f, 3, 1}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1] << " x " << size[2]);
        rec.reset();
        ID3DXMesh* box = nullptr;
        ID3DXBuffer* adjacency = nullptr;
        ASSERT_EQ(D3DXCreateBox(device, size[0], size[1], size[2], &box, &adjacency), S_OK);
        EXPECT_EQ(box->GetNumVertices(), 24u);
        EXPECT_EQ(box->GetNumFaces(), 12u);
        ASSERT_EQ(rec.vertexBuffers().size(), 1u);
        ASSERT_EQ(rec.indexBuffers().size(), 1u);
        const auto vertices = d3dxtest::verticesOf(*rec.vertexBuffers()[0]);
        const auto indices = d3dxtest::indicesOf(*rec.indexBuffers()[0]);
        ASSERT_EQ(vertices.size(), 24u);
        ASSERT_EQ(indices.size(), 36u);
        EXPECT_EQ(rec.vertexBuffers()[0]->fvf, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);

        std::set<std::array<float, 3>> normals;
        for (const MeshVertex& v : vertices) {
            // Every vertex is a corner, and lies on the face its normal names.
            float along = 0.0f;
            for (int axis = 0; axis < 3; ++axis) {
                EXPECT_FLOAT_EQ(std::fabs(v.position[axis]), size[axis] / 2);
                along += v.normal[axis] * v.position[axis] / (size[axis] / 2);
            }
            EXPECT_FLOAT_EQ(along, 1.0f);
            normals.insert({v.normal[0], v.normal[1], v.normal[2]});
        }
        EXPECT_EQ(normals.size(), 6u);

        for (int face = 0; face < 12; ++face) {
            const MeshVertex& a = vertices[indices[face * 3]];
            const MeshVertex& b = vertices[indices[face * 3 + 1]];
            const MeshVertex& c = vertices[indices[face * 3 + 2]];
            // Clockwise from outside (Direct3D's front): (b - a) × (c - a) points out.
            const auto ab = minus(b.position, a.position), ac = minus(c.position, a.position);
            const std::array<float, 3> n = {ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2],
                                            ab[0] * ac[1] - ab[1] * ac[0]};
            EXPECT_GT(n[0] * a.normal[0] + n[1] * a.normal[1] + n[2] * a.normal[2], 0.0f) << "face " << face;
        }
        box->Release();
        adjacency->Release();
    }
}

TEST_F(BoxTest, EachSideShowsTheWholeTextureTheRightWayUp) {
    ID3DXMesh* box = nullptr;
    ASSERT_EQ(D3DXCreateBox(device, 1, 1, 1, &box, nullptr), S_OK);
    const auto vertices = d3dxtest::verticesOf(*rec.vertexBuffers()[0]);
    for (int side = 0; side < 6; ++side) {
        std::set<std::array<float, 2>> corners;
        for (int corner = 0; corner < 4; ++corner) {
            const MeshVertex& v = vertices[side * 4 + corner];
            corners.insert({v.texCoord[0], v.texCoord[1]});
            // Sides: texture v = 0 on top.
            if (v.normal[1] == 0.0f) {
                EXPECT_EQ(v.texCoord[1], v.position[1] > 0 ? 0.0f : 1.0f);
            }
        }
        EXPECT_EQ(corners, (std::set<std::array<float, 2>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}})) << "side " << side;
    }
    // The side that faces a camera looking along +z has u growing to the right (+x).
    for (int corner = 0; corner < 24; ++corner) {
        const MeshVertex& v = vertices[corner];
        if (v.normal[2] == -1.0f) {
            EXPECT_EQ(v.texCoord[0], v.position[0] > 0 ? 1.0f : 0.0f);
        }
    }
    box->Release();
}

TEST_F(BoxTest, AdjacencyJoinsEveryEdgeToTheFaceAcrossIt) {
    ID3DXMesh* box = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    ASSERT_EQ(D3DXCreateBox(device, 1, 1, 1, &box, &adjacency), S_OK);
    ASSERT_EQ(adjacency->GetBufferSize(), 36u * sizeof(DWORD));
    const auto* across = static_cast<const DWORD*>(adjacency->GetBufferPointer());
    for (DWORD face = 0; face < 12; ++face) {
        for (int edge = 0; edge < 3; ++edge) {
            const DWORD other = across[face * 3 + edge];
            ASSERT_LT(other, 12u) << "a closed box has no open edge";
            EXPECT_NE(other, face);
            const DWORD* back = across + other * 3;
            EXPECT_TRUE(back[0] == face || back[1] == face || back[2] == face) << face << " and " << other;
        }
    }
    box->Release();
    adjacency->Release();
}

TEST_F(BoxTest, OneSubsetDrawnWithOneCall) {
    ID3DXMesh* box = nullptr;
    ASSERT_EQ(D3DXCreateBox(device, 1, 1, 1, &box, nullptr), S_OK);
    device->BeginScene();
    rec.clearCalls();
    EXPECT_EQ(box->DrawSubset(0), S_OK);
    std::vector<std::string> names;
    for (const auto& call : rec.calls()) {
        names.push_back(call.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"SetFVF", "SetStreamSource", "SetIndices", "DrawIndexedPrimitive"}));
    EXPECT_EQ(rec.callsNamed("DrawIndexedPrimitive")[0]->ints,
              (std::vector<std::int64_t>{D3DPT_TRIANGLELIST, 0, 0, 24, 0, 12}));
    EXPECT_EQ(rec.callsNamed("SetStreamSource")[0]->ints, (std::vector<std::int64_t>{0, 0, 32}));

    rec.clearCalls();
    EXPECT_EQ(box->DrawSubset(1), S_OK);
    EXPECT_TRUE(rec.calls().empty()) << "no faces carry attribute 1";
    EXPECT_TRUE(rec.misuses().empty()) << rec.misuses().front();
    box->Release();
}

TEST_F(BoxTest, ReleasingTheMeshReleasesItsBuffersAndItsHoldOnTheDevice) {
    ID3DXMesh* box = nullptr;
    ASSERT_EQ(D3DXCreateBox(device, 1, 1, 1, &box, nullptr), S_OK);
    EXPECT_EQ(device->refCount(), 2u);
    EXPECT_EQ(box->AddRef(), 2u);
    EXPECT_EQ(box->Release(), 1u);
    EXPECT_FALSE(rec.vertexBuffers()[0]->released());
    EXPECT_EQ(box->Release(), 0u);
    EXPECT_TRUE(d3dxtest::allReleased(rec));
    EXPECT_EQ(device->refCount(), 1u);
}

TEST_F(BoxTest, BadCallsAndDeviceFailuresLeaveNothingBehind) {
    ID3DXMesh* const untouched = reinterpret_cast<ID3DXMesh*>(0x1234);
    ID3DXMesh* box = untouched;
    EXPECT_EQ(D3DXCreateBox(nullptr, 1, 1, 1, &box, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateBox(device, 1, 1, 1, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateBox(device, -1, 1, 1, &box, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateBox(device, 1, NAN, 1, &box, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(box, untouched);

    const char* failing[] = {"CreateVertexBuffer", "VertexBuffer.Lock", "CreateIndexBuffer", "IndexBuffer.Lock"};
    for (const char* call : failing) {
        SCOPED_TRACE(call);
        rec.reset();
        rec.failCall(call, D3DERR_OUTOFVIDEOMEMORY);
        ID3DXBuffer* adjacency = nullptr;
        EXPECT_EQ(D3DXCreateBox(device, 1, 1, 1, &box, &adjacency), D3DERR_OUTOFVIDEOMEMORY);
        EXPECT_EQ(box, untouched);
        EXPECT_EQ(adjacency, nullptr);
        EXPECT_TRUE(d3dxtest::allReleased(rec));
        EXPECT_EQ(device->refCount(), 1u);
    }
}

}  // namespace
