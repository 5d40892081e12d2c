// game_goals.cpp: the aim of a world, saving the home settlement: the loose
// spare part, repairing and feeding the great furnace, sharing food with the
// survivors, the furnace's warnings, the lost settlement and the win; and the
// tower's stairs and items.
#include <string>

#include "game/game.h"
#include "game/survival.h"

namespace {

constexpr const char* kInventoryFull = "Инвентарь полон";

// What one item of fuel gives the great furnace, in the order it is burnt.
struct FurnaceFuel {
    ItemType type;
    float seconds;
    const char* message;
};

constexpr FurnaceFuel kFurnaceFuels[] = {
    {ItemType::Coal, 120.0f, "Уголь в большой топке (+2 мин)"},
    {ItemType::FuelCan, 60.0f, "Канистра в большой топке (+1 мин)"},
    {ItemType::Firewood, 40.0f, "Дрова в большой топке (+40 с)"},
};

std::string Counted(const char* text, int count, int total) {
    return std::string(text) + " (" + std::to_string(count) + " / " + std::to_string(total) + ")";
}

ActionResult RepairFurnace(HomeSettlement& home, Inventory& inventory) {
    if (home.parts > kFurnacePartsNeeded - 1) return {"Топке нужен огонь, а не ещё одна часть"};
    if (!inventory.RemoveOne(ItemType::SparePart)) return {"Генератор разрушен - ищи запчасти в городах"};
    if (home.InstallPart()) return {"Большая топка ожила! Накорми её, пока не остыла.", cfg::kRepairShake};
    return {Counted("Запасная часть установлена", home.parts, kFurnacePartsNeeded)};
}

ActionResult FeedFurnace(HomeSettlement& home, Inventory& inventory) {
    if (!home.needsFuel()) return {"Большая топка полна"};
    for (const FurnaceFuel& fuel : kFurnaceFuels) {
        if (inventory.RemoveOne(fuel.type)) {
            home.AddFuel(fuel.seconds);
            return {fuel.message};
        }
    }
    return {"Нет угля или дров для большой топки"};
}

// Puts the feet on the tower's current floor and names it.
ActionResult ArriveOnFloor(const Building& tower, Player& player) {
    player.SetPosition(Vector3{player.feet.x, tower.FloorY(tower.currentFloor) + kEyeHeight, player.feet.z});
    return {"Этаж " + std::to_string(tower.currentFloor + 1) + " из " + std::to_string(tower.floorCount)};
}

void Apply(Game& game, const ActionResult& result) {
    if (result.shake > 0.0f) game.shake = result.shake;
    if (!result.message.empty()) game.SetMessage(result.message);
}

}  // namespace

ActionResult HomeUseAction(HomeSettlement& home, Inventory& inventory, bool nearPart) {
    if (nearPart) {
        if (!inventory.HasRoomFor(ItemType::SparePart)) return {kInventoryFull};
        inventory.Add(ItemType::SparePart);
        home.partTaken = true;
        return {"Подобрал: запасная часть"};
    }
    if (home.broken) return RepairFurnace(home, inventory);
    return FeedFurnace(home, inventory);
}

ActionResult ShareFood(Inventory& inventory, int& foodShared, bool& rewardGiven) {
    if (!inventory.RemoveOne(ItemType::CannedFood) && !inventory.RemoveOne(ItemType::Groats)) {
        return {"Нечем поделиться - принеси консервы или крупу"};
    }
    foodShared += 1;
    if (foodShared > cfg::kFoodForReward - 1) {
        rewardGiven = true;
        inventory.Add(ItemType::Medkit);
        inventory.Add(ItemType::Ammo);
        return {"Выжившие благодарят и делятся запасом: аптечка и патроны"};
    }
    return {Counted("Еда отдана выжившим", foodShared, cfg::kFoodForReward)};
}

