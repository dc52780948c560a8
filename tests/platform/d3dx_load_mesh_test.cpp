#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "d3dx_test_support.h"
#include "d3dx_xfile_samples.h"
#include "platform/d3dx9.h"
#include "support/xfile_material_flood.h"

namespace {

using Triangle = std::array<std::array<float, 3>, 3>;

struct LoadMeshTest : ::testing::Test {
    platform::Recording& rec = platform::installRecordingDirect3D();
    platform::RecordingDevice* device = platform::createRecordingDevice();
    d3dxtest::ScratchDir dir;

    // The triangles DrawSubset(attribute) draws, read back from the bound buffers.
    std::vector<Triangle> drawnTriangles(ID3DXMesh* mesh, DWORD attribute) {
        rec.clearCalls();
        EXPECT_EQ(mesh->DrawSubset(attribute), S_OK);
        std::vector<Triangle> triangles;
        const auto draws = rec.callsNamed("DrawIndexedPrimitive");
        if (draws.empty()) return triangles;
        EXPECT_EQ(draws.size(), 1u);
        const auto vertices = d3dxtest::verticesOf(*rec.callsNamed("SetStreamSource")[0]->vertexBuffer());
        const auto indices = d3dxtest::indicesOf(*rec.callsNamed("SetIndices")[0]->indexBuffer());
        const auto start = static_cast<std::size_t>(draws[0]->ints[4]);
        for (std::int64_t face = 0; face < draws[0]->ints[5]; ++face) {
            Triangle triangle;
            for (int corner = 0; corner < 3; ++corner) {
                const float* p = vertices[indices[start + face * 3 + corner]].position;
                triangle[corner] = {p[0], p[1], p[2]};
            }
            triangles.push_back(triangle);
        }
        std::sort(triangles.begin(), triangles.end());
        return triangles;
    }
};

TEST_F(LoadMeshTest, TextAndBinaryTwinsLoadTheSameMeshAndMaterials) {
    const std::string files[] = {dir.write("sample.x", d3dxtest::kTextSample),
                                 dir.write("sample-bin.x", d3dxtest::binarySample())};
    std::vector<std::uint8_t> firstVertices, firstIndices;
    device->BeginScene();
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        rec.reset();
        ID3DXMesh* mesh = nullptr;
        ID3DXBuffer* materials = nullptr;
        DWORD count = 0;
        ASSERT_EQ(D3DXLoadMeshFromXA(file.c_str(), D3DXMESH_MANAGED, device, nullptr, &materials, nullptr, &count,
                                     &mesh),
                  S_OK);
        EXPECT_EQ(mesh->GetNumFaces(), 4u);
        EXPECT_EQ(mesh->GetNumVertices(), 8u);
        EXPECT_EQ(rec.vertexBuffers()[0]->pool, D3DPOOL_MANAGED);
        EXPECT_EQ(rec.indexBuffers()[0]->format, D3DFMT_INDEX16);

        ASSERT_EQ(count, 2u);
        ASSERT_GE(materials->GetBufferSize(), 2 * sizeof(D3DXMATERIAL));
        const auto* records = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
        EXPECT_EQ(records[0].MatD3D.Diffuse.r, 1.0f);
        EXPECT_EQ(records[0].MatD3D.Diffuse.g, 0.0f);
        EXPECT_EQ(records[0].MatD3D.Power, 20.0f);
        EXPECT_EQ(records[0].MatD3D.Specular.g, 0.3f);
        EXPECT_EQ(records[0].MatD3D.Ambient.r, 0.0f);
        ASSERT_NE(records[0].pTextureFilename, nullptr);
        EXPECT_STREQ(records[0].pTextureFilename, "texture/red stone.png");
        const char* begin = static_cast<const char*>(materials->GetBufferPointer());
        EXPECT_TRUE(records[0].pTextureFilename > begin &&
                    records[0].pTextureFilename < begin + materials->GetBufferSize())
            << "the name lives in the same buffer";
        EXPECT_EQ(records[1].MatD3D.Diffuse.a, 0.25f);
        EXPECT_EQ(records[1].MatD3D.Emissive.b, 0.6f);
        EXPECT_EQ(records[1].pTextureFilename, nullptr);

        // Faces take materials 1, 0, 1: material 0 is the second face; material 1 the quad, fanned,
        // and the third face.
        EXPECT_EQ(drawnTriangles(mesh, 0), (std::vector<Triangle>{{{{0, 0, 0}, {1, 0, 0}, {0.5f, 0.5f, 1}}}}));
        EXPECT_EQ(drawnTriangles(mesh, 1), (std::vector<Triangle>{{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}},
                                                                  {{{0, 0, 0}, {1, 1, 0}, {0, 1, 0}}},
                                                                  {{{1, 0, 0}, {1, 1, 0}, {0.5f, 0.5f, 1}}}}));
        EXPECT_TRUE(drawnTriangles(mesh, 2).empty());
        EXPECT_TRUE(rec.misuses().empty()) << rec.misuses().front();

