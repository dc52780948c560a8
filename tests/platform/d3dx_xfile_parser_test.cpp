#include <gtest/gtest.h>

#include <cmath>

#include "d3dx_xfile_samples.h"
#include "platform/d3dx/xfile_mesh_builder.h"
#include "platform/d3dx/xfile_parser.h"

namespace {

using platform::d3dx::XMesh;

std::optional<std::vector<XMesh>> parse(const std::string& file) {
    return platform::d3dx::parseXFile(reinterpret_cast<const unsigned char*>(file.data()), file.size());
}

const std::string kHeader = "xof 0303txt 0032\n";

TEST(XFileParser, ReadsTheSampleMeshWithItsMaterialsInFileOrder) {
    for (const std::string& file : {d3dxtest::kTextSample, d3dxtest::binarySample()}) {
        const auto meshes = parse(file);
        ASSERT_TRUE(meshes);
        ASSERT_EQ(meshes->size(), 1u);
        const XMesh& mesh = (*meshes)[0];
        EXPECT_EQ(mesh.positions.size(), 5u);
        EXPECT_EQ(mesh.faceSizes, (std::vector<DWORD>{4, 3, 3}));
        EXPECT_EQ(mesh.faceIndices, (std::vector<DWORD>{0, 1, 2, 3, 0, 1, 4, 1, 2, 4}));
        EXPECT_EQ(mesh.normalIndices, (std::vector<DWORD>{0, 0, 0, 0, 1, 1, 1, 1, 1, 1}));
        EXPECT_EQ(mesh.texCoords[4], (std::array<float, 2>{0.5f, 0.5f}));
        EXPECT_EQ(mesh.faceMaterials, (std::vector<DWORD>{1, 0, 1}));
        ASSERT_EQ(mesh.materials.size(), 2u);
        EXPECT_EQ(mesh.materials[0].faceColor, (std::array<float, 4>{1, 0, 0, 1}));
        EXPECT_TRUE(mesh.materials[0].hasTexture);
        EXPECT_EQ(mesh.materials[0].textureFile, "texture/red stone.png");
        EXPECT_EQ(mesh.materials[1].faceColor, (std::array<float, 4>{0.0f, 0.5f, 1.0f, 0.25f}));
        EXPECT_EQ(mesh.materials[1].power, 8.0f);
        EXPECT_EQ(mesh.materials[1].emissive, (std::array<float, 3>{0.4f, 0.5f, 0.6f}));
        EXPECT_FALSE(mesh.materials[1].hasTexture);
    }
}

TEST(XFileParser, MalformedFilesAreRefused) {
    const std::string& s = d3dxtest::kTextSample;
    struct Case {
        const char* what;
        std::string file;
    };
    const Case cases[] = {
        {"empty", ""},
        {"short header", "xof 0303txt"},
        {"wrong magic", d3dxtest::replacedOnce(s, "xof ", "XOF ")},
        {"wrong version", d3dxtest::replacedOnce(s, "xof 0303", "xof 0304")},
        {"compressed", d3dxtest::replacedOnce(s, "txt 0032", "tzip0032")},
        {"wrong float size", d3dxtest::replacedOnce(s, "txt 0032", "txt 0016")},
        {"more vertices than given", d3dxtest::replacedOnce(s, "  5;\n  0.0", "  6;\n  0.0")},
        {"fewer vertices than given", d3dxtest::replacedOnce(s, "  5;\n  0.0", "  4;\n  0.0")},
        {"more faces than given", d3dxtest::replacedOnce(s, "  3;\n  4;", "  4;\n  4;")},
        {"fewer faces than given", d3dxtest::replacedOnce(s, "  3;\n  4;", "  2;\n  4;")},
        {"vertex index out of range", d3dxtest::replacedOnce(s, "3;1,2,4;;\n  Mesh", "3;1,2,5;;\n  Mesh")},
        {"face of two corners", d3dxtest::replacedOnce(s, "3;0,1,4;,", "2;0,1;,")},
        {"negative count", d3dxtest::replacedOnce(s, "  5;\n  0.0", "  -5;\n  0.0")},
        {"count beyond 32 bits", d3dxtest::replacedOnce(s, "  5;\n  0.0", "  99999999999;\n  0.0")},
        {"count beyond the data", d3dxtest::replacedOnce(s, "  5;\n  0.0", "  4294967295;\n  0.0")},
        {"a float where a count goes", d3dxtest::replacedOnce(s, "  5;\n  0.0", "  5.0;\n  0.0")},
        {"normal faces do not match faces", d3dxtest::replacedOnce(s, "   3;\n   4;0,0,0,0;", "   2;\n   4;0,0,0,0;")},
        {"normal face of other size", d3dxtest::replacedOnce(s, "4;0,0,0,0;", "3;0,0,0;")},
        {"normal index out of range", d3dxtest::replacedOnce(s, "4;0,0,0,0;", "4;0,0,2,0;")},
        {"texture coordinates do not match vertices", d3dxtest::replacedOnce(s, "   5;\n   0.0;1.0;", "   4;\n   0.0;1.0;")},
        {"material index out of range", d3dxtest::replacedOnce(s, "1,0,1;;", "1,0,2;;")},
        {"more face materials than faces", d3dxtest::replacedOnce(s, "   3;\n   1,0,1;;", "   4;\n   1,0,1,1;;")},
        {"fewer materials than counted", d3dxtest::replacedOnce(s, "   2;\n   3;\n", "   3;\n   3;\n")},
        {"more materials than counted", d3dxtest::replacedOnce(s, "   2;\n   3;\n   1,0,1", "   1;\n   3;\n   0,0,0")},
        {"reference to no material", d3dxtest::replacedOnce(s, "{ Shared }", "{ Missing }")},
        {"unterminated string", d3dxtest::replacedOnce(s, "red stone.png\"", "red stone.png")},
        {"unclosed object", s.substr(0, s.rfind('}'))},
        {"stray character", d3dxtest::replacedOnce(s, "Header {", "Header @{")},
        {"no mesh", kHeader + "Header { 1; 0; 1; }\n"},
        {"two normal lists", d3dxtest::replacedOnce(s, "  VertexDuplicationIndices",
                                                    "  MeshNormals { 1; 0;0;1;; 3; 4;0,0,0,0;, 3;0,0,0;, 3;0,0,0;; }\n  VertexDuplicationIndices")},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.file.empty() && std::string(c.what) != "empty") << "bad case: " << c.what;
        EXPECT_FALSE(parse(c.file)) << c.what;
    }
}

