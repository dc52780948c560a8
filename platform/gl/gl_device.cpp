#include "platform/gl/gl_device.h"

#include <algorithm>
#include <cstdint>

#include "platform/d3d9/index_reading.h"
#include "platform/d3d9/texture_limits.h"
#include "platform/gl/gl_state_maps.h"

namespace platform {

namespace {

D3DMATRIX identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

// Direct3D's clip space keeps depth in [0, w], GL's in [-w, w]: z' = 2z - w, as a GL
// (column-major) matrix applied after the projection.
constexpr GLfloat kDepthFold[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0, 0, -1, 1};

const GLvoid* byteOffset(std::size_t offset) { return reinterpret_cast<const GLvoid*>(offset); }

template <class Ours, class Theirs>
bool adopt(Theirs* object, Ours*& ours) {
    ours = dynamic_cast<Ours*>(object);
    return object == nullptr || ours != nullptr;
}

}  // namespace

GLDevice::GLDevice(std::shared_ptr<GLContext> context, int width, int height, bool depthBuffer)
    : context_(std::move(context)),
      width_(width),
      height_(height),
      world_(identity()),
      view_(identity()),
      projection_(identity()) {
    context_->makeCurrent();
    glViewport(0, 0, width_, height_);
    if (context_->gl().clipControl != nullptr) context_->gl().clipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    if (depthBuffer) glEnable(GL_DEPTH_TEST);
    else glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    // Direct3D's front faces are the clockwise ones on screen.
    glFrontFace(GL_CW);
    applyCullMode();
    // Lit with no lights and no ambient light, as a fresh Direct3D device is.
    const GLfloat noLight[4] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, noLight);
    glEnable(GL_LIGHTING);
    applyMaterial();
    glShadeModel(GL_SMOOTH);
    glDisable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1, 1, 1, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

GLDevice::~GLDevice() {
    context_->makeCurrent();
    holdBinding<GLTexture>(texture_, nullptr);
    holdBinding<GLVertexBuffer>(stream_, nullptr);
    holdBinding<GLIndexBuffer>(indices_, nullptr);
    context_->end();
}

HRESULT GLDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (!context_->makeCurrent()) return D3DERR_INVALIDCALL;
    switch (state) {
        case D3DRS_ZENABLE:
            if (value == D3DZB_FALSE) glDisable(GL_DEPTH_TEST);
            else glEnable(GL_DEPTH_TEST);
            return S_OK;
        case D3DRS_CULLMODE:
            if (value != D3DCULL_NONE && value != D3DCULL_CW && value != D3DCULL_CCW) return D3DERR_INVALIDCALL;
            cullMode_ = value;
            applyCullMode();
            return S_OK;
        case D3DRS_ZFUNC: {
            const GLenum func = glCompareOf(value);
            if (func == 0) return D3DERR_INVALIDCALL;
            glDepthFunc(func);
            return S_OK;
        }
        case D3DRS_LIGHTING:
            if (lighting_ != (value != FALSE)) {
                lighting_ = value != FALSE;
                if (lighting_) glEnable(GL_LIGHTING);
                else glDisable(GL_LIGHTING);
                vertexColourDirty_ = true;
            }
            return S_OK;
    }
    return D3DERR_INVALIDCALL;
}

void GLDevice::applyCullMode() {
    if (cullMode_ == D3DCULL_NONE) {
        glDisable(GL_CULL_FACE);
        return;
    }
    glEnable(GL_CULL_FACE);
    glCullFace(cullMode_ == D3DCULL_CCW ? GL_BACK : GL_FRONT);
}

HRESULT GLDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                        DWORD /*stencil: there is no stencil buffer*/) {
    if (!context_->makeCurrent()) return D3DERR_INVALIDCALL;
    if ((flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER)) != 0 || !(z >= 0.0f && z <= 1.0f) ||
        (count > 0 && rects == nullptr)) {
        return D3DERR_INVALIDCALL;
    }
    GLbitfield mask = 0;
    if ((flags & D3DCLEAR_TARGET) != 0) {
        GLfloat rgba[4];
        colourOfArgb(color, rgba);
        glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & D3DCLEAR_ZBUFFER) != 0) {
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (count == 0) {
        glClear(mask);
        return S_OK;
    }
    // Direct3D's rectangles count rows from the top, GL's scissor from the bottom.
    glEnable(GL_SCISSOR_TEST);
    for (DWORD i = 0; i < count; ++i) {
        const D3DRECT& r = rects[i];
        if (r.x2 <= r.x1 || r.y2 <= r.y1) continue;
        glScissor(r.x1, height_ - r.y2, r.x2 - r.x1, r.y2 - r.y1);
        glClear(mask);
    }
    glDisable(GL_SCISSOR_TEST);
    return S_OK;
}

HRESULT GLDevice::BeginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return S_OK;
}

HRESULT GLDevice::EndScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return S_OK;
}

