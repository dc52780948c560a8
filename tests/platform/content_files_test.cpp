// The shipped ball mesh and tile textures, read by our own D3DX over the recording device, as
// the game's start-up reads them.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "d3dx_test_support.h"
#include "platform/d3dx9.h"

namespace {

const std::filesystem::path gameDir = std::filesystem::path(QUORVEL_SOURCE_DIR) / "game";

struct ShippedFiles : ::testing::Test {
    platform::Recording& rec = platform::installRecordingDirect3D();
    platform::RecordingDevice* device = platform::createRecordingDevice();
};

TEST_F(ShippedFiles, TheBallIsATexturedSphereOfRadiusOne)
{
    const std::string path = (gameDir / "boule.x").string();
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    ASSERT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_MANAGED, device, nullptr, &materials, nullptr, &count, &mesh),
              S_OK);

    // One material, and its texture is a file the game finds from its working directory.
    ASSERT_EQ(count, 1u);
    const auto* material = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    ASSERT_NE(material->pTextureFilename, nullptr);
    EXPECT_TRUE(std::filesystem::is_regular_file(gameDir / material->pTextureFilename))
        << material->pTextureFilename;
    EXPECT_GT(material->MatD3D.Diffuse.a, 0.0f);

    ASSERT_GT(mesh->GetNumFaces(), 100u);
    const auto vertices = d3dxtest::verticesOf(*rec.vertexBuffers().at(0));
    ASSERT_EQ(vertices.size(), mesh->GetNumVertices());
    float top = -2.0f, bottom = 2.0f;
    for (const auto& v : vertices) {
        const float* p = v.position;
        EXPECT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 1.0f, 1e-5f);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(v.normal[axis], p[axis], 1e-5f);  // outward, unit length
        for (float t : v.texCoord) {
            EXPECT_GE(t, 0.0f);
            EXPECT_LE(t, 1.0f);
        }
        top = std::fmax(top, p[1]);
        bottom = std::fmin(bottom, p[1]);
    }
    EXPECT_FLOAT_EQ(top, 1.0f);
    EXPECT_FLOAT_EQ(bottom, -1.0f);

    // The game draws subset 0 of the ball: it must hold every face.
    device->BeginScene();
    rec.clearCalls();
    EXPECT_EQ(mesh->DrawSubset(0), S_OK);
    const auto draws = rec.callsNamed("DrawIndexedPrimitive");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(static_cast<DWORD>(draws[0]->ints.at(5)), mesh->GetNumFaces());
    EXPECT_TRUE(rec.misuses().empty());

    materials->Release();
    mesh->Release();
}

struct Average {
    double red = 0, green = 0, blue = 0;
    double brightness() const { return (red + green + blue) / 3.0; }
};

Average averageOf(const platform::RecordingTexture& texture)
{
    Average sum;
    const auto& bgra = texture.pixels();
    const double texels = static_cast<double>(bgra.size() / 4);
    for (std::size_t i = 0; i + 3 < bgra.size(); i += 4) {
        sum.blue += bgra[i] / texels;
        sum.green += bgra[i + 1] / texels;
        sum.red += bgra[i + 2] / texels;
    }
    return sum;
}

TEST_F(ShippedFiles, TheTileTexturesLoadAndStandApart)
{
    const char* names[] = {"texture/cubeb.png", "texture/cuben.png", "texture/cubepurple.png"};
    Average averages[3];
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        const std::string path = (gameDir / names[i]).string();
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileA(device, path.c_str(), &texture), S_OK);
        const auto* loaded = rec.textures().back();
        // Square powers of two suit every OpenGL the game may meet.
        EXPECT_EQ(loaded->width, loaded->height);
        EXPECT_EQ(loaded->width & (loaded->width - 1), 0u);
        EXPECT_GE(loaded->width, 64u);
        averages[i] = averageOf(*loaded);
        texture->Release();
    }
    // Neighbouring tiles must read apart in a 300 × 300 window, and the goal must not look like
    // ground: light and dark ground, and a purple that is neither.
    EXPECT_GT(averages[0].brightness() - averages[1].brightness(), 60.0);
    const Average& purple = averages[2];
    EXPECT_GT(purple.red, purple.green + 40.0);
    EXPECT_GT(purple.blue, purple.green + 40.0);
    EXPECT_GT(purple.blue, averages[0].blue + 40.0);
}

}  // namespace