        if (firstVertices.empty()) {
            firstVertices = rec.vertexBuffers()[0]->bytes();
            firstIndices = rec.indexBuffers()[0]->bytes();
        } else {
            EXPECT_EQ(rec.vertexBuffers()[0]->bytes(), firstVertices);
            EXPECT_EQ(rec.indexBuffers()[0]->bytes(), firstIndices);
        }
        materials->Release();
        mesh->Release();
        EXPECT_TRUE(d3dxtest::allReleased(rec));
    }
}

TEST_F(LoadMeshTest, AdjacencyOnRequestAndNoEffects) {
    const std::string file = dir.write("sample.x", d3dxtest::kTextSample);
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* effects = reinterpret_cast<ID3DXBuffer*>(0x1);
    ASSERT_EQ(D3DXLoadMeshFromXA(file.c_str(), 0, device, &adjacency, nullptr, &effects, nullptr, &mesh), S_OK);
    EXPECT_EQ(rec.vertexBuffers()[0]->pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(effects, nullptr);
    ASSERT_EQ(adjacency->GetBufferSize(), 4u * 3 * sizeof(DWORD));
    // Faces in index-buffer order (by material): the second face, the quad's halves, the third
    // face. Split vertices still join their faces.
    const auto* across = static_cast<const DWORD*>(adjacency->GetBufferPointer());
    const DWORD none = 0xFFFFFFFF;
    EXPECT_EQ(std::vector<DWORD>(across, across + 12),
              (std::vector<DWORD>{1, 3, none, 0, 3, 2, 1, none, none, 1, none, 0}));
    adjacency->Release();
    mesh->Release();
}

TEST_F(LoadMeshTest, FailuresReturnACodeAndWriteNoOutPointer) {
    const std::string good = dir.write("good.x", d3dxtest::kTextSample);
    const std::string bad = dir.write("bad.x", d3dxtest::replacedOnce(d3dxtest::kTextSample, "1,0,1;;", "1,0,7;;"));
    const std::string flood = dir.write("flood.x", materialFloodFile(500000, 2000));
    struct Case {
        const char* what;
        std::string file;
        const char* failingCall;  // or null
        HRESULT expected;
    };
    const Case cases[] = {
        {"missing file", dir.path("missing.x"), nullptr, E_FAIL},
        {"a directory", dir.path(""), nullptr, E_FAIL},
        {"malformed file", bad, nullptr, D3DXERR_INVALIDDATA},
        // Half a megabyte naming a gigabyte of materials: refused before anything is made.
        {"material data past the cap", flood, nullptr, D3DXERR_INVALIDDATA},
        {"vertex buffer refused", good, "CreateVertexBuffer", D3DERR_OUTOFVIDEOMEMORY},
        {"index buffer not locked", good, "IndexBuffer.Lock", D3DERR_OUTOFVIDEOMEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rec.reset();
        if (c.failingCall) rec.failCall(c.failingCall, D3DERR_OUTOFVIDEOMEMORY);
        auto* const sentinelMesh = reinterpret_cast<ID3DXMesh*>(0x10);
        auto* const sentinelBuffer = reinterpret_cast<ID3DXBuffer*>(0x20);
        ID3DXMesh* mesh = sentinelMesh;
        ID3DXBuffer* materials = sentinelBuffer;
        ID3DXBuffer* adjacency = sentinelBuffer;
        DWORD count = 77;
        EXPECT_EQ(D3DXLoadMeshFromXA(c.file.c_str(), D3DXMESH_MANAGED, device, &adjacency, &materials, nullptr, &count,
                                     &mesh),
                  c.expected);
        EXPECT_EQ(mesh, sentinelMesh);
        EXPECT_EQ(materials, sentinelBuffer);
        EXPECT_EQ(adjacency, sentinelBuffer);
        EXPECT_EQ(count, 77u);
        EXPECT_TRUE(d3dxtest::allReleased(rec));
        EXPECT_EQ(device->refCount(), 1u);
    }

    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(D3DXLoadMeshFromXA(nullptr, 0, device, nullptr, nullptr, nullptr, nullptr, &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXLoadMeshFromXA(good.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, &mesh),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXLoadMeshFromXA(good.c_str(), 0, device, nullptr, nullptr, nullptr, nullptr, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(mesh, nullptr);
}

TEST_F(LoadMeshTest, TheGamesBallLoadsWithItsOneTexturedMaterial) {
    const std::string file = std::string(QUORVEL_SOURCE_DIR) + "/game/boule.x";
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    ASSERT_EQ(D3DXLoadMeshFromXA(file.c_str(), D3DXMESH_MANAGED, device, nullptr, &materials, nullptr, &count, &mesh),
              S_OK);
    ASSERT_EQ(count, 1u);
    const auto* record = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    EXPECT_STREQ(record->pTextureFilename, "texture/cubepurple.png");
    device->BeginScene();
    rec.clearCalls();
    EXPECT_EQ(mesh->DrawSubset(0), S_OK);
    EXPECT_EQ(rec.count("DrawIndexedPrimitive"), 1u);
    EXPECT_EQ(rec.callsNamed("DrawIndexedPrimitive")[0]->ints[5], static_cast<std::int64_t>(mesh->GetNumFaces()));
    EXPECT_TRUE(rec.misuses().empty());
    materials->Release();
    mesh->Release();
}

}  // namespace
