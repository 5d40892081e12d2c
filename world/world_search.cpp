// world_search.cpp: searches over the seeded world rather than the loaded
// chunks: settlements near a point, the spawn point and view direction, and
// the debug starts' search for a biome or settlement by name.
#include "world/world.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include "world/cell_index.h"
#include "world/full_turn.h"
#include "world/rounded_trig.h"
#include "world/settlement_sites.h"
#include "world/terrain_lanes.h"
#include "world/world_queries.h"

namespace {

// Settlement words of FindBiome and the types they ask for.
struct SettlementWord {
    const char* word;
    int type;
};
constexpr SettlementWord kSettlementWords[] = {{"village", 0}, {"town", 1}, {"city", 2}};

// Biome prefixes of FindBiome, tested in this order.
struct BiomePrefix {
    const char* prefix;
    Biome biome;
};
constexpr BiomePrefix kBiomePrefixes[] = {{"glacier_", Biome::Glacier},
                                          {"plain_", Biome::SnowPlain},
                                          {"hills_", Biome::SnowHills},
                                          {"mountain_", Biome::Mountains}};

// Settlement cells searched each way by FindBiome, whatever the radius.
constexpr int kMinSettlementCells = 18;

float BiomeWeight(const WorldSample& s, Biome biome) {
    switch (biome) {
        case Biome::Glacier: return s.glacier;
        case Biome::SnowPlain: return s.plain;
        case Biome::SnowHills: return s.hills;
        case Biome::Mountains: return s.mountain;
    }
    return 0.0f;
}

int SettlementTypeOf(const char* word) {
    for (const SettlementWord& w : kSettlementWords) {
        if (std::strcmp(word, w.word) == 0) return w.type;
    }
    return -1;
}

// Which field of a sample scores a biome search; none for unknown names.
enum class BiomeScore { None, Glacier, Plain, Hills, Mountain, Water };

BiomeScore BiomeScoreOf(const char* name) {
    if (std::strcmp(name, "glacier") == 0) return BiomeScore::Glacier;
    if (std::strcmp(name, "plain") == 0) return BiomeScore::Plain;
    if (std::strcmp(name, "hills") == 0) return BiomeScore::Hills;
    if (std::strcmp(name, "mountain") == 0 || std::strcmp(name, "mountains") == 0) {
        return BiomeScore::Mountain;
    }
    if (std::strcmp(name, "water") == 0) return BiomeScore::Water;
    return BiomeScore::None;
}

float Score(const WorldSample& s, BiomeScore score) {
    switch (score) {
        case BiomeScore::Glacier: return s.glacier;
        case BiomeScore::Plain: return s.plain;
        case BiomeScore::Hills: return s.hills;
        case BiomeScore::Mountain: return s.mountain;
        case BiomeScore::Water: return s.water;
        case BiomeScore::None: break;
    }
    return 0.0f;
}

// The settlement cell of a finite coordinate, held well inside int range so
// that the cell loops around it cannot overflow.
int SafeCellOf(float v) {
    return CellIndexWithin(v, kSettlementCellSize, kQueryCellLimit);
}

bool IsFinite(Vector3 p) {
    return std::isfinite(p.x) && std::isfinite(p.z);
}

SettlementInfo InfoOf(const WorldGen& gen, int sx, int sz, const SettlementSite& site) {
    const float x = site.center.x;
    const float z = site.center.z;
    return SettlementInfo{SettlementKey(sx, sz), Vector3{x, gen.Height(x, z), z}, site.type, site.radius};
}

}  // namespace

