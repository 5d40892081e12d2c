// survival.cpp: the rules of the player's needs, of using items, of the home
// settlement's goals and of the tower's actions, against the models alone.
#include "game/rules/survival.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

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

}  // namespace

// ---- Needs ----

float CabinWarmthRate(float cabinTemp) {
    if (cabinTemp >= cfg::kCabinWarm) return cfg::kCabinWarmGain;
    if (cabinTemp >= cfg::kCabinCool) return cfg::kCabinGainPerDegree * (cabinTemp - cfg::kCabinCool);
    return -cfg::kCabinLossPerDegree * (cfg::kCabinCool - cabinTemp);
}

float OutdoorWarmthRate(float airTemperature, float weather) {
    const float cold = std::clamp((-5.0f - airTemperature) / 55.0f, 0.0f, 1.0f);
    return -(1.9f * cold + 0.12f) * (0.6f * weather + 0.7f);
}

bool NearBurningCampFire(const std::vector<MarauderCamp>& camps, Vector3 eye) {
    for (const MarauderCamp& camp : camps) {
        if (camp.fire <= 0.0f) continue;
        const float dx = camp.center.x - eye.x;
        const float dz = camp.center.z - eye.z;
        if (dx * dx + dz * dz > cfg::kCampFireReachSq) continue;
        if (std::abs(camp.center.y - eye.y) > cfg::kCampFireHeightWindow) continue;
        return true;
    }
    return false;
}

float ShelteredWarmthRate(float outdoorRate, float homeHeat, bool campFire) {
    float rate = outdoorRate;
    if (homeHeat > 0.0f) rate = std::max(rate, cfg::kHomeHeatGain * homeHeat);
    if (campFire) rate = std::max(rate, cfg::kCampFireGain);
    return rate;
}

NeedsDeath StepNeeds(Needs& needs, float dt, bool gameOver, float warmthRate) {
    needs.food = std::max(needs.food - cfg::kFoodLoss * dt, 0.0f);
    needs.water = std::max(needs.water - cfg::kWaterLoss * dt, 0.0f);
    if (gameOver) return NeedsDeath::None;

    if (needs.food <= 0.0f) needs.health -= cfg::kStarvingDamage * dt;
    if (needs.water <= 0.0f) needs.health -= cfg::kThirstDamage * dt;
    // Whatever brought health down before this step counts as hunger too.
    if (needs.health <= 0.0f) {
        needs.health = 0.0f;
        return NeedsDeath::HungerThirst;
    }

    needs.warmth = std::clamp(needs.warmth + warmthRate * dt, 0.0f, cfg::kNeedMax);
    if (needs.warmth > 0.0f) return NeedsDeath::None;

    needs.health = std::max(needs.health - cfg::kFreezingDamage * dt, 0.0f);
    if (needs.health > 0.0f) return NeedsDeath::None;
    return NeedsDeath::Cold;
}

const char* DeathMessage(NeedsDeath death) {
    switch (death) {
        case NeedsDeath::HungerThirst: return "Ты умер от голода и жажды";
        case NeedsDeath::Cold: return "Ты замёрз насмерть";
        default: return "";
    }
}

const char* DeathLogLine(NeedsDeath death) {
    switch (death) {
        case NeedsDeath::HungerThirst: return "SURVIVAL: died of hunger/thirst";
        case NeedsDeath::Cold: return "SURVIVAL: froze to death";
        default: return "";
    }
}

// ---- Item use ----

std::string UseInventorySlot(Inventory& inventory, int slot, Needs& needs) {
    if (slot < 0 || slot >= Inventory::kSlotCount) return "";
    InventorySlot& cell = inventory.slots[static_cast<size_t>(slot)];
    if (cell.count < 1) return "";
    if (cell.type == ItemType::Coal) return "Уголь нужен в печь дирижабля";
    if (cell.type == ItemType::SparePart) return "Запчасти нужны большому генератору дома";

    const ItemInfo info = ItemDetails(cell.type);
    if (info.food == 0 && info.water == 0 && info.health == 0) return "";

    needs.food = std::min(needs.food + static_cast<float>(info.food), cfg::kNeedMax);
    needs.water = std::min(needs.water + static_cast<float>(info.water), cfg::kNeedMax);
    needs.health = std::min(needs.health + static_cast<float>(info.health), cfg::kNeedMax);
    // Only the clicked stack pays, not the first stack of that kind.
    if (--cell.count == 0) cell = InventorySlot{};
    return std::string("Использовано: ") + info.name;
}

// ---- Home settlement goals and tower actions ----

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
