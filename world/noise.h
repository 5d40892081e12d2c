// noise.h: the seeded 2-D gradient noise and the integer hashes behind every
// seeded decision of the world. Pure single-precision and wrapping 32-bit
// arithmetic, so one seed gives the same bits in every build.
#pragma once
#include <cstdint>

// Gradient noise over a permutation table shuffled from a seed.
class Noise {
public:
    Noise() : Noise(0u) {}
    explicit Noise(uint32_t seed);

    float Value(float x, float y) const;
    float Fbm(float x, float y, int octaves, float lacunarity, float gain) const;
    float Ridged(float x, float y, int octaves, float lacunarity, float gain) const;

    uint8_t perm[512];
};

uint32_t NoiseHash(int x, int y, uint32_t seed);
float NoiseHash01(int x, int y, uint32_t seed);
