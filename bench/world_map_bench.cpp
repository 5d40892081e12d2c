// world_map_bench.cpp: cost of one world map rebuild on the CPU: the shaded
// terrain picture and the landmark list around the home.
#include "actors/building.h"
#include "game/map/world_map.h"
#include "world/world.h"

#include <benchmark/benchmark.h>

namespace {

void BM_MapTerrainPicture(benchmark::State& state) {
    const World world(20261113u);
    for (auto _ : state) {
        Image image = RenderMapTerrain(world.gen, Vector2{-24.0f, 40.0f});
        benchmark::DoNotOptimize(image.data);
        UnloadImage(image);
    }
}
BENCHMARK(BM_MapTerrainPicture)->Unit(benchmark::kMillisecond);

void BM_MapLandmarks(benchmark::State& state) {
    const World world(20261113u);
    const Building tower;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CollectMapMarkers(world, Vector2{-24.0f, 40.0f}, tower));
    }
}
BENCHMARK(BM_MapLandmarks)->Unit(benchmark::kMicrosecond);

}  // namespace
