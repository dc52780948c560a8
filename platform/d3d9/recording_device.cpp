#include "platform/d3d9/recording_device.h"

#include "platform/d3d9/index_reading.h"
#include "platform/d3d9/texture_limits.h"

namespace platform {

namespace {

// Whether a recorded call goes on to do its work: not on a released object, not when a failure
// was injected for it. Sets the call's result when it stops.
bool proceed(RecordedCall& call, bool released) {
    Recording& rec = recording();
    if (released) {
        rec.misuse(call.name + " on a released object");
        call.result = D3DERR_INVALIDCALL;
        return false;
    }
    call.result = rec.injectedFailure(call.name);
    return SUCCEEDED(call.result);
}

HRESULT refuse(RecordedCall& call, const std::string& why) {
    recording().misuse(call.name + ": " + why);
    return call.result = D3DERR_INVALIDCALL;
}

D3DMATRIX identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

// The common path of the Create calls: `make` returns null when there is no memory for the object.
template <class Interface, class Make>
HRESULT create(RecordedCall& call, bool released, Interface** out, bool argumentsValid, Make make) {
    if (out != nullptr) *out = nullptr;
    if (!proceed(call, released)) return call.result;
    if (out == nullptr || !argumentsValid) return refuse(call, "bad arguments");
    Interface* made = make();
    if (made == nullptr) return call.result = D3DERR_OUTOFVIDEOMEMORY;
    *out = made;
    call.object = made;
    return call.result;
}

}  // namespace

RecordingDevice::RecordingDevice(bool depthBuffer)
    : renderStates_{{D3DRS_ZENABLE, depthBuffer ? D3DZB_TRUE : D3DZB_FALSE},
                    {D3DRS_CULLMODE, D3DCULL_CCW},
                    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
                    {D3DRS_LIGHTING, TRUE}},
      transforms_{{D3DTS_WORLD, identity()}, {D3DTS_VIEW, identity()}, {D3DTS_PROJECTION, identity()}} {}

DWORD RecordingDevice::renderState(D3DRENDERSTATETYPE state) const {
    auto found = renderStates_.find(state);
    return found == renderStates_.end() ? 0 : found->second;
}

const D3DMATRIX& RecordingDevice::transform(D3DTRANSFORMSTATETYPE state) const {
    static const D3DMATRIX unset = identity();
    auto found = transforms_.find(state);
    return found == transforms_.end() ? unset : found->second;
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    RecordedCall& call = recording().record("SetRenderState");
    call.ints = {state, value};
    if (!proceed(call, released())) return call.result;
    renderStates_[state] = value;
    return call.result;
}

HRESULT RecordingDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                               DWORD stencil) {
    RecordedCall& call = recording().record("Clear");
    call.ints = {count, flags, color, stencil};
    call.floats = {z};
    call.pointers = {rects};
    proceed(call, released());
    return call.result;
}

HRESULT RecordingDevice::BeginScene() {
    RecordedCall& call = recording().record("BeginScene");
    if (!proceed(call, released())) return call.result;
    if (inScene_) return refuse(call, "already in a scene");
    inScene_ = true;
    return call.result;
}

HRESULT RecordingDevice::EndScene() {
    RecordedCall& call = recording().record("EndScene");
    if (!proceed(call, released())) return call.result;
    if (!inScene_) return refuse(call, "no scene began");
    inScene_ = false;
    return call.result;
}

HRESULT RecordingDevice::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                                 const RGNDATA* dirtyRegion) {
    RecordedCall& call = recording().record("Present");
    call.pointers = {sourceRect, destRect, destWindowOverride, dirtyRegion};
    proceed(call, released());
    return call.result;
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    RecordedCall& call = recording().record("SetTransform");
    call.ints = {state};
    if (matrix != nullptr) call.matrix = *matrix;
    if (!proceed(call, released())) return call.result;
    if (matrix == nullptr) return refuse(call, "no matrix");
    if (state != D3DTS_WORLD && state != D3DTS_VIEW && state != D3DTS_PROJECTION) {
        return refuse(call, "unknown transform");
    }
    transforms_[state] = *matrix;
    return call.result;
}

HRESULT RecordingDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    RecordedCall& call = recording().record("SetTexture");
    call.ints = {stage};
    call.object = texture;
    if (!proceed(call, released())) return call.result;
    if (stage != 0) return refuse(call, "only stage 0 exists");
    if (texture != nullptr) {
        RecordingTexture* ours = call.texture();
        if (ours == nullptr) return refuse(call, "not a texture of the recording device");
        if (ours->released()) return refuse(call, "texture already released");
    }
    texture_ = texture;
    return call.result;
}

HRESULT RecordingDevice::SetMaterial(const D3DMATERIAL9* material) {
    RecordedCall& call = recording().record("SetMaterial");
    if (material != nullptr) call.material = *material;
    if (!proceed(call, released())) return call.result;
    if (material == nullptr) return refuse(call, "no material");
    material_ = *material;
    return call.result;
}

HRESULT RecordingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                            IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) {
    RecordedCall& call = recording().record("CreateVertexBuffer");
    call.ints = {length, usage, fvf, pool};
    call.pointers = {sharedHandle};
    return create(call, released(), buffer, length > 0 && sharedHandle == nullptr,
                  [&] { return recording().makeVertexBuffer(length, usage, fvf, pool); });
}

HRESULT RecordingDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                           IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) {
    RecordedCall& call = recording().record("CreateIndexBuffer");
    call.ints = {length, usage, format, pool};
    call.pointers = {sharedHandle};
    const bool valid = length > 0 && sharedHandle == nullptr &&
                       (format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32);
    return create(call, released(), buffer, valid,
                  [&] { return recording().makeIndexBuffer(length, usage, format, pool); });
}

