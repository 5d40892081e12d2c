// world_stream_bench.cpp: streaming cost of the world: a whole new square at
// render distance 8 (289 chunks) and the column of chunks a one-chunk move
// brings in, plus one atmosphere step. Runs without a window, so chunk
// pictures are baked but not uploaded.
#include <benchmark/benchmark.h>

#include "raylib.h"
#include "world/world.h"

namespace {

constexpr uint32_t kSeed = 20261113u;

void QuietLog()
{
    // Without a window every upload fails with a warning; keep the output clean.
    SetTraceLogLevel(LOG_ERROR);
}

void BM_StreamNewWorldSquare(benchmark::State& state)
{
    QuietLog();
    for (auto _ : state) {
        World world(kSeed);
        world.SetRenderDistance(static_cast<int>(state.range(0)));
        world.Update(Vector3{0.0f, 0.0f, 0.0f}, 100000, 0.0f);
        benchmark::DoNotOptimize(world.chunks.size());
    }
}
BENCHMARK(BM_StreamNewWorldSquare)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_StreamOneChunkMove(benchmark::State& state)
{
    QuietLog();
    World world(kSeed);
    world.Update(Vector3{0.0f, 0.0f, 0.0f}, 100000, 0.0f);
    float x = 0.0f;
    for (auto _ : state) {
        x += 64.0f;
        world.Update(Vector3{x, 0.0f, 0.0f}, 100000, 0.0f);
    }
    state.counters["chunks"] = static_cast<double>(world.chunks.size());
}
BENCHMARK(BM_StreamOneChunkMove)->Unit(benchmark::kMillisecond);

void BM_UpdateWithoutBuilds(benchmark::State& state)
{
    QuietLog();
    World world(kSeed);
    world.Update(Vector3{0.0f, 0.0f, 0.0f}, 100000, 0.0f);
    for (auto _ : state) {
        world.Update(Vector3{10.0f, 0.0f, 20.0f}, 2, 0.008f);
    }
}
BENCHMARK(BM_UpdateWithoutBuilds)->Unit(benchmark::kMicrosecond);

}  // namespace
