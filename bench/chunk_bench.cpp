// chunk_bench.cpp: the cost of building chunks on the CPU: one chunk split
// into the phases of the "PERF split" line, and the whole square of a new
// world at render distance 8 (289 chunks) and 12 (625 chunks) built from
// nothing. No window is open, so the texture upload is skipped (it fails fast
// without a context).
#include <benchmark/benchmark.h>

#include <chrono>
#include "raylib.h"
#include "world/chunk_content.h"
#include "world/world.h"

namespace {

constexpr uint32_t kSeed = 20261113u;

double SteadySeconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// One chunk's phases in milliseconds, as the PERF split line reports them
// (bake here is the ice pass and the image hand-off, without the upload).
void ChunkSplit(benchmark::State& state, int cx, int cz) {
    const WorldGen gen(kSeed);
    const std::unordered_set<uint64_t> removed;
    // Working memory reused from build to build, as the World does.
    chunkgen::ChunkScratch scratch;
    double sample = 0.0, terrain = 0.0, objects = 0.0, settle = 0.0, bake = 0.0;
    for (auto _ : state) {
        const double t0 = SteadySeconds();
        chunkgen::ChunkContent content = chunkgen::GenerateChunkContent(gen, removed, cx, cz, SteadySeconds, scratch);
        const double t5 = SteadySeconds();
        benchmark::DoNotOptimize(content.image.data);
        UnloadImage(content.image);
        sample += content.sampled - t0;
        terrain += content.terrained - content.sampled;
        objects += content.scattered - content.terrained;
        settle += content.settled - content.scattered;
        bake += t5 - content.settled;
    }
    const double perIteration = 1000.0 / static_cast<double>(state.iterations());
    state.counters["sample_ms"] = sample * perIteration;
    state.counters["terrain_ms"] = terrain * perIteration;
    state.counters["objects_ms"] = objects * perIteration;
    state.counters["settle_ms"] = settle * perIteration;
    state.counters["bake_ms"] = bake * perIteration;
}

// Open country near the spawn point.
void BM_ChunkSplitPlain(benchmark::State& state) {
    ChunkSplit(state, 0, 0);
}

// The chunk holding the centre of the nearest town to the origin (cell 1, 0):
// ruins, cabinets and caches on top of the terrain.
void BM_ChunkSplitTownCentre(benchmark::State& state) {
    ChunkSplit(state, 18, 5);
}

// A new world: construction and World::Update with the jump budget, which
// builds every chunk of the square around the focus; the argument is the
// render distance.
void BM_NewWorldSquare(benchmark::State& state) {
    SetTraceLogLevel(LOG_ERROR);
    for (auto _ : state) {
        World world(kSeed);
        world.SetRenderDistance(static_cast<int>(state.range(0)));
        world.Update(Vector3{0.0f, 0.0f, 0.0f}, 100000, 0.0f);
        benchmark::DoNotOptimize(world.chunks.size());
    }
    SetTraceLogLevel(LOG_INFO);
}

}  // namespace

BENCHMARK(BM_ChunkSplitPlain)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ChunkSplitTownCentre)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_NewWorldSquare)
    ->Arg(8)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
