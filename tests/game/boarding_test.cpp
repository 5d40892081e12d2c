// boarding_test.cpp: the helm, the furnace and the coal bunker worked with
// E and F, boarding from the ground, riding the deck, and the tower dock.
#include <cmath>
#include <string>

#include "tests/game/game_fixture.h"

namespace {

using testgame::GameTest;
using testgame::ScopedEnv;

constexpr float kHalfPi = 1.5707964f;

class Boarding : public GameTest {
protected:
    // Puts the player at a station's stand point and lets one step find the station.
    void StandAt(Vector3 eye) {
        game->player.Reset(eye);
        Frame();
    }
    int Count(ItemType type) const {
        int n = 0;
        for (const InventorySlot& slot : game->inventory.slots) {
            n += slot.type == type ? slot.count : 0;
        }
        return n;
    }
    bool Said(const std::string& message) const { return log.Has("SURVIVAL: " + message); }
    void Hold(std::initializer_list<int> keys) {
        FrameInput in;
        for (int key : keys) {
            in.Hold(key);
        }
        Frame(in);
    }
};

TEST_F(Boarding, HelmIsTakenByEAndReleasedByTheNextEAnywhere) {
    Game& g = MakeWorld();
    StandAt(g.airship.HelmStandPoint());
    ASSERT_TRUE(g.aboard);
    ASSERT_EQ(g.station, AirshipStation::Helm);

    Press(KEY_E);
    EXPECT_TRUE(g.piloting);
    EXPECT_TRUE(log.Has("AIRSHIP: helm engaged"));
    EXPECT_TRUE(Said("У штурвала. W/S - тяга, A/D - поворот, E - отпустить."));

    // Taking the helm twice does nothing the second time.
    g.StartPiloting();
    EXPECT_EQ(log.Count("AIRSHIP: helm engaged"), 1);

    Hold({KEY_W, KEY_D, KEY_LEFT_SHIFT});
    EXPECT_EQ(g.airship.throttleInput, 1.0f);
    EXPECT_EQ(g.airship.turnInput, 1.0f);
    EXPECT_EQ(g.airship.climbInput, 1.0f);
    Hold({KEY_S, KEY_A, KEY_LEFT_CONTROL});
    EXPECT_EQ(g.airship.throttleInput, -1.0f);
    EXPECT_EQ(g.airship.turnInput, -1.0f);
    EXPECT_EQ(g.airship.climbInput, -1.0f);
    Hold({KEY_W, KEY_S});
    EXPECT_EQ(g.airship.throttleInput, 0.0f);

    // The pilot still stands at the helm station: release comes first.
    ASSERT_EQ(g.station, AirshipStation::Helm);
    Press(KEY_E);
    EXPECT_FALSE(g.piloting);
    EXPECT_TRUE(log.Has("AIRSHIP: helm released"));
    EXPECT_TRUE(Said("Штурвал отпущен - корабль держит курс"));
    g.StopPiloting();
    EXPECT_EQ(log.Count("AIRSHIP: helm released"), 1);

    // Keys no longer reach the ship.
    Hold({KEY_W, KEY_D, KEY_LEFT_SHIFT});
    EXPECT_EQ(g.airship.throttleInput, 0.0f);
    EXPECT_EQ(g.airship.turnInput, 0.0f);
    EXPECT_EQ(g.airship.climbInput, 0.0f);

    g.airship.fuel = 0.0f;
    g.StartPiloting();
    EXPECT_EQ(g.message, "У штурвала. Печь холодная - сначала загрузи уголь.");
}

TEST_F(Boarding, PilotStaysAtTheHelmFacingTheTurningShip) {
    Game& g = MakeWorld();
    g.StartPiloting();
    g.airship.fuel = 100.0f;
    g.airship.furnaceTemp = 120.0f;
    g.airship.altitude = 10.0f;
    const float startHeading = g.airship.heading;
    for (int i = 0; i < 90; ++i) {
        Hold({KEY_W, KEY_D});
        ASSERT_EQ(g.player.yaw, g.airship.heading + kHalfPi) << "step " << i;
        const Vector3 helm = g.airship.HelmStandPoint();
        ASSERT_EQ(g.player.position().x, helm.x);
        ASSERT_EQ(g.player.position().z, helm.z);
    }
    EXPECT_GT(g.airship.heading, startHeading + 0.01f);
    EXPECT_TRUE(g.aboard);
}

TEST_F(Boarding, FurnaceTakesCoalThenFuelCanThenFirewood) {
    Game& g = MakeWorld();
    g.inventory = Inventory{};
    g.inventory.slots[0] = {ItemType::Firewood, 1};
    g.inventory.slots[1] = {ItemType::FuelCan, 1};
    g.inventory.slots[6] = {ItemType::Coal, 1};
    g.airship.fuel = 10.0f;
    StandAt(g.airship.FurnaceStandPoint());
    ASSERT_EQ(g.station, AirshipStation::Furnace);

    const float before = g.airship.fuel;
    Press(KEY_E);
    EXPECT_EQ(g.message, "Уголь в печи");
    EXPECT_EQ(Count(ItemType::Coal), 0);
    EXPECT_NEAR(g.airship.fuel, before + 15.0f, 0.01f);
    Press(KEY_E);
    EXPECT_EQ(g.message, "Канистра в печи (+25 с)");
    EXPECT_EQ(Count(ItemType::FuelCan), 0);
    Press(KEY_E);
    EXPECT_EQ(g.message, "Дрова в печи");
    EXPECT_EQ(Count(ItemType::Firewood), 0);
    EXPECT_NEAR(g.airship.fuel, before + 45.0f, 0.05f);
    Press(KEY_E);
    EXPECT_EQ(g.message, "Нет угля и дров - возьми уголь из бункера");
}

TEST_F(Boarding, HotFurnaceRefusesFuelAndTheShipCapsIt) {
    Game& g = MakeWorld();
    StandAt(g.airship.FurnaceStandPoint());
    ASSERT_EQ(g.station, AirshipStation::Furnace);
    const int coal = Count(ItemType::Coal);
    ASSERT_GT(coal, 0);

    g.airship.fuel = 118.5f;
    Press(KEY_E);
    EXPECT_EQ(g.message, "Уголь в печи");
    EXPECT_EQ(g.airship.fuel, 120.0f);
    EXPECT_EQ(Count(ItemType::Coal), coal - 1);

    // Still at 119 s or more after this step's burn: nothing is taken.
    g.airship.fuel = 119.01f;
    Press(KEY_E);
    EXPECT_EQ(g.message, "Печь уже горячая");
    EXPECT_EQ(Count(ItemType::Coal), coal - 1);
    EXPECT_LT(g.airship.fuel, 119.01f);
}

TEST_F(Boarding, CoalBunkerGivesAndTakesBackCoal) {
    Game& g = MakeWorld();
    StandAt(g.airship.CoalStandPoint());
    ASSERT_EQ(g.station, AirshipStation::CoalBunker);
    const int coal = Count(ItemType::Coal);

    g.airship.coal = 1;
    Press(KEY_E);
    EXPECT_EQ(g.message, "Взял уголь (в бункере осталось 0)");
    EXPECT_EQ(Count(ItemType::Coal), coal + 1);
    Press(KEY_E);
    EXPECT_EQ(g.message, "Угольный бункер пуст");
    EXPECT_EQ(Count(ItemType::Coal), coal + 1);

    g.airship.coal = 5;
    Press(KEY_F);
    EXPECT_EQ(g.message, "Уголь возвращён в бункер (6)");
    EXPECT_EQ(Count(ItemType::Coal), coal);

    // A full bunker hands the coal back.
    g.airship.coal = 40;
    Press(KEY_F);
    EXPECT_EQ(g.message, "Угольный бункер полон");
    EXPECT_EQ(Count(ItemType::Coal), coal);
    EXPECT_EQ(g.airship.coal, 40);

    g.inventory = Inventory{};
    Press(KEY_F);
    EXPECT_EQ(g.message, "В инвентаре нет угля");

    // No room for coal: the bunker keeps it.
    for (InventorySlot& slot : g.inventory.slots) {
        slot = {ItemType::Groats, 9};
    }
    g.airship.coal = 5;
    Press(KEY_E);
    EXPECT_EQ(g.message, "Инвентарь полон");
    EXPECT_EQ(g.airship.coal, 5);
}

TEST_F(Boarding, PlacedOnDeckAtTheDeckSpawn) {
    Game& g = MakeWorld();
    g.PlacePlayerOnDeck();
    const Vector3 spawn = g.airship.DeckSpawn();
    EXPECT_EQ(g.player.position().x, spawn.x);
    EXPECT_EQ(g.player.position().z, spawn.z);
    EXPECT_EQ(g.message, "На палубе. Пройди по гондоле; трап - на корме.");
    EXPECT_TRUE(log.Has("AIRSHIP: player placed on deck"));
    Frame();
    EXPECT_TRUE(g.aboard);
}

// A hovering ship with the player on open ground beside it.
class GroundBoarding : public Boarding {
protected:
    void SetUp() override {
        Game& g = MakeWorld();
        // Whole numbers keep the distances below exact.
        shipX = std::floor(g.airship.pos.x) + 120.0f;
        shipZ = std::floor(g.airship.pos.y) + 40.0f;
        g.airship.SetPosition(Vector2{shipX, shipZ}, *g.world);
        g.airship.SetAltitude(10.0f);
        StandOnGround(shipX + 30.0f, shipZ);
    }
    void StandOnGround(float x, float z) {
        game->player.Reset(Vector3{x, game->world->gen.Height(x, z) + 1.7f, z});
        Frame();
    }
    float shipX = 0.0f;
    float shipZ = 0.0f;
};

TEST_F(GroundBoarding, NearWithinThirtyUnitsOfAHoveringShip) {
    Game& g = *game;
    ASSERT_EQ(g.player.feet.x - g.airship.pos.x, 30.0f);
    ASSERT_FALSE(g.aboard);
    EXPECT_TRUE(g.NearAirshipBoarding());

    g.player.feet.x = shipX + 30.5f;
    EXPECT_FALSE(g.NearAirshipBoarding());
    g.player.feet.x = shipX + 30.0f;

    g.airship.altitude = 1.5f;
    EXPECT_FALSE(g.NearAirshipBoarding());
    g.airship.altitude = 1.6f;
    EXPECT_TRUE(g.NearAirshipBoarding());

    g.inTower = true;
    EXPECT_FALSE(g.NearAirshipBoarding());
    g.inTower = false;
    g.piloting = true;
    EXPECT_FALSE(g.NearAirshipBoarding());
}

TEST_F(GroundBoarding, EBeneathAHoveringShipClimbsAboard) {
    Game& g = *game;
    ASSERT_EQ(g.target.kind, 0);
    ASSERT_FALSE(g.home.nearFurnace(g.player.feet));
    Press(KEY_E);
    const Vector3 deck = g.airship.DeckSpawn();
    EXPECT_EQ(g.player.position().x, deck.x);
    EXPECT_EQ(g.player.position().y, deck.y);
    EXPECT_EQ(g.player.position().z, deck.z);
    // The camera jumps there instead of sweeping across the map.
    EXPECT_EQ(g.camera.position.x, deck.x);
    EXPECT_EQ(g.camera.position.z, deck.z);
    EXPECT_EQ(g.message, "Поднялся на борт");
    Frame();
    EXPECT_TRUE(g.aboard);
}

TEST_F(GroundBoarding, ATargetedItemOrCabinetTakesTheEInstead) {
    Game& g = *game;
    g.input = testgame::Keys({KEY_E});
    const Vector3 before = g.player.position();
    for (int kind : {1, 2}) {
        g.target.kind = kind;
        HandleBoarding(g);
        EXPECT_EQ(g.player.position().x, before.x) << "target kind " << kind;
        EXPECT_EQ(g.player.position().z, before.z) << "target kind " << kind;
    }
    g.target.kind = 0;
    HandleBoarding(g);
    EXPECT_EQ(g.player.position().x, g.airship.DeckSpawn().x);
    EXPECT_EQ(g.message, "Поднялся на борт");
}

TEST_F(GroundBoarding, AGroundedShipIsNotBoardedByE) {
    Game& g = *game;
    g.airship.SetAltitude(1.0f);
    const Vector3 before = g.player.position();
    Press(KEY_E);
    EXPECT_EQ(g.player.position().x, before.x);
    EXPECT_EQ(g.player.position().z, before.z);
    EXPECT_NE(g.message, "Поднялся на борт");
}

TEST_F(GroundBoarding, EAtTheHomeFurnaceActsOnTheHome) {
    Game& g = *game;
    const float x = g.home.cx + 1.0f;
    const float z = g.home.cz + 1.0f;
    g.airship.SetPosition(Vector2{x + 10.0f, z}, *g.world);
    g.airship.SetAltitude(10.0f);
    StandOnGround(x, z);
    ASSERT_TRUE(g.home.nearFurnace(g.player.feet));
    ASSERT_TRUE(g.NearAirshipBoarding());
    Press(KEY_E);
    EXPECT_NE(g.message, "Поднялся на борт");
    EXPECT_FALSE(g.airship.OnDeck(g.player.feet));
}

TEST_F(Boarding, RiderKeepsTheirDeckSpotWhileTheShipTurnsAndMoves) {
    Game& g = MakeWorld();
    g.airship.fuel = 100.0f;
    g.airship.furnaceTemp = 120.0f;
    g.airship.altitude = 12.0f;
    g.airship.throttle = 1.0f;
    g.airship.speed = 18.0f;
    g.airship.turnRate = 0.5f;
    g.PlacePlayerOnDeck();
    Frame();
    ASSERT_TRUE(g.aboard);
    const Vector2 spot = g.airship.LocalFromWorld(g.player.feet);
    const Vector2 startPos = g.airship.pos;
    const float startHeading = g.airship.heading;
    for (int i = 0; i < 60; ++i) {
        Frame();
        const Vector2 now = g.airship.LocalFromWorld(g.player.feet);
        ASSERT_NEAR(now.x, spot.x, 0.01f) << "step " << i;
        ASSERT_NEAR(now.y, spot.y, 0.01f) << "step " << i;
        ASSERT_TRUE(g.aboard) << "step " << i;
    }
    EXPECT_GT(std::fabs(g.airship.heading - startHeading), 0.1f);
    EXPECT_GT(std::fabs(g.airship.pos.x - startPos.x) + std::fabs(g.airship.pos.y - startPos.y), 5.0f);
}

TEST_F(Boarding, RiderOnTheGangwayStaysOnItWhileTheShipSinks) {
    Game& g = MakeWorld();
    // The gangway at the stern: column 1, row 8 of the hull.
    g.airship.SetAltitude(6.0f);
    g.player.Reset(g.airship.CellPoint(1, 8));
    float surface = 0.0f;
    ASSERT_TRUE(g.airship.SurfaceAt(g.player.feet, surface));
    g.player.Reset(Vector3{g.player.feet.x, surface + 1.7f, g.player.feet.z});
    Frame();
    ASSERT_TRUE(g.aboard);
    const Vector2 spot = g.airship.LocalFromWorld(g.player.feet);
    const float startAltitude = g.airship.altitude;
    for (int i = 0; i < 60; ++i) {
        Frame();
        ASSERT_TRUE(g.airship.SurfaceAt(g.player.feet, surface));
        ASSERT_NEAR(g.player.feet.y, surface, 0.01f) << "step " << i;
        ASSERT_EQ(g.airship.blockAt(1, 8), HullKind::Gangway);
    }
    const Vector2 now = g.airship.LocalFromWorld(g.player.feet);
    EXPECT_NEAR(now.x, spot.x, 0.01f);
    EXPECT_NEAR(now.y, spot.y, 0.01f);
    EXPECT_LT(g.airship.altitude, startAltitude - 0.5f);
}

TEST_F(Boarding, WithoutATowerMooringIsLeftAlone) {
    Game& g = MakeWorld();
    ASSERT_EQ(g.tower.floorCount, 0);
    g.moored = true;
    Frame();
    EXPECT_TRUE(g.moored);
    g.moored = false;
    Frame();
    EXPECT_FALSE(g.moored);
}

class TowerDock : public Boarding {
protected:
    void SetUp() override {
        workDir.Write("settings.ini", "renderDistance=4\n");
        MakeGame();
    }
    // Deck height at the deck spawn, as the mooring test reads it.
    float Deck() const { return game->airship.DeckSpawn().y - 1.7f; }
    float DockY() const { return game->tower.FloorY(game->tower.dockFloor); }

