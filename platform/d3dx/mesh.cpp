#include "platform/d3dx/mesh.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>

#include "platform/ref_counted.h"

namespace platform::d3dx {
namespace {

// The part of D3DXMESH_MANAGED that puts the vertex buffer, and the index buffer, in the
// managed pool; without it they go to the default pool.
constexpr DWORD kVertexBufferManaged = 0x020;
constexpr DWORD kIndexBufferManaged = 0x200;

// One entry of the attribute table: the faces of one attribute, contiguous after sorting.
struct AttributeRange {
    UINT startIndex = 0;
    UINT faceCount = 0;
    UINT minVertex = 0;
    UINT vertexCount = 0;
};

class Mesh final : public RefCounted<ID3DXMesh> {
public:
    Mesh(IDirect3DDevice9* device, IDirect3DVertexBuffer9* vertices, IDirect3DIndexBuffer9* indices,
         DWORD vertexCount, DWORD faceCount, std::vector<AttributeRange> table)
        : device_(device), vertices_(vertices), indices_(indices), vertexCount_(vertexCount),
          faceCount_(faceCount), table_(std::move(table)) {
        device_->AddRef();
    }

    HRESULT DrawSubset(DWORD attribId) override {
        if (attribId >= table_.size() || table_[attribId].faceCount == 0) {
            return S_OK;
        }
        const AttributeRange& range = table_[attribId];
        HRESULT result = device_->SetFVF(kMeshFvf);
        if (SUCCEEDED(result)) {
            result = device_->SetStreamSource(0, vertices_, 0, sizeof(MeshVertex));
        }
        if (SUCCEEDED(result)) {
            result = device_->SetIndices(indices_);
        }
        if (SUCCEEDED(result)) {
            result = device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, range.minVertex, range.vertexCount,
                                                   range.startIndex, range.faceCount);
        }
        return result;
    }

    DWORD GetNumFaces() override { return faceCount_; }
    DWORD GetNumVertices() override { return vertexCount_; }

private:
    ~Mesh() override {
        indices_->Release();
        vertices_->Release();
        device_->Release();
    }

