// items.cpp: the item table and the inventory's stacking rules.
#include "game/items.h"
#include "world/item_colours.h"

namespace {

constexpr ItemInfo kNoItem{"", 0, 0, 0, ItemColour(ItemType::None)};

// Indexed by the kind's value; entry 0 is None.
constexpr ItemInfo kItemTable[] = {
    kNoItem,
    {"Крупа", 30, 0, 0, ItemColour(ItemType::Groats)},
    {"Консервы", 45, 0, 0, ItemColour(ItemType::CannedFood)},
    {"Вода", 0, 55, 0, ItemColour(ItemType::Water)},
    {"Аптечка", 0, 0, 50, ItemColour(ItemType::Medkit)},
    {"Канистра", 0, 0, 0, ItemColour(ItemType::FuelCan)},
    {"Уголь", 0, 0, 0, ItemColour(ItemType::Coal)},
    {"Патроны", 0, 0, 0, ItemColour(ItemType::Ammo)},
    {"Дрова", 0, 0, 0, ItemColour(ItemType::Firewood)},
    {"Запасная часть", 0, 0, 0, ItemColour(ItemType::SparePart)},
};

}  // namespace

ItemInfo ItemDetails(ItemType type) {
    const int index = static_cast<int>(type);
    if (index < 1 || index > 9) return kNoItem;
    return kItemTable[index];
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
