// chunk_objects.cpp: the 11-unit scatter of boulders and trees. Every cell
// near the chunk draws its boulder into the picture (so the margin shows the
// neighbours' rocks), but a tree is listed only by the chunk it stands in.
#include <algorithm>
#include <cmath>
#include "world/chunk_content.h"
#include "world/map_shapes.h"
#include "world/noise.h"

namespace chunkgen {

namespace {

constexpr float kScatterCell = 11.0f;
constexpr uint64_t kTreeTag = 0x5452u;

constexpr Color kMountainRock{142, 146, 152, 255};
constexpr Color kGlacierRock{198, 216, 228, 255};
constexpr Color kSnowRock{196, 204, 214, 255};

enum class Scatter { Nothing, Boulder, Conifer, BareTree };

// What grows or lies in one scatter cell, and the boulder's size when any.
struct ScatterChoice {
    Scatter kind;
    float radius;
    float height;
    Color colour;
};

// floor(v / 11) as an int. Past about 3.7e8 chunks the cell leaves int's
// range, so the float is held at int's ends before the conversion: at -2^31,
// and at 2^31 - 128, the largest float below 2^31. Every cell inside the
// range converts exactly as it always did; a range starting at -2^31 wraps
// on its margin (-fwrapv) and is empty, as it always was for the chunks
// whose first cell is exactly -2^31.
int ScatterCell(float v) {
    constexpr float kLowestCell = -2147483648.0f;
    constexpr float kHighestCell = 2147483520.0f;
    return static_cast<int>(std::clamp(std::floor(v / kScatterCell), kLowestCell, kHighestCell));
}

float Slope(const WorldGen& gen, float x, float z) {
    const float dx = gen.Height(x + 2.0f, z) - gen.Height(x - 2.0f, z);
    const float dz = gen.Height(x, z + 2.0f) - gen.Height(x, z - 2.0f);
    return std::sqrt(dx * dx + dz * dz) * 0.25f;
}

// The decision table: mountains, then glaciers, then all other ground. The
// slope is only computed where a row asks for it.
ScatterChoice Choose(const WorldGen& gen, const WorldSample& s, float x, float z, float o, float jx, float jz) {
    const ScatterChoice snowBoulder{Scatter::Boulder, 0.6f + 0.9f * jx, 0.6f + 0.8f * jz, kSnowRock};
    if (s.mountain > 0.5f) {
        if (o < 0.12f) return {Scatter::Boulder, 1.0f + 1.8f * jx, 1.0f + 2.0f * jz, kMountainRock};
        if (o < 0.16f && Slope(gen, x, z) < 0.6f) return {Scatter::BareTree, 0.0f, 0.0f, {}};
        return {Scatter::Nothing, 0.0f, 0.0f, {}};
    }
    if (s.glacier > 0.5f) {
        if (o < 0.06f) return {Scatter::Boulder, 0.7f + 1.2f * jx, 0.6f + 0.8f * jz, kGlacierRock};
        return {Scatter::Nothing, 0.0f, 0.0f, {}};
    }
    if (o < 0.16f) return Slope(gen, x, z) < 0.9f ? ScatterChoice{Scatter::Conifer, 0.0f, 0.0f, {}} : snowBoulder;
    if (o < 0.26f) return Slope(gen, x, z) < 0.9f ? ScatterChoice{Scatter::BareTree, 0.0f, 0.0f, {}} : snowBoulder;
    if (o < 0.38f) return snowBoulder;
    return {Scatter::Nothing, 0.0f, 0.0f, {}};
}

}  // namespace

uint64_t TreeId(int cellX, int cellZ) {
    return (kTreeTag << 48) | ((static_cast<uint64_t>(static_cast<uint32_t>(cellX)) & 0xFFFFFu) << 20) |
           (static_cast<uint64_t>(static_cast<uint32_t>(cellZ)) & 0xFFFFFu);
}

void ScatterObjects(const MapBuilder& builder, const WorldGen& gen, const std::unordered_set<uint64_t>& removed, int cx,
                    int cz, std::vector<WorldTree>& trees) {
    const uint32_t seed = gen.seed;
    const float x0 = static_cast<float>(cx) * kChunkSize;
    const float z0 = static_cast<float>(cz) * kChunkSize;
    const int firstZ = ScatterCell(z0) - 2;
    const int lastZ = ScatterCell((z0 + kChunkSize) - 0.01f) + 2;
    const int firstX = ScatterCell(x0) - 2;
    const int lastX = ScatterCell((x0 + kChunkSize) - 0.01f) + 2;

    for (int cellZ = firstZ; cellZ <= lastZ; ++cellZ) {
        for (int cellX = firstX; cellX <= lastX; ++cellX) {
            const float jx = NoiseHash01(cellX, cellZ, seed ^ 0x2545f491u);
            const float jz = NoiseHash01(WrapAdd(cellX, 7919), WrapAdd(cellZ, -104729), seed ^ 0x9e3779b9u);
            const float o = NoiseHash01(WrapAdd(cellX, -37), WrapAdd(cellZ, 61), seed ^ 0x85ebca6bu);
            const float hs = NoiseHash01(WrapAdd(cellX, 13), WrapAdd(cellZ, 29), seed ^ 0x27d4eb2fu);

            const float x = ((static_cast<float>(cellX) + 0.2f) + 0.6f * jx) * kScatterCell;
            const float z = ((static_cast<float>(cellZ) + 0.2f) + 0.6f * jz) * kScatterCell;
            // Nothing in this cell can be chosen: skip the terrain sample.
            if (o >= 0.38f) continue;
            const WorldSample s = gen.Sample(x, z);
            if (s.water > 0.12f || s.height < -4.5f) continue;

            const ScatterChoice choice = Choose(gen, s, x, z, o, jx, jz);
            if (choice.kind == Scatter::Boulder) {
                const uint32_t hash = NoiseHash(cellX, cellZ, seed ^ 0x5bd1e995u);
                BuildBoulder(builder, Vector3{x, s.height - 0.15f, z}, choice.radius, choice.height, choice.colour,
                             hash);
            } else if (choice.kind == Scatter::Conifer || choice.kind == Scatter::BareTree) {
                const bool inside = x0 <= x && x < x0 + kChunkSize && z0 <= z && z < z0 + kChunkSize;
                const uint64_t id = TreeId(cellX, cellZ);
                if (inside && removed.count(id) == 0) {
                    trees.push_back(
                        WorldTree{id, Vector3{x, s.height, z}, 0.7f + 0.5f * hs, choice.kind == Scatter::Conifer});
                }
            }
        }
    }
}

}  // namespace chunkgen
