// weapons_test.cpp: the weapon rules without a window: aiming, shot traces,
// ammunition, the pistol's ray against marauders, the melee cone and the
// firewood of a felled tree.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/rules/items.h"
#include "game/rules/marauders.h"
#include "game/rules/weapons.h"
#include "world/world.h"

namespace {

constexpr uint32_t kSeed = 20261113u;

Marauder At(float x, float z) {
    Marauder m;
    m.pos = Vector3{x, 0.0f, z};
    m.home = Vector2{x, z};
    m.wanderTarget = m.home;
    return m;
}

// The shot as the pistol takes it: the first wall bounds the marauder search.
int Shoot(const World& world, const std::vector<Marauder>& marauders, Vector3 origin, Vector3 dir, float& end) {
    end = std::min(world.RaycastWalls(origin, dir, cfg::kPistolRange), cfg::kPistolRange);
    return ShotTarget(marauders, origin, dir, end);
}

const Vector3 kEye{10.0f, 1.7f, 10.0f};
const Vector3 kNorth{0.0f, 0.0f, -1.0f};

}  // namespace

TEST(ShotTraces, AgeAndDropSpentOnesKeepingOrder) {
    std::vector<ShotTrace> shots = {
        {{1, 0, 0}, {}, 0.35f}, {{2, 0, 0}, {}, 0.05f}, {{3, 0, 0}, {}, 0.2f}, {{4, 0, 0}, {}, 0.1f}};
    AgeShotTraces(shots, 0.1f);
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_EQ(shots[0].from.x, 1.0f);
    EXPECT_NEAR(shots[0].life, 0.25f, 1e-6f);
    EXPECT_EQ(shots[1].from.x, 3.0f);
    AgeShotTraces(shots, 1.0f);
    EXPECT_TRUE(shots.empty());
}

TEST(Aim, MouseWithinTwoUnitsLeavesTheFacing) {
    float yaw = 0.5f;
    // Scale 10: the window centre is the view centre, the eye stands there.
    const Vector3 view{10.0f, 0.0f, 10.0f};
    EXPECT_FALSE(AimYaw(Vector2{819.0f, 450.0f}, 1600.0f, 900.0f, 10.0f, view, kEye, yaw));
    EXPECT_FALSE(AimYaw(Vector2{800.0f, 470.0f}, 1600.0f, 900.0f, 10.0f, view, kEye, yaw));
    EXPECT_EQ(yaw, 0.5f);
}

TEST(Aim, FacesTheGroundPointUnderTheMouse) {
    const Vector3 view{10.0f, 0.0f, 10.0f};
    float yaw = 0.0f;
    // 30 pixels right of centre at scale 10: 3 units east of the eye.
    ASSERT_TRUE(AimYaw(Vector2{830.0f, 450.0f}, 1600.0f, 900.0f, 10.0f, view, kEye, yaw));
    EXPECT_NEAR(std::sin(yaw), 1.0f, 1e-6f);
    EXPECT_NEAR(-std::cos(yaw), 0.0f, 1e-6f);
    // Below the centre is +z: the facing (sin yaw, -cos yaw) points south.
    ASSERT_TRUE(AimYaw(Vector2{800.0f, 500.0f}, 1600.0f, 900.0f, 10.0f, view, kEye, yaw));
    EXPECT_NEAR(std::sin(yaw), 0.0f, 1e-6f);
    EXPECT_NEAR(-std::cos(yaw), 1.0f, 1e-6f);
    // The view centre need not be the eye: a point 3 units north-west of it.
    const Vector3 shifted{13.0f, 0.0f, 10.0f};
    ASSERT_TRUE(AimYaw(Vector2{770.0f, 420.0f}, 1600.0f, 900.0f, 10.0f, shifted, kEye, yaw));
    EXPECT_NEAR(yaw, std::atan2(0.0f, 3.0f), 1e-6f);
}

TEST(Ammunition, CountsEverySlotAndTakesFromTheLowest) {
    Inventory inv;
    EXPECT_EQ(CountAmmoBoxes(inv), 0);
    EXPECT_FALSE(TakeAmmoBox(inv));
    inv.slots[5] = InventorySlot{ItemType::Ammo, 1};
    inv.slots[39] = InventorySlot{ItemType::Ammo, 4};
    inv.slots[2] = InventorySlot{ItemType::Coal, 3};
    EXPECT_EQ(CountAmmoBoxes(inv), 5);
    ASSERT_TRUE(TakeAmmoBox(inv));
    EXPECT_EQ(inv.slots[5].type, ItemType::None);
    EXPECT_EQ(inv.slots[5].count, 0);
    EXPECT_EQ(inv.slots[39].count, 4);
    ASSERT_TRUE(TakeAmmoBox(inv));
    EXPECT_EQ(inv.slots[39].count, 3);
    EXPECT_EQ(inv.slots[2].count, 3);
}

