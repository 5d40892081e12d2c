// game_survival.cpp: the player's four needs: hunger and thirst over time,
// warmth from the air, the weather and shelter, and death by either.
#include <algorithm>
#include <cmath>

#include "game/game.h"
#include "game/survival.h"

float CabinWarmthRate(float cabinTemp) {
    if (cabinTemp >= cfg::kCabinWarm) return cfg::kCabinWarmGain;
    if (cabinTemp >= cfg::kCabinCool) return cfg::kCabinGainPerDegree * (cabinTemp - cfg::kCabinCool);
    return -cfg::kCabinLossPerDegree * (cfg::kCabinCool - cabinTemp);
}

float OutdoorWarmthRate(float airTemperature, float weather) {
    const float cold = std::clamp((-5.0f - airTemperature) / 55.0f, 0.0f, 1.0f);
    return -(1.9f * cold + 0.12f) * (0.6f * weather + 0.7f);
}

bool NearBurningCampFire(const std::vector<MarauderCamp>& camps, Vector3 eye) {
    for (const MarauderCamp& camp : camps) {
        if (camp.fire <= 0.0f) continue;
        const float dx = camp.center.x - eye.x;
        const float dz = camp.center.z - eye.z;
        if (dx * dx + dz * dz > cfg::kCampFireReachSq) continue;
        if (std::abs(camp.center.y - eye.y) > cfg::kCampFireHeightWindow) continue;
        return true;
    }
    return false;
}

float ShelteredWarmthRate(float outdoorRate, float homeHeat, bool campFire) {
    float rate = outdoorRate;
    if (homeHeat > 0.0f) rate = std::max(rate, cfg::kHomeHeatGain * homeHeat);
    if (campFire) rate = std::max(rate, cfg::kCampFireGain);
    return rate;
}

NeedsDeath StepNeeds(Needs& needs, float dt, bool gameOver, float warmthRate) {
    needs.food = std::max(needs.food - cfg::kFoodLoss * dt, 0.0f);
    needs.water = std::max(needs.water - cfg::kWaterLoss * dt, 0.0f);
    if (gameOver) return NeedsDeath::None;

    if (needs.food <= 0.0f) needs.health -= cfg::kStarvingDamage * dt;
    if (needs.water <= 0.0f) needs.health -= cfg::kThirstDamage * dt;
    // Whatever brought health down before this step counts as hunger too.
    if (needs.health <= 0.0f) {
        needs.health = 0.0f;
        return NeedsDeath::HungerThirst;
    }

    needs.warmth = std::clamp(needs.warmth + warmthRate * dt, 0.0f, cfg::kNeedMax);
    if (needs.warmth > 0.0f) return NeedsDeath::None;

    needs.health = std::max(needs.health - cfg::kFreezingDamage * dt, 0.0f);
    if (needs.health > 0.0f) return NeedsDeath::None;
    return NeedsDeath::Cold;
}

const char* DeathMessage(NeedsDeath death) {
    switch (death) {
        case NeedsDeath::HungerThirst: return "Ты умер от голода и жажды";
        case NeedsDeath::Cold: return "Ты замёрз насмерть";
        default: return "";
    }
}

const char* DeathLogLine(NeedsDeath death) {
    switch (death) {
        case NeedsDeath::HungerThirst: return "SURVIVAL: died of hunger/thirst";
        case NeedsDeath::Cold: return "SURVIVAL: froze to death";
        default: return "";
    }
}

namespace {

// The warmth per second where the player stands now.
float CurrentWarmthRate(const Game& game) {
    if (game.airship.OnDeck(game.player.feet)) return CabinWarmthRate(game.airship.cabinTemp);
    const Vector3 eye = game.player.position();
    float outdoor = 0.0f;
    if (game.world) {
        const Atmosphere& air = game.world->atmosphere;
        outdoor = OutdoorWarmthRate(air.temperature, air.weatherIntensity);
    }
    return ShelteredWarmthRate(outdoor, game.home.heatAt(eye), NearBurningCampFire(game.camps, eye));
}

}  // namespace

void Game::UpdateSurvival(float dt) {
    Needs needs{food, water, health, warmth};
    const float rate = gameOver ? 0.0f : CurrentWarmthRate(*this);
    const NeedsDeath death = StepNeeds(needs, dt, gameOver, rate);
    food = needs.food;
    water = needs.water;
    health = needs.health;
    warmth = needs.warmth;
    if (death == NeedsDeath::None) return;

    endLatched = true;
    gameOver = true;
    froze = death == NeedsDeath::Cold;
    SetMessage(DeathMessage(death));
    TraceLog(LOG_INFO, "%s", DeathLogLine(death));
}
