#pragma once
// The Direct3D device over fixed-function OpenGL (a GL 2.1 compatibility context).

#include <memory>

#include "platform/d3d9.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_binding.h"
#include "platform/ref_counted.h"
#include "platform/gl/gl_resources.h"

namespace platform {

class GLDevice final : public RefCounted<IDirect3DDevice9> {
public:
    // Takes over a current context; the back buffer is width × height pixels.
    GLDevice(std::shared_ptr<GLContext> context, int width, int height, bool depthBuffer);
    ~GLDevice() override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                    const RGNDATA* dirtyRegion) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT SetStreamSource(UINT streamNumber, IDirect3DVertexBuffer9* buffer, UINT offsetInBytes,
                            UINT stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* indices) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                 UINT numVertices, UINT startIndex, UINT primitiveCount) override;

    GLContext& context() { return *context_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void applyCullMode();
    void applyMaterial();
    void applyVertexColour();
    void applyTransforms();
    bool applyVertexArrays(INT baseVertexIndex);

    std::shared_ptr<GLContext> context_;
    int width_;
    int height_;
    bool inScene_ = false;

    DWORD cullMode_ = D3DCULL_CCW;
    bool lighting_ = true;
    D3DMATERIAL9 material_{};
    D3DMATRIX world_{};
    D3DMATRIX view_{};
    D3DMATRIX projection_{};
    bool modelViewDirty_ = true;
    bool projectionDirty_ = true;

    // Bindings hold a reference, as Direct3D's do, so a released object is never drawn from.
    GLTexture* texture_ = nullptr;
    GLVertexBuffer* stream_ = nullptr;
    GLIndexBuffer* indices_ = nullptr;
    UINT streamOffset_ = 0;
    UINT streamStride_ = 0;
    DWORD fvf_ = 0;
    bool vertexColourDirty_ = true;  // the FVF or lighting changed since the last draw
    bool colourMaterial_ = false;     // GL_COLOR_MATERIAL is on

    // What the GL vertex arrays point at now, to skip setting them again.
    GLuint arrayBuffer_ = 0;
    GLuint elementBuffer_ = 0;
    DWORD arraysFvf_ = 0;
    UINT arraysStride_ = 0;
    std::size_t arraysOffset_ = 0;
    bool arraysSet_ = false;
};

}  // namespace platform
