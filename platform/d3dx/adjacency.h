#pragma once
// Face adjacency as D3DX gives it: three DWORDs per face, the face across each edge
// (corner k to corner k + 1), or kNoNeighbour.

#include "platform/d3dx/mesh_data.h"

namespace platform::d3dx {

constexpr DWORD kNoNeighbour = 0xFFFFFFFF;

// Edges meet where their end positions are equal, whatever the vertex indices: faces that
// keep vertices of their own (for their own normal or texture coordinate) still touch.
std::vector<DWORD> computeAdjacency(const MeshData& data);

// A new buffer holding the adjacency of `data`.
ID3DXBuffer* createAdjacencyBuffer(const MeshData& data);

}  // namespace platform::d3dx
