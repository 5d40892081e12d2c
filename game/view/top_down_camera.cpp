// top_down_camera.cpp: exponential easing of the camera's position and zoom.
#include "game/view/top_down_camera.h"

#include <cmath>

namespace {

constexpr float kPositionRate = 7.0f;
constexpr float kZoomRate = 2.5f;

}  // namespace

void TopDownCamera::Reset(Vector3 p) {
    *this = TopDownCamera{};
    position = p;
    target = p;
}

void TopDownCamera::SetPosition(Vector3 p) {
    position = p;
    target = p;
    snap = true;
}

void TopDownCamera::SetTarget(Vector3 p, float zoomTo) {
    target = p;
    zoomTarget = zoomTo;
}

void TopDownCamera::SetView(float yawTo, float /*second*/) {
    yaw = yawTo;
}

void TopDownCamera::Update(float dt) {
    const float kp = 1.0f - std::exp(-kPositionRate * dt);
    const float kz = 1.0f - std::exp(-kZoomRate * dt);
    if (snap) {
        snap = false;
        zoom = zoomTarget;
        position = target;
        return;
    }
    position.x += (target.x - position.x) * kp;
    position.y += (target.y - position.y) * kp;
    position.z += (target.z - position.z) * kp;
    zoom += (zoomTarget - zoom) * kz;
}

Vector3 TopDownCamera::forward() const {
    return Vector3{std::sin(yaw), 0.0f, -std::cos(yaw)};
}
