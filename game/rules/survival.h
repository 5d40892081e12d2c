// survival.h: the rules of the player's needs, of using items and of the home
// settlement's goals and the tower's actions, written against the models alone
// (needs, inventory, settlement, tower) so they run without a window; defined
// in survival.cpp. The game's steps that apply them are game_survival.cpp,
// game_items.cpp and game_goals.cpp.
#pragma once
#include <string>
#include <vector>

#include "actors/building.h"
#include "actors/player.h"
#include "actors/settlement.h"
#include "game/rules/fuel_goal.h"
#include "game/rules/items.h"
#include "game/rules/marauders.h"
#include "raylib.h"

namespace cfg {
inline constexpr float kFoodLoss = 0.22f;
inline constexpr float kWaterLoss = 0.32f;
inline constexpr float kStarvingDamage = 0.8f;
inline constexpr float kThirstDamage = 1.4f;
inline constexpr float kFreezingDamage = 4.5f;
// Where every need starts and what it never exceeds.
inline constexpr float kNeedMax = 100.0f;

inline constexpr float kCabinWarm = 18.0f;
inline constexpr float kCabinCool = 10.0f;
inline constexpr float kCabinWarmGain = 2.5f;
inline constexpr float kCabinGainPerDegree = 0.3f;
inline constexpr float kCabinLossPerDegree = 0.05f;

inline constexpr float kHomeHeatGain = 3.2f;
inline constexpr float kCampFireGain = 2.4f;
inline constexpr float kCampFireReachSq = 42.25f;
inline constexpr float kCampFireHeightWindow = 3.0f;

// Food shares that bring the survivors' reward; the HUD's first goal counts them.
inline constexpr int kFoodForReward = 3;
inline constexpr float kShareRadiusSq = 196.0f;
inline constexpr float kLowFuelSeconds = 60.0f;
inline constexpr float kRepairShake = 0.35f;
inline constexpr float kSurvivorLostShake = 0.35f;
inline constexpr float kWinShake = 0.25f;
}  // namespace cfg

// ---- Needs ----

// The four needs, 0 to 100 each.
struct Needs {
    float food = cfg::kNeedMax;
    float water = cfg::kNeedMax;
    float health = cfg::kNeedMax;
    float warmth = cfg::kNeedMax;
};

enum class NeedsDeath { None, HungerThirst, Cold };

// Warmth per second on the airship's deck for a cabin temperature.
float CabinWarmthRate(float cabinTemp);
// Warmth per second in the open air (negative): colder air and heavier
// weather take it faster.
float OutdoorWarmthRate(float airTemperature, float weather);
// True when some camp fire still burns within 6.5 in x/z and 3 in height of
// the eye point.
bool NearBurningCampFire(const std::vector<MarauderCamp>& camps, Vector3 eye);
// The open-air rate lifted by the home furnace's heat (0 to 1) and a camp fire.
float ShelteredWarmthRate(float outdoorRate, float homeHeat, bool campFire);

// One frame of the needs. Food and water always fall; with gameOver set
// nothing else changes. warmthRate is the warmth per second of this frame.
// Returns the death this frame caused, if any (health is then 0).
NeedsDeath StepNeeds(Needs& needs, float dt, bool gameOver, float warmthRate);
// Status message and fixed log line of a death ("" for None).
const char* DeathMessage(NeedsDeath death);
const char* DeathLogLine(NeedsDeath death);

// ---- Item use ----

// Uses one item of the slot on the needs (eat, drink, heal), or explains why
// its kind is not used here. Returns the status message, "" for none.
std::string UseInventorySlot(Inventory& inventory, int slot, Needs& needs);

// ---- Home settlement goals and tower actions ----

// What an action did: its status message ("" for none) and the screen shake
// it asks for (0 for none).
struct ActionResult {
    std::string message;
    float shake = 0.0f;
};

// E at the home: the loose spare part when near it, else the furnace
// (installing parts while broken, feeding it once repaired).
ActionResult HomeUseAction(HomeSettlement& home, Inventory& inventory, bool nearPart);
// F at the home: one canned food (or groats) to the survivors; the third
// brings the reward of a medkit and ammunition.
ActionResult ShareFood(Inventory& inventory, int& foodShared, bool& rewardGiven);

// E in the tower: up the stairs when on them, else the nearest tower item.
ActionResult TowerUseAction(Building& tower, Player& player, Inventory& inventory);
// F in the tower: down the stairs when on them; nothing elsewhere.
ActionResult TowerDownAction(Building& tower, Player& player);

// The status message when the furnace fuel went from before to after ("" for
// none): out at 0, and low each time it falls through 60 s.
const char* HearthFuelMessage(float fuelBefore, float fuelAfter);
// The settlement is saved: working furnace, survivors alive, 900 s of fuel.
// fuel is what the check counts: the furnace's fuel at the start of the step.
bool SettlementSaved(const HomeSettlement& home, float fuel);
