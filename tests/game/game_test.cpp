// game_test.cpp: the game object's life and its frame state machine:
// start into the main menu, a new world's starting state, the modal layers
// and what each lets through, the end overlay, zoom, hotbar and F keys.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/view/ui_font.h"
#include "tests/game/game_fixture.h"
#include "tests/game/per_world_members.h"

namespace {

using testgame::GameTest;
using testgame::Keys;

const std::string kStartMessage =
    "Большой генератор разрушен. Одна часть лежит рядом - ещё две ищи в городах. "
    "Выжившие голодны: поделись с ними едой [F].";

// ---- Start and the main menu ----

TEST_F(GameTest, NormalStartShowsMainMenuWithoutWorldOrSave) {
    Game& g = MakeGame();
    EXPECT_EQ(g.world, nullptr);
    EXPECT_TRUE(g.menu.open);
    EXPECT_EQ(g.menu.page, Menu::Page::Main);
    EXPECT_FALSE(g.menu.hasSave);
    EXPECT_FALSE(g.SaveExists());
    Frame();
    EXPECT_EQ(g.world, nullptr);
    EXPECT_TRUE(g.menu.open);
}

TEST_F(GameTest, NormalStartSeesAnExistingSaveFile) {
    workDir.Write("savegame.dat", "x");
    Game& g = MakeGame();
    EXPECT_TRUE(g.SaveExists());
    // The menu learns it before its first Update, so before it is first drawn.
    Frame();
    EXPECT_TRUE(g.menu.hasSave);
}

TEST_F(GameTest, DestroyingTheGameWritesSettingsAlsoFromMainMenu) {
    MakeGame();
    EXPECT_FALSE(workDir.Exists("settings.ini"));
    game.reset();
    EXPECT_TRUE(workDir.Exists("settings.ini"));
}

// KIRN_FXAA smooths this run only: "settings.ini" keeps what it said when the
// menu closes and when the game ends.
TEST_F(GameTest, ForcedAntiAliasingIsNeverWrittenToTheSettings) {
    const std::string ini = "renderDistance=4\nvsync=1\nfpsLimit=60\nfxaa=0\nwindowMode=0\nresolution=2\n";
    testgame::ScopedEnv fxaa("KIRN_FXAA", "1");
    {
        workDir.Write("settings.ini", ini);
        Game& g = MakeGame();
        EXPECT_TRUE(g.settings.fxaa);
        EXPECT_TRUE(g.screenFx.fxaaEnabled);
        game.reset();
        EXPECT_EQ(workDir.Read("settings.ini"), testgame::AsTextFile(ini));
    }
    {
        testgame::ScopedEnv start("KIRN_AUTOSTART", "5");
        Game& g = MakeGame();
        ASSERT_NE(g.world, nullptr);
        Press(KEY_ESCAPE);
        Press(KEY_ESCAPE);
        ASSERT_FALSE(g.menu.open);
        EXPECT_EQ(workDir.Read("settings.ini"), testgame::AsTextFile(ini));
        // The player's other choices of the run are written around it.
        g.settings.fpsLimit = 90;
        EXPECT_TRUE(g.SaveSettings());
        EXPECT_EQ(workDir.Read("settings.ini"),
                  testgame::AsTextFile("renderDistance=4\nvsync=1\nfpsLimit=90\nfxaa=0\nwindowMode=0\nresolution=2\n"));
    }
}

// Numbers of KIRN_CAMERA that are not finite count as 0: the player, the
// camera and the home distance on the HUD stay finite.
TEST_F(GameTest, CameraStartWithNumbersThatAreNotFiniteUsesZero) {
    workDir.Write("settings.ini", "renderDistance=4\n");
    for (const char* value : {"nan,0,inf,nan,-inf", "1e999,5,-1e999,-nan,1e999"}) {
        testgame::ScopedEnv camera("KIRN_CAMERA", value);
        Game& g = MakeGame();
        ASSERT_NE(g.world, nullptr) << value;
        const Vector3 eye = g.player.position();
        EXPECT_EQ(eye.x, 0.0f) << value;
        EXPECT_EQ(eye.z, 0.0f) << value;
        EXPECT_NEAR(eye.y, g.world->gen.Height(0.0f, 0.0f) + 1.8f, 1e-4f) << value;
        Frame();
        const Vector3 feet = g.player.feet;
        const Vector3 view = g.viewCenter;
        for (float v : {feet.x, feet.y, feet.z, view.x, view.y, view.z, g.camera.position.x, g.camera.position.z,
                        g.camera.yaw, g.viewZoom}) {
            EXPECT_TRUE(std::isfinite(v)) << value;
        }
        game.reset();
    }
}

TEST_F(GameTest, EscapeWithoutWorldStepsBackAndAsksBeforeLeaving) {
    Game& g = MakeGame();
    g.menu.OpenSettings();
    Press(KEY_ESCAPE);
    EXPECT_EQ(g.menu.page, Menu::Page::Main);
    g.menu.OpenNewWorldPage();
    Press(KEY_ESCAPE);
    EXPECT_EQ(g.menu.page, Menu::Page::Main);
    // On Main, Escape asks whether to leave; Escape again only closes the question.
    Press(KEY_ESCAPE);
    EXPECT_TRUE(g.menu.open);
    EXPECT_EQ(g.menu.page, Menu::Page::Main);
    EXPECT_TRUE(g.menu.exitConfirmOpen);
    Press(KEY_ESCAPE);
    EXPECT_FALSE(g.menu.exitConfirmOpen);
    EXPECT_EQ(g.menu.page, Menu::Page::Main);
    EXPECT_FALSE(g.quitRequested);

    // With the settings page's resolution list open, Escape closes only the list.
    g.menu.OpenSettings();
    g.menu.OpenResolutionDropdown(g.settings);
    ASSERT_TRUE(g.menu.dropdownOpen);
    Press(KEY_ESCAPE);
    EXPECT_FALSE(g.menu.dropdownOpen);
    EXPECT_EQ(g.menu.page, Menu::Page::Settings);
}

TEST_F(GameTest, ExitDialogQuitRequestsTheEndOfTheLoop) {
    Game& g = MakeGame();
    Press(KEY_ESCAPE);
    ASSERT_TRUE(g.menu.exitConfirmOpen);
    // The question opens on "Отмена"; Left moves to "Выйти из игры".
    Press(KEY_ENTER);
    EXPECT_FALSE(g.quitRequested);
    Press(KEY_ESCAPE);
    Press(KEY_LEFT);
    ASSERT_EQ(g.menu.exitChoice, 0);
    Press(KEY_ENTER);
    EXPECT_TRUE(g.quitRequested);
}

// A menu result that the state does not offer does nothing: the pause
// menu's without a world, a new world's in one. No input makes them today;
// this holds the game to that should a page ever offer one.
TEST_F(GameTest, MenuResultsTheStateDoesNotOfferDoNothing) {
    struct Case {
        bool inWorld;
        MenuAction action;
    };
    const Case cases[] = {
        {false, MenuAction::Resume},
        {false, MenuAction::Save},
        {false, MenuAction::ToMainMenu},
        {true, MenuAction::StartNewWorld},
    };
    for (const Case& c : cases) {
        const std::string name = std::to_string(static_cast<int>(c.action));
        Game& g = c.inWorld ? MakeWorld(777u) : MakeGame();
        if (c.inWorld) {
            g.OpenMenu();
        }
        const World* world = g.world.get();
        const uint32_t seed = g.seed;
        const Menu::Page page = g.menu.page;
        log.Clear();
        HandleMenuAction(g, c.action);
        EXPECT_EQ(g.world.get(), world) << name;
        EXPECT_EQ(g.seed, seed) << name;
        EXPECT_TRUE(g.menu.open) << name;
        EXPECT_EQ(g.menu.page, page) << name;
        EXPECT_EQ(g.menu.notice, "") << name;
        EXPECT_FALSE(g.quitRequested) << name;
        EXPECT_FALSE(workDir.Exists("savegame.dat")) << name;
        EXPECT_EQ(log.Lines(), std::vector<std::string>{}) << name;
    }
}

// A window mode chosen by the keys under a hand resting on its row: the
// window changes, and the still cursor's window pixels now lie over the next
// row. The game tells the menu, so the highlight stays on the row.
TEST_F(GameTest, WindowChangeUnderTheRestingHandKeepsTheHighlight) {
    Game& g = MakeGame();
    g.menu.OpenSettings();
    const int modeRow = Menu::RowIndex(Menu::Page::Settings, Menu::RowAction::WindowMode);
    const Rectangle mode = Menu::SettingRow(modeRow);
    const Rectangle below = Menu::SettingRow(Menu::RowIndex(Menu::Page::Settings, Menu::RowAction::Resolution));
    FrameInput hand;
    hand.mouse = {mode.x + 20.0f, mode.y + mode.height / 2.0f};
    Frame(hand);
    hand.mouse.x += 5.0f;
    Frame(hand);
    ASSERT_EQ(g.menu.selected, modeRow);
    FrameInput right = hand;
    right.Press(KEY_RIGHT);
    Frame(right);
    ASSERT_EQ(g.settings.windowMode, 1);
    FrameInput moved;
    moved.mouse = {hand.mouse.x, below.y + below.height / 2.0f};
    for (int frame = 0; frame < 3; ++frame) {
        Frame(moved);
    }
    EXPECT_EQ(g.menu.selected, modeRow);
}

// ---- A new world ----

TEST_F(GameTest, NewWorldGivesTheStartingState) {
    Game& g = MakeWorld(777u);
    ASSERT_NE(g.world, nullptr);
    EXPECT_EQ(g.seed, 777u);
    EXPECT_FALSE(g.menu.open);

    const ItemType kit[] = {ItemType::FuelCan, ItemType::Coal, ItemType::Firewood, ItemType::Ammo};
    for (int slot = 0; slot < Inventory::kSlotCount; ++slot) {
        if (slot < 4) {
            EXPECT_EQ(g.inventory.slots[slot].type, kit[slot]) << "slot " << slot;
            EXPECT_EQ(g.inventory.slots[slot].count, 2) << "slot " << slot;
        } else {
            EXPECT_EQ(g.inventory.slots[slot].count, 0) << "slot " << slot;
        }
    }
    EXPECT_EQ(g.inventory.selected, 0);
    EXPECT_EQ(g.weapon, WeaponKind::Pistol);
    EXPECT_EQ(g.magazine, 8);
    EXPECT_EQ(g.food, 100.0f);
    EXPECT_EQ(g.water, 100.0f);
    EXPECT_EQ(g.health, 100.0f);
    EXPECT_EQ(g.warmth, 100.0f);
    EXPECT_EQ(g.zoom, 5.0f);
    EXPECT_EQ(g.camera.zoomTarget, 5.0f);

    EXPECT_EQ(std::strlen(kStartMessage.c_str()), 211u);
    EXPECT_EQ(g.message, kStartMessage);
    EXPECT_EQ(g.messageTimer, 3.0f);
    EXPECT_EQ(log.Count("SURVIVAL: " + kStartMessage), 1);
    EXPECT_EQ(g.appliedRenderDistance, 4);
    EXPECT_FALSE(g.world->chunks.empty());
}

TEST_F(GameTest, NewWorldPlacesPlayerBesideHomeAndShipAtSpawn) {
    Game& g = MakeWorld(4242u);
    const Vector3 spawn = g.world->SpawnPoint();
    EXPECT_EQ(g.airship.pos.x, spawn.x);
    EXPECT_EQ(g.airship.pos.y, spawn.z);
    EXPECT_FLOAT_EQ(g.airship.heading, 1.5707964f);
    EXPECT_FLOAT_EQ(g.home.cx, spawn.x + 96.0f);
    EXPECT_FLOAT_EQ(g.home.cz, spawn.z + 40.0f);

    const float x = g.home.cx + 5.0f;
    const float z = g.home.cz + 5.0f;
    const Vector3 eye = g.player.position();
    EXPECT_EQ(eye.x, x);
    EXPECT_EQ(eye.z, z);
    EXPECT_NEAR(eye.y, g.world->gen.Height(x, z) + 1.7f, 1e-4f);
    EXPECT_EQ(g.camera.position.x, eye.x);
    EXPECT_EQ(g.camera.position.z, eye.z);
    EXPECT_EQ(g.tower.floorCount, 0);
}

TEST_F(GameTest, SameSeedGivesSameWorldAndResetsTheOldGame) {
    Game& g = MakeWorld(99u);
    const Vector3 spawn = g.world->SpawnPoint();
    const Vector2 ship = g.airship.pos;
    const float homeX = g.home.cx;
    const float homeZ = g.home.cz;

    // Spoil the running game; a new world of the same seed undoes all of it.
    g.food = 3.0f;
    g.magazine = 0;
    g.weapon = WeaponKind::Axe;
    g.gameOver = true;
    g.inventory.slots[9] = InventorySlot{ItemType::Medkit, 4};
    g.inventory.selected = 7;
    g.NewWorld(99u);

    const Vector3 again = g.world->SpawnPoint();
    EXPECT_EQ(again.x, spawn.x);
    EXPECT_EQ(again.z, spawn.z);
    EXPECT_EQ(g.airship.pos.x, ship.x);
    EXPECT_EQ(g.airship.pos.y, ship.y);
    EXPECT_EQ(g.home.cx, homeX);
    EXPECT_EQ(g.home.cz, homeZ);
    EXPECT_EQ(g.food, 100.0f);
    EXPECT_EQ(g.magazine, 8);
    EXPECT_EQ(g.weapon, WeaponKind::Pistol);
    EXPECT_FALSE(g.gameOver);
    EXPECT_EQ(g.inventory.slots[9].count, 0);
    // The selected hotbar slot is set when the game is built, not per world.
    EXPECT_EQ(g.inventory.selected, 7);
}

// ---- Modal layers ----

TEST_F(GameTest, EscapeOpensPauseMenuAndEscapeAgainResumesWithSettingsWritten) {
    Game& g = MakeWorld();
    Frame();
    const float clock = g.clock;
    log.Clear();

    Press(KEY_ESCAPE);
    EXPECT_TRUE(g.menu.open);
    EXPECT_EQ(g.menu.page, Menu::Page::Pause);
    EXPECT_TRUE(log.Has("MENU: opened (paused)"));
    EXPECT_EQ(g.clock, clock);

    Frame();
    EXPECT_EQ(g.clock, clock);
    std::filesystem::remove(workDir.Path() / "settings.ini");

    Press(KEY_ESCAPE);
    EXPECT_FALSE(g.menu.open);
    EXPECT_TRUE(log.Has("MENU: closed (resumed)"));
    EXPECT_TRUE(workDir.Exists("settings.ini"));
    // The rest of that frame was a simulation step.
    EXPECT_FLOAT_EQ(g.clock, clock + kFrame);
}

// The menu opens with the mouse put at the window centre, on "Сохранить" (and
// on the main page it may rest on "Загрузить"): Enter still takes the first
// item, so Escape, Enter resumes play and writes no save.
TEST_F(GameTest, EscapeThenEnterResumesWithTheMouseAtRest) {
    Game& g = MakeWorld();
    ASSERT_EQ(window::Width(), 1600);
    ASSERT_EQ(window::Height(), 900);
    const Vector2 centre{800.0f, 450.0f};
    ASSERT_TRUE(CheckCollisionPointRec(centre, Menu::MenuButton(Menu::Page::Pause, 1)));
    // The hand was elsewhere when Escape went down; the game moves the mouse.
    FrameInput escape = Keys({KEY_ESCAPE});
    escape.mouse = {200.0f, 700.0f};
    Frame(escape);
    ASSERT_TRUE(g.menu.open);
    FrameInput still;
    still.mouse = centre;
    Frame(still);
    EXPECT_EQ(g.menu.selected, 0);
    FrameInput enter = Keys({KEY_ENTER});
    enter.mouse = centre;
    log.Clear();
    Frame(enter);
    EXPECT_FALSE(g.menu.open);
    EXPECT_TRUE(log.Has("MENU: closed (resumed)"));
    EXPECT_FALSE(workDir.Exists("savegame.dat"));

    // On the main page a mouse resting on "Загрузить" leaves "Новый мир" to Enter.
    g.ReturnToMainMenu();
    std::filesystem::remove(workDir.Path() / "savegame.dat");
    const Vector2 load{800.0f, Menu::MenuButton(Menu::Page::Main, 1).y + 25.0f};
    FrameInput rest;
    rest.mouse = load;
    Frame(rest);
    Frame(rest);
    EXPECT_EQ(g.menu.selected, 0);
    FrameInput start = Keys({KEY_ENTER});
    start.mouse = load;
    Frame(start);
    EXPECT_EQ(g.menu.page, Menu::Page::NewWorld);
}

TEST_F(GameTest, EscapeInAPauseDialogBelongsToTheDialog) {
    Game& g = MakeWorld();
    Press(KEY_ESCAPE);
    g.menu.OpenExitConfirm();
    Press(KEY_ESCAPE);
    EXPECT_FALSE(g.menu.exitConfirmOpen);
    EXPECT_TRUE(g.menu.open);
    EXPECT_EQ(g.menu.page, Menu::Page::Pause);
}

TEST_F(GameTest, EscapeClosesInventoryOrMapInsteadOfOpeningMenu) {
    Game& g = MakeWorld();
    log.Clear();
    Press(KEY_I);
    EXPECT_TRUE(g.inventoryOpen);
    EXPECT_TRUE(log.Has("INVENTORY: opened"));
    Press(KEY_ESCAPE);
    EXPECT_FALSE(g.inventoryOpen);
    EXPECT_FALSE(g.menu.open);
    EXPECT_TRUE(log.Has("INVENTORY: closed"));

    Press(KEY_M);
    EXPECT_TRUE(g.worldMap.open);
    EXPECT_TRUE(log.Has("MAP: opened"));
    Press(KEY_ESCAPE);
    EXPECT_FALSE(g.worldMap.open);
    EXPECT_FALSE(g.menu.open);
    EXPECT_TRUE(log.Has("MAP: closed"));
}

TEST_F(GameTest, InventoryAndMapToggleWithTheirOwnKeysOnly) {
    Game& g = MakeWorld();
    Press(KEY_I);
    ASSERT_TRUE(g.inventoryOpen);
    Press(KEY_M);
    EXPECT_TRUE(g.inventoryOpen);
    EXPECT_FALSE(g.worldMap.open);
    Press(KEY_I);
    EXPECT_FALSE(g.inventoryOpen);

    Press(KEY_M);
    ASSERT_TRUE(g.worldMap.open);
    Press(KEY_I);
    EXPECT_TRUE(g.worldMap.open);
    EXPECT_FALSE(g.inventoryOpen);
    Press(KEY_M);
    EXPECT_FALSE(g.worldMap.open);
}

TEST_F(GameTest, WorldStandsStillUnderEveryModalLayer) {
    Game& g = MakeWorld();
    Frame();
    g.food = 50.0f;
    g.water = 50.0f;
    const float clock = g.clock;
    const float worldTime = g.world->worldTime;
    const float timer = g.messageTimer;
    const float marauderTimer = g.marauderTimer;

    auto expectStill = [&](const char* layer) {
        for (int i = 0; i < 5; ++i) {
            Frame();
        }
        EXPECT_EQ(g.clock, clock) << layer;
        EXPECT_EQ(g.world->worldTime, worldTime) << layer;
        EXPECT_EQ(g.messageTimer, timer) << layer;
        EXPECT_EQ(g.food, 50.0f) << layer;
        EXPECT_EQ(g.water, 50.0f) << layer;
        EXPECT_EQ(g.marauderTimer, marauderTimer) << layer;
    };

    // Opening and closing an overlay ends its frame, so no step runs between.
    Press(KEY_I);
    expectStill("inventory");
    Press(KEY_I);
    Press(KEY_M);
    expectStill("map");
    Press(KEY_M);

    g.OpenMenu();
    expectStill("menu");
    g.CloseMenu();

    g.gameOver = true;
    expectStill("end overlay");
}

TEST_F(GameTest, OpeningAnOverlayEndsTheFrame) {
    Game& g = MakeWorld();
    Frame();
    const float clock = g.clock;
    Press(KEY_I);
    EXPECT_EQ(g.clock, clock);
    Press(KEY_I);
    EXPECT_EQ(g.clock, clock);
    Press(KEY_M);
    EXPECT_EQ(g.clock, clock);
}

// ---- End overlay ----

TEST_F(GameTest, RStartsTheNextSeedOfTheSequence) {
    Game& g = MakeWorld(1u);
    g.gameOver = true;
    Press(KEY_R);
    EXPECT_EQ(g.seed, 1015568748u);
    EXPECT_FALSE(g.gameOver);

    g.NewWorld(4294967295u);
    g.gameOver = true;
    Press(KEY_R);
    EXPECT_EQ(g.seed, 1012239698u);
}

TEST_F(GameTest, EnterContinuesOnlyAfterAWin) {
    Game& g = MakeWorld();
    g.gameOver = true;
    g.froze = true;
    const uint32_t seed = g.seed;
    Press(KEY_ENTER);
    EXPECT_TRUE(g.gameOver);
    Press(KEY_I);
    EXPECT_FALSE(g.inventoryOpen);
    Press(KEY_M);
    EXPECT_FALSE(g.worldMap.open);
    EXPECT_EQ(g.seed, seed);

    g.froze = false;
    g.wonOverlay = true;
    g.winReached = true;
    Press(KEY_ENTER);
    EXPECT_FALSE(g.gameOver);
    EXPECT_FALSE(g.wonOverlay);
    EXPECT_TRUE(g.endLatched);
    EXPECT_TRUE(g.winReached);
}

TEST_F(GameTest, EscapeOnTheEndOverlayOpensTheMenu) {
    Game& g = MakeWorld();
    g.gameOver = true;
    Press(KEY_ESCAPE);
    EXPECT_TRUE(g.menu.open);
    EXPECT_EQ(g.menu.page, Menu::Page::Pause);
    EXPECT_TRUE(g.gameOver);
}

// ---- Simulation step details ----

TEST_F(GameTest, WheelZoomStepsFifteenPercentWithinLimits) {
    Game& g = MakeWorld();
    FrameInput wheel;
    wheel.wheel = 1.0f;
    Frame(wheel);
    Frame(wheel);
    EXPECT_NEAR(g.zoom, 6.6125f, 1e-4f);
    for (int i = 0; i < 20; ++i) {
        Frame(wheel);
    }
    EXPECT_EQ(g.zoom, 10.0f);
    wheel.wheel = -1.0f;
    for (int i = 0; i < 40; ++i) {
        Frame(wheel);
    }
    EXPECT_EQ(g.zoom, 2.4f);
}

TEST_F(GameTest, HotbarKeysLastInOrderWins) {
    Game& g = MakeWorld();
    Frame(Keys({KEY_SEVEN, KEY_THREE}));
    EXPECT_EQ(g.inventory.selected, 6);
    Frame(Keys({KEY_ZERO, KEY_ONE}));
    EXPECT_EQ(g.inventory.selected, 9);
    Press(KEY_ONE);
    EXPECT_EQ(g.inventory.selected, 0);
}

TEST_F(GameTest, StatusTimerRunsDownAndF1TogglesOverlay) {
    Game& g = MakeWorld();
    Frame(FrameInput{}, 0.05f);
    EXPECT_FLOAT_EQ(g.messageTimer, 2.95f);
    EXPECT_FLOAT_EQ(g.clock, 0.05f);
    Press(KEY_F1);
    EXPECT_TRUE(g.debugOverlay);
    Press(KEY_F1);
    EXPECT_FALSE(g.debugOverlay);
}

TEST_F(GameTest, F5SavesWithStatusMessage) {
    Game& g = MakeWorld();
    Press(KEY_F5);
    EXPECT_TRUE(workDir.Exists("savegame.dat"));
    EXPECT_EQ(g.message, "Игра сохранена");
    EXPECT_TRUE(log.Has("SURVIVAL: Игра сохранена"));
}

TEST_F(GameTest, ViewWidensWithAltitudeAndFollowsCamera) {
    Game& g = MakeWorld();
    Frame();
    g.airship.altitude = 35.0f;
    g.UpdateView();
    EXPECT_FLOAT_EQ(g.viewZoom, 0.78f * g.camera.zoom);
    g.airship.altitude = 70.0f;
    g.UpdateView();
    EXPECT_FLOAT_EQ(g.viewZoom, 0.78f * g.camera.zoom);
    g.airship.altitude = 0.0f;
    g.UpdateView();
    EXPECT_EQ(g.viewZoom, g.camera.zoom);
    EXPECT_EQ(g.viewCenter.x, g.camera.position.x);
    EXPECT_EQ(g.viewCenter.z, g.camera.position.z - g.renderLift);
}

TEST_F(GameTest, FirstStepChecksForCampsAtOnce) {
    Game& g = MakeWorld();
    EXPECT_EQ(g.marauderTimer, 0.0f);
    Frame();
    EXPECT_FLOAT_EQ(g.marauderTimer, 0.5f);
    Frame(FrameInput{}, 0.05f);
    EXPECT_FLOAT_EQ(g.marauderTimer, 0.45f);
}

// ---- Without a window ----

// This suite has no window: the graphics resources, the chunk pictures and
// the window's own calls are skipped without a warning from the game, the
// world or raylib, the UI font stays the default one, the map is built
// without its picture, and the windowed size asked for counts as the screen
// the interface measures against.
TEST_F(GameTest, WithoutAWindowTheGraphicsAreSkippedQuietly) {
    if (window::Open()) {
        GTEST_SKIP() << "a window is open";
    }
    Game& g = MakeWorld();
    EXPECT_EQ(g.screenFx.scene.id, 0u);
    EXPECT_EQ(g.screenFx.fxaaShader.id, 0u);
    EXPECT_EQ(window::Width(), 1600);
    EXPECT_EQ(window::Height(), 900);
    for (int mode : {1, 2, 0}) {
        g.settings.windowMode = mode;
        g.settings.vsync = !g.settings.vsync;
        g.ApplySettings();
    }
    g.settings.resolution = 0;
    g.ApplySettings();
    EXPECT_EQ(window::Width(), 1280);
    EXPECT_EQ(window::Height(), 720);
    EXPECT_FALSE(ui::LoadFont());
    ui::UnloadFont();
    g.worldMap.Refresh(*g.world, g.home, g.tower);
    EXPECT_TRUE(g.worldMap.built);
    EXPECT_EQ(g.worldMap.terrain.id, 0u);
    EXPECT_FALSE(g.worldMap.markers.empty());
    g.ReturnToMainMenu();
    game.reset();
    EXPECT_EQ(testgame::LogCapture::Warnings(), std::vector<std::string>{});
}

// ---- Back to the main menu ----

TEST_F(GameTest, ReturnToMainMenuSavesARunningGameAndKeepsInventory) {
    Game& g = MakeWorld();
    log.Clear();
    g.ReturnToMainMenu();
    EXPECT_EQ(g.world, nullptr);
    EXPECT_TRUE(workDir.Exists("savegame.dat"));
    // Saved while the world still stood, then back on the main menu.
    const std::vector<std::string>& lines = log.Lines();
    const auto saved = std::find(lines.begin(), lines.end(), "SAVE: game saved to savegame.dat");
    const auto returned = std::find(lines.begin(), lines.end(), "MENU: returned to main menu");
    ASSERT_NE(saved, lines.end());
    ASSERT_NE(returned, lines.end());
    EXPECT_LT(saved, returned);
    EXPECT_TRUE(g.menu.open);
    EXPECT_EQ(g.menu.page, Menu::Page::Main);
    EXPECT_TRUE(g.menu.hasSave);
    EXPECT_EQ(g.inventory.slots[0].type, ItemType::FuelCan);
    EXPECT_EQ(g.inventory.slots[0].count, 2);
    EXPECT_TRUE(g.message.empty());
    EXPECT_EQ(g.PlayerRenderLift(), 0.0f);
    Frame();
    EXPECT_EQ(g.world, nullptr);
}

TEST_F(GameTest, ReturnToMainMenuAfterDeathWritesNoSave) {
    Game& g = MakeWorld();
    g.gameOver = true;
    g.froze = true;
    g.ReturnToMainMenu();
    EXPECT_EQ(g.world, nullptr);
    EXPECT_FALSE(workDir.Exists("savegame.dat"));
    EXPECT_FALSE(g.gameOver);
    EXPECT_FALSE(g.froze);
    EXPECT_FALSE(g.menu.hasSave);
}

// "В главное меню" with a save that cannot be written (a folder at its name)
// keeps the run and says so in the pause menu; chosen again, it leaves
// without a save. A pause menu opened afresh tries the save again.
TEST_F(GameTest, ExitToMainMenuWhoseSaveFailsKeepsTheRunUntilAskedAgain) {
    Game& g = MakeWorld();
    std::filesystem::create_directory(workDir.Path() / "savegame.dat");
    const auto toMainMenu = [&] {
        // "Выход", then Left twice from "Отмена" to "В главное меню".
        g.menu.selected = Menu::RowIndex(Menu::Page::Pause, Menu::RowAction::Exit);
        for (int key : {KEY_ENTER, KEY_LEFT, KEY_LEFT, KEY_ENTER}) {
            Press(key);
        }
    };
    const auto returned = [&] {
        const std::vector<std::string>& lines = log.Lines();
        return std::count(lines.begin(), lines.end(), "MENU: returned to main menu");
    };
    for (int pause = 0; pause < 2; ++pause) {
        Press(KEY_ESCAPE);
        ASSERT_EQ(g.menu.page, Menu::Page::Pause);
        log.Clear();
        toMainMenu();
        EXPECT_NE(g.world, nullptr) << pause;
        EXPECT_TRUE(g.menu.open) << pause;
        EXPECT_EQ(g.menu.page, Menu::Page::Pause) << pause;
        EXPECT_FALSE(g.menu.exitConfirmOpen) << pause;
        EXPECT_EQ(g.menu.notice, "Не удалось сохранить") << pause;
        EXPECT_EQ(returned(), 0) << pause;
        // Resume: the run plays on.
        Press(KEY_ESCAPE);
        ASSERT_FALSE(g.menu.open) << pause;
    }
    Press(KEY_ESCAPE);
    toMainMenu();
    toMainMenu();
    EXPECT_EQ(g.world, nullptr);
    EXPECT_EQ(g.menu.page, Menu::Page::Main);
    EXPECT_EQ(returned(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(workDir.Path() / "savegame.dat"));
}

// A new world, a load and the way back to the main menu all begin from the
// same per-world state, whatever the last world left behind.
TEST_F(GameTest, NewWorldLoadAndMenuResetTheSameWorldState) {
    Game& g = MakeWorld();
    ASSERT_TRUE(g.SaveGame());
    const auto leaveMess = [&g] {
        g.target = Interaction{1, 9u, ItemType::Coal, Vector3{1.0f, 2.0f, 3.0f}};
        g.piloting = g.aboard = g.moored = g.inTower = true;
        g.dockAltitude = 3.0f;
        g.station = AirshipStation::Furnace;
        g.weapon = WeaponKind::Axe;
        g.magazine = 1;
        g.attackCooldown = g.reloadTimer = g.flashTimer = g.shake = 1.0f;
        g.reloading = true;
        g.muzzlePoint = Vector3{4.0f, 5.0f, 6.0f};
        g.shots.push_back(ShotTrace{});
        g.food = g.water = g.health = g.warmth = 7.0f;
        g.messageTimer = 2.0f;
        g.message = "x";
        g.marauders.push_back(Marauder{});
        g.camps.push_back(MarauderCamp{});
        g.raidedSettlements.insert(11u);
        g.marauderTimer = 9.0f;
        g.endLatched = g.wonOverlay = g.winReached = true;
        g.foodShared = 3;
        g.rewardGiven = true;
        g.gameOver = g.froze = g.settlementFroze = true;
        g.exitSaveFailed = true;
    };
    const std::vector<std::string> none;

    leaveMess();
    EXPECT_EQ(testgame::ChangedMembers(g), testgame::MemberNames());
    g.NewWorld(g.seed);
    // Only the start message is new.
    EXPECT_EQ(testgame::ChangedMembers(g), (std::vector<std::string>{"messageTimer", "message"}));
    leaveMess();
    ASSERT_TRUE(g.LoadGame());
    EXPECT_EQ(testgame::ChangedMembers(g), none);
    leaveMess();
    g.ReturnToMainMenu();
    EXPECT_EQ(testgame::ChangedMembers(g), none);
}

TEST_F(GameTest, StartNewWorldClosesMenuAndReportsTheSaveFile) {
    Game& g = MakeGame();
    EXPECT_FALSE(g.StartNewWorld(5u));
    EXPECT_FALSE(g.menu.open);
    EXPECT_FALSE(g.menu.hasSave);
    g.ReturnToMainMenu();
    EXPECT_TRUE(g.StartNewWorld(6u));
    EXPECT_TRUE(g.menu.hasSave);
}

}  // namespace