TEST(XFileParser, EveryTruncationIsRefused) {
    for (const std::string& file : {d3dxtest::kTextSample, d3dxtest::binarySample()}) {
        ASSERT_TRUE(parse(file));
        const std::size_t lastBrace = file.find_last_not_of("\n");
        for (std::size_t length = 0; length < lastBrace; ++length) {
            EXPECT_FALSE(parse(file.substr(0, length))) << "cut at " << length;
        }
    }
}

TEST(XFileParser, BinaryListsLongerThanTheFileAreRefused) {
    d3dxtest::BinaryX x;
    x.name("Mesh").open().word(6).dword(0x40000000).dword(3);
    EXPECT_FALSE(parse(x.bytes()));
    d3dxtest::BinaryX unknownToken;
    unknownToken.word(99);
    EXPECT_FALSE(parse(unknownToken.bytes()));
}

TEST(XFileParser, BinaryWithDoubleFloats) {
    auto triangle = [](double x) {
        d3dxtest::BinaryX file("xof 0303bin 0064");
        file.name("Mesh").open().integers({3}).word(7).dword(9);
        for (double value : {x, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0}) {
            std::uint64_t bits = 0;
            std::memcpy(&bits, &value, 8);
            file.dword(static_cast<std::uint32_t>(bits)).dword(static_cast<std::uint32_t>(bits >> 32));
        }
        file.integers({1, 3, 0, 1, 2}).close();
        return file.bytes();
    };
    const auto meshes = parse(triangle(0.25));
    ASSERT_TRUE(meshes);
    EXPECT_EQ((*meshes)[0].positions[0], (std::array<float, 3>{0.25f, 0, 0}));
    EXPECT_EQ((*meshes)[0].positions[2], (std::array<float, 3>{0, 0, 1}));
    EXPECT_FALSE(parse(triangle(1e300))) << "beyond float range";
}

TEST(XFileParser, DeepFramesAreRefusedWithoutExhaustingTheStack) {
    std::string file = kHeader;
    for (int i = 0; i < 100000; ++i) file += "Frame {";
    for (int i = 0; i < 100000; ++i) file += "}";
    EXPECT_FALSE(parse(file));

    std::string unknown = kHeader;  // unknown objects are skipped without recursion
    for (int i = 0; i < 100000; ++i) unknown += "Stuff {";
    for (int i = 0; i < 100000; ++i) unknown += "}";
    EXPECT_FALSE(parse(unknown)) << "still no mesh, but no crash";
}

