#include "platform/d3dx/xfile_mesh_builder.h"

#include <map>
#include <memory>
#include <utility>

#include "platform/d3dx/material_buffer.h"

namespace platform::d3dx {
namespace {

constexpr DWORD kNoNormal = 0xFFFFFFFF;

std::shared_ptr<const XMaterial> defaultMaterial() {
    auto material = std::make_shared<XMaterial>();
    material->faceColor = {1.0f, 1.0f, 1.0f, 1.0f};
    return material;
}

// Vertices for one mesh: one per position, more where a position meets other normals.
class VertexTable {
public:
    VertexTable(const XMesh& mesh, std::vector<MeshVertex>& vertices)
        : mesh_(mesh), vertices_(vertices), base_(static_cast<DWORD>(vertices.size())),
          normalOf_(mesh.positions.size(), kNoNormal) {
        for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
            MeshVertex vertex{};
            for (int axis = 0; axis < 3; ++axis) {
                vertex.position[axis] = mesh.positions[i][axis];
            }
            if (mesh.hasTexCoords) {
                vertex.texCoord[0] = mesh.texCoords[i][0];
                vertex.texCoord[1] = mesh.texCoords[i][1];
            }
            vertices_.push_back(vertex);
        }
    }

    // The vertex of the given corner (an index into the mesh's faceIndices).
    DWORD vertexOf(std::size_t corner) {
        const DWORD position = mesh_.faceIndices[corner];
        if (!mesh_.hasNormals) {
            return base_ + position;
        }
        const DWORD normal = mesh_.normalIndices[corner];
        DWORD& first = normalOf_[position];
        if (first == kNoNormal) {
            first = normal;
            setNormal(base_ + position, normal);
        }
        if (first == normal || mesh_.normals[first] == mesh_.normals[normal]) {
            return base_ + position;
        }
        const auto [split, added] = splits_.emplace(std::make_pair(position, normal), 0);
        if (added) {
            split->second = static_cast<DWORD>(vertices_.size());
            vertices_.push_back(vertices_[base_ + position]);
            setNormal(split->second, normal);
        }
        return split->second;
    }

private:
    void setNormal(DWORD vertex, DWORD normal) {
        for (int axis = 0; axis < 3; ++axis) {
            vertices_[vertex].normal[axis] = mesh_.normals[normal][axis];
        }
    }

    const XMesh& mesh_;
    std::vector<MeshVertex>& vertices_;
    DWORD base_;
    std::vector<DWORD> normalOf_;
    std::map<std::pair<DWORD, DWORD>, DWORD> splits_;
};

}  // namespace

BuiltMesh buildMesh(const std::vector<XMesh>& meshes) {
    const std::shared_ptr<const XMaterial> fallback = defaultMaterial();

    // Every material counted, shared ones at each use, before anything is built.
    MaterialBytes bytes;
    for (const XMesh& mesh : meshes) {
        const bool fits = [&] {
            if (!mesh.hasMaterialList) {
                return bytes.addMaterial(*fallback);
            }
            for (std::size_t i = 0; i < mesh.materials.size(); ++i) {
                if (!bytes.addMaterial(mesh.materials[i])) {
                    return false;
                }
            }
            return true;
        }();
        if (!fits) {
            BuiltMesh refused;
            refused.materialsTooLarge = true;
            return refused;
        }
    }

    BuiltMesh built;
    for (const XMesh& mesh : meshes) {
        const DWORD firstMaterial = static_cast<DWORD>(built.materials.size());
        if (mesh.hasMaterialList) {
            built.materials.append(mesh.materials);
        } else {
            built.materials.push_back(fallback);
        }

        VertexTable table(mesh, built.data.vertices);
        std::size_t corner = 0;
        for (std::size_t face = 0; face < mesh.faceSizes.size(); ++face) {
            const DWORD attribute = firstMaterial + (mesh.hasMaterialList ? mesh.faceMaterials[face] : 0);
            const DWORD hub = table.vertexOf(corner);
            DWORD previous = table.vertexOf(corner + 1);
            for (DWORD i = 2; i < mesh.faceSizes[face]; ++i) {
                const DWORD current = table.vertexOf(corner + i);
                built.data.indices.insert(built.data.indices.end(), {hub, previous, current});
                built.data.attributes.push_back(attribute);
                previous = current;
            }
            corner += mesh.faceSizes[face];
        }
    }
    return built;
}

}  // namespace platform::d3dx
