#pragma once

// The corners of a sprite's quad in clip coordinates, bit for bit as GL computes them when the
// quad is drawn after translate(x, y), translate(0, lift) and rotate(angle about (0, 0, -1))
// from the identity model-view: as Mesa's matrix code builds the model-view and
// model-view-projection matrices and its fixed-function vertex program multiplies the
// corner by them, in single precision with every product and sum rounded on its own, the
// sine and cosine taken in single precision of the angle converted to radians in double.
// A lift of 0 or an angle of 0 gives exactly the corners without that call. Drawn with
// identity matrices, these corners reach the rasterizer unchanged, so a quad lands on the
// same pixels with the same texture coordinates as through the matrix stack. Another GL
// may round differently: the frame comparison (korvane-framecompare) checks the software
// renderer against this.
class CQuadCorners
{
public:
    // GL's projection matrix, column-major as glGetFloatv returns it.
    explicit CQuadCorners(const float projection[16]);

    // Writes x, y, z, w of the corners (0, 0), (width, 0), (width, height), (0, height),
    // in that order, to corners.
    void compute(float x, float y, float lift, float angle, int width, int height, float corners[16]) const;

private:
    float m_afProjection[16];
};
