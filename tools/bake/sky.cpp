// The sky box: six faces that sample one cloud field on the directions of
// the cube, so neighbouring faces agree along their shared edges by
// construction. The faces are light and almost colourless because the sky
// box tints them with the colour of the time of day.
#include <algorithm>
#include <cmath>
#include <vector>

#include "families.h"
#include "noise.h"

namespace bake {

namespace {

constexpr int kFaceSize = 512;
constexpr int kSunSize = 256;
constexpr int kStarsSize = 512;
constexpr float kDegrees = 3.14159265f / 180.0f;

struct Direction {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// A face is the quad at z = -1 turned as the sky box turns it: pitch about
// x (negated, as the engine's vector rotation does), then yaw about y.
struct Face {
    const char* Name;
    float Pitch;
    float Yaw;
};

constexpr Face kFaces[] = {
    {"north", 0.0f, 0.0f}, {"east", 0.0f, 270.0f}, {"south", 0.0f, 180.0f},
    {"west", 0.0f, 90.0f}, {"top", -90.0f, 0.0f},  {"bottom", 90.0f, 0.0f},
};

Direction Turn(const Face& face, Direction d)
{
    const float pitch = -face.Pitch * kDegrees, yaw = face.Yaw * kDegrees;
    const Direction pitched{d.x, d.y * std::cos(pitch) - d.z * std::sin(pitch),
                            d.y * std::sin(pitch) + d.z * std::cos(pitch)};
    // The turns are quarter turns, so the axes land exactly on axes.
    return {std::round(pitched.x * std::cos(yaw) + pitched.z * std::sin(yaw)), std::round(pitched.y),
            std::round(-pitched.x * std::sin(yaw) + pitched.z * std::cos(yaw))};
}

// Where a face's texture s (left to right), t (bottom to top) and the quad's
// centre point to; the picture's top row is uploaded as t = 1.
struct FaceBasis {
    explicit FaceBasis(const Face& face)
        : Right(Turn(face, {1.0f, 0.0f, 0.0f})),
          Up(Turn(face, {0.0f, 1.0f, 0.0f})),
          Centre(Turn(face, {0.0f, 0.0f, -1.0f}))
    {
    }

    Direction Right;
    Direction Up;
    Direction Centre;
};

Direction FaceDirection(const FaceBasis& face, float x, float y)
{
    const float s = 2.0f * x / kFaceSize - 1.0f, t = 1.0f - 2.0f * y / kFaceSize;
    const Direction d{face.Centre.x + s * face.Right.x + t * face.Up.x,
                      face.Centre.y + s * face.Right.y + t * face.Up.y,
                      face.Centre.z + s * face.Right.z + t * face.Up.z};
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    return {d.x / length, d.y / length, d.z / length};
}

Color SkyBackground(float elevation)
{
    const Color zenith{0.68f, 0.72f, 0.8f}, horizon{0.93f, 0.94f, 0.95f}, below{0.84f, 0.85f, 0.86f};
    if (elevation < 0.0f)
        return Mix(horizon, below, Smoothstep(0.0f, 0.25f, -elevation));
    return Mix(horizon, zenith, std::pow(elevation, 0.6f));
}

// Clouds lie on a flat layer overhead: a direction meets it at its
// horizontal part over its height, so they crowd towards the horizon, where
// they thin out into haze; the lift keeps the layer finite there. The layer
// is sampled by its plane, never by an angle or a height around the zenith,
// so the zenith is as plain as any other spot. The offsets keep the zenith
// off the noise lattice, where every octave would vanish at once.
constexpr float kLayerLift = 0.2f;
constexpr float kCloudScale = 2.4f;
constexpr float kLayerOffsetX = 0.613f;
constexpr float kLayerOffsetZ = 0.239f;
constexpr float kLayerSlice = 0.371f;

float CloudDensity(const Noise& noise, const Direction& d)
{
    if (d.y <= 0.0f)
        return 0.0f;
    const float reach = kCloudScale / (d.y + kLayerLift);
    return noise.Fbm(d.x * reach + kLayerOffsetX, kLayerSlice, d.z * reach + kLayerOffsetZ, 256, 5, 0.55f);
}

// The cloud field is sampled every kDensityStep pixels, the face's corners
// and borders included, and interpolated in between: border samples are the
// very directions the neighbouring face samples, so the faces still agree.
constexpr int kDensityStep = 2;
constexpr int kDensitySide = kFaceSize / kDensityStep + 1;

class DensityGrid {
public:
    DensityGrid(const Noise& noise, const FaceBasis& face) : Samples(static_cast<size_t>(kDensitySide) * kDensitySide)
    {
        for (int j = 0; j < kDensitySide; ++j) {
            for (int i = 0; i < kDensitySide; ++i) {
                const float x = static_cast<float>(i * kDensityStep), y = static_cast<float>(j * kDensityStep);
                Samples[Index(i, j)] = CloudDensity(noise, FaceDirection(face, x, y));
            }
        }
    }

