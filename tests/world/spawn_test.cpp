// spawn_test.cpp: the spawn point and view, the debug search for biomes and
// settlements by name, settlement searches around a point, and the first
// loaded item or cabinet.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>
#include "world/rounded_trig.h"
#include "world/settlement_sites.h"
#include "world/world.h"
#include "world/world_queries.h"

namespace {

constexpr uint32_t kSeed = 20261113u;

class WorldSearch : public ::testing::Test {
protected:
    World world{kSeed};
};

// Sum of the view scores of one yaw, weighted toward near ground.
float YawScore(const World& world, Vector3 p, float yaw) {
    float score = 0.0f;
    for (const float d : {110.0f, 180.0f, 260.0f}) {
        score += (1.0f - d / 400.0f) * world.gen.Height(p.x + d * SinF(yaw), p.z - d * CosF(yaw));
    }
    return score;
}

TEST_F(WorldSearch, SpawnPointIsTheHighestPointOfItsGrid) {
    const Vector3 spawn = world.SpawnPoint();
    const float ground = world.gen.Height(spawn.x, spawn.z);
    EXPECT_EQ(spawn.y, ground + 1.8f);
    const bool origin = spawn.x == 0.0f && spawn.z == 0.0f;
    const bool onGrid = std::fmod(spawn.x + 120.0f, 20.0f) == 0.0f && std::fmod(spawn.z + 120.0f, 20.0f) == 0.0f &&
                        std::fabs(spawn.x) <= 120.0f && std::fabs(spawn.z) <= 120.0f;
    EXPECT_TRUE(origin || onGrid);
    EXPECT_GE(ground, world.gen.Height(0.0f, 0.0f));
    for (int z = -120; z <= 120; z += 20) {
        for (int x = -120; x <= 120; x += 20) {
            EXPECT_GE(ground, world.gen.Height(static_cast<float>(x), static_cast<float>(z))) << x << "," << z;
        }
    }
    // The spawn point is the same on every call: the new-world and load paths agree.
    const Vector3 again = world.SpawnPoint();
    EXPECT_EQ(again.x, spawn.x);
    EXPECT_EQ(again.z, spawn.z);
}

TEST_F(WorldSearch, SpawnYawIsOneOfThirtyTwoDirectionsAndScoresBest) {
    for (const uint32_t seed : {kSeed, 1u, 987654321u}) {
        const World w(seed);
        const float yaw = w.SpawnYaw();
        int index = -1;
        for (int i = 0; i < 32; ++i) {
            if (yaw == static_cast<float>(i) * 6.28318f * 0.03125f) index = i;
        }
        ASSERT_GE(index, 0) << "seed " << seed << " yaw " << yaw;
        const Vector3 p = w.SpawnPoint();
        const float best = YawScore(w, p, yaw);
        for (int i = 0; i < 32; ++i) {
            const float other = static_cast<float>(i) * 6.28318f * 0.03125f;
            // Earlier directions must score strictly lower, later ones no higher.
            if (i < index) {
                EXPECT_LT(YawScore(w, p, other), best) << i;
            } else if (i > index) {
                EXPECT_LE(YawScore(w, p, other), best) << i;
            }
        }
    }
}

TEST_F(WorldSearch, FindBiomeRefusesUnknownNamesAndLeavesOutAlone) {
    const Vector3 untouched{1.0f, 2.0f, 3.0f};
    for (const char* name : {static_cast<const char*>(nullptr), "Water", "Village", "forest", "", "glacier_",
                             "glacier_forest", "hills_mountain"}) {
        Vector3 out = untouched;
        EXPECT_FALSE(world.FindBiome(name, 4000.0f, out)) << (name ? name : "null");
        EXPECT_EQ(out.x, untouched.x);
        EXPECT_EQ(out.y, untouched.y);
        EXPECT_EQ(out.z, untouched.z);
    }
    Vector3 out = untouched;
    EXPECT_FALSE(world.FindBiome("glacier", -1.0f, out));
    EXPECT_EQ(out.x, untouched.x);
}

TEST_F(WorldSearch, VillageSearchCoversEighteenCellsWhateverTheRadius) {
    Vector3 small{};
    Vector3 large{};
    Vector3 negative{};
    ASSERT_TRUE(world.FindBiome("village", 100.0f, small));
    ASSERT_TRUE(world.FindBiome("village", 12600.0f, large));
    ASSERT_TRUE(world.FindBiome("village", -50.0f, negative));
    EXPECT_EQ(small.x, large.x);
    EXPECT_EQ(small.z, large.z);
    EXPECT_EQ(small.x, negative.x);

    // The view point lies south of a real village centre, raised 35 units.
    const cfg::SettlementKind& village = cfg::settlementKinds[0];
    const float centreZ = small.z + 2.2f * village.radius + 20.0f;
    const int sx = SettlementCellOf(small.x);
    const int sz = SettlementCellOf(centreZ);
    ASSERT_TRUE(IsSettlementCandidate(world.gen.seed, sx, sz));
    const SettlementSite site = SettlementAtCell(world.gen.seed, sx, sz, &world.gen);
    ASSERT_TRUE(site.valid);
    EXPECT_EQ(site.type, 0);
    EXPECT_EQ(site.center.x, small.x);
    EXPECT_EQ(site.center.z - 2.2f * site.radius - 20.0f, small.z);
    EXPECT_EQ(small.y, world.gen.Height(site.center.x, site.center.z) + 35.0f);

    // No village of the searched cells lies nearer the origin.
    const float d2 = site.center.x * site.center.x + site.center.z * site.center.z;
    for (int cz = -18; cz <= 18; ++cz) {
        for (int cx = -18; cx <= 18; ++cx) {
            if (!IsSettlementCandidate(world.gen.seed, cx, cz)) continue;
            const SettlementSite other = SettlementAtCell(world.gen.seed, cx, cz, &world.gen);
            if (!other.valid || other.type != 0) continue;
            EXPECT_GE(other.center.x * other.center.x + other.center.z * other.center.z, d2);
        }
    }
}

TEST_F(WorldSearch, BiomePrefixRestrictsSettlementsToThatBiome) {
    int checked = 0;
    for (const uint32_t seed : {kSeed, 7u, 424242u, 99u}) {
        const World w(seed);
        const char* names[] = {"glacier_town", "plain_village", "hills_village", "mountain_city"};
        const int types[] = {1, 0, 0, 2};
        for (int i = 0; i < 4; ++i) {
            Vector3 out{};
            if (!w.FindBiome(names[i], 4000.0f, out)) continue;
            const float radius = cfg::settlementKinds[types[i]].radius;
            const float cz = out.z + 2.2f * radius + 20.0f;
            const SettlementSite site = SettlementAtCell(w.gen.seed, SettlementCellOf(out.x), SettlementCellOf(cz),
                                                         &w.gen);
            ASSERT_TRUE(site.valid) << names[i];
            EXPECT_EQ(site.type, types[i]) << names[i];
            const WorldSample s = w.gen.Sample(site.center.x, site.center.z);
            const float weights[] = {s.glacier, s.plain, s.hills, s.mountain};
            EXPECT_GT(weights[i], 0.5f) << names[i] << " seed " << seed;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST_F(WorldSearch, BiomeSearchPicksTheBestGridPointAboveTheWaterLimit) {
    Vector3 out{};
    ASSERT_TRUE(world.FindBiome("plain", 4000.0f, out));
    const WorldSample s = world.gen.Sample(out.x, out.z);
    EXPECT_GT(s.plain, 0.05f);
    EXPECT_LE(s.water, 0.25f);
    EXPECT_EQ(out.y, s.height + 8.0f);
    EXPECT_EQ(std::fmod(out.x + 4000.0f, 64.0f), 0.0f);
    EXPECT_EQ(std::fmod(out.z + 4000.0f, 64.0f), 0.0f);

    // "mountain" and "mountains" score alike.
    Vector3 a{};
    Vector3 b{};
    ASSERT_EQ(world.FindBiome("mountain", 2000.0f, a), world.FindBiome("mountains", 2000.0f, b));
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.z, b.z);
}

// The biome search samples its grid in batches; it must pick exactly the
// point a plain walk of gen.Sample picks, ties to the first, for short rows
// (many rows per batch) and long ones (rows spanning batches).
TEST_F(WorldSearch, BiomeSearchAgreesWithAPlainWalkOfItsGrid) {
    struct Named {
        const char* name;
        float WorldSample::*field;
        bool anyWater;
    };
    const Named kNames[] = {{"glacier", &WorldSample::glacier, false},
                            {"plain", &WorldSample::plain, false},
                            {"hills", &WorldSample::hills, false},
                            {"mountain", &WorldSample::mountain, false},
                            {"water", &WorldSample::water, true}};
    for (const uint32_t seed : {kSeed, 7u}) {
        const World w(seed);
        for (const float radius : {0.0f, 100.0f, 1500.0f, 4000.0f}) {
            std::vector<Vector3> points;
            std::vector<WorldSample> samples;
            for (int j = 0;; ++j) {
                const float z = -radius + 64.0f * static_cast<float>(j);
                if (z > radius) break;
                for (int i = 0;; ++i) {
                    const float x = -radius + 64.0f * static_cast<float>(i);
                    if (x > radius) break;
                    points.push_back(Vector3{x, 0.0f, z});
                    samples.push_back(w.gen.Sample(x, z));
                }
            }
            for (const Named& n : kNames) {
                bool wantFound = false;
                float best = 0.05f;
                Vector3 want{};
                for (size_t k = 0; k < samples.size(); ++k) {
                    const WorldSample& s = samples[k];
                    if (!n.anyWater && s.water > 0.25f) continue;
                    if (s.*n.field > best) {
                        best = s.*n.field;
                        wantFound = true;
                        want = Vector3{points[k].x, s.height + 8.0f, points[k].z};
                    }
                }
                Vector3 got{};
                ASSERT_EQ(w.FindBiome(n.name, radius, got), wantFound) << n.name << " " << radius << " seed " << seed;
                if (!wantFound) continue;
                EXPECT_EQ(got.x, want.x) << n.name << " " << radius << " seed " << seed;
                EXPECT_EQ(got.y, want.y) << n.name << " " << radius << " seed " << seed;
                EXPECT_EQ(got.z, want.z) << n.name << " " << radius << " seed " << seed;
            }
        }
    }
}

TEST_F(WorldSearch, WaterSearchIgnoresTheWaterLimit) {
    bool wetFound = false;
    for (const uint32_t seed : {kSeed, 3u, 55u, 1234u}) {
        const World w(seed);
        Vector3 out{};
        if (!w.FindBiome("water", 4000.0f, out)) continue;
        const WorldSample s = w.gen.Sample(out.x, out.z);
        EXPECT_GT(s.water, 0.05f);
        if (s.water > 0.25f) wetFound = true;
    }
    EXPECT_TRUE(wetFound);
}

TEST_F(WorldSearch, FindBiomeWithARadiusThatIsNotFiniteFindsNothing) {
    const Vector3 untouched{1.0f, 2.0f, 3.0f};
    for (const char* name : {"village", "hills_town", "plain", "water"}) {
        for (const float radius : {NAN, INFINITY, -INFINITY}) {
            Vector3 out = untouched;
            EXPECT_FALSE(world.FindBiome(name, radius, out)) << name << " " << radius;
            EXPECT_EQ(out.x, untouched.x);
            EXPECT_EQ(out.z, untouched.z);
        }
    }
}

// ---- settlements around a point -----------------------------------------------

TEST_F(WorldSearch, NearestSettlementNeedsAPositiveRadius) {
    SettlementInfo info{};
    ASSERT_TRUE(world.NearestSettlement(Vector3{0, 0, 0}, 6000.0f, info));
    SettlementInfo untouched{};
    EXPECT_FALSE(world.NearestSettlement(Vector3{0, 0, 0}, 0.0f, untouched));
    EXPECT_FALSE(world.NearestSettlement(Vector3{0, 0, 0}, -6000.0f, untouched));
    EXPECT_EQ(untouched.key, 0u);
}

TEST_F(WorldSearch, NearestSettlementDescribesItsSite) {
    SettlementInfo info{};
    ASSERT_TRUE(world.NearestSettlement(Vector3{0, 0, 0}, 6000.0f, info));
    const int sx = static_cast<int>(static_cast<uint32_t>(info.key >> 32));
    const int sz = static_cast<int>(static_cast<uint32_t>(info.key));
    EXPECT_EQ(sx, SettlementCellOf(info.position.x));
    EXPECT_EQ(sz, SettlementCellOf(info.position.z));
    const SettlementSite site = SettlementAtCell(world.gen.seed, sx, sz, &world.gen);
    ASSERT_TRUE(site.valid);
    EXPECT_EQ(info.type, site.type);
    EXPECT_EQ(info.radius, site.radius);
    EXPECT_EQ(info.position.x, site.center.x);
    EXPECT_EQ(info.position.z, site.center.z);
    EXPECT_EQ(info.position.y, world.gen.Height(site.center.x, site.center.z));

    // Every settlement gathered around the origin lies no nearer.
    std::vector<SettlementInfo> all;
    world.CollectSettlements(Vector3{0, 0, 0}, 6000.0f, all);
    ASSERT_FALSE(all.empty());
    const float best = info.position.x * info.position.x + info.position.z * info.position.z;
    bool listed = false;
    for (const SettlementInfo& s : all) {
        EXPECT_GE(s.position.x * s.position.x + s.position.z * s.position.z, best);
        listed = listed || s.key == info.key;
    }
    EXPECT_TRUE(listed);
}

TEST_F(WorldSearch, ASettlementExactlyAtTheRadiusIsCollectedButNotNearest) {
    SettlementInfo info{};
    ASSERT_TRUE(world.NearestSettlement(Vector3{0, 0, 0}, 6000.0f, info));
    // A point about 300 units west of the centre; the radius is its distance
    // in the same float arithmetic, so the centre lies exactly on it.
    const Vector3 p{info.position.x - 300.0f, 0.0f, info.position.z};
    const float r = info.position.x - p.x;

    SettlementInfo out{};
    EXPECT_FALSE(world.NearestSettlement(p, r, out));
    ASSERT_TRUE(world.NearestSettlement(p, r + 0.5f, out));
    EXPECT_EQ(out.key, info.key);

    std::vector<SettlementInfo> found;
    world.CollectSettlements(p, r, found);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].key, info.key);
    world.CollectSettlements(p, r - 0.5f, found);
    EXPECT_TRUE(found.empty());
}

TEST_F(WorldSearch, CollectingWithNoRadiusClearsTheList) {
    std::vector<SettlementInfo> found(3, SettlementInfo{});
    world.CollectSettlements(Vector3{0, 0, 0}, 0.0f, found);
    EXPECT_TRUE(found.empty());
}

TEST_F(WorldSearch, SettlementSearchesRefuseEndlessRadiiAndUnplacedPoints) {
    // The nearest search caps itself at 8 cells, so an endless radius finds
    // what the largest finite one finds.
    SettlementInfo capped{};
    SettlementInfo endless{};
    ASSERT_TRUE(world.NearestSettlement(Vector3{0, 0, 0}, 5600.0f, capped));
    ASSERT_TRUE(world.NearestSettlement(Vector3{0, 0, 0}, INFINITY, endless));
    EXPECT_EQ(endless.key, capped.key);
    SettlementInfo none{};
    EXPECT_FALSE(world.NearestSettlement(Vector3{NAN, 0, 0}, 6000.0f, none));
    EXPECT_FALSE(world.NearestSettlement(Vector3{0, 0, INFINITY}, 6000.0f, none));
    EXPECT_EQ(none.key, 0u);

    std::vector<SettlementInfo> found;
    world.CollectSettlements(Vector3{0, 0, 0}, 6000.0f, found);
    ASSERT_FALSE(found.empty());
    world.CollectSettlements(Vector3{0, 0, 0}, INFINITY, found);
    EXPECT_TRUE(found.empty());
    world.CollectSettlements(Vector3{0, 0, 0}, 6000.0f, found);
    world.CollectSettlements(Vector3{NAN, 0, 0}, 6000.0f, found);
    EXPECT_TRUE(found.empty());
}

// ---- first loaded item and cabinet -----------------------------------------------

TEST_F(WorldSearch, FirstItemAndCabinetNeedLoadedOnes) {
    Vector3 out{7, 7, 7};
    EXPECT_FALSE(world.FirstItem(out));
    EXPECT_FALSE(world.FirstCabinet(out));
    EXPECT_EQ(out.x, 7.0f);

    Chunk chunk{};
    chunk.cx = 2;
    chunk.cz = 3;
    chunk.items.push_back(WorldItem{1, Vector3{130, 1, 200}, ItemType::Ammo});
    chunk.items.push_back(WorldItem{2, Vector3{140, 1, 200}, ItemType::Ammo});
    chunk.cabinets.push_back(WorldCabinet{3, Vector3{150, 2, 210}});
    world.chunks[World::Key(2, 3)] = chunk;
    world.chunks[World::Key(0, 0)] = Chunk{};

    ASSERT_TRUE(world.FirstItem(out));
    EXPECT_EQ(out.x, 130.0f);
    // A searched cabinet is still returned.
    world.SearchCabinet(3);
    ASSERT_TRUE(world.FirstCabinet(out));
    EXPECT_EQ(out.x, 150.0f);
    EXPECT_EQ(out.y, 2.0f);
}

}  // namespace
