#include "platform/d3dx/adjacency.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <tuple>

#include "platform/d3dx/buffer.h"

namespace platform::d3dx {
namespace {

using PositionKey = std::array<std::uint32_t, 3>;

// Bit patterns compare without the trouble of NaNs; -0 and +0 are one place.
PositionKey keyOf(const MeshVertex& vertex) {
    PositionKey key{};
    for (int axis = 0; axis < 3; ++axis) {
        const float value = vertex.position[axis] == 0.0f ? 0.0f : vertex.position[axis];
        std::memcpy(&key[axis], &value, sizeof(float));
    }
    return key;
}

// Vertex index → a number shared by every vertex at the same position.
std::vector<DWORD> positionIds(const MeshData& data) {
    std::map<PositionKey, DWORD> ids;
    std::vector<DWORD> idOfVertex;
    idOfVertex.reserve(data.vertices.size());
    for (const MeshVertex& vertex : data.vertices) {
        idOfVertex.push_back(ids.emplace(keyOf(vertex), static_cast<DWORD>(ids.size())).first->second);
    }
    return idOfVertex;
}

struct Edge {
    DWORD low;
    DWORD high;
    DWORD slot;  // face × 3 + corner
};

}  // namespace

std::vector<DWORD> computeAdjacency(const MeshData& data) {
    const std::vector<DWORD> ids = positionIds(data);
    std::vector<Edge> edges;
    edges.reserve(data.indices.size());
    for (size_t face = 0; face < data.attributes.size(); ++face) {
        for (size_t corner = 0; corner < 3; ++corner) {
            const DWORD from = ids[data.indices[face * 3 + corner]];
            const DWORD to = ids[data.indices[face * 3 + (corner + 1) % 3]];
            edges.push_back({std::min(from, to), std::max(from, to), static_cast<DWORD>(face * 3 + corner)});
        }
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) {
        return std::tie(a.low, a.high, a.slot) < std::tie(b.low, b.high, b.slot);
    });

    std::vector<DWORD> adjacency(data.indices.size(), kNoNeighbour);
    for (size_t first = 0; first < edges.size();) {
        size_t end = first;
        while (end < edges.size() && edges[end].low == edges[first].low && edges[end].high == edges[first].high) {
            ++end;
        }
        // Each face on the edge takes the first other face on it.
        for (size_t i = first; i < end; ++i) {
            const DWORD face = edges[i].slot / 3;
            for (size_t j = first; j < end; ++j) {
                if (edges[j].slot / 3 != face) {
                    adjacency[edges[i].slot] = edges[j].slot / 3;
                    break;
                }
            }
        }
        first = end;
    }
    return adjacency;
}

ID3DXBuffer* createAdjacencyBuffer(const MeshData& data) {
    const std::vector<DWORD> adjacency = computeAdjacency(data);
    ID3DXBuffer* buffer = createBuffer(static_cast<DWORD>(adjacency.size() * sizeof(DWORD)));
    std::memcpy(buffer->GetBufferPointer(), adjacency.data(), adjacency.size() * sizeof(DWORD));
    return buffer;
}

}  // namespace platform::d3dx
