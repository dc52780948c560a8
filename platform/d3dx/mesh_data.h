#pragma once
// What a mesh is made of before it goes to the device: the vertices in the one layout every
// D3DX mesh here uses, and triangles with their attribute (material index).

#include <vector>

#include "platform/d3dx9.h"

namespace platform::d3dx {

// D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, in that order, no gaps.
struct MeshVertex {
    float position[3];
    float normal[3];
    float texCoord[2];
};
static_assert(sizeof(MeshVertex) == 32, "the vertex layout is fixed by its FVF");

constexpr DWORD kMeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<DWORD> indices;     // three per triangle
    std::vector<DWORD> attributes;  // one per triangle
};

}  // namespace platform::d3dx
