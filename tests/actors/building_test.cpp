// building_test.cpp: the tower's generated floors, floor changes, dock door,
// items and their saved keys, and the wall and airship push-outs.
#include <gtest/gtest.h>
#include <climits>
#include <cmath>
#include <unordered_set>
#include <utility>
#include <vector>
#include "actors/building.h"

namespace {

using Block = Building::Block;

constexpr float kBaseY = 12.5f;
constexpr Vector2 kCentre = {100.0f, -300.0f};

Building MakeTower(uint32_t seed) {
    Building b;
    b.Generate(seed, kCentre, kBaseY, 68.0f);
    return b;
}

Block CellAt(const Building& b, int floor, int x, int z) {
    return b.floors[floor].cells[x + 20 * z];
}

// World point at the centre of a cell, at the current floor's height.
Vector3 CellPoint(const Building& b, int x, int z) {
    return {kCentre.x + (static_cast<float>(x) + 0.5f) * 2.0f - 20.0f, b.FloorY(b.currentFloor),
            kCentre.y + (static_cast<float>(z) + 0.5f) * 2.0f - 40.0f};
}

// Current floor emptied to plain Floor so a test can place its own walls.
void ClearCurrentFloor(Building& b) {
    b.floors[b.currentFloor].cells.fill(Block::Floor);
    b.floors[b.currentFloor].items.clear();
}

bool IsWindowSlot(int x, int z) {
    if (z == 0 || z == 39) {
        return x >= 2 && x <= 17 && (x - 2) % 3 == 0;
    }
    if (x == 0 || x == 19) {
        return z >= 2 && z <= 35 && (z - 2) % 3 == 0;
    }
    return false;
}

bool IsInnerWallSlot(int floor, int x, int z) {
    if (x == 6 && z >= 1 && z <= 38 && z != 4 && z != 35) {
        return true;
    }
    if (z == 24 && x >= 6 && x <= 18 && x != 17) {
        return true;
    }
    return floor % 3 == 0 && x == 13 && (z == 2 || (z >= 4 && z <= 23));
}

}  // namespace

TEST(BuildingGenerate, SetsTheTowerUp) {
    Building b = MakeTower(7);
    EXPECT_EQ(b.floorCount, 60);
    ASSERT_EQ(b.floors.size(), 60u);
    EXPECT_EQ(b.currentFloor, 12);
    EXPECT_EQ(b.minFloor, 4);
    EXPECT_EQ(b.dockFloor, 12);
    EXPECT_FLOAT_EQ(b.dockY, kBaseY + 28.8f);

    b.dockOpen = true;
    b.Generate(8, kCentre, kBaseY, 68.0f);
    EXPECT_TRUE(b.dockOpen) << "Generate leaves the dock flag to the game";
    EXPECT_EQ(b.floors.size(), 60u);
}

TEST(BuildingGenerate, EveryFloorKeepsItsLayout) {
    for (uint32_t seed : {1u, 20261113u}) {
        const Building b = MakeTower(seed);
        for (int f = 0; f < 60; ++f) {
            int rubble = 0;
            for (int z = 0; z < 40; ++z) {
                for (int x = 0; x < 20; ++x) {
                    const Block c = CellAt(b, f, x, z);
                    ASSERT_NE(c, Block::Void) << "seed " << seed << " floor " << f;
                    const bool border = x == 0 || x == 19 || z == 0 || z == 39;
                    const bool door = f == 12 && z == 39 && x >= 9 && x <= 11;
                    if (door) {
                        EXPECT_EQ(c, Block::DockDoor);
                    } else if (border) {
                        EXPECT_EQ(c, IsWindowSlot(x, z) ? Block::Window : Block::OuterWall)
                            << "floor " << f << " cell " << x << "," << z;
                    } else if (x == 2 && z == 2) {
                        EXPECT_EQ(c, Block::Stairs);
                    } else if (IsInnerWallSlot(f, x, z)) {
                        EXPECT_EQ(c, Block::InnerWall) << "floor " << f << " cell " << x << "," << z;
                    } else {
                        EXPECT_TRUE(c == Block::Floor || c == Block::Rubble)
                            << "floor " << f << " cell " << x << "," << z;
                        rubble += c == Block::Rubble ? 1 : 0;
                    }
                }
            }
            EXPECT_LE(rubble, 6);

            const auto& items = b.floors[f].items;
            EXPECT_LE(items.size(), 6u);
            std::unordered_set<int> cells;
            for (const FloorItem& item : items) {
                ASSERT_GE(item.cell, 0);
                ASSERT_LT(item.cell, 800);
                EXPECT_EQ(b.floors[f].cells[item.cell], Block::Floor) << "items lie on open floor only";
                EXPECT_TRUE(cells.insert(item.cell).second) << "two items on one cell";
                const ItemType k = item.kind;
                EXPECT_TRUE(k == ItemType::Coal || k == ItemType::Groats || k == ItemType::Water ||
                            k == ItemType::CannedFood || k == ItemType::Medkit || k == ItemType::Ammo);
                EXPECT_EQ(item.key, (uint64_t{seed} << 24) ^ (uint64_t(f & 0xFF) << 12) ^ uint64_t(item.cell));
                EXPECT_FALSE(item.taken);
            }
        }
    }
}

