#pragma once
// What the .x parser reads out of a file: its meshes, each with its own materials, in file
// order, already moved by the transforms of the frames around them.

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
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

// Materials in list order. A material listed more than once (a named one and its references)
// is held once and shared, so a list costs a pointer per entry whatever the texture names.
class XMaterialList {
public:
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const XMaterial& operator[](std::size_t index) const { return *items_[index]; }

    void push_back(std::shared_ptr<const XMaterial> material) { items_.push_back(std::move(material)); }
    void append(const XMaterialList& other) { items_.insert(items_.end(), other.items_.begin(), other.items_.end()); }

private:
    std::vector<std::shared_ptr<const XMaterial>> items_;
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
    XMaterialList materials;
};

// Row-vector 4×4 matrix, row after row, as a FrameTransformMatrix gives it.
using XMatrix = std::array<float, 16>;

// Positions by the whole matrix, normals by the inverse transpose of its 3×3 part, renormalised.
void transformMesh(XMesh& mesh, const XMatrix& matrix);

}  // namespace platform::d3dx