HRESULT GLDevice::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    // Only the whole back buffer into the device's own window: the game asks no more.
    if (!context_->makeCurrent()) return D3DERR_INVALIDCALL;
    SDL_GL_SwapWindow(context_->window());
    // Direct3D stretches its back buffer over the client area as it is now; the window may have
    // changed size since the device was made (its frame is only known once it is shown), so
    // the next frame is drawn over the whole new client area.
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(context_->window(), &width, &height);
    if (width > 0 && height > 0 && (width != width_ || height != height_)) {
        width_ = width;
        height_ = height;
        glViewport(0, 0, width_, height_);
    }
    return S_OK;
}

HRESULT GLDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (matrix == nullptr) return D3DERR_INVALIDCALL;
    switch (state) {
        case D3DTS_WORLD:
            world_ = *matrix;
            modelViewDirty_ = true;
            return S_OK;
        case D3DTS_VIEW:
            view_ = *matrix;
            modelViewDirty_ = true;
            return S_OK;
        case D3DTS_PROJECTION:
            projection_ = *matrix;
            projectionDirty_ = true;
            return S_OK;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT GLDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    GLTexture* ours = nullptr;
    if (stage != 0 || !adopt(texture, ours) || !context_->makeCurrent()) return D3DERR_INVALIDCALL;
    if (ours == texture_) return S_OK;
    if (ours == nullptr) glDisable(GL_TEXTURE_2D);
    else if (texture_ == nullptr) glEnable(GL_TEXTURE_2D);
    holdBinding(texture_, ours);
    if (texture_ != nullptr) glBindTexture(GL_TEXTURE_2D, texture_->name());
    return S_OK;
}

HRESULT GLDevice::SetMaterial(const D3DMATERIAL9* material) {
    if (material == nullptr || !context_->makeCurrent()) return D3DERR_INVALIDCALL;
    material_ = *material;
    applyMaterial();
    return S_OK;
}

void GLDevice::applyMaterial() {
    // Direct3D leaves specular highlights off unless asked, and the game never asks.
    const GLfloat noSpecular[4] = {0, 0, 0, 0};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &material_.Diffuse.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &material_.Ambient.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &material_.Emissive.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, noSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(material_.Power, 0.0f, 128.0f));
}

HRESULT GLDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD, D3DPOOL, IDirect3DVertexBuffer9** buffer,
                                     HANDLE* sharedHandle) {
    if (buffer == nullptr) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (length == 0 || sharedHandle != nullptr || !context_->makeCurrent()) return D3DERR_INVALIDCALL;
    auto* made = new GLVertexBuffer(context_, length, usage);
    if (made->name() == 0) {
        made->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = made;
    return S_OK;
}

HRESULT GLDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL,
                                    IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) {
    if (buffer == nullptr) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (length == 0 || sharedHandle != nullptr || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32) ||
        !context_->makeCurrent()) {
        return D3DERR_INVALIDCALL;
    }
    auto* made = new GLIndexBuffer(context_, length, usage, format);
    if (made->name() == 0) {
        made->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = made;
    return S_OK;
}

