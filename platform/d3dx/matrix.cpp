// The D3DX matrix helpers: left-handed, row vectors (a point is transformed as p × M),
// all arithmetic in single precision.

#include <cmath>

#include "platform/d3dx9.h"

namespace {

D3DVECTOR subtract(const D3DVECTOR& a, const D3DVECTOR& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

D3DVECTOR cross(const D3DVECTOR& a, const D3DVECTOR& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(const D3DVECTOR& a, const D3DVECTOR& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// A zero vector stays zero rather than turning into NaNs.
D3DVECTOR normalize(const D3DVECTOR& v) {
    const float length = std::sqrt(dot(v, v));
    if (length == 0.0f) {
        return {0.0f, 0.0f, 0.0f};
    }
    return {v.x / length, v.y / length, v.z / length};
}

}  // namespace

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    *out = D3DXMATRIX();
    out->_11 = out->_22 = out->_33 = out->_44 = 1.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    D3DXMatrixIdentity(out);
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* first, const D3DXMATRIX* second) {
    // Into a temporary: the caller may pass out as first or second.
    D3DXMATRIX product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            product.m[row][column] = first->m[row][0] * second->m[0][column] +
                                     first->m[row][1] * second->m[1][column] +
                                     first->m[row][2] * second->m[2][column] +
                                     first->m[row][3] * second->m[3][column];
        }
    }
    *out = product;
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
    const D3DVECTOR zAxis = normalize(subtract(*at, *eye));
    const D3DVECTOR xAxis = normalize(cross(*up, zAxis));
    const D3DVECTOR yAxis = cross(zAxis, xAxis);

    D3DXMATRIX view;
    view._11 = xAxis.x;
    view._12 = yAxis.x;
    view._13 = zAxis.x;
    view._21 = xAxis.y;
    view._22 = yAxis.y;
    view._23 = zAxis.y;
    view._31 = xAxis.z;
    view._32 = yAxis.z;
    view._33 = zAxis.z;
    view._41 = -dot(xAxis, *eye);
    view._42 = -dot(yAxis, *eye);
    view._43 = -dot(zAxis, *eye);
    view._44 = 1.0f;
    *out = view;
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar) {
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;

    D3DXMATRIX projection;
    projection._11 = xScale;
    projection._22 = yScale;
    projection._33 = zFar / (zFar - zNear);
    projection._34 = 1.0f;
    projection._43 = -zNear * zFar / (zFar - zNear);
    *out = projection;
    return out;
}