TEST(BuildingGenerate, SameSeedSameTowerOtherSeedOtherTower) {
    const Building a = MakeTower(1);
    const Building again = MakeTower(1);
    const Building other = MakeTower(2);
    bool differs = false;
    size_t itemTotal = 0;
    for (int f = 0; f < 60; ++f) {
        EXPECT_EQ(a.floors[f].cells, again.floors[f].cells);
        ASSERT_EQ(a.floors[f].items.size(), again.floors[f].items.size());
        for (size_t i = 0; i < a.floors[f].items.size(); ++i) {
            EXPECT_EQ(a.floors[f].items[i].cell, again.floors[f].items[i].cell);
            EXPECT_EQ(a.floors[f].items[i].kind, again.floors[f].items[i].kind);
            EXPECT_EQ(a.floors[f].items[i].key, again.floors[f].items[i].key);
        }
        differs = differs || a.floors[f].cells != other.floors[f].cells;
        itemTotal += a.floors[f].items.size();
    }
    EXPECT_TRUE(differs);
    EXPECT_GT(itemTotal, 60u) << "most tries land on open floor";
}

TEST(BuildingFloors, HeightsAndLifts) {
    const Building b = MakeTower(3);
    EXPECT_NEAR(b.FloorY(4), kBaseY, 1e-4f);
    EXPECT_FLOAT_EQ(b.FloorY(12), kBaseY + 28.8f);
    EXPECT_NEAR(b.FloorY(59), kBaseY + 198.0f, 1e-3f);
    EXPECT_NEAR(b.FloorY(13) - b.FloorY(12), 3.6f, 1e-5f);
    EXPECT_FLOAT_EQ(b.dockLift(), 28.8f);
    EXPECT_FLOAT_EQ(b.renderLift(), 28.8f);
}

TEST(BuildingFloors, ChangeFloorStaysBetweenFourAndFiftyNine) {
    Building b = MakeTower(3);
    EXPECT_FALSE(b.changeFloor(0));
    EXPECT_TRUE(b.changeFloor(1));
    EXPECT_EQ(b.currentFloor, 13);
    EXPECT_TRUE(b.changeFloor(100));
    EXPECT_EQ(b.currentFloor, 59);
    EXPECT_FALSE(b.changeFloor(1)) << "already at the top";
    EXPECT_EQ(b.currentFloor, 59);
    EXPECT_FALSE(b.changeFloor(INT_MAX)) << "a huge step must not wrap below the top";
    EXPECT_EQ(b.currentFloor, 59);
    EXPECT_TRUE(b.changeFloor(-100));
    EXPECT_EQ(b.currentFloor, 4) << "floors 0..3 lie under the snow";
    EXPECT_FALSE(b.changeFloor(-1));
    EXPECT_FALSE(b.changeFloor(INT_MIN));
    EXPECT_EQ(b.currentFloor, 4);
    EXPECT_FLOAT_EQ(b.renderLift(), 0.0f);
}

