// ruins.h: one ruined building of a settlement: its picture in the chunk's
// map (foundation, broken walls, windows, floors, roof, furniture, snow,
// rubble), its wall boxes, its cabinets and its loose loot, all from the
// ruin's 32-bit hash. Object ids are saved, so their packing is frozen.
#pragma once
#include <cstdint>
#include <unordered_set>
#include <vector>
#include "raylib.h"
#include "world/item_type.h"
#include "world/map_builder.h"
#include "world/world.h"

namespace chunkgen {

// Loose item n of the ruin with hash rh.
uint64_t RuinItemId(uint32_t rh, uint32_t n);

// Cabinet k of the ruin with hash rh.
uint64_t RuinCabinetId(uint32_t rh, uint32_t k);

// The loose item rolled for one loot slot of a ruin.
ItemType RuinLoot(uint32_t rh, int slot);

// Draws one ruin centred on (x, z) into the builder and appends its wall
// boxes, cabinets and loose items. Objects whose ids are in removed are not
// listed, but they still take their id, so no other id of the ruin shifts.
void BuildRuin(const MapBuilder& builder, Vector2 centre, float groundY, float width, float depth, float height,
               bool collapsed, float snow, uint32_t rh, std::vector<WorldItem>& items,
               std::vector<WorldCabinet>& cabinets, const std::unordered_set<uint64_t>& removed,
               std::vector<CollisionBox>& walls);

}  // namespace chunkgen
