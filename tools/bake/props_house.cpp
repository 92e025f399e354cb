// The cat's house: red board walls on a plinth, a shingled pitched roof whose
// ridge runs along z, and a round door in the gable on the +z side.
#include <cmath>

#include "model_kit.h"
#include "noise.h"
#include "props.h"

namespace bake {

namespace {

constexpr int kPlanksSize = 256;
constexpr int kShinglesSize = 256;
constexpr int kBoards = 6;
constexpr int kShingleRows = 6;
constexpr int kShinglesAcross = 4;
// Picture repeats per model unit.
constexpr float kPlanksScale = 2.0f;
constexpr float kShinglesScale = 2.4f;

// Outer faces of the walls at x = +-kHalfWidth and z = +-kHalfDepth.
constexpr float kHalfWidth = 0.4f;
constexpr float kHalfDepth = 0.45f;
constexpr float kWall = 0.04f;
constexpr float kFloor = 0.05f;
constexpr float kPlinthMargin = 0.03f;
constexpr float kEaves = 0.6f;
constexpr float kRidge = 0.88f;
constexpr float kDoorHeight = 0.3f;
constexpr float kDoorRadius = 0.16f;
constexpr float kTrim = 0.035f;
constexpr float kCornerHalf = 0.025f;
// How far trim stands out of the wall.
constexpr float kProud = 0.006f;
constexpr float kRoofThickness = 0.05f;
constexpr float kOverhang = 0.12f;
constexpr float kRoofHalfLength = 0.53f;
constexpr float kRidgeRadius = 0.032f;
// How far the dark lining stands inside the walls.
constexpr float kLiningGap = 0.003f;
constexpr int kRound = 40;

enum Group : uint8_t { kWalls, kRoof, kTrimGroup, kDark };

// Boards along u, each its own shade of worn red paint over grey wood, with
// dark gaps between them.
Color PlanksAt(const Noise& noise, float u, float v)
{
    const float position = v * kBoards;
    const int board = static_cast<int>(position);
    const float f = position - board;
    const float gap = 1.0f - Smoothstep(0.0f, 0.07f, f) * (1.0f - Smoothstep(0.9f, 1.0f, f));
    const float shade = 0.85f + 0.2f * HashUnit(Hash(board, 0, 0xB0A4D)) - 0.12f * Smoothstep(0.5f, 1.0f, f);
    const float grain = noise.Fbm(u * 4.0f, v * 64.0f, 4, 3);
    const float wear = Smoothstep(0.25f, 0.6f, noise.Fbm(u * 8.0f, v * 16.0f + board * 0.37f, 8, 4));
    const Color paint = Scale({0.6f, 0.14f, 0.1f}, shade + 0.12f * grain);
    const Color wood = Scale({0.55f, 0.48f, 0.4f}, 0.9f + 0.3f * grain);
    return Mix(Mix(paint, wood, 0.55f * wear), Color{0.12f, 0.06f, 0.05f}, gap);
}

Picture Planks()
{
    const Noise noise(0x9A4E);
    Picture picture{"textures\\props\\planks", FileFormat::Jpeg, 3, {}};
    picture.Image = PaintEach(kPlanksSize, kPlanksSize,
                              [&](float x, float y) { return PlanksAt(noise, x / kPlanksSize, y / kPlanksSize); });
    return picture;
}

// Rows of round-bottomed slates, every other row shifted by half a slate.
// The roof's v rises towards the ridge, so each row's rounded lower edge
// lies towards v = 0 and throws a shadow on the row below it.
Color ShinglesAt(const Noise& noise, float u, float v)
{
    const float up = v * kShingleRows;
    int row = static_cast<int>(up);
    float f = up - row;
    float across = u * kShinglesAcross + 0.5f * (row % 2);
    float g = across - std::floor(across);
    const float round = 0.35f * (1.0f - std::sqrt(Clamp01(1.0f - (2.0f * g - 1.0f) * (2.0f * g - 1.0f))));
    const bool below = f < round;
    if (below) {
        row = (row + kShingleRows - 1) % kShingleRows;
        across = u * kShinglesAcross + 0.5f * (row % 2);
        g = across - std::floor(across);
        f = 1.0f;
    }
    const int column = static_cast<int>(std::floor(across)) % kShinglesAcross;
    const float shade = 0.8f + 0.3f * HashUnit(Hash(column, row, 0x5A7E));
    const float edge = Smoothstep(0.0f, 0.05f, g) * (1.0f - Smoothstep(0.95f, 1.0f, g));
    const float shadow = below ? 0.55f : 0.6f + 0.4f * Smoothstep(round, round + 0.12f, f);
    const float grit = 0.08f * noise.Fbm(u * 16.0f, v * 16.0f, 16, 3);
    return Scale({0.35f, 0.38f, 0.43f}, (shade + grit) * shadow * (0.5f + 0.5f * edge));
}

// The engine puts v = 0 at the bottom row of a picture.
Picture Shingles()
{
    const Noise noise(0x511A7);
    Picture picture{"textures\\props\\shingles", FileFormat::Jpeg, 3, {}};
    picture.Image = PaintEach(kShinglesSize, kShinglesSize, [&](float x, float y) {
        return ShinglesAt(noise, x / kShinglesSize, 1.0f - y / kShinglesSize);
    });
    return picture;
}

Placement In(uint8_t group, float textureScale = 1.0f)
{
    Placement placement;
    placement.Group = group;
    placement.TextureScale = textureScale;
    return placement;
}

// A gable wall in x and y, inset by inset all round.
Outline Gable(float inset)
{
    const float x = kHalfWidth - inset, low = kFloor + inset, eaves = kEaves - inset, ridge = kRidge - 1.6f * inset;
    return {{-x, low}, {x, low}, {x, eaves}, {0.0f, ridge}, {-x, eaves}};
}

void Walls(Mesh& mesh)
{
    const Placement planks = In(kWalls, kPlanksScale);
    const Outline door = Circle(kDoorRadius, kRound, {0.0f, kDoorHeight});
    mesh.Prism({{0, 0, kHalfDepth - kWall}, {1, 0, 0}, {0, 1, 0}}, Gable(0.0f), kWall, planks, door);
    mesh.Prism({{0, 0, -kHalfDepth}, {1, 0, 0}, {0, 1, 0}}, Gable(0.0f), kWall, planks);
    const float z = kHalfDepth - kWall;
    const Outline side{{-z, kFloor}, {z, kFloor}, {z, kEaves}, {-z, kEaves}};
    mesh.Prism({{kHalfWidth, 0, 0}, {0, 0, 1}, {0, 1, 0}}, side, kWall, planks);
    mesh.Prism({{-kHalfWidth + kWall, 0, 0}, {0, 0, 1}, {0, 1, 0}}, side, kWall, planks);
}

// Dark faces just inside the walls, so that the door opens onto shade.
void Lining(Mesh& mesh)
{
    const Placement dark = In(kDark);
    const float inner = kWall + kLiningGap, x = kHalfWidth - inner, z = kHalfDepth - inner;
    mesh.Plate({{0, 0, -z}, {1, 0, 0}, {0, 1, 0}}, Gable(inner), dark);
    const Outline side{{-z, kFloor}, {z, kFloor}, {z, kEaves}, {-z, kEaves}};
    mesh.Plate({{x, 0, 0}, {0, 0, 1}, {0, 1, 0}}, side, dark);
    mesh.Plate({{-x, 0, 0}, {0, 0, -1}, {0, 1, 0}}, side, dark);
    mesh.Plate({{0, kFloor + kLiningGap, 0}, {0, 0, 1}, {1, 0, 0}}, {{-z, -x}, {z, -x}, {z, x}, {-z, x}}, dark);
}

constexpr float kSlope = (kRidge - kEaves) / kHalfWidth;

// How far the roof's top lies above its underside, measured upright.
float RoofRise() { return kRoofThickness * std::sqrt(1.0f + kSlope * kSlope); }

// One slope, from the ridge down past the wall; its twin is its mirror image.
Mesh RoofSlope()
{
    const float edge = kHalfWidth + kOverhang, low = kRidge - kSlope * edge, rise = RoofRise();
    const Outline section{{0.0f, kRidge}, {edge, low}, {edge, low + rise}, {0.0f, kRidge + rise}};
    Mesh slab;
    slab.Prism({{0, 0, -kRoofHalfLength}, {1, 0, 0}, {0, 1, 0}}, section, 2.0f * kRoofHalfLength,
               In(kRoof, kShinglesScale));
    return slab;
}

void Roof(Mesh& mesh)
{
    const Mesh slope = RoofSlope();
    mesh.Append(slope);
    mesh.Append(slope.Mirrored({1, 0, 0}));
    const float y = kRidge + RoofRise() - 0.5f * kRidgeRadius, z = kRoofHalfLength + 0.01f;
    mesh.Tube({0, y, -z}, {0, y, z}, kRidgeRadius, kRidgeRadius, 12, In(kDark));
}

// Boards at the corners and a ring round the door, standing a little proud
// of the walls.
void Trim(Mesh& mesh)
{
    const Placement trim = In(kTrimGroup);
    const float height = 0.5f * (kEaves - kFloor), middle = kFloor + height;
    const float x = kHalfWidth - kCornerHalf + kProud, z = kHalfDepth - kCornerHalf + kProud;
    for (float sx : {-1.0f, 1.0f}) {
        for (float sz : {-1.0f, 1.0f})
            mesh.Box({sx * x, middle, sz * z}, {kCornerHalf, height, kCornerHalf}, trim);
    }
    const Outline ring = Circle(kDoorRadius + kTrim, kRound, {0.0f, kDoorHeight});
    const Outline opening = Circle(kDoorRadius - kLiningGap, kRound, {0.0f, kDoorHeight});
    const float back = kHalfDepth - kWall - kLiningGap;
    mesh.Prism({{0, 0, back}, {1, 0, 0}, {0, 1, 0}}, ring, kWall + kLiningGap + 2.0f * kProud, trim, opening);
}

void Plinth(Mesh& mesh)
{
    mesh.Box({0, 0.5f * kFloor, 0}, {kHalfWidth + kPlinthMargin, 0.5f * kFloor, kHalfDepth + kPlinthMargin}, In(kDark));
}

}  // namespace

void BakeHouse(Bake& bake)
{
    bake.Pictures.push_back(Planks());
    bake.Pictures.push_back(Shingles());
    Mesh mesh;
    Walls(mesh);
    Lining(mesh);
    Roof(mesh);
    Trim(mesh);
    Plinth(mesh);
    const std::vector<ztm::Material> materials{
        Textured("Boards", 0, {1.0f, 1.0f, 1.0f}),
        Textured("Shingles", 1, {1.0f, 1.0f, 1.0f}, 0.2f),
        Painted("Trim", {0.92f, 0.9f, 0.84f}, 0.1f),
        Painted("Dark", {0.2f, 0.18f, 0.17f}),
    };
    const std::vector<ztm::Texture> textures{{"Boards", "textures\\props\\planks"},
                                             {"Shingles", "textures\\props\\shingles"}};
    bake.Models.push_back(Finished("house", "House", mesh, materials, textures));
}

}  // namespace bake