bool World::NearestSettlement(Vector3 position, float radius, SettlementInfo& out) const {
    // Nothing lies within no distance; a negative radius would otherwise square
    // into a positive search range. A point that is not finite has no cell.
    if (!(radius > 0.0f) || !IsFinite(position)) return false;
    // At most 8 cells each way, decided before any conversion so that a huge
    // or infinite radius never reaches the integer cast.
    const float cells = std::ceil(radius / kSettlementCellSize);
    const int k = cells < 7.0f ? static_cast<int>(cells) + 1 : 8;
    const int hx = SafeCellOf(position.x);
    const int hz = SafeCellOf(position.z);

    float best = radius * radius;
    bool found = false;
    int foundX = 0;
    int foundZ = 0;
    SettlementSite foundSite{};
    for (int sz = hz - k; sz <= hz + k; ++sz) {
        for (int sx = hx - k; sx <= hx + k; ++sx) {
            if (!IsSettlementCandidate(gen.seed, sx, sz)) continue;
            const SettlementSite site = SettlementAtCell(gen.seed, sx, sz, &gen);
            if (!site.valid) continue;
            const float dx = site.center.x - position.x;
            const float dz = site.center.z - position.z;
            const float d2 = dx * dx + dz * dz;
            if (d2 < best) {
                best = d2;
                found = true;
                foundX = sx;
                foundZ = sz;
                foundSite = site;
            }
        }
    }
    if (found) out = InfoOf(gen, foundX, foundZ, foundSite);
    return found;
}

void World::CollectSettlements(Vector3 position, float radius, std::vector<SettlementInfo>& out) const {
    out.clear();
    // An endless radius or a point that is not finite has no cells to walk.
    if (!(radius > 0.0f) || !std::isfinite(radius) || !IsFinite(position)) return;
    const float r2 = radius * radius;
    const int z0 = SafeCellOf(position.z - radius);
    const int z1 = SafeCellOf(position.z + radius);
    const int x0 = SafeCellOf(position.x - radius);
    const int x1 = SafeCellOf(position.x + radius);
    for (int sz = z0; sz <= z1; ++sz) {
        for (int sx = x0; sx <= x1; ++sx) {
            if (!IsSettlementCandidate(gen.seed, sx, sz)) continue;
            const SettlementSite site = SettlementAtCell(gen.seed, sx, sz, &gen);
            if (!site.valid) continue;
            const float dx = site.center.x - position.x;
            const float dz = site.center.z - position.z;
            if (dx * dx + dz * dz <= r2) out.push_back(InfoOf(gen, sx, sz, site));
        }
    }
}

Vector3 World::SpawnPoint() const {
    // The origin, then the 13 x 13 candidates row by row, sampled in one
    // bulk call and compared in that order.
    constexpr int kCount = 1 + 13 * 13;
    float xs[kCount] = {0.0f};
    float zs[kCount] = {0.0f};
    int n = 1;
    for (int z = -120; z <= 120; z += 20) {
        for (int x = -120; x <= 120; x += 20) {
            xs[n] = static_cast<float>(x);
            zs[n] = static_cast<float>(z);
            ++n;
        }
    }
    float heights[kCount];
    SampleTerrainHeights(gen, xs, zs, kCount, heights);

    float bestX = 0.0f;
    float bestZ = 0.0f;
    float bestHeight = heights[0];
    for (int i = 1; i < kCount; ++i) {
        if (heights[i] > bestHeight) {
            bestHeight = heights[i];
            bestX = xs[i];
            bestZ = zs[i];
        }
    }
    return Vector3{bestX, bestHeight + 1.8f, bestZ};
}

float World::SpawnYaw() const {
    constexpr int kYaws = 32;
    constexpr int kDistanceCount = 3;
    constexpr float kDistances[kDistanceCount] = {110.0f, 180.0f, 260.0f};
    const Vector3 p = SpawnPoint();
    // Every direction's points first, in one bulk call; then the scores.
    float xs[kYaws * kDistanceCount];
    float zs[kYaws * kDistanceCount];
    for (int i = 0; i < kYaws; ++i) {
        const float yaw = static_cast<float>(i) * kFullTurn * 0.03125f;
        const float s = SinF(yaw);
        const float c = CosF(yaw);
        for (int k = 0; k < kDistanceCount; ++k) {
            xs[i * kDistanceCount + k] = p.x + kDistances[k] * s;
            zs[i * kDistanceCount + k] = p.z - kDistances[k] * c;
        }
    }
    float heights[kYaws * kDistanceCount];
    SampleTerrainHeights(gen, xs, zs, kYaws * kDistanceCount, heights);

    float bestScore = -1e9f;
    float bestYaw = 0.0f;
    for (int i = 0; i < kYaws; ++i) {
        const float yaw = static_cast<float>(i) * kFullTurn * 0.03125f;
        float score = 0.0f;
        for (int k = 0; k < kDistanceCount; ++k) {
            score += (1.0f - kDistances[k] / 400.0f) * heights[i * kDistanceCount + k];
        }
        if (score > bestScore) {
            bestScore = score;
            bestYaw = yaw;
        }
    }
    return bestYaw;
}

