// query_bench.cpp: the per-frame object searches, World::NearestInteraction
// and World::NearestTree, over a world loaded at render distance 12 around a
// settlement, next to a plain walk of every loaded chunk for comparison.
// Runs without a window, so chunk pictures are baked but not uploaded.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>
#include "raylib.h"
#include "world/world.h"
#include "world/world_queries.h"

namespace {

constexpr uint32_t kSeed = 20261113u;

// A world streamed in around the settlement nearest the origin, then one
// chunk over, so that about 700 chunks are loaded as during play.
struct LoadedWorld {
    World world{kSeed};
    std::vector<Vector3> eyes;

    LoadedWorld() {
        SetTraceLogLevel(LOG_ERROR);
        SettlementInfo home{};
        Vector3 focus{0.0f, 0.0f, 0.0f};
        if (world.NearestSettlement(focus, 6000.0f, home)) focus = home.position;
        world.SetRenderDistance(12);
        world.Update(focus, 100000, 0.0f);
        world.Update(Vector3{focus.x + 64.0f, 0.0f, focus.z + 64.0f}, 100000, 0.0f);
        // Eye points on a spiral out from the settlement centre.
        for (int i = 0; i < 256; ++i) {
            const float a = static_cast<float>(i) * 0.61f;
            const float r = static_cast<float>(i) * 0.9f;
            const float x = focus.x + std::cos(a) * r;
            const float z = focus.z + std::sin(a) * r;
            eyes.push_back(Vector3{x, world.gen.Height(x, z) + 1.7f, z});
        }
    }
};

LoadedWorld& Loaded() {
    static LoadedWorld loaded;
    return loaded;
}

void Report(benchmark::State& state, const World& world, int found) {
    state.counters["chunks"] = static_cast<double>(world.chunks.size());
    state.counters["found"] = static_cast<double>(found);
}

void BM_NearestInteraction(benchmark::State& state) {
    LoadedWorld& loaded = Loaded();
    size_t i = 0;
    int found = 0;
    for (auto _ : state) {
        // Not const: DoNotOptimize of a const object is deprecated.
        Interaction hit = loaded.world.NearestInteraction(loaded.eyes[i++ % loaded.eyes.size()]);
        found += hit.kind != 0;
        benchmark::DoNotOptimize(hit);
    }
    Report(state, loaded.world, found);
}
BENCHMARK(BM_NearestInteraction)->Unit(benchmark::kMicrosecond);

// Radius 3.4 and 3.6 are the axe's and the HUD prompt's; 3000 is the debug
// jump to the nearest tree, which walks every loaded chunk.
void BM_NearestTree(benchmark::State& state) {
    LoadedWorld& loaded = Loaded();
    const float radius = static_cast<float>(state.range(0)) * 0.1f;
    size_t i = 0;
    int found = 0;
    WorldTree tree{};
    for (auto _ : state) {
        found += loaded.world.NearestTree(loaded.eyes[i++ % loaded.eyes.size()], radius, tree);
        benchmark::DoNotOptimize(tree);
    }
    Report(state, loaded.world, found);
}
BENCHMARK(BM_NearestTree)->Arg(34)->Arg(36)->Arg(30000)->Unit(benchmark::kMicrosecond);

}  // namespace
