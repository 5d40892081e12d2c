// player_test.cpp: the player's walk: key combinations, step limits, falling,
// wall push-out and the choice of the surface underfoot among the tower floor,
// the airship deck, the home settlement and the terrain.
#include "actors/player.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include "actors/airship.h"
#include "actors/building.h"
#include "actors/settlement.h"
#include "actors/ship_test_support.h"
#include "world/world.h"

namespace {

using shiptest::ShipPoint;

constexpr float kPi = 3.14159265f;
constexpr MoveIntent kIdle{};
constexpr MoveIntent kEast{1.0f, 0.0f, false};

class PlayerTest : public ::testing::Test {
protected:
    // The ship waits far away unless a test brings it close.
    void SetUp() override { ship.Reset({5000.0f, 5000.0f}, 0.0f, world); }

    float Terrain(float x, float z) const { return world.gen.Height(x, z); }
    void StandOnTerrain(float x, float z) { player.Reset({x, Terrain(x, z) + 1.7f, z}); }
    void Walk(float dt, MoveIntent intent, const Building* tower = nullptr, const HomeSettlement* home = nullptr) {
        player.Walk(dt, intent, world, ship, tower, home);
    }
    // Puts the ship (heading 0) so that its local point lies under (x, z), with
    // its base at the given height whatever the terrain under it.
    void ShipWithLocalAt(float lx, float lz, float x, float z, float base) {
        ship.Reset({x - lx, z - lz}, 0.0f, world);
        ship.groundY = base;
        ship.altitude = 0.0f;
    }

