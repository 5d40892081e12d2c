// player.cpp: the player's walk: keys to a step on the world's axes, wall
// push-out, the surface underfoot, step limits and falling.
#include "actors/player.h"

#include <cmath>
#include "actors/airship.h"
#include "actors/building.h"
#include "actors/settlement.h"
#include "world/world.h"

namespace {

constexpr float kWalkSpeed = 8.0f;
constexpr float kRunSpeed = 14.4f;
constexpr float kBodyRadius = 0.42f;
constexpr float kBodyHeight = 1.75f;
constexpr float kMaxStep = 2.6f;
constexpr float kGravity = 30.0f;
constexpr float kMinInput = 0.0001f;

// The tower floor, else the airship deck within a step of the feet.
bool BuiltSurface(Vector3 p, float feetY, const Airship& airship, const Building* tower, float& height) {
    if (tower != nullptr && tower->SurfaceAt(p, height)) return true;
    float deck = 0.0f;
    if (airship.SurfaceAt(p, deck) && std::fabs(deck - feetY) <= kMaxStep) {
        height = deck;
        return true;
    }
    return false;
}

}  // namespace

MoveIntent MoveIntentFromKeys(bool w, bool a, bool s, bool d, bool shift) {
    MoveIntent intent;
    intent.dz = (w ? -1.0f : 0.0f) + (s ? 1.0f : 0.0f);
    intent.dx = (a ? -1.0f : 0.0f) + (d ? 1.0f : 0.0f);
    intent.run = shift;
    return intent;
}

Footing SettleOnSurface(float y, float g, float fallSpeed, float dt) {
    if (g - y > kMaxStep) return {true, y, fallSpeed};
    if (y - g > kMaxStep) {
        const float speed = fallSpeed + kGravity * dt;
        const float next = y - speed * dt;
        if (next > g) return {false, next, speed};
        return {false, g, 0.0f};
    }
    return {false, g, 0.0f};
}

Vector3 Player::position() const {
    return {feet.x, feet.y + kEyeHeight, feet.z};
}

Vector3 Player::forward() const {
    return {std::sin(yaw), 0.0f, -std::cos(yaw)};
}

void Player::SetPosition(Vector3 eye) {
    feet = {eye.x, eye.y - kEyeHeight, eye.z};
}

void Player::Reset(Vector3 eye) {
    SetPosition(eye);
    yaw = 0.0f;
    speed = 0.0f;
    fallSpeed = 0.0f;
}

void Player::Update(float dt, const World& world, const Airship& airship, const Building* tower,
                    const HomeSettlement* settlement) {
    const MoveIntent intent = MoveIntentFromKeys(IsKeyDown(KEY_W), IsKeyDown(KEY_A), IsKeyDown(KEY_S), IsKeyDown(KEY_D),
                                                 IsKeyDown(KEY_LEFT_SHIFT));
    Walk(dt, intent, world, airship, tower, settlement);
}

void Player::Walk(float dt, MoveIntent intent, const World& world, const Airship& airship, const Building* tower,
                  const HomeSettlement* settlement) {
    float dx = intent.dx;
    float dz = intent.dz;
    const float length = std::sqrt(dx * dx + dz * dz);
    if (length > kMinInput) {
        dx /= length;
        dz /= length;
        speed = intent.run ? kRunSpeed : kWalkSpeed;
        yaw = std::atan2(dx, -dz);
    } else {
        dx = 0.0f;
        dz = 0.0f;
        speed = 0.0f;
    }

    Vector3 p = {feet.x + dx * speed * dt, feet.y, feet.z + dz * speed * dt};
    p = world.ResolveWalls(p, kBodyRadius, kBodyHeight);
    p = airship.ResolveWalls(p, kBodyRadius);
    if (tower != nullptr) p = tower->ResolveWalls(p, kBodyRadius);
    p.y = feet.y;

    // Surface underfoot; the settlement's walls only stop a walker on the terrain.
    float ground = 0.0f;
    if (!BuiltSurface(p, feet.y, airship, tower, ground)) {
        bool onBuilt = false;
        if (settlement != nullptr) {
            const Vector2 pushed = settlement->ResolveWalls(p, kBodyRadius);
            if (pushed.x != p.x || pushed.y != p.z) {
                p.x = pushed.x;
                p.z = pushed.y;
                onBuilt = BuiltSurface(p, feet.y, airship, tower, ground);
            }
        }
        if (!onBuilt) ground = world.gen.Height(p.x, p.z);
    }

    const Footing footing = SettleOnSurface(feet.y, ground, fallSpeed, dt);
    if (footing.refused) {
        // A body in mid-fall that runs into ground too high to step onto keeps
        // falling where it is, rather than hanging in the air while the key is held.
        if (fallSpeed > 0.0f && length > kMinInput) {
            const float chosenSpeed = speed;
            Walk(dt, MoveIntent{}, world, airship, tower, settlement);
            speed = chosenSpeed;
        }
        return;
    }
    feet = {p.x, footing.y, p.z};
    fallSpeed = footing.fallSpeed;
}
