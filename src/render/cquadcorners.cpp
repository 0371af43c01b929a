#include "render/cquadcorners.h"

#include <cmath>
#include <numbers>

// Built with floating-point contraction off (CMakeLists.txt): a fused multiply-add would
// round differently from GL.

namespace
{
// Element (row, col) of a column-major matrix.
float& at(float* m, int row, int col) { return m[col * 4 + row]; }
float at(const float* m, int row, int col) { return m[col * 4 + row]; }

// a × b, each element summed left to right, as Mesa multiplies matrices.
void multiply(const float* a, const float* b, float* product)
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            at(product, row, col) = at(a, row, 0) * at(b, 0, col) + at(a, row, 1) * at(b, 1, col) +
                                    at(a, row, 2) * at(b, 2, col) + at(a, row, 3) * at(b, 3, col);
}
} // namespace

CQuadCorners::CQuadCorners(const float projection[16])
{
    for (int i = 0; i < 16; ++i)
        m_afProjection[i] = projection[i];
}

void CQuadCorners::compute(float x, float y, float lift, float angle, int width, int height,
                           float corners[16]) const
{
    const float radians = static_cast<float>(angle * std::numbers::pi / 180.0);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    // The translations add up in the model-view's last column (the lift in single
    // precision); turning about -z puts s above the diagonal.
    float modelView[16] = {c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, x, lift + y, 0, 1};
    float mvp[16];
    multiply(m_afProjection, modelView, mvp);
    const float cornerX[4] = {0.0f, static_cast<float>(width), static_cast<float>(width), 0.0f};
    const float cornerY[4] = {0.0f, 0.0f, static_cast<float>(height), static_cast<float>(height)};
    const float z = 0.0f, w = 1.0f;
    for (int corner = 0; corner < 4; ++corner)
        for (int row = 0; row < 4; ++row)
            corners[corner * 4 + row] = cornerX[corner] * at(mvp, row, 0) + cornerY[corner] * at(mvp, row, 1) +
                                        z * at(mvp, row, 2) + w * at(mvp, row, 3);
}
