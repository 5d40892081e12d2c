// marauders_test.cpp: camps and marauders without a window: the seeded layout
// of a settlement's camp, the raided set and the list limits, and one
// marauder's wandering, chasing and attacks on real terrain.
#include <gtest/gtest.h>

#include <cmath>
#include <unordered_set>
#include <vector>

#include "game/rules/marauders.h"
#include "world/world.h"
#include "world/world_queries.h"

namespace {

constexpr uint32_t kSeed = 20261113u;
constexpr float kDt = 1.0f / 60.0f;

float Flat(Vector2 a, Vector2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

float Flat(Vector3 a, Vector3 b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

// Settlements of the seed around the origin, for camps built from real sites.
std::vector<SettlementInfo> Settlements(const World& world) {
    std::vector<SettlementInfo> out;
    world.CollectSettlements(Vector3{0.0f, 0.0f, 0.0f}, 6000.0f, out);
    return out;
}

// A spot where the ground within 30 units varies by less than half a unit,
// so that chase tests are not decided by slopes.
Vector2 FlatSpot(const WorldGen& gen) {
    for (int z = 0; z < 4000; z += 50) {
        for (int x = 0; x < 4000; x += 50) {
            const float fx = static_cast<float>(x);
            const float fz = static_cast<float>(z);
            const float h = gen.Height(fx, fz);
            bool flat = true;
            for (int dz = -30; dz <= 30 && flat; dz += 3) {
                for (int dx = -30; dx <= 30 && flat; dx += 3) {
                    const float g = gen.Height(fx + static_cast<float>(dx), fz + static_cast<float>(dz));
                    flat = std::fabs(g - h) < 0.5f;
                }
            }
            if (flat) return Vector2{fx, fz};
        }
    }
    return Vector2{0.0f, 0.0f};
}

class MarauderStep : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        world = new World(kSeed);
        spot = FlatSpot(world->gen);
    }
    static void TearDownTestSuite() {
        delete world;
        world = nullptr;
    }

    // The player's eye point standing on the ground dx, dz from the spot.
    Vector3 Eye(float dx, float dz, float above = 1.7f) const {
        const float x = spot.x + dx;
        const float z = spot.y + dz;
        return Vector3{x, world->gen.Height(x, z) + above, z};
    }

    Marauder Spawned(float dx, float dz, int armed) const {
        Marauder m;
        m.pos = Eye(dx, dz, 0.0f);
        m.home = Vector2{m.pos.x, m.pos.z};
        m.wanderTarget = m.home;
        m.wanderTimer = 5.0f;
        m.armed = armed;
        return m;
    }

    static World* world;
    static Vector2 spot;
};

World* MarauderStep::world = nullptr;
Vector2 MarauderStep::spot{};

}  // namespace

TEST(CampLayout, MaraudersPerSettlementType) {
    EXPECT_EQ(MaraudersPerCamp(0), 1);
    EXPECT_EQ(MaraudersPerCamp(1), 3);
    EXPECT_EQ(MaraudersPerCamp(2), 5);
    EXPECT_EQ(MaraudersPerCamp(7), 5);
    EXPECT_EQ(MaraudersPerCamp(-1), 5);
}

TEST(CampLayout, CampLiesBesideTheCentreWithTentsAroundIt) {
    World world(kSeed);
    const std::vector<SettlementInfo> sites = Settlements(world);
    ASSERT_GE(sites.size(), 3u);
    for (const SettlementInfo& site : sites) {
        const MarauderCamp camp = LayoutCamp(site, world.gen);
        EXPECT_EQ(camp.settlementId, site.key);
        EXPECT_EQ(camp.radius, 10.0f);
        EXPECT_EQ(camp.fire, 360.0f);
        EXPECT_EQ(camp.center.y, world.gen.Height(camp.center.x, camp.center.z));
        const float r = Flat(camp.center, site.position);
        EXPECT_GE(r, 0.32f * site.radius - 0.01f);
        EXPECT_LE(r, 0.58f * site.radius + 0.01f);
        const Vector2 c{camp.center.x, camp.center.z};
        for (int j = 0; j < 3; ++j) {
            const float d = Flat(camp.tents[j], c);
            EXPECT_GE(d, 3.2f - 1e-4f);
            EXPECT_LE(d, 4.6f + 1e-4f);
        }
        // Tents stand 2.1 radians apart around the centre.
        const float a0 = std::atan2(camp.tents[0].y - c.y, camp.tents[0].x - c.x);
        const float a1 = std::atan2(camp.tents[1].y - c.y, camp.tents[1].x - c.x);
        EXPECT_NEAR(std::remainder(a1 - a0, 6.2831853f), 2.1f, 1e-3f);
    }
}