HRESULT GLDevice::CreateTexture(UINT width, UINT height, UINT, DWORD, D3DFORMAT format, D3DPOOL,
                                IDirect3DTexture9** texture, HANDLE* sharedHandle) {
    if (texture == nullptr) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (width == 0 || height == 0 || sharedHandle != nullptr ||
        (format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8) || !context_->makeCurrent()) {
        return D3DERR_INVALIDCALL;
    }
    const UINT limit = std::min(kMaxTextureSide, static_cast<UINT>(std::max(context_->maxTextureSide(), 0)));
    if (width > limit || height > limit) return D3DERR_OUTOFVIDEOMEMORY;
    auto* made = new GLTexture(context_, width, height, format);
    if (made->name() == 0) {
        made->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *texture = made;
    return S_OK;
}

HRESULT GLDevice::SetFVF(DWORD fvf) {
    if ((fvf & D3DFVF_XYZ) == 0 || (fvf & ~kDrawableFvfBits) != 0) return D3DERR_INVALIDCALL;
    if (fvf != fvf_) vertexColourDirty_ = true;
    fvf_ = fvf;
    return S_OK;
}

HRESULT GLDevice::SetStreamSource(UINT streamNumber, IDirect3DVertexBuffer9* buffer, UINT offsetInBytes,
                                  UINT stride) {
    GLVertexBuffer* ours = nullptr;
    if (streamNumber != 0 || !adopt(buffer, ours)) return D3DERR_INVALIDCALL;
    holdBinding(stream_, ours);
    streamOffset_ = offsetInBytes;
    streamStride_ = stride;
    return S_OK;
}

HRESULT GLDevice::SetIndices(IDirect3DIndexBuffer9* indices) {
    GLIndexBuffer* ours = nullptr;
    if (!adopt(indices, ours)) return D3DERR_INVALIDCALL;
    holdBinding(indices_, ours);
    return S_OK;
}

HRESULT GLDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                       UINT numVertices, UINT startIndex, UINT primitiveCount) {
    // Direct3D trusts minVertexIndex and numVertices; GL would read past a buffer on a bad index,
    // so the indices themselves are checked against the vertex buffer.
    (void)minVertexIndex;
    (void)numVertices;
    const GLenum mode = glPrimitiveOf(type);
    const std::size_t indexCount = indexCountOf(type, primitiveCount);
    if (mode == 0 || indexCount == 0 || stream_ == nullptr || indices_ == nullptr || fvf_ == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (stream_->locked() || indices_->locked() || !context_->makeCurrent()) return D3DERR_INVALIDCALL;
    const VertexLayout layout = layoutOf(fvf_);
    if (streamStride_ < layout.size) return D3DERR_INVALIDCALL;
    if (startIndex > indices_->indexCount() || indexCount > indices_->indexCount() - startIndex) {
        return D3DERR_INVALIDCALL;
    }
    const std::size_t bytes = stream_->bytes().size();
    const std::int64_t vertexCount =
        bytes < streamOffset_ + layout.size
            ? 0
            : static_cast<std::int64_t>((bytes - streamOffset_ - layout.size) / streamStride_ + 1);
    std::uint32_t lowest = indices_->lowest();
    std::uint32_t highest = indices_->highest();
    auto fits = [&] {
        return std::int64_t{baseVertexIndex} + lowest >= 0 && std::int64_t{baseVertexIndex} + highest < vertexCount;
    };
    if (!fits()) {
        indices_->range(startIndex, indexCount, lowest, highest);
        if (!fits()) return D3DERR_INVALIDCALL;
    }
    if (!applyVertexArrays(baseVertexIndex)) return D3DERR_INVALIDCALL;
    if (vertexColourDirty_) applyVertexColour();
    applyTransforms();
    if (elementBuffer_ != indices_->name()) {
        elementBuffer_ = indices_->name();
        context_->gl().bindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer_);
    }
    glDrawElements(mode, static_cast<GLsizei>(indexCount),
                   indices_->indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                   byteOffset(std::size_t{startIndex} * indices_->indexSize));
    return S_OK;
}

bool GLDevice::applyVertexArrays(INT baseVertexIndex) {
    const std::int64_t start = std::int64_t{streamOffset_} + std::int64_t{baseVertexIndex} * streamStride_;
    if (start < 0) return false;  // GL 2.1 has no base vertex: the start must be a real offset
    const std::size_t offset = static_cast<std::size_t>(start);
    if (arraysSet_ && arrayBuffer_ == stream_->name() && arraysFvf_ == fvf_ && arraysStride_ == streamStride_ &&
        arraysOffset_ == offset) {
        return true;
    }
    arraysSet_ = true;
    arrayBuffer_ = stream_->name();
    arraysFvf_ = fvf_;
    arraysStride_ = streamStride_;
    arraysOffset_ = offset;
    const VertexLayout layout = layoutOf(fvf_);
    const auto stride = static_cast<GLsizei>(streamStride_);
    context_->gl().bindBuffer(GL_ARRAY_BUFFER, arrayBuffer_);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, byteOffset(offset));
    if ((fvf_ & D3DFVF_NORMAL) != 0) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, stride, byteOffset(offset + layout.normal));
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
        glNormal3f(0, 0, 1);
    }
    if ((fvf_ & D3DFVF_DIFFUSE) != 0) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, stride, byteOffset(offset + layout.diffuse));
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
    }
    if ((fvf_ & D3DFVF_TEX1) != 0) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, byteOffset(offset + layout.texture));
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoord2f(0, 0);
    }
    return true;
}

void GLDevice::applyVertexColour() {
    vertexColourDirty_ = false;
    const bool vertexColours = (fvf_ & D3DFVF_DIFFUSE) != 0;
    if (vertexColours && lighting_) {
        // Lit vertex colours stand for the material's diffuse colour, as in Direct3D.
        glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        colourMaterial_ = true;
        return;
    }
    if (colourMaterial_) {
        glDisable(GL_COLOR_MATERIAL);
        colourMaterial_ = false;
        applyMaterial();  // the vertex colours overwrote its diffuse colour
    }
    // Unlit and without vertex colours, Direct3D's diffuse colour is opaque white.
    if (!vertexColours) glColor4f(1, 1, 1, 1);
}

void GLDevice::applyTransforms() {
    if (modelViewDirty_) {
        // Direct3D's row-vector matrices are GL's column-major ones as they stand; its
        // world × view is GL's view × world.
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(&view_.m[0][0]);
        glMultMatrixf(&world_.m[0][0]);
        modelViewDirty_ = false;
    }
    if (projectionDirty_) {
        glMatrixMode(GL_PROJECTION);
        if (context_->gl().clipControl != nullptr) {
            glLoadMatrixf(&projection_.m[0][0]);
        } else {
            glLoadMatrixf(kDepthFold);
            glMultMatrixf(&projection_.m[0][0]);
        }
        projectionDirty_ = false;
    }
}

}  // namespace platform
