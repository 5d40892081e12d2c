// baker_bench.cpp: the top-down rasteriser alone on a chunk-sized bake: a
// jittered terrain mesh of 46 x 46 quads into 264 x 264 pixels with varying
// corner colours, then a translucent layer blended over part of it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>
#include "raylib.h"
#include "world/top_down_baker.h"

namespace {

constexpr int kCells = 46;
constexpr float kChunkSize = 66.0f;
constexpr int kResolution = 264;

struct Mesh {
    std::vector<Vector3> corners;
    std::vector<Color> colours;
};

Mesh MakeMesh() {
    Mesh mesh;
    const float step = kChunkSize / static_cast<float>(kCells);
    for (int j = 0; j <= kCells; j++) {
        for (int i = 0; i <= kCells; i++) {
            const float fi = static_cast<float>(i), fj = static_cast<float>(j);
            const bool border = i == 0 || j == 0 || i == kCells || j == kCells;
            const float jx = border ? 0.0f : 0.3f * step * std::sin(fi * 1.7f + fj * 0.3f);
            const float jz = border ? 0.0f : 0.3f * step * std::cos(fi * 0.5f - fj * 1.1f);
            mesh.corners.push_back(
                Vector3{fi * step + jx, 40.0f * std::sin(fi * 0.2f) * std::cos(fj * 0.15f), fj * step + jz});
            const auto shade = static_cast<unsigned char>(150 + (i * 7 + j * 13) % 90);
            mesh.colours.push_back(Color{shade, shade, static_cast<unsigned char>(shade + 10), 255});
        }
    }
    return mesh;
}

void BM_BakeChunkMesh(benchmark::State& state) {
    const Mesh mesh = MakeMesh();
    const auto at = [](int i, int j) { return static_cast<size_t>(j * (kCells + 1) + i); };
    const Color ice{200, 220, 240, 150};
    TopDownBaker baker;
    for (auto _ : state) {
        baker.Begin(Vector2{0.0f, 0.0f}, kChunkSize, kResolution);
        for (int j = 0; j < kCells; j++) {
            for (int i = 0; i < kCells; i++) {
                const size_t q[4] = {at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)};
                baker.Triangle(mesh.corners[q[0]], mesh.corners[q[1]], mesh.corners[q[2]], mesh.colours[q[0]],
                               mesh.colours[q[1]], mesh.colours[q[2]]);
                baker.Triangle(mesh.corners[q[0]], mesh.corners[q[2]], mesh.corners[q[3]], mesh.colours[q[0]],
                               mesh.colours[q[2]], mesh.colours[q[3]]);
            }
        }
        baker.blend = true;
        for (int j = 10; j < 30; j++) {
            for (int i = 10; i < 30; i++) {
                const size_t q[4] = {at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)};
                baker.Triangle(mesh.corners[q[0]], mesh.corners[q[1]], mesh.corners[q[2]], ice, ice, ice);
                baker.Triangle(mesh.corners[q[0]], mesh.corners[q[2]], mesh.corners[q[3]], ice, ice, ice);
            }
        }
        benchmark::DoNotOptimize(baker.pixels.data());
    }
}

}  // namespace

BENCHMARK(BM_BakeChunkMesh)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
