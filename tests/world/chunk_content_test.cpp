// chunk_content_test.cpp: a chunk's generated content: rebuilds are
// identical, trees and ruin objects belong to exactly one chunk, removed
// objects stay removed, caches sit at settlement centres, ice covers only
// deep water, and BuildChunk's upload failure and log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <random>
#include <utility>
#include "chunk_test_support.h"
#include "world/cell_index.h"
#include "world/chunk_content.h"
#include "world/map_shapes.h"
#include "world/noise.h"
#include "world/ruins.h"
#include "world/settlement_sites.h"
#include "world/top_down_baker.h"
#include "world/world.h"

namespace {

using chunktest::FoundSettlement;
using chunktest::Generated;

constexpr uint32_t kSeed = 20261113u;
const std::unordered_set<uint64_t> kNothingRemoved;

bool IsCache(uint64_t id) {
    const uint64_t tag = id >> 48;
    return tag == 0x5041u || tag == 0x5042u || tag == 0x5043u;
}

class ChunkContent : public ::testing::Test {
protected:
    ChunkContent() : gen(kSeed) {}
    WorldGen gen;
};

TEST_F(ChunkContent, RebuildIsIdentical) {
    FoundSettlement found{};
    ASSERT_TRUE(chunktest::FindSettlement(gen, -1, found));
    Generated first(gen, kNothingRemoved, found.cx, found.cz);
    Generated second(gen, kNothingRemoved, found.cx, found.cz);
    EXPECT_FALSE(first.content.items.empty());
    EXPECT_EQ(first.content.image.width, 264);
    EXPECT_EQ(first.content.image.height, 264);
    EXPECT_EQ(first.content.image.format, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
    EXPECT_EQ(chunktest::ListsDigest(first.content), chunktest::ListsDigest(second.content));
    EXPECT_EQ(chunktest::ImageDigest(first.content.image), chunktest::ImageDigest(second.content.image));
}

// Every tree is listed by the one chunk whose square holds it; the margin's
// trees belong to the neighbours.
TEST_F(ChunkContent, EachTreeIsListedOnce) {
    std::set<uint64_t> ids;
    size_t total = 0;
    for (int cz = -2; cz <= 1; ++cz) {
        for (int cx = 3; cx <= 6; ++cx) {
            Generated chunk(gen, kNothingRemoved, cx, cz);
            for (const WorldTree& tree : chunk.content.trees) {
                EXPECT_GE(tree.position.x, cx * 64.0f);
                EXPECT_LT(tree.position.x, cx * 64.0f + 64.0f);
                EXPECT_GE(tree.position.z, cz * 64.0f);
                EXPECT_LT(tree.position.z, cz * 64.0f + 64.0f);
                EXPECT_EQ(tree.id >> 48, 0x5452u);
                EXPECT_GE(tree.scale, 0.7f);
                EXPECT_LE(tree.scale, 1.2f);
                ids.insert(tree.id);
                ++total;
            }
        }
    }
    EXPECT_GT(total, 20u);
    EXPECT_EQ(ids.size(), total);
}

// Chunks as far out as the streaming may build them (its focus cell reaches
// 2^30, the square around it 12 more) convert no number out of an
// int's range, and still keep their trees in their own square and rebuild
// identically. Past about 3.7e8 chunks the scatter's cells leave int's range.
TEST_F(ChunkContent, FarChunksBuildWithinRange) {
    constexpr int kSquareEdge = kStreamCellLimit + 12;
    const std::pair<int, int> chunks[] = {
        {369098751, 0},
        {369098752, -1},
        {-369098752, 5},
        {-369098753, -369098753},
        {0, 369098753},
        {kStreamCellLimit, kStreamCellLimit},
        {-kStreamCellLimit, 17},
        {-3, -kStreamCellLimit},
        {kSquareEdge, -kSquareEdge},
        {-kSquareEdge, kSquareEdge},
    };
    for (const auto& [cx, cz] : chunks) {
        Generated first(gen, kNothingRemoved, cx, cz);
        Generated second(gen, kNothingRemoved, cx, cz);
        EXPECT_EQ(first.content.image.width, 264) << cx << "," << cz;
        EXPECT_EQ(first.content.image.height, 264) << cx << "," << cz;
        const float x0 = static_cast<float>(cx) * 64.0f;
        const float z0 = static_cast<float>(cz) * 64.0f;
        for (const WorldTree& tree : first.content.trees) {
            EXPECT_TRUE(x0 <= tree.position.x && tree.position.x < x0 + 64.0f) << cx << "," << cz;
            EXPECT_TRUE(z0 <= tree.position.z && tree.position.z < z0 + 64.0f) << cx << "," << cz;
        }
        EXPECT_EQ(chunktest::ListsDigest(first.content), chunktest::ListsDigest(second.content)) << cx << "," << cz;
        EXPECT_EQ(chunktest::ImageDigest(first.content.image), chunktest::ImageDigest(second.content.image))
            << cx << "," << cz;
    }
}

// Ruins near chunk borders are drawn by several chunks but their objects are
// listed once, and the caches only by the chunk holding the centre.
TEST_F(ChunkContent, SettlementObjectsAreListedOnce) {
    FoundSettlement found{};
    ASSERT_TRUE(chunktest::FindSettlement(gen, 1, found));
    std::set<uint64_t> ids;
    size_t total = 0;
    size_t cabinets = 0;
    std::map<uint64_t, int> cacheOwners;
    for (int cz = found.cz - 2; cz <= found.cz + 2; ++cz) {
        for (int cx = found.cx - 2; cx <= found.cx + 2; ++cx) {
            Generated chunk(gen, kNothingRemoved, cx, cz);
            for (const WorldItem& item : chunk.content.items) {
                ids.insert(item.id);
                ++total;
                if (IsCache(item.id)) cacheOwners[item.id] = cx * 1000 + cz;
            }
            for (const WorldCabinet& cabinet : chunk.content.cabinets) {
                ids.insert(cabinet.id);
                ++total;
                ++cabinets;
            }
        }
    }
    EXPECT_EQ(ids.size(), total);
    EXPECT_GT(cabinets, 0u);
    // A town caches 2 spare parts, 3 fuel or coal and 4 supplies.
    ASSERT_EQ(cacheOwners.size(), 9u);
    for (const auto& entry : cacheOwners) EXPECT_EQ(entry.second, found.cx * 1000 + found.cz);
}

TEST_F(ChunkContent, CachesLieAroundTheCentre) {
    FoundSettlement found{};
    ASSERT_TRUE(chunktest::FindSettlement(gen, 0, found));
    Generated chunk(gen, kNothingRemoved, found.cx, found.cz);
    std::vector<WorldItem> caches;
    for (const WorldItem& item : chunk.content.items) {
        if (IsCache(item.id)) caches.push_back(item);
    }
    // A village: group 1 one spare part, group 2 two of coal/fuel, group 3
    // two supplies, in group order.
    ASSERT_EQ(caches.size(), 5u);
    const uint64_t expectedIds[5] = {
        chunkgen::CacheId(1, found.sx, found.sz, 0), chunkgen::CacheId(2, found.sx, found.sz, 0),
        chunkgen::CacheId(2, found.sx, found.sz, 1), chunkgen::CacheId(3, found.sx, found.sz, 0),
        chunkgen::CacheId(3, found.sx, found.sz, 1)};
    const ItemType expectedTypes[5] = {ItemType::SparePart, ItemType::Coal, ItemType::Coal, ItemType::Firewood,
                                       ItemType::CannedFood};
    const float reach[5][2] = {{0.16f, 0.30f}, {0.22f, 0.38f}, {0.22f, 0.38f}, {0.30f, 0.48f}, {0.30f, 0.48f}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(caches[i].id, expectedIds[i]);
        EXPECT_EQ(caches[i].type, expectedTypes[i]);
        const float dx = caches[i].position.x - found.site.center.x;
        const float dz = caches[i].position.z - found.site.center.z;
        const float dist = std::sqrt(dx * dx + dz * dz) / found.site.spacing;
        EXPECT_GE(dist, reach[i][0] - 0.001f);
        EXPECT_LE(dist, reach[i][1] + 0.001f);
        EXPECT_EQ(caches[i].position.y, gen.Height(caches[i].position.x, caches[i].position.z) + 0.25f);
    }
}

// A seed whose settlement of cell (0, sz) is valid with its centre exactly
// on x = 64 k, a chunk border: the centre's hash is chosen and the seed
// solved from it.
bool SeedWithCentreOnBorder(uint32_t& seedOut, int& szOut, int& kOut) {
    for (int sz = 0; sz < 400; ++sz) {
        for (int k = 3; k <= 8; ++k) {
            const float target = 64.0f * static_cast<float>(k);
            float h = (target / 700.0f - 0.25f) * 2.0f;
            for (int step = 0; step < 64 && (0.5f * h + 0.25f) * 700.0f < target; ++step) h = std::nextafter(h, 1.0f);
            for (int step = 0; step < 64 && (0.5f * h + 0.25f) * 700.0f > target; ++step) h = std::nextafter(h, 0.0f);
            if ((0.5f * h + 0.25f) * 700.0f != target) continue;
            const uint32_t seed = chunktest::SeedForHash(-13, sz + 17, chunktest::HashFor(h)) ^ 0x9e3779b9u;
            if (!IsSettlementCandidate(seed, 0, sz)) continue;
            const WorldGen gen(seed);
            const SettlementSite site = SettlementAtCell(seed, 0, sz, &gen);
            if (!site.valid || site.center.x != target) continue;
            seedOut = seed;
            szOut = sz;
            kOut = k;
            return true;
        }
    }
    return false;
}

TEST(ChunkBorders, CentreOnTheLowerEdgeBelongsToTheChunk) {
    uint32_t seed = 0;
    int sz = 0;
    int k = 0;
    ASSERT_TRUE(SeedWithCentreOnBorder(seed, sz, k));
    const WorldGen gen(seed);
    const SettlementSite site = SettlementAtCell(seed, 0, sz, &gen);
    const int cz = static_cast<int>(std::floor(site.center.z / 64.0f));
    const auto hasSparePart = [&](int cx) {
        Generated chunk(gen, kNothingRemoved, cx, cz);
        for (const WorldItem& item : chunk.content.items) {
            if (item.id == chunkgen::CacheId(1, 0, sz, 0)) return true;
        }
        return false;
    };
    EXPECT_TRUE(hasSparePart(k));
    EXPECT_FALSE(hasSparePart(k - 1));
}

bool CloseColour(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFFu) - static_cast<int>((b >> shift) & 0xFFu);
        if (d < -2 || d > 2) return false;
    }
    return true;
}

