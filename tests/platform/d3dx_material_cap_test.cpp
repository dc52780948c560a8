// The cap on the material data a .x load builds: the running count that cannot wrap, the
// sharing of a material listed many times, and the load that fails cleanly past the cap.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "d3dx_test_support.h"
#include "platform/d3dx/material_buffer.h"
#include "platform/d3dx/xfile_mesh_builder.h"
#include "platform/d3dx/xfile_parser.h"
#include "platform/d3dx9.h"
#include "support/xfile_material_flood.h"

namespace {

using platform::d3dx::kMaxMaterialBytes;
using platform::d3dx::MaterialBytes;

constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();

std::optional<std::vector<platform::d3dx::XMesh>> parse(const std::string& file) {
    return platform::d3dx::parseXFile(reinterpret_cast<const unsigned char*>(file.data()), file.size());
}

TEST(MaterialBytes, HugeCountsAreRefusedWithoutWrapping) {
    MaterialBytes bytes;
    EXPECT_FALSE(bytes.addRecords(kHuge));
    EXPECT_FALSE(bytes.addRecords(kHuge / sizeof(D3DXMATERIAL) + 1)) << "the product would wrap to a small number";
    EXPECT_FALSE(bytes.addName(kHuge)) << "length + 1 would wrap to 0";
    EXPECT_FALSE(bytes.addName(kHuge - 1));
    EXPECT_EQ(bytes.total(), 0u) << "a refused add leaves the total alone";
    EXPECT_TRUE(bytes.addRecords(0));
    EXPECT_TRUE(bytes.addName(0));
    EXPECT_EQ(bytes.total(), 1u) << "an empty name still has its null";
}

TEST(MaterialBytes, TheTotalThatADwordWouldTruncateIsRefused) {
    // The reported file: 21 references to one material whose name makes the total 2^32 + 17,
    // which a DWORD holds as 17.
    const std::size_t nameLength = ((std::uint64_t{1} << 32) + 17) / 21 - sizeof(D3DXMATERIAL) - 1;  // about 204 MB
    ASSERT_EQ(21 * (sizeof(D3DXMATERIAL) + nameLength + 1), (std::uint64_t{1} << 32) + 17);
    MaterialBytes bytes;
    int accepted = 0;
    for (int i = 0; i < 21; ++i) {
        if (bytes.addRecords(1) && bytes.addName(nameLength)) ++accepted;
    }
    EXPECT_EQ(accepted, 0) << "one such name is already past the cap";
    EXPECT_LE(bytes.total(), kMaxMaterialBytes);
}

TEST(MaterialBytes, FillsExactlyToTheCapAndNoFurther) {
    MaterialBytes bytes;
    ASSERT_TRUE(bytes.addRecords(2));
    const std::size_t room = kMaxMaterialBytes - bytes.total();
    EXPECT_FALSE(bytes.addName(room)) << "its null would be one byte over";
    EXPECT_TRUE(bytes.addName(room - 1));
    EXPECT_EQ(bytes.total(), kMaxMaterialBytes);
    EXPECT_FALSE(bytes.addName(0));
    EXPECT_FALSE(bytes.addRecords(1));
    EXPECT_TRUE(bytes.addRecords(0));

    platform::d3dx::XMaterial textured;
    textured.hasTexture = true;
    textured.textureFile = "t.png";
    MaterialBytes partly;
    ASSERT_TRUE(partly.addRecords((kMaxMaterialBytes - 4) / sizeof(D3DXMATERIAL)));
    const std::size_t before = partly.total();
    EXPECT_FALSE(partly.addMaterial(textured)) << "the record fits, its name does not";
    EXPECT_EQ(partly.total(), before) << "a material is counted whole or not at all";
}

TEST(MaterialCap, AReferencedMaterialIsSharedNotCopied) {
    const auto meshes = parse(materialFloodFile(1000, 50));
    ASSERT_TRUE(meshes);
    const platform::d3dx::XMaterialList& materials = (*meshes)[0].materials;
    ASSERT_EQ(materials.size(), 50u);
    for (std::size_t i = 1; i < materials.size(); ++i) {
        EXPECT_EQ(&materials[i], &materials[0]) << i;
    }
    const platform::d3dx::BuiltMesh built = platform::d3dx::buildMesh(*meshes);
    ASSERT_FALSE(built.materialsTooLarge);
    ASSERT_EQ(built.materials.size(), 50u);
    EXPECT_EQ(&built.materials[49], &materials[0]);
}

TEST(MaterialCap, TheBuilderRefusesAListPastTheCapBeforeBuildingAnything) {
    // 0.5 MB of file, a gigabyte of material records and names.
    const auto meshes = parse(materialFloodFile(500000, 2000));
    ASSERT_TRUE(meshes) << "the file itself is well formed";
    const platform::d3dx::BuiltMesh built = platform::d3dx::buildMesh(*meshes);
    EXPECT_TRUE(built.materialsTooLarge);
    EXPECT_TRUE(built.materials.empty());
    EXPECT_TRUE(built.data.vertices.empty());
    EXPECT_TRUE(built.data.attributes.empty());
    EXPECT_EQ(platform::d3dx::createMaterialBuffer((*meshes)[0].materials), nullptr);
}

struct LoadPastTheCap : ::testing::Test {
    platform::Recording& rec = platform::installRecordingDirect3D();
    platform::RecordingDevice* device = platform::createRecordingDevice();
    d3dxtest::ScratchDir dir;
};

TEST_F(LoadPastTheCap, FailsAlsoWhenTheCallerAsksForNoMaterials) {
    const std::string file = dir.write("flood.x", materialFloodFile(500000, 2000));
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(D3DXLoadMeshFromXA(file.c_str(), 0, device, nullptr, nullptr, nullptr, nullptr, &mesh),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(mesh, nullptr);
    EXPECT_TRUE(rec.vertexBuffers().empty()) << "refused before the mesh is made";
}

TEST_F(LoadPastTheCap, MaterialsJustUnderTheCapStillLoadVerbatim) {
    // 100 records and names of 600,000 characters: about 60 MB of material data.
    const std::size_t nameLength = 600000;
    ASSERT_LT(100 * (sizeof(D3DXMATERIAL) + nameLength + 1), kMaxMaterialBytes);
    const std::string file = dir.write("near.x", materialFloodFile(nameLength, 100));
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    ASSERT_EQ(D3DXLoadMeshFromXA(file.c_str(), D3DXMESH_MANAGED, device, nullptr, &materials, nullptr, &count, &mesh),
              S_OK);
    ASSERT_EQ(count, 100u);
    EXPECT_EQ(materials->GetBufferSize(), 100 * (sizeof(D3DXMATERIAL) + nameLength + 1));
    const auto* records = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    const std::string expected(nameLength, 'a');
    for (DWORD i = 0; i < count; ++i) {
        ASSERT_NE(records[i].pTextureFilename, nullptr);
        EXPECT_EQ(records[i].pTextureFilename, expected) << i;
    }
    EXPECT_EQ(records[0].MatD3D.Diffuse.r, 1.0f);
    materials->Release();
    mesh->Release();
    EXPECT_TRUE(d3dxtest::allReleased(rec));
}

}  // namespace
