#pragma once
// What the .x parser reads out of a file: its meshes, each with its own materials, in file
// order, already moved by the transforms of the frames around them.

#include <array>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace platform::d3dx {

struct XMaterial {
    std::array<float, 4> faceColor{};  // r, g, b, a
    float power = 0.0f;
    std::array<float, 3> specular{};
    std::array<float, 3> emissive{};
    bool hasTexture = false;
    std::string textureFile;  // verbatim
};

struct XMesh {
    std::vector<std::array<float, 3>> positions;
    // Polygons of three or more corners, one after another: faceSizes[f] corners each.
    std::vector<DWORD> faceSizes;
    std::vector<DWORD> faceIndices;  // a position index per corner

    bool hasNormals = false;
    std::vector<std::array<float, 3>> normals;
    std::vector<DWORD> normalIndices;  // a normal index per corner, laid out as faceIndices

    bool hasTexCoords = false;
    std::vector<std::array<float, 2>> texCoords;  // one per position

    bool hasMaterialList = false;
    std::vector<DWORD> faceMaterials;  // one per polygon, an index into materials
    std::vector<XMaterial> materials;
};

// Row-vector 4×4 matrix, row after row, as a FrameTransformMatrix gives it.
using XMatrix = std::array<float, 16>;

// Positions by the whole matrix, normals by the inverse transpose of its 3×3 part, renormalised.
void transformMesh(XMesh& mesh, const XMatrix& matrix);

}  // namespace platform::d3dx
