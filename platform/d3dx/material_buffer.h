#pragma once
// The material records D3DXLoadMeshFromXA hands back.

#include "platform/d3dx/xfile_scene.h"
#include "platform/d3dx9.h"

namespace platform::d3dx {

// One buffer: the D3DXMATERIAL records in order, then the texture file names they point to
// (null for a material without one). Diffuse is the face colour; Ambient stays black, as
// D3DX leaves it; Specular and Emissive take alpha 1.
ID3DXBuffer* createMaterialBuffer(const std::vector<XMaterial>& materials);

}  // namespace platform::d3dx
