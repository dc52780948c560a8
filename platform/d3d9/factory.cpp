#include "platform/d3d9/factory.h"

namespace {
platform::Direct3DFactory installedFactory = nullptr;
}

void platform::setDirect3DFactory(Direct3DFactory factory) { installedFactory = factory; }

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    return installedFactory ? installedFactory(sdkVersion) : nullptr;
}
