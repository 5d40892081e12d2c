// settlement_test.cpp: the home settlement's seeded layout, the furnace's
// repair, fuel and heat, the saved state, freezing survivors and collision.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>
#include "actors/settlement.h"
#include "world/world.h"

namespace {

constexpr uint32_t kSeed = 20261113;
constexpr Vector3 kSpawn = {10.0f, 0.0f, -20.0f};

const World& TestWorld() {
    static const World world(kSeed);
    return world;
}

HomeSettlement MakeHome(uint32_t seed) {
    HomeSettlement home;
    home.Generate(seed, TestWorld(), kSpawn);
    return home;
}

float DistanceXZ(float x, float z, float cx, float cz) {
    return std::sqrt((x - cx) * (x - cx) + (z - cz) * (z - cz));
}

void ExpectSameLayout(const HomeSettlement& a, const HomeSettlement& b) {
    EXPECT_EQ(a.rng, b.rng);
    ASSERT_EQ(a.huts.size(), b.huts.size());
    for (size_t i = 0; i < a.huts.size(); ++i) {
        EXPECT_EQ(a.huts[i].x, b.huts[i].x);
        EXPECT_EQ(a.huts[i].z, b.huts[i].z);
        EXPECT_EQ(a.huts[i].height, b.huts[i].height);
    }
    ASSERT_EQ(a.survivors.size(), b.survivors.size());
    for (size_t i = 0; i < a.survivors.size(); ++i) {
        EXPECT_EQ(a.survivors[i].pos.x, b.survivors[i].pos.x);
        EXPECT_EQ(a.survivors[i].pos.z, b.survivors[i].pos.z);
        EXPECT_EQ(a.survivors[i].facing, b.survivors[i].facing);
    }
}

// Collects info log lines while a test runs.
std::vector<std::string> gLogLines;

void CollectLog(int level, const char* text, va_list args) {
    if (level != LOG_INFO) {
        return;
    }
    char line[256];
    vsnprintf(line, sizeof line, text, args);
    gLogLines.emplace_back(line);
}

class SettlementLog : public ::testing::Test {
protected:
    void SetUp() override {
        gLogLines.clear();
        SetTraceLogLevel(LOG_INFO);
        SetTraceLogCallback(CollectLog);
    }
    void TearDown() override { SetTraceLogCallback(nullptr); }
};

}  // namespace

TEST(SettlementGenerate, RandomStreamMatchesItsCheckValues) {
    HomeSettlement home;
    home.rng = 1u * 747796405u + 2891336453u;
    EXPECT_EQ(home.NextRandom(), 0.2646220624446869f);
    EXPECT_EQ(home.rng, 3611541061u);
    EXPECT_EQ(home.NextRandom(), 0.8849793076515198f);
    EXPECT_EQ(home.rng, 2984414720u);
}

TEST(SettlementGenerate, SeedsZeroAndOneGiveTheSameSettlement) {
    const HomeSettlement zero = MakeHome(0);
    const HomeSettlement one = MakeHome(1);
    EXPECT_EQ(zero.seed, 1u);
    EXPECT_EQ(one.seed, 1u);
    ExpectSameLayout(zero, one);
    ExpectSameLayout(MakeHome(kSeed), MakeHome(kSeed));

    const HomeSettlement other = MakeHome(2);
    EXPECT_NE(other.huts[0].x, one.huts[0].x);

    // The first hut takes the stream's first five draws: angle, radius,
    // width, depth, height.
    const float angle = (0.2646220624446869f - 0.5f) * 0.35f;
    const float radius = 17.0f + 7.0f * 0.8849793076515198f;
    const Hut& hut = one.huts[0];
    EXPECT_NEAR(hut.x, one.cx + std::cos(angle) * radius, 1e-4f);
    EXPECT_NEAR(hut.z, one.cz + std::sin(angle) * radius, 1e-4f);
    EXPECT_FLOAT_EQ(hut.width, 6.4f + 2.6f * 0.4891997277736664f);
    EXPECT_FLOAT_EQ(hut.depth, 5.4f + 2.2f * 0.6113937497138977f);
    EXPECT_FLOAT_EQ(hut.height, 2.2f + 1.4f * 0.7464985251426697f);
}

