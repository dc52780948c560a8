#include "shell/device.h"

#include <cmath>
#include <iostream>

#include "shell/globals.h"
#include "shell/level_flow.h"
#include "shell/messages.h"

LPDIRECT3D9 direct3d = nullptr;
LPDIRECT3DDEVICE9 device = nullptr;
LPD3DXMESH boxMesh = nullptr;
LPD3DXBUFFER boxAdjacency = nullptr;
LPD3DXMESH ballMesh = nullptr;
LPD3DXBUFFER materialsBuffer = nullptr;
D3DXMATERIAL* materialRecords = nullptr;
DWORD materialCount = 0;
LPDIRECT3DTEXTURE9* ballTextures = nullptr;
D3DMATERIAL9* ballMaterials = nullptr;
LPDIRECT3DTEXTURE9 goalTexture = nullptr;
LPDIRECT3DTEXTURE9 oddCellTexture = nullptr;
LPDIRECT3DTEXTURE9 evenCellTexture = nullptr;
LPDIRECT3DVERTEXBUFFER9 cylinderBuffer = nullptr;

namespace {

struct CylinderVertex {
    float x, y, z;
    float nx, ny, nz;
};
static_assert(sizeof(CylinderVertex) == 24, "position and normal, no gaps");

constexpr UINT cylinderPairs = 50;
constexpr UINT cylinderVertexCount = 2 * cylinderPairs;
constexpr DWORD cylinderFvf = D3DFVF_XYZ | D3DFVF_NORMAL;

// The start goes on without a file that did not load, as it always has; the player at least
// learns which one it was.
void reportNotLoaded(const char* what, const char* file, const char* consequence) {
    std::cerr << what << " \"" << file << "\" not loaded" << consequence << '\n';
}

// A material without a texture names no file, so its failed load is nothing to report.
void loadTexture(LPCSTR file, LPDIRECT3DTEXTURE9* texture) {
    if (FAILED(D3DXCreateTextureFromFileA(device, file, texture)) && file != nullptr) {
        reportNotLoaded("Texture", file, "");
    }
}

// The ball's materials and a texture for each. None of it is drawn, but a mesh that does not
// load leaves no material buffer: the ball is then simply not drawn.
void loadBallMesh() {
    const HRESULT loaded = D3DXLoadMeshFromXA(messages::ballMeshFile, D3DXMESH_MANAGED, device, nullptr,
                                              &materialsBuffer, nullptr, &materialCount, &ballMesh);
    if (FAILED(loaded) || materialsBuffer == nullptr) {
        if (SUCCEEDED(loaded) && ballMesh != nullptr) {
            ballMesh->Release();  // a mesh without its materials is not drawn
        }
        materialCount = 0;
        ballMesh = nullptr;
        materialsBuffer = nullptr;
        reportNotLoaded("Ball mesh", messages::ballMeshFile, ": the game goes on without the ball");
    }
    ballTextures = new LPDIRECT3DTEXTURE9[materialCount]();
    ballMaterials = new D3DMATERIAL9[materialCount];
    if (materialsBuffer == nullptr) {
        return;
    }
    materialRecords = static_cast<D3DXMATERIAL*>(materialsBuffer->GetBufferPointer());
    for (DWORD i = 0; i < materialCount; ++i) {
        loadTexture(materialRecords[i].pTextureFilename, &ballTextures[i]);
        ballMaterials[i] = materialRecords[i].MatD3D;
    }
    materialsBuffer->Release();
}

}  // namespace

HRESULT StartDevice(HWND window) {
    direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (direct3d == nullptr) {
        return E_FAIL;
    }

    D3DPRESENT_PARAMETERS d3dpp{};
    d3dpp.Windowed = TRUE;
    d3dpp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    d3dpp.BackBufferFormat = D3DFMT_UNKNOWN;
    d3dpp.EnableAutoDepthStencil = TRUE;
    d3dpp.AutoDepthStencilFormat = D3DFMT_D16;
    if (FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &d3dpp, &device))) {
        device = nullptr;
        return E_FAIL;
    }

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    D3DXCreateBox(device, 1.0f, 1.0f, 1.0f, &boxMesh, &boxAdjacency);
    loadBallMesh();
    LoadTileTextures();

    if (!StartGame()) {
        return E_NO_LEVELS;
    }
    // The opening drop, whatever the level's own start: that one serves after a fall.
    ball.jumpRequest = false;
    ball.position.x = 2.0f;
    ball.position.y = 2.0f;
    ball.position.z = 2.0f;
    ball.radius = 1.0f;
    return S_OK;
}

void LoadTileTextures() {
    loadTexture(messages::goalTextureFile, &goalTexture);
    loadTexture(messages::oddCellTextureFile, &oddCellTexture);
    loadTexture(messages::evenCellTextureFile, &evenCellTexture);
}

HRESULT BuildCylinder() {
    if (FAILED(device->CreateVertexBuffer(cylinderVertexCount * sizeof(CylinderVertex), 0, cylinderFvf,
                                          D3DPOOL_DEFAULT, &cylinderBuffer, nullptr))) {
        return E_FAIL;
    }
    void* pVertices = nullptr;
    if (FAILED(cylinderBuffer->Lock(0, 0, &pVertices, 0))) {
        return E_FAIL;
    }
    CylinderVertex* vertices = static_cast<CylinderVertex*>(pVertices);
    for (UINT i = 0; i < cylinderPairs; ++i) {
        // Divided by 49 while i reaches 49: the last pair closes the ring on the first.
        const float theta = static_cast<float>(static_cast<double>(i) * 6.2831854820251465 / 49.0);
        const float s = static_cast<float>(std::sin(static_cast<double>(theta)));
        const float c = static_cast<float>(std::cos(static_cast<double>(theta)));
        vertices[2 * i] = CylinderVertex{s, -1.0f, c, s, 0.0f, c};
        vertices[2 * i + 1] = CylinderVertex{s, 1.0f, c, s, 0.0f, c};
    }
    cylinderBuffer->Unlock();
    return S_OK;
}

// Each global is emptied as it goes, so a second call finds nothing left to free.
void ReleaseDevice() {
    if (cylinderBuffer != nullptr) {
        cylinderBuffer->Release();
        cylinderBuffer = nullptr;
    }
    if (device != nullptr) {
        device->Release();
        device = nullptr;
    }
    if (direct3d != nullptr) {
        direct3d->Release();
        direct3d = nullptr;
    }
    // The arrays only: the textures in ballTextures stay alive until the process ends.
    delete[] ballMaterials;
    ballMaterials = nullptr;
    delete[] ballTextures;
    ballTextures = nullptr;
    if (ballMesh != nullptr) {
        ballMesh->Release();
        ballMesh = nullptr;
    }
}
