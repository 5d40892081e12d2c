// survival_test.cpp: the needs' rates and deaths, the warmth of the deck, the
// open air and shelter, and using items from the inventory window.
#include "game/rules/survival.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

MarauderCamp CampAt(Vector3 centre, float fire) {
    MarauderCamp camp;
    camp.center = centre;
    camp.fire = fire;
    return camp;
}

TEST(WarmthRate, DeckFollowsTheCabinTemperature) {
    EXPECT_FLOAT_EQ(CabinWarmthRate(10.0f), 0.0f);
    EXPECT_FLOAT_EQ(CabinWarmthRate(18.0f), 2.5f);
    EXPECT_FLOAT_EQ(CabinWarmthRate(40.0f), 2.5f);
    EXPECT_NEAR(CabinWarmthRate(17.9f), 2.37f, 1e-5f);
    EXPECT_NEAR(CabinWarmthRate(14.0f), 1.2f, 1e-6f);
    EXPECT_NEAR(CabinWarmthRate(0.0f), -0.5f, 1e-6f);
    EXPECT_NEAR(CabinWarmthRate(-30.0f), -2.0f, 1e-6f);
}

TEST(WarmthRate, OpenAirLossGrowsWithColdAndWeather) {
    EXPECT_NEAR(OutdoorWarmthRate(-30.0f, 0.0f), -0.68855f, 1e-4f);
    EXPECT_NEAR(OutdoorWarmthRate(-60.0f, 1.0f), -2.626f, 1e-4f);
    // The cold factor is clamped at both ends.
    EXPECT_NEAR(OutdoorWarmthRate(-200.0f, 1.0f), -2.626f, 1e-4f);
    EXPECT_NEAR(OutdoorWarmthRate(10.0f, 0.0f), -0.084f, 1e-6f);
    EXPECT_LT(OutdoorWarmthRate(-40.0f, 0.5f), OutdoorWarmthRate(-40.0f, 0.0f));
}

TEST(WarmthRate, HomeHeatAndCampFireOnlyEverRaiseTheRate) {
    const float blizzard = OutdoorWarmthRate(-60.0f, 1.0f);
    EXPECT_FLOAT_EQ(ShelteredWarmthRate(blizzard, 0.5f, false), 1.6f);
    EXPECT_FLOAT_EQ(ShelteredWarmthRate(blizzard, 0.0f, false), blizzard);
    EXPECT_FLOAT_EQ(ShelteredWarmthRate(blizzard, 0.0f, true), 2.4f);
    EXPECT_FLOAT_EQ(ShelteredWarmthRate(blizzard, 1.0f, true), 3.2f);
    EXPECT_FLOAT_EQ(ShelteredWarmthRate(blizzard, 0.25f, true), 2.4f);
}

TEST(CampFire, BurningFireWithinReachOnTheSameLevelWarms) {
    const Vector3 eye{100.0f, 11.7f, 50.0f};
    EXPECT_TRUE(NearBurningCampFire({CampAt({106.4f, 10.0f, 50.0f}, 30.0f)}, eye));
    // Exactly at the reach still warms; the next float beyond it does not.
    EXPECT_TRUE(NearBurningCampFire({CampAt({106.5f, 10.0f, 50.0f}, 30.0f)}, eye));
    EXPECT_FALSE(NearBurningCampFire({CampAt({std::nextafter(106.5f, 200.0f), 10.0f, 50.0f}, 30.0f)}, eye));
    EXPECT_FALSE(NearBurningCampFire({CampAt({106.6f, 10.0f, 50.0f}, 30.0f)}, eye));
    EXPECT_FALSE(NearBurningCampFire({CampAt({105.0f, 10.0f, 55.0f}, 30.0f)}, eye));
    EXPECT_FALSE(NearBurningCampFire({CampAt({101.0f, 15.0f, 50.0f}, 30.0f)}, eye));
    EXPECT_FALSE(NearBurningCampFire({CampAt({101.0f, 11.7f, 50.0f}, 0.0f)}, eye));
    EXPECT_FALSE(NearBurningCampFire({}, eye));
    // A burnt-out camp is passed over for a burning one further down the list.
    const std::vector<MarauderCamp> camps{CampAt({101.0f, 11.7f, 50.0f}, 0.0f), CampAt({103.0f, 12.0f, 52.0f}, 5.0f)};
    EXPECT_TRUE(NearBurningCampFire(camps, eye));
}