TEST(SettlementGenerate, SurvivorsDrawAfterTheHutsInTheirOrder) {
    const HomeSettlement home = MakeHome(kSeed);
    HomeSettlement stream;
    stream.rng = kSeed * 747796405u + 2891336453u;
    stream.cx = home.cx;
    stream.cz = home.cz;
    for (int i = 0; i < 25; ++i) {
        stream.NextRandom();
    }
    for (const Survivor& s : home.survivors) {
        const float angle = 6.28318f * stream.NextRandom();
        const float radius = 7.0f + 8.0f * stream.NextRandom();
        EXPECT_EQ(s.pos.x, home.cx + std::cos(angle) * radius);
        EXPECT_EQ(s.pos.z, home.cz + std::sin(angle) * radius);
        const Vector2 target = stream.RandomTarget(9.0f, 24.0f);
        EXPECT_EQ(s.target.x, target.x);
        EXPECT_EQ(s.target.y, target.y);
        EXPECT_EQ(s.warmth, 62.0f + 38.0f * stream.NextRandom());
        EXPECT_EQ(s.timer, 1.0f + 4.0f * stream.NextRandom());
        EXPECT_EQ(s.phase, 6.28318f * stream.NextRandom());
        EXPECT_EQ(s.facing, 6.28318f * stream.NextRandom());
    }
    EXPECT_EQ(home.rng, stream.rng) << "five draws per hut, eight per survivor";
}

TEST(SettlementGenerate, SeedWhoseStreamWouldStartAtZero) {
    // 449710063 * 747796405 + 2891336453 wraps to 0: the stream must not stall.
    const HomeSettlement home = MakeHome(449710063u);
    EXPECT_EQ(home.seed, 449710063u);
    EXPECT_NE(home.rng, 0u);
    EXPECT_NE(home.huts[0].width, home.huts[1].width);
}

TEST(SettlementGenerate, LayoutAroundTheSpawnPoint) {
    const World& world = TestWorld();
    const HomeSettlement home = MakeHome(kSeed);
    EXPECT_FLOAT_EQ(home.cx, kSpawn.x + 96.0f);
    EXPECT_FLOAT_EQ(home.cz, kSpawn.z + 40.0f);
    EXPECT_FLOAT_EQ(home.cy, world.gen.Height(home.cx, home.cz));
    EXPECT_TRUE(home.broken);
    EXPECT_FLOAT_EQ(home.partX, home.cx - 8.2f);
    EXPECT_FLOAT_EQ(home.partZ, home.cz + 1.5f);
    EXPECT_FLOAT_EQ(home.partY, world.gen.Height(home.partX, home.partZ) + 0.25f);

    ASSERT_EQ(home.huts.size(), 5u);
    for (size_t i = 0; i < home.huts.size(); ++i) {
        const Hut& hut = home.huts[i];
        const float d = DistanceXZ(hut.x, hut.z, home.cx, home.cz);
        EXPECT_GE(d, 17.0f - 1e-3f);
        EXPECT_LE(d, 24.0f + 1e-3f);
        EXPECT_EQ(hut.chimney, i % 2 == 0);
    }
    ASSERT_EQ(home.survivors.size(), 8u);
    for (const Survivor& s : home.survivors) {
        const float d = DistanceXZ(s.pos.x, s.pos.z, home.cx, home.cz);
        EXPECT_GE(d, 7.0f - 1e-3f);
        EXPECT_LE(d, 15.0f + 1e-3f);
        const float t = DistanceXZ(s.target.x, s.target.y, home.cx, home.cz);
        EXPECT_GE(t, 9.0f - 1e-3f);
        EXPECT_LE(t, 24.0f + 1e-3f);
        EXPECT_FLOAT_EQ(s.pos.y, world.gen.Height(s.pos.x, s.pos.z));
        EXPECT_GE(s.warmth, 62.0f);
        EXPECT_TRUE(s.alive);
    }
}

TEST(SettlementFurnace, BrokenFurnaceEatsItsFuel) {
    HomeSettlement home = MakeHome(kSeed);
    home.AddFuel(120.0f);
    EXPECT_FLOAT_EQ(home.fuel, 120.0f) << "fuel goes in whatever the state";
    home.Update(0.1f, TestWorld());
    EXPECT_EQ(home.fuel, 0.0f);
    EXPECT_EQ(home.heat, 0.0f);
    EXPECT_FLOAT_EQ(home.elapsed, 0.1f);
}

