#pragma once
// How many indices a draw of `primitiveCount` primitives reads; 0 for an unknown type.

#include <cstddef>

#include "platform/d3d9.h"

namespace platform {

inline std::size_t indexCountOf(D3DPRIMITIVETYPE type, UINT primitiveCount) {
    if (primitiveCount == 0) return 0;
    const std::size_t n = primitiveCount;
    switch (type) {
        case D3DPT_POINTLIST: return n;
        case D3DPT_LINELIST: return 2 * n;
        case D3DPT_LINESTRIP: return n + 1;
        case D3DPT_TRIANGLELIST: return 3 * n;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN: return n + 2;
    }
    return 0;
}

}  // namespace platform