TEST(NeedsStep, FoodAndWaterFallAndStopAtZero) {
    Needs needs;
    EXPECT_EQ(StepNeeds(needs, 10.0f, false, 0.0f), NeedsDeath::None);
    EXPECT_NEAR(needs.food, 97.8f, 1e-4f);
    EXPECT_NEAR(needs.water, 96.8f, 1e-4f);
    EXPECT_FLOAT_EQ(needs.health, 100.0f);

    needs.food = 0.01f;
    needs.water = 0.01f;
    StepNeeds(needs, 0.05f, false, 0.0f);
    EXPECT_FLOAT_EQ(needs.food, 0.0f);
    EXPECT_FLOAT_EQ(needs.water, 0.0f);
}

TEST(NeedsStep, EmptyFoodAndWaterDrainHealthAndAdd) {
    Needs hungry{0.0f, 50.0f, 50.0f, 100.0f};
    StepNeeds(hungry, 1.0f, false, 0.0f);
    EXPECT_NEAR(hungry.health, 49.2f, 1e-4f);

    Needs thirsty{50.0f, 0.0f, 50.0f, 100.0f};
    StepNeeds(thirsty, 1.0f, false, 0.0f);
    EXPECT_NEAR(thirsty.health, 48.6f, 1e-4f);

    Needs both{0.0f, 0.0f, 50.0f, 100.0f};
    StepNeeds(both, 1.0f, false, 0.0f);
    EXPECT_NEAR(both.health, 47.8f, 1e-4f);
}

TEST(NeedsStep, HungerAloneKillsAsHungerAndThirst) {
    Needs needs{0.0f, 80.0f, 0.03f, 100.0f};
    EXPECT_EQ(StepNeeds(needs, 0.05f, false, 0.0f), NeedsDeath::HungerThirst);
    EXPECT_FLOAT_EQ(needs.health, 0.0f);
    EXPECT_STREQ(DeathMessage(NeedsDeath::HungerThirst), "Ты умер от голода и жажды");
    EXPECT_STREQ(DeathLogLine(NeedsDeath::HungerThirst), "SURVIVAL: died of hunger/thirst");
}

TEST(NeedsStep, HealthAlreadyGoneCountsAsHungerAndSkipsWarmth) {
    Needs needs{80.0f, 80.0f, -3.0f, 40.0f};
    EXPECT_EQ(StepNeeds(needs, 0.05f, false, -50.0f), NeedsDeath::HungerThirst);
    EXPECT_FLOAT_EQ(needs.health, 0.0f);
    EXPECT_FLOAT_EQ(needs.warmth, 40.0f);
}

TEST(NeedsStep, HungerDeathComesBeforeTheColdInTheSameFrame) {
    Needs needs{0.0f, 0.0f, 0.1f, 0.0f};
    EXPECT_EQ(StepNeeds(needs, 0.05f, false, -2.0f), NeedsDeath::HungerThirst);
}

TEST(NeedsStep, WarmthIsClampedToItsRange) {
    Needs warm{100.0f, 100.0f, 100.0f, 99.9f};
    StepNeeds(warm, 0.05f, false, 3.2f);
    EXPECT_FLOAT_EQ(warm.warmth, 100.0f);

    Needs cold{100.0f, 100.0f, 100.0f, 0.05f};
    StepNeeds(cold, 0.05f, false, -2.626f);
    EXPECT_FLOAT_EQ(cold.warmth, 0.0f);
}

TEST(NeedsStep, ZeroWarmthDrainsHealthOnTopOfHunger) {
    Needs needs{0.0f, 0.0f, 50.0f, 0.0f};
    EXPECT_EQ(StepNeeds(needs, 1.0f, false, -1.0f), NeedsDeath::None);
    EXPECT_NEAR(needs.health, 50.0f - 2.2f - 4.5f, 1e-4f);

    Needs rising{100.0f, 100.0f, 50.0f, 0.0f};
    StepNeeds(rising, 1.0f, false, 2.4f);
    EXPECT_FLOAT_EQ(rising.health, 50.0f);
}

TEST(NeedsStep, FreezingToDeath) {
    Needs needs{100.0f, 100.0f, 0.2f, 0.0f};
    EXPECT_EQ(StepNeeds(needs, 0.05f, false, -1.0f), NeedsDeath::Cold);
    EXPECT_FLOAT_EQ(needs.health, 0.0f);
    EXPECT_STREQ(DeathMessage(NeedsDeath::Cold), "Ты замёрз насмерть");
    EXPECT_STREQ(DeathLogLine(NeedsDeath::Cold), "SURVIVAL: froze to death");
    EXPECT_STREQ(DeathMessage(NeedsDeath::None), "");
}

