#include "platform/d3d9/lock_range.h"
#include "platform/d3d9/recording_device.h"

namespace platform {

ULONG RecordedObject::countUp(IUnknown* self) {
    RecordedCall& call = recording().record("AddRef");
    call.object = self;
    if (alive("AddRef")) ++refs_;
    call.ints = {refs_};
    return refs_;
}

ULONG RecordedObject::countDown(IUnknown* self) {
    RecordedCall& call = recording().record("Release");
    call.object = self;
    if (alive("Release")) --refs_;
    call.ints = {refs_};
    return refs_;
}

bool RecordedObject::alive(const char* call) const {
    if (refs_ > 0) return true;
    recording().misuse(std::string(call) + " on a released object");
    return false;
}

template <class Interface>
RecordingBuffer<Interface>::RecordingBuffer(const char* kind, UINT length, DWORD usage, D3DPOOL pool)
    : usage(usage),
      pool(pool),
      lockName_(std::string(kind) + ".Lock"),
      unlockName_(std::string(kind) + ".Unlock"),
      bytes_(length) {}

template <class Interface>
HRESULT RecordingBuffer<Interface>::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    Recording& rec = recording();
    RecordedCall& call = rec.record(lockName_);
    call.object = this;
    call.ints = {offset, size, flags};
    if (data != nullptr) *data = nullptr;
    if (!this->alive(lockName_.c_str())) return call.result = D3DERR_INVALIDCALL;
    call.result = rec.injectedFailure(lockName_);
    if (FAILED(call.result)) return call.result;
    std::size_t end = 0;
    if (data == nullptr || !lockRange(bytes_.size(), offset, size, end)) {
        rec.misuse(lockName_ + " outside the buffer");
        return call.result = D3DERR_INVALIDCALL;
    }
    *data = bytes_.data() + offset;
    ++locks_;
    ++lockCount_;
    return call.result;
}

template <class Interface>
HRESULT RecordingBuffer<Interface>::Unlock() {
    Recording& rec = recording();
    RecordedCall& call = rec.record(unlockName_);
    call.object = this;
    if (!this->alive(unlockName_.c_str())) return call.result = D3DERR_INVALIDCALL;
    if (locks_ == 0) {
        rec.misuse(unlockName_ + " of a buffer that is not locked");
        return call.result = D3DERR_INVALIDCALL;
    }
    --locks_;
    return call.result;
}

template class RecordingBuffer<IDirect3DVertexBuffer9>;
template class RecordingBuffer<IDirect3DIndexBuffer9>;

RecordingTexture::RecordingTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                   D3DPOOL pool, int creationIndex)
    : width(width),
      height(height),
      levels(levels),
      usage(usage),
      format(format),
      pool(pool),
      creationIndex(creationIndex),
      pixels_(std::size_t{width} * height * 4) {}

HRESULT RecordingTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    Recording& rec = recording();
    RecordedCall& call = rec.record("Texture.LockRect");
    call.object = this;
    call.ints = {level, flags};
    call.pointers = {rect};
    if (!alive("Texture.LockRect")) return call.result = D3DERR_INVALIDCALL;
    call.result = rec.injectedFailure(call.name);
    if (FAILED(call.result)) return call.result;
    if (locked == nullptr || level != 0) return call.result = D3DERR_INVALIDCALL;
    std::size_t left = 0;
    std::size_t top = 0;
    if (!lockRectOrigin(rect, width, height, left, top)) {
        rec.misuse("LockRect outside the texture");
        return call.result = D3DERR_INVALIDCALL;
    }
    locked->Pitch = static_cast<INT>(width * 4);
    locked->pBits = pixels_.data() + (top * width + left) * 4;
    ++locks_;
    return call.result;
}

HRESULT RecordingTexture::UnlockRect(UINT level) {
    RecordedCall& call = recording().record("Texture.UnlockRect");
    call.object = this;
    call.ints = {level};
    if (!alive("Texture.UnlockRect") || level != 0) return call.result = D3DERR_INVALIDCALL;
    if (locks_ == 0) {
        recording().misuse("UnlockRect of a texture that is not locked");
        return call.result = D3DERR_INVALIDCALL;
    }
    --locks_;
    return call.result;
}

D3DCOLOR RecordingTexture::texel(UINT x, UINT y) const {
    if (x >= width || y >= height) return 0;
    const std::uint8_t* p = pixels_.data() + (std::size_t{y} * width + x) * 4;
    return D3DCOLOR{p[0]} | D3DCOLOR{p[1]} << 8 | D3DCOLOR{p[2]} << 16 | D3DCOLOR{p[3]} << 24;
}

}  // namespace platform