TEST(SettlementFurnace, ThreePartsRepairItAndAFourthDoesNothing) {
    HomeSettlement home = MakeHome(kSeed);
    EXPECT_FALSE(home.InstallPart());
    EXPECT_FALSE(home.InstallPart());
    EXPECT_TRUE(home.broken);
    EXPECT_EQ(home.parts, 2);
    EXPECT_TRUE(home.InstallPart());
    EXPECT_FALSE(home.broken);
    EXPECT_EQ(home.parts, 3);
    EXPECT_FLOAT_EQ(home.fuel, 300.0f);
    EXPECT_FLOAT_EQ(home.heat, 0.2f);
    EXPECT_FALSE(home.InstallPart());
    EXPECT_EQ(home.parts, 3);
    EXPECT_FLOAT_EQ(home.fuel, 300.0f);

    // Fuel burns by the second while the heat climbs to its cap.
    home.Update(1.0f, TestWorld());
    EXPECT_FLOAT_EQ(home.fuel, 299.0f);
    EXPECT_NEAR(home.heat, 0.34f, 1e-6f);
    home.Update(10.0f, TestWorld());
    EXPECT_FLOAT_EQ(home.fuel, 289.0f);
    EXPECT_FLOAT_EQ(home.heat, 1.0f);

    // The last half second still heats; afterwards the heat decays slowly.
    home.fuel = 0.5f;
    home.heat = 0.5f;
    home.Update(1.0f, TestWorld());
    EXPECT_EQ(home.fuel, 0.0f);
    EXPECT_NEAR(home.heat, 0.64f, 1e-6f);
    home.Update(10.0f, TestWorld());
    EXPECT_NEAR(home.heat, 0.52f, 1e-6f);
    home.Update(100.0f, TestWorld());
    EXPECT_EQ(home.heat, 0.0f);
}

TEST(SettlementFurnace, FuelIsCappedAndWantedBelow1799) {
    HomeSettlement home = MakeHome(kSeed);
    EXPECT_FLOAT_EQ(home.maxFuel(), 1800.0f);
    EXPECT_TRUE(home.needsFuel());
    home.AddFuel(5000.0f);
    EXPECT_FLOAT_EQ(home.fuel, 1800.0f);
    EXPECT_FALSE(home.needsFuel());
    home.AddFuel(-1.0f);
    EXPECT_FALSE(home.needsFuel());
    home.AddFuel(-0.5f);
    EXPECT_TRUE(home.needsFuel());
    home.AddFuel(-5000.0f);
    EXPECT_EQ(home.fuel, 0.0f);
}

