// terrain_bench.cpp: cost of one gradient-noise evaluation and of one
// terrain sample, the two hot paths of chunk building; of a chunk's 47 x 47
// sample grid point by point and through the bulk sampler; and of the
// searches that sample many points (spawn view, biome search).
#include "world/noise.h"
#include "world/terrain_lanes.h"
#include "world/world.h"
#include "world/worldgen.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Scattered points so neither the table lookups nor the branches settle
// into one pattern.
std::vector<float> ScatteredCoordinates(int count, float span) {
    std::vector<float> coords(static_cast<size_t>(count));
    uint32_t state = 0x12345678u;
    for (float& c : coords) {
        state = state * 1664525u + 1013904223u;
        c = (static_cast<float>(state >> 8) * 0x1p-24f - 0.5f) * span;
    }
    return coords;
}

void BM_NoiseValue(benchmark::State& state) {
    const Noise noise(20261113u);
    const std::vector<float> coords = ScatteredCoordinates(4096, 512.0f);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(noise.Value(coords[i], coords[i + 1]));
        i = (i + 2) & 4095u;
    }
}
BENCHMARK(BM_NoiseValue);

void BM_WorldGenSample(benchmark::State& state) {
    const WorldGen gen(20261113u);
    const std::vector<float> coords = ScatteredCoordinates(4096, 200000.0f);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gen.Sample(coords[i], coords[i + 1]));
        i = (i + 2) & 4095u;
    }
}
BENCHMARK(BM_WorldGenSample);

void BM_WorldGenHeight(benchmark::State& state) {
    const WorldGen gen(20261113u);
    const std::vector<float> coords = ScatteredCoordinates(4096, 200000.0f);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gen.Height(coords[i], coords[i + 1]));
        i = (i + 2) & 4095u;
    }
}
BENCHMARK(BM_WorldGenHeight);

// The sample points of chunk (0, 0), row by row, as the chunk builder
// lays them out: every 2 units from 14 before the chunk to 78 after it.
struct ChunkGridPoints {
    static constexpr int kSide = 47;
    std::vector<float> x;
    std::vector<float> z;

    ChunkGridPoints() {
        for (int j = 0; j < kSide; ++j) {
            for (int i = 0; i < kSide; ++i) {
                x.push_back(2.0f * static_cast<float>(i - 7));
                z.push_back(2.0f * static_cast<float>(j - 7));
            }
        }
    }
};

void BM_ChunkGridScalar(benchmark::State& state) {
    const WorldGen gen(20261113u);
    const ChunkGridPoints points;
    std::vector<WorldSample> grid(points.x.size());
    for (auto _ : state) {
        for (size_t i = 0; i < grid.size(); ++i) {
            grid[i] = gen.Sample(points.x[i], points.z[i]);
        }
        benchmark::DoNotOptimize(grid.data());
    }
}
BENCHMARK(BM_ChunkGridScalar)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void ChunkGridLanes(benchmark::State& state, TerrainLanes lanes) {
    const TerrainLanes saved = ActiveTerrainLanes();
    if (!ForceTerrainLanes(lanes)) {
        state.SkipWithError("this CPU cannot run the path");
        return;
    }
    const WorldGen gen(20261113u);
    const ChunkGridPoints points;
    std::vector<WorldSample> grid(points.x.size());
    for (auto _ : state) {
        SampleTerrain(gen, points.x.data(), points.z.data(), grid.size(), grid.data());
        benchmark::DoNotOptimize(grid.data());
    }
    ForceTerrainLanes(saved);
}

void BM_ChunkGridSse2(benchmark::State& state) {
    ChunkGridLanes(state, TerrainLanes::Sse2);
}
BENCHMARK(BM_ChunkGridSse2)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ChunkGridAvx2(benchmark::State& state) {
    ChunkGridLanes(state, TerrainLanes::Avx2);
}
BENCHMARK(BM_ChunkGridAvx2)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Spawn point and view direction of a new world: 266 heights.
void BM_SpawnYaw(benchmark::State& state) {
    const World world(20261113u);
    for (auto _ : state) {
        benchmark::DoNotOptimize(world.SpawnYaw());
    }
}
BENCHMARK(BM_SpawnYaw)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The debug start's biome search over a 126 x 126 grid.
void BM_FindBiome(benchmark::State& state) {
    const World world(20261113u);
    for (auto _ : state) {
        Vector3 out{};
        benchmark::DoNotOptimize(world.FindBiome("plain", 4000.0f, out));
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_FindBiome)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
