// world_test.cpp: the World's construction, debug settings, saved state and
// the pieces of chunk streaming: chunk coordinates, keep range, build order
// and the budgeted, clocked build loop with its PERF log line; the shared
// clamps and cell index.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>
#include "world/cell_index.h"
#include "world/clamps.h"
#include "world/streaming.h"
#include "world/world.h"

namespace {

constexpr uint32_t kSeed = 20261113u;

void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

void UnsetVariable(const char* name) {
#ifdef _WIN32
    // An empty value removes the variable on Windows.
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

// Sets environment variables for one scope and puts the old values back.
class EnvGuard {
public:
    ~EnvGuard() {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            if (it->second) {
                SetVariable(it->first.c_str(), it->second->c_str());
            } else {
                UnsetVariable(it->first.c_str());
            }
        }
    }
    void Set(const char* name, const char* value) {
        Remember(name);
        SetVariable(name, value);
    }
    void Unset(const char* name) {
        Remember(name);
        UnsetVariable(name);
    }

private:
    void Remember(const char* name) {
        const char* old = std::getenv(name);
        saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

// Collects raylib's log lines while alive.
class LogCapture {
public:
    LogCapture() {
        lines().clear();
        SetTraceLogCallback(Collect);
    }
    ~LogCapture() { SetTraceLogCallback(nullptr); }
    static std::vector<std::pair<int, std::string>>& lines() {
        static std::vector<std::pair<int, std::string>> collected;
        return collected;
    }

private:
    static void Collect(int level, const char* format, va_list args) {
        char text[512];
        vsnprintf(text, sizeof text, format, args);
        lines().emplace_back(level, text);
    }
};

// A wall clock the test moves by hand.
struct FakeClock {
    static double now;
    static double Read() { return now; }
};
double FakeClock::now = 0.0;

// A clean environment for every World built here.
class WorldState : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"KIRN_STORM", "KIRN_WEATHER", "KIRN_TIME"}) {
            env.Unset(name);
        }
    }
    EnvGuard env;
};

}  // namespace

TEST_F(WorldState, ConstructionDefaults) {
    const World world(kSeed);
    EXPECT_TRUE(world.chunks.empty());
    EXPECT_EQ(world.gen.seed, kSeed);
    EXPECT_EQ(world.worldTime, 0.0f);
    EXPECT_EQ(world.renderDistance, 8);
    EXPECT_FLOAT_EQ(world.timeOfDayBase, 0.3f);
    EXPECT_EQ(world.weatherOverride, 0);
    EXPECT_TRUE(world.removedIds.empty());
    // The air starts at the origin's temperature, computed after the settings.
    const Atmosphere origin = world.ComputeAtmosphere(Vector3{0.0f, 0.0f, 0.0f});
    EXPECT_EQ(world.temperature, origin.temperature);
    EXPECT_EQ(world.atmosphere.temperature, origin.temperature);
    EXPECT_FLOAT_EQ(world.atmosphere.timeOfDay, 0.3f);
    EXPECT_EQ(world.atmosphere.fogNear, origin.fogNear);
    // The weather noise has its own seed, not the terrain's.
    const Noise weather(kSeed ^ 0x9e3779b9u);
    EXPECT_EQ(world.weatherNoise.Value(3.7f, 1.2f), weather.Value(3.7f, 1.2f));
}

TEST_F(WorldState, DebugWeatherVariables) {
    struct Case {
        const char* storm;
        const char* weather;
        int expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, 0},   {"1", "fog", 2},        {"0", nullptr, 0},        {"abc", nullptr, 0},
        {"7", nullptr, 2},       {nullptr, "Snow", 0},   {nullptr, "storm", 2},    {nullptr, "rain", 3},
        {nullptr, "thunder", 4}, {nullptr, "snow", 5},   {nullptr, "blizzard", 6}, {nullptr, "clear", 1},
        {"1", "clear", 1},       {nullptr, "clear ", 0}, {nullptr, "", 0},
    };
    for (const Case& c : cases) {
        EnvGuard local;
        c.storm ? local.Set("KIRN_STORM", c.storm) : local.Unset("KIRN_STORM");
        c.weather ? local.Set("KIRN_WEATHER", c.weather) : local.Unset("KIRN_WEATHER");
        const World world(kSeed);
        EXPECT_EQ(world.weatherOverride, c.expected)
            << (c.storm ? c.storm : "-") << " / " << (c.weather ? c.weather : "-");
    }
    // The constructor's atmosphere already carries the forced weather.
    EnvGuard local;
    local.Set("KIRN_WEATHER", "snow");
    EXPECT_FLOAT_EQ(World(kSeed).atmosphere.weatherIntensity, 0.35f);
}

