#include "platform/gl/gl_resources.h"

#include <algorithm>

#include "platform/d3d9/index_reading.h"
#include "platform/d3d9/lock_range.h"

namespace platform {

namespace {

constexpr DWORD kUsageDynamic = 0x200;  // D3DUSAGE_DYNAMIC

GLenum bindingQueryOf(GLenum target) {
    return target == GL_ARRAY_BUFFER ? GL_ARRAY_BUFFER_BINDING : GL_ELEMENT_ARRAY_BUFFER_BINDING;
}

// Runs `work` with `name` bound to `target`, then puts back what the device had bound, so the
// device's idea of the bindings stays true.
template <class Work>
void withBufferBound(const GLFunctions& gl, GLenum target, GLuint name, Work work) {
    GLint previous = 0;
    glGetIntegerv(bindingQueryOf(target), &previous);
    gl.bindBuffer(target, name);
    work();
    gl.bindBuffer(target, static_cast<GLuint>(previous));
}

template <class Work>
void withTextureBound(GLuint name, Work work) {
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    work();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}

}  // namespace

template <class Interface>
GLBuffer<Interface>::GLBuffer(std::shared_ptr<GLContext> context, GLenum target, UINT length, DWORD usage)
    : context_(std::move(context)), target_(target), bytes_(length) {
    if (!context_->makeCurrent()) return;
    const GLFunctions& gl = context_->gl();
    gl.genBuffers(1, &name_);
    withBufferBound(gl, target_, name_, [&] {
        gl.bufferData(target_, static_cast<GLsizeiptr>(length), nullptr,
                      (usage & kUsageDynamic) != 0 ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
    });
}

template <class Interface>
GLBuffer<Interface>::~GLBuffer() {
    if (name_ != 0 && context_->makeCurrent()) context_->gl().deleteBuffers(1, &name_);
}

template <class Interface>
HRESULT GLBuffer<Interface>::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    if (data == nullptr) return D3DERR_INVALIDCALL;
    *data = nullptr;
    std::size_t end = 0;
    if (!lockRange(bytes_.size(), offset, size, end)) return D3DERR_INVALIDCALL;
    if ((flags & D3DLOCK_READONLY) == 0) {
        if (dirtyBegin_ == dirtyEnd_) {
            dirtyBegin_ = offset;
            dirtyEnd_ = end;
        } else {
            dirtyBegin_ = std::min<std::size_t>(dirtyBegin_, offset);
            dirtyEnd_ = std::max(dirtyEnd_, end);
        }
    }
    ++locks_;
    *data = bytes_.data() + offset;
    return S_OK;
}

template <class Interface>
HRESULT GLBuffer<Interface>::Unlock() {
    if (locks_ == 0) return D3DERR_INVALIDCALL;
    if (--locks_ > 0 || dirtyBegin_ == dirtyEnd_) return S_OK;
    if (context_->makeCurrent()) {
        const GLFunctions& gl = context_->gl();
        withBufferBound(gl, target_, name_, [&] {
            gl.bufferSubData(target_, static_cast<GLintptr>(dirtyBegin_),
                             static_cast<GLsizeiptr>(dirtyEnd_ - dirtyBegin_), bytes_.data() + dirtyBegin_);
        });
    }
    dirtyBegin_ = dirtyEnd_ = 0;
    uploaded();
    return S_OK;
}

template class GLBuffer<IDirect3DVertexBuffer9>;
template class GLBuffer<IDirect3DIndexBuffer9>;

void GLIndexBuffer::range(std::size_t start, std::size_t count, std::uint32_t& lowest,
                          std::uint32_t& highest) const {
    lowest = 0xFFFFFFFFu;
    highest = 0;
    for (std::size_t i = start; i < start + count; ++i) {
        const std::uint32_t index = indexAt(bytes().data(), indexSize, i);
        lowest = std::min(lowest, index);
        highest = std::max(highest, index);
    }
}

void GLIndexBuffer::uploaded() { range(0, indexCount(), lowest_, highest_); }

GLTexture::GLTexture(std::shared_ptr<GLContext> context, UINT width, UINT height, D3DFORMAT format)
    : context_(std::move(context)),
      width_(width),
      height_(height),
      format_(format),
      pixels_(std::size_t{width} * height * 4) {
    if (!context_->makeCurrent()) return;
    glGenTextures(1, &name_);
    withTextureBound(name_, [&] {
        // Direct3D samples the one level it has, point-filtered; without these GL would want
        // mipmaps and draw the texture white.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexImage2D(GL_TEXTURE_2D, 0, format_ == D3DFMT_X8R8G8B8 ? GL_RGB8 : GL_RGBA8,
                     static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     pixels_.data());
    });
}

GLTexture::~GLTexture() {
    if (name_ != 0 && context_->makeCurrent()) glDeleteTextures(1, &name_);
}

HRESULT GLTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (locked == nullptr || level != 0) return D3DERR_INVALIDCALL;
    std::size_t left = 0;
    std::size_t top = 0;
    if (!lockRectOrigin(rect, width_, height_, left, top)) return D3DERR_INVALIDCALL;
    locked->Pitch = static_cast<INT>(width_ * 4);
    locked->pBits = pixels_.data() + (top * width_ + left) * 4;
    if ((flags & D3DLOCK_READONLY) == 0) written_ = true;
    ++locks_;
    return S_OK;
}

HRESULT GLTexture::UnlockRect(UINT level) {
    if (level != 0 || locks_ == 0) return D3DERR_INVALIDCALL;
    if (--locks_ > 0 || !written_) return S_OK;
    written_ = false;
    if (context_->makeCurrent()) {
        withTextureBound(name_, [&] {
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_),
                            GL_BGRA, GL_UNSIGNED_BYTE, pixels_.data());
        });
    }
    return S_OK;
}

}  // namespace platform
