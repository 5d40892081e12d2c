// building.cpp: the tower's queries: floor heights, cells underfoot, wall
// push-out, floor changes, the dock, the airship box and the floor items.
#include "actors/building.h"
#include <cmath>
#include <cstdint>

namespace cfg {
constexpr float kFloorReach = 2.16f;  // vertical tolerance of "on this floor"
constexpr float kItemReach = 3.0f;
constexpr float kDockHalfX = 12.0f;
constexpr float kDockHalfZ = 8.0f;
constexpr int kWallScans = 3;
constexpr int kStairsX = 2;
constexpr int kStairsZ = 2;
constexpr int kDoorZ = 39;
constexpr int kDoorX0 = 9;
constexpr int kDoorX1 = 11;
}  // namespace cfg

namespace {

using Block = Building::Block;

bool InGrid(int x, int z) {
    return x >= 0 && x < Building::kGridX && z >= 0 && z < Building::kGridZ;
}

// The cell a local point falls into; false when it lies off the grid, which
// also catches a point a hair below the far edge that rounds onto it.
bool CellOf(float lx, float lz, int& x, int& z) {
    const float fx = std::floor((lx + Building::kHalfX) / Building::kCellSize);
    const float fz = std::floor((lz + Building::kHalfZ) / Building::kCellSize);
    if (!(fx >= 0.0f && fx < static_cast<float>(Building::kGridX) && fz >= 0.0f &&
          fz < static_cast<float>(Building::kGridZ))) {
        return false;
    }
    x = static_cast<int>(fx);
    z = static_cast<int>(fz);
    return true;
}

Vector2 CellCentre(int cell) {
    const int x = cell % Building::kGridX;
    const int z = cell / Building::kGridX;
    return {(static_cast<float>(x) + 0.5f) * Building::kCellSize - Building::kHalfX,
            (static_cast<float>(z) + 0.5f) * Building::kCellSize - Building::kHalfZ};
}

int ClampFloor(int64_t floor, int lo, int hi) {
    if (floor < lo) {
        floor = lo;
    }
    if (floor > hi) {
        floor = hi;
    }
    return static_cast<int>(floor);
}

float Dot(Vector2 a, Vector2 b) {
    return a.x * b.x + a.y * b.y;
}

}  // namespace

bool Building::HasTower() const {
    return floorCount > 0;
}

const Building::FloorData* Building::CurrentFloorData() const {
    if (!HasTower() || currentFloor < 0 || currentFloor >= static_cast<int>(floors.size())) {
        return nullptr;
    }
    return &floors[currentFloor];
}

float Building::FloorY(int floor) const {
    return static_cast<float>(floor - dockFloor) * kFloorHeight + dockY;
}

float Building::renderLift() const {
    return static_cast<float>(currentFloor - minFloor) * kFloorHeight;
}

float Building::dockLift() const {
    return static_cast<float>(dockFloor - minFloor) * kFloorHeight;
}

bool Building::walkableAt(int x, int z) const {
    const FloorData* floor = CurrentFloorData();
    if (floor == nullptr || !InGrid(x, z)) {
        return false;
    }
    switch (floor->cells[x + kGridX * z]) {
        case Block::Floor:
        case Block::Stairs: return true;
        case Block::DockDoor:
            if (z == cfg::kDoorZ && x >= cfg::kDoorX0 && x <= cfg::kDoorX1) {
                return dockOpen && currentFloor == dockFloor;
            }
            return true;
        default: return false;
    }
}

bool Building::solidAt(int x, int z) const {
    if (!HasTower()) {
        return false;
    }
    const FloorData* floor = CurrentFloorData();
    if (floor == nullptr || !InGrid(x, z)) {
        return true;
    }
    switch (floor->cells[x + kGridX * z]) {
        case Block::Void:
        case Block::Floor:
        case Block::Stairs: return false;
        case Block::DockDoor:
            if (z == cfg::kDoorZ && x >= cfg::kDoorX0 && x <= cfg::kDoorX1) {
                return !(dockOpen && currentFloor == dockFloor);
            }
            return false;
        default: return true;
    }
}

bool Building::inside(Vector3 p) const {
    if (!HasTower()) {
        return false;
    }
    const float lx = p.x - center.x;
    const float lz = p.z - center.y;
    return std::fabs(p.y - FloorY(currentFloor)) <= cfg::kFloorReach && std::fabs(lx) < kHalfX &&
           std::fabs(lz) < kHalfZ;
}

bool Building::onStairs(Vector3 p) const {
    if (!HasTower()) {
        return false;
    }
    const float lx = p.x - center.x;
    const float lz = p.z - center.y;
    if (!(lx >= -kHalfX && lx < kHalfX && lz >= -kHalfZ && lz < kHalfZ)) {
        return false;
    }
    int x = 0;
    int z = 0;
    return CellOf(lx, lz, x, z) && x == cfg::kStairsX && z == cfg::kStairsZ;
}

bool Building::changeFloor(int delta) {
    if (delta == 0 || !HasTower()) {
        return false;
    }
    const int target = ClampFloor(static_cast<int64_t>(currentFloor) + delta, minFloor, floorCount - 1);
    if (target == currentFloor) {
        return false;
    }
    currentFloor = target;
    return true;
}

bool Building::SurfaceAt(Vector3 p, float& height) const {
    if (!inside(p)) {
        return false;
    }
    int x = 0;
    int z = 0;
    if (!CellOf(p.x - center.x, p.z - center.y, x, z) || !walkableAt(x, z)) {
        return false;
    }
    height = FloorY(currentFloor);
    return true;
}

