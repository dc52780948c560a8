#pragma once
// Vertex buffers, index buffers and textures of the OpenGL device. Each keeps a copy of its
// bytes for Lock, and sends what changed to GL once, at Unlock.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/d3d9.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_binding.h"
#include "platform/ref_counted.h"

namespace platform {

template <class Interface>
class GLBuffer : public RefCounted<Interface> {
public:
    // target: GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER. name() is 0 when GL made no buffer.
    GLBuffer(std::shared_ptr<GLContext> context, GLenum target, UINT length, DWORD usage);
    ~GLBuffer() override;

    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD flags) override;
    HRESULT Unlock() override;

    GLuint name() const { return name_; }
    bool locked() const { return locks_ > 0; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

protected:
    virtual void uploaded() {}

private:
    std::shared_ptr<GLContext> context_;
    GLenum target_;
    GLuint name_ = 0;
    std::vector<std::uint8_t> bytes_;
    int locks_ = 0;
    std::size_t dirtyBegin_ = 0;  // what the locks since the last upload may have written
    std::size_t dirtyEnd_ = 0;
};

class GLVertexBuffer final : public GLBuffer<IDirect3DVertexBuffer9> {
public:
    GLVertexBuffer(std::shared_ptr<GLContext> context, UINT length, DWORD usage)
        : GLBuffer(std::move(context), GL_ARRAY_BUFFER, length, usage) {}
};

class GLIndexBuffer final : public GLBuffer<IDirect3DIndexBuffer9> {
public:
    GLIndexBuffer(std::shared_ptr<GLContext> context, UINT length, DWORD usage, D3DFORMAT format)
        : GLBuffer(std::move(context), GL_ELEMENT_ARRAY_BUFFER, length, usage),
          indexSize(format == D3DFMT_INDEX32 ? 4 : 2) {}

    std::size_t indexCount() const { return bytes().size() / indexSize; }
    // Smallest and largest index among `count` indices from `start` (which must lie inside).
    void range(std::size_t start, std::size_t count, std::uint32_t& lowest, std::uint32_t& highest) const;
    // The same over the whole buffer, as of the last upload.
    std::uint32_t lowest() const { return lowest_; }
    std::uint32_t highest() const { return highest_; }

    const std::size_t indexSize;

private:
    void uploaded() override;
    std::uint32_t lowest_ = 0;
    std::uint32_t highest_ = 0;
};

// Level 0 only, 32-bit texels kept as B, G, R, A bytes, rows top-first: the order GL_BGRA reads.
class GLTexture final : public RefCounted<IDirect3DTexture9> {
public:
    // name() is 0 when GL made no texture.
    GLTexture(std::shared_ptr<GLContext> context, UINT width, UINT height, D3DFORMAT format);
    ~GLTexture() override;

    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    GLuint name() const { return name_; }

private:
    std::shared_ptr<GLContext> context_;
    UINT width_;
    UINT height_;
    D3DFORMAT format_;
    GLuint name_ = 0;
    std::vector<std::uint8_t> pixels_;
    int locks_ = 0;
    bool written_ = false;  // a lock since the last upload was not read-only
};

}  // namespace platform
