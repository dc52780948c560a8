#pragma once
// One OpenGL context on one SDL window, shared by a device and the resources it made. The
// device ends it; resources that outlive their device find it dead and leave GL alone.

#include <SDL.h>
#include <SDL_opengl.h>

#include <memory>

namespace platform {

// The GL calls past 1.1, which the system library need not export.
struct GLFunctions {
    PFNGLGENBUFFERSPROC genBuffers = nullptr;
    PFNGLDELETEBUFFERSPROC deleteBuffers = nullptr;
    PFNGLBINDBUFFERPROC bindBuffer = nullptr;
    PFNGLBUFFERDATAPROC bufferData = nullptr;
    PFNGLBUFFERSUBDATAPROC bufferSubData = nullptr;
    PFNGLCLIPCONTROLPROC clipControl = nullptr;  // null where the driver has none
};

class GLContext {
public:
    // Null when SDL cannot make a context on the window or the driver lacks buffer objects.
    static std::shared_ptr<GLContext> create(SDL_Window* window);
    ~GLContext();
    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    // Makes this the current context when it is not already. False when it was ended.
    bool makeCurrent();
    void end();
    bool alive() const { return context_ != nullptr; }

    SDL_Window* window() const { return window_; }
    const GLFunctions& gl() const { return gl_; }
    int maxTextureSide() const { return maxTextureSide_; }

private:
    GLContext(SDL_Window* window, SDL_GLContext context) : window_(window), context_(context) {}

    SDL_Window* window_;
    SDL_GLContext context_;
    GLFunctions gl_;
    int maxTextureSide_ = 0;
};

}  // namespace platform
