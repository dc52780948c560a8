#pragma once
// A Direct3D that draws nothing and writes down every call, for tests of the game and of D3DX.
//
//   platform::Recording& rec = platform::installRecordingDirect3D();
//   rec.failCall("BeginScene", E_FAIL);           // optional: make calls fail
//   ... run the code under test ...
//   rec.count("DrawIndexedPrimitive");            // read the log
//   rec.callsNamed("SetTexture")[0]->texture()->texel(0, 0);
//
// Call names: "Direct3DCreate9", "CreateDevice", every device method by its own name
// ("SetRenderState", "Clear", ...), "VertexBuffer.Lock", "VertexBuffer.Unlock",
// "IndexBuffer.Lock", "IndexBuffer.Unlock", "Texture.LockRect", "Texture.UnlockRect",
// "AddRef" and "Release" (any object).
//
// Objects are never freed while the process runs: Release to 0 only marks them released, so a
// test can still look at them, and any later call on them is logged as a misuse. Binding an
// object (SetTexture, SetStreamSource, SetIndices) takes no reference.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9.h"

namespace platform {

class RecordingTexture;
class RecordingVertexBuffer;
class RecordingIndexBuffer;
class RecordingDevice;

struct RecordedCall {
    std::string name;
    std::vector<std::int64_t> ints;      // integer and enum arguments, in order
    std::vector<float> floats;           // float arguments, in order
    std::vector<const void*> pointers;   // other pointer arguments (rects, Present's four), in order
    IUnknown* object = nullptr;          // the object called (buffer/texture calls, AddRef, Release)
                                         // or passed (SetTexture, SetStreamSource, SetIndices)
    D3DMATRIX matrix{};                  // SetTransform
    D3DMATERIAL9 material{};             // SetMaterial
    D3DPRESENT_PARAMETERS presentParameters{};  // CreateDevice, as passed
    HWND window = nullptr;               // CreateDevice's focus window
    HRESULT result = S_OK;

    // The object as one of ours, or null when it is none (or another kind).
    RecordingTexture* texture() const;
    RecordingVertexBuffer* vertexBuffer() const;
    RecordingIndexBuffer* indexBuffer() const;
};

// What every recording object shares: its reference count. Released means the count reached 0.
class RecordedObject {
public:
    virtual ~RecordedObject() = default;
    ULONG refCount() const { return refs_; }
    bool released() const { return refs_ == 0; }

protected:
    ULONG countUp(IUnknown* self);
    ULONG countDown(IUnknown* self);
    // Logs a misuse and returns false when the object is already released.
    bool alive(const char* call) const;

private:
    ULONG refs_ = 1;
};

template <class Interface>
class Recorded : public Interface, public RecordedObject {
public:
    ULONG AddRef() override { return countUp(this); }
    ULONG Release() override { return countDown(this); }
};

// A buffer that keeps its bytes; Lock hands out a pointer into them. `kind` names it in the log:
// "VertexBuffer" or "IndexBuffer".
template <class Interface>
class RecordingBuffer : public Recorded<Interface> {
public:
    RecordingBuffer(const char* kind, UINT length, DWORD usage, D3DPOOL pool);
    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD flags) override;
    HRESULT Unlock() override;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    bool locked() const { return locks_ > 0; }
    int lockCount() const { return lockCount_; }  // successful locks so far

    const DWORD usage;
    const D3DPOOL pool;

private:
    std::string lockName_;
    std::string unlockName_;
    std::vector<std::uint8_t> bytes_;
    int locks_ = 0;
    int lockCount_ = 0;
};

class RecordingVertexBuffer final : public RecordingBuffer<IDirect3DVertexBuffer9> {
public:
    RecordingVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
        : RecordingBuffer("VertexBuffer", length, usage, pool), fvf(fvf) {}
    const DWORD fvf;
};

class RecordingIndexBuffer final : public RecordingBuffer<IDirect3DIndexBuffer9> {
public:
    RecordingIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
        : RecordingBuffer("IndexBuffer", length, usage, pool), format(format) {}
    const D3DFORMAT format;
};

// 32-bit texels, rows top-first, no padding: pitch is width × 4.
class RecordingTexture final : public Recorded<IDirect3DTexture9> {
public:
    RecordingTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                     int creationIndex);
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    // The texel at (x, y) as ARGB; (0, 0) is the top-left. 0 outside the texture.
    D3DCOLOR texel(UINT x, UINT y) const;
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }  // B, G, R, A per texel
    bool locked() const { return locks_ > 0; }

    const UINT width;
    const UINT height;
    const UINT levels;
    const DWORD usage;
    const D3DFORMAT format;
    const D3DPOOL pool;
    const int creationIndex;  // 0 for the first texture made since install, then 1, 2, ...

private:
    std::vector<std::uint8_t> pixels_;
    int locks_ = 0;
};

