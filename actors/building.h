// building.h: the sixty-floor tower with its airship dock: seeded floors of
// 2-unit cells, stairs, items, and the walking and docking queries on them.
#pragma once
#include <array>
#include <cstdint>
#include <unordered_set>
#include <vector>
#include "raylib.h"
#include "world/atmosphere.h"
#include "world/item_type.h"

// One item lying on a tower floor; its key names it across saves.
struct FloorItem {
    int32_t cell = 0;                // index of its cell on the floor, x + 20 z
    ItemType kind = ItemType::None;  // what lies there
    uint64_t key = 0;                // TowerItemKey of the seed, floor and cell
    bool taken = false;              // picked up; a save keeps the keys of the taken
};

// The lowest reachable floor (at ground level) and the floor with the airship
// dock, where a tower starts and where an old save without a floor stands.
inline constexpr int kTowerMinFloor = 4;
inline constexpr int kTowerDockFloor = 12;

// The tower. It exists only once Generate has given it floors; with
// floorCount 0 every query answers false, 0 or its unchanged input.
class Building {
public:
    enum class Block : uint8_t {
        Void = 0,
        OuterWall = 1,
        InnerWall = 2,
        Floor = 3,
        Window = 4,
        DockDoor = 5,
        Stairs = 6,
        Rubble = 7,
    };

    static constexpr int kGridX = 20;
    static constexpr int kGridZ = 40;
    static constexpr int kCellCount = kGridX * kGridZ;
    static constexpr float kCellSize = 2.0f;     // a cell's side, units
    static constexpr float kHalfX = 20.0f;       // half the footprint along x: kGridX cells, units
    static constexpr float kHalfZ = 40.0f;       // half the footprint along z: kGridZ cells, units
    static constexpr float kFloorHeight = 3.6f;  // one floor above the next, units

    // Cell (x, z) sits at index x + 20 z; a fresh floor is all Void.
    struct FloorData {
        std::array<Block, kCellCount> cells{};  // the floor's blocks
        std::vector<FloorItem> items;           // the items lying on it
    };

    void Generate(uint32_t seed, Vector2 center, float baseY, float dockOffset);
    void BuildFloor(int floor, uint32_t seed);

    float FloorY(int floor) const;
    float renderLift() const;
    float dockLift() const;

    bool walkableAt(int x, int z) const;
    bool solidAt(int x, int z) const;
    bool inside(Vector3 p) const;
    bool onStairs(Vector3 p) const;
    bool changeFloor(int delta);
    bool SurfaceAt(Vector3 p, float& height) const;
    Vector3 ResolveWalls(Vector3 p, float radius) const;

    bool atDock(Vector3 p) const;
    Vector2 ResolveShipBox(Vector2 pos, float heading, float halfLength, float halfWidth) const;
    Vector3 DockWindowPoint() const;

    ItemType nearestItem(Vector3 p, uint64_t& key) const;
    ItemType takeItem(uint64_t key);
    std::vector<uint64_t> takenKeys() const;
    void RestoreState(int floor, const std::unordered_set<uint64_t>& taken);

    // Drawing, top-down (the tower's own drawing file).
    void DrawShadow(Vector3 cam, float s, const Atmosphere& atmosphere) const;
    void DrawExterior(Vector3 cam, float s, Color tint, float parallax) const;
    void DrawFloor(Vector3 cam, float s, Color tint) const;
    void DrawLight(Vector3 cam, float s, const Atmosphere& atmosphere) const;

    std::vector<FloorData> floors;    // index = floor number, 0..floorCount-1
    Vector2 center = {0.0f, 0.0f};    // x/z of the tower's centre
    uint32_t seed = 0;                // seed of the floors' walls, rubble and items
    float baseY = 0.0f;               // ground height at the tower, where minFloor stands
    float dockY = 0.0f;               // height of the dock floor above the world's zero
    float dockOffset = 0.0f;          // z of the dock box's centre from the tower's centre
    int floorCount = 0;               // floors generated; 0 = no tower
    int currentFloor = 0;             // the floor the player is on
    int minFloor = kTowerMinFloor;    // lowest reachable floor, at ground level
    int dockFloor = kTowerDockFloor;  // the floor with the airship dock
    bool dockOpen = false;            // the dock door lets walkers through; the game sets it while moored

private:
    bool HasTower() const;
    const FloorData* CurrentFloorData() const;
};

// The tower item key: seed, floor and cell packed into 64 bits.
uint64_t TowerItemKey(uint32_t seed, int floor, int cell);
