#include "platform/d3d9/factory.h"
#include "platform/d3d9/recording_device.h"

#include <algorithm>

namespace platform {

RecordingTexture* RecordedCall::texture() const { return dynamic_cast<RecordingTexture*>(object); }

RecordingVertexBuffer* RecordedCall::vertexBuffer() const {
    return dynamic_cast<RecordingVertexBuffer*>(object);
}

RecordingIndexBuffer* RecordedCall::indexBuffer() const { return dynamic_cast<RecordingIndexBuffer*>(object); }

std::vector<const RecordedCall*> Recording::callsNamed(const std::string& name) const {
    std::vector<const RecordedCall*> found;
    for (const RecordedCall& call : calls_) {
        if (call.name == name) found.push_back(&call);
    }
    return found;
}

std::size_t Recording::count(const std::string& name) const {
    std::size_t n = 0;
    for (const RecordedCall& call : calls_) n += call.name == name ? 1 : 0;
    return n;
}

void Recording::failCall(const std::string& name, HRESULT result, int times) {
    failures_[name] = Failure{result, times};
}

RecordedCall& Recording::record(std::string name) {
    calls_.emplace_back();
    calls_.back().name = std::move(name);
    return calls_.back();
}

HRESULT Recording::injectedFailure(const std::string& name) {
    auto found = failures_.find(name);
    if (found == failures_.end()) return S_OK;
    const HRESULT result = found->second.result;
    if (found->second.remaining > 0 && --found->second.remaining == 0) failures_.erase(found);
    return result;
}

RecordingDirect3D* Recording::makeDirect3D() {
    auto* made = new RecordingDirect3D();
    owned_.emplace_back(made);
    direct3Ds_.push_back(made);
    return made;
}

RecordingDevice* Recording::makeDevice(bool depthBuffer) {
    auto* made = new RecordingDevice(depthBuffer);
    owned_.emplace_back(made);
    devices_.push_back(made);
    return made;
}

RecordingVertexBuffer* Recording::makeVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool) {
    auto* made = new RecordingVertexBuffer(length, usage, fvf, pool);
    owned_.emplace_back(made);
    vertexBuffers_.push_back(made);
    return made;
}

RecordingIndexBuffer* Recording::makeIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool) {
    auto* made = new RecordingIndexBuffer(length, usage, format, pool);
    owned_.emplace_back(made);
    indexBuffers_.push_back(made);
    return made;
}

RecordingTexture* Recording::makeTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                         D3DPOOL pool) {
    auto* made = new RecordingTexture(width, height, levels, usage, format, pool,
                                      static_cast<int>(textures_.size()));
    owned_.emplace_back(made);
    textures_.push_back(made);
    return made;
}

void Recording::reset() {
    calls_.clear();
    failures_.clear();
    misuses_.clear();
    direct3Ds_.clear();
    devices_.clear();
    vertexBuffers_.clear();
    indexBuffers_.clear();
    textures_.clear();
}

namespace {

template <class T>
void dropReleased(std::vector<T*>& objects) {
    objects.erase(std::remove_if(objects.begin(), objects.end(), [](const T* made) { return made->released(); }),
                  objects.end());
}

}  // namespace

void Recording::deleteReleased() {
    calls_.clear();
    dropReleased(direct3Ds_);
    dropReleased(devices_);
    dropReleased(vertexBuffers_);
    dropReleased(indexBuffers_);
    dropReleased(textures_);
    owned_.erase(std::remove_if(owned_.begin(), owned_.end(),
                                [](const std::unique_ptr<RecordedObject>& made) { return made->released(); }),
                 owned_.end());
}

std::size_t Recording::unreleasedCount() const {
    return static_cast<std::size_t>(std::count_if(owned_.begin(), owned_.end(),
                                                  [](const auto& made) { return !made->released(); }));
}

Recording& recording() {
    static Recording theRecording;
    return theRecording;
}

IDirect3D9* createRecordingDirect3D(UINT sdkVersion) {
    Recording& rec = recording();
    RecordedCall& call = rec.record("Direct3DCreate9");
    call.ints = {sdkVersion};
    call.result = rec.injectedFailure(call.name);
    if (FAILED(call.result)) return nullptr;
    return rec.makeDirect3D();
}

Recording& installRecordingDirect3D() {
    recording().reset();
    setDirect3DFactory(&createRecordingDirect3D);
    return recording();
}

RecordingDevice* createRecordingDevice() { return recording().makeDevice(true); }

}  // namespace platform