    World world{shiptest::kSeed};
    Airship ship;
    Player player{};
};

// ---- keys and facing ------------------------------------------------------------

TEST(PlayerKeys, CombinationsGiveDirectionsOnTheWorldAxes) {
    struct Case {
        bool w, a, s, d;
        float dx, dz;
    };
    const Case cases[] = {
        {true, false, false, false, 0.0f, -1.0f}, {false, false, true, false, 0.0f, 1.0f},
        {false, true, false, false, -1.0f, 0.0f}, {false, false, false, true, 1.0f, 0.0f},
        {true, false, true, false, 0.0f, 0.0f},   {false, true, false, true, 0.0f, 0.0f},
        {true, true, true, true, 0.0f, 0.0f},     {true, false, false, true, 1.0f, -1.0f},
        {true, true, true, false, -1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        const MoveIntent intent = MoveIntentFromKeys(c.w, c.a, c.s, c.d, false);
        EXPECT_EQ(intent.dx, c.dx);
        EXPECT_EQ(intent.dz, c.dz);
        EXPECT_FALSE(intent.run);
    }
    EXPECT_TRUE(MoveIntentFromKeys(false, false, false, false, true).run);
}

TEST_F(PlayerTest, EachKeyFacesItsWay) {
    StandOnTerrain(210.0f, 330.0f);
    Walk(0.01f, MoveIntentFromKeys(true, false, false, false, false));
    EXPECT_FLOAT_EQ(player.yaw, 0.0f);
    Walk(0.01f, MoveIntentFromKeys(false, false, false, true, false));
    EXPECT_FLOAT_EQ(player.yaw, kPi / 2.0f);
    Walk(0.01f, MoveIntentFromKeys(false, false, true, false, false));
    EXPECT_FLOAT_EQ(player.yaw, kPi);
    Walk(0.01f, MoveIntentFromKeys(false, true, false, false, false));
    EXPECT_FLOAT_EQ(player.yaw, -kPi / 2.0f);
    const Vector3 f = player.forward();
    EXPECT_NEAR(f.x, -1.0f, 1e-6f);
    EXPECT_NEAR(f.z, 0.0f, 1e-6f);
}

TEST_F(PlayerTest, DiagonalsAreNoFaster) {
    StandOnTerrain(210.0f, 330.0f);
    const Vector3 start = player.feet;
    Walk(0.1f, MoveIntentFromKeys(true, false, false, true, false));
    EXPECT_FLOAT_EQ(player.speed, 8.0f);
    EXPECT_FLOAT_EQ(player.yaw, kPi / 4.0f);
    const float axis = 8.0f / std::sqrt(2.0f) * 0.1f;
    EXPECT_NEAR(player.feet.x - start.x, axis, 1e-4f);
    EXPECT_NEAR(player.feet.z - start.z, -axis, 1e-4f);
    EXPECT_FLOAT_EQ(player.feet.y, Terrain(player.feet.x, player.feet.z));

    const Vector3 second = player.feet;
    Walk(0.1f, MoveIntentFromKeys(true, false, false, true, true));
    EXPECT_FLOAT_EQ(player.speed, 14.4f);
    const float runAxis = 14.4f / std::sqrt(2.0f) * 0.1f;
    EXPECT_NEAR(player.feet.x - second.x, runAxis, 1e-4f);
    EXPECT_NEAR(player.feet.z - second.z, -runAxis, 1e-4f);
}

TEST_F(PlayerTest, AllFourKeysStandStillAndKeepTheFacing) {
    StandOnTerrain(210.0f, 330.0f);
    player.yaw = 1.0f;
    player.speed = 8.0f;
    const Vector3 start = player.feet;
    Walk(0.1f, MoveIntentFromKeys(true, true, true, true, true));
    EXPECT_FLOAT_EQ(player.speed, 0.0f);
    EXPECT_FLOAT_EQ(player.yaw, 1.0f);
    EXPECT_EQ(player.feet.x, start.x);
    EXPECT_EQ(player.feet.z, start.z);
    // A direction shorter than the input threshold counts as none.
    Walk(0.1f, MoveIntent{0.00005f, 0.0f, false});
    EXPECT_FLOAT_EQ(player.yaw, 1.0f);
    EXPECT_EQ(player.feet.x, start.x);
}

TEST_F(PlayerTest, PlacementUsesEyePoints) {
    player.Reset({1.0f, 11.7f, 3.0f});
    EXPECT_FLOAT_EQ(player.feet.y, 10.0f);
    EXPECT_FLOAT_EQ(player.position().y, 11.7f);
    player.yaw = 2.0f;
    player.speed = 8.0f;
    player.fallSpeed = 5.0f;
    player.SetPosition({4.0f, 21.7f, 6.0f});
    EXPECT_FLOAT_EQ(player.feet.x, 4.0f);
    EXPECT_FLOAT_EQ(player.feet.y, 20.0f);
    EXPECT_FLOAT_EQ(player.fallSpeed, 5.0f) << "being carried keeps a fall going";
    EXPECT_FLOAT_EQ(player.yaw, 2.0f);
    player.Reset({4.0f, 21.7f, 6.0f});
    EXPECT_FLOAT_EQ(player.fallSpeed, 0.0f);
    EXPECT_FLOAT_EQ(player.speed, 0.0f);
    EXPECT_FLOAT_EQ(player.yaw, 0.0f);
    EXPECT_FLOAT_EQ(player.forward().z, -1.0f);
}

// ---- steps and falls ------------------------------------------------------------

TEST(PlayerFooting, StepLimitsFallsAndLanding) {
    const Footing up = SettleOnSurface(0.0f, 2.6f, 0.0f, 0.01f);
    EXPECT_FALSE(up.refused);
    EXPECT_EQ(up.y, 2.6f);

    const Footing tooHigh = SettleOnSurface(0.0f, 2.61f, 1.5f, 0.01f);
    EXPECT_TRUE(tooHigh.refused);
    EXPECT_EQ(tooHigh.y, 0.0f);
    EXPECT_EQ(tooHigh.fallSpeed, 1.5f);

    const Footing down = SettleOnSurface(0.0f, -2.6f, 4.0f, 0.01f);
    EXPECT_FALSE(down.refused);
    EXPECT_EQ(down.y, -2.6f);
    EXPECT_EQ(down.fallSpeed, 0.0f) << "a surface within a step ends a fall";

    const Footing drop = SettleOnSurface(0.0f, -2.61f, 0.0f, 0.01f);
    EXPECT_FALSE(drop.refused);
    EXPECT_FLOAT_EQ(drop.fallSpeed, 0.3f);
    EXPECT_FLOAT_EQ(drop.y, -0.003f);

    const Footing falling = SettleOnSurface(10.0f, 0.0f, 0.0f, 0.1f);
    EXPECT_FLOAT_EQ(falling.fallSpeed, 3.0f);
    EXPECT_FLOAT_EQ(falling.y, 9.7f);
    const Footing landing = SettleOnSurface(3.0f, 0.0f, 20.0f, 0.2f);
    EXPECT_EQ(landing.y, 0.0f);
    EXPECT_EQ(landing.fallSpeed, 0.0f);
}

TEST_F(PlayerTest, TooHighARiseRefusesTheWholeStep) {
    const float x = 210.0f;
    const float z = 330.0f;
    player.Reset({x, Terrain(x, z) - 3.0f + 1.7f, z});
    player.fallSpeed = 2.0f;
    const Vector3 start = player.feet;
    Walk(0.05f, MoveIntentFromKeys(false, false, true, false, true));
    EXPECT_EQ(player.feet.x, start.x);
    EXPECT_EQ(player.feet.y, start.y);
    EXPECT_EQ(player.feet.z, start.z);
    EXPECT_FLOAT_EQ(player.fallSpeed, 2.0f);
    EXPECT_FLOAT_EQ(player.speed, 14.4f);
    EXPECT_FLOAT_EQ(player.yaw, kPi);
}

TEST_F(PlayerTest, AFallingBodyAtAHighSlopeFallsInPlace) {
    // Find mountain ground that rises more than 5.4 within one long running
    // step east, and drop the player 2.7 above the lower side.
    const float dt = 1.0f;
    float x = 0.0f, z = 0.0f;
    bool found = false;
    for (int i = 0; i < 200 && !found; ++i) {
        for (int j = 0; j < 200 && !found; ++j) {
            x = -29250.0f + 8.0f * static_cast<float>(i);
            z = -27540.0f + 8.0f * static_cast<float>(j);
            found = Terrain(x + 14.4f, z) - Terrain(x, z) > 5.4f;
        }
    }
    ASSERT_TRUE(found);
    const float ground = Terrain(x, z);
    player.Reset({x, ground + 2.7f + 1.7f, z});
    player.fallSpeed = 1.0f;
    Walk(dt, MoveIntentFromKeys(false, false, false, true, true));
    EXPECT_EQ(player.feet.x, x);
    EXPECT_EQ(player.feet.z, z);
    EXPECT_EQ(player.feet.y, ground);
    EXPECT_EQ(player.fallSpeed, 0.0f);
    EXPECT_FLOAT_EQ(player.speed, 14.4f);
    EXPECT_FLOAT_EQ(player.yaw, kPi / 2.0f);
}

TEST_F(PlayerTest, FallsUnderGravityAndSnapsWithinAStep) {
    const float x = 210.0f;
    const float z = 330.0f;
    const float ground = Terrain(x, z);
    player.Reset({x, ground + 10.0f + 1.7f, z});
    const float dt = 0.05f;
    int fallingFrames = 0;
    for (int frame = 0; frame < 100 && !(player.feet.y == ground && player.fallSpeed == 0.0f); ++frame) {
        const float y = player.feet.y;
        const float fall = player.fallSpeed;
        Walk(dt, kIdle);
        if (y - ground > 2.6f) {
            ++fallingFrames;
            const float speed = fall + 30.0f * dt;
            EXPECT_FLOAT_EQ(player.feet.y, std::max(ground, y - speed * dt));
        } else {
            EXPECT_EQ(player.feet.y, ground);
            EXPECT_EQ(player.fallSpeed, 0.0f);
        }
    }
    EXPECT_EQ(player.feet.y, ground);
    EXPECT_EQ(player.fallSpeed, 0.0f);
    // 7.4 units fall in about 0.7 s under 30 units per second squared.
    EXPECT_GE(fallingFrames, 12);
    EXPECT_LE(fallingFrames, 15);
}

TEST_F(PlayerTest, WalkingOffAHighDeckStartsAFall) {
    const Vector2 spot = shiptest::FlattestSpot(world, 40.0f);
    ship.Reset(spot, 0.0f, world);
    ship.SetAltitude(7.8f);
    const float deck = ship.BaseHeight() + 2.2f;
    const Vector3 edge = ShipPoint(ship, 27.5f, 1.0f, deck);
    player.Reset({edge.x, deck + 1.7f, edge.z});
    Walk(0.1f, kEast);
    EXPECT_NEAR(player.feet.x, edge.x + 0.8f, 1e-4f);
    EXPECT_FLOAT_EQ(player.fallSpeed, 3.0f);
    EXPECT_FLOAT_EQ(player.feet.y, deck - 0.3f);
    EXPECT_FALSE(ship.OnDeck(player.feet));
}

// ---- walls ----------------------------------------------------------------------

TEST_F(PlayerTest, WorldWallsStopTheBody) {
    const float x0 = 210.0f;
    const float z0 = 330.0f;
    const float h = Terrain(x0, z0);
    shiptest::AddWall(world, {{x0, h - 10.0f, z0}, {x0 + 2.0f, h + 10.0f, z0 + 2.0f}});
    StandOnTerrain(x0 - 0.5f, z0 + 1.0f);
    Walk(0.1f, kEast);
    EXPECT_FLOAT_EQ(player.feet.x, x0 - 0.42f);
    EXPECT_FLOAT_EQ(player.feet.z, z0 + 1.0f);

    // A box entirely above the body's height does not stop it.
    World open{shiptest::kSeed};
    shiptest::AddWall(open, {{x0, h + 5.0f, z0}, {x0 + 2.0f, h + 9.0f, z0 + 2.0f}});
    StandOnTerrain(x0 - 0.5f, z0 + 1.0f);
    player.Walk(0.1f, kEast, open, ship, nullptr, nullptr);
    EXPECT_NEAR(player.feet.x, x0 + 0.3f, 1e-4f);
}

TEST_F(PlayerTest, HoveringHullPushesButOffersNoStep) {
    const float x = 210.0f;
    const float z = 330.0f;
    StandOnTerrain(x, z);
    const float feetY = player.feet.y;

    // Gangway 3 above the feet: ignored, the walker stays on the terrain.
    ShipWithLocalAt(-27.0f, 1.0f, x, z, feetY + 2.0f);
    Walk(0.05f, kIdle);
    EXPECT_EQ(player.feet.y, feetY);

    // Beside the port wall the hull still pushes while the feet are within 2.6 below its base.
    ShipWithLocalAt(10.0f, -6.2f, x, z, feetY + 2.0f);
    Walk(0.05f, kIdle);
    EXPECT_NEAR(player.feet.z, z - 0.22f, 1e-4f);
    EXPECT_NEAR(player.feet.x, x, 1e-4f);

    StandOnTerrain(x, z);
    ShipWithLocalAt(10.0f, -6.2f, x, z, feetY + 2.7f);
    Walk(0.05f, kIdle);
    EXPECT_EQ(player.feet.z, z);
}

// ---- surfaces ---------------------------------------------------------------------

TEST_F(PlayerTest, DeckWithinAStepIsTakenAndBeyondItIgnored) {
    const float x = 210.0f;
    const float z = 330.0f;
    StandOnTerrain(x, z);
    const float feetY = player.feet.y;

    ShipWithLocalAt(11.0f, 3.0f, x, z, feetY + 2.5f - 2.2f);
    Walk(0.05f, kIdle);
    EXPECT_FLOAT_EQ(player.feet.y, ship.BaseHeight() + 2.2f);

    for (const float offset : {2.7f, -2.7f}) {
        StandOnTerrain(x, z);
        ShipWithLocalAt(11.0f, 3.0f, x, z, feetY + offset - 2.2f);
        Walk(0.05f, kIdle);
        EXPECT_EQ(player.feet.y, feetY) << "deck " << offset << " from the feet";
        EXPECT_EQ(player.fallSpeed, 0.0f);
    }
}

TEST_F(PlayerTest, TowerFloorBeatsACloserDeck) {
    Building tower;
    tower.Generate(shiptest::kSeed, {800.0f, 800.0f}, 0.0f, 68.0f);
    const float floorY = tower.FloorY(tower.currentFloor);

    // A floor cell with walkable cells all around it.
    int cellX = -1;
    int cellZ = -1;
    for (int cz = 5; cz < 35 && cellX < 0; ++cz) {
        for (int cx = 8; cx < 18 && cellX < 0; ++cx) {
            bool clear = true;
            for (int j = -1; j <= 1; ++j) {
                for (int i = -1; i <= 1; ++i) clear = clear && tower.walkableAt(cx + i, cz + j);
            }
            if (clear) {
                cellX = cx;
                cellZ = cz;
            }
        }
    }
    ASSERT_GE(cellX, 0);
    const float x = tower.center.x + (static_cast<float>(cellX) + 0.5f) * 2.0f - 20.0f;
    const float z = tower.center.y + (static_cast<float>(cellZ) + 0.5f) * 2.0f - 40.0f;

    player.Reset({x, floorY - 1.0f + 1.7f, z});
    ShipWithLocalAt(11.0f, 3.0f, x, z, floorY - 0.8f - 2.2f);
    float deck = 0.0f;
    ASSERT_TRUE(ship.SurfaceAt(player.feet, deck));
    ASSERT_NEAR(deck, floorY - 0.8f, 1e-4f);

    Walk(0.05f, kIdle, &tower);
    EXPECT_EQ(player.feet.y, floorY);

    player.Reset({x, floorY - 1.0f + 1.7f, z});
    Walk(0.05f, kIdle, nullptr);
    EXPECT_EQ(player.feet.y, deck) << "without the tower the deck is next";
}

class PlayerHomeTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        home.cx = 300.0f;
        home.cz = 420.0f;
        home.cy = Terrain(home.cx + 6.5f, home.cz);
    }
    HomeSettlement home;
};