TEST(SettlementFurnace, HeatProfile) {
    HomeSettlement home = MakeHome(kSeed);
    home.heat = 1.0f;
    const auto at = [&home](float d, float dy) { return home.heatAt({home.cx + d, home.cy + dy, home.cz}); };
    EXPECT_FLOAT_EQ(at(0.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(at(13.5f, 0.0f), 1.0f);
    EXPECT_NEAR(at(24.75f, 0.0f), 0.5f, 1e-4f);
    EXPECT_NEAR(at(35.0f, 0.0f), 1.6f / 36.0f, 1e-4f);
    EXPECT_EQ(at(36.0f, 0.0f), 0.0f);
    EXPECT_EQ(at(80.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(at(0.0f, 8.0f), 1.0f);
    EXPECT_EQ(at(0.0f, 8.1f), 0.0f) << "too far above the furnace";
    EXPECT_FLOAT_EQ(at(0.0f, -500.0f), 1.0f) << "no lower limit";
    home.heat = 0.5f;
    EXPECT_FLOAT_EQ(at(5.0f, 0.0f), 0.5f);
    EXPECT_NEAR(at(24.75f, 0.0f), 0.25f, 1e-4f);
}

TEST(SettlementFurnace, NearFurnaceAndLoosePart) {
    HomeSettlement home = MakeHome(kSeed);
    EXPECT_TRUE(home.nearFurnace({home.cx + 6.0f, home.cy + 4.5f, home.cz + 8.0f}));
    EXPECT_FALSE(home.nearFurnace({home.cx + 6.0f, home.cy + 4.6f, home.cz + 8.0f}));
    EXPECT_FALSE(home.nearFurnace({home.cx + 6.1f, home.cy, home.cz + 8.0f}));
    EXPECT_TRUE(home.nearLoosePart({home.partX, home.partY - 4.5f, home.partZ + 3.0f}));
    EXPECT_FALSE(home.nearLoosePart({home.partX + 3.1f, home.partY, home.partZ}));
    home.partTaken = true;
    EXPECT_FALSE(home.nearLoosePart({home.partX, home.partY, home.partZ}));
}

TEST(SettlementRestore, ClampsTheSavedValues) {
    HomeSettlement home = MakeHome(kSeed);
    home.RestoreState(900.0f, 8, true, 1, false);
    EXPECT_EQ(home.fuel, 0.0f) << "a broken furnace keeps no fuel";
    EXPECT_EQ(home.heat, 0.0f);
    EXPECT_TRUE(home.broken);
    EXPECT_EQ(home.parts, 1);

    home.RestoreState(5000.0f, 8, false, 3, true);
    EXPECT_FLOAT_EQ(home.fuel, 1800.0f);
    EXPECT_FLOAT_EQ(home.heat, 0.85f);
    EXPECT_FALSE(home.broken);
    EXPECT_TRUE(home.partTaken);

    for (float damaged : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(), -20.0f}) {
        home.RestoreState(damaged, 8, false, 3, true);
        EXPECT_EQ(home.fuel, 0.0f) << "saved fuel " << damaged;
        EXPECT_EQ(home.heat, 0.0f) << "saved fuel " << damaged;
    }

    // Parts are saved as an int32: a negative count is none, never a repair.
    for (int32_t savedParts : {-1, INT32_MIN}) {
        home.RestoreState(100.0f, 8, true, savedParts, false);
        EXPECT_EQ(home.parts, 0) << "saved parts " << savedParts;
    }
    home.RestoreState(100.0f, 8, true, 2, false);
    EXPECT_EQ(home.parts, 2);

    home.RestoreState(100.0f, 3, false, INT32_MAX, false);
    EXPECT_EQ(home.parts, 3);
    EXPECT_EQ(home.survivorsAlive(), 3);
    for (size_t i = 0; i < home.survivors.size(); ++i) {
        EXPECT_EQ(home.survivors[i].alive, i < 3);
        EXPECT_FLOAT_EQ(home.survivors[i].warmth, i < 3 ? 70.0f : 0.0f);
    }
    EXPECT_FALSE(home.allDead);

    home.RestoreState(100.0f, 1000, false, 3, false);
    EXPECT_EQ(home.survivorsAlive(), 8);
    home.RestoreState(100.0f, 0, false, 3, false);
    EXPECT_EQ(home.survivorsAlive(), 0);
    EXPECT_TRUE(home.allDead);
    EXPECT_FLOAT_EQ(home.coldestWarmth(), 0.0f);
}

TEST_F(SettlementLog, SurvivorReachingZeroWarmthFreezes) {
    HomeSettlement home = MakeHome(kSeed);
    for (Survivor& s : home.survivors) {
        s.warmth = 50.0f;
    }
    home.survivors[2].warmth = 0.16f;
    home.survivors[5].warmth = 0.17f;
    home.Update(1.0f, TestWorld());

    EXPECT_FALSE(home.survivors[2].alive) << "exactly 0 is frozen";
    EXPECT_EQ(home.survivors[2].warmth, 0.0f);
    EXPECT_TRUE(home.survivors[5].alive);
    EXPECT_NEAR(home.coldestWarmth(), 0.01f, 1e-5f);
    EXPECT_EQ(home.survivorsAlive(), 7);
    EXPECT_FALSE(home.allDead);
    ASSERT_EQ(gLogLines.size(), 1u);
    EXPECT_EQ(gLogLines[0], "HEARTH: survivor 2 froze to death");

    for (Survivor& s : home.survivors) {
        s.warmth = std::fmin(s.warmth, 0.1f);
    }
    home.Update(1.0f, TestWorld());
    EXPECT_EQ(home.survivorsAlive(), 0);
    EXPECT_TRUE(home.allDead);
    EXPECT_EQ(gLogLines.size(), 8u) << "the dead freeze only once";
    EXPECT_EQ(gLogLines.back(), "HEARTH: survivor 7 froze to death");
}

TEST(SettlementSurvivors, WarmNearAWorkingFurnace) {
    HomeSettlement home = MakeHome(kSeed);
    home.RestoreState(1800.0f, 8, false, 3, true);
    home.heat = 1.0f;
    home.survivors[0].pos = {home.cx + 3.0f, home.cy, home.cz};
    home.survivors[0].resting = true;
    home.survivors[0].timer = 100.0f;
    home.Update(1.0f, TestWorld());
    EXPECT_NEAR(home.survivors[0].warmth, 71.8f, 1e-4f) << "3 * 1 - 1.2 per second";
    EXPECT_FLOAT_EQ(home.survivors[0].pos.x, home.cx + 3.0f) << "a resting survivor stands";
}

TEST(SettlementSurvivors, UpdateDrawsFromTheStreamInOrder) {
    const World& world = TestWorld();
    HomeSettlement home = MakeHome(kSeed);
    home.RestoreState(1800.0f, 1, false, 3, true);
    Survivor& s = home.survivors[0];

    // A rest that ends picks a wander target (two draws), then a walk timer.
    s.resting = true;
    s.timer = 0.01f;
    HomeSettlement stream = home;
    home.Update(0.05f, world);
    const Vector2 wander = stream.RandomTarget(9.0f, 24.0f);
    EXPECT_FALSE(s.resting);
    EXPECT_EQ(s.target.x, wander.x);
    EXPECT_EQ(s.target.y, wander.y);
    EXPECT_EQ(s.timer, 6.0f + 8.0f * stream.NextRandom());
    EXPECT_EQ(home.rng, stream.rng);

    // Arriving at a working furnace's ring: one draw for the rest.
    s.target = {s.pos.x + 0.3f, s.pos.z};
    stream = home;
    home.Update(0.05f, world);
    EXPECT_TRUE(s.resting);
    EXPECT_EQ(s.phase, 0.0f);
    EXPECT_EQ(s.timer, 3.0f + 5.0f * stream.NextRandom());
    EXPECT_EQ(home.rng, stream.rng);

    // By a broken furnace an expired walk heads for the huddle ring.
    home.broken = true;
    s.resting = false;
    s.timer = 0.01f;
    stream = home;
    home.Update(0.05f, world);
    const Vector2 huddle = stream.RandomTarget(8.5f, 12.0f);
    EXPECT_EQ(s.target.x, huddle.x);
    EXPECT_EQ(s.target.y, huddle.y);
    EXPECT_FALSE(s.resting);
    EXPECT_EQ(s.timer, 6.0f + 8.0f * stream.NextRandom());
    EXPECT_EQ(home.rng, stream.rng);
}

TEST(SettlementSurvivors, GatherAndStandStillAroundABrokenFurnace) {
    const World& world = TestWorld();
    HomeSettlement home = MakeHome(kSeed);
    for (int i = 0; i < 2400; ++i) {
        home.Update(0.05f, world);
    }
    const std::vector<Survivor> settled = home.survivors;
    for (int i = 0; i < 200; ++i) {
        home.Update(0.05f, world);
    }
    EXPECT_EQ(home.survivorsAlive(), 8);
    int huddled = 0;
    for (size_t i = 0; i < home.survivors.size(); ++i) {
        const Survivor& s = home.survivors[i];
        EXPECT_EQ(s.pos.x, settled[i].pos.x) << "arrived survivors stay on their spot";
        EXPECT_EQ(s.pos.z, settled[i].pos.z);
        EXPECT_LT(DistanceXZ(s.pos.x, s.pos.z, s.target.x, s.target.y), 0.5f);
        EXPECT_FALSE(s.resting);
        EXPECT_FLOAT_EQ(s.pos.y, world.gen.Height(s.pos.x, s.pos.z));
        EXPECT_LT(s.warmth, 100.0f - 0.16f * 129.0f);
        const float d = DistanceXZ(s.pos.x, s.pos.z, home.cx, home.cz);
        huddled += d >= 8.0f && d <= 12.5f ? 1 : 0;
    }
    EXPECT_GT(huddled, 0) << "those still walking when their timer ran out head for the huddle ring";
}

TEST(SettlementWalls, FurnaceDisc) {
    const HomeSettlement home = MakeHome(kSeed);
    Vector2 p = home.ResolveWalls({home.cx, home.cy, home.cz}, 0.42f);
    EXPECT_FLOAT_EQ(p.x, home.cx + 6.92f);
    EXPECT_FLOAT_EQ(p.y, home.cz);

    p = home.ResolveWalls({home.cx + 3.0f, home.cy + 5.0f, home.cz + 4.0f}, 0.5f);
    EXPECT_NEAR(p.x, home.cx + 0.6f * 7.0f, 1e-4f);
    EXPECT_NEAR(p.y, home.cz + 0.8f * 7.0f, 1e-4f);

    for (float dy : {5.01f, -5.01f}) {
        p = home.ResolveWalls({home.cx + 1.0f, home.cy + dy, home.cz}, 0.42f);
        EXPECT_EQ(p.x, home.cx + 1.0f);
        EXPECT_EQ(p.y, home.cz);
    }
}

TEST(SettlementWalls, HutsPushAlongTheShallowerSide) {
    HomeSettlement home = MakeHome(kSeed);
    const float hx = home.cx + 60.0f;
    const float hz = home.cz;
    home.huts = {Hut{hx, hz, 6.0f, 4.0f, home.cy, 3.0f, true}};
    const auto push = [&home](float dx, float dz) { return home.ResolveWalls({dx, home.cy, dz}, 0.5f); };

    Vector2 p = push(hx + 2.5f, hz + 1.5f);
    EXPECT_FLOAT_EQ(p.x, hx + 2.5f) << "equal depths push along z";
    EXPECT_FLOAT_EQ(p.y, hz + 2.5f);

    p = push(hx - 2.5f, hz - 1.5f);
    EXPECT_FLOAT_EQ(p.y, hz - 2.5f);

    p = push(hx + 3.0f, hz + 0.5f);
    EXPECT_FLOAT_EQ(p.x, hx + 3.5f);
    EXPECT_FLOAT_EQ(p.y, hz + 0.5f);

    p = push(hx - 3.0f, hz);
    EXPECT_FLOAT_EQ(p.x, hx - 3.5f);

    p = push(hx + 3.5f, hz);
    EXPECT_FLOAT_EQ(p.x, hx + 3.5f) << "touching is not inside";
}

// A hut on a slope stops the player at its own ground, whatever the furnace's
// height; the furnace disc keeps to the furnace's ground.
TEST(SettlementWalls, HutWallsStandOnTheHutsOwnGround) {
    struct Case {
        float hutGround;  // above the furnace's ground
        float feet;       // above the hut's ground
        bool pushed;
    };
    const Case cases[] = {
        {0.0f, 0.0f, true},   {8.0f, 0.0f, true},   {-7.5f, 0.0f, true}, {12.0f, 4.9f, true},  {-12.0f, -4.9f, true},
        {8.0f, -8.0f, false}, {-7.5f, 7.5f, false}, {0.0f, 5.1f, false}, {6.0f, -5.1f, false},
    };
    HomeSettlement home = MakeHome(kSeed);
    const float hx = home.cx + 60.0f;
    const float hz = home.cz;
    for (const Case& c : cases) {
        home.huts = {Hut{hx, hz, 6.0f, 4.0f, home.cy + c.hutGround, 3.0f, false}};
        const Vector2 p = home.ResolveWalls({hx + 2.5f, home.cy + c.hutGround + c.feet, hz + 0.5f}, 0.5f);
        EXPECT_EQ(p.x, c.pushed ? hx + 3.5f : hx + 2.5f) << c.hutGround << " " << c.feet;
        EXPECT_EQ(p.y, hz + 0.5f);
    }
    // Standing in the furnace at a hut's height, far above the furnace's own.
    home.huts = {Hut{hx, hz, 6.0f, 4.0f, home.cy + 9.0f, 3.0f, false}};
    const Vector2 p = home.ResolveWalls({home.cx + 1.0f, home.cy + 9.0f, home.cz}, 0.42f);
    EXPECT_EQ(p.x, home.cx + 1.0f);
}

TEST(SettlementWalls, OnePassFurnaceThenHuts) {
    HomeSettlement home = MakeHome(kSeed);
    home.huts = {Hut{home.cx + 9.0f, home.cz, 6.0f, 4.0f, home.cy, 3.0f, false}};
    // Out of the disc into the hut, and the hut pushes back toward the disc.
    const Vector2 p = home.ResolveWalls({home.cx + 1.0f, home.cy, home.cz}, 0.0f);
    EXPECT_NEAR(p.x, home.cx + 6.0f, 1e-4f);
    EXPECT_FLOAT_EQ(p.y, home.cz);
}
