// goals_test.cpp: the home settlement's goals on the models alone: the loose
// spare part, repairing and feeding the great furnace, sharing food, the fuel
// warnings and the win condition; and the tower's stairs and items.
#include "game/rules/survival.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void FillAll(Inventory& inv, ItemType type, int count) {
    for (InventorySlot& slot : inv.slots) slot = InventorySlot{type, count};
}

int CountOf(const Inventory& inv, ItemType type) {
    int count = 0;
    for (const InventorySlot& slot : inv.slots) count += slot.type == type ? slot.count : 0;
    return count;
}

HomeSettlement HomeWithSurvivors(int alive) {
    HomeSettlement home;
    for (int i = 0; i < 8; ++i) {
        Survivor s;
        s.alive = i < alive;
        s.warmth = s.alive ? 80.0f : 0.0f;
        home.survivors.push_back(s);
    }
    return home;
}

TEST(LoosePart, TakenWhenThereIsRoomAndWinsOverTheFurnace) {
    HomeSettlement home;
    Inventory inv;
    inv.Add(ItemType::SparePart);
    const ActionResult result = HomeUseAction(home, inv, true);
    EXPECT_EQ(result.message, "Подобрал: запасная часть");
    EXPECT_TRUE(home.partTaken);
    EXPECT_EQ(home.parts, 0);
    EXPECT_EQ(CountOf(inv, ItemType::SparePart), 2);
}

TEST(LoosePart, FullInventoryLeavesItLying) {
    HomeSettlement home;
    Inventory inv;
    FillAll(inv, ItemType::Coal, 9);
    EXPECT_EQ(HomeUseAction(home, inv, true).message, "Инвентарь полон");
    EXPECT_FALSE(home.partTaken);
    EXPECT_EQ(CountOf(inv, ItemType::SparePart), 0);

    inv.slots[12] = {ItemType::SparePart, 8};
    EXPECT_EQ(HomeUseAction(home, inv, true).message, "Подобрал: запасная часть");
    EXPECT_EQ(inv.slots[12].count, 9);
}

TEST(FurnaceRepair, ThreePartsBringItToLife) {
    HomeSettlement home;
    Inventory inv;
    for (int i = 0; i < 3; ++i) inv.Add(ItemType::SparePart);

    ActionResult result = HomeUseAction(home, inv, false);
    EXPECT_EQ(result.message, "Запасная часть установлена (1 / 3)");
    EXPECT_FLOAT_EQ(result.shake, 0.0f);
    EXPECT_EQ(HomeUseAction(home, inv, false).message, "Запасная часть установлена (2 / 3)");
    EXPECT_TRUE(home.broken);

    result = HomeUseAction(home, inv, false);
    EXPECT_EQ(result.message, "Большая топка ожила! Накорми её, пока не остыла.");
    EXPECT_FLOAT_EQ(result.shake, 0.35f);
    EXPECT_FALSE(home.broken);
    EXPECT_EQ(home.parts, 3);
    EXPECT_GT(home.fuel, 0.0f);
    EXPECT_EQ(CountOf(inv, ItemType::SparePart), 0);
}

TEST(FurnaceRepair, WithoutAPartItOnlyExplains) {
    HomeSettlement home;
    Inventory inv;
    EXPECT_EQ(HomeUseAction(home, inv, false).message, "Генератор разрушен - ищи запчасти в городах");
    EXPECT_EQ(home.parts, 0);
}

TEST(FurnaceRepair, BrokenWithThreePartsAsksForFireAndKeepsThePart) {
    HomeSettlement home;
    home.parts = 3;
    Inventory inv;
    inv.Add(ItemType::SparePart);
    inv.Add(ItemType::Coal);
    EXPECT_EQ(HomeUseAction(home, inv, false).message, "Топке нужен огонь, а не ещё одна часть");
    EXPECT_EQ(CountOf(inv, ItemType::SparePart), 1);
    EXPECT_EQ(CountOf(inv, ItemType::Coal), 1);
    EXPECT_TRUE(home.broken);
}