TEST_F(PlayerHomeTest, FurnacePushesAWalkerOnTheTerrain) {
    StandOnTerrain(home.cx + 6.5f, home.cz);
    Walk(0.05f, kIdle, nullptr, &home);
    EXPECT_NEAR(player.feet.x, home.cx + 6.92f, 1e-4f);
    EXPECT_FLOAT_EQ(player.feet.z, home.cz);
    EXPECT_EQ(player.feet.y, Terrain(player.feet.x, player.feet.z));
}

TEST_F(PlayerHomeTest, HutWallsPushAlongTheShallowerSide) {
    Hut hut;
    hut.x = home.cx + 20.0f;
    hut.z = home.cz;
    hut.width = 6.0f;
    hut.depth = 6.0f;
    home.huts.push_back(hut);
    StandOnTerrain(hut.x - 3.2f, hut.z + 0.5f);
    home.huts.back().groundY = player.feet.y;  // the hut stands on the walker's ground
    Walk(0.05f, kIdle, nullptr, &home);
    EXPECT_FLOAT_EQ(player.feet.x, hut.x - 3.42f);
    EXPECT_FLOAT_EQ(player.feet.z, hut.z + 0.5f);
}

TEST_F(PlayerHomeTest, DeckOverTheFurnaceKeepsTheWalkerWhereItIs) {
    const float x = home.cx + 6.5f;
    StandOnTerrain(x, home.cz);
    const float feetY = player.feet.y;
    ShipWithLocalAt(11.0f, 3.0f, x, home.cz, feetY + 0.5f - 2.2f);
    Walk(0.05f, kIdle, nullptr, &home);
    EXPECT_FLOAT_EQ(player.feet.x, x);
    EXPECT_FLOAT_EQ(player.feet.y, feetY + 0.5f);
}