TEST(BuildingFloors, NoTowerAnswersNothing) {
    Building b;
    const Vector3 p = {0.0f, 0.0f, 0.0f};
    float h = -5.0f;
    uint64_t key = 42;
    EXPECT_FALSE(b.changeFloor(1));
    EXPECT_FALSE(b.inside(p));
    EXPECT_FALSE(b.onStairs(p));
    EXPECT_FALSE(b.SurfaceAt(p, h));
    EXPECT_FLOAT_EQ(h, -5.0f);
    EXPECT_FALSE(b.walkableAt(5, 5));
    EXPECT_FALSE(b.solidAt(5, 5));
    EXPECT_FALSE(b.atDock(p));
    EXPECT_EQ(b.nearestItem(p, key), ItemType::None);
    EXPECT_EQ(key, 42u) << "no tower leaves the key untouched";
    EXPECT_EQ(b.takeItem(42), ItemType::None);
    EXPECT_TRUE(b.takenKeys().empty());
    const Vector3 moved = b.ResolveWalls(p, 0.42f);
    EXPECT_EQ(moved.x, p.x);
    EXPECT_EQ(moved.z, p.z);
    const Vector2 ship = b.ResolveShipBox({1.0f, 2.0f}, 0.3f, 28.0f, 7.0f);
    EXPECT_EQ(ship.x, 1.0f);
    EXPECT_EQ(ship.y, 2.0f);
    b.RestoreState(20, {1, 2, 3});
    EXPECT_EQ(b.currentFloor, 0);

    // A floor count without a floor list must not be read past its end.
    b.floorCount = 60;
    b.currentFloor = 12;
    EXPECT_FALSE(b.walkableAt(5, 5));
    EXPECT_TRUE(b.inside(p));
    EXPECT_FALSE(b.SurfaceAt(p, h));
    EXPECT_EQ(b.takeItem(42), ItemType::None);
    EXPECT_EQ(b.nearestItem(p, key), ItemType::None);
    EXPECT_EQ(b.ResolveWalls(p, 0.42f).x, p.x);
}

TEST(BuildingCells, OffGridIsSolidAndPointsAtTheEdgeStayInside) {
    Building b = MakeTower(5);
    EXPECT_TRUE(b.solidAt(-1, 5));
    EXPECT_TRUE(b.solidAt(20, 5));
    EXPECT_TRUE(b.solidAt(5, 40));
    EXPECT_FALSE(b.walkableAt(5, -1));
    EXPECT_FALSE(b.walkableAt(19, 40));

    // Just below the far edge the cell index rounds up to 20 and 40; that
    // must read as off the grid, not past the cell array.
    Building origin;
    origin.Generate(5, {0.0f, 0.0f}, 0.0f, 68.0f);
    ClearCurrentFloor(origin);
    const Vector3 edge = {std::nextafter(20.0f, 0.0f), origin.FloorY(12), std::nextafter(40.0f, 0.0f)};
    float h = -1.0f;
    EXPECT_TRUE(origin.inside(edge));
    EXPECT_FALSE(origin.SurfaceAt(edge, h));
    EXPECT_FLOAT_EQ(h, -1.0f);
}

TEST(BuildingCells, SurfaceAndInsideFollowTheCurrentFloor) {
    Building b = MakeTower(5);
    ClearCurrentFloor(b);
    const Vector3 p = CellPoint(b, 10, 10);
    float h = 0.0f;
    EXPECT_TRUE(b.inside(p));
    EXPECT_TRUE(b.SurfaceAt(p, h));
    EXPECT_FLOAT_EQ(h, b.FloorY(12));

    EXPECT_TRUE(b.SurfaceAt({p.x, p.y + 2.16f, p.z}, h));
    EXPECT_FALSE(b.SurfaceAt({p.x, p.y + 2.2f, p.z}, h));
    EXPECT_FALSE(b.inside({p.x, p.y - 2.2f, p.z}));

    b.floors[12].cells[10 + 20 * 10] = Block::Rubble;
    h = -7.0f;
    EXPECT_FALSE(b.SurfaceAt(p, h)) << "rubble is not walkable";
    EXPECT_FLOAT_EQ(h, -7.0f);

    const Vector3 outside = {kCentre.x + 20.0f, p.y, p.z};
    EXPECT_FALSE(b.inside(outside));
}

TEST(BuildingCells, StairsAnswerAtAnyHeight) {
    const Building b = MakeTower(5);
    const Vector3 stairs = CellPoint(b, 2, 2);
    EXPECT_TRUE(b.onStairs(stairs));
    EXPECT_TRUE(b.onStairs({stairs.x, stairs.y + 500.0f, stairs.z}));
    EXPECT_TRUE(b.onStairs({kCentre.x - 16.0f, -900.0f, kCentre.y - 36.0f})) << "the cell's own corner";
    EXPECT_FALSE(b.onStairs({kCentre.x - 14.0f, stairs.y, kCentre.y - 35.0f}));
    EXPECT_FALSE(b.onStairs(CellPoint(b, 2, 3)));
}

