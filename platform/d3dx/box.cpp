// D3DXCreateBox: six faces of four vertices each, so every face has its own normal and shows
// the whole texture.

#include <cmath>

#include "platform/d3dx/adjacency.h"
#include "platform/d3dx/mesh.h"

namespace platform::d3dx {
namespace {

struct Vector {
    float x, y, z;
};

Vector cross(const Vector& a, const Vector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct BoxFace {
    Vector normal;
    Vector up;  // texture v runs against it
};

constexpr BoxFace kFaces[6] = {
    {{1, 0, 0}, {0, 1, 0}},  {{-1, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, 1}},
    {{0, -1, 0}, {0, 0, -1}}, {{0, 0, 1}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}},
};

// Corners as (right, up) steps with their texture coordinates: the face seen from outside
// has (0, 0) at its top-left.
constexpr float kCorners[4][4] = {
    {-1, -1, 0, 1},
    {-1, 1, 0, 0},
    {1, 1, 1, 0},
    {1, -1, 1, 1},
};

MeshData boxData(float width, float height, float depth) {
    const float half[3] = {width / 2.0f, height / 2.0f, depth / 2.0f};
    MeshData data;
    for (const BoxFace& face : kFaces) {
        // Left-handed: with the face towards the viewer and `up` up, cross(normal, up) points right.
        const Vector right = cross(face.normal, face.up);
        const DWORD first = static_cast<DWORD>(data.vertices.size());
        for (const auto& corner : kCorners) {
            MeshVertex vertex{};
            const float n[3] = {face.normal.x, face.normal.y, face.normal.z};
            const float r[3] = {right.x, right.y, right.z};
            const float u[3] = {face.up.x, face.up.y, face.up.z};
            for (int axis = 0; axis < 3; ++axis) {
                vertex.position[axis] = (n[axis] + corner[0] * r[axis] + corner[1] * u[axis]) * half[axis];
                vertex.normal[axis] = n[axis];
            }
            vertex.texCoord[0] = corner[2];
            vertex.texCoord[1] = corner[3];
            data.vertices.push_back(vertex);
        }
        // Clockwise seen from outside: Direct3D's front faces.
        for (DWORD corner : {0u, 1u, 2u, 0u, 2u, 3u}) {
            data.indices.push_back(first + corner);
        }
        data.attributes.push_back(0);
        data.attributes.push_back(0);
    }
    return data;
}

}  // namespace
}  // namespace platform::d3dx

HRESULT D3DXCreateBox(IDirect3DDevice9* device, float width, float height, float depth, ID3DXMesh** mesh,
                      ID3DXBuffer** adjacency) {
    using namespace platform::d3dx;
    const bool validSize = std::isfinite(width) && std::isfinite(height) && std::isfinite(depth) &&
                           width >= 0.0f && height >= 0.0f && depth >= 0.0f;
    if (device == nullptr || mesh == nullptr || !validSize) {
        return D3DERR_INVALIDCALL;
    }
    MeshData data = boxData(width, height, depth);
    ID3DXMesh* box = nullptr;
    const HRESULT result = createMesh(device, D3DXMESH_MANAGED, data, &box);
    if (FAILED(result)) {
        return result;
    }
    if (adjacency != nullptr) {
        *adjacency = createAdjacencyBuffer(data);
    }
    *mesh = box;
    return S_OK;
}
