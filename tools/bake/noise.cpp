#include "noise.h"

#include <cmath>
#include <utility>

namespace bake {

uint32_t Random::Next()
{
    State += 0x9E3779B97F4A7C15ull;
    uint64_t z = State;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

float Random::Range(float low, float high) { return low + (high - low) * HashUnit(Next()); }

int Random::Below(int count) { return static_cast<int>(Next() % static_cast<uint32_t>(count)); }

uint32_t Hash(int x, int y, uint32_t seed)
{
    uint32_t h = seed ^ 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h ^ (h >> 15)) * 0xC2B2AE35u;
    h ^= static_cast<uint32_t>(y) * 0x165667B1u;
    h = (h ^ (h >> 13)) * 0x85EBCA6Bu;
    return h ^ (h >> 16);
}

float HashUnit(uint32_t hash) { return static_cast<float>(hash >> 8) * (1.0f / 16777216.0f); }

namespace {

// Twelve cube-edge directions (four repeated), as in improved Perlin noise.
constexpr float kGradients[16][3] = {{1, 1, 0},  {-1, 1, 0},  {1, -1, 0}, {-1, -1, 0}, {1, 0, 1},  {-1, 0, 1},
                                     {1, 0, -1}, {-1, 0, -1}, {0, 1, 1},  {0, -1, 1},  {0, 1, -1}, {0, -1, -1},
                                     {1, 1, 0},  {0, -1, 1},  {-1, 1, 0}, {0, -1, -1}};

// The bake runs on every build, unoptimised ones too, so the noise keeps
// calls out of its per-corner work.
inline int Floor(float v)
{
    const int i = static_cast<int>(v);
    return v < i ? i - 1 : i;
}

inline float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

}  // namespace

Noise::Noise(uint32_t seed)
{
    for (int i = 0; i < kMaxPeriod; ++i)
        Perm[i] = static_cast<uint8_t>(i);
    Random random(seed);
    for (int i = kMaxPeriod - 1; i > 0; --i)
        std::swap(Perm[i], Perm[random.Below(i + 1)]);
    for (int i = 0; i < kMaxPeriod; ++i)
        Perm[kMaxPeriod + i] = Perm[i];
}

float Noise::At(float x, float y, int period) const { return At(x, y, 0.0f, period); }

float Noise::At(float x, float y, float z, int period) const
{
    const int mask = period - 1;
    const int x0 = Floor(x), y0 = Floor(y), z0 = Floor(z);
    const float fx = x - x0, fy = y - y0, fz = z - z0;
    const int xs[2] = {x0 & mask, (x0 + 1) & mask};
    const int ys[2] = {y0 & mask, (y0 + 1) & mask};
    const int zs[2] = {z0 & mask, (z0 + 1) & mask};
    // Each corner's gradient dotted with the offset to it, in the order
    // x fastest, then y, then z.
    float corner[8];
    for (int i = 0; i < 8; ++i) {
        const int cx = i & 1, cy = (i >> 1) & 1, cz = i >> 2;
        const float* g = kGradients[Perm[Perm[Perm[xs[cx]] + ys[cy]] + zs[cz]] & 15];
        corner[i] = g[0] * (fx - cx) + g[1] * (fy - cy) + g[2] * (fz - cz);
    }
    const float u = Fade(fx), v = Fade(fy), w = Fade(fz);
    for (int i = 0; i < 8; i += 2)
        corner[i / 2] = corner[i] + (corner[i + 1] - corner[i]) * u;
    for (int i = 0; i < 4; i += 2)
        corner[i / 2] = corner[i] + (corner[i + 1] - corner[i]) * v;
    return corner[0] + (corner[1] - corner[0]) * w;
}

float Noise::Fbm(float x, float y, int period, int octaves, float gain) const
{
    return Fbm(x, y, 0.0f, period, octaves, gain);
}

float Noise::Fbm(float x, float y, float z, int period, int octaves, float gain) const
{
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * At(x * frequency, y * frequency, z * frequency, period);
        total += amplitude;
        amplitude *= gain;
        frequency *= 2.0f;
        period = period < kMaxPeriod ? period * 2 : kMaxPeriod;
    }
    return sum / total;
}

CellSample Cells(float x, float y, int period, uint32_t seed, float jitter)
{
    const int cx = Floor(x), cy = Floor(y);
    CellSample sample;
    float best = 1e9f, second = 1e9f;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int gx = cx + dx, gy = cy + dy;
            const int wx = ((gx % period) + period) % period, wy = ((gy % period) + period) % period;
            const uint32_t id = Hash(wx, wy, seed);
            const float px = gx + 0.5f + jitter * (HashUnit(id) - 0.5f);
            const float py = gy + 0.5f + jitter * (HashUnit(Hash(wy, wx, id)) - 0.5f);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < best) {
                second = best;
                best = d;
                sample.Id = id;
                sample.ToX = px - x;
                sample.ToY = py - y;
            } else if (d < second) {
                second = d;
            }
        }
    }
    sample.Nearest = best;
    sample.Second = second;
    return sample;
}

}  // namespace bake