TEST(PistolShot, HitRadiusIsOnePointThreeToTheSide) {
    World world(kSeed);
    float end = 0.0f;
    EXPECT_EQ(Shoot(world, {At(11.2f, -10.0f)}, kEye, kNorth, end), 0);
    EXPECT_EQ(Shoot(world, {At(8.8f, -10.0f)}, kEye, kNorth, end), 0);
    EXPECT_EQ(Shoot(world, {At(11.35f, -10.0f)}, kEye, kNorth, end), -1);
    EXPECT_FLOAT_EQ(end, cfg::kPistolRange);
    // Behind the shooter and beyond the range nothing is hit.
    EXPECT_EQ(Shoot(world, {At(10.0f, 12.0f)}, kEye, kNorth, end), -1);
    EXPECT_EQ(Shoot(world, {At(10.0f, 10.0f - 141.0f)}, kEye, kNorth, end), -1);
    EXPECT_EQ(Shoot(world, {At(10.0f, 10.0f - 139.0f)}, kEye, kNorth, end), 0);
}

TEST(PistolShot, TheSideBoundIsOnePointSixNineSquared) {
    // Exactly 1.3 to the side squares to just under 1.69 in single precision
    // and is hit; a bound of 1.3f * 1.3f rounds to that same value and would miss.
    const Vector3 origin{0.0f, 1.7f, 0.0f};
    float best = cfg::kPistolRange;
    EXPECT_EQ(ShotTarget({At(1.3f, -0.5f)}, origin, kNorth, best), 0);
    EXPECT_EQ(best, 0.5f);
    best = cfg::kPistolRange;
    EXPECT_EQ(ShotTarget({At(1.3000001f, -0.5f)}, origin, kNorth, best), -1);
}

TEST(PistolShot, OnEqualDistanceTheLaterMarauderWins) {
    World world(kSeed);
    float end = 0.0f;
    EXPECT_EQ(Shoot(world, {At(10.5f, 0.0f), At(9.5f, 0.0f)}, kEye, kNorth, end), 1);
}

TEST(Melee, ReachAndConeInTheGroundPlane) {
    // Beside the player: cone cosine 0.
    EXPECT_EQ(MeleeTarget({At(12.0f, 10.0f)}, kEye, kNorth), -1);
    // 3.3 straight ahead is out of reach, 3.1 is in.
    EXPECT_EQ(MeleeTarget({At(10.0f, 6.7f)}, kEye, kNorth), -1);
    EXPECT_EQ(MeleeTarget({At(10.0f, 6.9f)}, kEye, kNorth), 0);
    // The cone edge: cosine 0.35 is in, a little less is out.
    const float in = std::acos(0.36f);
    const float out = std::acos(0.34f);
    EXPECT_EQ(MeleeTarget({At(10.0f + 2.0f * std::sin(in), 10.0f - 2.0f * std::cos(in))}, kEye, kNorth), 0);
    EXPECT_EQ(MeleeTarget({At(10.0f + 2.0f * std::sin(out), 10.0f - 2.0f * std::cos(out))}, kEye, kNorth), -1);
    // Standing on the player's own spot has no direction: skipped.
    EXPECT_EQ(MeleeTarget({At(10.0f, 10.0f)}, kEye, kNorth), -1);
}

TEST(Melee, NearestInTheConeWinsAndDeadOnesAreSkipped) {
    std::vector<Marauder> ms = {At(10.0f, 7.5f), At(10.5f, 8.5f), At(10.0f, 11.0f)};
    EXPECT_EQ(MeleeTarget(ms, kEye, kNorth), 1);
    ms[1].alive = false;
    EXPECT_EQ(MeleeTarget(ms, kEye, kNorth), 0);
    // Height plays no part: a marauder far below still takes the blow.
    ms[0].pos.y = -30.0f;
    EXPECT_EQ(MeleeTarget(ms, kEye, kNorth), 0);
}

TEST(Firewood, BothPiecesGoToTheFreeSlotBesideAFullStack) {
    Inventory inv;
    for (int i = 0; i < Inventory::kSlotCount; ++i) inv.slots[i] = InventorySlot{ItemType::Coal, 9};
    inv.slots[4] = InventorySlot{ItemType::Firewood, 9};
    inv.slots[30] = InventorySlot{};
    EXPECT_EQ(AddFirewood(inv), 2);
    EXPECT_EQ(inv.slots[30].type, ItemType::Firewood);
    EXPECT_EQ(inv.slots[30].count, 2);
    EXPECT_EQ(inv.slots[4].count, 9);
}

TEST(Firewood, OnlyOnePieceFitsOnAStackOfEightWithNoFreeSlot) {
    Inventory inv;
    for (int i = 0; i < Inventory::kSlotCount; ++i) inv.slots[i] = InventorySlot{ItemType::Coal, 9};
    inv.slots[7] = InventorySlot{ItemType::Firewood, 8};
    ASSERT_TRUE(inv.HasRoomFor(ItemType::Firewood));
    EXPECT_EQ(AddFirewood(inv), 1);
    EXPECT_EQ(inv.slots[7].count, 9);
    EXPECT_FALSE(inv.HasRoomFor(ItemType::Firewood));
}
