#pragma once
// The largest texture side the devices accept, as a real adapter has one; it also bounds the
// memory a texture's copy of its texels may take.

#include "platform/d3d9.h"

namespace platform {

constexpr UINT kMaxTextureSide = 8192;

}  // namespace platform