HRESULT RecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                       D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) {
    RecordedCall& call = recording().record("CreateTexture");
    call.ints = {width, height, levels, usage, format, pool};
    call.pointers = {sharedHandle};
    const bool valid = sharedHandle == nullptr && width > 0 && height > 0 &&
                       (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8);
    return create(call, released(), texture, valid, [&]() -> RecordingTexture* {
        if (width > kMaxTextureSide || height > kMaxTextureSide) return nullptr;
        return recording().makeTexture(width, height, levels, usage, format, pool);
    });
}

HRESULT RecordingDevice::SetFVF(DWORD fvf) {
    RecordedCall& call = recording().record("SetFVF");
    call.ints = {fvf};
    if (!proceed(call, released())) return call.result;
    fvf_ = fvf;
    return call.result;
}

HRESULT RecordingDevice::SetStreamSource(UINT streamNumber, IDirect3DVertexBuffer9* buffer, UINT offsetInBytes,
                                         UINT stride) {
    RecordedCall& call = recording().record("SetStreamSource");
    call.ints = {streamNumber, offsetInBytes, stride};
    call.object = buffer;
    if (!proceed(call, released())) return call.result;
    if (streamNumber != 0) return refuse(call, "only stream 0 exists");
    RecordingVertexBuffer* ours = call.vertexBuffer();
    if (buffer != nullptr && ours == nullptr) return refuse(call, "not a vertex buffer of the recording device");
    if (ours != nullptr && ours->released()) return refuse(call, "vertex buffer already released");
    stream_ = ours;
    streamOffset_ = offsetInBytes;
    streamStride_ = stride;
    return call.result;
}

HRESULT RecordingDevice::SetIndices(IDirect3DIndexBuffer9* indices) {
    RecordedCall& call = recording().record("SetIndices");
    call.object = indices;
    if (!proceed(call, released())) return call.result;
    RecordingIndexBuffer* ours = call.indexBuffer();
    if (indices != nullptr && ours == nullptr) return refuse(call, "not an index buffer of the recording device");
    if (ours != nullptr && ours->released()) return refuse(call, "index buffer already released");
    indices_ = ours;
    return call.result;
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                              UINT numVertices, UINT startIndex, UINT primitiveCount) {
    RecordedCall& call = recording().record("DrawIndexedPrimitive");
    call.ints = {type, baseVertexIndex, minVertexIndex, numVertices, startIndex, primitiveCount};
    if (!proceed(call, released())) return call.result;
    if (!inScene_) recording().misuse("DrawIndexedPrimitive outside BeginScene/EndScene");
    if (const char* fault =
            drawFault(type, baseVertexIndex, minVertexIndex, numVertices, startIndex, primitiveCount)) {
        return refuse(call, fault);
    }
    return call.result;
}

const char* RecordingDevice::drawFault(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                       UINT numVertices, UINT startIndex, UINT primitiveCount) const {
    if (stream_ == nullptr || indices_ == nullptr) return "no vertex or index buffer set";
    if (stream_->released() || indices_->released()) return "a bound buffer was released";
    if (stream_->locked() || indices_->locked()) return "a bound buffer is still locked";
    if (fvf_ == 0 || streamStride_ == 0) return "no vertex format or stride";
    const std::size_t indexCount = indexCountOf(type, primitiveCount);
    if (indexCount == 0) return "unknown primitive type or no primitives";
    const std::size_t indexSize = indices_->format == D3DFMT_INDEX32 ? 4 : 2;
    const std::vector<std::uint8_t>& indexBytes = indices_->bytes();
    if (startIndex > indexBytes.size() / indexSize || indexCount > indexBytes.size() / indexSize - startIndex) {
        return "indices beyond the index buffer";
    }
    const std::size_t vertexBytes = stream_->bytes().size();
    const std::int64_t vertexCount =
        streamOffset_ > vertexBytes ? 0 : static_cast<std::int64_t>((vertexBytes - streamOffset_) / streamStride_);
    for (std::size_t i = 0; i < indexCount; ++i) {
        const std::uint32_t index = indexAt(indexBytes.data(), indexSize, startIndex + i);
        if (index < minVertexIndex || index - minVertexIndex >= numVertices) {
            return "an index outside minVertexIndex..minVertexIndex+numVertices";
        }
        const std::int64_t vertex = std::int64_t{baseVertexIndex} + index;
        if (vertex < 0 || vertex >= vertexCount) return "an index beyond the vertex buffer";
    }
    return nullptr;
}

HRESULT RecordingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                        DWORD behaviorFlags, D3DPRESENT_PARAMETERS* presentationParameters,
                                        IDirect3DDevice9** returnedDevice) {
    Recording& rec = recording();
    RecordedCall& call = rec.record("CreateDevice");
    call.ints = {adapter, deviceType, behaviorFlags};
    call.window = focusWindow;
    if (presentationParameters != nullptr) call.presentParameters = *presentationParameters;
    if (returnedDevice != nullptr) *returnedDevice = nullptr;
    if (!proceed(call, released())) return call.result;
    if (returnedDevice == nullptr || presentationParameters == nullptr) return refuse(call, "bad arguments");
    RecordingDevice* device = rec.makeDevice(presentationParameters->EnableAutoDepthStencil != FALSE);
    *returnedDevice = device;
    call.object = device;
    return call.result;
}

}  // namespace platform
