// items.cpp: the item table and the inventory's stacking rules.
#include "game/items.h"

namespace {

constexpr ItemInfo kNoItem{"", 0, 0, 0, Color{0, 0, 0, 0}};

// Indexed by the kind's value; entry 0 is None.
constexpr ItemInfo kItemTable[] = {
    kNoItem,
    {"Крупа", 30, 0, 0, Color{214, 168, 92, 255}},
    {"Консервы", 45, 0, 0, Color{126, 138, 146, 255}},
    {"Вода", 0, 55, 0, Color{86, 142, 190, 255}},
    {"Аптечка", 0, 0, 50, Color{226, 228, 226, 255}},
    {"Канистра", 0, 0, 0, Color{196, 120, 52, 255}},
    {"Уголь", 0, 0, 0, Color{46, 46, 50, 255}},
    {"Патроны", 0, 0, 0, Color{176, 138, 62, 255}},
    {"Дрова", 0, 0, 0, Color{124, 84, 48, 255}},
    {"Запасная часть", 0, 0, 0, Color{148, 162, 176, 255}},
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
