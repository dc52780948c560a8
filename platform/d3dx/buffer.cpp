#include "platform/d3dx/buffer.h"

#include <cstddef>
#include <memory>

#include "platform/ref_counted.h"

namespace platform::d3dx {
namespace {

class Buffer final : public RefCounted<ID3DXBuffer> {
public:
    explicit Buffer(DWORD size)
        // Whole max_align_t cells so records such as D3DXMATERIAL can live at the start.
        : cells_(new std::max_align_t[(size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t)]()),
          size_(size) {}

    void* GetBufferPointer() override { return cells_.get(); }
    DWORD GetBufferSize() override { return size_; }

private:
    std::unique_ptr<std::max_align_t[]> cells_;
    DWORD size_;
};

}  // namespace

ID3DXBuffer* createBuffer(DWORD size) { return new Buffer(size); }

}  // namespace platform::d3dx
