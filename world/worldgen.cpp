// worldgen.cpp: biome weights, water masks and terrain height of a ground
// point from six seeded noise fields, in exact single precision.
#include "world/worldgen.h"

#include <algorithm>
#include <cmath>

namespace {

// Smoothstep with the edge span rounded to single precision first.
inline float Smooth(float e0, float e1, float v) {
    const float span = e1 - e0;
    float t = (v - e0) / span;
    t = std::min(t, 1.0f);
    t = std::max(t, 0.0f);
    return (t * t) * (3.0f - 2.0f * t);
}

// Strength of a water pull: the mask clamped to 1, then smoothed.
inline float WaterPull(float mask) {
    const float c = std::min(mask, 1.0f);
    return (c * c) * (3.0f - 2.0f * c);
}

}  // namespace

const char* BiomeName(Biome biome) {
    switch (biome) {
        case Biome::Glacier: return "Glacier";
        case Biome::SnowPlain: return "Snow plain";
        case Biome::SnowHills: return "Snow hills";
        case Biome::Mountains: return "Mountains";
    }
    return "Unknown";
}

Biome DominantBiome(float glacier, float plain, float hills, float mountain) {
    float best = -1.0f;
    Biome biome = Biome::SnowPlain;
    const float weights[4] = {glacier, plain, hills, mountain};
    for (int i = 0; i < 4; ++i) {
        if (weights[i] > best) {
            best = weights[i];
            biome = static_cast<Biome>(i);
        }
    }
    return biome;
}

WorldGen::WorldGen(uint32_t worldSeed)
    : seed(worldSeed),
      terrainNoise(worldSeed ^ 0x9e3779b9u),
      detailNoise(worldSeed ^ 0x85ebca6bu),
      mountainNoise(worldSeed ^ 0xc2b2ae35u),
      glacierNoise(worldSeed ^ 0x27d4eb2fu),
      waterNoise(worldSeed ^ 0x7feb352du),
      riverNoise(worldSeed ^ 0x846ca68bu) {}

WorldGen::Masks WorldGen::ComputeMasks(float x, float z) const {
    const float m = mountainNoise.Fbm(x * 0.0011f - 137.0f, z * 0.0011f + 271.0f, 3, 2.0f, 0.5f);
    const float g = glacierNoise.Fbm(x * 0.00055f + 913.0f, z * 0.00055f - 411.0f, 3, 2.0f, 0.5f);
    const float hl = terrainNoise.Fbm(x * 0.001f + 431.0f, z * 0.001f + 619.0f, 3, 2.0f, 0.5f);

    Masks masks;
    masks.mountain = Smooth(0.1f, 0.3f, m);
    masks.glacier = Smooth(0.12f, 0.34f, g) * (1.0f - masks.mountain);
    masks.hills = (Smooth(0.02f, 0.22f, hl) * (1.0f - masks.mountain)) * (1.0f - masks.glacier);
    masks.plain = std::max(((1.0f - masks.mountain) - masks.glacier) - masks.hills, 0.0f);

    const float land = 1.0f - 0.8f * masks.mountain;
    const float seaNoise = waterNoise.Fbm(x * 0.0005f + 1229.0f, z * 0.0005f - 733.0f, 3, 2.0f, 0.5f);
    masks.sea = Smooth(0.14f, 0.30f, seaNoise) * land;
    const float lakeNoise = waterNoise.Fbm(x * 0.002f - 317.0f, z * 0.002f + 887.0f, 3, 2.0f, 0.5f);
    masks.lake = (Smooth(0.10f, 0.28f, lakeNoise) * land) * (1.0f - masks.sea);
    // Rivers are the thin bands where the river noise crosses zero.
    const float riverNoiseValue = riverNoise.Fbm(x * 0.0011f + 613.0f, z * 0.0011f - 229.0f, 3, 2.0f, 0.5f);
    masks.river = ((1.0f - Smooth(0.0f, 0.09f, std::fabs(riverNoiseValue))) * land) * (1.0f - 0.6f * masks.sea);
    masks.water = std::max(masks.river, std::max(masks.lake, masks.sea));
    return masks;
}

float WorldGen::HeightFromMasks(float x, float z, const Masks& masks) const {
    const float base = 3.0f * terrainNoise.Fbm(x * 0.0009f + 31.0f, z * 0.0011f - 11.0f, 3, 2.0f, 0.5f) +
                       detailNoise.Fbm(x * 0.03f, z * 0.03f, 2, 2.0f, 0.5f);
    const float hillsHeight = (20.0f * terrainNoise.Fbm(x * 0.0022f + 77.0f, z * 0.0022f - 33.0f, 3, 2.0f, 0.5f) +
                               (terrainNoise.Ridged(x * 0.0034f - 19.0f, z * 0.0034f + 41.0f, 2, 2.0f, 0.5f) - 0.5f) *
                                   8.0f) +
                              2.0f * detailNoise.Fbm(x * 0.03f, z * 0.03f, 3, 2.0f, 0.5f);
    const float glacierHeight = 0.6f * detailNoise.Fbm(x * 0.05f, z * 0.05f, 2, 2.0f, 0.5f) +
                                1.4f * terrainNoise.Fbm(x * 0.0012f - 91.0f, z * 0.0012f + 57.0f, 2, 2.0f, 0.5f);
    const float mountainHeight =
        9.0f * terrainNoise.Fbm(x * 0.0025f, z * 0.0025f, 3, 2.0f, 0.5f) +
        (76.0f * mountainNoise.Ridged(x * 0.0042f + 13.0f, z * 0.0042f - 29.0f, 4, 2.0f, 0.5f) + 12.0f);

    float h = base;
    h = (hillsHeight - h) * masks.hills + h;
    h = (glacierHeight - h) * masks.glacier + h;
    h = (mountainHeight - h) * masks.mountain + h;

    if (masks.water > 0.001f) {
        if (masks.sea > 0.001f) {
            h = h + (WaterPull(masks.sea) * 0.97f) * (-13.0f - h);
        }
        if (masks.lake > 0.001f) {
            h = h + (WaterPull(masks.lake) * 0.95f) * (-8.5f - h);
        }
        // A river only lowers ground that lies above its bed.
        if (masks.river > 0.001f) {
            h = h + (WaterPull(masks.river) * 0.95f) * (std::min(h, -6.3f) - h);
        }
    }
    return h;
}

WorldSample WorldGen::Sample(float x, float z) const {
    const Masks masks = ComputeMasks(x, z);
    WorldSample sample;
    sample.height = HeightFromMasks(x, z, masks);
    sample.glacier = masks.glacier;
    sample.plain = masks.plain;
    sample.hills = masks.hills;
    sample.mountain = masks.mountain;
    sample.snow = 1.0f - 0.15f * masks.mountain;
    sample.water = masks.water;
    sample.biome = DominantBiome(masks.glacier, masks.plain, masks.hills, masks.mountain);
    return sample;
}

float WorldGen::Height(float x, float z) const {
    return HeightFromMasks(x, z, ComputeMasks(x, z));
}

Biome WorldGen::BiomeAt(float x, float z) const {
    return Sample(x, z).biome;
}
