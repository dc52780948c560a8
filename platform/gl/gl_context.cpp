#include "platform/gl/gl_context.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

GLContext* currentContext = nullptr;

template <class Function>
void load(Function& slot, const char* name) {
    slot = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

bool hasClipControl() {
    GLint major = 0;
    GLint minor = 0;
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version != nullptr && std::sscanf(version, "%d.%d", &major, &minor) == 2 &&
        (major > 4 || (major == 4 && minor >= 5))) {
        return true;
    }
    return SDL_GL_ExtensionSupported("GL_ARB_clip_control") == SDL_TRUE;
}

}  // namespace

std::shared_ptr<GLContext> GLContext::create(SDL_Window* window) {
    if (window == nullptr) return nullptr;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) return nullptr;
    std::shared_ptr<GLContext> made(new GLContext(window, context));
    currentContext = made.get();  // SDL_GL_CreateContext made it current
    GLFunctions& gl = made->gl_;
    load(gl.genBuffers, "glGenBuffers");
    load(gl.deleteBuffers, "glDeleteBuffers");
    load(gl.bindBuffer, "glBindBuffer");
    load(gl.bufferData, "glBufferData");
    load(gl.bufferSubData, "glBufferSubData");
    // The variable makes the device fold the depth range into the projection instead, the way
    // it must on drivers without clip control; the display tests use it to try that path.
    if (hasClipControl() && std::getenv("QUORVEL_GL_NO_CLIP_CONTROL") == nullptr) {
        load(gl.clipControl, "glClipControl");
    }
    if (!gl.genBuffers || !gl.deleteBuffers || !gl.bindBuffer || !gl.bufferData || !gl.bufferSubData) {
        return nullptr;
    }
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &made->maxTextureSide_);
    return made;
}

GLContext::~GLContext() { end(); }

bool GLContext::makeCurrent() {
    if (context_ == nullptr) return false;
    if (currentContext != this) {
        if (SDL_GL_MakeCurrent(window_, context_) != 0) return false;
        currentContext = this;
    }
    return true;
}

void GLContext::end() {
    if (context_ == nullptr) return;
    if (currentContext == this) currentContext = nullptr;
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
}

}  // namespace platform
