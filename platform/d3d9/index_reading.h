#pragma once
// How an indexed draw reads its index buffer.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/d3d9.h"

namespace platform {

// How many indices a draw of `primitiveCount` primitives reads; 0 for an unknown type.
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

// Index i of a buffer of 16-bit (indexSize 2) or 32-bit (4) indices, read without alignment.
inline std::uint32_t indexAt(const std::uint8_t* indices, std::size_t indexSize, std::size_t i) {
    const std::uint8_t* at = indices + i * indexSize;
    if (indexSize == 4) {
        std::uint32_t index = 0;
        std::memcpy(&index, at, 4);
        return index;
    }
    std::uint16_t index = 0;
    std::memcpy(&index, at, 2);
    return index;
}

}  // namespace platform
