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

    Vector3 position{0.0f, 0.0f, 0.0f};
    Vector3 target{0.0f, 0.0f, 0.0f};
    float yaw = 0.0f;
    float zoom = kDefaultZoom;
    float zoomTarget = kDefaultZoom;
    bool snap = true;
};