TEST(CampLayout, MaraudersSpawnAroundTheCampWithSeededArms) {
    World world(kSeed);
    int armed = 0;
    int total = 0;
    for (const SettlementInfo& site : Settlements(world)) {
        const MarauderCamp camp = LayoutCamp(site, world.gen);
        const std::vector<Marauder> ms = LayoutMarauders(site, camp, 4, world.gen);
        ASSERT_EQ(static_cast<int>(ms.size()), MaraudersPerCamp(site.type));
        for (const Marauder& m : ms) {
            const float d = Flat(m.pos, camp.center);
            EXPECT_GE(d, 1.8f - 1e-4f);
            EXPECT_LE(d, 4.2f + 1e-4f);
            EXPECT_EQ(m.pos.y, world.gen.Height(m.pos.x, m.pos.z));
            EXPECT_EQ(m.home.x, m.pos.x);
            EXPECT_EQ(m.wanderTarget.y, m.pos.z);
            EXPECT_EQ(m.camp, 4);
            EXPECT_GE(m.wanderTimer, 1.0f);
            EXPECT_LE(m.wanderTimer, 4.0f);
            EXPECT_EQ(m.health, 70.0f);
            EXPECT_TRUE(m.alive);
            EXPECT_EQ(m.attackCooldown, 0.0f);
            armed += m.armed;
            ++total;
        }
    }
    // About 45 percent carry a gun.
    EXPECT_GT(armed, 0);
    EXPECT_LT(armed, total);
}

TEST(CampPitching, SameSettlementGivesTheSameCampInAFreshWorld) {
    World first(kSeed);
    const SettlementInfo site = Settlements(first).front();
    std::vector<Marauder> ms1;
    std::vector<MarauderCamp> camps1;
    std::unordered_set<uint64_t> raided1;
    const int n = PitchCamp(first, site.position, ms1, camps1, raided1);
    EXPECT_EQ(n, MaraudersPerCamp(site.type));

    // A load builds a new world and clears the raided set: the camp returns.
    World second(kSeed);
    std::vector<Marauder> ms2;
    std::vector<MarauderCamp> camps2;
    std::unordered_set<uint64_t> raided2;
    ASSERT_EQ(PitchCamp(second, site.position, ms2, camps2, raided2), n);
    ASSERT_EQ(camps2.size(), 1u);
    EXPECT_EQ(camps2[0].center.x, camps1[0].center.x);
    EXPECT_EQ(camps2[0].center.z, camps1[0].center.z);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(camps2[0].tents[j].x, camps1[0].tents[j].x);
        EXPECT_EQ(camps2[0].tents[j].y, camps1[0].tents[j].y);
    }
    ASSERT_EQ(ms2.size(), ms1.size());
    for (std::size_t i = 0; i < ms1.size(); ++i) {
        EXPECT_EQ(ms2[i].pos.x, ms1[i].pos.x);
        EXPECT_EQ(ms2[i].pos.z, ms1[i].pos.z);
        EXPECT_EQ(ms2[i].armed, ms1[i].armed);
    }
}

TEST(CampPitching, ARaidedSettlementGetsNoSecondCamp) {
    World world(kSeed);
    const std::vector<SettlementInfo> sites = Settlements(world);
    ASSERT_GE(sites.size(), 2u);
    std::vector<Marauder> ms;
    std::vector<MarauderCamp> camps;
    std::unordered_set<uint64_t> raided;
    ASSERT_GT(PitchCamp(world, sites[0].position, ms, camps, raided), 0);
    EXPECT_EQ(raided.count(sites[0].key), 1u);
    const std::size_t count = ms.size();
    EXPECT_EQ(PitchCamp(world, sites[0].position, ms, camps, raided), 0);
    EXPECT_EQ(ms.size(), count);
    EXPECT_EQ(camps.size(), 1u);

    // Even once its camp was dropped, the settlement stays raided.
    camps.clear();
    ms.clear();
    EXPECT_EQ(PitchCamp(world, sites[0].position, ms, camps, raided), 0);

    // A second settlement gets its camp with the next index.
    camps.resize(3);
    ASSERT_GT(PitchCamp(world, sites[1].position, ms, camps, raided), 0);
    EXPECT_EQ(camps.size(), 4u);
    EXPECT_EQ(camps.back().settlementId, sites[1].key);
    EXPECT_EQ(ms.front().camp, 3);
}

