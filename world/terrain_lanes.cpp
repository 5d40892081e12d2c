// terrain_lanes.cpp: picks the terrain kernel for this CPU, hands it whole
// vectors of points and samples the few left over one by one.
#include "world/terrain_lanes.h"

#include <cstdint>
#include <cstring>
#include "world/cpu_features.h"
#include "world/terrain_lanes_kernel.h"

namespace {

TerrainLanes& ChosenLanes() {
    static TerrainLanes chosen = CpuHasAvx2() ? TerrainLanes::Avx2 : TerrainLanes::Sse2;
    return chosen;
}

void CopyTables(const WorldGen& gen, TerrainTables& tables) {
    const Noise* fields[6] = {&gen.terrainNoise, &gen.detailNoise, &gen.mountainNoise,
                              &gen.glacierNoise, &gen.waterNoise,  &gen.riverNoise};
    for (int i = 0; i < 6; ++i) {
        std::memcpy(tables.perm[i], fields[i]->perm, sizeof(fields[i]->perm));
        std::memset(tables.perm[i] + sizeof(fields[i]->perm), 0, sizeof(tables.perm[i]) - sizeof(fields[i]->perm));
    }
}

// Whole vectors through the kernel; returns how many points it took.
size_t SampleVectors(const WorldGen& gen, const float* x, const float* z, size_t count, WorldSample* samples,
                     float* heights) {
    const bool avx2 = ChosenLanes() == TerrainLanes::Avx2;
    const size_t width = avx2 ? 8 : 4;
    const size_t whole = count - count % width;
    if (whole == 0) return 0;
    TerrainTables tables;
    CopyTables(gen, tables);
    if (avx2) {
        SampleTerrainAvx2(tables, x, z, whole, samples, heights);
    } else {
        SampleTerrainSse2(tables, x, z, whole, samples, heights);
    }
    return whole;
}

}  // namespace

void SampleTerrain(const WorldGen& gen, const float* x, const float* z, size_t count, WorldSample* out) {
    for (size_t i = SampleVectors(gen, x, z, count, out, nullptr); i < count; ++i) {
        out[i] = gen.Sample(x[i], z[i]);
    }
}

void SampleTerrainHeights(const WorldGen& gen, const float* x, const float* z, size_t count, float* out) {
    for (size_t i = SampleVectors(gen, x, z, count, nullptr, out); i < count; ++i) {
        out[i] = gen.Height(x[i], z[i]);
    }
}

TerrainLanes ActiveTerrainLanes() {
    return ChosenLanes();
}

bool ForceTerrainLanes(TerrainLanes lanes) {
    if (lanes == TerrainLanes::Avx2 && !CpuHasAvx2()) return false;
    ChosenLanes() = lanes;
    return true;
}