TEST_F(WorldState, DebugTimeOfDayIsClamped) {
    struct Case {
        const char* text;
        float expected;
    };
    for (const Case& c : {Case{"1.7", 1.0f}, Case{"-2", 0.0f}, Case{"0.75", 0.75f}, Case{"noon", 0.0f},
                          Case{"nan", 0.0f}, Case{"1e30", 1.0f}}) {
        EnvGuard local;
        local.Set("KIRN_TIME", c.text);
        const World world(kSeed);
        EXPECT_EQ(world.timeOfDayBase, c.expected) << c.text;
        EXPECT_EQ(world.atmosphere.timeOfDay, c.expected == 1.0f ? 0.0f : c.expected) << c.text;
    }
}

TEST_F(WorldState, RenderDistanceIsClamped) {
    World world(kSeed);
    const int cases[][2] = {{13, 12}, {100, 12}, {12, 12}, {7, 7}, {4, 4}, {3, 4}, {-5, 4}};
    for (const auto& c : cases) {
        world.SetRenderDistance(c[0]);
        EXPECT_EQ(world.renderDistance, c[1]) << c[0];
    }
}

TEST_F(WorldState, RestoreStateReplacesClockAndRemovedSet) {
    World world(kSeed);
    world.removedIds = {1, 2, 3};
    world.temperature = 99.0f;
    const std::unordered_set<uint64_t> saved = {42, 0x5452000000000001ull};
    world.RestoreState(900.0f, saved);
    EXPECT_EQ(world.worldTime, 900.0f);
    EXPECT_EQ(world.removedIds, saved);
    const Atmosphere origin = world.ComputeAtmosphere(Vector3{0.0f, 0.0f, 0.0f});
    EXPECT_EQ(world.temperature, origin.temperature);
    EXPECT_EQ(world.atmosphere.temperature, origin.temperature);
    // 900 s is three quarters of a day past 0.3.
    EXPECT_NEAR(world.atmosphere.timeOfDay, 0.05f, 1e-6f);
}

TEST(ChunkStreaming, KeysAndChunkCoordinates) {
    EXPECT_EQ(World::Key(-1, 2), 0xFFFFFFFF00000002ull);
    EXPECT_EQ(World::Key(3, -1), 0x00000003FFFFFFFFull);
    // x = -0.1 lies in chunk -1, x = 64 in chunk 1.
    EXPECT_EQ(ChunkIndex(-0.1f), -1);
    EXPECT_EQ(ChunkIndex(63.99f), 0);
    EXPECT_EQ(ChunkIndex(64.0f), 1);
    EXPECT_EQ(ChunkIndex(-64.0f), -1);
    // Far beyond any place and not a number: clamped, never an int overflow.
    EXPECT_EQ(ChunkIndex(1e20f), 1073741824);
    EXPECT_EQ(ChunkIndex(-1e20f), -1073741824);
    EXPECT_EQ(ChunkIndex(std::nanf("")), -1073741824);
}