ActionResult TowerUseAction(Building& tower, Player& player, Inventory& inventory) {
    if (tower.onStairs(player.feet)) {
        if (tower.changeFloor(+1)) return ArriveOnFloor(tower, player);
        return {"Лестница наверх разрушена"};
    }
    uint64_t key = 0;
    const ItemType kind = tower.nearestItem(player.feet, key);
    if (kind == ItemType::None) return {"Здесь ничего нет"};
    if (!inventory.HasRoomFor(kind)) return {kInventoryFull};
    tower.takeItem(key);
    inventory.Add(kind);
    return {std::string("Подобрал: ") + ItemDetails(kind).name};
}

ActionResult TowerDownAction(Building& tower, Player& player) {
    if (!tower.onStairs(player.feet)) return {};
    if (tower.changeFloor(-1)) return ArriveOnFloor(tower, player);
    return {"Нижние этажи засыпаны снегом"};
}

const char* HearthFuelMessage(float fuelBefore, float fuelAfter) {
    if (!(fuelBefore > 0.0f)) return "";
    if (fuelAfter <= 0.0f) return "Большая топка погасла! Выжившие замерзают.";
    if (fuelBefore > cfg::kLowFuelSeconds && fuelAfter <= cfg::kLowFuelSeconds) {
        return "Большая топка на исходе - накорми её.";
    }
    return "";
}

bool SettlementSaved(const HomeSettlement& home, float fuel) {
    return !home.broken && home.survivorsAlive() > 0 && fuel >= cfg::kWinFuelSeconds;
}

void HandleHomeActions(Game& game, bool nearFurnace, bool nearPart) {
    if (game.input.Pressed(KEY_E) && (nearFurnace || nearPart)) {
        Apply(game, HomeUseAction(game.home, game.inventory, nearPart));
    }
    if (game.rewardGiven || !game.input.Pressed(KEY_F) || game.target.kind != kInteractionNone) return;
    const float dx = game.player.feet.x - game.home.cx;
    const float dz = game.player.feet.z - game.home.cz;
    if (dx * dx + dz * dz >= cfg::kShareRadiusSq) return;
    Apply(game, ShareFood(game.inventory, game.foodShared, game.rewardGiven));
}

void HandleTowerActions(Game& game) {
    if (!game.inTower) return;
    if (game.input.Pressed(KEY_E)) Apply(game, TowerUseAction(game.tower, game.player, game.inventory));
    if (game.input.Pressed(KEY_F)) Apply(game, TowerDownAction(game.tower, game.player));
}

float UpdateHomeSettlement(Game& game, float dt) {
    if (!game.world) return game.home.fuel;
    HomeSettlement& home = game.home;
    const int aliveBefore = home.survivorsAlive();
    const float fuelBefore = home.fuel;
    home.Update(dt, *game.world);
    const int aliveAfter = home.survivorsAlive();

    if (game.gameOver) return fuelBefore;
    const char* fuelMessage = HearthFuelMessage(fuelBefore, home.fuel);
    if (fuelMessage[0] != '\0') game.SetMessage(fuelMessage);
    if (aliveAfter < aliveBefore) {
        game.SetMessage("Выживший замёрз насмерть (осталось " + std::to_string(aliveAfter) + ")");
        game.shake = cfg::kSurvivorLostShake;
    }
    if (home.allDead) {
        game.settlementFroze = true;
        game.gameOver = true;
        game.froze = false;
        game.endLatched = true;
        game.SetMessage("Поселение замёрзло. Большая топка погасла.");
        TraceLog(LOG_INFO, "HEARTH: settlement lost");
    }
    return fuelBefore;
}

void CheckWin(Game& game, float fuel) {
    // An end earlier in this step (a death) holds: the first cause wins.
    if (game.winReached || game.gameOver || !SettlementSaved(game.home, fuel)) return;
    game.winReached = true;
    game.gameOver = true;
    game.endLatched = true;
    game.wonOverlay = true;
    game.shake = cfg::kWinShake;
    game.SetMessage("Поселение переживёт зиму");
    TraceLog(LOG_INFO, "HEARTH: settlement saved");
}
