// airship_flight.cpp: one frame of the airship's flight and heat model: the
// furnace burns fuel, heats the cabin and gives lift and drive while hot.
#include "actors/airship.h"

#include <algorithm>
#include <cmath>
#include "world/world.h"

namespace {

constexpr float kLiftTemperature = 30.0f;  // the furnace must be hotter than this to fly
constexpr float kSnapAlpha = 0.002f;

// Moves value toward target by the fraction rate * dt, never past it.
void Ease(float& value, float target, float rate, float dt) {
    value += (target - value) * std::min(rate * dt, 1.0f);
}

// Eases a value upward at one rate and downward at another.
void EaseSplit(float& value, float target, float upRate, float downRate, float dt) {
    Ease(value, target, target > value ? upRate : downRate, dt);
}

}  // namespace

void Airship::Update(float dt, bool playerUnderCanopy, const World& world) {
    time += dt;

    const float air = world.atmosphere.temperature;
    const float cold = std::clamp(-air / 50.0f, 0.0f, 1.0f);
    const float ambient = air + 8.0f;

    // Burn with this frame's starting throttle and speed.
    if (fuel > 0.0f) {
        const float burn = 0.08f + 0.55f * throttle + 0.2f * std::fabs(speed) / kAirshipMaxSpeed;
        fuel = std::max(0.0f, fuel - burn * dt);
    }

    const float furnaceTarget = fuel > 0.0f ? 95.0f + 35.0f * throttle : ambient;
    EaseSplit(furnaceTemp, furnaceTarget, 0.055f * (1.0f - 0.45f * cold), 0.012f * (1.0f + cold), dt);
    furnaceTemp = std::clamp(furnaceTemp, kAirshipMinTemp, kAirshipMaxFurnaceTemp);

    const float cabinTarget = std::min(
        26.0f, ambient + (fuel > 0.0f ? 22.0f : 0.0f) + 0.45f * std::max(0.0f, furnaceTemp - 20.0f));
    EaseSplit(cabinTemp, cabinTarget, 0.018f, 0.01f, dt);
    cabinTemp = std::clamp(cabinTemp, kAirshipMinTemp, kAirshipMaxCabinTemp);

    // Lift and drive need a hot furnace; a cold one lets the ship sink and coast.
    float steering = 0.0f;
    if (furnaceTemp > kLiftTemperature) {
        const float lift = std::clamp((furnaceTemp - 20.0f) / 110.0f, 0.0f, 1.0f);
        throttle = std::clamp(throttle + throttleInput * 0.5f * dt, 0.0f, 1.0f);
        altitude = std::clamp(altitude + climbInput * 6.0f * dt, 0.0f, kAirshipMaxAltitude);
        EaseSplit(speed, kAirshipMaxSpeed * throttle * lift, 0.12f, 0.065f, dt);
        steering = (0.3f + 0.7f * lift) * (0.35f + 0.65f * std::clamp(speed / kAirshipMaxSpeed, 0.0f, 1.0f));
    } else {
        altitude = std::max(0.0f, altitude - 1.5f * dt);
        EaseSplit(speed, 0.0f, 0.12f, 0.065f, dt);
    }

    Ease(turnRate, 0.6f * turnInput * steering, 0.35f, dt);
    heading += turnRate * dt;

    if (std::fabs(speed) > 0.01f) {
        pos.x += std::cos(heading) * speed * dt;
        pos.y += std::sin(heading) * speed * dt;
        groundY = world.gen.Height(pos.x, pos.y);
    }

    propPhase += (1.5f + 22.0f * std::max(std::clamp(speed / kAirshipMaxSpeed, 0.0f, 1.0f), throttle)) * dt;

    const float canopyTarget = playerUnderCanopy ? 0.3f : 1.0f;
    canopyAlpha += (canopyTarget - canopyAlpha) * (1.0f - std::exp(-5.0f * dt));
    if (std::fabs(canopyAlpha - canopyTarget) < kSnapAlpha) canopyAlpha = canopyTarget;
}
