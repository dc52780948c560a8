// D3DXCreateTextureFromFileA: PNG or JPEG, told apart by their first bytes, into a managed
// A8R8G8B8 texture of one level.

#include <cstring>

#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/image.h"
#include "platform/d3dx9.h"

namespace platform::d3dx {
namespace {

HRESULT decode(const std::vector<unsigned char>& bytes, Image& image) {
    if (looksLikePng(bytes.data(), bytes.size())) {
        return decodePng(bytes.data(), bytes.size(), image) ? S_OK : D3DXERR_INVALIDDATA;
    }
    if (looksLikeJpeg(bytes.data(), bytes.size())) {
        return decodeJpeg(bytes.data(), bytes.size(), image) ? S_OK : D3DXERR_INVALIDDATA;
    }
    return D3DXERR_INVALIDDATA;
}

// Rows top first into level 0, whatever the pitch the texture asks for.
HRESULT upload(IDirect3DTexture9* texture, const Image& image) {
    D3DLOCKED_RECT locked{};
    HRESULT result = texture->LockRect(0, &locked, nullptr, 0);
    if (FAILED(result)) {
        return result;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
    const bool usable = locked.pBits != nullptr && locked.Pitch >= 0 && static_cast<std::size_t>(locked.Pitch) >= rowBytes;
    if (usable) {
        auto* target = static_cast<unsigned char*>(locked.pBits);
        for (UINT row = 0; row < image.height; ++row) {
            std::memcpy(target + static_cast<std::size_t>(row) * locked.Pitch, &image.bgra[row * rowBytes], rowBytes);
        }
    }
    result = texture->UnlockRect(0);
    return usable ? result : E_FAIL;
}

}  // namespace
}  // namespace platform::d3dx

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR fileName, IDirect3DTexture9** texture) {
    using namespace platform::d3dx;
    if (texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    // The caller's pointer never keeps what it held before a failed load.
    *texture = nullptr;
    if (device == nullptr || fileName == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    std::vector<unsigned char> bytes;
    if (!readFileBytes(fileName, bytes)) {
        return E_FAIL;
    }
    Image image;
    HRESULT result = decode(bytes, image);
    if (FAILED(result)) {
        return result;
    }
    IDirect3DTexture9* created = nullptr;
    result = device->CreateTexture(image.width, image.height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &created,
                                   nullptr);
    if (FAILED(result)) {
        return result;
    }
    if (created == nullptr) {
        return E_FAIL;
    }
    result = upload(created, image);
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *texture = created;
    return S_OK;
}
