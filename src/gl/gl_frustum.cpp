#include "gl/gl_frustum.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/zot_console.h"
#include "core/zot_main.h"

namespace {

// Clip = Projection * ModelView, all three column-major.
void MultiplyColumnMajor(const float projection[16], const float modelview[16], float clip[16])
{
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            clip[4 * i + j] = modelview[4 * i] * projection[j] + modelview[4 * i + 1] * projection[4 + j] +
                              modelview[4 * i + 2] * projection[8 + j] + modelview[4 * i + 3] * projection[12 + j];
        }
    }
}

// A zero normal would divide by zero; such a plane is kept as it is.
void NormalizePlane(float plane[4])
{
    float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
    if (length == 0.0f)
        length = 1.0f;
    for (int k = 0; k < 4; ++k)
        plane[k] /= length;
}

}  // namespace

GLFrustum::GLFrustum(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Frustum Culling Class", "GLFrustum") {}

void GLFrustum::Init() { LogLine("ZOT GL: Frustum Culling Class initialized!"); }

void GLFrustum::Enable() { Enabled = true; }

void GLFrustum::Disable() { Enabled = false; }

void GLFrustum::Update()
{
    if (!Enabled)
        return;
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    ExtractPlanes(projection, modelview);
}

void GLFrustum::ExtractPlanes(const float projection[16], const float modelview[16])
{
    float clip[16];
    MultiplyColumnMajor(projection, modelview, clip);
    // Row w of the clip matrix plus or minus row x, y or z, in plane order.
    static constexpr int kRow[kPlaneCount] = {0, 0, 1, 1, 2, 2};
    static constexpr float kSign[kPlaneCount] = {-1.0f, 1.0f, 1.0f, -1.0f, -1.0f, 1.0f};
    for (int plane = 0; plane < kPlaneCount; ++plane) {
        for (int column = 0; column < 4; ++column) {
            const int k = 4 * column;
            Planes[plane][column] = clip[k + 3] + kSign[plane] * clip[k + kRow[plane]];
        }
        NormalizePlane(Planes[plane]);
    }
}

float GLFrustum::PlaneDistance(int plane, float x, float y, float z) const
{
    const float* p = Planes[plane];
    return p[0] * x + p[1] * y + p[2] * z + p[3];
}

bool GLFrustum::SphereVisible(const Vector3& centre, float radius) const
{
    if (!Enabled)
        return true;
    for (int plane = 0; plane < kPlaneCount; ++plane) {
        if (PlaneDistance(plane, centre.x, centre.y, centre.z) <= -radius)
            return false;
    }
    return true;
}

bool GLFrustum::AnyCornerInside(int plane, const Vector3& low, const Vector3& high) const
{
    for (float x : {low.x, high.x}) {
        for (float y : {low.y, high.y}) {
            for (float z : {low.z, high.z}) {
                if (PlaneDistance(plane, x, y, z) > 0.0f)
                    return true;
            }
        }
    }
    return false;
}

bool GLFrustum::BoxVisible(const Vector3& centre, float halfX, float halfZ, float up, float down) const
{
    if (!Enabled)
        return true;
    const float tallest = std::max(down, up);
    const float bound = std::sqrt(halfX * halfX + tallest * tallest + halfZ * halfZ);
    if (!SphereVisible(centre, bound))
        return false;
    const Vector3 low{centre.x - halfX, centre.y - down, centre.z - halfZ};
    const Vector3 high{centre.x + halfX, centre.y + up, centre.z + halfZ};
    for (int plane = 0; plane < kPlaneCount; ++plane) {
        if (!AnyCornerInside(plane, low, high))
            return false;
    }
    return true;
}
