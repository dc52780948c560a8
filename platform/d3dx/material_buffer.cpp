#include "platform/d3dx/material_buffer.h"

#include <cstring>
#include <new>

#include "platform/d3dx/buffer.h"

namespace platform::d3dx {

bool MaterialBytes::addRecords(std::size_t count) {
    if (count > (kMaxMaterialBytes - total_) / sizeof(D3DXMATERIAL)) {
        return false;
    }
    total_ += count * sizeof(D3DXMATERIAL);
    return true;
}

bool MaterialBytes::addName(std::size_t length) {
    // length + 1 could wrap; length >= room cannot.
    if (length >= kMaxMaterialBytes - total_) {
        return false;
    }
    total_ += length + 1;
    return true;
}

bool MaterialBytes::addMaterial(const XMaterial& material) {
    const std::size_t before = total_;
    if (addRecords(1) && (!material.hasTexture || addName(material.textureFile.size()))) {
        return true;
    }
    total_ = before;
    return false;
}

ID3DXBuffer* createMaterialBuffer(const XMaterialList& materials) {
    MaterialBytes size;
    for (std::size_t i = 0; i < materials.size(); ++i) {
        if (!size.addMaterial(materials[i])) {
            return nullptr;
        }
    }
    ID3DXBuffer* buffer = createBuffer(static_cast<DWORD>(size.total()));  // at most kMaxMaterialBytes
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
