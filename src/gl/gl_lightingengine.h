// The lighting engine: static lights that stay until cleared, dynamic lights
// that last one frame, and the choice of at most eight GL lights for each
// object about to be drawn, with far point lights turned directional.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/zot_object.h"
#include "math/math_types.h"

struct TLight {
    std::string Name;
    bool Enabled = false;
    // A point light's place, or the unit direction towards a directional light.
    Vector3 Position;
    int32_t Type = 0;
    // Also the specular colour.
    Color3 Diffuse;
    Color3 Ambient;
    // How far a point light reaches.
    float Range = 0.0f;
};

using TStaticLights = std::vector<TLight>;
using TDynamicLights = std::vector<TLight>;

class GLLightingEngine : public ZOTObject {
public:
    static constexpr int32_t kPointLight = 0;
    static constexpr int32_t kDirectionalLight = 2;
    // Accepted when adding: a directional light shining along the camera's view.
    static constexpr int32_t kCameraLight = 3;
    static constexpr int32_t kGLLights = 8;

    explicit GLLightingEngine(ZOTOwner* parent);

    void Init();
    void Enable();
    void Disable();
    void SetFarLights(bool on, float factor);

    // Each returns the index of the new light in its list.
    int32_t AddStaticLight(std::string_view name, const Vector3& position, int32_t type, const Color3& diffuse,
                           const Color3& ambient, float range);
    int32_t AddDynamicLight(std::string_view name, const Vector3& position, int32_t type, const Color3& diffuse,
                            const Color3& ambient, float range);
    void SetSun(const Vector3& direction, const Color3& diffuse, const Color3& ambient);
    void ClearStaticLights();
    // Forgets the lights placed during the frame that just ended.
    void ClearDynamicLights();
    int32_t LastStaticLight() const { return static_cast<int32_t>(StaticLights.size()) - 1; }
    int32_t LastDynamicLight() const { return static_cast<int32_t>(DynamicLights.size()) - 1; }

    // Sets up the GL lights for an object standing at position, reaching up
    // and down from it and radius around it; returns the sum of the diffuse
    // and ambient colours that light it, or white while lighting is off.
    Color3 ApplyLights(bool useStatic, bool useDynamic, const Vector3& position, float radius, float up,
                       float down);

    bool FarLightsDirectional = true;
    // A point light further away than this many object sizes counts as far.
    float FarFactor = 2.0f;
    TDynamicLights DynamicLights;
    TStaticLights StaticLights;
    bool Enabled = false;

private:
    // The object being lit: its middle, its size and its cylinder.
    struct TTarget {
        Vector3 Centre;
        float Size = 0.0f;
        float Radius = 0.0f;
        float Up = 0.0f;
        float Down = 0.0f;
    };

    static TLight MakeLight(std::string_view name, const Vector3& position, int32_t type, const Color3& diffuse,
                            const Color3& ambient, float range);
    static Vector3 CameraLightDirection();
    bool Reaches(const TLight& light, const TTarget& target) const;
    void ApplyList(const std::vector<TLight>& lights, const TTarget& target, int32_t& next, Color3& sum) const;
    // The colour the light adds to the object.
    Color3 SetupLight(const TLight& light, int32_t index, const TTarget& target) const;
    bool IsFar(const TLight& light, const TTarget& target) const;
};
