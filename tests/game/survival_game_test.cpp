// survival_game_test.cpp: the needs, item actions and home settlement goals on a
// running Game: deaths with their messages and log lines, pick-up and search
// against the live world, clicks in the inventory window, the furnace, food
// sharing, the lost settlement and the win.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/game_hud_panels.h"
#include "game/hud/hud_layout.h"
#include "game/hud/inventory_view.h"
#include "game/rules/survival.h"
#include "tests/game/game_fixture.h"

namespace {

using testgame::GameTest;
using testgame::Keys;

constexpr uint64_t kItemId = 0x7A5E00000000F00Dull;
constexpr uint64_t kCabinetId = 0x7A5E00000000CAB1ull;

// Index of the first log line equal to the text, or -1.
int LineIndex(const std::string& line) {
    const std::vector<std::string>& lines = testgame::LogCapture::Lines();
    const auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
}

int CountOf(const Inventory& inv, ItemType type) {
    int count = 0;
    for (const InventorySlot& slot : inv.slots) count += slot.type == type ? slot.count : 0;
    return count;
}

void FillAll(Inventory& inv, ItemType type, int count) {
    for (InventorySlot& slot : inv.slots) slot = InventorySlot{type, count};
}

class SurvivalGame : public GameTest {
protected:
    void SetUp() override {
        MakeWorld();
        ASSERT_TRUE(game->world != nullptr);
        ASSERT_FALSE(game->world->chunks.empty());
        game->message.clear();
        log.Clear();
    }

    Chunk& SomeChunk() { return game->world->chunks.begin()->second; }

