#pragma once
// Direct3D values in OpenGL's terms.

#include <SDL_opengl.h>

#include <cstddef>

#include "platform/d3d9.h"

namespace platform {

// 0 for a value Direct3D does not define.
GLenum glCompareOf(DWORD d3dCompare);
GLenum glPrimitiveOf(D3DPRIMITIVETYPE type);

// An ARGB colour as four floats r, g, b, a in 0..1.
void colourOfArgb(D3DCOLOR argb, GLfloat rgba[4]);

// The vertex layouts we draw: position, then optionally normal, diffuse colour, one 2-D texture
// coordinate, packed in that order.
constexpr DWORD kDrawableFvfBits = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
struct VertexLayout {
    std::size_t size;
    std::size_t normal;   // offsets, meaningful when the FVF has the part
    std::size_t diffuse;
    std::size_t texture;
};
VertexLayout layoutOf(DWORD fvf);

}  // namespace platform
