// The cat's fur: its colour, the strand mask the shells cut their strands
// from, and the lookup that turns a strand's mask value and the height of a
// shell into coverage and shading.
#include <cmath>

#include "families.h"
#include "noise.h"

namespace bake {

namespace {

constexpr int kFurSize = 512;
constexpr int kStrandMaskSize = 512;
constexpr int kStrandsAcross = 96;
// In cells, from a strand's middle to its rim at the root.
constexpr float kStrandRadius = 0.4f;
constexpr float kShortestStrand = 0.15f;
// How bright the coat is at the skin, where the outer hairs shade it.
constexpr float kRootLight = 0.55f;
constexpr int kRulesSize = 256;
constexpr int kStripes = 11;
constexpr float kTau = 6.2831853f;

// Mackerel tabby: wavy, broken dark bands across t over a ginger-brown coat
// with cream patches.
Color TabbyAt(const Noise& noise, float u, float v)
{
    const float wave = 0.07f * noise.Fbm(u * 4.0f, v * 4.0f, 4, 2);
    const float band = 0.5f + 0.5f * std::sin(kTau * kStripes * (v + wave));
    const float broken = Smoothstep(-0.4f, 0.0f, noise.Fbm(u * 8.0f + 5.3f, v * 8.0f, 8, 2));
    const float stripe = Smoothstep(0.55f, 0.92f, band) * broken;
    const float cream = 0.7f * Smoothstep(0.15f, 0.6f, noise.At(u * 2.0f + 9.1f, v * 2.0f + 4.2f, 2));
    const Color coat = Mix(Color{0.58f, 0.43f, 0.28f}, Color{0.86f, 0.76f, 0.6f}, cream);
    return Mix(coat, Color{0.2f, 0.13f, 0.08f}, stripe * (1.0f - 0.6f * cream));
}

// Short hairs along t, each taking the coat colour under its root and
// lightening towards its tip.
void PaintHairs(Canvas& canvas, const Noise& noise)
{
    Random random(0xFA17);
    for (int i = 0; i < 20000; ++i) {
        const float x = random.Range(0.0f, kFurSize), y = random.Range(0.0f, kFurSize);
        const float length = random.Range(7.0f, 15.0f), lean = random.Range(-0.25f, 0.25f);
        const Color root = TabbyAt(noise, x / kFurSize, y / kFurSize);
        const float shade = random.Range(0.75f, 1.15f);
        const Color tip = Scale(Mix(root, Color{1.0f, 0.93f, 0.8f}, 0.2f), shade);
        const Stroke hair{x, y, x + lean * length, y - length, 0.7f, 0.2f, Scale(root, 0.8f * shade), tip};
        PaintStroke(canvas, Edges::Wrap, hair);
    }
}

Picture FurColour()
{
    const Noise noise(0x7A88);
    Picture picture{"textures\\fur\\fur", FileFormat::Jpeg, 3, {}};
    picture.Image =
        PaintEach(kFurSize, kFurSize, [&](float x, float y) { return TabbyAt(noise, x / kFurSize, y / kFurSize); });
    PaintHairs(picture.Image, noise);
    return picture;
}

// One strand in each cell of a jittered grid; its value is the strand's
// length (how many shells it reaches) in its middle and falls towards its
// rim, gently at first and steeply near the rim: a strand keeps most of its
// width up its length and thins only at its tip. Short strands are the
// most, long ones fewer, so the coat shows its shape and the outer shells
// carry a thinning, broken fringe. The value is in every
// channel, so a program may read any.
Picture StrandMask()
{
    Picture picture{"textures\\fur\\furtexture", FileFormat::Tga, 4, {}};
    picture.Image = PaintEach(kStrandMaskSize, kStrandMaskSize, [](float x, float y) {
        const float scale = static_cast<float>(kStrandsAcross) / kStrandMaskSize;
        const CellSample cell = Cells(x * scale, y * scale, kStrandsAcross, 0x57A4D, 0.8f);
        const float length = kShortestStrand + (1.0f - kShortestStrand) * std::pow(HashUnit(cell.Id), 1.6f);
        const float rim = std::min(cell.Nearest / kStrandRadius, 1.0f);
        const float v = length * (1.0f - rim * rim * rim);
        return Color{v, v, v, v};
    });
    return picture;
}

// s (left to right): a strand's mask value; t (bottom to top of the
// picture): the shell's height f from root (0) to tip (1). Alpha is the
// strand's coverage on that shell: whole where its value passes f, with a
// narrow soft edge; the colour darkens the roots, which the outer hairs
// shade, but not so far that the coat turns to shadow.
Picture Rules()
{
    Picture picture{"textures\\fur\\rules", FileFormat::Png, 4, {}};
    picture.Image = PaintEach(kRulesSize, kRulesSize, [](float x, float y) {
        const float value = x / kRulesSize, f = 1.0f - y / kRulesSize;
        const float coverage = Smoothstep(f - 0.05f, f + 0.02f, value) * (1.0f - 0.4f * f);
        const float light = Mix(kRootLight, 1.0f, std::pow(f, 0.6f));
        return Color{light, light, light, coverage};
    });
    return picture;
}

}  // namespace

void BakeFur(Bake& bake)
{
    bake.Pictures.push_back(FurColour());
    bake.Pictures.push_back(StrandMask());
    bake.Pictures.push_back(Rules());
}

}  // namespace bake
