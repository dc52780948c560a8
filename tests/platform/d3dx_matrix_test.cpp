#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3dx9.h"

namespace {

D3DXMATRIX fromRows(const float (&values)[16]) {
    D3DXMATRIX matrix;
    for (int i = 0; i < 16; ++i) {
        matrix.m[i / 4][i % 4] = values[i];
    }
    return matrix;
}

void expectMatrix(const D3DXMATRIX& actual, const float (&expected)[16], float tolerance = 1e-6f) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.m[i / 4][i % 4], expected[i], tolerance) << "row " << i / 4 << " column " << i % 4;
    }
}

// A point as a row vector times the matrix.
D3DVECTOR transformPoint(const D3DXMATRIX& m, const D3DVECTOR& p) {
    return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41, p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
            p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
}

TEST(D3dxMatrix, IdentityAndTranslationOverwriteWhatWasThere) {
    D3DXMATRIX matrix = fromRows({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
    EXPECT_EQ(D3DXMatrixIdentity(&matrix), &matrix);
    expectMatrix(matrix, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0.0f);

    matrix = fromRows({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
    EXPECT_EQ(D3DXMatrixTranslation(&matrix, 2.5f, -3.0f, 4.0f), &matrix);
    expectMatrix(matrix, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 2.5f, -3, 4, 1}, 0.0f);
}

TEST(D3dxMatrix, MultiplyIsFirstThenSecondEvenWhenTheOutputIsAnInput) {
    const D3DXMATRIX a = fromRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    const D3DXMATRIX b = fromRows({2, 0, 0, 1, 0, 3, 0, 0, 1, 0, 1, 0, 0, 2, 0, 1});
    // Worked by hand: row i of a times the columns of b.
    const float product[16] = {5, 14, 3, 5, 17, 34, 7, 13, 29, 54, 11, 21, 41, 74, 15, 29};

    D3DXMATRIX out;
    EXPECT_EQ(D3DXMatrixMultiply(&out, &a, &b), &out);
    expectMatrix(out, product, 0.0f);

    D3DXMATRIX first = a;
    D3DXMatrixMultiply(&first, &first, &b);
    expectMatrix(first, product, 0.0f);

    D3DXMATRIX second = b;
    D3DXMatrixMultiply(&second, &a, &second);
    expectMatrix(second, product, 0.0f);

}

TEST(D3dxMatrix, LookAtAlongXPutsTheAxesInColumns) {
    const D3DXVECTOR3 eye(0, 0, 0), at(5, 0, 0), up(0, 1, 0);
    D3DXMATRIX view;
    EXPECT_EQ(D3DXMatrixLookAtLH(&view, &eye, &at, &up), &view);
    // z = +x, x = normal(up × z) = -z, y = z × x = +y, as columns.
    expectMatrix(view, {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1});
}

TEST(D3dxMatrix, TheGameCameraLooksAtTheBallFromTwoAboveAndTenBehind) {
    const D3DVECTOR balls[] = {{0, 0, 0}, {2, 2, 2}, {7.5f, -3, 12}, {-4, 5.25f, -1}};
    const float root = std::sqrt(104.0f);
    for (const D3DVECTOR& ball : balls) {
        SCOPED_TRACE(testing::Message() << ball.x << " " << ball.y << " " << ball.z);
        const D3DXVECTOR3 eye(ball.x, ball.y + 2.0f, ball.z - 10.0f), at(ball.x, ball.y, ball.z), up(0, 1, 0);
        D3DXMATRIX view;
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);

        // zaxis = (0, -2, 10)/√104, xaxis = (1, 0, 0), yaxis = (0, 10, 2)/√104.
        const float ey = ball.y + 2.0f, ez = ball.z - 10.0f;
        expectMatrix(view, {1, 0, 0, 0, 0, 10 / root, -2 / root, 0, 0, 2 / root, 10 / root, 0, -ball.x,
                            -(10 * ey + 2 * ez) / root, -(-2 * ey + 10 * ez) / root, 1},
                     1e-5f);

        // The ball sits straight ahead, √104 away; the eye at the origin.
        const D3DVECTOR seenBall = transformPoint(view, at);
        EXPECT_NEAR(seenBall.x, 0.0f, 1e-5f);
        EXPECT_NEAR(seenBall.y, 0.0f, 1e-5f);
        EXPECT_NEAR(seenBall.z, root, 1e-4f);
        const D3DVECTOR seenEye = transformPoint(view, eye);
        EXPECT_NEAR(std::fabs(seenEye.x) + std::fabs(seenEye.y) + std::fabs(seenEye.z), 0.0f, 1e-4f);
    }
}

TEST(D3dxMatrix, LookAtWithUpAlongTheViewStaysFinite) {
    const D3DXVECTOR3 eye(0, 0, 0), at(0, 5, 0), up(0, 1, 0);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(view.m[i / 4][i % 4]));
    }
}

TEST(D3dxMatrix, PerspectiveFov) {
    struct Case {
        float fov, aspect, zn, zf;
        float xScale, yScale;
    };
    const float cot45 = 2.41421356f;  // 1 / tan(π/8)
    const Case cases[] = {
        {0.7853982f, 1.0f, 1.0f, 100.0f, cot45, cot45},
        {0.7853982f, 2.0f, 1.0f, 100.0f, cot45 / 2, cot45},
        {1.5707964f, 0.5f, 0.5f, 10.0f, 2.0f, 1.0f},
    };
    for (const Case& c : cases) {
        D3DXMATRIX projection = fromRows({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
        EXPECT_EQ(D3DXMatrixPerspectiveFovLH(&projection, c.fov, c.aspect, c.zn, c.zf), &projection);
        const float q = c.zf / (c.zf - c.zn);
        expectMatrix(projection, {c.xScale, 0, 0, 0, 0, c.yScale, 0, 0, 0, 0, q, 1, 0, 0, -c.zn * q, 0}, 1e-5f);

        // The near plane lands on depth 0, the far one on 1.
        for (const float z : {c.zn, c.zf}) {
            const float depth = (z * projection._33 + projection._43) / (z * projection._34);
            EXPECT_NEAR(depth, z == c.zn ? 0.0f : 1.0f, 1e-6f);
        }
    }
}

}  // namespace
