// save_game_test.cpp: saving a running game and loading it back: what the file
// holds, what a load rebuilds and resets, and that a failed save or load
// leaves the previous save and the running game alone.
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "game/files/save_file.h"
#include "tests/game/files/file_size_limit.h"
#include "tests/game/files/odd_files.h"
#include "tests/game/game_fixture.h"

namespace {

using testgame::GameTest;
using testgame::ScopedEnv;

constexpr uint32_t kSeed = 20261113u;

class SaveSlot : public GameTest {
protected:
    void WriteSave(const std::vector<uint8_t>& bytes) {
        workDir.Write("savegame.dat", std::string(bytes.begin(), bytes.end()));
    }
    std::vector<uint8_t> SavedBytes() const {
        const std::string text = workDir.Read("savegame.dat");
        return std::vector<uint8_t>(text.begin(), text.end());
    }
    // A valid save of the debug seed with the player where the game put them.
    SaveData Basic() const {
        SaveData d;
        d.seed = kSeed;
        d.eye = game->player.position();
        d.zoom = 5.0f;
        d.worldTime = 100.0f;
        d.airshipPos = game->airship.pos;
        d.airshipHeading = game->airship.heading;
        return d;
    }
};

TEST_F(SaveSlot, NothingIsWrittenWithoutAWorld) {
    Game& g = MakeGame();
    EXPECT_FALSE(g.SaveGame());
    EXPECT_FALSE(workDir.Exists("savegame.dat"));
    EXPECT_FALSE(g.LoadGame());
}

TEST_F(SaveSlot, LoadFromTheMainMenuStartsTheSavedWorld) {
    Game& g = MakeWorld(31337u);
    g.food = 12.0f;
    g.ReturnToMainMenu();
    ASSERT_EQ(g.world, nullptr);
    ASSERT_TRUE(g.menu.open);
    EXPECT_TRUE(log.Has("SAVE: game saved to savegame.dat"));

    // "Загрузить" on a damaged file says so and stays; on the whole file it loads.
    const std::vector<uint8_t> good = SavedBytes();
    WriteSave({good.begin(), good.end() - 1});
    Press(KEY_DOWN);
    Press(KEY_ENTER);
    EXPECT_EQ(g.world, nullptr);
    EXPECT_EQ(g.menu.notice, "Сохранение не найдено");
    WriteSave(good);
    Press(KEY_ENTER);
    ASSERT_NE(g.world, nullptr);
    EXPECT_EQ(g.seed, 31337u);
    EXPECT_EQ(g.food, 12.0f);
    EXPECT_FALSE(g.menu.open);
    EXPECT_FALSE(g.world->chunks.empty());
    Frame();
    EXPECT_FALSE(g.gameOver);
}

TEST_F(SaveSlot, FreshWorldSaveIs333BytesAndEachRemovedObjectAddsEight) {
    Game& g = MakeWorld();
    g.menu.hasSave = false;
    ASSERT_TRUE(g.SaveGame());
    EXPECT_EQ(SavedBytes().size(), 333u);
    EXPECT_TRUE(log.Has("SAVE: game saved to savegame.dat"));
    EXPECT_TRUE(g.menu.hasSave);
    EXPECT_EQ(testfiles::TemporariesOf(workDir.Path() / "savegame.dat"), std::vector<std::string>{});

    g.world->removedIds.insert(11);
    g.world->removedIds.insert(12);
    ASSERT_TRUE(g.SaveGame());
    EXPECT_EQ(SavedBytes().size(), 349u);
}

TEST_F(SaveSlot, LoadRestoresTheSavedGame) {
    Game& g = MakeWorld(777u);
    WorldTree tree{};
    ASSERT_TRUE(g.world->NearestTree(g.player.position(), 3000.0f, tree));
    g.world->ChopTree(tree.id);

    g.food = 40.0f;
    g.water = 50.0f;
    g.health = 60.0f;
    g.warmth = 70.0f;
    g.zoom = 7.0f;
    g.weapon = WeaponKind::Axe;
    g.magazine = 3;
    g.inventory = Inventory{};
    g.inventory.slots[3] = {ItemType::Medkit, 2};
    g.inventory.slots[20] = {ItemType::SparePart, 1};
    g.inventory.selected = 3;
    g.airship.SetPosition(Vector2{g.airship.pos.x + 40.0f, g.airship.pos.y - 25.0f}, *g.world);
    g.airship.fuel = 90.0f;
    g.airship.coal = 12;
    g.airship.altitude = 14.0f;
    g.home.RestoreState(300.0f, 6, false, 2, true);
    g.foodShared = 2;
    g.rewardGiven = true;
    g.player.Reset(Vector3{g.player.feet.x + 9.0f, g.player.feet.y + 1.7f, g.player.feet.z - 4.0f});
    g.player.yaw = 0.8f;
    const Vector3 eye = g.player.position();
    const Vector2 shipPos = g.airship.pos;
    ASSERT_TRUE(g.SaveGame());

    g.StartNewWorld(4242u);
    g.marauders.push_back(Marauder{});
    g.shots.push_back(ShotTrace{});
    // The hotbar slot is not saved: a load leaves the player's choice.
    g.inventory.selected = 6;
    g.OpenMenu();
    log.Clear();
    ASSERT_TRUE(g.LoadGame());

    EXPECT_EQ(g.seed, 777u);
    EXPECT_EQ(g.world->removedIds.count(tree.id), 1u);
    EXPECT_EQ(g.food, 40.0f);
    EXPECT_EQ(g.water, 50.0f);
    EXPECT_EQ(g.health, 60.0f);
    EXPECT_EQ(g.warmth, 70.0f);
    EXPECT_EQ(g.zoom, 7.0f);
    EXPECT_EQ(g.weapon, WeaponKind::Axe);
    EXPECT_EQ(g.magazine, 3);
    EXPECT_EQ(g.inventory.slots[3].type, ItemType::Medkit);
    EXPECT_EQ(g.inventory.slots[3].count, 2);
    EXPECT_EQ(g.inventory.slots[20].type, ItemType::SparePart);
    EXPECT_EQ(g.inventory.selected, 6);
    EXPECT_EQ(g.airship.pos.x, shipPos.x);
    EXPECT_EQ(g.airship.pos.y, shipPos.y);
    EXPECT_EQ(g.airship.fuel, 90.0f);
    EXPECT_EQ(g.airship.coal, 12);
    EXPECT_EQ(g.airship.altitude, 14.0f);
    EXPECT_EQ(g.home.fuel, 300.0f);
    EXPECT_EQ(g.home.survivorsAlive(), 6);
    EXPECT_EQ(g.home.parts, 2);
    EXPECT_EQ(g.foodShared, 2);
    EXPECT_TRUE(g.rewardGiven);
    EXPECT_NEAR(g.player.position().x, eye.x, 1e-3f);
    EXPECT_NEAR(g.player.position().y, eye.y, 1e-3f);
    EXPECT_NEAR(g.player.position().z, eye.z, 1e-3f);
    EXPECT_EQ(g.player.yaw, 0.8f);
    EXPECT_FALSE(g.piloting);

    // What a load resets, and how it ends.
    EXPECT_TRUE(g.marauders.empty());
    EXPECT_TRUE(g.shots.empty());
    EXPECT_TRUE(g.message.empty());
    EXPECT_FALSE(g.menu.open);
    EXPECT_TRUE(g.menu.hasSave);
    EXPECT_FALSE(g.gameOver);
    EXPECT_TRUE(log.Has("HEARTH: restored 300 s of fuel, 6 survivors, working, 2/3 parts, loose part taken"));
    EXPECT_TRUE(log.Has("SAVE: game loaded from savegame.dat"));

    // The felled tree stays felled.
    WorldTree again{};
    if (g.world->NearestTree(tree.position, 1.0f, again)) {
        EXPECT_NE(again.id, tree.id);
    }
}

// A load paused at once draws its first frame before any simulation step: that
// frame shows the player, the airship and the view as they stood when saved.
TEST_F(SaveSlot, FirstFrameAfterALoadShowsTheSavedScene) {
    struct Drawn {
        Vector3 viewCenter;
        float viewZoom;
        float renderLift;
        Vector3 eye;
        Vector2 shipPos;
        float shipHeading;
        float shipAltitude;
    };
    auto drawn = [](const Game& tested) {
        return Drawn{tested.viewCenter,  tested.viewZoom,        tested.renderLift,      tested.player.position(),
                     tested.airship.pos, tested.airship.heading, tested.airship.altitude};
    };
    struct Case {
        const char* what;
        float zoom;
        float altitude;
        void (*place)(Game&);
    };
    const Case cases[] = {
        {"on foot beside a hovering ship", 9.0f, 30.0f,
         [](Game& tested) {
             const Vector2 s = tested.airship.pos;
             tested.player.Reset(
                 Vector3{s.x + 20.0f, tested.world->gen.Height(s.x + 20.0f, s.y + 30.0f) + 1.7f, s.y + 30.0f});
         }},
        {"on deck", 2.4f, 24.0f, [](Game& tested) { tested.player.Reset(tested.airship.DeckSpawn()); }},
        {"at the helm", 3.5f, 35.0f,
         [](Game& tested) {
             tested.player.Reset(tested.airship.DeckSpawn());
             tested.StartPiloting();
         }},
    };
    for (const Case& c : cases) {
        Game& g = MakeWorld();
        g.airship.SetAltitude(c.altitude);
        c.place(g);
        g.zoom = c.zoom;
        // The camera settles on the player and the zoom before the save.
        g.camera.SetPosition(g.player.position());
        Frame();
        g.camera.SetPosition(g.player.position());
        Frame();
        const Drawn saved = drawn(g);
        ASSERT_EQ(g.camera.zoom, c.zoom) << c.what;
        ASSERT_TRUE(g.SaveGame()) << c.what;

        g.ReturnToMainMenu();
        ASSERT_TRUE(g.LoadGame()) << c.what;
        const Drawn loaded = drawn(g);
        EXPECT_EQ(loaded.viewZoom, saved.viewZoom) << c.what;
        EXPECT_EQ(loaded.renderLift, saved.renderLift) << c.what;
        EXPECT_EQ(loaded.viewCenter.x, saved.viewCenter.x) << c.what;
        EXPECT_EQ(loaded.viewCenter.z, saved.viewCenter.z) << c.what;
        EXPECT_EQ(loaded.eye.x, saved.eye.x) << c.what;
        EXPECT_EQ(loaded.eye.z, saved.eye.z) << c.what;
        EXPECT_EQ(loaded.shipPos.x, saved.shipPos.x) << c.what;
        EXPECT_EQ(loaded.shipPos.y, saved.shipPos.y) << c.what;
        EXPECT_EQ(loaded.shipHeading, saved.shipHeading) << c.what;
        EXPECT_EQ(loaded.shipAltitude, saved.shipAltitude) << c.what;

        // The first step changes the picture only by a step of motion (a cold
        // furnace lets the ship sink, which widens the view a little).
        Frame();
        const Drawn stepped = drawn(g);
        EXPECT_NEAR(stepped.viewZoom, loaded.viewZoom, 0.01f) << c.what;
        EXPECT_NEAR(stepped.viewCenter.x, loaded.viewCenter.x, 0.05f) << c.what;
        EXPECT_NEAR(stepped.viewCenter.z, loaded.viewCenter.z, 0.05f) << c.what;
        EXPECT_NEAR(stepped.renderLift, loaded.renderLift, 0.05f) << c.what;
    }
}

TEST_F(SaveSlot, FailedLoadLeavesTheRunningGameAsItWas) {
    Game& g = MakeWorld();
    ASSERT_TRUE(g.SaveGame());
    std::vector<uint8_t> good = SavedBytes();

    g.OpenMenu();
    g.menu.notice = "before";
    g.food = 33.0f;
    g.inventory.slots[30] = {ItemType::Water, 4};
    const World* world = g.world.get();
    const Vector3 eye = g.player.position();
    const Menu::Page page = g.menu.page;

    std::vector<std::vector<uint8_t>> damaged;
    damaged.emplace_back(good.begin(), good.end() - 1);  // cut short
    damaged.push_back(good);
    damaged.back()[4] = 10;  // version 10
    damaged.push_back(good);
    damaged.back()[0] = 'X';  // magic
    damaged.push_back(good);
    damaged.back()[64] = 0;  // slot 0 {type 0, count 2}
    damaged.push_back(good);
    damaged.back()[267] = 0xff;  // removed-id count in the billions
    damaged.emplace_back();      // empty file

    for (std::size_t i = 0; i < damaged.size(); ++i) {
        WriteSave(damaged[i]);
        log.Clear();
        EXPECT_FALSE(g.LoadGame()) << "case " << i;
        EXPECT_TRUE(testgame::LogCapture::Lines().empty()) << "case " << i;
        EXPECT_EQ(g.world.get(), world);
        EXPECT_EQ(g.seed, kSeed);
        EXPECT_EQ(g.food, 33.0f);
        EXPECT_EQ(g.inventory.slots[30].count, 4);
        EXPECT_EQ(g.player.position().x, eye.x);
        EXPECT_EQ(g.player.position().z, eye.z);
        EXPECT_TRUE(g.menu.open);
        EXPECT_EQ(g.menu.page, page);
        EXPECT_EQ(g.menu.notice, "before");
    }
    std::filesystem::remove(workDir.Path() / "savegame.dat");
    EXPECT_FALSE(g.LoadGame());
    EXPECT_EQ(g.world.get(), world);
}

TEST_F(SaveSlot, FailedSaveKeepsThePreviousSaveWhole) {
    Game& g = MakeWorld();
    ASSERT_TRUE(g.SaveGame());
    const std::vector<uint8_t> old = SavedBytes();
    g.world->removedIds.insert(99);
    log.Clear();
    {
        // The new file cannot be written beside the old one.
        testfiles::WriteBlocked blocked((workDir.Path() / "savegame.dat").string());
        EXPECT_FALSE(g.SaveGame());
    }
    EXPECT_EQ(SavedBytes(), old);
    EXPECT_FALSE(log.Has("SAVE: game saved to savegame.dat"));
    // A load still finds the old save.
    EXPECT_TRUE(g.LoadGame());
    EXPECT_EQ(g.world->removedIds.count(99), 0u);
}

// A state its own loader would refuse is never written: the save fails with
// the usual text and the good save before it stays byte for byte.
TEST_F(SaveSlot, UnloadableStateNeverReplacesTheSave) {
    Game& g = MakeWorld();
    ASSERT_TRUE(g.SaveGame());
    const std::vector<uint8_t> old = SavedBytes();
    const Vector3 home = g.player.position();
    struct Case {
        const char* what;
        void (*spoil)(Game&);
    };
    const Case cases[] = {
        {"a long flight",
         [](Game& tested) {
             const Vector3 e = tested.player.position();
             tested.player.Reset(Vector3{e.x, e.y, -20000000.0f});
         }},
        {"a clock that is not a number",
         [](Game& tested) { tested.world->worldTime = std::numeric_limits<float>::quiet_NaN(); }},
        {"100001 removed objects",
         [](Game& tested) {
             for (uint64_t id = 1; id <= 100001; ++id) tested.world->removedIds.insert(id);
         }},
    };
    for (const Case& c : cases) {
        const float worldTime = g.world->worldTime;
        c.spoil(g);
        log.Clear();
        Press(KEY_F5);
        EXPECT_EQ(g.message, "Не удалось сохранить") << c.what;
        EXPECT_FALSE(log.Has("SAVE: game saved to savegame.dat")) << c.what;
        EXPECT_EQ(SavedBytes(), old) << c.what;
        g.player.Reset(home);
        g.world->worldTime = worldTime;
        g.world->removedIds.clear();
    }
    ASSERT_TRUE(g.SaveGame());
    EXPECT_TRUE(g.LoadGame());
}

// A finished game is never saved: not by F5 in the step that ends it, not by
// the pause menu over the end overlay, not by any other caller. The good save
// before the end stays byte for byte; a won game saves again once continued.
TEST_F(SaveSlot, FinishedGameNeverReplacesTheSave) {
    struct Case {
        const char* what;
        void (*end)(Game&);
        bool Game::*cause;  // the flag this end sets
    };
    const Case cases[] = {
        {"death", [](Game& tested) { tested.health = 0.0f; }, &Game::gameOver},
        {"froze",
         [](Game& tested) {
             tested.player.Reset(tested.airship.GroundSpawn());  // out of the home's heat
             tested.warmth = 0.0f;
             tested.health = 0.001f;
         },
         &Game::froze},
        {"settlement lost", [](Game& tested) { tested.home.RestoreState(0.0f, 0, false, 3, true); },
         &Game::settlementFroze},
        {"win", [](Game& tested) { tested.home.RestoreState(905.0f, tested.home.survivorsAlive(), false, 3, true); },
         &Game::wonOverlay},
    };
    for (const Case& c : cases) {
        Game& g = MakeWorld();
        g.world->removedIds.insert(7);
        ASSERT_TRUE(g.SaveGame()) << c.what;
        const std::vector<uint8_t> good = SavedBytes();
        g.world->removedIds.insert(8);
        c.end(g);
        log.Clear();
        Press(KEY_F5);  // the step that ends the game runs F5 after it ended
        ASSERT_TRUE(g.gameOver) << c.what;
        EXPECT_TRUE(g.*c.cause) << c.what;
        EXPECT_EQ(g.message, "Не удалось сохранить") << c.what;

        Press(KEY_ESCAPE);
        ASSERT_TRUE(g.menu.open) << c.what;
        Press(KEY_DOWN);
        Press(KEY_ENTER);
        EXPECT_EQ(g.menu.notice, "Не удалось сохранить") << c.what;
        EXPECT_FALSE(g.SaveGame()) << c.what;
        EXPECT_FALSE(log.Has("SAVE: game saved to savegame.dat")) << c.what;
        EXPECT_EQ(SavedBytes(), good) << c.what;

        if (g.wonOverlay) {
            Press(KEY_ESCAPE);
            ASSERT_FALSE(g.menu.open);
            Press(KEY_ENTER);
            ASSERT_FALSE(g.gameOver);
            EXPECT_TRUE(g.SaveGame()) << c.what;
            EXPECT_NE(SavedBytes(), good) << c.what;
        } else {
            g.ReturnToMainMenu();
            EXPECT_EQ(SavedBytes(), good) << c.what;
        }
    }
}

TEST_F(SaveSlot, VersionOneLoadsWithTheDefaults) {
    Game& g = MakeWorld();
    SaveData d = Basic();
    d.piloting = true;  // not part of a version-1 file
    WriteSave(EncodeSave(d, 1));
    g.warmth = 20.0f;
    g.weapon = WeaponKind::Knife;
    g.magazine = 1;
    g.airship.coal = 3;
    g.home.RestoreState(10.0f, 2, true, 0, false);
    ASSERT_TRUE(g.LoadGame());
    EXPECT_FALSE(g.piloting);
    EXPECT_EQ(g.airship.fuel, 30.0f);
    EXPECT_EQ(g.airship.coal, 20);
    EXPECT_EQ(g.airship.furnaceTemp, 20.0f);
    EXPECT_EQ(g.airship.cabinTemp, 18.0f);
    EXPECT_EQ(g.airship.altitude, 0.0f);
    EXPECT_EQ(g.warmth, 100.0f);
    EXPECT_EQ(g.weapon, WeaponKind::Pistol);
    EXPECT_EQ(g.magazine, 8);
    EXPECT_EQ(g.home.fuel, 480.0f);
    EXPECT_EQ(g.home.survivorsAlive(), 8);
    EXPECT_FALSE(g.home.broken);
    EXPECT_EQ(g.home.parts, 3);
    EXPECT_TRUE(g.home.partTaken);
    EXPECT_EQ(g.foodShared, 0);
    EXPECT_FALSE(g.rewardGiven);
}

TEST_F(SaveSlot, OutOfRangeValuesAreClampedOnLoad) {
    Game& g = MakeWorld();
    SaveData d = Basic();
    d.zoom = 50.0f;
    d.magazine = 12;
    d.weapon = 7;
    d.food = 250.0f;
    d.water = std::numeric_limits<float>::quiet_NaN();
    d.health = -4.0f;
    d.warmth = std::numeric_limits<float>::infinity();
    d.yaw = std::numeric_limits<float>::quiet_NaN();
    WriteSave(EncodeSave(d));
    ASSERT_TRUE(g.LoadGame());
    EXPECT_EQ(g.zoom, 10.0f);
    EXPECT_EQ(g.magazine, 8);
    EXPECT_EQ(g.weapon, WeaponKind::Pistol);
    EXPECT_EQ(g.food, 100.0f);
    EXPECT_EQ(g.water, 100.0f);
    EXPECT_EQ(g.health, 0.0f);
    // Needs and yaw that are not numbers load as their defaults.
    EXPECT_EQ(g.warmth, 100.0f);
    EXPECT_EQ(g.player.yaw, 0.0f);
    EXPECT_EQ(g.camera.yaw, 0.0f);

    d.zoom = 1.0f;
    d.magazine = -3;
    d.weapon = 0;
    WriteSave(EncodeSave(d));
    ASSERT_TRUE(g.LoadGame());
    EXPECT_EQ(g.zoom, 2.4f);
    EXPECT_EQ(g.magazine, 0);
    EXPECT_EQ(g.weapon, WeaponKind::Knife);
}

TEST_F(SaveSlot, PilotingSaveLoadsAtTheHelmFacingTheHeading) {
    Game& g = MakeWorld();
    SaveData d = Basic();
    d.piloting = true;
    d.eye = {d.eye.x + 200.0f, d.eye.y, d.eye.z + 200.0f};
    d.yaw = -2.0f;
    d.airshipHeading = 0.3f;
    WriteSave(EncodeSave(d));
    ASSERT_TRUE(g.LoadGame());
    EXPECT_TRUE(g.piloting);
    const Vector3 helm = g.airship.HelmStandPoint();
    EXPECT_EQ(g.player.position().x, helm.x);
    EXPECT_EQ(g.player.position().z, helm.z);
    EXPECT_EQ(g.player.yaw, 0.3f + 1.5707964f);
    Frame();
    EXPECT_TRUE(g.piloting);
    EXPECT_EQ(g.player.yaw, g.airship.heading + 1.5707964f);
}

TEST_F(SaveSlot, FrozenSettlementLoadsIntoTheEndOverlay) {
    Game& g = MakeWorld();
    SaveData d = Basic();
    d.survivorsAlive = 0;
    WriteSave(EncodeSave(d));
    ASSERT_TRUE(g.LoadGame());
    EXPECT_TRUE(g.settlementFroze);
    EXPECT_TRUE(g.gameOver);
    EXPECT_TRUE(g.endLatched);
}

TEST_F(SaveSlot, WonGameDeclaresTheWinAgainOnTheFirstStep) {
    Game& g = MakeWorld();
    SaveData d = Basic();
    // Still 900 s or more after the first step's burn.
    d.homeFuel = 905.0f;
    d.broken = false;
    d.parts = 3;
    WriteSave(EncodeSave(d));
    ASSERT_TRUE(g.LoadGame());
    EXPECT_FALSE(g.winReached);
    Frame();
    EXPECT_TRUE(g.winReached);
    EXPECT_TRUE(log.Has("SURVIVAL: Поселение переживёт зиму"));
}

TEST_F(SaveSlot, TowerFloorAndTakenItemsSurviveWithTheTower) {
    ScopedEnv towerOn("KIRN_TOWER", "1");
    workDir.Write("settings.ini", "renderDistance=4\n");
    Game& g = MakeGame();
    ASSERT_GT(g.tower.floorCount, 0);
    uint64_t key = 0;
    for (int f = g.tower.minFloor; f < g.tower.floorCount && key == 0; ++f) {
        if (!g.tower.floors[f].items.empty()) {
            key = g.tower.floors[f].items.front().key;
            g.tower.currentFloor = f;
        }
    }
    ASSERT_NE(key, 0u);
    ASSERT_NE(g.tower.takeItem(key), ItemType::None);
    g.tower.currentFloor = 20;
    ASSERT_TRUE(g.SaveGame());
    const std::vector<uint8_t> bytes = SavedBytes();
    SaveData saved;
    ASSERT_TRUE(DecodeSave(bytes, saved));
    EXPECT_EQ(saved.towerFloor, 20);
    EXPECT_EQ(saved.towerKeys, std::vector<uint64_t>{key});

    g.tower.RestoreState(12, {});
    ASSERT_TRUE(g.LoadGame());
    EXPECT_EQ(g.tower.currentFloor, 20);
    EXPECT_EQ(g.tower.takenKeys(), std::vector<uint64_t>{key});
    EXPECT_FALSE(g.moored);
}

}  // namespace
