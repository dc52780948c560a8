#include "platform/d3dx/material_buffer.h"

#include <cstring>
#include <new>

#include "platform/d3dx/buffer.h"

namespace platform::d3dx {

ID3DXBuffer* createMaterialBuffer(const std::vector<XMaterial>& materials) {
    std::size_t size = materials.size() * sizeof(D3DXMATERIAL);
    for (const XMaterial& material : materials) {
        if (material.hasTexture) {
            size += material.textureFile.size() + 1;
        }
    }
    ID3DXBuffer* buffer = createBuffer(static_cast<DWORD>(size));
    auto* records = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
    char* names = reinterpret_cast<char*>(records + materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i) {
        const XMaterial& from = materials[i];
        D3DXMATERIAL& to = *new (records + i) D3DXMATERIAL{};
        to.MatD3D.Diffuse = {from.faceColor[0], from.faceColor[1], from.faceColor[2], from.faceColor[3]};
        to.MatD3D.Ambient = {0.0f, 0.0f, 0.0f, 0.0f};
        to.MatD3D.Specular = {from.specular[0], from.specular[1], from.specular[2], 1.0f};
        to.MatD3D.Emissive = {from.emissive[0], from.emissive[1], from.emissive[2], 1.0f};
        to.MatD3D.Power = from.power;
        to.pTextureFilename = nullptr;
        if (from.hasTexture) {
            std::memcpy(names, from.textureFile.c_str(), from.textureFile.size() + 1);
            to.pTextureFilename = names;
            names += from.textureFile.size() + 1;
        }
    }
    return buffer;
}

}  // namespace platform::d3dx