    float At(float x, float y) const
    {
        const float gx = x / kDensityStep, gy = y / kDensityStep;
        const int i = std::min(static_cast<int>(gx), kDensitySide - 2);
        const int j = std::min(static_cast<int>(gy), kDensitySide - 2);
        const float fx = gx - i, fy = gy - j;
        return Mix(Mix(Samples[Index(i, j)], Samples[Index(i + 1, j)], fx),
                   Mix(Samples[Index(i, j + 1)], Samples[Index(i + 1, j + 1)], fx), fy);
    }

private:
    static size_t Index(int i, int j) { return static_cast<size_t>(j) * kDensitySide + i; }

    std::vector<float> Samples;
};

Color SkyAt(const Direction& d, float density)
{
    const Color background = SkyBackground(d.y);
    if (d.y <= 0.0f)
        return background;
    const float coverage = Smoothstep(-0.08f, 0.25f, density) * Smoothstep(0.0f, 0.2f, d.y);
    const float shade = Mix(1.0f, 0.8f, Smoothstep(0.15f, 0.55f, density));
    return Mix(background, Color{shade, shade, shade}, coverage);
}

Picture SkyFace(const Noise& noise, const Face& named)
{
    const FaceBasis face(named);
    const DensityGrid clouds(noise, face);
    Picture picture{std::string("textures\\skybox\\") + named.Name, FileFormat::Jpeg, 3, {}};
    picture.Image = PaintEach(kFaceSize, kFaceSize,
                              [&](float x, float y) { return SkyAt(FaceDirection(face, x, y), clouds.At(x, y)); });
    return picture;
}

// A white core and a warm glow that fades to nothing before the border; the
// sprite is added to the sky, so its alpha is its brightness. The sky box
// widens the sprite towards the horizon to some tenths of the sky, so the
// core keeps to a small middle part and the glow carries the size.
constexpr float kSunCore = 0.11f;
constexpr float kSunLimb = 0.025f;
constexpr float kGlowFalloff = 5.0f;
constexpr float kGlowStrength = 0.9f;

Picture Sun()
{
    Picture picture{"textures\\skybox\\sun", FileFormat::Png, 4, {}};
    picture.Image = PaintEach(kSunSize, kSunSize, [](float x, float y) {
        const float r = std::hypot(x / kSunSize - 0.5f, y / kSunSize - 0.5f) * 2.0f;
        const float core = 1.0f - Smoothstep(kSunCore - kSunLimb, kSunCore, r);
        const float glow = std::exp(-kGlowFalloff * r) * (1.0f - Smoothstep(0.7f, 1.0f, r));
        const float warmth = Smoothstep(kSunCore, 0.6f, r);
        return Color{1.0f, Mix(1.0f, 0.88f, warmth), Mix(0.96f, 0.6f, warmth), Clamp01(core + kGlowStrength * glow)};
    });
    return picture;
}

Color StarColour(Random& random)
{
    const float tint = random.Range(-1.0f, 1.0f);
    if (tint < 0.0f)
        return {1.0f + 0.25f * tint, 1.0f + 0.1f * tint, 1.0f, 1.0f};
    return {1.0f, 1.0f - 0.08f * tint, 1.0f - 0.3f * tint, 1.0f};
}

// Many faint stars, a few bright ones with a small halo. Every face of the
// star box shows this picture, and most faces meet their neighbours turned,
// so a star keeps clear of the border instead of wrapping across it. The
// clear pixels are white: filtering beside a star then only fades it and
// never darkens its edge.
constexpr float kStarMargin = 8.0f;

Picture Stars()
{
    Picture picture{"textures\\skybox\\stars", FileFormat::Png, 4,
                    Canvas(kStarsSize, kStarsSize, {1.0f, 1.0f, 1.0f, 0.0f})};
    Random random(0x57A125);
    for (int i = 0; i < 900; ++i) {
        const float x = random.Range(kStarMargin, kStarsSize - kStarMargin);
        const float y = random.Range(kStarMargin, kStarsSize - kStarMargin);
        const float magnitude = std::pow(random.Range(0.0f, 1.0f), 3.0f);
        const Color colour = StarColour(random);
        if (magnitude > 0.4f)
            PaintDisc(picture.Image, Edges::Clip, x, y, 1.5f + 2.5f * magnitude, 2.5f, colour, 0.25f * magnitude);
        PaintDisc(picture.Image, Edges::Clip, x, y, 0.5f + 0.8f * magnitude, 0.7f, colour, 0.35f + 0.65f * magnitude);
    }
    return picture;
}

}  // namespace

void BakeSky(Bake& bake)
{
    const Noise clouds(0xC10D5);
    for (const Face& face : kFaces)
        bake.Pictures.push_back(SkyFace(clouds, face));
    bake.Pictures.push_back(Sun());
    bake.Pictures.push_back(Stars());
}

}  // namespace bake
