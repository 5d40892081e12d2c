// settlement_test.cpp: settlement cells (candidates, types, centres, terrain
// test) and ruins (collapsed and standing rules, object ids and their
// numbering, removed objects, the map picture of a box).
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include "chunk_test_support.h"
#include "world/map_shapes.h"
#include "world/noise.h"
#include "world/rounded_trig.h"
#include "world/ruins.h"
#include "world/settlement_sites.h"
#include "world/top_down_baker.h"

namespace {

constexpr uint32_t kSeed = 20261113u;

// A world seed whose type roll of cell (0, 0) is exactly t.
uint32_t SeedWithTypeRoll(float t) {
    const uint32_t seed = chunktest::SeedForHash(71, -31, chunktest::HashFor(t)) ^ 0x2545f491u;
    EXPECT_EQ(NoiseHash01(71, -31, seed ^ 0x2545f491u), t);
    return seed;
}

TEST(SettlementSite, TypeThresholdsAreStrict) {
    EXPECT_EQ(SettlementLayout(SeedWithTypeRoll(std::nextafter(0.62f, 0.0f)), 0, 0).type, 0);
    EXPECT_EQ(SettlementLayout(SeedWithTypeRoll(0.62f), 0, 0).type, 1);
    EXPECT_EQ(SettlementLayout(SeedWithTypeRoll(std::nextafter(0.92f, 0.0f)), 0, 0).type, 1);
    EXPECT_EQ(SettlementLayout(SeedWithTypeRoll(0.92f), 0, 0).type, 2);
    EXPECT_EQ(SettlementLayout(SeedWithTypeRoll(0.0f), 0, 0).type, 0);
    EXPECT_EQ(SettlementLayout(SeedWithTypeRoll(1.0f), 0, 0).type, 2);
}

TEST(SettlementSite, CandidateLimitIsInclusive) {
    const uint32_t at = chunktest::SeedForHash(5, -9, chunktest::HashFor(0.15f)) ^ 0x51ed270bu;
    const uint32_t above = chunktest::SeedForHash(5, -9, chunktest::HashFor(std::nextafter(0.15f, 1.0f))) ^ 0x51ed270bu;
    EXPECT_TRUE(IsSettlementCandidate(at, 5, -9));
    EXPECT_FALSE(IsSettlementCandidate(above, 5, -9));
}

TEST(SettlementSite, KindsCarryTheirConstants) {
    struct Expected {
        float t;
        float radius;
        int plots;
        float spacing;
        float chance;
    };
    const Expected kinds[] = {
        {0.1f, 24.75f, 4, 15.0f, 0.45f}, {0.7f, 55.0f, 6, 20.0f, 0.42f}, {0.95f, 96.25f, 8, 25.0f, 0.42f}};
    for (const Expected& e : kinds) {
        const SettlementSite site = SettlementLayout(SeedWithTypeRoll(e.t), 0, 0);
        EXPECT_EQ(site.radius, e.radius);
        EXPECT_EQ(site.plots, e.plots);
        EXPECT_EQ(site.spacing, e.spacing);
        EXPECT_EQ(site.plotChance, e.chance);
    }
}

TEST(SettlementSite, NoGeneratorGivesAnInvalidSite) {
    const SettlementSite site = SettlementAtCell(kSeed, 3, 4, nullptr);
    EXPECT_FALSE(site.valid);
    EXPECT_EQ(site.center.x, 0.0f);
    EXPECT_EQ(site.plots, 0);
}

// Over a block of cells: a site is valid exactly on dry, not too deep, not
// too steep ground; valid centres lie in the middle half of their cell and
// invalid sites are all zero.
TEST(SettlementSite, TerrainDecidesValidity) {
    const WorldGen gen(kSeed);
    int valid = 0;
    int invalid = 0;
    for (int sz = -8; sz <= 8; ++sz) {
        for (int sx = -8; sx <= 8; ++sx) {
            const SettlementSite site = SettlementAtCell(kSeed, sx, sz, &gen);
            const SettlementSite layout = SettlementLayout(kSeed, sx, sz);
            const float x = layout.center.x;
            const float z = layout.center.z;
            const WorldSample s = gen.Sample(x, z);
            const float gx = gen.Height(x + 4.0f, z) - gen.Height(x - 4.0f, z);
            const float gz = gen.Height(x, z + 4.0f) - gen.Height(x, z - 4.0f);
            const bool fit = s.water <= 0.15f && s.height >= -4.2f && std::sqrt(gx * gx + gz * gz) * 0.125f <= 0.45f;
            ASSERT_EQ(site.valid, fit) << sx << "," << sz;
            if (site.valid) {
                ++valid;
                EXPECT_EQ(site.center.y, 0.0f);
                EXPECT_GE(site.center.x, sx * 700.0f + 175.0f);
                EXPECT_LE(site.center.x, sx * 700.0f + 525.0f);
                EXPECT_GE(site.center.z, sz * 700.0f + 175.0f);
                EXPECT_LE(site.center.z, sz * 700.0f + 525.0f);
            } else {
                ++invalid;
                EXPECT_EQ(site.type, 0);
                EXPECT_EQ(site.radius, 0.0f);
                EXPECT_EQ(site.center.z, 0.0f);
            }
        }
    }
    EXPECT_GT(valid, 0);
    EXPECT_GT(invalid, 0);
}

// ---- ruins -------------------------------------------------------------------

struct RuinResult {
    std::vector<WorldItem> items;
    std::vector<WorldCabinet> cabinets;
    std::vector<CollisionBox> walls;
};

RuinResult Ruin(uint32_t rh, float w, float d, float h, bool collapsed,
                const std::unordered_set<uint64_t>& removed = {}) {
    RuinResult r;
    chunkgen::BuildRuin(MapBuilder{nullptr}, Vector2{100.0f, -40.0f}, 2.0f, w, d, h, collapsed, 0.8f, rh, r.items,
                        r.cabinets, removed, r.walls);
    return r;
}

TEST(Ruin, CollapsedRuinsAreLowAndBare) {
    const float h = 20.0f;
    const float floorLine = 2.0f - 0.7f;
    size_t items = 0;
    for (uint32_t rh = 0; rh < 400; ++rh) {
        const RuinResult r = Ruin(rh * 7919u, 10.0f, 10.0f, h, true);
        EXPECT_TRUE(r.cabinets.empty());
        ASSERT_LE(r.items.size(), 2u);
        for (size_t n = 0; n < r.items.size(); ++n) {
            EXPECT_EQ(r.items[n].id, chunkgen::RuinItemId(rh * 7919u, static_cast<uint32_t>(n)));
        }
        items += r.items.size();
        for (const CollisionBox& box : r.walls) {
            EXPECT_EQ(box.min.y, floorLine);
            EXPECT_LE(box.max.y - box.min.y, 0.28f * h + 0.0001f);
            EXPECT_GE(box.max.y - box.min.y, 0.6f - 0.0001f);
        }
    }
    EXPECT_GT(items, 0u);
}

TEST(Ruin, WallsBelowTheLimitLeaveGaps) {
    // A collapsed ruin of height 1.5 has walls of at most 0.42: all gaps.
    for (uint32_t rh = 0; rh < 50; ++rh) {
        EXPECT_TRUE(Ruin(rh, 8.0f, 8.0f, 1.5f, true).walls.empty());
    }
    // Standing walls are at least 0.72 h tall and mostly present.
    const RuinResult standing = Ruin(12345u, 8.4f, 8.4f, 6.0f, false);
    EXPECT_GT(standing.walls.size(), 4u);
    for (const CollisionBox& box : standing.walls) {
        EXPECT_GE(box.max.y - box.min.y, 0.72f * 6.0f - 0.0001f);
    }
}

TEST(Ruin, StandingRuinsHaveACabinetPerStoreyWhenDeep) {
    for (uint32_t rh = 1; rh < 200; ++rh) {
        const RuinResult deep = Ruin(rh, 10.0f, 10.0f, 12.0f, false);
        ASSERT_EQ(deep.cabinets.size(), 3u);
        for (uint32_t k = 0; k < 3; ++k) {
            EXPECT_EQ(deep.cabinets[k].id, chunkgen::RuinCabinetId(rh, k));
            EXPECT_FLOAT_EQ(deep.cabinets[k].position.y, (2.0f - 0.7f) + 0.75f + 3.2f * k + 1.0f);
        }
        EXPECT_TRUE(Ruin(rh, 10.0f, 6.0f, 12.0f, false).cabinets.empty());
        // One storey when the height gives less than two.
        EXPECT_EQ(Ruin(rh, 10.0f, 6.01f, 4.0f, false).cabinets.size(), 1u);
    }
}

TEST(Ruin, ShelfOnlyInWideRuins) {
    const float shelfZ = -40.0f + 10.0f / 2.0f - 1.3f;
    const auto hasShelfItem = [shelfZ](const RuinResult& r) {
        for (const WorldItem& item : r.items) {
            if (item.position.x == 100.0f - 0.55f && item.position.z == shelfZ) return true;
        }
        return false;
    };
    for (uint32_t rh = 0; rh < 100; ++rh) {
        EXPECT_FALSE(hasShelfItem(Ruin(rh, 7.0f, 10.0f, 8.0f, false)));
        EXPECT_TRUE(hasShelfItem(Ruin(rh, 7.001f, 10.0f, 8.0f, false)));
    }
}

// Saved ids depend on the numbering: within a storey the table item, the
// shelf item, then the floor item (loot slot 27) of the ground storey, and
// only then the upper storeys' table items.
TEST(Ruin, ItemNumberingPutsTheFloorItemLastInTheGroundStorey) {
    uint32_t rh = 0;
    while (!(NoiseHash01(static_cast<int>(rh), 23, 163u) > 0.2f && NoiseHash01(static_cast<int>(rh), 33, 163u) > 0.2f &&
             NoiseHash01(static_cast<int>(rh), 26, 166u) > 0.45f)) {
        ++rh;
    }
    const float w = 10.0f, d = 10.0f;
    const RuinResult r = Ruin(rh, w, d, 8.0f, false);
    ASSERT_EQ(r.items.size(), 4u);
    const float v = (2.0f - 0.7f) + 0.75f;
    const int slots[4] = {24, 25, 27, 34};
    for (uint32_t n = 0; n < 4; ++n) {
        EXPECT_EQ(r.items[n].id, (static_cast<uint64_t>(rh) << 20) | n);
        EXPECT_EQ(r.items[n].type, chunkgen::RuinLoot(rh, slots[n]));
    }
    EXPECT_FLOAT_EQ(r.items[0].position.y, v + 1.02f);
    EXPECT_FLOAT_EQ(r.items[1].position.y, v + 1.04f);
    EXPECT_FLOAT_EQ(r.items[2].position.y, v + 0.18f);
    EXPECT_FLOAT_EQ(r.items[2].position.x, 100.0f - 0.5f * (w / 2.0f - 1.2f));
    EXPECT_FLOAT_EQ(r.items[2].position.z, -40.0f + 0.45f * (d / 2.0f - 1.2f));
    EXPECT_FLOAT_EQ(r.items[3].position.y, v + 3.2f + 1.02f);
}

TEST(Ruin, RemovedObjectsKeepTheOtherIds) {
    uint32_t rh = 0;
    RuinResult all;
    do {
        all = Ruin(++rh, 10.0f, 10.0f, 12.0f, false);
    } while (all.items.size() < 3);
    const std::unordered_set<uint64_t> removed{all.items[0].id, all.cabinets[1].id};
    const RuinResult rest = Ruin(rh, 10.0f, 10.0f, 12.0f, false, removed);
    ASSERT_EQ(rest.items.size(), all.items.size() - 1);
    for (size_t i = 0; i < rest.items.size(); ++i) {
        EXPECT_EQ(rest.items[i].id, all.items[i + 1].id);
        EXPECT_EQ(rest.items[i].type, all.items[i + 1].type);
    }
    ASSERT_EQ(rest.cabinets.size(), 2u);
    EXPECT_EQ(rest.cabinets[0].id, all.cabinets[0].id);
    EXPECT_EQ(rest.cabinets[1].id, all.cabinets[2].id);
    EXPECT_EQ(rest.walls.size(), all.walls.size());
}

TEST(Ruin, IdPackingIsFrozen) {
    EXPECT_EQ(chunkgen::RuinItemId(0xDEADBEEFu, 5u), 0xDEADBEEF00005ull);
    EXPECT_EQ(chunkgen::RuinCabinetId(0xDEADBEEFu, 2u), 0xDEADBEEF80002ull);
    EXPECT_EQ(chunkgen::RuinItemId(1u, 0x80001u), 0x100001ull);
}

TEST(Ruin, LootTableCoversEveryKind) {
    std::set<ItemType> seen;
    for (uint32_t rh = 0; rh < 2000; ++rh) {
        const ItemType t = chunkgen::RuinLoot(rh, 29);
        const float u = NoiseHash01(static_cast<int>(rh), 29, 0xBEEFu);
        if (u < 0.10f) {
            EXPECT_EQ(t, ItemType::Medkit);
        }
        if (u >= 0.97f) {
            EXPECT_EQ(t, ItemType::SparePart);
        }
        if (u >= 0.60f && u < 0.82f) {
            EXPECT_EQ(t, ItemType::Water);
        }
        seen.insert(t);
    }
    EXPECT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen.count(ItemType::Firewood), 0u);
}