bool World::FindBiome(const char* name, float radius, Vector3& out) const {
    // A radius that is not finite finds nothing: it has no cell count and no
    // end to its grid walk.
    if (name == nullptr || !std::isfinite(radius)) return false;

    const char* word = name;
    bool needBiome = false;
    Biome biome = Biome::SnowPlain;
    for (const BiomePrefix& p : kBiomePrefixes) {
        const size_t n = std::strlen(p.prefix);
        if (std::strncmp(name, p.prefix, n) == 0) {
            word = name + n;
            needBiome = true;
            biome = p.biome;
            break;
        }
    }

    const int wantedType = SettlementTypeOf(word);
    if (wantedType >= 0) {
        int n = kMinSettlementCells;
        if (radius / kSettlementCellSize > static_cast<float>(n)) {
            n = static_cast<int>(std::min(radius / kSettlementCellSize, 100000.0f));
        }
        bool found = false;
        float best = 1e18f;
        for (int cz = -n; cz <= n; ++cz) {
            for (int cx = -n; cx <= n; ++cx) {
                if (!IsSettlementCandidate(gen.seed, cx, cz)) continue;
                const SettlementSite site = SettlementAtCell(gen.seed, cx, cz, &gen);
                if (!site.valid || site.type != wantedType) continue;
                const float x = site.center.x;
                const float z = site.center.z;
                if (needBiome && !(BiomeWeight(gen.Sample(x, z), biome) > 0.5f)) continue;
                const float d2 = x * x + z * z;
                if (d2 < best) {
                    best = d2;
                    found = true;
                    out = Vector3{x, gen.Height(x, z) + 35.0f, z - 2.2f * site.radius - 20.0f};
                }
            }
        }
        return found;
    }

    if (radius < 0.0f) return false;
    // The biome search scores by the whole name; a name that scores nothing
    // cannot beat the starting score, so its grid is not sampled at all.
    const BiomeScore score = BiomeScoreOf(name);
    if (score == BiomeScore::None) return false;
    const bool anyWater = score == BiomeScore::Water;
    bool found = false;
    float best = 0.05f;
    // The grid points are gathered in walk order and sampled a batch at a
    // time by the bulk sampler, then scored in that same order.
    constexpr int kBatch = 256;
    float xs[kBatch] = {};
    float zs[kBatch] = {};
    WorldSample samples[kBatch];
    int pending = 0;
    auto scoreBatch = [&]() {
        SampleTerrain(gen, xs, zs, static_cast<size_t>(pending), samples);
        for (int k = 0; k < pending; ++k) {
            const WorldSample& s = samples[k];
            if (!anyWater && s.water > 0.25f) continue;
            const float value = Score(s, score);
            if (value > best) {
                best = value;
                found = true;
                out = Vector3{xs[k], s.height + 8.0f, zs[k]};
            }
        }
        pending = 0;
    };
    // One grid point a chunk's side apart.
    for (int j = 0;; ++j) {
        const float z = -radius + kChunkSize * static_cast<float>(j);
        if (z > radius) break;
        for (int i = 0;; ++i) {
            const float x = -radius + kChunkSize * static_cast<float>(i);
            if (x > radius) break;
            xs[pending] = x;
            zs[pending] = z;
            if (++pending == kBatch) scoreBatch();
        }
    }
    scoreBatch();
    return found;
}

bool World::FirstItem(Vector3& out) const {
    for (const auto& [key, chunk] : chunks) {
        if (chunk.items.empty()) continue;
        out = chunk.items.front().position;
        return true;
    }
    return false;
}

bool World::FirstCabinet(Vector3& out) const {
    for (const auto& [key, chunk] : chunks) {
        if (chunk.cabinets.empty()) continue;
        out = chunk.cabinets.front().position;
        return true;
    }
    return false;
}