// The shared clamps keep their distinct answers for a value that is not a
// number (and the cell index its range), so merging them cannot go unnoticed.
TEST(SharedClamps, EachKeepsItsOwnEdgesAndNan) {
    const float nan = std::nanf("");
    struct Row {
        float v;
        float unit;
        float unitNanToZero;
        int byte;
    };
    const Row rows[] = {
        {-3.0f, 0.0f, 0.0f, 0},    {0.25f, 0.25f, 0.25f, 0},  {2.0f, 1.0f, 1.0f, 2},
        {254.9f, 1.0f, 1.0f, 254}, {255.0f, 1.0f, 1.0f, 255}, {1e30f, 1.0f, 1.0f, 255},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Clamp01(r.v), r.unit) << r.v;
        EXPECT_EQ(Clamp01NanToZero(r.v), r.unitNanToZero) << r.v;
        EXPECT_EQ(ClampToByte(r.v), r.byte) << r.v;
    }
    EXPECT_TRUE(std::isnan(Clamp01(nan)));
    EXPECT_EQ(Clamp01NanToZero(nan), 0.0f);
    EXPECT_EQ(ClampToByte(nan), 0);

    EXPECT_EQ(CellIndex(-0.1f, 700.0f), -1);
    EXPECT_EQ(CellIndex(1400.0f, 700.0f), 2);
    EXPECT_EQ(CellIndexWithin(-1e20f, 64.0f, kQueryCellLimit), -kQueryCellLimit);
    EXPECT_EQ(CellIndexWithin(1e20f, 700.0f, kQueryCellLimit), kQueryCellLimit);
    EXPECT_EQ(CellIndexWithin(nan, 64.0f, kQueryCellLimit), -kQueryCellLimit);
    EXPECT_EQ(CellIndexWithin(-64.5f, 64.0f, kQueryCellLimit), -2);
}

TEST(ChunkStreaming, MissingChunksComeNearestFirst) {
    std::unordered_map<uint64_t, Chunk> chunks;
    Chunk present{};
    present.cx = 11;
    present.cz = -3;
    chunks.emplace(World::Key(11, -3), present);
    const std::vector<ChunkCoord> missing = MissingChunks(chunks, 10, -3, 2);
    ASSERT_EQ(missing.size(), 24u);
    EXPECT_EQ(missing[0].x, 10);
    EXPECT_EQ(missing[0].z, -3);
    int last = 0;
    for (const ChunkCoord& c : missing) {
        const int d = (c.x - 10) * (c.x - 10) + (c.z + 3) * (c.z + 3);
        EXPECT_GE(d, last);
        last = d;
        EXPECT_LE(std::max(std::abs(c.x - 10), std::abs(c.z + 3)), 2);
        EXPECT_FALSE(c.x == 11 && c.z == -3);
    }
}

// Stores nothing: the loop tests below only watch the builds.
void Discard(Chunk&) {}

TEST(ChunkStreaming, BudgetAndWallClockLimitTheBuilds) {
    const std::vector<ChunkCoord> order = {{0, 0}, {1, 0}, {0, 1}, {-1, 0}};
    std::vector<int> built;
    const auto build = [&built](Chunk& c) { built.push_back(c.cx * 10 + c.cz); };
    FakeClock::now = 0.0;
    EXPECT_EQ(BuildNearestFirst(order, 0, false, FakeClock::Read, build, Discard), 0);
    EXPECT_EQ(BuildNearestFirst(order, -3, false, FakeClock::Read, build, Discard), 0);
    EXPECT_TRUE(built.empty());
    // A clock that does not move never stops a timed loop.
    EXPECT_EQ(BuildNearestFirst(order, 2, false, FakeClock::Read, build, Discard), 2);
    EXPECT_EQ(built, (std::vector<int>{0, 10}));

    // Chunks of 5 ms: a timed loop stops after the first one.
    const auto slowBuild = [](Chunk&) { FakeClock::now += 0.005; };
    EXPECT_EQ(BuildNearestFirst(order, 2, false, FakeClock::Read, slowBuild, Discard), 1);
    EXPECT_EQ(BuildNearestFirst(order, 999, false, FakeClock::Read, slowBuild, Discard), 1);
    // Budgets of 1000 and more are jumps: never timed.
    EXPECT_EQ(BuildNearestFirst(order, 1000, false, FakeClock::Read, slowBuild, Discard), 4);
    // Below 4 ms the loop goes on; at exactly 4 ms it stops.
    const auto quickBuild = [](Chunk&) { FakeClock::now += 0.0019; };
    EXPECT_EQ(BuildNearestFirst(order, 10, false, FakeClock::Read, quickBuild, Discard), 3);
    const auto exactBuild = [](Chunk&) { FakeClock::now += 0.004; };
    FakeClock::now = 0.0;
    EXPECT_EQ(BuildNearestFirst(order, 10, false, FakeClock::Read, exactBuild, Discard), 1);
}