// Whether the pixel (c, r) of one picture shows up, give or take a little
// interpolation rounding, within one pixel of (c2, r2) in the other.
bool NearbyMatch(const uint32_t* a, int c, int r, const uint32_t* b, int c2, int r2) {
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            const int cc = std::clamp(c2 + dc, 0, 263);
            const int rr = std::clamp(r2 + dr, 0, 263);
            if (CloseColour(a[r * 264 + c], b[rr * 264 + cc])) return true;
        }
    }
    return false;
}

// Where two chunks' pictures overlap (one's margin, the other's square) they
// show the same ground, boulders and ice: boulders are drawn for scatter
// cells around the chunk, not only inside it. Each picture has its own
// origin, so shape edges may move by a pixel and colours by a unit or two. (Near settlements pictures
// may differ: a ruin is drawn only by chunks whose picture holds its centre.)
TEST(ChunkBorders, MarginShowsTheNeighbours) {
    const WorldGen gen(kSeed);
    // Pairs whose overlaps hold boulders of both chunks.
    const int pairs[][2] = {{-3, -4}, {3, -4}, {-4, -2}, {6, -2}};
    for (const auto& pair : pairs) {
        Generated base(gen, kNothingRemoved, pair[0], pair[1]);
        Generated east(gen, kNothingRemoved, pair[0] + 1, pair[1]);
        Generated south(gen, kNothingRemoved, pair[0], pair[1] + 1);
        const auto* a = static_cast<const uint32_t*>(base.content.image.data);
        const auto* e = static_cast<const uint32_t*>(east.content.image.data);
        const auto* s = static_cast<const uint32_t*>(south.content.image.data);
        int unmatched = 0;
        // Base's columns (rows) 228..263, x0 + 64 .. x0 + 76, are the east
        // (south) neighbour's columns (rows) 36..71.
        for (int r = 0; r < 264; ++r) {
            for (int c = 0; c < 36; ++c) {
                unmatched += NearbyMatch(a, 228 + c, r, e, 36 + c, r) ? 0 : 1;
                unmatched += NearbyMatch(e, 36 + c, r, a, 228 + c, r) ? 0 : 1;
                unmatched += NearbyMatch(a, r, 228 + c, s, r, 36 + c) ? 0 : 1;
                unmatched += NearbyMatch(s, r, 36 + c, a, r, 228 + c) ? 0 : 1;
            }
        }
        EXPECT_EQ(unmatched, 0) << pair[0] << "," << pair[1];
    }
}

