// Fuzzes D3DXLoadMeshFromXA (.x files, text and binary) over the recording device. A mesh that
// loads is checked as the game would use it: its material records and names must lie in their
// buffer, its adjacency must name faces, and every subset must draw within its buffers.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz_files.h"
#include "fuzz_recording.h"
#include "platform/d3dx9.h"

namespace {

[[noreturn]] void wrong(const char* what) {
    std::fprintf(stderr, "D3DXLoadMeshFromXA: %s\n", what);
    std::abort();
}

void checkMaterials(ID3DXBuffer* materials, DWORD count) {
    const auto* begin = static_cast<const char*>(materials->GetBufferPointer());
    const DWORD size = materials->GetBufferSize();
    if (count > size / sizeof(D3DXMATERIAL)) wrong("fewer records than the material count");
    const auto* records = reinterpret_cast<const D3DXMATERIAL*>(begin);
    for (DWORD i = 0; i < count; ++i) {
        const char* name = records[i].pTextureFilename;
        if (name == nullptr) continue;
        if (name < begin + count * sizeof(D3DXMATERIAL) || name >= begin + size) wrong("a texture name outside the buffer");
        if (std::memchr(name, 0, static_cast<std::size_t>(begin + size - name)) == nullptr) wrong("an unterminated name");
    }
}

void checkAdjacency(ID3DXBuffer* adjacency, DWORD faces) {
    if (adjacency->GetBufferSize() != faces * 3 * sizeof(DWORD)) wrong("adjacency of the wrong size");
    const auto* across = static_cast<const DWORD*>(adjacency->GetBufferPointer());
    for (DWORD i = 0; i < faces * 3; ++i) {
        if (across[i] != 0xFFFFFFFF && across[i] >= faces) wrong("adjacency names no face");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enterScratchDirectory();
    fuzz::installRecording();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::writeFile("mesh.x", data, size);
    platform::RecordingDevice* device = platform::createRecordingDevice();

    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    ID3DXBuffer* effects = nullptr;
    DWORD count = 0;
    const HRESULT result =
        D3DXLoadMeshFromXA("mesh.x", D3DXMESH_MANAGED, device, &adjacency, &materials, &effects, &count, &mesh);
    if (FAILED(result)) {
        if (mesh != nullptr || adjacency != nullptr || materials != nullptr || effects != nullptr || count != 0) {
            wrong("a failed load wrote an out pointer");
        }
    } else {
        if (mesh == nullptr || adjacency == nullptr || materials == nullptr || count == 0) wrong("a part missing");
        checkMaterials(materials, count);
        checkAdjacency(adjacency, mesh->GetNumFaces());
        device->BeginScene();
        for (DWORD i = 0; i <= count; ++i) {  // one past the last draws nothing
            if (FAILED(mesh->DrawSubset(i))) wrong("a subset that does not draw");
        }
        device->EndScene();
        adjacency->Release();
        materials->Release();
        mesh->Release();
    }
    fuzz::endInput(device);
    return 0;
}