// ---- shapes -----------------------------------------------------------------

TEST(MapShapes, ScaleAndMixClampAndTruncate) {
    const Color c{200, 100, 50, 77};
    const Color up = chunkgen::Scale(c, 1.3f);
    EXPECT_EQ(up.r, 255);
    EXPECT_EQ(up.g, 130);
    EXPECT_EQ(up.b, 65);
    EXPECT_EQ(up.a, 77);
    const Color down = chunkgen::Scale(c, -1.0f);
    EXPECT_EQ(down.r, 0);
    EXPECT_EQ(down.a, 77);

    const Color a{0, 100, 200, 0};
    const Color b{255, 0, 100, 255};
    const Color half = chunkgen::Mix(a, b, 0.5f);
    EXPECT_EQ(half.r, 127);
    EXPECT_EQ(half.g, 50);
    EXPECT_EQ(half.b, 150);
    EXPECT_EQ(half.a, 127);
    EXPECT_EQ(chunkgen::Mix(a, b, 3.0f).r, 255);
    EXPECT_EQ(chunkgen::Mix(a, b, -1.0f).b, 200);
}

// Cache and rubble angles and the start view's directions need the nearest
// float to the true cosine and sine on every build. These angles are the hard
// ones: where a double result lies next to a midpoint between floats, and
// where a single-precision library routine rounds the other way (the last
// three are start-view directions 25, 26 and 31 of 32).
TEST(MapShapes, CosineAndSineAreCorrectlyRounded) {
    struct Case {
        float angle;
        float cosine;
        float sine;
    };
    const Case cases[] = {
        {0x1.0c4d4ap+0f, 0x1.ff3d7p-2f, 0.0f},   {0x1.0d67a4p+0f, 0.0f, 0x1.bcb8aap-1f},
        {0x1.21497ep+1f, -0x1.459d46p-1f, 0.0f}, {0x1.3267bcp+3f, 0.0f, -0x1.32d428p-3f},
        {0x1.1cf012p+2f, -0x1.077bfap-2f, 0.0f}, {0x1.000026p+0f, 0x1.14a242p-1f, 0.0f},
        {0x1.c7bc28p+2f, 0x1.56a07cp-1f, 0.0f},  {0x1.49228cp+1f, 0.0f, 0x1.146394p-1f},
        {0x1.6147c4p+2f, 0.0f, -0x1.61e7fap-1f}, {0x1.3a28b4p+2f, 0x1.8f895ap-3f, 0.0f},
        {0x1.46b9b2p+2f, 0x1.87dd2ap-2f, 0.0f},  {0x1.858ea4p+2f, 0.0f, -0x1.8f8deap-3f},
    };
    for (const Case& c : cases) {
        if (c.cosine != 0.0f) {
            EXPECT_EQ(CosF(c.angle), c.cosine) << c.angle;
        }
        if (c.sine != 0.0f) {
            EXPECT_EQ(SinF(c.angle), c.sine) << c.angle;
        }
    }
}

// Seen from above a box shows its bottom face: drawn after the top, lit from
// below with the ambient 0.46 only, then tinted 0.9 for its low height.
TEST(MapShapes, BoxShowsItsBottomFace) {
    TopDownBaker baker{};
    baker.Begin(Vector2{-4.0f, -4.0f}, 8.0f, 24);
    chunkgen::AddBox(MapBuilder{&baker}, Vector3{0.0f, -8.0f, 0.0f}, Vector3{1.0f, 1.0f, 1.0f},
                     Color{200, 100, 50, 255});
    const uint32_t centre = baker.pixels[12 * 24 + 12];
    const uint32_t outside = baker.pixels[1 * 24 + 1];
    Image image = baker.Finish();
    const auto* p = reinterpret_cast<const unsigned char*>(&centre);
    EXPECT_EQ(p[0], 72);
    EXPECT_EQ(p[1], 36);
    EXPECT_EQ(p[2], 17);
    EXPECT_EQ(p[3], 255);
    const auto* q = reinterpret_cast<const unsigned char*>(&outside);
    EXPECT_EQ(q[0], 14);
    UnloadImage(image);
}

}  // namespace
