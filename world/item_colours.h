// item_colours.h: the one colour of each item kind, wherever an item is shown:
// lying in the world, on a tower floor and in the inventory. It lives here,
// beside the item kinds, because the world draws items too.
#pragma once
#include "raylib.h"
#include "world/item_type.h"

// The fill colour of an item of that kind; None or an unknown kind is fully
// transparent.
constexpr Color ItemColour(ItemType kind) {
    switch (kind) {
        case ItemType::Groats: return Color{214, 168, 92, 255};
        case ItemType::CannedFood: return Color{126, 138, 146, 255};
        case ItemType::Water: return Color{86, 142, 190, 255};
        case ItemType::Medkit: return Color{226, 228, 226, 255};
        case ItemType::FuelCan: return Color{196, 120, 52, 255};
        case ItemType::Coal: return Color{46, 46, 50, 255};
        case ItemType::Ammo: return Color{176, 138, 62, 255};
        case ItemType::Firewood: return Color{124, 84, 48, 255};
        case ItemType::SparePart: return Color{148, 162, 176, 255};
        case ItemType::None: break;
    }
    return Color{0, 0, 0, 0};
}