// The ruins a chunk shows, built the plain way: every candidate cell within
// reach has its terrain tested, every plot that rolls a ruin tries its
// places in turn, with no shortcut for sites or tries that cannot show in
// the chunk. Caches are left out; no shortcut touches them.
void PlainRuins(const MapBuilder& builder, const WorldGen& gen, int cx, int cz, std::vector<WorldItem>& items,
                std::vector<WorldCabinet>& cabinets, std::vector<CollisionBox>& walls) {
    using chunkgen::WrapMulAdd;
    const uint32_t seed = gen.seed;
    const float x0 = static_cast<float>(cx) * 64.0f;
    const float z0 = static_cast<float>(cz) * 64.0f;
    for (int sz = SettlementCellOf(z0 - 140.0f); sz <= SettlementCellOf((z0 + 64.0f) + 140.0f); ++sz) {
        for (int sx = SettlementCellOf(x0 - 140.0f); sx <= SettlementCellOf((x0 + 64.0f) + 140.0f); ++sx) {
            if (!IsSettlementCandidate(seed, sx, sz)) continue;
            const SettlementSite site = SettlementAtCell(seed, sx, sz, &gen);
            if (!site.valid) continue;
            const float half = static_cast<float>(site.plots - 1) * 0.5f;
            const float S = site.spacing;
            for (int r = 0; r < site.plots; ++r) {
                for (int c = 0; c < site.plots; ++c) {
                    if (NoiseHash01(WrapMulAdd(31, sx, c), WrapMulAdd(17, sz, r), seed ^ 0x7f4a7c15u) >
                        site.plotChance) {
                        continue;
                    }
                    for (int t = 0; t < 4; ++t) {
                        const float ax = NoiseHash01(sx + 7 * c + 131 * t, sz - 5 * r - 57 * t, seed ^ 0x1111u);
                        const float az = NoiseHash01(sx - 3 * c - 89 * t, sz + 11 * r + 37 * t, seed ^ 0x2222u);
                        const float x = ((static_cast<float>(c) - half) * S + site.center.x) + (ax - 0.5f) * S * 0.6f;
                        const float z = ((static_cast<float>(r) - half) * S + site.center.z) + (az - 0.5f) * S * 0.6f;
                        const WorldSample s = gen.Sample(x, z);
                        if (s.water > 0.15f || s.height < -4.2f) continue;
                        const float dx = gen.Height(x + 1.5f, z) - gen.Height(x - 1.5f, z);
                        const float dz = gen.Height(x, z + 1.5f) - gen.Height(x, z - 1.5f);
                        if (std::sqrt(dx * dx + dz * dz) / 3.0f > 0.85f) continue;
                        const bool inside = x0 <= x && x < x0 + 64.0f && z0 <= z && z < z0 + 64.0f;
                        const bool shown = x0 - 12.0f <= x && x < x0 + 76.0f && z0 - 12.0f <= z && z < z0 + 76.0f;
                        if (shown) {
                            const uint32_t rh = NoiseHash(WrapMulAdd(977, sx, c), WrapMulAdd(617, sz, r),
                                                          seed ^ 0x9e3779b9u);
                            const int h = static_cast<int>(rh);
                            const cfg::SettlementKind& kind = cfg::settlementKinds[site.type];
                            const float width = kind.widthBase + kind.widthRange * NoiseHash01(h, 1, 81u);
                            const float depth = kind.widthBase + kind.widthRange * NoiseHash01(h, 2, 82u);
                            const float height = kind.heightBase + kind.heightRange * NoiseHash01(h, 3, 83u);
                            const bool collapsed = NoiseHash01(h, 4, 84u) < kind.collapseChance;
                            std::vector<WorldItem> otherItems;
                            std::vector<WorldCabinet> otherCabinets;
                            std::vector<CollisionBox> otherWalls;
                            chunkgen::BuildRuin(builder, Vector2{x, z}, s.height, width, depth, height, collapsed,
                                                s.snow, rh, inside ? items : otherItems,
                                                inside ? cabinets : otherCabinets, kNothingRemoved,
                                                inside ? walls : otherWalls);
                        }
                        break;
                    }
                }
            }
        }
    }
}

