// ground_projection.h: the top-down view's projection, shared by every
// drawing: a ground point lands at the screen centre plus its offset from the
// view centre in pixels per unit; a height lifts it up by height * scale.
#pragma once
#include "raylib.h"

// The middle of the current screen.
inline Vector2 ScreenCentre() {
    return Vector2{static_cast<float>(GetScreenWidth()) / 2.0f, static_cast<float>(GetScreenHeight()) / 2.0f};
}

// Ground point (x, z) on screen for a view centred on world (view.x, view.y).
inline Vector2 GroundToScreen(Vector2 screenCentre, Vector2 view, float scale, float x, float z) {
    return Vector2{screenCentre.x + (x - view.x) * scale, screenCentre.y + (z - view.y) * scale};
}

// The same point lifted by height h.
inline Vector2 LiftedToScreen(Vector2 screenCentre, Vector2 view, float scale, float x, float z, float h) {
    const Vector2 p = GroundToScreen(screenCentre, view, scale, x, z);
    return Vector2{p.x, p.y - h * scale};
}