class RecordingDevice final : public Recorded<IDirect3DDevice9> {
public:
    // depthBuffer: whether z testing starts on, as with an automatic depth buffer.
    explicit RecordingDevice(bool depthBuffer);

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

    // The device's state as the calls so far left it; it starts as Direct3D's defaults
    // (identity transforms, lighting on, z on, cull counter-clockwise, z func less-or-equal).
    DWORD renderState(D3DRENDERSTATETYPE state) const;
    const D3DMATRIX& transform(D3DTRANSFORMSTATETYPE state) const;
    const D3DMATERIAL9& material() const { return material_; }
    IDirect3DBaseTexture9* texture() const { return texture_; }  // stage 0
    bool inScene() const { return inScene_; }

private:
    std::map<DWORD, DWORD> renderStates_;
    std::map<DWORD, D3DMATRIX> transforms_;
    D3DMATERIAL9 material_{};
    IDirect3DBaseTexture9* texture_ = nullptr;
    bool inScene_ = false;
    DWORD fvf_ = 0;
    RecordingVertexBuffer* stream_ = nullptr;
    UINT streamOffset_ = 0;
    UINT streamStride_ = 0;
    RecordingIndexBuffer* indices_ = nullptr;

    // What is wrong with a draw (it would read outside its buffers, or nothing is bound), or null.
    const char* drawFault(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex, UINT numVertices,
                          UINT startIndex, UINT primitiveCount) const;
};

class RecordingDirect3D final : public Recorded<IDirect3D9> {
public:
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* presentationParameters,
                         IDirect3DDevice9** returnedDevice) override;
};

// The log, the injected failures and every object made, for the whole process.
class Recording {
public:
    const std::vector<RecordedCall>& calls() const { return calls_; }
    std::vector<const RecordedCall*> callsNamed(const std::string& name) const;
    std::size_t count(const std::string& name) const;
    void clearCalls() { calls_.clear(); }

    // Calls named `name` return `result` (a failure code) instead of doing their work: every
    // one from now on, or only the next `times`. Direct3DCreate9 then returns null.
    void failCall(const std::string& name, HRESULT result, int times = -1);

    // Calls on released objects and other wrong uses, one line each; empty when all was well.
    const std::vector<std::string>& misuses() const { return misuses_; }

    // What was made since install, in creation order.
    const std::vector<RecordingDirect3D*>& direct3Ds() const { return direct3Ds_; }
    const std::vector<RecordingDevice*>& devices() const { return devices_; }
    const std::vector<RecordingVertexBuffer*>& vertexBuffers() const { return vertexBuffers_; }
    const std::vector<RecordingIndexBuffer*>& indexBuffers() const { return indexBuffers_; }
    const std::vector<RecordingTexture*>& textures() const { return textures_; }
    RecordingDevice* device() const { return devices_.empty() ? nullptr : devices_.back(); }  // the last

    // For the recording objects themselves.
    RecordedCall& record(std::string name);
    HRESULT injectedFailure(const std::string& name);
    void misuse(std::string what) { misuses_.push_back(std::move(what)); }
    RecordingDirect3D* makeDirect3D();
    RecordingDevice* makeDevice(bool depthBuffer);
    RecordingVertexBuffer* makeVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);
    RecordingIndexBuffer* makeIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    RecordingTexture* makeTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                  D3DPOOL pool);

    // Forgets the log, the failures and the lists above; objects already made stay valid.
    void reset();

    // For long runs (the fuzz targets) that would otherwise keep every object they ever made:
    // deletes every released object, drops it from the lists above, and forgets the log, whose
    // entries may point at one. Objects still referenced stay. Nothing may use a deleted
    // object afterwards, so release a device before the buffers it has bound.
    void deleteReleased();
    // Objects made since the process began that are not released yet.
    std::size_t unreleasedCount() const;

private:
    struct Failure {
        HRESULT result;
        int remaining;  // negative: without end
    };
    std::vector<RecordedCall> calls_;
    std::map<std::string, Failure> failures_;
    std::vector<std::string> misuses_;
    std::vector<std::unique_ptr<RecordedObject>> owned_;
    std::vector<RecordingDirect3D*> direct3Ds_;
    std::vector<RecordingDevice*> devices_;
    std::vector<RecordingVertexBuffer*> vertexBuffers_;
    std::vector<RecordingIndexBuffer*> indexBuffers_;
    std::vector<RecordingTexture*> textures_;
};

// The process's one recording.
Recording& recording();

// Resets the recording and makes Direct3DCreate9 hand out recording objects.
Recording& installRecordingDirect3D();

// The factory installRecordingDirect3D installs, for code that wants to install it itself.
IDirect3D9* createRecordingDirect3D(UINT sdkVersion);

// A device made directly, without Direct3DCreate9 and CreateDevice (for D3DX tests); recorded
// like any other.
RecordingDevice* createRecordingDevice();

}  // namespace platform
