#pragma once
// ID3DXMesh over the device interface.

#include "platform/d3dx/mesh_data.h"

namespace platform::d3dx {

// Uploads the data to a new vertex and index buffer on `device` and returns a mesh whose
// DrawSubset(i) draws the triangles with attribute i. The data must be well formed (indices
// below the vertex count, one attribute per triangle, at least one triangle). The mesh holds
// a reference to the device. On failure nothing is left allocated and *mesh is untouched.
HRESULT createMesh(IDirect3DDevice9* device, DWORD options, const MeshData& data, ID3DXMesh** mesh);

}  // namespace platform::d3dx
