// actor_draw.cpp: colour arithmetic, shadow geometry and marker sizes shared
// by the airship, tower and home settlement drawing; no GL calls here.
#include "actors/actor_draw.h"

#include <algorithm>
#include <cmath>
#include "actors/airship.h"
#include "actors/building.h"
#include "world/atmosphere.h"
#include "world/clamps.h"

namespace actordraw {

namespace {

float Cross(Vector2 o, Vector2 a, Vector2 b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool Before(Vector2 a, Vector2 b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

}  // namespace

void SortByXThenY(Vector2* points, int count) {
    for (int i = 1; i < count; ++i) {
        const Vector2 v = points[i];
        int j = i;
        if (Before(v, points[0])) {
            // Ahead of the first: everything before it moves up one.
            for (; j > 0; --j) points[j] = points[j - 1];
        } else {
            // The first is not after it, so this stops by the first at the latest.
            for (; j > 0 && Before(v, points[j - 1]); --j) points[j] = points[j - 1];
        }
        points[j] = v;
    }
}

Color Tinted(Color base, Color tint) {
    return Color{static_cast<unsigned char>(base.r * tint.r / 255), static_cast<unsigned char>(base.g * tint.g / 255),
                 static_cast<unsigned char>(base.b * tint.b / 255), 255};
}

Color ScaleRgb(Color c, float k) {
    return Color{ClampToByte(c.r * k), ClampToByte(c.g * k), ClampToByte(c.b * k), c.a};
}

Color Lit(Color c, Vector3 light) {
    return Color{ClampToByte(c.r * (0.48f + 0.55f * light.x)), ClampToByte(c.g * (0.48f + 0.55f * light.y)),
                 ClampToByte(c.b * (0.48f + 0.55f * light.z)), c.a};
}

Vector2 LightGroundDirection(const Atmosphere& atmosphere, float& strength) {
    strength = std::clamp(atmosphere.daylight, 0.3f, 1.0f);
    const Vector3 light = atmosphere.sunDir.y < 0.04f ? atmosphere.moonDir : atmosphere.sunDir;
    const float length = std::sqrt(light.x * light.x + light.z * light.z);
    if (length < 0.001f) return Vector2{0.62f, 0.52f};
    return Vector2{light.x / length, light.z / length};
}

ShipShadow AirshipShadow(float altitude, Vector2 lightDir, float strength, float scale) {
    const float a = AirshipAltitudeFraction(altitude);
    const float reach = (14.0f * a + 6.0f) * scale;
    ShipShadow shadow;
    shadow.offset = Vector2{-lightDir.x * reach, -lightDir.y * reach};
    shadow.growth = 1.0f + 0.3f * a;
    shadow.alpha = 0.14f * strength * (1.0f - 0.55f * a);
    return shadow;
}

CanopyShadow AirshipCanopyShadow(float altitude, Vector2 lightDir, float strength, float scale) {
    const float a = AirshipAltitudeFraction(altitude);
    CanopyShadow shadow;
    shadow.strength = std::max(0.0f, 1.0f - 2.2f * a);
    shadow.drawn = shadow.strength > 0.01f;
    shadow.offset = Vector2{-lightDir.x * 4.0f * scale, -lightDir.y * 4.0f * scale};
    shadow.alpha = 0.1f * strength * shadow.strength;
    return shadow;
}

TowerLight TowerShadowLight(const Atmosphere& atmosphere) {
    const Vector3 light = atmosphere.sunDir.y < 0.04f ? atmosphere.moonDir : atmosphere.sunDir;
    const float length = std::sqrt(light.x * light.x + light.z * light.z);
    TowerLight result;
    result.elevation = light.y;
    result.shadowDir = length < 0.001f ? Vector2{-0.62f, -0.52f} : Vector2{-light.x / length, -light.z / length};
    return result;
}

float TowerShadowLength(float elevation, int floorCount, int minFloor, float scale) {
    const float e = std::clamp(elevation, 0.06f, 1.0f);
    const float floors = static_cast<float>(floorCount - minFloor);
    const float cast = std::clamp(std::sqrt(std::max(1.0f - e * e, 0.0f)) * floors * Building::kFloorHeight / e, 40.0f,
                                  110.0f);
    const float screenBound = std::max(std::min(24.0f * scale, 110.0f), 0.0f) + 30.0f;
    return std::min(cast, screenBound);
}

ShadowHull ConvexHull(const Vector2* points, int count) {
    ShadowHull hull{};
    const int n = std::clamp(count, 0, 8);
    Vector2 sorted[8];
    std::copy(points, points + n, sorted);
    SortByXThenY(sorted, n);

    Vector2 chain[16];
    int k = 0;
    for (int i = 0; i < n; ++i) {
        while (k >= 2 && Cross(chain[k - 2], chain[k - 1], sorted[i]) <= 0.0f) --k;
        chain[k++] = sorted[i];
    }
    const int lowerEnd = k + 1;
    for (int i = n - 2; i >= 0; --i) {
        while (k >= lowerEnd && Cross(chain[k - 2], chain[k - 1], sorted[i]) <= 0.0f) --k;
        chain[k++] = sorted[i];
    }
    // The upper chain ends on the first point again; it is not repeated.
    hull.count = std::clamp(k - 1, 0, 8);
    std::copy(chain, chain + hull.count, hull.points);
    return hull;
}

ShadowHull TowerShadowHull(Vector2 center, Vector2 shadowDir, float length) {
    Vector2 points[8] = {
        {center.x - Building::kHalfX, center.y - Building::kHalfZ},
        {center.x + Building::kHalfX, center.y - Building::kHalfZ},
        {center.x + Building::kHalfX, center.y + Building::kHalfZ},
        {center.x - Building::kHalfX, center.y + Building::kHalfZ},
    };
    for (int i = 0; i < 4; ++i) {
        points[4 + i] = Vector2{points[i].x + shadowDir.x * length, points[i].y + shadowDir.y * length};
    }
    return ConvexHull(points, 8);
}

float SurvivorSize(float scale) {
    return std::clamp(0.8f * scale, 4.5f, 11.0f);
}

float CogSize(float scale) {
    return std::clamp(0.62f * scale, 4.0f, 10.0f);
}

}  // namespace actordraw