TEST(BuildingDock, DoorOpensOnlyOnTheDockFloorWhileMoored) {
    Building b = MakeTower(9);
    for (int x = 9; x <= 11; ++x) {
        EXPECT_TRUE(b.solidAt(x, 39));
        EXPECT_FALSE(b.walkableAt(x, 39));
    }
    b.dockOpen = true;
    for (int x = 9; x <= 11; ++x) {
        EXPECT_FALSE(b.solidAt(x, 39));
        EXPECT_TRUE(b.walkableAt(x, 39));
    }
    EXPECT_TRUE(b.solidAt(8, 39));
    float h = 0.0f;
    EXPECT_TRUE(b.SurfaceAt(CellPoint(b, 10, 39), h));

    ASSERT_TRUE(b.changeFloor(1));
    EXPECT_EQ(CellAt(b, 13, 9, 39), Block::OuterWall);
    EXPECT_EQ(CellAt(b, 13, 10, 39), Block::OuterWall);
    EXPECT_EQ(CellAt(b, 13, 11, 39), Block::Window);
    for (int x = 9; x <= 11; ++x) {
        EXPECT_TRUE(b.solidAt(x, 39));
    }

    // A dock door away from the door span (never generated) does not block.
    b.floors[13].cells[5 + 20 * 20] = Block::DockDoor;
    b.dockOpen = false;
    EXPECT_TRUE(b.walkableAt(5, 20));
    EXPECT_FALSE(b.solidAt(5, 20));
}

TEST(BuildingDock, DoorBlocksTheWalkerUntilOpened) {
    Building b = MakeTower(9);
    for (int x = 9; x <= 11; ++x) {
        b.floors[12].cells[x + 20 * 38] = Block::Floor;  // no rubble in front of the door
    }
    const Vector3 atDoor = {kCentre.x + 1.0f, b.FloorY(12), kCentre.y + 37.75f};
    const Vector3 closed = b.ResolveWalls(atDoor, 0.5f);
    EXPECT_EQ(closed.x, atDoor.x);
    EXPECT_EQ(closed.z, kCentre.y + 37.5f) << "pushed back into the room";
    b.dockOpen = true;
    const Vector3 open = b.ResolveWalls(atDoor, 0.5f);
    EXPECT_EQ(open.x, atDoor.x);
    EXPECT_EQ(open.z, atDoor.z);
}

TEST(BuildingDock, DockBoxAndWindowPoint) {
    const Building b = MakeTower(9);
    EXPECT_TRUE(b.atDock({kCentre.x + 11.9f, 0.0f, kCentre.y + 68.0f + 7.9f}));
    EXPECT_FALSE(b.atDock({kCentre.x + 12.0f, 0.0f, kCentre.y + 68.0f}));
    EXPECT_FALSE(b.atDock({kCentre.x, 0.0f, kCentre.y + 60.0f}));
    EXPECT_FLOAT_EQ(b.DockWindowPoint().z, kCentre.y + 40.0f);
}

TEST(BuildingItems, NearestLooksOnlyAtTheCurrentFloorWithinThree) {
    Building b = MakeTower(11);
    ClearCurrentFloor(b);
    b.floors[12].items = {{10 + 20 * 10, ItemType::Water, 1001, false},
                          {12 + 20 * 10, ItemType::Medkit, 1002, false},
                          {10 + 20 * 11, ItemType::Ammo, 1003, true}};
    b.floors[13].items = {{11 + 20 * 10, ItemType::Coal, 2001, false}};

    const Vector3 at = CellPoint(b, 10, 10);
    uint64_t key = 0;
    EXPECT_EQ(b.nearestItem({at.x + 0.9f, at.y + 50.0f, at.z}, key), ItemType::Water) << "height is not looked at";
    EXPECT_EQ(key, 1001u);
    EXPECT_EQ(b.nearestItem({at.x + 2.1f, at.y, at.z}, key), ItemType::Medkit);
    EXPECT_EQ(key, 1002u);
    EXPECT_EQ(b.nearestItem({at.x + 2.0f, at.y, at.z}, key), ItemType::Water) << "ties keep the first";

    key = 77;
    EXPECT_EQ(b.nearestItem({at.x - 3.0f, at.y, at.z}, key), ItemType::None) << "3 units is too far";
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(b.nearestItem({at.x - 2.99f, at.y, at.z}, key), ItemType::Water);

    // The taken ammo is skipped; the coal lies on another floor.
    EXPECT_EQ(b.nearestItem({at.x, at.y, at.z + 1.8f}, key), ItemType::Water);
    EXPECT_EQ(b.nearestItem({at.x + 1.5f, at.y, at.z + 0.5f}, key), ItemType::Water);
    EXPECT_EQ(b.takeItem(2001), ItemType::None);
    EXPECT_EQ(b.takeItem(1003), ItemType::None);
    EXPECT_EQ(b.takeItem(0), ItemType::None);

    EXPECT_EQ(b.takeItem(1001), ItemType::Water);
    EXPECT_EQ(b.takeItem(1001), ItemType::None) << "taken once only";
    EXPECT_EQ(b.nearestItem({at.x + 0.5f, at.y, at.z}, key), ItemType::None);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(b.nearestItem({at.x + 2.5f, at.y, at.z}, key), ItemType::Medkit);
}