// The settlement pass skips sites and placement tries that cannot show in
// the chunk; on random chunks around settlements of random seeds it draws
// and lists exactly what building every plot does.
TEST(ChunkSettlements, ShortcutsMatchBuildingEveryPlot) {
    std::mt19937 random(7919u);
    int chunksWithRuins = 0;
    int chunksWithout = 0;
    for (int trial = 0; trial < 8; ++trial) {
        const WorldGen gen(static_cast<uint32_t>(random()));
        FoundSettlement found{};
        ASSERT_TRUE(chunktest::FindSettlement(gen, trial % 3, found));
        for (int pick = 0; pick < 12; ++pick) {
            // Out to three chunks away: near enough to be in reach, far
            // enough that some show no plot at all.
            const int cx = found.cx + static_cast<int>(random() % 7u) - 3;
            const int cz = found.cz + static_cast<int>(random() % 7u) - 3;
            const Vector2 origin{static_cast<float>(cx) * 64.0f - 12.0f, static_cast<float>(cz) * 64.0f - 12.0f};
            TopDownBaker fastBaker;
            TopDownBaker plainBaker;
            fastBaker.Begin(origin, 88.0f, 264);
            plainBaker.Begin(origin, 88.0f, 264);
            std::vector<WorldItem> fastItems, plainItems;
            std::vector<WorldCabinet> fastCabinets, plainCabinets;
            std::vector<CollisionBox> fastWalls, plainWalls;
            chunkgen::PlaceSettlements(MapBuilder{&fastBaker}, gen, kNothingRemoved, cx, cz, fastItems, fastCabinets,
                                       fastWalls);
            PlainRuins(MapBuilder{&plainBaker}, gen, cx, cz, plainItems, plainCabinets, plainWalls);
            std::erase_if(fastItems, [](const WorldItem& item) { return IsCache(item.id); });

            ASSERT_EQ(fastItems.size(), plainItems.size()) << cx << "," << cz;
            for (size_t i = 0; i < plainItems.size(); ++i) {
                EXPECT_EQ(fastItems[i].id, plainItems[i].id);
                EXPECT_EQ(std::memcmp(&fastItems[i].position, &plainItems[i].position, sizeof(Vector3)), 0);
                EXPECT_EQ(fastItems[i].type, plainItems[i].type);
            }
            ASSERT_EQ(fastCabinets.size(), plainCabinets.size()) << cx << "," << cz;
            for (size_t i = 0; i < plainCabinets.size(); ++i) {
                EXPECT_EQ(fastCabinets[i].id, plainCabinets[i].id);
                EXPECT_EQ(std::memcmp(&fastCabinets[i].position, &plainCabinets[i].position, sizeof(Vector3)), 0);
            }
            ASSERT_EQ(fastWalls.size(), plainWalls.size()) << cx << "," << cz;
            // memcmp takes no null pointer, which an empty list may hold.
            if (!plainWalls.empty()) {
                EXPECT_EQ(std::memcmp(fastWalls.data(), plainWalls.data(), plainWalls.size() * sizeof(CollisionBox)),
                          0);
            }
            EXPECT_EQ(fastBaker.pixels, plainBaker.pixels) << cx << "," << cz;
            // A picture showing any ruin differs from the cleared one.
            const bool drawn = std::any_of(plainBaker.pixels.begin(), plainBaker.pixels.end(),
                                           [&](uint32_t p) { return p != plainBaker.pixels[0]; });
            (drawn ? chunksWithRuins : chunksWithout)++;
        }
    }
    // Both kinds of chunk were compared.
    EXPECT_GT(chunksWithRuins, 8);
    EXPECT_GT(chunksWithout, 4);
}

