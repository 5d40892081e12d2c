// chunk_terrain.cpp: the chunk's sample grid, its shaded terrain quads with
// their biome colours, and the ice laid over deep water.
#include <cmath>
#include "world/chunk_content.h"
#include "world/clamps.h"
#include "world/map_shapes.h"
#include "world/noise.h"
#include "world/terrain_lanes.h"

namespace chunkgen {

namespace {

constexpr Color kGlacierGround{186, 210, 226, 255};
constexpr Color kPlainGround{232, 238, 244, 255};
constexpr Color kHillsGround{224, 233, 242, 255};
constexpr Color kMountainGround{128, 134, 144, 255};
constexpr Color kSnowCover{244, 248, 252, 255};
constexpr Color kBareRock{108, 112, 120, 255};
constexpr uint32_t kJitterSalt = 0x9e3779b9u;

// Grid points of the quads: k and m from -6 to 38 relative to the chunk.
constexpr int kFirstPoint = -6;
constexpr int kLastPoint = 38;
constexpr int kPoints = kLastPoint - kFirstPoint + 1;

const WorldSample& At(const std::vector<WorldSample>& grid, int k, int m) {
    return grid[static_cast<size_t>((m + kGridOffset) * kGridSide + (k + kGridOffset))];
}

float Origin(int c) {
    return static_cast<float>(c) * kChunkSize;
}

Vector3 PointNormal(const std::vector<WorldSample>& grid, int k, int m) {
    const float nx = At(grid, k - 1, m).height - At(grid, k + 1, m).height;
    const float ny = 4.0f;
    const float nz = At(grid, k, m - 1).height - At(grid, k, m + 1).height;
    const float length = std::sqrt((nx * nx + ny * ny) + nz * nz);
    const float inv = 1.0f / length;
    return Vector3{nx * inv, ny * inv, nz * inv};
}

float BlendChannel(const WorldSample& s, float sum, unsigned char g, unsigned char p, unsigned char h,
                   unsigned char m) {
    return ((s.glacier / sum * static_cast<float>(g) + s.plain / sum * static_cast<float>(p)) +
            s.hills / sum * static_cast<float>(h)) +
           s.mountain / sum * static_cast<float>(m);
}

// Biome palette, jittered per global grid point so neighbouring chunks agree,
// then snow on mountain tops and bare rock on steep ground.
Color PointColour(const WorldSample& s, float ny, int gx, int gz, uint32_t seed) {
    const float t = Clamp01((1.0f - Clamp01(ny) - 0.2f) / (0.6f - 0.2f));
    const float rock = 0.8f * (t * t) * (3.0f - 2.0f * t);

    float sum = ((s.glacier + s.plain) + s.hills) + s.mountain;
    if (sum < 0.0001f) sum = 1.0f;
    const unsigned char r = ClampToByte(
        BlendChannel(s, sum, kGlacierGround.r, kPlainGround.r, kHillsGround.r, kMountainGround.r));
    const unsigned char g = ClampToByte(
        BlendChannel(s, sum, kGlacierGround.g, kPlainGround.g, kHillsGround.g, kMountainGround.g));
    const unsigned char b = ClampToByte(
        BlendChannel(s, sum, kGlacierGround.b, kPlainGround.b, kHillsGround.b, kMountainGround.b));

    const float j = 9.0f * (NoiseHash01(gx, gz, seed ^ kJitterSalt) - 0.5f);
    const Color jittered{ClampToByte(static_cast<float>(r) + j), ClampToByte(static_cast<float>(g) + j),
                         ClampToByte(static_cast<float>(b) + 0.8f * j), 255};

    Color c = Mix(jittered, kSnowCover, (1.0f - rock) * s.mountain * 0.85f);
    c = Mix(c, kBareRock, rock);
    c.a = 255;
    return c;
}

}  // namespace

void SampleChunkGrid(const WorldGen& gen, int cx, int cz, std::vector<WorldSample>& grid) {
    const float x0 = Origin(cx);
    const float z0 = Origin(cz);
    constexpr size_t kCount = static_cast<size_t>(kGridSide * kGridSide);
    // The whole grid goes to the bulk sampler at once, so only one point is
    // left over after its whole vectors.
    float xs[kCount];
    float zs[kCount];
    for (int j = 0; j < kGridSide; ++j) {
        const float z = z0 + kGridStep * static_cast<float>(j - kGridOffset);
        for (int i = 0; i < kGridSide; ++i) {
            const float x = x0 + kGridStep * static_cast<float>(i - kGridOffset);
            xs[j * kGridSide + i] = x;
            zs[j * kGridSide + i] = z;
        }
    }
    grid.resize(kCount);
    SampleTerrain(gen, xs, zs, kCount, grid.data());
}

void AddTerrain(const MapBuilder& builder, const std::vector<WorldSample>& grid, int cx, int cz, uint32_t seed,
                TerrainPoints& points) {
    const float x0 = Origin(cx);
    const float z0 = Origin(cz);
    // Each point's position and lit colour is computed once and shared by the
    // four quads that meet there: lighting a corner depends on nothing but
    // its colour and normal, so every quad gets the very colour it would
    // have lit itself.
    points.positions.resize(static_cast<size_t>(kPoints * kPoints));
    points.colours.resize(points.positions.size());
    Vector3* positions = points.positions.data();
    Color* colours = points.colours.data();
    for (int m = kFirstPoint; m <= kLastPoint; ++m) {
        const float z = z0 + 2.0f * static_cast<float>(m);
        const int gz = WrapMulAdd(cz, 32, m);
        for (int k = kFirstPoint; k <= kLastPoint; ++k) {
            const size_t index = static_cast<size_t>((m - kFirstPoint) * kPoints + (k - kFirstPoint));
            const WorldSample& s = At(grid, k, m);
            positions[index] = Vector3{x0 + 2.0f * static_cast<float>(k), s.height, z};
            const Vector3 normal = PointNormal(grid, k, m);
            colours[index] = ShadeForMap(PointColour(s, normal.y, WrapMulAdd(cx, 32, k), gz, seed), normal);
        }
    }
    for (int m = kFirstPoint; m < kLastPoint; ++m) {
        for (int k = kFirstPoint; k < kLastPoint; ++k) {
            const size_t p0 = static_cast<size_t>((m - kFirstPoint) * kPoints + (k - kFirstPoint));
            const size_t p1 = p0 + kPoints;
            const size_t p2 = p1 + 1;
            const size_t p3 = p0 + 1;
            // The two triangles of a smooth quad, (0, 1, 2) and (0, 2, 3).
            const Vector3 corners[4] = {positions[p0], positions[p1], positions[p2], positions[p3]};
            const Color lit[4] = {colours[p0], colours[p1], colours[p2], colours[p3]};
            builder.PushQuad(corners, lit);
        }
    }
}

void AddIce(const MapBuilder& builder, const std::vector<WorldSample>& grid, int cx, int cz) {
    const float x0 = Origin(cx);
    const float z0 = Origin(cz);
    const Vector3 up{0.0f, 1.0f, 0.0f};
    const Vector3 normals[4] = {up, up, up, up};
    for (int m = kFirstPoint; m < kLastPoint; ++m) {
        for (int k = kFirstPoint; k < kLastPoint; ++k) {
            const WorldSample* corners[4] = {&At(grid, k, m), &At(grid, k, m + 1), &At(grid, k + 1, m + 1),
                                             &At(grid, k + 1, m)};
            bool wet = true;
            float lowest = corners[0]->height;
            for (const WorldSample* s : corners) {
                wet = wet && s->water >= 0.04f;
                lowest = std::fmin(lowest, s->height);
            }
            if (!wet || lowest > -4.85f) continue;

            const int ks[4] = {k, k, k + 1, k + 1};
            const int ms[4] = {m, m + 1, m + 1, m};
            Vector3 quad[4];
            Color colours[4];
            for (int i = 0; i < 4; ++i) {
                quad[i] = Vector3{x0 + 2.0f * static_cast<float>(ks[i]), -5.0f, z0 + 2.0f * static_cast<float>(ms[i])};
                const float depth = Clamp01((-5.0f - corners[i]->height) * 0.5f);
                colours[i] = Color{198, 220, 232, static_cast<unsigned char>(110.0f + 122.0f * depth)};
            }
            builder.AddSmoothQuad(quad, normals, colours);
        }
    }
}

}  // namespace chunkgen