TEST(CampPitching, NothingWithinReachPitchesNothing) {
    World world(kSeed);
    const SettlementInfo site = Settlements(world).front();
    std::vector<Marauder> ms;
    std::vector<MarauderCamp> camps;
    std::unordered_set<uint64_t> raided;
    // Far out in one direction, beyond 170 of any settlement found near the origin.
    SettlementInfo probe{};
    const Vector3 far{site.position.x + 171.0f, 0.0f, site.position.z};
    if (!world.NearestSettlement(far, 170.0f, probe)) {
        EXPECT_EQ(PitchCamp(world, far, ms, camps, raided), 0);
        EXPECT_TRUE(raided.empty());
        EXPECT_TRUE(camps.empty());
    }
    const Vector3 beside{site.position.x + 169.0f, 0.0f, site.position.z};
    EXPECT_GT(PitchCamp(world, beside, ms, camps, raided), 0);
}

TEST(CampPitching, OverlongListsAreEmptiedBeforeTheNewCamp) {
    World world(kSeed);
    const std::vector<SettlementInfo> sites = Settlements(world);
    ASSERT_GE(sites.size(), 2u);
    std::vector<Marauder> ms(201);
    std::vector<MarauderCamp> camps(41);
    std::unordered_set<uint64_t> raided;
    const int n = PitchCamp(world, sites[0].position, ms, camps, raided);
    EXPECT_EQ(static_cast<int>(ms.size()), n);
    ASSERT_EQ(camps.size(), 1u);
    EXPECT_EQ(ms.front().camp, 0);

    // At exactly 200 and 40 the lists are kept.
    std::vector<Marauder> full(200);
    std::vector<MarauderCamp> fullCamps(40);
    const int m = PitchCamp(world, sites[1].position, full, fullCamps, raided);
    EXPECT_EQ(static_cast<int>(full.size()), 200 + m);
    EXPECT_EQ(fullCamps.size(), 41u);
}

TEST(Wander, SeedTruncatesTowardZeroAndWraps) {
    EXPECT_EQ(WanderSeed(Vector2{1.0f, 2.0f}), 65u);
    EXPECT_EQ(WanderSeed(Vector2{0.05f, 0.0f}), 1u);
    EXPECT_EQ(WanderSeed(Vector2{-1.0f, 0.0f}), 4294967265u);
    EXPECT_EQ(WanderSeed(Vector2{-0.01f, 0.0f}), 0u);
    EXPECT_EQ(WanderSeed(Vector2{INFINITY, 0.0f}), 0u);
    EXPECT_EQ(WanderSeed(Vector2{NAN, 0.0f}), 0u);
}

TEST(Wander, GoalsLieAroundHomeAndFollowTheClock) {
    Marauder m;
    m.home = Vector2{120.0f, -40.0f};
    for (float c = 0.0f; c < 30.0f; c += 0.37f) {
        ChooseWanderGoal(m, c);
        const float r = Flat(m.wanderTarget, m.home);
        EXPECT_GE(r, 1.2f - 1e-4f);
        EXPECT_LE(r, 4.6f + 1e-4f);
        EXPECT_GE(m.wanderTimer, 3.0f);
        EXPECT_LE(m.wanderTimer, 7.0f);
    }
    Marauder a = m;
    Marauder b = m;
    ChooseWanderGoal(a, 12.5f);
    ChooseWanderGoal(b, 12.5f);
    EXPECT_EQ(a.wanderTarget.x, b.wanderTarget.x);
    EXPECT_EQ(a.wanderTimer, b.wanderTimer);
}

TEST_F(MarauderStep, FarPlayerLeavesItWandering) {
    float health = 100.0f;
    Marauder m = Spawned(0.0f, 0.0f, 0);
    m.wanderTarget = Vector2{m.home.x + 3.0f, m.home.y};
    m.attackCooldown = 0.5f;
    const Vector3 far = Eye(40.0f, 0.0f);
    EXPECT_EQ(StepMarauder(m, far, health, 1.0f, 0.1f, *world), MarauderBlow::None);
    EXPECT_NEAR(m.pos.x - m.home.x, 0.14f, 1e-4f);
    EXPECT_EQ(m.pos.y, world->gen.Height(m.pos.x, m.pos.z));
    EXPECT_NEAR(m.attackCooldown, 0.4f, 1e-6f);
    EXPECT_NEAR(m.wanderTimer, 4.9f, 1e-5f);
    EXPECT_EQ(health, 100.0f);
}

