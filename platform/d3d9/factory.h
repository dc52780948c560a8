#pragma once
// Which Direct3D Direct3DCreate9 hands out: the OpenGL one in the game, a recording one in tests.

#include "platform/d3d9.h"

namespace platform {

using Direct3DFactory = IDirect3D9* (*)(UINT sdkVersion);

// Installs the factory that Direct3DCreate9 calls; null makes Direct3DCreate9 return null.
void setDirect3DFactory(Direct3DFactory factory);

}  // namespace platform