TEST_F(PlayerHomeTest, AfterAPushTheDeckIsTestedAgain) {
    // Off the stern before the push, on the gangway after it.
    const float x = home.cx + 6.5f;
    StandOnTerrain(x, home.cz);
    const float feetY = player.feet.y;
    ShipWithLocalAt(-28.3f, 1.0f, x, home.cz, feetY + 0.5f - 1.0f);
    float h = 0.0f;
    ASSERT_FALSE(ship.SurfaceAt(player.feet, h));
    Walk(0.05f, kIdle, nullptr, &home);
    EXPECT_NEAR(player.feet.x, home.cx + 6.92f, 1e-4f);
    EXPECT_FLOAT_EQ(player.feet.y, ship.BaseHeight() + 1.0f);
}

TEST_F(PlayerTest, WalksUpTheSternGangwayOfALandedShip) {
    const Vector2 spot = shiptest::FlattestSpot(world, 40.0f);
    ASSERT_LT(shiptest::HeightSpread(world, spot, 40.0f), 1.0f);
    ship.Reset(spot, 0.0f, world);
    const Vector3 start = ShipPoint(ship, -31.0f, 1.0f, 0.0f);
    StandOnTerrain(start.x, start.z);

    const float base = ship.BaseHeight();
    bool onGangway = false;
    float lastX = player.feet.x;
    for (int frame = 0; frame < 200 && ship.LocalFromWorld(player.feet).x < -10.0f; ++frame) {
        Walk(1.0f / 60.0f, kEast);
        ASSERT_GT(player.feet.x, lastX) << "no step refused on the way up";
        lastX = player.feet.x;
        onGangway = onGangway || player.feet.y == base + 1.0f;
    }
    EXPECT_TRUE(onGangway);
    EXPECT_EQ(player.feet.y, base + 2.2f);
    EXPECT_TRUE(ship.OnDeck(player.feet));
    EXPECT_FLOAT_EQ(player.fallSpeed, 0.0f);
}

}  // namespace
