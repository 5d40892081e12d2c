// marauders.h: the marauders that guard abandoned settlements and their camps:
// the records Game keeps, the seeded layout of a camp and its marauders, and
// one marauder's step of wandering, chasing and attacking. No drawing here.
#pragma once
#include <array>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "raylib.h"

class World;
class WorldGen;
struct SettlementInfo;

namespace cfg {
// Seconds between two looks for a settlement to pitch a camp at.
inline constexpr float kCampCheckPeriod = 0.5f;
inline constexpr float kCampSearchRadius = 170.0f;
inline constexpr float kCampRadius = 10.0f;
inline constexpr float kCampFireSeconds = 360.0f;
inline constexpr float kMarauderHealth = 70.0f;
inline constexpr std::size_t kMarauderListLimit = 200;
inline constexpr std::size_t kCampListLimit = 40;

inline constexpr float kChaseRange = 34.0f;
inline constexpr float kChaseHeightWindow = 4.0f;
inline constexpr float kChaseSpeed = 3.2f;
inline constexpr float kChaseStopDistance = 1.8f;
inline constexpr float kChaseHoldDistance = 2.0f;
inline constexpr float kWanderSpeed = 1.4f;
inline constexpr float kWanderArrival = 0.7f;

inline constexpr float kKnifeReach = 2.4f;
inline constexpr float kKnifeHeightWindow = 1.8f;
inline constexpr float kKnifeDamage = 8.0f;
inline constexpr float kKnifeCooldown = 1.0f;
inline constexpr float kGunReach = 26.0f;
inline constexpr float kGunHeightWindow = 10.0f;
inline constexpr float kGunDamage = 10.0f;
inline constexpr float kGunCooldown = 1.7f;
}  // namespace cfg

// One marauder. Its height always follows the terrain under it.
struct Marauder {
    Vector3 pos{};                        // position; y is the terrain height under x/z
    Vector2 home{};                       // x/z of the spawn point, centre of its wandering
    Vector2 wanderTarget{};               // x/z of the current wander goal
    int camp = 0;                         // index of its camp in the camp list at spawn
    float wanderTimer = 0.0f;             // seconds until a new wander goal
    int armed = 0;                        // 1 carries a gun, 0 a knife
    float attackCooldown = 0.0f;          // seconds until it may strike again
    float health = cfg::kMarauderHealth;  // hit points left
    bool alive = true;                    // cleared when the player's weapons kill it
};

// A camp pitched beside a settlement's centre: trampled patch, tents, fire.
struct MarauderCamp {
    uint64_t settlementId = 0;           // key of the settlement it was pitched for
    Vector3 center{};                    // centre of the patch; y is the terrain height
    float radius = cfg::kCampRadius;     // units, radius of the trampled patch
    float fire = cfg::kCampFireSeconds;  // seconds of fire left
    std::array<Vector2, 3> tents{};      // x/z of the three tents
};

// Marauders in a camp of a settlement type: 1 village, 3 town, 5 otherwise.
int MaraudersPerCamp(int settlementType);

// The seeded camp of a settlement (centre on the terrain, tents, full fire).
MarauderCamp LayoutCamp(const SettlementInfo& settlement, const WorldGen& gen);

// The camp's marauders, spawned around its centre; campIndex is stored in each.
std::vector<Marauder> LayoutMarauders(const SettlementInfo& settlement, const MarauderCamp& camp, int campIndex,
                                      const WorldGen& gen);

// Pitches the camp of the nearest settlement within reach of p unless that
// settlement was already raided: marks it raided, empties an overlong list
// first, appends the camp and its marauders. Returns the number spawned (0
// when no camp was pitched).
int PitchCamp(const World& world, Vector3 p, std::vector<Marauder>& marauders, std::vector<MarauderCamp>& camps,
              std::unordered_set<uint64_t>& raided);

// Burns every camp fire down by dt, never below 0.
void BurnCampFires(std::vector<MarauderCamp>& camps, float dt);

// Drops the marauders that are no longer alive; the rest keep their order.
void RemoveDeadMarauders(std::vector<Marauder>& marauders);

// What a marauder did to the player in its step.
enum class MarauderBlow { None, Knife, Gun };

// Seed of a marauder's wander goals, from its home point.
uint32_t WanderSeed(Vector2 home);

// Picks a new wander goal and timer from the home point and the play clock.
void ChooseWanderGoal(Marauder& m, float clock);

// One frame of one marauder against the player's eye point p: follows the
// terrain, chases and attacks while the player lives and is close on its
// level, wanders otherwise. Lowers health (never below 0) when it strikes.
MarauderBlow StepMarauder(Marauder& m, Vector3 p, float& health, float clock, float dt, const World& world);

// The status message of a blow ("" for none).
const char* MarauderBlowMessage(MarauderBlow blow);