TEST_F(ChunkContent, CacheIdPackingIsFrozen) {
    EXPECT_EQ(chunkgen::CacheId(1, -1, 2, 0), 0x5041FFFF00020000ull);
    EXPECT_EQ(chunkgen::CacheId(3, 0x12345, -2, 5), 0x50432345FFFE0005ull);
    EXPECT_EQ(chunkgen::TreeId(-1, 3), 0x545200FFFFF00003ull);
    EXPECT_EQ(chunkgen::TreeId(0x123456, -0x100001), 0x54520023456FFFFFull);
}

// Removing a tree, a cache, a ruin item and a cabinet takes exactly those out
// of the rebuilt chunk; everything else keeps its id, place and order.
TEST_F(ChunkContent, RemovedObjectsStayRemoved) {
    FoundSettlement found{};
    ASSERT_TRUE(chunktest::FindSettlement(gen, -1, found));
    // The centre's chunk and its neighbours: find one with trees and ruins.
    Generated all(gen, kNothingRemoved, found.cx, found.cz);
    const auto& items = all.content.items;
    ASSERT_FALSE(items.empty());
    std::unordered_set<uint64_t> removed;
    uint64_t cacheId = 0;
    uint64_t ruinItemId = 0;
    for (const WorldItem& item : items) {
        if (IsCache(item.id) && cacheId == 0) cacheId = item.id;
        if (!IsCache(item.id) && ruinItemId == 0) ruinItemId = item.id;
    }
    ASSERT_NE(cacheId, 0u);
    removed.insert(cacheId);
    if (ruinItemId != 0) removed.insert(ruinItemId);
    if (!all.content.trees.empty()) removed.insert(all.content.trees.front().id);
    if (!all.content.cabinets.empty()) removed.insert(all.content.cabinets.front().id);

    Generated rest(gen, removed, found.cx, found.cz);
    const auto filtered = [&removed](const auto& list) {
        std::vector<uint64_t> ids;
        for (const auto& entry : list) {
            if (removed.count(entry.id) == 0) ids.push_back(entry.id);
        }
        return ids;
    };
    const auto idsOf = [](const auto& list) {
        std::vector<uint64_t> ids;
        for (const auto& entry : list) ids.push_back(entry.id);
        return ids;
    };
    EXPECT_EQ(idsOf(rest.content.items), filtered(all.content.items));
    EXPECT_EQ(idsOf(rest.content.trees), filtered(all.content.trees));
    EXPECT_EQ(idsOf(rest.content.cabinets), filtered(all.content.cabinets));
    EXPECT_EQ(rest.content.items.size() + (ruinItemId != 0 ? 2u : 1u), all.content.items.size());
    // Taking objects never changes the ground picture or the walls.
    EXPECT_EQ(chunktest::ImageDigest(rest.content.image), chunktest::ImageDigest(all.content.image));
    EXPECT_EQ(rest.content.walls.size(), all.content.walls.size());
}

