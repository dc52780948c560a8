#pragma once
// The Direct3D that draws with OpenGL into the SDL windows of the Windows layer.

#include "platform/d3d9.h"

namespace platform {

// A new Direct3D object (reference count 1); the process entry installs this as the factory.
IDirect3D9* createGLDirect3D(UINT sdkVersion);

}  // namespace platform