TEST(NeedsStep, AfterTheEndOnlyFoodAndWaterChange) {
    Needs needs{0.0f, 0.0f, 30.0f, 0.0f};
    EXPECT_EQ(StepNeeds(needs, 1.0f, true, -2.0f), NeedsDeath::None);
    EXPECT_FLOAT_EQ(needs.health, 30.0f);
    EXPECT_FLOAT_EQ(needs.warmth, 0.0f);

    Needs full;
    StepNeeds(full, 1.0f, true, 2.0f);
    EXPECT_NEAR(full.food, 99.78f, 1e-4f);
    EXPECT_NEAR(full.water, 99.68f, 1e-4f);
    EXPECT_FLOAT_EQ(full.warmth, 100.0f);
}

TEST(ItemUse, DrinkingIsCappedAndTakesOneFromTheClickedSlot) {
    Inventory inv;
    inv.slots[0] = {ItemType::Water, 3};
    inv.slots[7] = {ItemType::Water, 2};
    Needs needs{100.0f, 80.0f, 100.0f, 100.0f};
    EXPECT_EQ(UseInventorySlot(inv, 7, needs), "Использовано: Вода");
    EXPECT_FLOAT_EQ(needs.water, 100.0f);
    EXPECT_EQ(inv.slots[0].count, 3);
    EXPECT_EQ(inv.slots[7].count, 1);

    EXPECT_EQ(UseInventorySlot(inv, 7, needs), "Использовано: Вода");
    EXPECT_EQ(inv.slots[7].type, ItemType::None);
    EXPECT_EQ(inv.slots[7].count, 0);
}

TEST(ItemUse, FoodAndMedkitsRestoreTheirNeed) {
    Inventory inv;
    inv.slots[4] = {ItemType::CannedFood, 1};
    inv.slots[5] = {ItemType::Groats, 1};
    inv.slots[6] = {ItemType::Medkit, 1};
    Needs needs{20.0f, 30.0f, 40.0f, 10.0f};
    EXPECT_EQ(UseInventorySlot(inv, 4, needs), "Использовано: Консервы");
    EXPECT_FLOAT_EQ(needs.food, 65.0f);
    EXPECT_EQ(UseInventorySlot(inv, 5, needs), "Использовано: Крупа");
    EXPECT_FLOAT_EQ(needs.food, 95.0f);
    EXPECT_EQ(UseInventorySlot(inv, 6, needs), "Использовано: Аптечка");
    EXPECT_FLOAT_EQ(needs.health, 90.0f);
    EXPECT_FLOAT_EQ(needs.water, 30.0f);
    EXPECT_FLOAT_EQ(needs.warmth, 10.0f);
}

TEST(ItemUse, AnItemIsSpentEvenAtAFullNeed) {
    Inventory inv;
    inv.slots[0] = {ItemType::Groats, 2};
    Needs needs;
    EXPECT_EQ(UseInventorySlot(inv, 0, needs), "Использовано: Крупа");
    EXPECT_FLOAT_EQ(needs.food, 100.0f);
    EXPECT_EQ(inv.slots[0].count, 1);
}

TEST(ItemUse, KindsThatAreNotUsedHereStayInTheSlot) {
    Inventory inv;
    inv.slots[0] = {ItemType::Coal, 2};
    inv.slots[1] = {ItemType::SparePart, 1};
    inv.slots[2] = {ItemType::FuelCan, 1};
    inv.slots[3] = {ItemType::Ammo, 1};
    inv.slots[4] = {ItemType::Firewood, 1};
    Needs needs{50.0f, 50.0f, 50.0f, 50.0f};
    EXPECT_EQ(UseInventorySlot(inv, 0, needs), "Уголь нужен в печь дирижабля");
    EXPECT_EQ(UseInventorySlot(inv, 1, needs), "Запчасти нужны большому генератору дома");
    for (int slot : {2, 3, 4}) EXPECT_EQ(UseInventorySlot(inv, slot, needs), "") << slot;
    EXPECT_EQ(inv.slots[0].count, 2);
    EXPECT_EQ(inv.slots[1].count, 1);
    for (int slot : {2, 3, 4}) EXPECT_EQ(inv.slots[static_cast<size_t>(slot)].count, 1) << slot;
    EXPECT_FLOAT_EQ(needs.food, 50.0f);
}

TEST(ItemUse, EmptySlotsAndMissesDoNothing) {
    Inventory inv;
    inv.slots[0] = {ItemType::Water, 1};
    Needs needs{50.0f, 50.0f, 50.0f, 50.0f};
    EXPECT_EQ(UseInventorySlot(inv, 3, needs), "");
    EXPECT_EQ(UseInventorySlot(inv, -1, needs), "");
    EXPECT_EQ(UseInventorySlot(inv, Inventory::kSlotCount, needs), "");
    EXPECT_FLOAT_EQ(needs.water, 50.0f);
    EXPECT_EQ(inv.slots[0].count, 1);
}

}  // namespace