TEST(FurnaceFeeding, CoalThenFuelCanThenFirewood) {
    HomeSettlement home;
    home.broken = false;  // three parts from an older save
    home.parts = 3;
    Inventory inv;
    inv.Add(ItemType::Firewood);
    inv.Add(ItemType::FuelCan);
    inv.Add(ItemType::Coal);

    EXPECT_EQ(HomeUseAction(home, inv, false).message, "Уголь в большой топке (+2 мин)");
    EXPECT_FLOAT_EQ(home.fuel, 120.0f);
    EXPECT_EQ(HomeUseAction(home, inv, false).message, "Канистра в большой топке (+1 мин)");
    EXPECT_FLOAT_EQ(home.fuel, 180.0f);
    EXPECT_EQ(HomeUseAction(home, inv, false).message, "Дрова в большой топке (+40 с)");
    EXPECT_FLOAT_EQ(home.fuel, 220.0f);
    EXPECT_EQ(HomeUseAction(home, inv, false).message, "Нет угля или дров для большой топки");
    EXPECT_FLOAT_EQ(home.fuel, 220.0f);
}

TEST(FurnaceFeeding, AFullFurnaceTakesNothing) {
    HomeSettlement home;
    home.broken = false;
    home.fuel = 1799.5f;
    Inventory inv;
    inv.Add(ItemType::Coal);
    EXPECT_EQ(HomeUseAction(home, inv, false).message, "Большая топка полна");
    EXPECT_EQ(CountOf(inv, ItemType::Coal), 1);

    home.fuel = 1790.0f;
    EXPECT_EQ(HomeUseAction(home, inv, false).message, "Уголь в большой топке (+2 мин)");
    EXPECT_FLOAT_EQ(home.fuel, 1800.0f);
}

TEST(FoodSharing, CannedFoodFirstThenGroatsAndTheRewardOnce) {
    Inventory inv;
    inv.Add(ItemType::Groats);
    inv.Add(ItemType::Groats);
    inv.Add(ItemType::CannedFood);
    int shared = 0;
    bool reward = false;

    EXPECT_EQ(ShareFood(inv, shared, reward).message, "Еда отдана выжившим (1 / 3)");
    EXPECT_EQ(CountOf(inv, ItemType::CannedFood), 0);
    EXPECT_EQ(CountOf(inv, ItemType::Groats), 2);
    EXPECT_EQ(ShareFood(inv, shared, reward).message, "Еда отдана выжившим (2 / 3)");
    EXPECT_FALSE(reward);
    EXPECT_EQ(ShareFood(inv, shared, reward).message, "Выжившие благодарят и делятся запасом: аптечка и патроны");
    EXPECT_TRUE(reward);
    EXPECT_EQ(shared, 3);
    EXPECT_EQ(CountOf(inv, ItemType::Groats), 0);
    EXPECT_EQ(CountOf(inv, ItemType::Medkit), 1);
    EXPECT_EQ(CountOf(inv, ItemType::Ammo), 1);
}

TEST(FoodSharing, NothingToShare) {
    Inventory inv;
    inv.Add(ItemType::Water);
    int shared = 1;
    bool reward = false;
    EXPECT_EQ(ShareFood(inv, shared, reward).message, "Нечем поделиться - принеси консервы или крупу");
    EXPECT_EQ(shared, 1);
    EXPECT_EQ(CountOf(inv, ItemType::Water), 1);
}

TEST(HearthFuel, LowWarningOnlyWhenFallingThroughSixtySeconds) {
    EXPECT_STREQ(HearthFuelMessage(61.0f, 59.0f), "Большая топка на исходе - накорми её.");
    EXPECT_STREQ(HearthFuelMessage(60.01f, 60.0f), "Большая топка на исходе - накорми её.");
    EXPECT_STREQ(HearthFuelMessage(60.0f, 59.95f), "");
    EXPECT_STREQ(HearthFuelMessage(59.0f, 58.95f), "");
    EXPECT_STREQ(HearthFuelMessage(300.0f, 299.95f), "");
}

TEST(HearthFuel, OutWhenItReachesZeroOnlyFromABurningFire) {
    EXPECT_STREQ(HearthFuelMessage(0.5f, 0.0f), "Большая топка погасла! Выжившие замерзают.");
    EXPECT_STREQ(HearthFuelMessage(61.0f, 0.0f), "Большая топка погасла! Выжившие замерзают.");
    EXPECT_STREQ(HearthFuelMessage(0.0f, 0.0f), "");
}

