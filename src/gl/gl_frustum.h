// The six clipping planes of the current view and the sphere and box
// visibility tests that drawing parts use to skip what cannot be seen.
#pragma once

#include "core/zot_object.h"
#include "math/math_types.h"

class GLFrustum : public ZOTObject {
public:
    static constexpr int kRight = 0;
    static constexpr int kLeft = 1;
    static constexpr int kBottom = 2;
    static constexpr int kTop = 3;
    static constexpr int kFar = 4;
    static constexpr int kNear = 5;
    static constexpr int kPlaneCount = 6;

    explicit GLFrustum(ZOTOwner* parent);

    void Init();
    void Enable();
    void Disable();
    // Reads the current GL projection and model-view matrices.
    void Update();
    // Both matrices column-major, as GL hands them out.
    void ExtractPlanes(const float projection[16], const float modelview[16]);

    // Touching a plane from outside counts as not visible.
    bool SphereVisible(const Vector3& centre, float radius) const;
    // The box reaches halfX and halfZ either side of centre, `up` above and
    // `down` below it.
    bool BoxVisible(const Vector3& centre, float halfX, float halfZ, float up, float down) const;

    // Each plane is (a, b, c, d) with a unit normal pointing inwards.
    float Planes[kPlaneCount][4] = {};
    bool Enabled = true;

private:
    float PlaneDistance(int plane, float x, float y, float z) const;
    bool AnyCornerInside(int plane, const Vector3& low, const Vector3& high) const;
};
