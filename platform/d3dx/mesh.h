#pragma once
// ID3DXMesh over the device interface.

#include "platform/d3dx/mesh_data.h"

namespace platform::d3dx {

// Sorts the triangles of `data` by attribute (keeping their order within one attribute), so
// they stand as the mesh's index buffer will hold them, then uploads the data to a new vertex
// and index buffer on `device` and returns a mesh whose DrawSubset(i) draws the triangles
// with attribute i. Data that is not well formed (an index past the vertices, not one
// attribute per triangle, no triangle) is refused. The mesh holds a reference to the device.
// On failure nothing is left allocated and *mesh is untouched.
HRESULT createMesh(IDirect3DDevice9* device, DWORD options, MeshData& data, ID3DXMesh** mesh);

}  // namespace platform::d3dx
