#pragma once
// What Lock and LockRect may hand out. Size 0 means "to the end", as in Direct3D.

#include <cstddef>

#include "platform/d3d9.h"

namespace platform {

// False when the range does not lie inside a buffer of `length` bytes; else sets `end`.
inline bool lockRange(std::size_t length, UINT offset, UINT size, std::size_t& end) {
    if (offset > length || size > length - offset) return false;
    end = size == 0 ? length : std::size_t{offset} + size;
    return true;
}

// The top-left texel of LockRect's rectangle (the whole texture when null); false when the
// rectangle is empty or not inside the texture.
inline bool lockRectOrigin(const RECT* rect, UINT width, UINT height, std::size_t& left, std::size_t& top) {
    left = top = 0;
    if (rect == nullptr) return true;
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        static_cast<UINT>(rect->right) > width || static_cast<UINT>(rect->bottom) > height) {
        return false;
    }
    left = static_cast<std::size_t>(rect->left);
    top = static_cast<std::size_t>(rect->top);
    return true;
}

}  // namespace platform
