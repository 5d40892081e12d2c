// combat_test.cpp: weapons and marauders inside a running Game: reloads,
// cooldowns, shots and swings with their messages, the felled tree, the
// camp log line and death by marauders.
#include <cmath>
#include <cstdio>
#include <string>

#include "game/game.h"
#include "game/game_hud_panels.h"
#include "game/hud/hud_layout.h"
#include "tests/game/game_fixture.h"

namespace {

using testgame::GameTest;

constexpr float kDt = 1.0f / 60.0f;

// The mouse over the ground point (x, z), as the pistol's aim reads it.
void AimAt(Game& g, float x, float z) {
    const float s = g.viewZoom > 0.01f ? g.viewZoom : g.zoom;
    g.input.mouse = Vector2{static_cast<float>(window::Width()) / 2.0f + (x - g.viewCenter.x) * s,
                            static_cast<float>(window::Height()) / 2.0f + (z - g.viewCenter.z) * s};
}

// One weapon frame with the mouse aimed 10 units north of the eye.
void WeaponFrame(Game& g, FrameInput in = FrameInput{}, float dt = kDt) {
    g.input = in;
    const Vector3 eye = g.player.position();
    AimAt(g, eye.x, eye.z - 10.0f);
    g.UpdateWeapon(dt);
}

FrameInput Click() {
    FrameInput in;
    in.leftPressed = true;
    in.leftDown = true;
    return in;
}

Marauder MarauderAt(const Game& g, float x, float z, int armed = 0) {
    Marauder m;
    m.pos = Vector3{x, g.world->gen.Height(x, z), z};
    m.home = Vector2{x, z};
    m.wanderTarget = m.home;
    m.wanderTimer = 5.0f;
    m.armed = armed;
    return m;
}

// Puts the player's eye and the camera on the ground at (x, z).
void StandAt(Game& g, float x, float z) {
    const Vector3 eye{x, g.world->gen.Height(x, z) + 1.7f, z};
    g.player.Reset(eye);
    g.camera.SetPosition(eye);
    g.UpdateView();
}

int Slot(const Game& g, ItemType type) {
    int n = 0;
    for (const InventorySlot& s : g.inventory.slots) n += s.type == type ? s.count : 0;
    return n;
}

const std::string kDeath = "Ты погиб. Нажми R, чтобы начать заново.";

// ---- Pistol: magazine and reload ----

TEST_F(GameTest, ReloadTakesOneBoxAndFillsTheMagazine) {
    Game& g = MakeWorld();
    ASSERT_EQ(Slot(g, ItemType::Ammo), 2);
    g.message.clear();
    WeaponFrame(g, testgame::Keys({KEY_R}));
    EXPECT_FALSE(g.reloading);
    EXPECT_TRUE(g.message.empty());

    g.magazine = 7;
    WeaponFrame(g, testgame::Keys({KEY_R}));
    EXPECT_TRUE(g.reloading);
    EXPECT_EQ(g.message, "Перезарядка...");
    // A click while reloading does not fire.
    WeaponFrame(g, Click(), 0.5f);
    EXPECT_TRUE(g.shots.empty());
    EXPECT_EQ(g.magazine, 7);
    WeaponFrame(g, FrameInput{}, 0.5f);
    EXPECT_TRUE(g.reloading);
    WeaponFrame(g, FrameInput{}, 0.11f);
    EXPECT_FALSE(g.reloading);
    EXPECT_EQ(g.magazine, 8);
    EXPECT_EQ(Slot(g, ItemType::Ammo), 1);
    EXPECT_EQ(g.message, "Перезаряжено");
    EXPECT_TRUE(log.Has("SURVIVAL: Перезаряжено"));
}

TEST_F(GameTest, ReloadWithoutBoxesIsRefusedAndAVanishedBoxIsReported) {
    Game& g = MakeWorld();
    g.magazine = 3;
    g.inventory.slots[3] = InventorySlot{};
    WeaponFrame(g, testgame::Keys({KEY_R}));
    EXPECT_FALSE(g.reloading);
    EXPECT_EQ(g.message, "Нет патронов");

    // The box was there at R but gone when the reload ended.
    g.inventory.slots[10] = InventorySlot{ItemType::Ammo, 1};
    WeaponFrame(g, testgame::Keys({KEY_R}));
    ASSERT_TRUE(g.reloading);
    g.inventory.slots[10] = InventorySlot{};
    WeaponFrame(g, FrameInput{}, 1.2f);
    EXPECT_FALSE(g.reloading);
    EXPECT_EQ(g.magazine, 3);
    EXPECT_EQ(g.message, "Нет патронов");
}

TEST_F(GameTest, SwitchingCancelsAReloadAndKeepsTheBox) {
    Game& g = MakeWorld();
    g.magazine = 2;
    WeaponFrame(g, testgame::Keys({KEY_R}));
    ASSERT_TRUE(g.reloading);
    WeaponFrame(g, testgame::Keys({KEY_Q}));
    EXPECT_FALSE(g.reloading);
    EXPECT_EQ(g.weapon, WeaponKind::Axe);
    EXPECT_EQ(g.message, "Топор в руках");
    WeaponFrame(g, FrameInput{}, 2.0f);
    EXPECT_EQ(g.magazine, 2);
    EXPECT_EQ(Slot(g, ItemType::Ammo), 2);
    WeaponFrame(g, testgame::Keys({KEY_Q}));
    EXPECT_EQ(g.message, "Нож в руках");
    WeaponFrame(g, testgame::Keys({KEY_Q}));
    EXPECT_EQ(g.weapon, WeaponKind::Pistol);
    EXPECT_EQ(g.message, "Пистолет в руках");
    // R with another weapon in hand does nothing.
    g.weapon = WeaponKind::Knife;
    WeaponFrame(g, testgame::Keys({KEY_R}));
    EXPECT_FALSE(g.reloading);
}

TEST_F(GameTest, AReloadFinishesWhilePiloting) {
    Game& g = MakeWorld();
    g.magazine = 0;
    WeaponFrame(g, testgame::Keys({KEY_R}));
    ASSERT_TRUE(g.reloading);
    g.piloting = true;
    const float yaw = g.player.yaw;
    WeaponFrame(g, Click(), 1.2f);
    EXPECT_EQ(g.magazine, 8);
    EXPECT_TRUE(g.shots.empty());
    EXPECT_EQ(g.player.yaw, yaw);
}

TEST_F(GameTest, EmptyMagazineClickWarnsEveryTimeWithoutCooldown) {
    Game& g = MakeWorld();
    g.magazine = 0;
    WeaponFrame(g, Click());
    EXPECT_EQ(g.message, "Магазин пуст - R для перезарядки");
    EXPECT_TRUE(g.shots.empty());
    EXPECT_EQ(g.attackCooldown, 0.0f);
    WeaponFrame(g, Click());
    EXPECT_EQ(log.Count("SURVIVAL: Магазин пуст - R для перезарядки"), 2);
}

// ---- Pistol: shots ----

TEST_F(GameTest, AShotLeavesTraceFlashShakeAndCooldown) {
    Game& g = MakeWorld();
    g.marauders.clear();
    const Vector3 eye = g.player.position();
    ASSERT_GE(g.world->RaycastWalls(eye, Vector3{0.0f, 0.0f, -1.0f}, 140.0f), 140.0f);
    g.message.clear();
    WeaponFrame(g, Click());
    EXPECT_NEAR(std::sin(g.player.yaw), 0.0f, 1e-5f);
    ASSERT_EQ(g.shots.size(), 1u);
    EXPECT_EQ(g.magazine, 7);
    EXPECT_FLOAT_EQ(g.attackCooldown, 0.22f);
    EXPECT_FLOAT_EQ(g.flashTimer, 0.07f);
    EXPECT_EQ(g.shake, 6.0f);
    EXPECT_NEAR(g.shots[0].from.z, eye.z - 0.6f, 1e-4f);
    EXPECT_NEAR(g.shots[0].to.z, eye.z - 140.0f, 1e-3f);
    EXPECT_NEAR(g.muzzlePoint.z, eye.z - 0.75f, 1e-4f);
    EXPECT_FLOAT_EQ(g.shots[0].life, 0.35f);
    EXPECT_TRUE(g.message.empty());

    // Within the cooldown a click does nothing; after it the next shot goes.
    WeaponFrame(g, Click(), 0.1f);
    EXPECT_EQ(g.magazine, 7);
    EXPECT_NEAR(g.shake, 6.0f - 2.8f, 1e-4f);
    WeaponFrame(g, FrameInput{}, 0.13f);
    WeaponFrame(g, Click());
    EXPECT_EQ(g.magazine, 6);
    // Traces fade after 0.35 s.
    WeaponFrame(g, FrameInput{}, 0.3f);
    EXPECT_EQ(g.shots.size(), 1u);
    WeaponFrame(g, FrameInput{}, 0.1f);
    EXPECT_TRUE(g.shots.empty());
    EXPECT_EQ(g.flashTimer, 0.0f);
    EXPECT_EQ(g.shake, 0.0f);
}

TEST_F(GameTest, ShotsWoundThenKillTheNearerMarauderOnly) {
    Game& g = MakeWorld();
    const Vector3 eye = g.player.position();
    g.marauders = {MarauderAt(g, eye.x + 0.5f, eye.z - 20.0f), MarauderAt(g, eye.x, eye.z - 10.0f)};
    WeaponFrame(g, Click());
    EXPECT_EQ(g.message, "Мародёр ранен");
    EXPECT_EQ(g.marauders[1].health, 35.0f);
    EXPECT_EQ(g.marauders[0].health, 70.0f);
    EXPECT_NEAR(g.shots[0].to.z, eye.z - 10.0f, 1e-3f);
    WeaponFrame(g, FrameInput{}, 0.3f);
    WeaponFrame(g, Click());
    EXPECT_EQ(g.message, "Мародёр повержен");
    EXPECT_FALSE(g.marauders[1].alive);
    // The dead one stays listed until the marauder update drops it.
    ASSERT_EQ(g.marauders.size(), 2u);
    g.camera.position = Vector3{eye.x + 500.0f, eye.y, eye.z};
    g.UpdateMarauders(kDt);
    ASSERT_EQ(g.marauders.size(), 1u);
    EXPECT_EQ(g.marauders[0].health, 70.0f);
    // With the near one gone the shot reaches the far one.
    WeaponFrame(g, FrameInput{}, 0.3f);
    WeaponFrame(g, Click());
    EXPECT_EQ(g.marauders[0].health, 35.0f);
}

TEST_F(GameTest, AWallStopsTheShotBeforeTheMarauder) {
    Game& g = MakeWorld();
    const Vector3 eye = g.player.position();
    const float wallZ = eye.z - 6.0f;
    Chunk& chunk = g.world->chunks.at(
        World::Key(static_cast<int>(std::floor(eye.x / 64.0f)), static_cast<int>(std::floor(wallZ / 64.0f))));
    chunk.walls.push_back(
        CollisionBox{Vector3{eye.x - 2.0f, -1000.0f, wallZ - 0.25f}, Vector3{eye.x + 2.0f, 1000.0f, wallZ + 0.25f}});
    g.marauders = {MarauderAt(g, eye.x, eye.z - 10.0f)};
    g.message.clear();
    WeaponFrame(g, Click());
    ASSERT_EQ(g.shots.size(), 1u);
    EXPECT_NEAR(g.shots[0].to.z, wallZ + 0.25f, 1e-3f);
    EXPECT_EQ(g.marauders[0].health, 70.0f);
    EXPECT_TRUE(g.message.empty());
}

TEST_F(GameTest, OnDeckNothingFiresButReloadStillWorks) {
    Game& g = MakeWorld();
    g.player.Reset(g.airship.DeckSpawn());
    ASSERT_TRUE(g.airship.OnDeck(g.player.feet));
    const float yaw = g.player.yaw;
    WeaponFrame(g, Click());
    EXPECT_TRUE(g.shots.empty());
    EXPECT_EQ(g.magazine, 8);
    EXPECT_EQ(g.player.yaw, yaw);
    g.magazine = 5;
    WeaponFrame(g, testgame::Keys({KEY_R}));
    EXPECT_TRUE(g.reloading);
    UpdateWeaponAutomatics(g, false, false);
    EXPECT_TRUE(g.shots.empty());
}

TEST_F(GameTest, AutomaticFireEveryThreeTenthsNeverRunsDry) {
    Game& g = MakeWorld();
    g.marauders.clear();
    const float dt = 0.02f;
    float t = 0.0f;
    float last = -1.0f;
    int fired = 0;
    for (int i = 0; i < 250; ++i) {
        WeaponFrame(g, FrameInput{}, dt);
        const int before = g.magazine;
        const std::size_t traces = g.shots.size();
        UpdateWeaponAutomatics(g, true, false);
        if (g.shots.size() > traces) {
            ++fired;
            EXPECT_EQ(g.magazine, before - 1);
            // The frame that refills an empty magazine fires nothing, so a
            // gap may take one frame more.
            if (last >= 0.0f) {
                EXPECT_GE(t - last, 0.3f - 1e-4f);
                EXPECT_LE(t - last, 0.3f + 2.0f * dt + 1e-4f);
            }
            last = t;
        }
        EXPECT_GE(g.magazine, 0);
        t += dt;
    }
    // Five seconds: more than a magazine, refilled without boxes.
    EXPECT_GE(fired, 14);
    EXPECT_EQ(Slot(g, ItemType::Ammo), 2);
    EXPECT_FALSE(log.Has("SURVIVAL: Магазин пуст - R для перезарядки"));
}

// ---- Melee and the axe ----

TEST_F(GameTest, KnifeAndAxeStrikeTheMarauderAhead) {
    Game& g = MakeWorld();
    const Vector3 eye = g.player.position();
    g.player.yaw = 0.0f;
    g.weapon = WeaponKind::Knife;
    g.marauders = {MarauderAt(g, eye.x, eye.z - 2.0f)};
    g.marauders[0].health = 100.0f;
    g.MeleeAttack();
    EXPECT_EQ(g.message, "Удар ножом");
    EXPECT_EQ(g.marauders[0].health, 30.0f);
    EXPECT_EQ(g.shake, 2.5f);
    g.marauders[0].health = 100.0f;
    g.weapon = WeaponKind::Axe;
    g.MeleeAttack();
    EXPECT_EQ(g.message, "Удар топором");
    g.MeleeAttack();
    EXPECT_EQ(g.message, "Мародёр повержен");
    EXPECT_FALSE(g.marauders[0].alive);

    // A click swings with a 0.45 s cooldown.
    g.marauders.clear();
    g.input = Click();
    g.UpdateWeapon(kDt);
    EXPECT_EQ(g.message, "Взмах - нет цели");
    EXPECT_FLOAT_EQ(g.attackCooldown, 0.45f);
}

class AxeTest : public GameTest {
protected:
    // Stands the player 2.5 south of a loaded tree and returns the tree the
    // axe will reach from there.
    WorldTree BesideATree(Game& g) {
        WorldTree tree{};
        EXPECT_TRUE(g.world->NearestTree(g.player.position(), 3000.0f, tree));
        StandAt(g, tree.position.x, tree.position.z + 2.5f);
        WorldTree reached{};
        EXPECT_TRUE(g.world->NearestTree(g.player.position(), 3.4f, reached));
        g.marauders.clear();
        g.weapon = WeaponKind::Axe;
        return reached;
    }
};

TEST_F(AxeTest, FellingATreeGivesTwoFirewoodForGood) {
    Game& g = MakeWorld();
    const WorldTree tree = BesideATree(g);
    const int wood = Slot(g, ItemType::Firewood);
    g.MeleeAttack();
    EXPECT_EQ(g.message, "Дерево срублено (+2 дров)");
    EXPECT_EQ(Slot(g, ItemType::Firewood), wood + 2);
    EXPECT_EQ(g.world->removedIds.count(tree.id), 1u);
    EXPECT_EQ(g.shake, 2.0f);
    // The knife fells nothing.
    g.weapon = WeaponKind::Knife;
    const std::size_t removed = g.world->removedIds.size();
    g.MeleeAttack();
    EXPECT_EQ(g.message, "Взмах - нет цели");
    EXPECT_EQ(g.world->removedIds.size(), removed);
}

// The felling prompt shows exactly where a click of the axe fells the tree:
// within the axe's reach, and never from the deck, where nothing is swung.
TEST_F(AxeTest, FellingPromptOnlyWhereAClickFellsTheTree) {
    struct Case {
        float distance;  // south of the tree
        bool onDeck;
        bool fells;
    };
    const Case cases[] = {
        {2.5f, false, true},   {3.35f, false, true}, {3.45f, false, false},
        {3.58f, false, false}, {2.5f, true, false},  {1.0f, true, false},
    };
    Game& g = MakeWorld();
    const WorldTree tree = BesideATree(g);
    const Vector3 deckOffset{g.airship.DeckSpawn().x - g.airship.pos.x, 0.0f,
                             g.airship.DeckSpawn().z - g.airship.pos.y};
    for (const Case& c : cases) {
        if (c.onDeck) {
            g.airship.pos = Vector2{tree.position.x - deckOffset.x, tree.position.z + c.distance - deckOffset.z};
            g.player.Reset(g.airship.DeckSpawn());
            ASSERT_TRUE(g.airship.OnDeck(g.player.feet));
        } else {
            StandAt(g, tree.position.x, tree.position.z + c.distance);
            ASSERT_FALSE(g.airship.OnDeck(g.player.feet));
        }
        const std::string prompt = hud::PromptText(hud::PromptStateOf(g)).c_str();
        g.attackCooldown = 0.0f;
        g.input = Click();
        g.UpdateWeapon(kDt);
        const bool felled = g.world->removedIds.erase(tree.id) == 1;
        EXPECT_EQ(felled, c.fells) << c.distance << (c.onDeck ? " on deck" : "");
        EXPECT_EQ(prompt == "[ЛКМ] Срубить дерево топором", felled) << c.distance << (c.onDeck ? " on deck" : "");
    }
}

TEST_F(AxeTest, AFullInventoryLeavesTheTreeStanding) {
    Game& g = MakeWorld();
    const WorldTree tree = BesideATree(g);
    for (InventorySlot& s : g.inventory.slots) s = InventorySlot{ItemType::Coal, 9};
    g.MeleeAttack();
    EXPECT_EQ(g.message, "Инвентарь полон");
    EXPECT_EQ(g.world->removedIds.count(tree.id), 0u);
    EXPECT_EQ(g.shake, 0.0f);

    // One firewood stack at 8 and no free slot: one piece, and the message says so.
    g.inventory.slots[12] = InventorySlot{ItemType::Firewood, 8};
    g.MeleeAttack();
    EXPECT_EQ(g.message, "Дерево срублено (+1 дров)");
    EXPECT_EQ(g.inventory.slots[12].count, 9);
}

TEST_F(AxeTest, AMarauderInReachTakesTheBlowInsteadOfTheTree) {
    Game& g = MakeWorld();
    const WorldTree tree = BesideATree(g);
    const Vector3 eye = g.player.position();
    g.player.yaw = 0.0f;
    g.marauders = {MarauderAt(g, eye.x, eye.z - 1.5f)};
    g.MeleeAttack();
    EXPECT_EQ(g.message, "Мародёр повержен");
    EXPECT_EQ(g.world->removedIds.count(tree.id), 0u);
}

TEST_F(AxeTest, AutomaticAxeTakesTheAxeAndSwings) {
    Game& g = MakeWorld();
    const WorldTree tree = BesideATree(g);
    g.weapon = WeaponKind::Pistol;
    UpdateWeaponAutomatics(g, false, true);
    EXPECT_EQ(g.weapon, WeaponKind::Axe);
    EXPECT_FLOAT_EQ(g.attackCooldown, 0.8f);
    EXPECT_EQ(g.world->removedIds.count(tree.id), 1u);
}

// ---- Marauders in the game ----

TEST_F(GameTest, NearingASettlementPitchesItsCampOnceAndLogsIt) {
    Game& g = MakeWorld();
    std::vector<SettlementInfo> sites;
    g.world->CollectSettlements(g.player.position(), 5000.0f, sites);
    ASSERT_FALSE(sites.empty());
    g.camera.position = sites[0].position;
    g.SpawnMarauders();
    ASSERT_EQ(g.camps.size(), 1u);
    const int n = MaraudersPerCamp(sites[0].type);
    ASSERT_EQ(static_cast<int>(g.marauders.size()), n);
    char line[128];
    std::snprintf(line, sizeof line, "MARAUDERS: %d spawned at camp near %.0f,%.0f", n,
                  static_cast<double>(g.camps[0].center.x), static_cast<double>(g.camps[0].center.z));
    EXPECT_EQ(log.Count(line), 1);
    g.SpawnMarauders();
    EXPECT_EQ(g.camps.size(), 1u);
    EXPECT_EQ(log.Count(line), 1);

    // A new world of the same seed pitches the same camp again.
    const MarauderCamp first = g.camps[0];
    g.NewWorld(g.seed);
    EXPECT_TRUE(g.camps.empty());
    EXPECT_TRUE(g.raidedSettlements.empty());
    g.camera.position = sites[0].position;
    g.SpawnMarauders();
    ASSERT_EQ(g.camps.size(), 1u);
    EXPECT_EQ(g.camps[0].center.x, first.center.x);
    EXPECT_EQ(g.camps[0].tents[2].y, first.tents[2].y);
}

TEST_F(GameTest, KillingBlowOfAMarauderEndsTheGame) {
    Game& g = MakeWorld();
    StandAt(g, g.player.feet.x, g.player.feet.z);
    const Vector3 p = g.camera.position;
    g.marauders = {MarauderAt(g, p.x + 1.9f, p.z)};
    g.health = 5.0f;
    g.UpdateMarauders(kDt);
    EXPECT_EQ(g.health, 0.0f);
    EXPECT_TRUE(g.gameOver);
    EXPECT_TRUE(g.endLatched);
    EXPECT_FALSE(g.froze);
    EXPECT_EQ(g.message, kDeath);
    EXPECT_TRUE(log.Has("SURVIVAL: Мародёр ударил ножом"));
    EXPECT_EQ(log.Count("SURVIVAL: " + kDeath), 1);
    g.UpdateMarauders(kDt);
    EXPECT_EQ(log.Count("SURVIVAL: " + kDeath), 1);
}

TEST_F(GameTest, AnEndEarlierInTheFrameKeepsItsMessage) {
    Game& g = MakeWorld();
    g.marauders.clear();
    g.health = 0.0f;
    g.gameOver = true;
    g.endLatched = true;
    g.froze = true;
    g.message = "Ты замёрз насмерть";
    g.UpdateMarauders(kDt);
    EXPECT_EQ(g.message, "Ты замёрз насмерть");
    EXPECT_TRUE(g.froze);
    EXPECT_FALSE(log.Has("SURVIVAL: " + kDeath));

    // With no marauder at all, health at 0 still ends the game here.
    Game& h = MakeWorld();
    h.marauders.clear();
    h.health = 0.0f;
    h.UpdateMarauders(kDt);
    EXPECT_TRUE(h.gameOver);
    EXPECT_EQ(h.message, kDeath);
}

TEST_F(GameTest, AfterAWinAMarauderKillIsStillADeathByMarauders) {
    Game& g = MakeWorld();
    StandAt(g, g.player.feet.x, g.player.feet.z);
    const Vector3 p = g.camera.position;
    g.endLatched = true;
    g.winReached = true;
    g.marauders = {MarauderAt(g, p.x + 1.9f, p.z)};
    g.health = 8.0f;
    g.UpdateMarauders(kDt);
    EXPECT_TRUE(g.gameOver);
    EXPECT_EQ(g.message, kDeath);
}

TEST_F(GameTest, MaraudersFollowTheCameraAndCampFiresBurnDown) {
    Game& g = MakeWorld();
    StandAt(g, g.player.feet.x, g.player.feet.z);
    const Vector3 p = g.camera.position;
    g.camps.resize(1);
    g.camps[0].fire = 0.01f;
    g.marauders = {MarauderAt(g, p.x + 10.0f, p.z, 0)};
    g.marauders[0].attackCooldown = 9.0f;
    // The player's body stands far off; only the camera point counts.
    g.player.Reset(Vector3{p.x + 300.0f, p.y, p.z});
    g.UpdateMarauders(0.1f);
    EXPECT_NEAR(std::hypot(g.marauders[0].pos.x - p.x, g.marauders[0].pos.z - p.z), 9.68f, 1e-3f);
    EXPECT_EQ(g.camps[0].fire, 0.0f);
}

}  // namespace
