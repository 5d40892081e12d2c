// chunk_settlements.cpp: the settlements that reach a chunk: ruins on their
// plots (listed by the chunk holding the plot, drawn by every chunk whose
// picture margin shows it) and the caches of spare parts, fuel and supplies
// around a settlement's centre.
#include <cmath>
#include <cstdlib>
#include "world/chunk_content.h"
#include "world/full_turn.h"
#include "world/map_shapes.h"
#include "world/noise.h"
#include "world/ruins.h"
#include "world/settlement_sites.h"

namespace chunkgen {

namespace {

constexpr float kSettleReach = 140.0f;
// The picture spans [x0 - 12, x0 + 76) and likewise in z.
constexpr float kPictureEnd = kChunkSize + kMapMargin;

// The three cache groups around a settlement centre.
struct CacheGroup {
    uint64_t tag;
    int angleDx, angleDz;
    uint32_t angleSalt;
    // The distance roll of cache n reads cell (sx + distSignX n, sz + distSignZ n).
    int distSignX, distSignZ;
    uint32_t distSalt;
    float k0, k1;
};

constexpr CacheGroup kCacheGroups[3] = {
    {0x5041u, 0, 0, 0x5041u, 1, -1, 0x5042u, 0.16f, 0.14f},
    {0x5042u, 3, 3, 0x5043u, -1, 1, 0x5044u, 0.22f, 0.16f},
    {0x5043u, -7, 7, 0x5045u, 1, 1, 0x5046u, 0.30f, 0.18f},
};

ItemType CacheItem(int group, int n) {
    if (group == 0) return ItemType::SparePart;
    if (group == 1) return n % 3 == 2 ? ItemType::FuelCan : ItemType::Coal;
    if (n % 3 == 0) return ItemType::Firewood;
    return n % 3 == 1 ? ItemType::CannedFood : ItemType::Water;
}

// The chunk's square and the larger square its picture covers.
struct ChunkArea {
    float x0, z0;
    bool Inside(float x, float z) const { return x0 <= x && x < x0 + kChunkSize && z0 <= z && z < z0 + kChunkSize; }
    bool InPicture(float x, float z) const {
        return x0 - kMapMargin <= x && x < x0 + kPictureEnd && z0 - kMapMargin <= z && z < z0 + kPictureEnd;
    }
};

bool FitForRuin(const WorldGen& gen, const WorldSample& s, float x, float z) {
    if (s.water > 0.15f || s.height < -4.2f) return false;
    const float dx = gen.Height(x + 1.5f, z) - gen.Height(x - 1.5f, z);
    const float dz = gen.Height(x, z + 1.5f) - gen.Height(x, z - 1.5f);
    return !(std::sqrt(dx * dx + dz * dz) / 3.0f > 0.85f);
}

struct Placement {
    const MapBuilder& builder;
    const WorldGen& gen;
    const std::unordered_set<uint64_t>& removed;
    ChunkArea area;
    std::vector<WorldItem>& items;
    std::vector<WorldCabinet>& cabinets;
    std::vector<CollisionBox>& walls;
};

// Whether the plot's roll gives it a ruin (its placement tries may still all fail).
bool PlotHoldsRuin(uint32_t seed, const SettlementSite& site, int sx, int sz, int r, int c) {
    const float chance = NoiseHash01(WrapMulAdd(31, sx, c), WrapMulAdd(17, sz, r), seed ^ 0x7f4a7c15u);
    return !(chance > site.plotChance);
}

// Where placement try t of plot (r, c) would put its ruin.
Vector2 PlotTry(uint32_t seed, const SettlementSite& site, int sx, int sz, int r, int c, int t) {
    const float half = static_cast<float>(site.plots - 1) * 0.5f;
    const float spacing = site.spacing;
    const uint32_t usx = static_cast<uint32_t>(sx);
    const uint32_t usz = static_cast<uint32_t>(sz);
    const uint32_t uc = static_cast<uint32_t>(c);
    const uint32_t ur = static_cast<uint32_t>(r);
    const uint32_t ut = static_cast<uint32_t>(t);
    const float ax = NoiseHash01(static_cast<int>(usx + 7u * uc + 131u * ut),
                                 static_cast<int>(usz - 5u * ur - 57u * ut), seed ^ 0x1111u);
    const float az = NoiseHash01(static_cast<int>(usx - 3u * uc - 89u * ut),
                                 static_cast<int>(usz + 11u * ur + 37u * ut), seed ^ 0x2222u);
    return Vector2{((static_cast<float>(c) - half) * spacing + site.center.x) + (ax - 0.5f) * spacing * 0.6f,
                   ((static_cast<float>(r) - half) * spacing + site.center.z) + (az - 0.5f) * spacing * 0.6f};
}

// Whether any try of any plot lands in the chunk's picture. When none does,
// no outcome of the site's terrain test or of its plots can show here. The
// positions are the very ones PlacePlot computes, so the test is exact.
bool AnyTryInPicture(uint32_t seed, const SettlementSite& site, int sx, int sz, const ChunkArea& area) {
    for (int r = 0; r < site.plots; ++r) {
        for (int c = 0; c < site.plots; ++c) {
            if (!PlotHoldsRuin(seed, site, sx, sz, r, c)) continue;
            for (int t = 0; t < 4; ++t) {
                const Vector2 p = PlotTry(seed, site, sx, sz, r, c, t);
                if (area.InPicture(p.x, p.y)) return true;
            }
        }
    }
    return false;
}

void PlacePlot(const Placement& place, const SettlementSite& site, int sx, int sz, int r, int c) {
    const uint32_t seed = place.gen.seed;
    float xs[4];
    float zs[4];
    int lastShown = -1;
    for (int t = 0; t < 4; ++t) {
        const Vector2 p = PlotTry(seed, site, sx, sz, r, c, t);
        xs[t] = p.x;
        zs[t] = p.y;
        if (place.area.InPicture(xs[t], zs[t])) lastShown = t;
    }
    // Tries after the last one that could show here decide nothing for this
    // chunk, so their terrain need not be sampled.
    for (int t = 0; t <= lastShown; ++t) {
        const float x = xs[t];
        const float z = zs[t];
        const WorldSample s = place.gen.Sample(x, z);
        if (!FitForRuin(place.gen, s, x, z)) continue;
        if (!place.area.InPicture(x, z)) return;

        const uint32_t rh = NoiseHash(WrapMulAdd(977, sx, c), WrapMulAdd(617, sz, r), seed ^ 0x9e3779b9u);
        const int h = HashCoord(rh);
        const float a = NoiseHash01(h, 1, 81u);
        const float b = NoiseHash01(h, 2, 82u);
        const float d = NoiseHash01(h, 3, 83u);
        const float e = NoiseHash01(h, 4, 84u);
        const cfg::SettlementKind& kind = cfg::settlementKinds[site.type];
        const float width = kind.widthBase + kind.widthRange * a;
        const float depth = kind.widthBase + kind.widthRange * b;
        const float height = kind.heightBase + kind.heightRange * d;
        const bool collapsed = e < kind.collapseChance;
        if (place.area.Inside(x, z)) {
            BuildRuin(place.builder, Vector2{x, z}, s.height, width, depth, height, collapsed, s.snow, rh, place.items,
                      place.cabinets, place.removed, place.walls);
        } else {
            // The neighbouring chunk owns this ruin's objects.
            std::vector<WorldItem> items;
            std::vector<WorldCabinet> cabinets;
            std::vector<CollisionBox> walls;
            BuildRuin(place.builder, Vector2{x, z}, s.height, width, depth, height, collapsed, s.snow, rh, items,
                      cabinets, place.removed, walls);
        }
        return;
    }
}

void PlaceCaches(const Placement& place, const SettlementSite& site, int sx, int sz) {
    const uint32_t seed = place.gen.seed;
    const cfg::SettlementKind& kind = cfg::settlementKinds[site.type];
    const float cx = site.center.x;
    const float cz = site.center.z;
    if (std::getenv("KIRN_HEARTH") != nullptr || std::getenv("KIRN_NEAR") != nullptr) {
        TraceLog(LOG_INFO, "PARTS: %d cache(s) near %.1f,%.1f (type %d)", kind.cacheCounts[0], static_cast<double>(cx),
                 static_cast<double>(cz), site.type);
    }
    for (int g = 0; g < 3; ++g) {
        const CacheGroup& group = kCacheGroups[g];
        const int count = kind.cacheCounts[g];
        const float hA = NoiseHash01(WrapAdd(sx, group.angleDx), WrapAdd(sz, group.angleDz), seed ^ group.angleSalt);
        for (int n = 0; n < count; ++n) {
            const uint64_t id = CacheId(g + 1, sx, sz, n);
            if (place.removed.count(id) != 0) continue;
            const float hD = NoiseHash01(WrapMulAdd(group.distSignX, n, sx), WrapMulAdd(group.distSignZ, n, sz),
                                         seed ^ group.distSalt);
            const float angle = 6.0f * hA + static_cast<float>(n) * kFullTurn / static_cast<float>(count);
            const float dist = (group.k0 + group.k1 * hD) * site.spacing;
            const float x = cx + CosF(angle) * dist;
            const float z = cz + SinF(angle) * dist;
            place.items.push_back(WorldItem{id, Vector3{x, place.gen.Height(x, z) + 0.25f, z}, CacheItem(g, n)});
        }
    }
}

}  // namespace

uint64_t CacheId(int group, int sx, int sz, int n) {
    const uint64_t tag = kCacheGroups[group - 1].tag;
    return (tag << 48) | ((static_cast<uint64_t>(static_cast<uint32_t>(sx)) & 0xFFFFu) << 32) |
           ((static_cast<uint64_t>(static_cast<uint32_t>(sz)) & 0xFFFFu) << 16) | static_cast<uint64_t>(n);
}

void PlaceSettlements(const MapBuilder& builder, const WorldGen& gen, const std::unordered_set<uint64_t>& removed,
                      int cx, int cz, std::vector<WorldItem>& items, std::vector<WorldCabinet>& cabinets,
                      std::vector<CollisionBox>& walls) {
    const uint32_t seed = gen.seed;
    const ChunkArea area{static_cast<float>(cx) * kChunkSize, static_cast<float>(cz) * kChunkSize};
    const Placement place{builder, gen, removed, area, items, cabinets, walls};
    const int firstZ = SettlementCellOf(area.z0 - kSettleReach);
    const int lastZ = SettlementCellOf((area.z0 + kChunkSize) + kSettleReach);
    const int firstX = SettlementCellOf(area.x0 - kSettleReach);
    const int lastX = SettlementCellOf((area.x0 + kChunkSize) + kSettleReach);

    for (int sz = firstZ; sz <= lastZ; ++sz) {
        for (int sx = firstX; sx <= lastX; ++sx) {
            if (!IsSettlementCandidate(seed, sx, sz)) continue;
            // A site that can neither show a plot nor hold its centre here
            // adds nothing, so its terrain test is skipped.
            const SettlementSite layout = SettlementLayout(seed, sx, sz);
            const bool centreHere = area.Inside(layout.center.x, layout.center.z);
            if (!centreHere && !AnyTryInPicture(seed, layout, sx, sz, area)) continue;
            const SettlementSite site = SettlementAtCell(seed, sx, sz, &gen);
            if (!site.valid) continue;

            for (int r = 0; r < site.plots; ++r) {
                for (int c = 0; c < site.plots; ++c) {
                    if (!PlotHoldsRuin(seed, site, sx, sz, r, c)) continue;
                    PlacePlot(place, site, sx, sz, r, c);
                }
            }
            if (centreHere) PlaceCaches(place, site, sx, sz);
        }
    }
}

}  // namespace chunkgen
