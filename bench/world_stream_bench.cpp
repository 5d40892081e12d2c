// world_stream_bench.cpp: streaming cost of the world: the column of chunks a
// one-chunk move brings in, one atmosphere step, and the frames of the
// airship flying at full speed. Runs without a window, so chunk pictures are
// baked but not uploaded.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>
#include "actors/airship.h"
#include "raylib.h"
#include "world/world.h"

namespace {

constexpr uint32_t kSeed = 20261113u;

void QuietLog() {
    // Without a window every upload fails with a warning; keep the output clean.
    SetTraceLogLevel(LOG_ERROR);
}

void BM_StreamOneChunkMove(benchmark::State& state) {
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

void BM_UpdateWithoutBuilds(benchmark::State& state) {
    QuietLog();
    World world(kSeed);
    world.Update(Vector3{0.0f, 0.0f, 0.0f}, 100000, 0.0f);
    for (auto _ : state) {
        world.Update(Vector3{10.0f, 0.0f, 20.0f}, 2, 0.008f);
    }
}
BENCHMARK(BM_UpdateWithoutBuilds)->Unit(benchmark::kMicrosecond);

// The airship at its top speed (22 units per second) on a straight line,
// one World::Update per frame at 120 frames per second with the game's
// streaming budget of 2, starting from a fully built square at render
// distance 8. Every call is timed on the wall clock; the counters are the
// median, the 99th percentile and the slowest call in milliseconds.
void BM_StreamFlyingAirship(benchmark::State& state) {
    QuietLog();
    constexpr float kDt = 1.0f / 120.0f;
    constexpr int kFrames = 2400;
    // North-east, so chunk columns and rows both come into range.
    const float heading = 0.6f;
    const float stepX = std::cos(heading) * kAirshipMaxSpeed * kDt;
    const float stepZ = std::sin(heading) * kAirshipMaxSpeed * kDt;
    std::vector<double> calls;
    for (auto _ : state) {
        state.PauseTiming();
        World world(kSeed);
        world.SetRenderDistance(8);
        Vector3 focus{0.0f, 0.0f, 0.0f};
        world.Update(focus, 100000, 0.0f);
        state.ResumeTiming();
        for (int frame = 0; frame < kFrames; frame++) {
            focus.x += stepX;
            focus.z += stepZ;
            const auto start = std::chrono::steady_clock::now();
            world.Update(focus, 2, kDt);
            const auto end = std::chrono::steady_clock::now();
            calls.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        benchmark::DoNotOptimize(world.chunks.size());
    }
    std::sort(calls.begin(), calls.end());
    const auto at = [&calls](double q) {
        return calls[static_cast<size_t>(q * static_cast<double>(calls.size() - 1))];
    };
    state.counters["median_ms"] = at(0.5);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = calls.back();
    state.counters["over_4ms"] = static_cast<double>(calls.end() - std::upper_bound(calls.begin(), calls.end(), 4.0));
}
BENCHMARK(BM_StreamFlyingAirship)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
