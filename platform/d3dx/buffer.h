#pragma once
// ID3DXBuffer: a block of bytes owned by its reference count.

#include "platform/d3dx9.h"

namespace platform::d3dx {

// A zero-filled buffer of `size` bytes, aligned for any type, with one reference.
ID3DXBuffer* createBuffer(DWORD size);

}  // namespace platform::d3dx
