// Deterministic randomness for the baked pictures: a seeded generator,
// gradient noise and cell noise. Every lattice can wrap, so a picture built on
// a whole number of periods tiles without a seam.
#pragma once

#include <cstdint>

namespace bake {

// splitmix64: the same seed gives the same sequence on every run and host.
class Random {
public:
    explicit Random(uint64_t seed) : State(seed) {}
    uint32_t Next();
    // Uniform in [low, high).
    float Range(float low, float high);
    int Below(int count);

private:
    uint64_t State;
};

uint32_t Hash(int x, int y, uint32_t seed);
// Uniform in [0, 1) from a hash.
float HashUnit(uint32_t hash);

// Gradient (Perlin) noise in about [-1, 1]. `period` is the lattice's repeat
// in cells on every axis: a power of two from 1 to 256.
class Noise {
public:
    static constexpr int kMaxPeriod = 256;

    explicit Noise(uint32_t seed);

    float At(float x, float y, int period) const;
    float At(float x, float y, float z, int period) const;
    // Octaves of doubling frequency and `gain` times the amplitude, divided by
    // the sum of the amplitudes; `period` belongs to the first octave and
    // doubles with it.
    float Fbm(float x, float y, int period, int octaves, float gain = 0.5f) const;
    float Fbm(float x, float y, float z, int period, int octaves, float gain = 0.5f) const;

private:
    uint8_t Perm[2 * kMaxPeriod];
};

// The nearest and second-nearest feature points of a jittered grid, one point
// a cell, the grid repeating every `period` cells.
struct CellSample {
    float Nearest = 0.0f;
    float Second = 0.0f;
    // The nearest point's cell, wrapped into the period, as a hash.
    uint32_t Id = 0;
    // Offset from the sample to the nearest point, in cells.
    float ToX = 0.0f;
    float ToY = 0.0f;
};

CellSample Cells(float x, float y, int period, uint32_t seed, float jitter = 0.9f);

}  // namespace bake