const std::string kTriangle = "Mesh { 3; 1.0;0.0;0.0;, 0.0;1.0;0.0;, 0.0;0.0;1.0;; 1; 3;0,1,2;; "
                              "MeshNormals { 1; 1.0;1.0;0.0;; 1; 3;0,0,0;; } }";

TEST(XFileParser, FrameTransformsApplyFromTheInnermostOut) {
    // Scale x by 2 inside, then move by (10, 0, -1).
    const std::string file = kHeader + "Frame { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,-1,1;; }\n" +
                             "  Frame { " + kTriangle + " FrameTransformMatrix { 2,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; } }\n}\n" +
                             kTriangle;
    const auto meshes = parse(file);
    ASSERT_TRUE(meshes);
    ASSERT_EQ(meshes->size(), 2u);
    const XMesh& moved = (*meshes)[0];
    EXPECT_EQ(moved.positions[0], (std::array<float, 3>{12, 0, -1}));
    EXPECT_EQ(moved.positions[1], (std::array<float, 3>{10, 1, -1}));
    EXPECT_EQ(moved.positions[2], (std::array<float, 3>{10, 0, 0}));
    // A normal under a stretch along x leans away from x: (1, 1, 0) becomes (0.5, 1, 0), normalised.
    EXPECT_NEAR(moved.normals[0][0], 0.5f / std::sqrt(1.25f), 1e-6f);
    EXPECT_NEAR(moved.normals[0][1], 1.0f / std::sqrt(1.25f), 1e-6f);
    EXPECT_EQ((*meshes)[1].positions[0], (std::array<float, 3>{1, 0, 0})) << "a top-level mesh stays put";

    const std::string twoMatrices = kHeader + "Frame { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; } " +
                                    "FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; } " + kTriangle + " }";
    EXPECT_FALSE(parse(twoMatrices));
}

TEST(XFileBuilder, PolygonsFanAndMeshesAppendTheirMaterials) {
    const std::string file = kHeader + d3dxtest::kTextSample.substr(d3dxtest::kTextSample.find("Material Shared")) +
                             kTriangle;
    const auto meshes = parse(file);
    ASSERT_TRUE(meshes);
    const platform::d3dx::BuiltMesh built = platform::d3dx::buildMesh(*meshes);

    // Sample: 5 positions, three of them also met with the second normal; then the triangle.
    ASSERT_EQ(built.data.vertices.size(), 8u + 3u);
    EXPECT_EQ(built.data.indices,
              (std::vector<DWORD>{0, 1, 2, 0, 2, 3, 5, 6, 4, 6, 7, 4, 8, 9, 10}));
    EXPECT_EQ(built.data.attributes, (std::vector<DWORD>{1, 1, 0, 1, 2}));
    const platform::d3dx::MeshVertex& split = built.data.vertices[5];
    EXPECT_EQ(split.position[0], 0.0f);
    EXPECT_EQ(split.normal[2], 1.0f);
    EXPECT_EQ(split.texCoord[1], 1.0f) << "a split vertex keeps its texture coordinate";
    EXPECT_EQ(built.data.vertices[0].normal[2], -1.0f);

    ASSERT_EQ(built.materials.size(), 3u);
    EXPECT_EQ(built.materials[0].textureFile, "texture/red stone.png");
    EXPECT_EQ(built.materials[2].faceColor, (std::array<float, 4>{1, 1, 1, 1})) << "the default material";
    EXPECT_FALSE(built.materials[2].hasTexture);
}

TEST(XFileBuilder, AShortFaceMaterialListRepeatsItsLastEntry) {
    const std::string file = kHeader +
                             "Mesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 3; 3;0,1,2;, 3;0,2,3;, 3;1,2,3;;\n"
                             " MeshMaterialList { 2; 1; 1;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n"
                             "                   Material { 0;0;0;1;; 0; 0;0;0;; 0;0;0;; } } }";
    const auto meshes = parse(file);
    ASSERT_TRUE(meshes);
    EXPECT_EQ((*meshes)[0].faceMaterials, (std::vector<DWORD>{1, 1, 1}));
}

}  // namespace
