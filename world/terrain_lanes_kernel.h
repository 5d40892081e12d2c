// terrain_lanes_kernel.h: the entry points of the per-instruction-set terrain
// kernels, shared by the dispatcher and the kernels' own files.
#pragma once
#include <cstddef>
#include <cstdint>
#include "world/worldgen.h"

// The six permutation tables of a WorldGen (terrain, detail, mountain,
// glacier, water, river), each with spare bytes after it so that a four-byte
// read at any entry stays inside.
struct TerrainTables {
    static constexpr int kTerrain = 0;
    static constexpr int kDetail = 1;
    static constexpr int kMountain = 2;
    static constexpr int kGlacier = 3;
    static constexpr int kWater = 4;
    static constexpr int kRiver = 5;
    alignas(64) uint8_t perm[6][512 + 64];
};

// Samples (when samples is set) or heights alone of count points; count is a
// multiple of the kernel's width: 4 for SSE2, 8 for AVX2.
void SampleTerrainSse2(const TerrainTables& tables, const float* x, const float* z, size_t count, WorldSample* samples,
                       float* heights);
void SampleTerrainAvx2(const TerrainTables& tables, const float* x, const float* z, size_t count, WorldSample* samples,
                       float* heights);
