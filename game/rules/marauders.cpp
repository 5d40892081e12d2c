// marauders.cpp: the seeded camps and their marauders, and one marauder's
// frame of wandering, chasing and attacking. Pure rules over the World.
#include "game/rules/marauders.h"

#include <algorithm>
#include <cmath>

#include "world/full_turn.h"
#include "world/noise.h"
#include "world/world.h"
#include "world/world_queries.h"

namespace {

// The seeded value h(a, b) of one settlement.
float CampHash(const SettlementInfo& settlement, int a, int b) {
    return NoiseHash01(a, b, static_cast<uint32_t>(settlement.key & 0xffffffffu));
}

// Moves a marauder up to step toward (x, z), distance away, and sets it on the terrain.
void StepToward(Marauder& m, float x, float z, float distance, float step, const WorldGen& gen) {
    m.pos.x += (x - m.pos.x) / distance * step;
    m.pos.z += (z - m.pos.z) / distance * step;
    m.pos.y = gen.Height(m.pos.x, m.pos.z);
}

}  // namespace

int MaraudersPerCamp(int settlementType) {
    if (settlementType == 0) return 1;
    if (settlementType == 1) return 3;
    return 5;
}

MarauderCamp LayoutCamp(const SettlementInfo& settlement, const WorldGen& gen) {
    const float a = kFullTurn * CampHash(settlement, 7, 2);
    const float r = (0.32f + 0.26f * CampHash(settlement, 8, 2)) * settlement.radius;
    MarauderCamp camp;
    camp.settlementId = settlement.key;
    camp.center.x = settlement.position.x + std::cos(a) * r;
    camp.center.z = settlement.position.z + std::sin(a) * r;
    camp.center.y = gen.Height(camp.center.x, camp.center.z);
    camp.radius = cfg::kCampRadius;
    camp.fire = cfg::kCampFireSeconds;
    for (int j = 0; j < 3; ++j) {
        const float angle = a + 0.6f + 2.1f * static_cast<float>(j);
        const float distance = 3.2f + 1.4f * CampHash(settlement, j, 4);
        camp.tents[j] = Vector2{camp.center.x + std::cos(angle) * distance, camp.center.z + std::sin(angle) * distance};
    }
    return camp;
}

std::vector<Marauder> LayoutMarauders(const SettlementInfo& settlement, const MarauderCamp& camp, int campIndex,
                                      const WorldGen& gen) {
    const int n = MaraudersPerCamp(settlement.type);
    std::vector<Marauder> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        const float angle = kFullTurn * CampHash(settlement, i, 1);
        const float distance = 1.8f + 2.4f * CampHash(settlement, i, 2);
        Marauder m;
        m.pos.x = camp.center.x + std::cos(angle) * distance;
        m.pos.z = camp.center.z + std::sin(angle) * distance;
        m.pos.y = gen.Height(m.pos.x, m.pos.z);
        m.home = Vector2{m.pos.x, m.pos.z};
        m.wanderTarget = m.home;
        m.camp = campIndex;
        m.wanderTimer = 1.0f + 3.0f * CampHash(settlement, i, 5);
        m.armed = CampHash(settlement, i, 3) >= 0.55f ? 1 : 0;
        m.attackCooldown = 0.0f;
        m.health = cfg::kMarauderHealth;
        m.alive = true;
        out.push_back(m);
    }
    return out;
}

int PitchCamp(const World& world, Vector3 p, std::vector<Marauder>& marauders, std::vector<MarauderCamp>& camps,
              std::unordered_set<uint64_t>& raided) {
    SettlementInfo settlement{};
    if (!world.NearestSettlement(p, cfg::kCampSearchRadius, settlement)) return 0;
    if (!raided.insert(settlement.key).second) return 0;
    if (marauders.size() > cfg::kMarauderListLimit) marauders.clear();
    if (camps.size() > cfg::kCampListLimit) camps.clear();

    const int campIndex = static_cast<int>(camps.size());
    camps.push_back(LayoutCamp(settlement, world.gen));
    const std::vector<Marauder> spawned = LayoutMarauders(settlement, camps.back(), campIndex, world.gen);
    marauders.insert(marauders.end(), spawned.begin(), spawned.end());
    return static_cast<int>(spawned.size());
}

