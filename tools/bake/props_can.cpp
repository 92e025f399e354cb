// A green painted watering can: a round body with a filler neck, a long
// spout to the +x side ending in a brass rose, and an arched handle over the
// top to the back.
#include "model_kit.h"
#include "props.h"

namespace bake {

namespace {

constexpr int kRound = 28;
constexpr int kThinRound = 10;
constexpr float kBodyRadius = 0.1f;
constexpr float kShoulder = 0.19f;
constexpr float kBandHeights[] = {0.012f, 0.178f};
constexpr float kBandHalf = 0.008f;
constexpr float kBandProud = 0.004f;
constexpr float kSpoutRadius0 = 0.021f;
constexpr float kSpoutRadius1 = 0.011f;
constexpr float kHandleRadius = 0.011f;
constexpr float kStrutRadius = 0.006f;
const Vector3 kSpoutFoot{0.07f, 0.045f, 0.0f};
const Vector3 kSpoutTip{0.27f, 0.25f, 0.0f};

enum Group : uint8_t { kPaint, kBands, kBrass };

Placement In(uint8_t group)
{
    Placement placement;
    placement.Group = group;
    return placement;
}

// Radius against height, from the middle of the base round to the neck.
void Body(Mesh& mesh)
{
    const Outline profile{{0.0f, 0.0f},          {0.094f, 0.0f},         {0.099f, 0.006f}, {kBodyRadius, 0.02f},
                          {0.098f, kShoulder},   {0.088f, 0.207f},       {0.066f, 0.219f}, {0.042f, 0.224f},
                          {0.042f, 0.238f},      {0.047f, 0.24f},        {0.047f, 0.246f}, {0.036f, 0.246f},
                          {0.036f, 0.232f},      {0.0f, 0.232f}};
    mesh.Lathe({}, {0, 1, 0}, profile, kRound, In(kPaint));
}

void Bands(Mesh& mesh)
{
    for (float height : kBandHeights) {
        const float radius = kBodyRadius + kBandProud;
        mesh.Tube({0, height - kBandHalf, 0}, {0, height + kBandHalf, 0}, radius, radius, kRound, In(kBands));
    }
}

// A funnel widening from the spout to a flat face.
void Rose(Mesh& mesh)
{
    const Vector3 axis = Normalized(kSpoutTip - kSpoutFoot);
    const Outline profile{{0.0f, -0.01f}, {kSpoutRadius1 + 0.003f, -0.01f}, {0.034f, 0.035f},
                          {0.036f, 0.04f},  {0.036f, 0.046f},                {0.0f, 0.048f}};
    mesh.Lathe(kSpoutTip, axis, profile, kRound, In(kBrass));
}

void Spout(Mesh& mesh)
{
    mesh.Tube(kSpoutFoot, kSpoutTip, kSpoutRadius0, kSpoutRadius1, kThinRound, In(kPaint));
    const Vector3 onSpout = kSpoutFoot + (kSpoutTip - kSpoutFoot) * 0.4f;
    mesh.Tube({0.085f, 0.17f, 0.0f}, onSpout, kStrutRadius, kStrutRadius, kThinRound, In(kPaint));
    Rose(mesh);
}

// From low on the back of the body, up over the neck, down onto the shoulder
// in front of it.
void Handle(Mesh& mesh)
{
    const std::vector<Vector3> path =
        Bezier({-0.094f, 0.07f, 0.0f}, {-0.23f, 0.2f, 0.0f}, {-0.08f, 0.38f, 0.0f}, {0.07f, 0.205f, 0.0f}, 16);
    mesh.Sweep(path, Circle(kHandleRadius, kThinRound), {0, 0, 1}, In(kPaint));
}

}  // namespace

void BakeWateringCan(Bake& bake)
{
    Mesh mesh;
    Body(mesh);
    Bands(mesh);
    Spout(mesh);
    Handle(mesh);
    CentreOnOrigin(mesh);
    const std::vector<ztm::Material> materials{
        Painted("Paint", {0.18f, 0.46f, 0.22f}, 0.6f),
        Painted("Bands", {0.1f, 0.3f, 0.14f}, 0.6f),
        Painted("Brass", {0.78f, 0.6f, 0.3f}, 0.9f),
    };
    bake.Models.push_back(Finished("watering can", "Watering can", mesh, materials, {}));
}

}  // namespace bake
