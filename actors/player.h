// player.h: the walking player: feet, facing, speed and fall, and one frame of
// walking against the world's walls, the airship, the tower and the home
// settlement, with the choice of the surface underfoot.
#pragma once
#include "raylib.h"

class World;
class Airship;
class Building;
class HomeSettlement;

// A wanted walking direction on the world's axes (not normalised) and the run flag.
struct MoveIntent {
    float dx = 0.0f;
    float dz = 0.0f;
    bool run = false;
};

// Held keys to a direction: W is -z, S +z, A -x, D +x; opposite keys cancel.
MoveIntent MoveIntentFromKeys(bool w, bool a, bool s, bool d, bool shift);

// Where the feet go over a surface at height g: a rise of more than a step is
// refused, a drop of more than a step is fallen under gravity, anything
// within a step is taken at once.
struct Footing {
    bool refused;
    float y;
    float fallSpeed;
};
Footing SettleOnSurface(float y, float g, float fallSpeed, float dt);

// How high the eye stands above the feet, for the player and anyone placed
// by an eye point.
inline constexpr float kEyeHeight = 1.7f;

// The player's body. A plain record: its owner zero-fills it and reads and
// writes the fields directly. Points that place the player are eye points.
struct Player {
    Vector3 position() const;
    Vector3 forward() const;
    void SetPosition(Vector3 eye);
    void Reset(Vector3 eye);

    // One frame of walking driven by the W, A, S, D and Left Shift keys.
    void Update(float dt, const World& world, const Airship& airship, const Building* tower,
                const HomeSettlement* settlement);
    // The same frame for a given wanted direction.
    void Walk(float dt, MoveIntent intent, const World& world, const Airship& airship, const Building* tower,
              const HomeSettlement* settlement);

    Vector3 feet = {0.0f, 0.0f, 0.0f};  // the feet; the eye is kEyeHeight above them
    float yaw = 0.0f;                   // radians, facing (sin yaw, -cos yaw); 0 faces -z
    float speed = 0.0f;                 // units per second: 8 walking, 14.4 running, 0 idle; the last frame's
    float fallSpeed = 0.0f;             // units per second downward while falling
};
