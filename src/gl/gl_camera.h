// The one 3D camera: eye placement, perspective and the screen colour filter.
// It builds the projection when the viewport changes and loads the view
// transform into the model-view matrix, refreshing its frustum each time.
#pragma once

#include "core/zot_object.h"
#include "math/math_types.h"

class GLFrustum;

class GLCamera : public ZOTObject {
public:
    explicit GLCamera(ZOTOwner* parent);
    ~GLCamera() override;

    void Init();

    // None of the setters rebuilds the projection; UpdateProjection does.
    void SetPositionRotation(const Vector3& position, const Vector3& rotation);
    void SetColorFilter(const Color3& colour);
    void SetZoom(float zoom);
    void SetAspectFactor(float factor);
    void SetClipping(float nearPlane, float farPlane);
    void SetScale(const Vector3& scale);
    void SetFieldOfView(float degrees);

    void Enable();
    // Leaves the model-view matrix current and reset.
    void UpdateProjection();
    // Expects the model-view matrix to hold nothing but what it loads, so that
    // the frustum planes come out in world coordinates.
    void Apply();
    float DistanceTo(const Vector3& point) const;

    Vector3 Position{0.0f, 2.0f, 0.0f};
    // Degrees about the x, y and z axes.
    Vector3 Rotation{0.0f, 0.0f, 0.0f};
    // White leaves the finished picture as it is.
    Color3 ColorFilter{1.0f, 1.0f, 1.0f};
    float Zoom = 1.0f;
    float AspectFactor = 1.0f;
    float NearPlane = 0.4f;
    float FarPlane = 200.0f;
    Vector3 Scale{1.0f, 1.0f, 1.0f};
    // Full vertical angle before the zoom; the perspective takes half of it.
    float FieldOfView = 90.0f;
    GLFrustum* Frustum = nullptr;
    // Off: a fixed default perspective and no camera transform.
    bool Enabled = true;

private:
    void LoadPerspective() const;
    void MultiplyViewTransform() const;
};
