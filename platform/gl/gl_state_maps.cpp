#include "platform/gl/gl_state_maps.h"

namespace platform {

GLenum glCompareOf(DWORD d3dCompare) {
    switch (d3dCompare) {
        case D3DCMP_NEVER: return GL_NEVER;
        case D3DCMP_LESS: return GL_LESS;
        case D3DCMP_EQUAL: return GL_EQUAL;
        case D3DCMP_LESSEQUAL: return GL_LEQUAL;
        case D3DCMP_GREATER: return GL_GREATER;
        case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
        case D3DCMP_ALWAYS: return GL_ALWAYS;
        default: return 0;
    }
}

GLenum glPrimitiveOf(D3DPRIMITIVETYPE type) {
    switch (type) {
        case D3DPT_POINTLIST: return GL_POINTS;
        case D3DPT_LINELIST: return GL_LINES;
        case D3DPT_LINESTRIP: return GL_LINE_STRIP;
        case D3DPT_TRIANGLELIST: return GL_TRIANGLES;
        case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
        case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    }
    return 0;
}

void colourOfArgb(D3DCOLOR argb, GLfloat rgba[4]) {
    rgba[0] = static_cast<GLfloat>((argb >> 16) & 0xFF) / 255.0f;
    rgba[1] = static_cast<GLfloat>((argb >> 8) & 0xFF) / 255.0f;
    rgba[2] = static_cast<GLfloat>(argb & 0xFF) / 255.0f;
    rgba[3] = static_cast<GLfloat>((argb >> 24) & 0xFF) / 255.0f;
}

VertexLayout layoutOf(DWORD fvf) {
    VertexLayout layout{12, 0, 0, 0};
    if ((fvf & D3DFVF_NORMAL) != 0) {
        layout.normal = layout.size;
        layout.size += 12;
    }
    if ((fvf & D3DFVF_DIFFUSE) != 0) {
        layout.diffuse = layout.size;
        layout.size += 4;
    }
    if ((fvf & D3DFVF_TEX1) != 0) {
        layout.texture = layout.size;
        layout.size += 8;
    }
    return layout;
}

}  // namespace platform
