// building_generate.cpp: the tower's seeded floors: walls, windows, stairs,
// the dock door, rubble and items. Depends on the world's integer hashes.
#include "actors/building.h"
#include "world/noise.h"

namespace cfg {
constexpr int kTowerFloors = 60;
constexpr float kDockHeightAboveBase = 28.8f;
constexpr int kRubblePerFloor = 6;
constexpr uint32_t kRubbleSalt = 0x2FA1u;
constexpr uint32_t kItemCellSalt = 0x51A3u;
constexpr uint32_t kItemKindSalt = 0x77u;
constexpr ItemType kItemKinds[7] = {
    ItemType::Coal,       ItemType::Coal,   ItemType::Groats, ItemType::Water,
    ItemType::CannedFood, ItemType::Medkit, ItemType::Ammo,
};
}  // namespace cfg

namespace {

using Block = Building::Block;

int CellIndex(int x, int z) {
    return x + Building::kGridX * z;
}

// A hash in 0..1 spread over the 800 cells; the hash 1.0 wraps to cell 0.
int HashedCell(int x, int z, uint32_t seed) {
    return static_cast<int>(NoiseHash01(x, z, seed) * 800.0f) % Building::kCellCount;
}

}  // namespace

uint64_t TowerItemKey(uint32_t seed, int floor, int cell) {
    return (static_cast<uint64_t>(seed) << 24) ^ (static_cast<uint64_t>(floor & 0xFF) << 12) ^
           static_cast<uint64_t>(static_cast<uint32_t>(cell));
}

void Building::Generate(uint32_t seedIn, Vector2 centerIn, float baseYIn, float dockOffsetIn) {
    baseY = baseYIn;
    dockOffset = dockOffsetIn;
    seed = seedIn;
    center = centerIn;
    floorCount = cfg::kTowerFloors;
    currentFloor = kTowerDockFloor;
    minFloor = kTowerMinFloor;
    dockFloor = kTowerDockFloor;
    dockY = baseY + cfg::kDockHeightAboveBase;

    floors.assign(cfg::kTowerFloors, FloorData{});
    for (int f = 0; f < cfg::kTowerFloors; ++f) {
        BuildFloor(f, seed);
    }
}

void Building::BuildFloor(int a, uint32_t floorSeed) {
    if (a < 0 || a >= static_cast<int>(floors.size())) {
        return;
    }
    FloorData& floor = floors[a];
    floor.cells.fill(Block::Floor);
    floor.items.clear();
    auto set = [&floor](int x, int z, Block b) { floor.cells[CellIndex(x, z)] = b; };

    // Border, then the windows cut into it.
    for (int z = 0; z < kGridZ; ++z) {
        for (int x = 0; x < kGridX; ++x) {
            if (x == 0 || x == kGridX - 1 || z == 0 || z == kGridZ - 1) {
                set(x, z, Block::OuterWall);
            }
        }
    }
    for (int x = 2; x <= 17; x += 3) {
        set(x, 0, Block::Window);
        set(x, kGridZ - 1, Block::Window);
    }
    for (int z = 2; z <= 35; z += 3) {
        set(0, z, Block::Window);
        set(kGridX - 1, z, Block::Window);
    }

    // Partitions with their doorways.
    for (int z = 1; z <= 38; ++z) {
        if (z != 4 && z != 35) {
            set(6, z, Block::InnerWall);
        }
    }
    for (int x = 6; x <= 18; ++x) {
        if (x != 17) {
            set(x, 24, Block::InnerWall);
        }
    }
    if (a % 3 == 0) {
        set(13, 2, Block::InnerWall);
        for (int z = 4; z <= 23; ++z) {
            set(13, z, Block::InnerWall);
        }
    }

    set(2, 2, Block::Stairs);
    set(2, 3, Block::Floor);
    if (a == dockFloor) {
        set(9, kGridZ - 1, Block::DockDoor);
        set(10, kGridZ - 1, Block::DockDoor);
        set(11, kGridZ - 1, Block::DockDoor);
    }

    for (int l = 7 * a; l <= 7 * a + (cfg::kRubblePerFloor - 1); ++l) {
        const int cell = HashedCell(l, 3, floorSeed ^ cfg::kRubbleSalt);
        if (floor.cells[cell] == Block::Floor) {
            floor.cells[cell] = Block::Rubble;
        }
    }

    const int count = static_cast<int>(NoiseHash01(a, 11, floorSeed) * 3.0f) + 3;
    for (int l = 0; l < count; ++l) {
        const int cell = HashedCell(l + 13 * a, 5, floorSeed ^ cfg::kItemCellSalt);
        if (floor.cells[cell] != Block::Floor) {
            continue;
        }
        bool occupied = false;
        for (const FloorItem& item : floor.items) {
            occupied = occupied || item.cell == cell;
        }
        if (occupied) {
            continue;
        }
        FloorItem item;
        item.cell = cell;
        item.kind = cfg::kItemKinds[(NoiseHash(a, l, floorSeed ^ cfg::kItemKindSalt) >> 3) % 7u];
        item.key = TowerItemKey(floorSeed, a, cell);
        item.taken = false;
        floor.items.push_back(item);
    }
}