    // A ground item of the kind placed into a loaded chunk and made the target.
    void TargetItem(ItemType type) {
        const Vector3 at = game->player.position();
        SomeChunk().items.push_back(WorldItem{kItemId, at, type});
        game->target = Interaction{1, kItemId, type, at};
    }
    bool ItemStillLies() const {
        for (const auto& [key, chunk] : game->world->chunks) {
            for (const WorldItem& item : chunk.items) {
                if (item.id == kItemId) return true;
            }
        }
        return false;
    }
    void TargetCabinet() {
        const Vector3 at = game->player.position();
        SomeChunk().cabinets.push_back(WorldCabinet{kCabinetId, at});
        game->target = Interaction{2, kCabinetId, ItemType::None, at};
    }
    void Act(int key) {
        game->input = Keys({key});
        game->HandleSurvivalInput();
    }
    // A working furnace with every survivor alive and warm.
    void RepairHome(float fuel) {
        game->home.broken = false;
        game->home.parts = 3;
        game->home.fuel = fuel;
        game->home.heat = 1.0f;
        for (Survivor& s : game->home.survivors) s.warmth = 100.0f;
    }
};

TEST_F(SurvivalGame, FreezingToDeathShowsTheMessageThenLogsTheCause) {
    game->warmth = 0.0f;
    game->health = 0.1f;
    game->UpdateSurvival(0.05f);
    EXPECT_TRUE(game->gameOver);
    EXPECT_TRUE(game->froze);
    EXPECT_TRUE(game->endLatched);
    EXPECT_FLOAT_EQ(game->health, 0.0f);
    EXPECT_EQ(game->message, "Ты замёрз насмерть");
    const int shown = LineIndex("SURVIVAL: Ты замёрз насмерть");
    const int cause = LineIndex("SURVIVAL: froze to death");
    ASSERT_GE(shown, 0);
    EXPECT_EQ(cause, shown + 1);
}

TEST_F(SurvivalGame, StarvingToDeathIsNotFreezing) {
    game->food = 0.0f;
    game->water = 0.0f;
    game->health = 0.05f;
    game->UpdateSurvival(0.05f);
    EXPECT_TRUE(game->gameOver);
    EXPECT_FALSE(game->froze);
    EXPECT_EQ(game->message, "Ты умер от голода и жажды");
    const int shown = LineIndex("SURVIVAL: Ты умер от голода и жажды");
    ASSERT_GE(shown, 0);
    EXPECT_EQ(LineIndex("SURVIVAL: died of hunger/thirst"), shown + 1);
}

TEST_F(SurvivalGame, HomeFurnaceAndCampFireWarmTheEyePoint) {
    RepairHome(600.0f);
    game->home.heat = 0.5f;
    const Vector3 eye{game->home.cx + 3.0f, game->home.cy + 1.7f, game->home.cz};
    game->player.SetPosition(eye);
    game->warmth = 50.0f;
    game->UpdateSurvival(1.0f);
    EXPECT_NEAR(game->warmth, 51.6f, 1e-4f);

    game->home.heat = 0.0f;
    MarauderCamp camp;
    camp.center = Vector3{eye.x + 6.4f, eye.y - 1.0f, eye.z};
    camp.fire = 100.0f;
    game->camps.push_back(camp);
    game->UpdateSurvival(1.0f);
    EXPECT_NEAR(game->warmth, 54.0f, 1e-4f);

    game->camps.back().fire = 0.0f;
    game->UpdateSurvival(1.0f);
    EXPECT_LT(game->warmth, 54.0f);
}

TEST_F(SurvivalGame, PickingUpTakesTheItemOutOfTheWorldForGood) {
    const int before = CountOf(game->inventory, ItemType::Water);
    TargetItem(ItemType::Water);
    Act(KEY_E);
    EXPECT_EQ(CountOf(game->inventory, ItemType::Water), before + 1);
    EXPECT_EQ(game->message, "Подобрал: Вода");
    EXPECT_EQ(game->target.kind, 0);
    EXPECT_FALSE(ItemStillLies());
    EXPECT_EQ(game->world->removedIds.count(kItemId), 1u);
}

TEST_F(SurvivalGame, FullInventoryLeavesTheItemLyingAndTargeted) {
    FillAll(game->inventory, ItemType::Coal, 9);
    TargetItem(ItemType::Water);
    Act(KEY_E);
    EXPECT_EQ(game->message, "Инвентарь полон");
    EXPECT_TRUE(ItemStillLies());
    EXPECT_EQ(game->target.kind, 1);
    EXPECT_EQ(game->world->removedIds.count(kItemId), 0u);

    game->inventory.slots[20] = InventorySlot{ItemType::Water, 8};
    Act(KEY_E);
    EXPECT_EQ(game->message, "Подобрал: Вода");
    EXPECT_EQ(game->inventory.slots[20].count, 9);
    EXPECT_FALSE(ItemStillLies());
}

TEST_F(SurvivalGame, AVanishedItemIsIgnoredSilently) {
    TargetItem(ItemType::Groats);
    SomeChunk().items.pop_back();
    const Inventory before = game->inventory;
    Act(KEY_E);
    EXPECT_EQ(game->message, "");
    EXPECT_EQ(game->target.kind, 1);
    EXPECT_EQ(CountOf(game->inventory, ItemType::Groats), CountOf(before, ItemType::Groats));
}

TEST_F(SurvivalGame, SearchWaitsForRoomAndThenGivesTheSameLoot) {
    const ItemType loot = CabinetLoot(kCabinetId);
    ASSERT_NE(loot, ItemType::None);
    FillAll(game->inventory, loot == ItemType::Coal ? ItemType::Ammo : ItemType::Coal, 9);
    TargetCabinet();
    Act(KEY_F);
    EXPECT_EQ(game->message, "Инвентарь полон");
    EXPECT_EQ(game->target.kind, 0);
    EXPECT_EQ(game->world->removedIds.count(kCabinetId), 0u);

    game->inventory.slots[33] = InventorySlot{};
    TargetCabinet();
    Act(KEY_F);
    EXPECT_EQ(game->message, std::string("Найдено в шкафу: ") + ItemDetails(loot).name);
    EXPECT_EQ(game->inventory.slots[33].type, loot);
    EXPECT_EQ(game->world->removedIds.count(kCabinetId), 1u);

    TargetCabinet();
    Act(KEY_F);
    EXPECT_EQ(game->message, "Шкаф пуст");
    EXPECT_EQ(game->target.kind, 0);
    EXPECT_EQ(game->inventory.slots[33].count, 1);
}

TEST_F(SurvivalGame, ClickingAWaterSlotInTheOpenWindowDrinks) {
    Press(KEY_I);
    ASSERT_TRUE(game->inventoryOpen);
    game->inventory.slots[14] = InventorySlot{ItemType::Water, 2};
    game->water = 80.0f;
    const Rectangle cell = InventoryCell(14);
    const float scale = static_cast<float>(window::Width()) / 1600.0f;

    FrameInput click;
    click.leftPressed = true;
    click.mouse = Vector2{(cell.x + 2.0f) * scale, (cell.y + 60.0f) * scale};
    Frame(click);
    EXPECT_FLOAT_EQ(game->water, 100.0f);
    EXPECT_EQ(game->inventory.slots[14].count, 1);
    EXPECT_EQ(game->message, "Использовано: Вода");

    // The gap between two cells is no slot.
    click.mouse = Vector2{(cell.x + 67.0f) * scale, (cell.y + 10.0f) * scale};
    game->water = 10.0f;
    Frame(click);
    EXPECT_FLOAT_EQ(game->water, 10.0f);
    EXPECT_EQ(game->inventory.slots[14].count, 1);
}

TEST_F(SurvivalGame, LoosePartThenFurnaceWithTheEKey) {
    HomeSettlement& home = game->home;
    game->player.SetPosition(Vector3{home.partX - 0.5f, home.partY + 1.7f, home.partZ});
    Press(KEY_E);
    EXPECT_TRUE(home.partTaken);
    EXPECT_EQ(CountOf(game->inventory, ItemType::SparePart), 1);
    EXPECT_TRUE(log.Has("SURVIVAL: Подобрал: запасная часть"));

    // Still within the furnace's reach: the part goes in.
    Press(KEY_E);
    EXPECT_EQ(home.parts, 1);
    EXPECT_EQ(game->message, "Запасная часть установлена (1 / 3)");
    EXPECT_EQ(CountOf(game->inventory, ItemType::SparePart), 0);
}

TEST_F(SurvivalGame, ThirdPartRepairsTheFurnaceAndShakes) {
    HomeSettlement& home = game->home;
    home.parts = 2;
    game->inventory.Add(ItemType::SparePart);
    game->player.SetPosition(Vector3{home.cx + 8.0f, home.cy + 1.7f, home.cz});
    game->input = Keys({KEY_E});
    HandleHomeActions(*game, true, false);
    EXPECT_FALSE(home.broken);
    EXPECT_FLOAT_EQ(game->shake, 0.35f);
    EXPECT_EQ(game->message, "Большая топка ожила! Накорми её, пока не остыла.");
}

TEST_F(SurvivalGame, FoodIsSharedOnlyNearHomeWithNoTarget) {
    HomeSettlement& home = game->home;
    game->inventory.Add(ItemType::CannedFood);
    game->inventory.Add(ItemType::CannedFood);
    game->player.SetPosition(Vector3{home.cx + 13.9f, home.cy + 1.7f, home.cz});
    game->target = Interaction{2, kCabinetId, ItemType::None, game->player.position()};
    game->input = Keys({KEY_F});
    HandleHomeActions(*game, false, false);
    EXPECT_EQ(game->foodShared, 0);

    game->target = Interaction{};
    HandleHomeActions(*game, false, false);
    EXPECT_EQ(game->foodShared, 1);
    EXPECT_EQ(game->message, "Еда отдана выжившим (1 / 3)");
    // The goal line and the prompt count the shares the game made.
    EXPECT_STREQ(hud::GoalText(hud::GoalStateOf(*game)).c_str(),
                 "Этап 1/3 - поделись едой с выжившими: 1 / 3 (F у котла)");
    EXPECT_STREQ(hud::PromptText(hud::PromptStateOf(*game)).c_str(), "[F] Поделиться едой с выжившими (1 / 3)");

    game->player.SetPosition(Vector3{home.cx + 14.0f, home.cy + 1.7f, home.cz});
    HandleHomeActions(*game, false, false);
    EXPECT_EQ(game->foodShared, 1);
    EXPECT_EQ(CountOf(game->inventory, ItemType::CannedFood), 1);

    game->player.SetPosition(Vector3{home.cx, home.cy + 1.7f, home.cz - 9.0f});
    game->foodShared = 2;
    HandleHomeActions(*game, false, false);
    EXPECT_TRUE(game->rewardGiven);
    EXPECT_EQ(CountOf(game->inventory, ItemType::Medkit), 1);
    game->inventory.Add(ItemType::Groats);
    HandleHomeActions(*game, false, false);
    EXPECT_EQ(game->foodShared, 3);
    EXPECT_EQ(CountOf(game->inventory, ItemType::Groats), 1);
}

TEST_F(SurvivalGame, FuelWarningsAreShownOnceAndNotAfterTheEnd) {
    RepairHome(60.02f);
    UpdateHomeSettlement(*game, 0.05f);
    EXPECT_EQ(log.Count("SURVIVAL: Большая топка на исходе - накорми её."), 1);
    UpdateHomeSettlement(*game, 0.05f);
    EXPECT_EQ(log.Count("SURVIVAL: Большая топка на исходе - накорми её."), 1);

    game->home.fuel = 0.03f;
    UpdateHomeSettlement(*game, 0.05f);
    EXPECT_EQ(game->message, "Большая топка погасла! Выжившие замерзают.");

    log.Clear();
    game->home.fuel = 60.02f;
    game->gameOver = true;
    UpdateHomeSettlement(*game, 0.05f);
    game->home.fuel = 0.02f;
    UpdateHomeSettlement(*game, 0.05f);
    EXPECT_TRUE(testgame::LogCapture::Lines().empty());
}

TEST_F(SurvivalGame, TheLastSurvivorFreezingLosesTheSettlement) {
    HomeSettlement& home = game->home;
    ASSERT_GE(home.survivors.size(), 2u);
    for (Survivor& s : home.survivors) s.alive = false;
    home.survivors[0].alive = true;
    home.survivors[0].warmth = 0.001f;
    UpdateHomeSettlement(*game, 0.05f);
    EXPECT_TRUE(game->settlementFroze);
    EXPECT_TRUE(game->gameOver);
    EXPECT_FALSE(game->froze);
    EXPECT_TRUE(game->endLatched);
    EXPECT_FLOAT_EQ(game->shake, 0.35f);
    EXPECT_EQ(game->message, "Поселение замёрзло. Большая топка погасла.");
    const int lost = LineIndex("SURVIVAL: Выживший замёрз насмерть (осталось 0)");
    ASSERT_GE(lost, 0);
    EXPECT_GT(LineIndex("HEARTH: settlement lost"), lost);
}

TEST_F(SurvivalGame, TheWinIsDeclaredOnceAtNineHundredSeconds) {
    RepairHome(899.0f);
    CheckWin(*game, game->home.fuel);
    EXPECT_FALSE(game->winReached);

    game->home.fuel = 900.0f;
    CheckWin(*game, game->home.fuel);
    EXPECT_TRUE(game->winReached);
    EXPECT_TRUE(game->gameOver);
    EXPECT_TRUE(game->wonOverlay);
    EXPECT_TRUE(game->endLatched);
    EXPECT_FLOAT_EQ(game->shake, 0.25f);
    EXPECT_EQ(game->message, "Поселение переживёт зиму");
    EXPECT_TRUE(log.Has("HEARTH: settlement saved"));

    game->gameOver = false;
    game->wonOverlay = false;
    CheckWin(*game, game->home.fuel);
    EXPECT_FALSE(game->gameOver);
    EXPECT_EQ(log.Count("HEARTH: settlement saved"), 1);
}

TEST_F(SurvivalGame, ExactlyNineHundredSecondsWinsOnTheFirstStep) {
    RepairHome(900.0f);
    Frame();
    EXPECT_TRUE(game->winReached);
    EXPECT_TRUE(game->wonOverlay);
    EXPECT_LT(game->home.fuel, 900.0f);
    EXPECT_EQ(log.Count("HEARTH: settlement saved"), 1);
}

TEST_F(SurvivalGame, EightHundredNinetyNineSecondsDoNotWin) {
    RepairHome(899.0f);
    Frame();
    EXPECT_FALSE(game->winReached);
    EXPECT_FALSE(game->gameOver);
    EXPECT_FALSE(log.Has("HEARTH: settlement saved"));
}

TEST_F(SurvivalGame, ALoadedWonGameWinsAgainOnItsFirstStep) {
    RepairHome(900.0f);
    ASSERT_TRUE(game->SaveGame());
    ASSERT_TRUE(game->LoadGame());
    ASSERT_FLOAT_EQ(game->home.fuel, 900.0f);
    ASSERT_FALSE(game->winReached);
    Frame();
    EXPECT_TRUE(game->winReached);
    EXPECT_EQ(game->message, "Поселение переживёт зиму");
}

// The first cause in a frame wins: a player who dies in the step the win
// would come never wins, and Enter does not play on after the death.
TEST_F(SurvivalGame, DeathInTheStepSilencesHomeEventsAndTheWin) {
    RepairHome(1000.0f);
    game->food = 0.0f;
    game->water = 0.0f;
    game->health = 0.01f;
    Frame();
    EXPECT_TRUE(game->gameOver);
    EXPECT_FALSE(game->froze);
    EXPECT_FALSE(game->winReached);
    EXPECT_FALSE(game->wonOverlay);
    EXPECT_EQ(game->message, "Ты умер от голода и жажды");
    EXPECT_TRUE(log.Has("SURVIVAL: Ты умер от голода и жажды"));
    EXPECT_FALSE(log.Has("HEARTH: settlement saved"));
    EXPECT_FALSE(log.Has("SURVIVAL: Поселение переживёт зиму"));
    Press(KEY_ENTER);
    EXPECT_TRUE(game->gameOver);
}

TEST_F(SurvivalGame, TowerActionsOnlyInsideTheTower) {
    game->tower.Generate(game->seed, Vector2{game->home.cx, game->home.cz - 200.0f}, game->home.cy, 6.0f);
    const float floorY = game->tower.FloorY(game->tower.currentFloor);
    game->player.SetPosition(Vector3{game->home.cx - 15.0f, floorY + 1.7f, game->home.cz - 235.0f});
    const int floor = game->tower.currentFloor;
    game->input = Keys({KEY_E});
    game->inTower = false;
    HandleTowerActions(*game);
    EXPECT_EQ(game->tower.currentFloor, floor);

    game->inTower = true;
    HandleTowerActions(*game);
    EXPECT_EQ(game->tower.currentFloor, floor + 1);
    EXPECT_EQ(game->message, "Этаж " + std::to_string(floor + 2) + " из 60");
    EXPECT_NEAR(game->player.feet.y, game->tower.FloorY(floor + 1), 1e-3f);
}

// The hearth debug start builds its own world from the environment.
class HearthDebugStart : public GameTest {};

TEST_F(HearthDebugStart, WinModeWinsOnTheFirstStep) {
    testgame::ScopedEnv hearth("KIRN_HEARTH", "win");
    workDir.Write("settings.ini", "renderDistance=4\n");
    MakeGame();
    ASSERT_TRUE(game->world != nullptr);
    ASSERT_FLOAT_EQ(game->home.fuel, 900.0f);
    Frame();
    EXPECT_TRUE(game->winReached);
    EXPECT_TRUE(log.Has("HEARTH: settlement saved"));
}

}  // namespace