TEST(BuildingItems, TakenKeysSurviveARegenerateAndRestore) {
    Building b = MakeTower(20261113);
    std::vector<uint64_t> expected;
    for (int f : {5, 12, 40}) {
        b.changeFloor(f - b.currentFloor);
        ASSERT_EQ(b.currentFloor, f);
        for (const FloorItem& item : b.floors[f].items) {
            expected.push_back(item.key);
        }
        for (const FloorItem& item : b.floors[f].items) {
            EXPECT_EQ(b.takeItem(item.key), item.kind);
        }
    }
    ASSERT_FALSE(expected.empty());
    const std::vector<uint64_t> keys = b.takenKeys();
    EXPECT_EQ(keys, expected) << "floor by floor, item by item";

    Building loaded = MakeTower(20261113);
    loaded.RestoreState(40, std::unordered_set<uint64_t>(keys.begin(), keys.end()));
    EXPECT_EQ(loaded.currentFloor, 40);
    EXPECT_EQ(loaded.takenKeys(), expected);
    for (int f = 0; f < 60; ++f) {
        for (size_t i = 0; i < loaded.floors[f].items.size(); ++i) {
            EXPECT_EQ(loaded.floors[f].items[i].taken, b.floors[f].items[i].taken);
        }
    }

    // Restoring an empty set hands every item back; floors are clamped.
    loaded.RestoreState(1, {});
    EXPECT_EQ(loaded.currentFloor, 4);
    EXPECT_TRUE(loaded.takenKeys().empty());
    loaded.RestoreState(500, {});
    EXPECT_EQ(loaded.currentFloor, 59);
}

TEST(BuildingWalls, PushesOutOfOneWallOntoItsNearestFace) {
    Building b = MakeTower(4);
    ClearCurrentFloor(b);
    b.floors[12].cells[10 + 20 * 20] = Block::InnerWall;  // local x 0..2, z 0..2
    const float y = b.FloorY(12);

    Vector3 p = b.ResolveWalls({kCentre.x + 2.2f, y, kCentre.y + 1.2f}, 0.42f);
    EXPECT_NEAR(p.x - kCentre.x, 2.42f, 1e-4f);
    EXPECT_NEAR(p.z - kCentre.y, 1.2f, 1e-4f);
    EXPECT_FLOAT_EQ(p.y, y);

    p = b.ResolveWalls({kCentre.x + 1.0f, y, kCentre.y + 1.0f}, 0.5f);
    EXPECT_FLOAT_EQ(p.x - kCentre.x, -0.5f) << "a point at the middle goes to -x first";

    p = b.ResolveWalls({kCentre.x + 2.5f, y, kCentre.y + 1.25f}, 0.5f);
    EXPECT_EQ(p.x, kCentre.x + 2.5f) << "touching is not inside";
    EXPECT_EQ(p.z, kCentre.y + 1.25f);

    const Vector3 tooHigh = {kCentre.x + 1.0f, y + 2.2f, kCentre.y + 1.0f};
    p = b.ResolveWalls(tooHigh, 0.42f);
    EXPECT_EQ(p.x, tooHigh.x);
    EXPECT_EQ(p.z, tooHigh.z);
}

