// top_down_camera.h: the smoothed point of view of the top-down picture. It
// eases toward the target its owner sets each frame, or jumps there once after
// a reset or teleport. It draws nothing and reads no input.
#pragma once
#include "game/view/zoom_limits.h"
#include "raylib.h"

class TopDownCamera {
public:
    TopDownCamera() = default;

    // Jumps to p at the next Update and forgets zoom and yaw.
    void Reset(Vector3 p);
    // Jumps to p at the next Update; zoom and yaw are kept.
    void SetPosition(Vector3 p);
    void SetTarget(Vector3 p, float zoomTo);
    // Only the yaw is kept; the second angle is accepted for callers' symmetry.
    void SetView(float yawTo, float second);
    void Update(float dt);
    Vector3 forward() const;

    Vector3 position{0.0f, 0.0f, 0.0f};  // the world point in view, eased toward target; chunks stream around it
    Vector3 target{0.0f, 0.0f, 0.0f};    // where the owner puts it each frame: the player's eye
    float yaw = 0.0f;                    // radians, the facing last given; forward() reads it, the picture never turns
    float zoom = kDefaultZoom;           // pixels per world unit, eased toward zoomTarget
    float zoomTarget = kDefaultZoom;     // the owner's zoom (Game::zoom, the wheel's choice)
    bool snap = true;                    // the next Update jumps to target and zoomTarget instead of easing
};