void BurnCampFires(std::vector<MarauderCamp>& camps, float dt) {
    for (MarauderCamp& camp : camps) {
        if (camp.fire > 0.0f) camp.fire = std::max(camp.fire - dt, 0.0f);
    }
}

void RemoveDeadMarauders(std::vector<Marauder>& marauders) {
    std::erase_if(marauders, [](const Marauder& m) { return !m.alive; });
}

uint32_t WanderSeed(Vector2 home) {
    const float v = home.x * 31.0f + home.y * 17.0f;
    // Truncation toward zero, then wrapped to 32 bits; a value no integer can
    // hold gives seed 0 rather than an undefined conversion.
    if (!(std::fabs(v) < 9.0e18f)) return 0u;
    return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(v)));
}

void ChooseWanderGoal(Marauder& m, float clock) {
    const uint32_t q = WanderSeed(m.home);
    const float angle = kFullTurn * NoiseHash01(static_cast<int>(3.0f * clock), 17, q);
    const float radius = 1.2f + 3.4f * NoiseHash01(static_cast<int>(5.0f * clock), 19, q);
    m.wanderTarget = Vector2{m.home.x + std::cos(angle) * radius, m.home.y + std::sin(angle) * radius};
    m.wanderTimer = 3.0f + 4.0f * NoiseHash01(static_cast<int>(7.0f * clock), 23, q);
}

MarauderBlow StepMarauder(Marauder& m, Vector3 p, float& health, float clock, float dt, const World& world) {
    const WorldGen& gen = world.gen;
    m.pos.y = gen.Height(m.pos.x, m.pos.z);
    const float dx = p.x - m.pos.x;
    const float dz = p.z - m.pos.z;
    const float d = std::sqrt(dx * dx + dz * dz);

    const bool chase = health > 0.0f && d < cfg::kChaseRange && d > 0.01f &&
                       std::fabs(p.y - m.pos.y) < cfg::kChaseHeightWindow;
    if (chase) {
        if (d > cfg::kChaseHoldDistance) {
            const float step = std::min(d - cfg::kChaseStopDistance, cfg::kChaseSpeed * dt);
            StepToward(m, p.x, p.z, d, step, gen);
        }
        m.attackCooldown -= dt;
        if (m.attackCooldown > 0.0f) return MarauderBlow::None;
        const float t = std::fabs(m.pos.y + 1.0f - p.y);
        if (m.armed == 0) {
            if (d < cfg::kKnifeReach && t < cfg::kKnifeHeightWindow) {
                health = std::max(health - cfg::kKnifeDamage, 0.0f);
                m.attackCooldown = cfg::kKnifeCooldown;
                return MarauderBlow::Knife;
            }
            return MarauderBlow::None;
        }
        if (d < cfg::kGunReach && t < cfg::kGunHeightWindow && world.LineOfSight(m.pos, p)) {
            health = std::max(health - cfg::kGunDamage, 0.0f);
            m.attackCooldown = cfg::kGunCooldown;
            return MarauderBlow::Gun;
        }
        return MarauderBlow::None;
    }

    m.attackCooldown = std::max(m.attackCooldown - dt, 0.0f);
    m.wanderTimer -= dt;
    const float gx = m.wanderTarget.x - m.pos.x;
    const float gz = m.wanderTarget.y - m.pos.z;
    const float goalDistance = std::sqrt(gx * gx + gz * gz);
    if (m.wanderTimer <= 0.0f || goalDistance < cfg::kWanderArrival) {
        ChooseWanderGoal(m, clock);
        return MarauderBlow::None;
    }
    const float step = std::min(goalDistance, cfg::kWanderSpeed * dt);
    StepToward(m, m.wanderTarget.x, m.wanderTarget.y, goalDistance, step, gen);
    return MarauderBlow::None;
}

const char* MarauderBlowMessage(MarauderBlow blow) {
    switch (blow) {
        case MarauderBlow::Knife: return "Мародёр ударил ножом";
        case MarauderBlow::Gun: return "Мародёр выстрелил в тебя";
        case MarauderBlow::None: return "";
    }
    return "";
}
