// item_type.h: the item kinds, one byte each. They live here, at the lowest
// layer, because chunks, the tower and the inventory all store them.
#pragma once
#include <cstdint>

enum class ItemType : uint8_t {
    None = 0,
    Groats = 1,
    CannedFood = 2,
    Water = 3,
    Medkit = 4,
    FuelCan = 5,
    Coal = 6,
    Ammo = 7,
    Firewood = 8,
    SparePart = 9,
};
