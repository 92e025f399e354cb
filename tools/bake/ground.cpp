// The garden floor. Everything here tiles: lattices wrap with the picture and
// shapes that cross an edge come back on the opposite one.
#include <cmath>
#include <vector>

#include "families.h"
#include "noise.h"

namespace bake {

namespace {

constexpr int kGrassSize = 512;
constexpr int kDetailSize = 256;
constexpr int kLawnSize = 256;
constexpr int kBladeSize = 256;
constexpr int kStoneSize = 512;

// Lush spots are greener, dry ones yellower: a slow field both the soil and
// the blades read, so patches show at the scale of the whole ground.
float Lushness(const Noise& noise, float x, float y, int size)
{
    return Clamp01(0.5f + 0.9f * noise.Fbm(x * 4.0f / size, y * 4.0f / size, 4, 3));
}

Color BladeTip(Random& random, float lush)
{
    const Color green{0.36f, 0.66f, 0.16f}, yellow{0.62f, 0.7f, 0.25f}, straw{0.72f, 0.66f, 0.38f};
    const Color live = Mix(yellow, green, Clamp01(lush + random.Range(-0.3f, 0.3f)));
    return Mix(live, straw, random.Range(0.0f, 1.0f) < 0.06f ? 0.7f : 0.0f);
}

// Thin tapered blades lying every way over dark soil.
Picture Grass()
{
    const Noise patches(0x6A55);
    Picture picture{"textures\\grass", FileFormat::Jpeg, 3, {}};
    picture.Image = PaintEach(kGrassSize, kGrassSize, [&](float x, float y) {
        return Mix(Color{0.13f, 0.16f, 0.06f}, Color{0.1f, 0.24f, 0.06f}, Lushness(patches, x, y, kGrassSize));
    });
    Random random(0xB1ADE);
    for (int i = 0; i < 15000; ++i) {
        const float x = random.Range(0.0f, kGrassSize), y = random.Range(0.0f, kGrassSize);
        const float angle = random.Range(0.0f, 6.2831853f), length = random.Range(6.0f, 17.0f);
        const float lush = Lushness(patches, x, y, kGrassSize);
        const Color tip = BladeTip(random, lush);
        const float shade = random.Range(0.55f, 1.05f), width = random.Range(0.9f, 1.5f);
        const float dx = length * std::cos(angle), dy = length * std::sin(angle);
        const Stroke blade{x, y, x + dx, y + dy, width, 0.25f, Scale(tip, 0.45f * shade), Scale(tip, shade)};
        PaintStroke(picture.Image, Edges::Wrap, blade);
    }
    return picture;
}

// Light grey grit, multiplied over the grass at a finer tiling.
Picture Detail()
{
    const Noise grit(0xDE7A11);
    Picture picture{"textures\\detail", FileFormat::Tga, 3, {}};
    picture.Image = PaintEach(kDetailSize, kDetailSize, [&](float x, float y) {
        const float cloud = grit.Fbm(x * 8.0f / kDetailSize, y * 8.0f / kDetailSize, 8, 5, 0.6f);
        const float grain = HashUnit(Hash(static_cast<int>(x), static_cast<int>(y), 0x6A1)) - 0.5f;
        const float v = Clamp01(0.86f + 0.16f * cloud + 0.07f * grain);
        return Color{v, v, v, 1.0f};
    });
    Random random(0x5BEC);
    for (int i = 0; i < 260; ++i) {
        const float x = random.Range(0.0f, kDetailSize), y = random.Range(0.0f, kDetailSize);
        const float v = random.Range(0.55f, 0.75f);
        PaintDisc(picture.Image, Edges::Wrap, x, y, random.Range(0.4f, 1.2f), 0.6f, {v, v, v, 1.0f});
    }
    return picture;
}

// One blade's cross-section: a small ellipse whose alpha is the blade's
// height at its middle and falls to 0 at its rim, so a shell at height f
// that keeps alpha above f shows blades that thin out towards their tips.
struct BladeSection {
    float X;
    float Y;
    float Angle;
    float Radius;
    float Height;
    float Shade;
};

void PaintSection(Canvas& canvas, const BladeSection& blade)
{
    const float c = std::cos(blade.Angle), s = std::sin(blade.Angle);
    const float along = blade.Radius, across = blade.Radius * 0.45f;
    const int reach = static_cast<int>(std::ceil(along)) + 1;
    for (int py = -reach; py <= reach; ++py) {
        for (int px = -reach; px <= reach; ++px) {
            const int x = static_cast<int>(blade.X) + px, y = static_cast<int>(blade.Y) + py;
            const float dx = x + 0.5f - blade.X, dy = y + 0.5f - blade.Y;
            const float u = (dx * c + dy * s) / along, v = (dy * c - dx * s) / across;
            const float value = blade.Height * (1.0f - Smoothstep(0.0f, 1.0f, u * u + v * v));
            Color& pixel = canvas.Wrapped(x, y);
            if (value > pixel.a)
                pixel = {blade.Shade, blade.Shade, blade.Shade, value};
        }
    }
}

// The lawn's blade mask: one blade in each cell of a jittered grid, so the
// blades are sparse but never clump. The colour channels hold each blade's
// brightness.
Picture Lawn()
{
    constexpr int kCells = 32;
    constexpr float kCell = static_cast<float>(kLawnSize) / kCells;
    Picture picture{"textures\\lawn", FileFormat::Png, 4, Canvas(kLawnSize, kLawnSize, {0.85f, 0.85f, 0.85f, 0.0f})};
    Random random(0x1A3);
    for (int cy = 0; cy < kCells; ++cy) {
        for (int cx = 0; cx < kCells; ++cx) {
            const BladeSection blade{(cx + random.Range(0.15f, 0.85f)) * kCell,
                                     (cy + random.Range(0.15f, 0.85f)) * kCell,
                                     random.Range(0.0f, 3.14159f),
                                     random.Range(3.0f, 4.6f),
                                     random.Range(0.45f, 1.0f),
                                     random.Range(0.7f, 1.0f)};
            PaintSection(picture.Image, blade);
        }
    }
    return picture;
}

// A tuft of blades rising from the middle of the bottom edge.
Picture LawnBlade()
{
    Picture picture{"textures\\lawn_blade", FileFormat::Png, 4,
                    Canvas(kBladeSize, kBladeSize, {0.25f, 0.45f, 0.12f, 0.0f})};
    Random random(0x7F7);
    const float base = kBladeSize - 4.0f;
    for (int i = 0; i < 11; ++i) {
        const float spread = (i - 5.0f) / 5.0f;
        const float x0 = kBladeSize * 0.5f + spread * 22.0f + random.Range(-4.0f, 4.0f);
        const float tipX = x0 + spread * random.Range(40.0f, 90.0f), tipY = random.Range(12.0f, 90.0f);
        const float shade = random.Range(0.75f, 1.1f);
        const float bend = spread * random.Range(5.0f, 25.0f), width = random.Range(4.0f, 6.5f);
        const Color root = Scale({0.1f, 0.26f, 0.05f, 1.0f}, shade), tip = Scale({0.52f, 0.78f, 0.26f, 1.0f}, shade);
        const Curve blade{x0, base, x0 + bend, (base + tipY) * 0.5f, tipX, tipY, width, 0.0f, root, tip};
        PaintCurve(picture.Image, Edges::Clip, blade);
    }
    return picture;
}

// Flagstones: cells of a warped jittered grid, bevelled at their borders,
// with a rough top; the grout between them lies lowest.
struct StoneSample {
    float Height = 0.0f;
    // Distance to the nearest border, in cells: 0 on the grout line.
    float Edge = 0.0f;
    uint32_t Id = 0;
};

constexpr int kStonesAcross = 4;

StoneSample StoneAt(const Noise& noise, float u, float v)
{
    const float warpX = 0.16f * noise.Fbm(u * 8.0f, v * 8.0f, 8, 2);
    const float warpY = 0.16f * noise.Fbm(u * 8.0f + 3.7f, v * 8.0f + 1.3f, 8, 2);
    const CellSample cell = Cells(u * kStonesAcross + warpX, v * kStonesAcross + warpY, kStonesAcross, 0x570E, 0.85f);
    StoneSample sample;
    sample.Edge = cell.Second - cell.Nearest;
    sample.Id = cell.Id;
    const float rough = 0.05f * noise.Fbm(u * 32.0f, v * 32.0f, 32, 3);
    const float tilt =
        0.12f * ((HashUnit(cell.Id >> 3) - 0.5f) * cell.ToX + (HashUnit(cell.Id >> 7) - 0.5f) * cell.ToY);
    const float body = Smoothstep(0.03f, 0.17f, sample.Edge);
    sample.Height = body * (0.85f + 0.1f * HashUnit(cell.Id >> 11) + rough + tilt) + 0.03f * rough;
    return sample;
}

std::vector<StoneSample> StoneField()
{
    const Noise noise(0x5701E);
    std::vector<StoneSample> field;
    field.reserve(static_cast<size_t>(kStoneSize) * kStoneSize);
    for (int y = 0; y < kStoneSize; ++y) {
        for (int x = 0; x < kStoneSize; ++x)
            field.push_back(StoneAt(noise, (x + 0.5f) / kStoneSize, (y + 0.5f) / kStoneSize));
    }
    return field;
}

Color StoneColour(uint32_t id)
{
    const Color palette[] = {{0.57f, 0.54f, 0.5f},
                             {0.62f, 0.57f, 0.49f},
                             {0.51f, 0.51f, 0.52f},
                             {0.6f, 0.52f, 0.45f},
                             {0.55f, 0.54f, 0.49f}};
    const Color base = palette[id % 5];
    return Scale(base, 0.9f + 0.2f * HashUnit(id >> 5));
}

Picture Stone(const std::vector<StoneSample>& field)
{
    const Noise mottle(0x3077);
    Picture picture{"textures\\stone\\stone", FileFormat::Bmp, 3, {}};
    picture.Image = PaintEach(kStoneSize, kStoneSize, [&](float x, float y) {
        const StoneSample& s = field[static_cast<size_t>(y) * kStoneSize + static_cast<size_t>(x)];
        const float u = x / kStoneSize, v = y / kStoneSize;
        const float spots = mottle.Fbm(u * 16.0f, v * 16.0f, 16, 3, 0.6f);
        const float grain = HashUnit(Hash(static_cast<int>(x), static_cast<int>(y), 0x9A1)) - 0.5f;
        const Color grout = Scale({0.3f, 0.28f, 0.24f, 1.0f}, 0.85f + 0.3f * spots);
        const Color stone = Scale(StoneColour(s.Id), 0.92f + 0.35f * spots + 0.2f * grain);
        const Color surface = Mix(grout, stone, Smoothstep(0.01f, 0.06f, s.Edge));
        return Scale(surface, Mix(0.7f, 1.0f, Smoothstep(0.0f, 0.2f, s.Edge)));
    });
    return picture;
}

// Tangent-space normals of the same height field, stored as n * 0.5 + 0.5:
// red along s (to the right), green along t (up the picture), blue out of
// the surface.
Picture StoneNormal(const std::vector<StoneSample>& field)
{
    constexpr float kStrength = 16.0f;
    const auto height = [&field](int x, int y) {
        x = (x + kStoneSize) % kStoneSize;
        y = (y + kStoneSize) % kStoneSize;
        return field[static_cast<size_t>(y) * kStoneSize + static_cast<size_t>(x)].Height;
    };
    Picture picture{"textures\\stone\\stone_normal", FileFormat::Bmp, 3, {}};
    picture.Image = PaintEach(kStoneSize, kStoneSize, [&](float fx, float fy) {
        const int x = static_cast<int>(fx), y = static_cast<int>(fy);
        const float alongS = 0.5f * (height(x + 1, y) - height(x - 1, y));
        const float alongT = 0.5f * (height(x, y - 1) - height(x, y + 1));
        const float nx = -kStrength * alongS, ny = -kStrength * alongT;
        const float length = std::sqrt(nx * nx + ny * ny + 1.0f);
        return Color{0.5f + 0.5f * nx / length, 0.5f + 0.5f * ny / length, 0.5f + 0.5f / length, 1.0f};
    });
    return picture;
}

}  // namespace

void BakeGround(Bake& bake)
{
    bake.Pictures.push_back(Grass());
    bake.Pictures.push_back(Detail());
    bake.Pictures.push_back(Lawn());
    bake.Pictures.push_back(LawnBlade());
    const std::vector<StoneSample> field = StoneField();
    bake.Pictures.push_back(Stone(field));
    bake.Pictures.push_back(StoneNormal(field));
}

}  // namespace bake
