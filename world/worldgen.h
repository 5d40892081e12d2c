// worldgen.h: terrain height, biome weights and water masks of any ground
// point, computed afresh from six seeded noise fields on every query.
#pragma once
#include <cstdint>
#include "world/noise.h"

enum class Biome : int {
    Glacier = 0,
    SnowPlain = 1,
    SnowHills = 2,
    Mountains = 3,
};

struct WorldSample {
    float height;
    float glacier;
    float plain;
    float hills;
    float mountain;
    float snow;
    float water;
    Biome biome;
};

// Debug name of a biome; "Unknown" for any value outside the enumeration.
const char* BiomeName(Biome biome);

// The biome of the largest weight; equal weights keep the earlier of
// glacier, plain, hills, mountain.
Biome DominantBiome(float glacier, float plain, float hills, float mountain);

// The seeded terrain of one world; every query is const and pure.
class WorldGen {
public:
    struct Masks {
        float glacier, plain, hills, mountain;
        float sea, lake, river, water;
    };

    explicit WorldGen(uint32_t seed);

    Masks ComputeMasks(float x, float z) const;
    float HeightFromMasks(float x, float z, const Masks& masks) const;
    WorldSample Sample(float x, float z) const;
    float Height(float x, float z) const;
    Biome BiomeAt(float x, float z) const;

    uint32_t seed;
    Noise terrainNoise;
    Noise detailNoise;
    Noise mountainNoise;
    Noise glacierNoise;
    Noise waterNoise;
    Noise riverNoise;
};