// ---- ice --------------------------------------------------------------------

// A dry grid high above the water, with one quad's corners set as given.
std::vector<WorldSample> DryGrid() {
    WorldSample dry{};
    dry.height = 10.0f;
    return std::vector<WorldSample>(47 * 47, dry);
}

void SetCorners(std::vector<WorldSample>& grid, const float water[4], const float height[4]) {
    // Quad (k, m) = (0, 0): corners (0,0), (0,1), (1,1), (1,0) at grid offset 7.
    const int cells[4][2] = {{7, 7}, {7, 8}, {8, 8}, {8, 7}};
    for (int i = 0; i < 4; ++i) {
        WorldSample& s = grid[static_cast<size_t>(cells[i][1] * 47 + cells[i][0])];
        s.water = water[i];
        s.height = height[i];
    }
}

// The pixel in the middle of quad (0, 0) after the ice pass over a cleared
// picture: world (1, 1) is pixel (39, 39).
uint32_t IcePixel(const std::vector<WorldSample>& grid) {
    TopDownBaker baker{};
    baker.Begin(Vector2{-12.0f, -12.0f}, 88.0f, 264);
    baker.blend = true;
    chunkgen::AddIce(MapBuilder{&baker}, grid, 0, 0);
    const uint32_t pixel = baker.pixels[39 * 264 + 39];
    Image image = baker.Finish();
    UnloadImage(image);
    return pixel;
}