TEST(ChunkStreaming, SlowBuildsAreLoggedWhenAsked) {
    const std::vector<ChunkCoord> order = {{3, -2}, {4, -2}, {3, -1}};
    // Chunk 3,-2 takes exactly 8 ms: not "more than 8".
    double cost[] = {0.008, 0.009, 0.0125};
    int next = 0;
    const auto build = [&](Chunk&) { FakeClock::now += cost[next++]; };

    {
        LogCapture log;
        FakeClock::now = 0.0;
        EXPECT_EQ(BuildNearestFirst(order, 100000, true, FakeClock::Read, build, Discard), 3);
        ASSERT_EQ(LogCapture::lines().size(), 2u);
        EXPECT_EQ(LogCapture::lines()[0].first, LOG_INFO);
        EXPECT_EQ(LogCapture::lines()[0].second, "PERF chunk 4,-2 built in 9.0 ms");
        EXPECT_EQ(LogCapture::lines()[1].second, "PERF chunk 3,-1 built in 12.5 ms");
    }
    {
        LogCapture log;
        next = 0;
        FakeClock::now = 0.0;
        BuildNearestFirst(order, 100000, false, FakeClock::Read, build, Discard);
        EXPECT_TRUE(LogCapture::lines().empty());
    }
}

TEST(ChunkStreaming, OnlyTheBuildItselfIsTimedAndStoringFollowsIt) {
    const std::vector<ChunkCoord> order = {{-2, 5}, {-1, 5}};
    std::vector<std::string> events;
    // Each build gets a fresh chunk holding only its coordinates.
    const auto build = [&events](Chunk& c) {
        EXPECT_FALSE(c.built);
        EXPECT_TRUE(c.trees.empty());
        events.push_back("build " + std::to_string(c.cx) + "," + std::to_string(c.cz));
        c.built = true;
        FakeClock::now += 0.001;
    };
    // A slow store: its time is no part of the chunk's build time.
    const auto store = [&events](Chunk& c) {
        events.push_back(std::string("store ") + (c.built ? "built " : "empty ") + std::to_string(c.cx) + "," +
                         std::to_string(c.cz) + " after " + std::to_string(LogCapture::lines().size()) + " lines");
        FakeClock::now += 0.02;
    };
    LogCapture log;
    FakeClock::now = 0.0;
    EXPECT_EQ(BuildNearestFirst(order, 100000, true, FakeClock::Read, build, store), 2);
    EXPECT_TRUE(LogCapture::lines().empty());
    EXPECT_EQ(events, (std::vector<std::string>{"build -2,5", "store built -2,5 after 0 lines", "build -1,5",
                                                "store built -1,5 after 0 lines"}));

    // A logged build is reported before its chunk is stored.
    events.clear();
    const auto slowBuild = [&events](Chunk& c) {
        events.push_back("build " + std::to_string(c.cx) + "," + std::to_string(c.cz));
        FakeClock::now += 0.009;
    };
    EXPECT_EQ(BuildNearestFirst(order, 1, true, FakeClock::Read, slowBuild, store), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"build -2,5", "store empty -2,5 after 1 lines"}));
    // But the store still counts toward the call's 4 ms: a timed loop stops.
    const auto quickBuild = [](Chunk&) {};
    EXPECT_EQ(BuildNearestFirst(order, 2, false, FakeClock::Read, quickBuild, store), 1);
}

