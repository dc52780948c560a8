#pragma once
// For display tests: what a device made by createGLDirect3D has drawn.

#include <vector>

#include "platform/d3d9.h"

namespace platform {

// The back buffer as ARGB texels, rows top-first, width × height of them; empty for a device
// of another kind. Read it before Present, after which the back buffer's content is undefined.
std::vector<D3DCOLOR> readBackBuffer(IDirect3DDevice9* device, int& width, int& height);

}  // namespace platform