TEST(WinCondition, WorkingFurnaceSurvivorsAndNineHundredSeconds) {
    HomeSettlement home = HomeWithSurvivors(1);
    home.broken = false;
    home.fuel = 900.0f;
    EXPECT_TRUE(SettlementSaved(home, 900.0f));
    EXPECT_FALSE(SettlementSaved(home, 899.9f));

    // The counted fuel decides, not what is left after this step's burn.
    home.fuel = 899.95f;
    EXPECT_TRUE(SettlementSaved(home, 900.0f));

    home.fuel = 1200.0f;
    home.broken = true;
    EXPECT_FALSE(SettlementSaved(home, 1200.0f));

    HomeSettlement empty = HomeWithSurvivors(0);
    empty.broken = false;
    empty.fuel = 1800.0f;
    EXPECT_FALSE(SettlementSaved(empty, 1800.0f));
}

// A tower at the origin on the dock floor with the feet on the stairs cell.
class TowerActions : public ::testing::Test {
protected:
    void SetUp() override {
        tower.Generate(20261113u, Vector2{0.0f, 0.0f}, 0.0f, 6.0f);
        StandAt(kStairs);
    }
    void StandAt(Vector2 xz) { player.SetPosition(Vector3{xz.x, tower.FloorY(tower.currentFloor) + 1.7f, xz.y}); }
    // The only item of the current floor, lying on cell (3, 10).
    uint64_t PlaceItem(ItemType kind) {
        const uint64_t key = TowerItemKey(tower.seed, tower.currentFloor, kItemCell);
        tower.floors[static_cast<size_t>(tower.currentFloor)].items = {FloorItem{kItemCell, kind, key, false}};
        return key;
    }

    static constexpr Vector2 kStairs{-15.0f, -35.0f};
    static constexpr int kItemCell = 3 + 20 * 10;
    static constexpr Vector2 kItemSpot{-13.0f, -19.0f};
    Building tower;
    Player player;
    Inventory inv;
};

TEST_F(TowerActions, StairsUpAndDownPutTheFeetOnTheNewFloor) {
    const int start = tower.currentFloor;
    EXPECT_EQ(TowerUseAction(tower, player, inv).message, "Этаж " + std::to_string(start + 2) + " из 60");
    EXPECT_EQ(tower.currentFloor, start + 1);
    EXPECT_NEAR(player.feet.y, tower.FloorY(start + 1), 1e-4f);
    EXPECT_FLOAT_EQ(player.feet.x, kStairs.x);
    EXPECT_FLOAT_EQ(player.feet.z, kStairs.y);

    EXPECT_EQ(TowerDownAction(tower, player).message, "Этаж " + std::to_string(start + 1) + " из 60");
    EXPECT_EQ(tower.currentFloor, start);
    EXPECT_NEAR(player.feet.y, tower.FloorY(start), 1e-4f);
}

TEST_F(TowerActions, TopAndBottomOfTheStairs) {
    tower.currentFloor = tower.floorCount - 1;
    StandAt(kStairs);
    EXPECT_EQ(TowerUseAction(tower, player, inv).message, "Лестница наверх разрушена");
    EXPECT_EQ(tower.currentFloor, tower.floorCount - 1);

    tower.currentFloor = tower.minFloor;
    StandAt(kStairs);
    const float feetY = player.feet.y;
    EXPECT_EQ(TowerDownAction(tower, player).message, "Нижние этажи засыпаны снегом");
    EXPECT_EQ(tower.currentFloor, tower.minFloor);
    EXPECT_FLOAT_EQ(player.feet.y, feetY);
}

TEST_F(TowerActions, FAwayFromTheStairsDoesNothing) {
    StandAt(kItemSpot);
    const int floor = tower.currentFloor;
    const ActionResult result = TowerDownAction(tower, player);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(tower.currentFloor, floor);
}

TEST_F(TowerActions, ItemsArePickedUpOnceAndNeverLostToAFullInventory) {
    const uint64_t key = PlaceItem(ItemType::Medkit);
    StandAt(kItemSpot);
    FillAll(inv, ItemType::Coal, 9);
    EXPECT_EQ(TowerUseAction(tower, player, inv).message, "Инвентарь полон");
    uint64_t found = 0;
    EXPECT_EQ(tower.nearestItem(player.feet, found), ItemType::Medkit);
    EXPECT_EQ(found, key);

    inv.slots[39] = InventorySlot{};
    EXPECT_EQ(TowerUseAction(tower, player, inv).message, "Подобрал: Аптечка");
    EXPECT_EQ(inv.slots[39].type, ItemType::Medkit);
    EXPECT_EQ(tower.takenKeys().size(), 1u);
    EXPECT_EQ(TowerUseAction(tower, player, inv).message, "Здесь ничего нет");
}

}  // namespace