TEST_F(MarauderStep, ReachingTheGoalPicksANewOneWithoutMoving) {
    float health = 100.0f;
    Marauder m = Spawned(0.0f, 0.0f, 0);
    m.wanderTarget = Vector2{m.home.x + 0.6f, m.home.y};
    const Vector3 before = m.pos;
    StepMarauder(m, Eye(40.0f, 0.0f), health, 3.0f, kDt, *world);
    EXPECT_EQ(m.pos.x, before.x);
    EXPECT_EQ(m.pos.z, before.z);
    Marauder expect = Spawned(0.0f, 0.0f, 0);
    ChooseWanderGoal(expect, 3.0f);
    EXPECT_EQ(m.wanderTarget.x, expect.wanderTarget.x);
    EXPECT_EQ(m.wanderTimer, expect.wanderTimer);

    // A spent timer does the same even far from the goal.
    Marauder late = Spawned(0.0f, 0.0f, 0);
    late.wanderTarget = Vector2{late.home.x + 4.0f, late.home.y};
    late.wanderTimer = 0.01f;
    StepMarauder(late, Eye(40.0f, 0.0f), health, 3.0f, kDt, *world);
    EXPECT_EQ(late.pos.x, late.home.x);
    EXPECT_GE(late.wanderTimer, 3.0f);
}

TEST_F(MarauderStep, ChasesTheNearPlayerAndStopsShortOfHim) {
    float health = 100.0f;
    Marauder m = Spawned(0.0f, 0.0f, 0);
    m.attackCooldown = 5.0f;
    const Vector3 p = Eye(10.0f, 0.0f);
    StepMarauder(m, p, health, 0.0f, 0.1f, *world);
    EXPECT_NEAR(Flat(m.pos, p), 10.0f - 0.32f, 1e-3f);
    EXPECT_EQ(m.pos.y, world->gen.Height(m.pos.x, m.pos.z));
    // Cooldown is lowered without a floor while chasing.
    EXPECT_NEAR(m.attackCooldown, 4.9f, 1e-5f);

    // A long frame does not overshoot: it stops 1.8 from the player.
    Marauder near = Spawned(2.1f, 0.0f, 0);
    near.attackCooldown = 5.0f;
    const Vector3 q = Eye(0.0f, 0.0f);
    StepMarauder(near, q, health, 0.0f, 0.05f * 10.0f, *world);
    EXPECT_NEAR(Flat(near.pos, q), 1.8f, 1e-4f);
}

TEST_F(MarauderStep, AtOnePointNineItHoldsAndStabsWhenReady) {
    float health = 100.0f;
    Marauder m = Spawned(1.9f, 0.0f, 0);
    m.attackCooldown = 0.05f;
    const Vector3 p = Eye(0.0f, 0.0f);
    const Vector3 start = m.pos;
    EXPECT_EQ(StepMarauder(m, p, health, 0.0f, kDt, *world), MarauderBlow::None);
    EXPECT_EQ(m.pos.x, start.x);
    EXPECT_EQ(m.pos.z, start.z);
    EXPECT_EQ(health, 100.0f);
    int blows = 0;
    for (int i = 0; i < 60; ++i) {
        const MarauderBlow blow = StepMarauder(m, p, health, 0.0f, kDt, *world);
        if (blow == MarauderBlow::Knife) ++blows;
        EXPECT_NE(blow, MarauderBlow::Gun);
    }
    // One stab as soon as the cooldown ran out, the next a second later.
    EXPECT_EQ(blows, 1);
    EXPECT_EQ(health, 92.0f);
    EXPECT_EQ(m.pos.x, start.x);
    EXPECT_STREQ(MarauderBlowMessage(MarauderBlow::Knife), "Мародёр ударил ножом");
}

