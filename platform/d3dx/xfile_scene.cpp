#include "platform/d3dx/xfile_scene.h"

#include <cmath>

namespace platform::d3dx {

void transformMesh(XMesh& mesh, const XMatrix& m) {
    for (auto& p : mesh.positions) {
        const std::array<float, 3> in = p;
        for (int column = 0; column < 3; ++column) {
            p[column] = in[0] * m[column] + in[1] * m[4 + column] + in[2] * m[8 + column] + m[12 + column];
        }
    }

    // Cofactors of the 3×3 part: the inverse transpose times the determinant. Its sign is put
    // back so a mirroring frame keeps normals pointing out.
    auto a = [&](int row, int column) { return m[row * 4 + column]; };
    float cofactor[3][3];
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int r1 = (row + 1) % 3, r2 = (row + 2) % 3, c1 = (column + 1) % 3, c2 = (column + 2) % 3;
            cofactor[row][column] = a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
        }
    }
    const float determinant = a(0, 0) * cofactor[0][0] + a(0, 1) * cofactor[0][1] + a(0, 2) * cofactor[0][2];
    const float sign = determinant < 0.0f ? -1.0f : 1.0f;
    for (auto& n : mesh.normals) {
        const std::array<float, 3> in = n;
        for (int column = 0; column < 3; ++column) {
            n[column] = sign * (in[0] * cofactor[0][column] + in[1] * cofactor[1][column] + in[2] * cofactor[2][column]);
        }
        const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0.0f) {
            for (float& value : n) {
                value /= length;
            }
        }
    }
}

}  // namespace platform::d3dx
