#pragma once
// The Direct3D device and everything the game holds of it, from start-up to the window's end.

#include "platform/d3d9.h"
#include "platform/d3dx9.h"

extern LPDIRECT3D9 direct3d;
extern LPDIRECT3DDEVICE9 device;
extern LPD3DXMESH boxMesh;  // the unit box every tile is drawn with
extern LPD3DXBUFFER boxAdjacency;
extern LPD3DXMESH ballMesh;
extern LPD3DXBUFFER materialsBuffer;
extern D3DXMATERIAL* materialRecords;
extern DWORD materialCount;
extern LPDIRECT3DTEXTURE9* ballTextures;
extern D3DMATERIAL9* ballMaterials;
extern LPDIRECT3DTEXTURE9 goalTexture;      // goal marker and ball
extern LPDIRECT3DTEXTURE9 oddCellTexture;   // cells whose row + column is odd
extern LPDIRECT3DTEXTURE9 evenCellTexture;  // cells whose row + column is even
extern LPDIRECT3DVERTEXBUFFER9 cylinderBuffer;

// StartDevice's result when the level list gives no level; the device itself was made.
constexpr HRESULT E_NO_LEVELS = static_cast<HRESULT>(0x80040201u);

// Creates the device and its resources, then starts the game. E_FAIL when there is no
// Direct3D object or no device; E_NO_LEVELS when there is no level to start; otherwise S_OK,
// whatever became of the meshes and textures.
HRESULT StartDevice(HWND window);
void LoadTileTextures();
// An open cylinder in a vertex buffer (100 vertices, position and normal). E_FAIL when the
// buffer cannot be created or locked.
HRESULT BuildCylinder();
// Called once, when the window is destroyed.
void ReleaseDevice();