namespace {

// An unbuilt chunk record, as the streaming sees it before a build.
Chunk Placeholder(int cx, int cz) {
    Chunk chunk{};
    chunk.cx = cx;
    chunk.cz = cz;
    return chunk;
}

Vector3 CentreOf(int cx, int cz) {
    return Vector3{static_cast<float>(cx) * 64.0f + 32.0f, 0.0f, static_cast<float>(cz) * 64.0f + 32.0f};
}

}  // namespace

TEST_F(WorldState, BudgetZeroEvictsAndTicksButBuildsNothing) {
    World world(kSeed);
    world.SetRenderDistance(4);
    world.chunks.emplace(World::Key(0, 0), Placeholder(0, 0));
    world.chunks.emplace(World::Key(5, -5), Placeholder(5, -5));
    world.chunks.emplace(World::Key(6, 0), Placeholder(6, 0));
    world.chunks.emplace(World::Key(-1, -7), Placeholder(-1, -7));

    world.Update(CentreOf(0, 0), 0, 0.5f);
    EXPECT_EQ(world.chunks.size(), 2u);
    EXPECT_TRUE(world.chunks.count(World::Key(0, 0)));
    EXPECT_TRUE(world.chunks.count(World::Key(5, -5)));
    EXPECT_FALSE(world.chunks.at(World::Key(0, 0)).built);
    EXPECT_EQ(world.worldTime, 0.5f);
    EXPECT_FLOAT_EQ(world.atmosphere.timeOfDay, 0.5f / 1200.0f + 0.3f);
}

TEST_F(WorldState, AFocusThatIsNoPlaceMovesNothingButTheClock) {
    World world(kSeed);
    world.SetRenderDistance(4);
    world.Update(CentreOf(3, -2), 100000, 0.0f);
    ASSERT_EQ(world.chunks.size(), 81u);

    const float nan = std::nanf("");
    world.Update(Vector3{nan, 0.0f, nan}, 100000, 0.5f);
    world.Update(Vector3{INFINITY, 0.0f, 0.0f}, 100000, 0.5f);
    EXPECT_EQ(world.worldTime, 1.0f);
    EXPECT_EQ(world.chunks.size(), 81u);
    EXPECT_TRUE(world.chunks.count(World::Key(3, -2)));
    EXPECT_TRUE(std::isfinite(world.temperature));
    EXPECT_TRUE(std::isfinite(world.atmosphere.temperature));
}

TEST_F(WorldState, ShrinkingTheRenderDistanceEvictsAtTheNextUpdate) {
    World world(kSeed);
    const int fx = -3;
    const int fz = 2;
    for (int dz = -8; dz <= 8; dz++) {
        for (int dx = -8; dx <= 8; dx++) {
            world.chunks.emplace(World::Key(fx + dx, fz + dz), Placeholder(fx + dx, fz + dz));
        }
    }
    world.SetRenderDistance(4);
    EXPECT_EQ(world.chunks.size(), 289u);
    world.Update(CentreOf(fx, fz), 0, 0.0f);
    EXPECT_EQ(world.chunks.size(), 121u);
    for (const auto& entry : world.chunks) {
        EXPECT_LE(std::max(std::abs(entry.second.cx - fx), std::abs(entry.second.cz - fz)), 5);
    }
}

TEST_F(WorldState, SmallBudgetBuildsTheFocusChunkFirst) {
    World world(kSeed);
    // x = -0.1 lies in chunk -1, z = 64 in chunk 1.
    world.Update(Vector3{-0.1f, 0.0f, 64.0f}, 2, 0.016f);
    ASSERT_EQ(world.chunks.size(), 2u);
    ASSERT_TRUE(world.chunks.count(World::Key(-1, 1)));
    for (const auto& entry : world.chunks) {
        const Chunk& chunk = entry.second;
        EXPECT_EQ(entry.first, World::Key(chunk.cx, chunk.cz));
        EXPECT_TRUE(chunk.built);
        EXPECT_LE(std::abs(chunk.cx + 1) + std::abs(chunk.cz - 1), 1);
    }
}

