// The garden floor: a grass plane, a normal-mapped stone plate under the cat,
// a layered lawn, the props round the garden and a soft shadow of the cat,
// the butterflies and the props. The update renders the shadow casters from
// above into an off-screen texture; the draw lays that texture over the ground
// after everything else on it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/zot_object.h"
#include "math/math_types.h"

class GLOffScreenBuffer;
class ZAGLScene;
class ZRDisplayList;
class ZRMaterial;
class ZRModel;
class ZRShader;
class ZRTexture;

// One lawn tile in the grid round the stone plate.
struct TLawnTile {
    int32_t I = 0;
    int32_t J = 0;
    bool operator==(const TLawnTile& other) const { return I == other.I && J == other.J; }
};

// Lawn tiles reach this many tiles from the plate in each direction.
constexpr int32_t kLawnReach = 2;
// Every tile of the square but the middle one, where the plate lies.
constexpr size_t kLawnTileCount = (2 * kLawnReach + 1) * (2 * kLawnReach + 1) - 1;
using TLawnOrder = std::array<TLawnTile, kLawnTileCount>;

class ZAGLSGround : public ZOTObject {
public:
    static constexpr int32_t kShadowSize = 1024;

    explicit ZAGLSGround(ZAGLScene* scene);
    ~ZAGLSGround() override;

    void Initialize();
    // The shadow pass.
    void Update();
    void Draw();
    // Turns the shadow's slant into the frame of a caster drawn with rotation.
    void SetShadowRotation(const Vector3& rotation);

    // How far a shadow is thrown per unit of height, away from the sun.
    static Vector3 ShadowBase(const Vector3& sun);
    // The shadow's strength: whole by day, fading as the sun sinks below the horizon.
    static float ShadowAlpha(float sunHeight);
    // The lawn's tiles, farthest from a camera of that yaw first.
    static TLawnOrder LawnOrder(float cameraYaw);
    // Whether the house would stand between a camera there and the cat.
    static bool HouseHidden(const Vector3& camera);

    // All owned.
    GLOffScreenBuffer* ShadowBuffer = nullptr;
    ZRTexture* Grass = nullptr;
    ZRTexture* Detail = nullptr;
    ZRTexture* Lawn = nullptr;
    ZRTexture* LawnBlade = nullptr;
    ZRTexture* Stone = nullptr;
    ZRTexture* StoneNormal = nullptr;
    ZRShader* NormalMapVertex = nullptr;
    ZRShader* NormalMapFragment = nullptr;
    ZRShader* ShadowProgram = nullptr;
    ZRShader* LawnProgram = nullptr;
    ZRModel* Fence = nullptr;
    ZRModel* Slide = nullptr;
    ZRModel* WateringCan = nullptr;
    ZRModel* House = nullptr;
    ZRMaterial* Material = nullptr;
    std::array<ZRDisplayList*, 2> Lists{};

private:
    ZAGLScene* Scene;

    void CompileLawnTile();
    void RenderShadowCasters();
    void DrawGrass();
    void DrawPlate();
    void DrawProps(bool shadowMode);
    void DrawLawn();
    void DrawShadow();
};