TEST(ChunkIce, OnlyWhereAllCornersAreWetAndOneIsDeep) {
    const uint32_t clear = IcePixel(DryGrid());
    const float wet[4] = {0.04f, 0.04f, 0.04f, 0.04f};
    const float oneDeep[4] = {0.0f, -4.85f, 0.0f, 0.0f};
    std::vector<WorldSample> grid = DryGrid();
    SetCorners(grid, wet, oneDeep);
    EXPECT_NE(IcePixel(grid), clear);

    const float oneDry[4] = {0.04f, std::nextafter(0.04f, 0.0f), 0.04f, 0.04f};
    grid = DryGrid();
    SetCorners(grid, oneDry, oneDeep);
    EXPECT_EQ(IcePixel(grid), clear);

    const float shallow[4] = {0.0f, -4.84f, -3.0f, 0.0f};
    grid = DryGrid();
    SetCorners(grid, wet, shallow);
    EXPECT_EQ(IcePixel(grid), clear);
}

TEST(ChunkIce, DeeperWaterGivesMoreOpaqueIce) {
    const float wet[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float deep[4] = {-7.0f, -9.0f, -8.0f, -12.0f};
    const float shallow[4] = {-5.0f, -5.0f, -5.0f, -4.0f};
    std::vector<WorldSample> grid = DryGrid();
    SetCorners(grid, wet, deep);
    const uint32_t deepPixel = IcePixel(grid);
    grid = DryGrid();
    SetCorners(grid, wet, shallow);
    const uint32_t shallowPixel = IcePixel(grid);
    // Over the dark clear colour, more opaque ice is brighter, and the
    // blended result is always opaque.
    EXPECT_GT(deepPixel & 0xFFu, shallowPixel & 0xFFu);
    EXPECT_EQ(deepPixel >> 24, 255u);
    EXPECT_EQ(shallowPixel >> 24, 255u);
}

// ---- BuildChunk -------------------------------------------------------------

// Without a window no upload is tried: no warning, the chunk still built and
// complete, no texture.
TEST(BuildChunk, WithoutWindowKeepsContentQuietly) {
    World world(kSeed);
    Chunk chunk{};
    chunk.cx = 3;
    chunk.cz = -2;
    chunk.trees.push_back(WorldTree{1, Vector3{}, 1.0f, true});
    chunktest::LogCapture log;
    world.BuildChunk(chunk);
    EXPECT_EQ(log.Starting(""), std::vector<std::string>{});
    EXPECT_TRUE(chunk.built);
    EXPECT_EQ(chunk.mapTexture.id, 0u);

    Generated expected(world.gen, world.removedIds, 3, -2);
    chunkgen::ChunkContent got{};
    got.trees = chunk.trees;
    got.items = chunk.items;
    got.cabinets = chunk.cabinets;
    got.walls = chunk.walls;
    EXPECT_EQ(chunktest::ListsDigest(got), chunktest::ListsDigest(expected.content));
}

// With KIRN_PERF set, consecutive builds log exactly at the builds the
// thinning rule names, in the fixed format; without it, never.
TEST(BuildChunk, PerfSplitLines) {
    World world(kSeed);
    const auto buildOne = [&world](int i) {
        Chunk chunk{};
        chunk.cx = -40 + i % 7;
        chunk.cz = 90 + i / 7;
        world.BuildChunk(chunk);
    };
    {
        chunktest::LogCapture log;
        buildOne(0);
        EXPECT_TRUE(log.Starting("PERF").empty());
    }
    chunktest::ScopedEnv perf("KIRN_PERF", "1");
    int number = -1;
    for (int i = 1; i <= 100 && number < 0; ++i) {
        chunktest::LogCapture log;
        buildOne(i);
        const auto lines = log.Starting("PERF split #");
        if (!lines.empty()) number = std::atoi(lines[0].c_str() + 12);
    }
    ASSERT_GT(number, 0);
    for (int i = 1; i <= 100; ++i) {
        chunktest::LogCapture log;
        buildOne(100 + i);
        const auto lines = log.Starting("PERF split #");
        ASSERT_EQ(lines.size(), chunkgen::PerfSplitDue(number + i) ? 1u : 0u) << number + i;
        if (lines.empty()) continue;
        const std::string head = "PERF split #" + std::to_string(number + i) + " sample ";
        EXPECT_EQ(lines[0].rfind(head, 0), 0u) << lines[0];
        float s = -1, t = -1, o = -1, st = -1, b = -1;
        const int fields = std::sscanf(lines[0].c_str() + head.size(), "%f terrain %f objects %f settle %f bake %f ms",
                                       &s, &t, &o, &st, &b);
        EXPECT_EQ(fields, 5) << lines[0];
    }
}

TEST(BuildChunk, PartsLineAtSettlementCentres) {
    const WorldGen gen(kSeed);
    FoundSettlement found{};
    ASSERT_TRUE(chunktest::FindSettlement(gen, 0, found));
    {
        chunktest::LogCapture log;
        Generated quiet(gen, kNothingRemoved, found.cx, found.cz);
        EXPECT_TRUE(log.Starting("PARTS").empty());
    }
    chunktest::ScopedEnv near("KIRN_NEAR", "1");
    chunktest::LogCapture log;
    Generated centre(gen, kNothingRemoved, found.cx, found.cz);
    Generated neighbour(gen, kNothingRemoved, found.cx + 1, found.cz);
    const auto lines = log.Starting("PARTS");
    ASSERT_EQ(lines.size(), 1u);
    char expected[128];
    std::snprintf(expected, sizeof(expected), "PARTS: 1 cache(s) near %.1f,%.1f (type 0)",
                  static_cast<double>(found.site.center.x), static_cast<double>(found.site.center.z));
    EXPECT_EQ(lines[0], expected);
    EXPECT_EQ(log.Lines().front().level, LOG_INFO);
}

}  // namespace
