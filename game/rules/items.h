// items.h: the fixed properties of the item kinds and the player's 40-slot
// inventory with its stacking rules. No drawing here.
#pragma once
#include <array>

#include "raylib.h"
#include "world/item_type.h"

// What one item of a kind is called, restores when used, and its icon colour
// (the kind's ItemColour).
struct ItemInfo {
    const char* name;
    int food;
    int water;
    int health;
    Color colour;
};

// Kinds outside 1..9 answer like None: empty name, nothing, transparent.
ItemInfo ItemDetails(ItemType type);

// The type is None exactly when the count is 0.
struct InventorySlot {
    ItemType type = ItemType::None;
    int count = 0;
};

// The status line when an item would not fit (HasRoomFor is false).
inline constexpr const char* kInventoryFull = "Инвентарь полон";

// Forty stacks of at most nine; slots 0..9 are the hotbar.
class Inventory {
public:
    static constexpr int kSlotCount = 40;
    static constexpr int kHotbarSize = 10;
    static constexpr int kStackLimit = 9;

    // Index of the slot that took the item, or -1 (None, or no room).
    int Add(ItemType type);
    // Takes one from the lowest slot holding the kind; false when none does.
    bool RemoveOne(ItemType type);
    // An empty slot, or a stack of that kind below the limit.
    bool HasRoomFor(ItemType type) const;

    std::array<InventorySlot, kSlotCount> slots{};  // what the save keeps; a new world gets the starting kit
    int selected = 0;                               // highlighted hotbar slot 0..9 (keys 1..9, 0); not saved
};