Vector3 Building::ResolveWalls(Vector3 p, float radius) const {
    if (!inside(p) || CurrentFloorData() == nullptr) {
        return p;
    }
    float lx = p.x - center.x;
    float lz = p.z - center.y;
    for (int scan = 0; scan < cfg::kWallScans; ++scan) {
        bool moved = false;
        for (int z = 0; z < kGridZ; ++z) {
            for (int x = 0; x < kGridX; ++x) {
                if (!solidAt(x, z)) {
                    continue;
                }
                const float x0 = kCellSize * static_cast<float>(x) - kHalfX - radius;
                const float x1 = kCellSize * static_cast<float>(x + 1) - kHalfX + radius;
                const float z0 = kCellSize * static_cast<float>(z) - kHalfZ - radius;
                const float z1 = kCellSize * static_cast<float>(z + 1) - kHalfZ + radius;
                if (!(lx > x0 && lx < x1 && lz > z0 && lz < z1)) {
                    continue;
                }
                const float toMinX = lx - x0;
                const float toMaxX = x1 - lx;
                const float toMinZ = lz - z0;
                const float toMaxZ = z1 - lz;
                float best = toMinX;
                int face = 0;
                if (toMaxX < best) {
                    best = toMaxX;
                    face = 1;
                }
                if (toMinZ < best) {
                    best = toMinZ;
                    face = 2;
                }
                if (toMaxZ < best) {
                    face = 3;
                }
                switch (face) {
                    case 0: lx = x0; break;
                    case 1: lx = x1; break;
                    case 2: lz = z0; break;
                    default: lz = z1; break;
                }
                moved = true;
            }
        }
        if (!moved) {
            break;
        }
    }
    return {center.x + lx, p.y, center.y + lz};
}

bool Building::atDock(Vector3 p) const {
    if (!HasTower()) {
        return false;
    }
    return std::fabs(p.x - center.x) < cfg::kDockHalfX && std::fabs(p.z - center.y - dockOffset) < cfg::kDockHalfZ;
}

Vector2 Building::ResolveShipBox(Vector2 pos, float heading, float halfLength, float halfWidth) const {
    if (!HasTower()) {
        return pos;
    }
    const Vector2 forward = {std::cos(heading), std::sin(heading)};
    const Vector2 side = {-forward.y, forward.x};
    const Vector2 d = {pos.x - center.x, pos.y - center.y};
    const Vector2 axes[4] = {{1.0f, 0.0f}, {0.0f, 1.0f}, forward, side};

    int bestAxis = -1;
    float bestOverlap = 0.0f;
    for (int i = 0; i < 4; ++i) {
        const Vector2 axis = axes[i];
        const float overlap = std::fabs(Dot(axis, forward)) * halfLength + std::fabs(Dot(axis, side)) * halfWidth +
                              std::fabs(axis.x) * kHalfX + std::fabs(axis.y) * kHalfZ - std::fabs(Dot(axis, d));
        if (!(overlap > 0.0f)) {
            return pos;
        }
        if (bestAxis < 0 || overlap < bestOverlap) {
            bestAxis = i;
            bestOverlap = overlap;
        }
    }
    const Vector2 axis = axes[bestAxis];
    const float s = Dot(axis, d) >= 0.0f ? 1.0f : -1.0f;
    return {pos.x + axis.x * bestOverlap * s, pos.y + axis.y * bestOverlap * s};
}

Vector3 Building::DockWindowPoint() const {
    return {center.x, dockY, center.y + kHalfZ};
}

ItemType Building::nearestItem(Vector3 p, uint64_t& key) const {
    if (!HasTower()) {
        return ItemType::None;
    }
    key = 0;
    const FloorData* floor = CurrentFloorData();
    if (floor == nullptr) {
        return ItemType::None;
    }
    ItemType kind = ItemType::None;
    float best = cfg::kItemReach * cfg::kItemReach;
    for (const FloorItem& item : floor->items) {
        if (item.taken || item.cell < 0 || item.cell >= kCellCount) {
            continue;
        }
        const Vector2 local = CellCentre(item.cell);
        const float dx = center.x + local.x - p.x;
        const float dz = center.y + local.y - p.z;
        const float d2 = dx * dx + dz * dz;
        if (d2 < best) {
            best = d2;
            kind = item.kind;
            key = item.key;
        }
    }
    return kind;
}

ItemType Building::takeItem(uint64_t key) {
    if (key == 0 || CurrentFloorData() == nullptr) {
        return ItemType::None;
    }
    for (FloorItem& item : floors[currentFloor].items) {
        if (!item.taken && item.key == key) {
            item.taken = true;
            return item.kind;
        }
    }
    return ItemType::None;
}

std::vector<uint64_t> Building::takenKeys() const {
    std::vector<uint64_t> keys;
    if (!HasTower()) {
        return keys;
    }
    for (const FloorData& floor : floors) {
        for (const FloorItem& item : floor.items) {
            if (item.taken) {
                keys.push_back(item.key);
            }
        }
    }
    return keys;
}

void Building::RestoreState(int floor, const std::unordered_set<uint64_t>& taken) {
    if (!HasTower()) {
        return;
    }
    currentFloor = ClampFloor(floor, minFloor, floorCount - 1);
    for (FloorData& data : floors) {
        for (FloorItem& item : data.items) {
            item.taken = taken.count(item.key) != 0;
        }
    }
}
