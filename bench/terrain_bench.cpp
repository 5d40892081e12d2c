// terrain_bench.cpp: cost of one gradient-noise evaluation and of one
// terrain sample, the two hot paths of chunk building.
#include "world/noise.h"
#include "world/worldgen.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Scattered points so neither the table lookups nor the branches settle
// into one pattern.
std::vector<float> ScatteredCoordinates(int count, float span)
{
    std::vector<float> coords(static_cast<size_t>(count));
    uint32_t state = 0x12345678u;
    for (float& c : coords) {
        state = state * 1664525u + 1013904223u;
        c = (static_cast<float>(state >> 8) * 0x1p-24f - 0.5f) * span;
    }
    return coords;
}

void BM_NoiseValue(benchmark::State& state)
{
    const Noise noise(20261113u);
    const std::vector<float> coords = ScatteredCoordinates(4096, 512.0f);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(noise.Value(coords[i], coords[i + 1]));
        i = (i + 2) & 4095u;
    }
}
BENCHMARK(BM_NoiseValue);

void BM_WorldGenSample(benchmark::State& state)
{
    const WorldGen gen(20261113u);
    const std::vector<float> coords = ScatteredCoordinates(4096, 200000.0f);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gen.Sample(coords[i], coords[i + 1]));
        i = (i + 2) & 4095u;
    }
}
BENCHMARK(BM_WorldGenSample);

void BM_WorldGenHeight(benchmark::State& state)
{
    const WorldGen gen(20261113u);
    const std::vector<float> coords = ScatteredCoordinates(4096, 200000.0f);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gen.Height(coords[i], coords[i + 1]));
        i = (i + 2) & 4095u;
    }
}
BENCHMARK(BM_WorldGenHeight);

}  // namespace
