// terrain_lanes.h: terrain of many points at once. Each vector step samples
// several points (eight with AVX2, four with SSE2), every point giving the
// same bits as WorldGen::Sample; the path is chosen once from the CPU.
#pragma once
#include <cstddef>
#include "world/worldgen.h"

enum class TerrainLanes {
    Sse2,
    Avx2,
};

// out[i] = gen.Sample(x[i], z[i]) for every i below count.
void SampleTerrain(const WorldGen& gen, const float* x, const float* z, size_t count, WorldSample* out);

// out[i] = gen.Height(x[i], z[i]) for every i below count.
void SampleTerrainHeights(const WorldGen& gen, const float* x, const float* z, size_t count, float* out);

TerrainLanes ActiveTerrainLanes();

// For tests and benchmarks: use the given path from now on. A path the CPU
// cannot run is refused (false) and the current one kept.
bool ForceTerrainLanes(TerrainLanes lanes);