    IDirect3DDevice9* device_;
    IDirect3DVertexBuffer9* vertices_;
    IDirect3DIndexBuffer9* indices_;
    DWORD vertexCount_;
    DWORD faceCount_;
    std::vector<AttributeRange> table_;
};

void sortFacesByAttribute(MeshData& data) {
    std::vector<DWORD> order(data.attributes.size());
    std::iota(order.begin(), order.end(), DWORD{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](DWORD a, DWORD b) { return data.attributes[a] < data.attributes[b]; });
    MeshData sorted;
    sorted.indices.reserve(data.indices.size());
    sorted.attributes.reserve(data.attributes.size());
    for (DWORD face : order) {
        sorted.indices.insert(sorted.indices.end(), data.indices.begin() + face * 3, data.indices.begin() + face * 3 + 3);
        sorted.attributes.push_back(data.attributes[face]);
    }
    data.indices = std::move(sorted.indices);
    data.attributes = std::move(sorted.attributes);
}

// The faces must already be sorted by attribute.
std::vector<AttributeRange> attributeTable(const MeshData& data) {
    const DWORD highest = data.attributes.back();
    std::vector<AttributeRange> table(static_cast<size_t>(highest) + 1);
    for (size_t face = 0; face < data.attributes.size();) {
        const DWORD attribute = data.attributes[face];
        AttributeRange& range = table[attribute];
        range.startIndex = static_cast<UINT>(face * 3);
        DWORD low = std::numeric_limits<DWORD>::max();
        DWORD high = 0;
        for (; face < data.attributes.size() && data.attributes[face] == attribute; ++face) {
            ++range.faceCount;
            for (size_t corner = face * 3; corner < face * 3 + 3; ++corner) {
                low = std::min(low, data.indices[corner]);
                high = std::max(high, data.indices[corner]);
            }
        }
        range.minVertex = low;
        range.vertexCount = high - low + 1;
    }
    return table;
}

// Creates a buffer through `create` (size, out pointer), then locks it whole, copies the bytes
// in and unlocks. A buffer that cannot be filled is released.
template <class Buffer, class Create>
HRESULT createFilled(Create create, const void* bytes, size_t size, Buffer** out) {
    Buffer* buffer = nullptr;
    HRESULT result = create(static_cast<UINT>(size), &buffer);
    if (FAILED(result)) {
        return result;
    }
    if (buffer == nullptr) {
        return E_FAIL;
    }
    void* target = nullptr;
    result = buffer->Lock(0, 0, &target, 0);
    if (SUCCEEDED(result)) {
        if (target != nullptr) {
            std::memcpy(target, bytes, size);
        }
        const HRESULT unlocked = buffer->Unlock();
        result = target == nullptr ? E_FAIL : unlocked;
    }
    if (FAILED(result)) {
        buffer->Release();
        return result;
    }
    *out = buffer;
    return S_OK;
}

HRESULT createVertexBuffer(IDirect3DDevice9* device, D3DPOOL pool, const MeshData& data,
                           IDirect3DVertexBuffer9** out) {
    auto create = [&](UINT size, IDirect3DVertexBuffer9** buffer) {
        return device->CreateVertexBuffer(size, 0, kMeshFvf, pool, buffer, nullptr);
    };
    return createFilled(create, data.vertices.data(), data.vertices.size() * sizeof(MeshVertex), out);
}

template <class Index>
std::vector<Index> narrowed(const std::vector<DWORD>& indices) {
    return std::vector<Index>(indices.begin(), indices.end());
}

template <class Index>
HRESULT createIndexBuffer(IDirect3DDevice9* device, D3DPOOL pool, D3DFORMAT format,
                          const std::vector<Index>& indices, IDirect3DIndexBuffer9** out) {
    auto create = [&](UINT size, IDirect3DIndexBuffer9** buffer) {
        return device->CreateIndexBuffer(size, 0, format, pool, buffer, nullptr);
    };
    return createFilled(create, indices.data(), indices.size() * sizeof(Index), out);
}

// 16-bit indices whenever the vertex count allows, as D3DX does by default.
HRESULT createIndexBuffer(IDirect3DDevice9* device, D3DPOOL pool, const MeshData& data,
                          IDirect3DIndexBuffer9** out) {
    if (data.vertices.size() <= 0xFFFF) {
        return createIndexBuffer(device, pool, D3DFMT_INDEX16, narrowed<WORD>(data.indices), out);
    }
    return createIndexBuffer(device, pool, D3DFMT_INDEX32, data.indices, out);
}

// Sizes the buffers can take, and indices that stay inside the vertices.
bool isWellFormed(const MeshData& data) {
    constexpr size_t limit = std::numeric_limits<UINT>::max();
    if (data.vertices.empty() || data.attributes.empty() || data.indices.size() != data.attributes.size() * 3 ||
        data.vertices.size() > limit / sizeof(MeshVertex) || data.indices.size() > limit / sizeof(DWORD)) {
        return false;
    }
    return std::all_of(data.indices.begin(), data.indices.end(),
                       [&](DWORD index) { return index < data.vertices.size(); });
}

}  // namespace

HRESULT createMesh(IDirect3DDevice9* device, DWORD options, MeshData& data, ID3DXMesh** mesh) {
    if (device == nullptr || mesh == nullptr || !isWellFormed(data)) {
        return D3DERR_INVALIDCALL;
    }
    sortFacesByAttribute(data);
    std::vector<AttributeRange> table = attributeTable(data);

    IDirect3DVertexBuffer9* vertices = nullptr;
    HRESULT result = createVertexBuffer(device, (options & kVertexBufferManaged) ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT,
                                        data, &vertices);
    if (FAILED(result)) {
        return result;
    }
    IDirect3DIndexBuffer9* indices = nullptr;
    result = createIndexBuffer(device, (options & kIndexBufferManaged) ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT, data,
                               &indices);
    if (FAILED(result)) {
        vertices->Release();
        return result;
    }
    *mesh = new Mesh(device, vertices, indices, static_cast<DWORD>(data.vertices.size()),
                     static_cast<DWORD>(data.attributes.size()), std::move(table));
    return S_OK;
}

}  // namespace platform::d3dx
