// actor_draw.h: the pure arithmetic behind the airship's, tower's and home
// settlement's drawing: colour scaling and tinting, the shadows' light
// direction, length, hull and alpha, and the clamped marker sizes; and the
// one drawing helper the airship and the tower share, Quad.
#pragma once
#include "raylib.h"

struct Atmosphere;

namespace actordraw {

// Each of r, g, b as floor(base * tint / 255); alpha 255.
Color Tinted(Color base, Color tint);
// r, g, b times k, clamped to 0..255 and truncated; alpha kept.
Color ScaleRgb(Color c, float k);
// Each channel times (0.48 + 0.55 * the matching light channel), clamped and
// truncated; alpha kept. The light is the atmosphere's light colour.
Color Lit(Color c, Vector3 light);

// The x/z direction of the light that casts ground shadows: the sun's, or the
// moon's while the sun is below 0.04; a light straight overhead gives
// (0.62, 0.52). strength = clamp(daylight, 0.3, 1).
Vector2 LightGroundDirection(const Atmosphere& atmosphere, float& strength);

// The airship's ground shadow: screen offset in pixels, growth of the
// ellipse and the alpha of its inner fill (the soft rim uses 0.45 of it).
struct ShipShadow {
    Vector2 offset;
    float growth;
    float alpha;
};
ShipShadow AirshipShadow(float altitude, Vector2 lightDir, float strength, float scale);

// The canopy's shadow on the deck: fades out as the ship climbs and is not
// drawn at all from an altitude of about 15.75 up.
struct CanopyShadow {
    bool drawn;
    float strength;  // k = max(0, 1 - 2.2 a), a the altitude over 35
    Vector2 offset;
    float alpha;
};
CanopyShadow AirshipCanopyShadow(float altitude, Vector2 lightDir, float strength, float scale);

// The tower shadow's light: the unit x/z direction the shadow runs in, and the
// elevation (y) of the light that casts it.
struct TowerLight {
    Vector2 shadowDir;
    float elevation;
};
TowerLight TowerShadowLight(const Atmosphere& atmosphere);

// Length of the tower's shadow in world units for a light at this elevation.
float TowerShadowLength(float elevation, int floorCount, int minFloor, float scale);

// A convex polygon of at most eight points (the tower footprint and its
// shadow-cast copy), in monotone-chain order: lower chain, then upper chain.
struct ShadowHull {
    Vector2 points[8];
    int count;
};
ShadowHull ConvexHull(const Vector2* points, int count);
// Sorts the points by x, then y, in place, as the standard library's sort
// does for so few (at most 16): the same insertion sort, written out because
// the library's larger-range code trips a false bounds warning over a small
// array in newer compilers. Equal points keep their order, so the hull keeps
// the same points in the same order.
void SortByXThenY(Vector2* points, int count);
// The hull of the footprint corners (center +- (20, 40)) and those corners
// moved by length along shadowDir.
ShadowHull TowerShadowHull(Vector2 center, Vector2 shadowDir, float length);

// Marker sizes in pixels that stay readable at every zoom.
float SurvivorSize(float scale);  // clamp(0.8 s, 4.5, 11)
float CogSize(float scale);       // clamp(0.62 s, 4, 10)

// Two triangles (a, c, b) and (a, d, c): counter-clockwise on screen for the
// corner orders the hull drawings use, so raylib's culling keeps them.
inline void Quad(Vector2 a, Vector2 b, Vector2 c, Vector2 d, Color colour) {
    DrawTriangle(a, c, b, colour);
    DrawTriangle(a, d, c, colour);
}

}  // namespace actordraw
