// The 2D camera: an optional pan, zoom and rotation applied to the model-view
// matrix when the 2D system enters 2D mode.
#pragma once

#include "core/zot_object.h"
#include "math/math_types.h"

class GL2DCamera : public ZOTObject {
public:
    explicit GL2DCamera(ZOTOwner* parent);

    void Init();
    void Apply() const;

    void SetPosition(const Point2& position);
    // Degrees, about the axis out of the screen.
    void SetRotation(float degrees);
    void SetZoom(float zoom);
    void SetScale(const Point2& scale);
    void SetFlipY(bool flip);
    void SetEnabled(bool enabled);

    Point2 Position{0.0f, 0.0f};
    float Rotation = 0.0f;
    float Zoom = 1.0f;
    Point2 Scale{1.0f, 1.0f};
    bool FlipY = false;
    bool Enabled = false;
};