TEST_F(MarauderStep, KnifeOutOfReachStrikesTheMomentItArrives) {
    float health = 100.0f;
    Marauder m = Spawned(2.6f, 0.0f, 0);
    const Vector3 p = Eye(0.0f, 0.0f);
    // 2.6 away: it steps in but the reach was measured before the step.
    EXPECT_EQ(StepMarauder(m, p, health, 0.0f, 0.1f, *world), MarauderBlow::None);
    EXPECT_LT(m.attackCooldown, 0.0f);
    EXPECT_EQ(StepMarauder(m, p, health, 0.0f, 0.1f, *world), MarauderBlow::Knife);
    EXPECT_EQ(health, 92.0f);
    EXPECT_EQ(m.attackCooldown, 1.0f);
}

TEST_F(MarauderStep, GunFiresOnlyWithASightLine) {
    const Vector3 p = Eye(0.0f, 0.0f);
    float health = 100.0f;
    Marauder open = Spawned(20.0f, 0.0f, 1);
    EXPECT_EQ(StepMarauder(open, p, health, 0.0f, kDt, *world), MarauderBlow::Gun);
    EXPECT_EQ(health, 90.0f);
    EXPECT_EQ(open.attackCooldown, 1.7f);
    EXPECT_STREQ(MarauderBlowMessage(MarauderBlow::Gun), "Мародёр выстрелил в тебя");

    // A wall halfway between: no shot, but it keeps closing in.
    World walled(kSeed);
    const int cx = static_cast<int>(std::floor((spot.x + 10.0f) / 64.0f));
    const int cz = static_cast<int>(std::floor(spot.y / 64.0f));
    Chunk chunk{};
    chunk.cx = cx;
    chunk.cz = cz;
    chunk.built = true;
    chunk.walls.push_back(
        CollisionBox{Vector3{spot.x + 9.8f, 0.0f, spot.y - 3.0f}, Vector3{spot.x + 10.2f, 500.0f, spot.y + 3.0f}});
    walled.chunks[World::Key(cx, cz)] = chunk;
    Marauder hidden = Spawned(20.0f, 0.0f, 1);
    health = 100.0f;
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(StepMarauder(hidden, p, health, 0.0f, kDt, walled), MarauderBlow::None);
    }
    EXPECT_EQ(health, 100.0f);
    EXPECT_LT(Flat(hidden.pos, p), 20.0f - 1.5f);
}

TEST_F(MarauderStep, GunnerCloseByStillShoots) {
    const Vector3 p = Eye(0.0f, 0.0f);
    float health = 100.0f;
    Marauder m = Spawned(1.5f, 0.0f, 1);
    EXPECT_EQ(StepMarauder(m, p, health, 0.0f, kDt, *world), MarauderBlow::Gun);
    EXPECT_EQ(health, 90.0f);
}

TEST_F(MarauderStep, PlayerFourAboveItsGroundIsNeitherChasedNorHit) {
    float health = 100.0f;
    Marauder m = Spawned(1.9f, 0.0f, 0);
    m.wanderTarget = Vector2{m.home.x + 3.0f, m.home.y};
    const float ground = world->gen.Height(m.pos.x, m.pos.z);
    Vector3 aloft = Eye(0.0f, 0.0f);
    aloft.y = ground + 4.05f;
    EXPECT_EQ(StepMarauder(m, aloft, health, 0.0f, 0.1f, *world), MarauderBlow::None);
    // It wandered away from the player toward its goal instead.
    EXPECT_NEAR(m.pos.x - m.home.x, 0.14f, 1e-4f);
    EXPECT_EQ(health, 100.0f);

    Marauder gunner = Spawned(10.0f, 0.0f, 1);
    for (int i = 0; i < 100; ++i) StepMarauder(gunner, aloft, health, 0.0f, kDt, *world);
    EXPECT_EQ(health, 100.0f);
}

TEST_F(MarauderStep, DeadPlayerIsLeftAloneAndHealthNeverGoesBelowZero) {
    const Vector3 p = Eye(0.0f, 0.0f);
    float health = 5.0f;
    Marauder m = Spawned(1.9f, 0.0f, 0);
    EXPECT_EQ(StepMarauder(m, p, health, 0.0f, kDt, *world), MarauderBlow::Knife);
    EXPECT_EQ(health, 0.0f);
    Marauder other = Spawned(-1.9f, 0.0f, 1);
    EXPECT_EQ(StepMarauder(other, p, health, 0.0f, kDt, *world), MarauderBlow::None);
    EXPECT_EQ(health, 0.0f);
}
