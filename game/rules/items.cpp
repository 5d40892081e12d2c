// items.cpp: the item table and the inventory's stacking rules.
#include "game/rules/items.h"
#include "world/item_colours.h"

namespace {

// A kind's own values; its colour comes from the one colour table.
struct ItemRow {
    const char* name;
    int food;
    int water;
    int health;
};

// Indexed by the kind's value; entry 0 is None.
constexpr ItemRow kItemTable[] = {
    {"", 0, 0, 0},                // None
    {"Крупа", 30, 0, 0},          // Groats
    {"Консервы", 45, 0, 0},       // CannedFood
    {"Вода", 0, 55, 0},           // Water
    {"Аптечка", 0, 0, 50},        // Medkit
    {"Канистра", 0, 0, 0},        // FuelCan
    {"Уголь", 0, 0, 0},           // Coal
    {"Патроны", 0, 0, 0},         // Ammo
    {"Дрова", 0, 0, 0},           // Firewood
    {"Запасная часть", 0, 0, 0},  // SparePart
};

}  // namespace

ItemInfo ItemDetails(ItemType type) {
    const int index = static_cast<int>(type);
    const ItemRow& row = index < 1 || index > 9 ? kItemTable[0] : kItemTable[index];
    return ItemInfo{row.name, row.food, row.water, row.health, ItemColour(type)};
}

int Inventory::Add(ItemType type) {
    if (type == ItemType::None) return -1;
    for (int i = 0; i < kSlotCount; ++i) {
        if (slots[i].type == type && slots[i].count < kStackLimit) {
            ++slots[i].count;
            return i;
        }
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (slots[i].count == 0) {
            slots[i] = InventorySlot{type, 1};
            return i;
        }
    }
    return -1;
}

bool Inventory::RemoveOne(ItemType type) {
    for (InventorySlot& slot : slots) {
        if (slot.type == type && slot.count > 0) {
            if (--slot.count == 0) slot = InventorySlot{};
            return true;
        }
    }
    return false;
}

bool Inventory::HasRoomFor(ItemType type) const {
    for (const InventorySlot& slot : slots) {
        if (slot.count == 0) return true;
        if (slot.type == type && slot.count < kStackLimit) return true;
    }
    return false;
}
