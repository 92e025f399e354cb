// One piece of the garden's border fence: posts, two rails across them and
// pointed pickets in front, all of weathered wood. Pieces set end to end
// along x make one fence.
#include <cmath>

#include "model_kit.h"
#include "noise.h"
#include "props.h"

namespace bake {

namespace {

constexpr float kTau = 6.2831853f;
constexpr int kWoodSize = 256;
// Wood picture repeats per model unit.
constexpr float kWoodScale = 1.6f;

constexpr float kHalfLength = 4.35f;
constexpr int kPosts = 5;
constexpr float kPostHalf = 0.06f;
constexpr float kPostHeight = 0.95f;
constexpr float kCapHalf = 0.08f;
constexpr float kCapHalfHeight = 0.018f;
constexpr float kRailHeights[] = {0.24f, 0.66f};
constexpr float kRailHalfHeight = 0.045f;
constexpr int kPickets = 43;
constexpr float kPicketHalfWidth = 0.042f;
constexpr float kPicketFoot = 0.03f;
constexpr float kPicketShoulder = 0.82f;
constexpr float kPicketTip = 0.9f;
// Front to back along z: pickets, then rails, then the posts around z = 0;
// the whole is moved back by kShift so that it is centred on z = 0.
constexpr float kPicketFront = -0.125f;
constexpr float kPicketDepth = 0.025f;
constexpr float kRailFront = -0.1f;
constexpr float kRailBack = -0.06f;
constexpr float kShift = 0.0225f;

// Grain along u: wavy growth rings with fine fibres, greyed in patches by
// the weather.
Color WoodAt(const Noise& noise, float u, float v)
{
    const float warp = noise.Fbm(u * 2.0f, v * 2.0f, 2, 3) + 0.2f * noise.Fbm(u * 8.0f, v * 8.0f, 8, 2);
    const float rings = 0.5f + 0.5f * std::sin(kTau * (v * 14.0f + 1.5f * warp));
    const float fibre = noise.Fbm(u * 4.0f, v * 128.0f, 4, 3);
    const float weather = Smoothstep(0.0f, 0.5f, noise.Fbm(u * 4.0f + 7.3f, v * 4.0f + 2.9f, 4, 3));
    const Color light{0.72f, 0.56f, 0.38f}, dark{0.42f, 0.28f, 0.16f}, grey{0.62f, 0.58f, 0.52f};
    const float late = Smoothstep(0.8f, 0.99f, rings);
    const Color wood = Mix(light, dark, Clamp01(0.5f * late + 0.4f * fibre + 0.15f));
    return Mix(wood, Scale(grey, 0.9f + 0.3f * fibre), 0.3f * weather);
}

Picture Wood()
{
    const Noise noise(0x3005);
    Picture picture{"textures\\props\\wood", FileFormat::Jpeg, 3, {}};
    picture.Image =
        PaintEach(kWoodSize, kWoodSize, [&](float x, float y) { return WoodAt(noise, x / kWoodSize, y / kWoodSize); });
    return picture;
}

// Posts stand along y, so their grain runs up them.
void Posts(Mesh& mesh, const Placement& wood)
{
    const Outline square{
        {-kPostHalf, -kPostHalf}, {kPostHalf, -kPostHalf}, {kPostHalf, kPostHalf}, {-kPostHalf, kPostHalf}};
    for (int i = 0; i < kPosts; ++i) {
        const float x = (kHalfLength - kCapHalf) * (2.0f * i / (kPosts - 1) - 1.0f);
        mesh.Prism({{x, 0.0f, kShift}, {0, 0, 1}, {1, 0, 0}}, square, kPostHeight, wood);
        mesh.Box({x, kPostHeight + kCapHalfHeight, kShift}, {kCapHalf, kCapHalfHeight, kCapHalf}, wood);
    }
}

// Rails run the whole length, so that the rails of pieces set end to end meet.
void Rails(Mesh& mesh, const Placement& wood)
{
    for (float height : kRailHeights) {
        const Outline section{{-kRailHalfHeight, kRailFront}, {kRailHalfHeight, kRailFront},
                              {kRailHalfHeight, kRailBack}, {-kRailHalfHeight, kRailBack}};
        mesh.Prism({{-kHalfLength, height, kShift}, {0, 1, 0}, {0, 0, 1}}, section, 2.0f * kHalfLength, wood);
    }
}

// Drawn with s up the picket, so the grain runs along it.
void Pickets(Mesh& mesh, const Placement& wood)
{
    const Outline outline{{kPicketFoot, -kPicketHalfWidth},
                          {kPicketShoulder, -kPicketHalfWidth},
                          {kPicketTip, 0.0f},
                          {kPicketShoulder, kPicketHalfWidth},
                          {kPicketFoot, kPicketHalfWidth}};
    const float spacing = 2.0f * kHalfLength / kPickets;
    for (int i = 0; i < kPickets; ++i) {
        const float x = -kHalfLength + (i + 0.5f) * spacing;
        mesh.Prism({{x, 0.0f, kPicketFront + kShift}, {0, 1, 0}, {-1, 0, 0}}, outline, kPicketDepth, wood);
    }
}

}  // namespace

void BakeFence(Bake& bake)
{
    bake.Pictures.push_back(Wood());
    Placement wood;
    wood.TextureScale = kWoodScale;
    Mesh mesh;
    Posts(mesh, wood);
    Rails(mesh, wood);
    Pickets(mesh, wood);
    const std::vector<ztm::Material> materials{Textured("Wood", 0, {0.95f, 0.95f, 0.95f})};
    bake.Models.push_back(Finished("fence", "Fence", mesh, materials, {{"Wood", "textures\\props\\wood"}}));
}

}  // namespace bake