TEST(BuildingWalls, CornerIsResolvedByBothWallsInRowOrder) {
    Building b = MakeTower(4);
    ClearCurrentFloor(b);
    b.floors[12].cells[11 + 20 * 20] = Block::OuterWall;  // x 2..4, z 0..2
    b.floors[12].cells[10 + 20 * 21] = Block::Rubble;     // x 0..2, z 2..4
    const float y = b.FloorY(12);
    const Vector3 p = b.ResolveWalls({kCentre.x + 1.8f, y, kCentre.y + 1.7f}, 0.42f);
    EXPECT_NEAR(p.x - kCentre.x, 1.58f, 1e-4f);
    EXPECT_NEAR(p.z - kCentre.y, 1.58f, 1e-4f);
}

TEST(BuildingWalls, RescansUpToThreeTimes) {
    Building b = MakeTower(4);
    ClearCurrentFloor(b);
    const float y = b.FloorY(12);

    // One scan leaves the point inside a wall seen earlier; the second fixes it.
    for (auto [x, z] : {std::pair{9, 21}, std::pair{11, 20}}) {
        b.floors[12].cells[x + 20 * z] = Block::InnerWall;
    }
    Vector3 p = b.ResolveWalls({kCentre.x - 0.8f, y, kCentre.y + 2.9f}, 1.2f);
    EXPECT_NEAR(p.x - kCentre.x, 1.2f, 1e-4f);
    EXPECT_NEAR(p.z - kCentre.y, 3.2f, 1e-4f);

    // A crowd of walls that keeps moving the body: the third scan's result
    // stands, still overlapping.
    ClearCurrentFloor(b);
    for (auto [x, z] : {std::pair{8, 21}, std::pair{9, 18}, std::pair{9, 21}, std::pair{9, 22}, std::pair{11, 19},
                        std::pair{11, 21}, std::pair{12, 20}, std::pair{12, 21}, std::pair{12, 22}}) {
        b.floors[12].cells[x + 20 * z] = Block::InnerWall;
    }
    p = b.ResolveWalls({kCentre.x + 2.3f, y, kCentre.y + 3.4f}, 2.5f);
    EXPECT_NEAR(p.x - kCentre.x, -0.5f, 1e-4f);
    EXPECT_NEAR(p.z - kCentre.y, -0.5f, 1e-4f);
}

TEST(BuildingShipBox, SeparatedShipIsLeftAlone) {
    const Building b = MakeTower(6);
    Vector2 pos = {kCentre.x + 48.5f, kCentre.y};
    Vector2 out = b.ResolveShipBox(pos, 0.0f, 28.0f, 7.0f);
    EXPECT_EQ(out.x, pos.x);
    EXPECT_EQ(out.y, pos.y);

    pos = {kCentre.x, kCentre.y + 47.0f};  // touching the +z face exactly
    out = b.ResolveShipBox(pos, 0.0f, 28.0f, 7.0f);
    EXPECT_EQ(out.y, pos.y);

    // Beyond the corner, only the ship's own side axis separates the two.
    const float h = -0.78539816f;
    pos = {kCentre.x + 26.0f, kCentre.y + 46.0f};
    out = b.ResolveShipBox(pos, h, 28.0f, 7.0f);
    EXPECT_EQ(out.x, pos.x);
    EXPECT_EQ(out.y, pos.y);
}

TEST(BuildingShipBox, OverlapIsPushedAlongTheLeastAxis) {
    const Building b = MakeTower(6);
    Vector2 out = b.ResolveShipBox({kCentre.x + 3.0f, kCentre.y + 45.0f}, 0.0f, 28.0f, 7.0f);
    EXPECT_FLOAT_EQ(out.x, kCentre.x + 3.0f);
    EXPECT_FLOAT_EQ(out.y, kCentre.y + 47.0f);

    out = b.ResolveShipBox({kCentre.x - 40.0f, kCentre.y - 10.0f}, 0.0f, 28.0f, 7.0f);
    EXPECT_FLOAT_EQ(out.x, kCentre.x - 48.0f) << "pushed toward -x";
    EXPECT_FLOAT_EQ(out.y, kCentre.y - 10.0f);

    // Near the corner the diagonal side axis has the least overlap.
    const float h = -0.78539816f;
    const Vector2 pos = {kCentre.x + 24.0f, kCentre.y + 44.0f};
    out = b.ResolveShipBox(pos, h, 28.0f, 7.0f);
    const float push = 7.0f - 8.0f * std::sqrt(0.5f);
    EXPECT_NEAR(out.x - pos.x, push * std::sqrt(0.5f), 1e-3f);
    EXPECT_NEAR(out.y - pos.y, push * std::sqrt(0.5f), 1e-3f);
}