TEST_F(WorldState, JumpsFillTheSquareAndMovesStreamTheEdges) {
    World world(kSeed);
    world.SetRenderDistance(4);
    world.Update(CentreOf(0, 0), 100000, 0.0f);
    EXPECT_EQ(world.chunks.size(), 81u);
    for (const auto& entry : world.chunks) {
        EXPECT_TRUE(entry.second.built);
        EXPECT_EQ(entry.first, World::Key(entry.second.cx, entry.second.cz));
    }

    // One chunk east: a new column; the far west column is still kept.
    world.Update(CentreOf(1, 0), 100000, 0.0f);
    EXPECT_EQ(world.chunks.size(), 90u);
    EXPECT_TRUE(world.chunks.count(World::Key(5, 4)));
    EXPECT_TRUE(world.chunks.count(World::Key(-4, 0)));

    // And back: nothing is rebuilt or dropped.
    world.Update(CentreOf(0, 0), 100000, 0.0f);
    EXPECT_EQ(world.chunks.size(), 90u);

    // Two more east: the two west columns are beyond the keep range.
    world.Update(CentreOf(3, 0), 100000, 0.0f);
    EXPECT_EQ(world.chunks.size(), 90u);
    EXPECT_FALSE(world.chunks.count(World::Key(-3, 0)));
    EXPECT_TRUE(world.chunks.count(World::Key(-2, 0)));
    EXPECT_TRUE(world.chunks.count(World::Key(7, -4)));
}

TEST_F(WorldState, AirEasesTowardTheLocalTemperature) {
    World world(kSeed);
    world.weatherOverride = 1;
    const Vector3 focus = CentreOf(40, -25);
    world.temperature = -40.0f;

    // No time passes: the clock and the air stay, the new atmosphere carries them.
    world.Update(focus, 0, 0.0f);
    EXPECT_EQ(world.worldTime, 0.0f);
    EXPECT_EQ(world.temperature, -40.0f);
    EXPECT_EQ(world.atmosphere.temperature, -40.0f);
    EXPECT_EQ(world.atmosphere.fogNear, world.ComputeAtmosphere(focus).fogNear);

    world.Update(focus, 0, 2.0f);
    const float target = world.ComputeAtmosphere(focus).temperature;
    ASSERT_GT(std::fabs(target + 40.0f), 1.0f);
    const float expected = (target + 40.0f) * (1.0f - std::exp(-0.16f)) - 40.0f;
    EXPECT_NEAR(world.temperature, expected, 1e-4f);
    EXPECT_EQ(world.atmosphere.temperature, world.temperature);

    // Long enough and the air arrives.
    for (int i = 0; i < 20; i++) {
        world.Update(focus, 0, 10.0f);
    }
    EXPECT_NEAR(world.temperature, world.ComputeAtmosphere(focus).temperature, 0.01f);
}

TEST_F(WorldState, ClockKeepsRunningAfterDaysOfPlay) {
    World world(kSeed);
    // About 73 hours: a float sum of 8 ms steps would stand still here.
    world.RestoreState(262144.0f, {});
    for (int i = 0; i < 4; i++) {
        world.Update(Vector3{0.0f, 0.0f, 0.0f}, 0, 0.008f);
    }
    EXPECT_EQ(world.worldTime, 262144.03125f);
    for (int i = 4; i < 1000; i++) {
        world.Update(Vector3{0.0f, 0.0f, 0.0f}, 0, 0.008f);
    }
    EXPECT_NEAR(world.worldTime, 262152.0f, 0.03125f);

    // About 36 hours: a float sum would step twice as fast as it should.
    world.RestoreState(131072.0f, {});
    for (int i = 0; i < 1000; i++) {
        world.Update(Vector3{0.0f, 0.0f, 0.0f}, 0, 0.008f);
    }
    EXPECT_NEAR(world.worldTime, 131080.0f, 0.016f);

    // A clock set from outside is followed, not overwritten.
    world.worldTime = 500.0f;
    world.Update(Vector3{0.0f, 0.0f, 0.0f}, 0, 0.5f);
    EXPECT_EQ(world.worldTime, 500.5f);
}
