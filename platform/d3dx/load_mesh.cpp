// D3DXLoadMeshFromXA: a .x file read by our own parser into one mesh on the device.

#include "platform/d3dx/adjacency.h"
#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/material_buffer.h"
#include "platform/d3dx/mesh.h"
#include "platform/d3dx/xfile_mesh_builder.h"
#include "platform/d3dx/xfile_parser.h"

HRESULT D3DXLoadMeshFromXA(LPCSTR fileName, DWORD options, IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                           ID3DXBuffer** materials, ID3DXBuffer** effectInstances, DWORD* materialCount,
                           ID3DXMesh** mesh) {
    using namespace platform::d3dx;
    if (fileName == nullptr || device == nullptr || mesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    std::vector<unsigned char> bytes;
    if (!readFileBytes(fileName, bytes)) {
        return E_FAIL;
    }
    const auto parsed = parseXFile(bytes.data(), bytes.size());
    if (!parsed) {
        return D3DXERR_INVALIDDATA;
    }
    BuiltMesh built = buildMesh(*parsed);
    if (built.materialsTooLarge) {
        return D3DXERR_INVALIDDATA;  // more material data than any real mesh has
    }
    if (built.data.attributes.empty()) {
        return D3DXERR_INVALIDDATA;  // nothing to draw
    }

    // Made before the mesh, which then has nothing left that can fail after it.
    ID3DXBuffer* materialBuffer = nullptr;
    if (materials != nullptr) {
        materialBuffer = createMaterialBuffer(built.materials);
        if (materialBuffer == nullptr) {
            return D3DXERR_INVALIDDATA;  // the builder has counted these already: not reached
        }
    }
    ID3DXMesh* loaded = nullptr;
    const HRESULT result = createMesh(device, options, built.data, &loaded);
    if (FAILED(result)) {
        if (materialBuffer != nullptr) {
            materialBuffer->Release();
        }
        return result;
    }
    // Nothing below can fail: the out pointers are written only now.
    *mesh = loaded;
    if (materials != nullptr) {
        *materials = materialBuffer;
    }
    if (materialCount != nullptr) {
        *materialCount = static_cast<DWORD>(built.materials.size());
    }
    if (adjacency != nullptr) {
        *adjacency = createAdjacencyBuffer(built.data);
    }
    if (effectInstances != nullptr) {
        *effectInstances = nullptr;  // effects are not read
    }
    return S_OK;
}