    ScopedEnv tower{"KIRN_TOWER", "1"};
};

TEST_F(TowerDock, ShipMoorsWithItsDeckLevelWithTheDockFloor) {
    Game& g = *game;
    ASSERT_GT(g.tower.floorCount, 0);
    // A new world starts moored with the door open; the first step finds the
    // ship on the ground far below the dock.
    EXPECT_TRUE(g.moored);
    EXPECT_TRUE(g.tower.dockOpen);
    Frame();
    EXPECT_FALSE(g.moored);
    EXPECT_FALSE(g.tower.dockOpen);

    // Raise the ship to 2 units below the dock floor: it moors and is lifted level.
    g.airship.SetAltitude(DockY() - g.airship.groundY - 2.2f - 2.0f);
    Frame();
    EXPECT_TRUE(g.moored);
    EXPECT_TRUE(g.tower.dockOpen);
    EXPECT_NEAR(Deck(), DockY(), 0.01f);
    EXPECT_EQ(g.airship.altitude, g.dockAltitude);
    for (int i = 0; i < 30; ++i) {
        Frame();
        ASSERT_TRUE(g.moored) << "step " << i;
        ASSERT_NEAR(Deck(), DockY(), 0.01f) << "step " << i;
    }

    // A moored ship cannot pass the dock line toward the tower.
    const float dockLine = g.tower.center.y + g.tower.dockOffset;
    g.airship.SetPosition(Vector2{g.airship.pos.x, dockLine - 3.0f}, *g.world);
    g.airship.speed = 5.0f;
    Frame();
    EXPECT_TRUE(g.moored);
    EXPECT_EQ(g.airship.pos.y, dockLine);
    EXPECT_EQ(g.airship.speed, 0.0f);
}

TEST_F(TowerDock, HullIsPushedOutOfTheTowerWalls) {
    Game& g = *game;
    Frame();
    ASSERT_FALSE(g.moored);
    const Vector2 inside{g.airship.pos.x, g.airship.pos.y - 20.0f};
    g.airship.SetPosition(inside, *g.world);
    g.airship.speed = 5.0f;
    UpdateTowerDock(g);
    EXPECT_TRUE(g.airship.pos.x != inside.x || g.airship.pos.y != inside.y);
    EXPECT_EQ(g.airship.speed, 0.0f);
    EXPECT_EQ(g.shake, 0.45f);
    EXPECT_EQ(g.message, "Корпус скребёт о башню");
    // Pushed clear: the next step leaves it where it is.
    const Vector2 after = g.airship.pos;
    log.Clear();
    Frame();
    EXPECT_EQ(g.airship.pos.x, after.x);
    EXPECT_EQ(g.airship.pos.y, after.y);
    EXPECT_FALSE(Said("Корпус скребёт о башню"));
}

TEST_F(Boarding, DockTestLogsTheProbeThenOneLinePerStep) {
#ifdef _WIN32
    GTEST_SKIP() << "the Windows C runtime cannot hold a variable set to nothing";
#endif
    ScopedEnv dock("KIRN_DOCK_TEST", "");
    workDir.Write("settings.ini", "renderDistance=4\n");
    Game& g = MakeGame();
    ASSERT_GT(g.tower.floorCount, 0);
    int probes = 0;
    for (const std::string& line : testgame::LogCapture::Lines()) {
        if (line.rfind("DOCK z-", 0) == 0) {
            EXPECT_EQ(line.rfind("DOCK z-" + std::to_string(2 * probes) + " ship ", 0), 0u) << line;
            ++probes;
        }
    }
    EXPECT_EQ(probes, 25);

    log.Clear();
    for (int i = 0; i < 3; ++i) {
        Frame();
    }
    int steps = 0;
    const std::string dockY = TextFormat("dockY=%.2f ", static_cast<double>(g.tower.FloorY(g.tower.dockFloor)));
    for (const std::string& line : testgame::LogCapture::Lines()) {
        if (line.rfind("DOCK: near=1 deck=", 0) == 0) {
            EXPECT_NE(line.find(dockY), std::string::npos) << line;
            ++steps;
        }
    }
    EXPECT_EQ(steps, 3);
}

}  // namespace
