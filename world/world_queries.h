// world_queries.h: the records the world's queries hand out: a settlement
// found from the seed and the nearest thing the player can interact with.
#pragma once
#include <cstdint>
#include "raylib.h"
#include "world/item_type.h"

// A settlement found from the seed, without loading its chunks.
struct SettlementInfo {
    uint64_t key;      // packed 700-unit cell (sx, sz): the settlement's id
    Vector3 position;  // centre x, terrain height there, centre z
    int type;          // 0 village, 1 town, 2 city
    float radius;
};

// What an Interaction's kind says it is.
inline constexpr int kInteractionNone = 0;
inline constexpr int kInteractionItem = 1;  // an item lying on the ground
inline constexpr int kInteractionCabinet = 2;

// The object the player would act on; all zero (kInteractionNone) for none.
struct Interaction {
    int kind;
    uint64_t id;
    ItemType itemType;  // the item's type; None for a cabinet
    Vector3 position;
};

// The fixed loot of a cabinet, decided by its id alone.
ItemType CabinetLoot(uint64_t id);
