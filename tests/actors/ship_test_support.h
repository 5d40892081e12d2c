// ship_test_support.h: helpers shared by the airship and player tests: points
// in the ship's frame, wall boxes injected into a world without chunks, and a
// search for nearly flat ground.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include "actors/airship.h"
#include "world/world.h"

namespace shiptest {

inline constexpr uint32_t kSeed = 20261113u;

// A world point at ship-local (lx, lz) and height y.
inline Vector3 ShipPoint(const Airship& ship, float lx, float lz, float y) {
    const Vector2 w = ship.WorldFromLocal({lx, lz});
    return {w.x, y, w.y};
}

// Adds a wall box to the chunk holding its centre, creating the chunk if needed.
inline void AddWall(World& world, CollisionBox box) {
    const float midX = (box.min.x + box.max.x) * 0.5f;
    const float midZ = (box.min.z + box.max.z) * 0.5f;
    const int cx = static_cast<int>(std::floor(midX / 64.0f));
    const int cz = static_cast<int>(std::floor(midZ / 64.0f));
    Chunk& chunk = world.chunks[World::Key(cx, cz)];
    chunk.cx = cx;
    chunk.cz = cz;
    chunk.walls.push_back(box);
}

// Spread of terrain heights over a square of half side span around a point.
inline float HeightSpread(const World& world, Vector2 centre, float span) {
    float lo = 1e9f;
    float hi = -1e9f;
    for (int i = -4; i <= 4; ++i) {
        for (int j = -4; j <= 4; ++j) {
            const float h = world.gen.Height(centre.x + span * static_cast<float>(i) / 4.0f,
                                             centre.y + span * static_cast<float>(j) / 4.0f);
            lo = std::min(lo, h);
            hi = std::max(hi, h);
        }
    }
    return hi - lo;
}

// The flattest of a fixed set of candidate places: deterministic for a seed.
inline Vector2 FlattestSpot(const World& world, float span) {
    Vector2 best = {0.0f, 0.0f};
    float bestSpread = 1e9f;
    for (int i = 0; i < 12; ++i) {
        for (int j = 0; j < 12; ++j) {
            const Vector2 c = {static_cast<float>(i) * 173.0f - 1000.0f, static_cast<float>(j) * 173.0f - 1000.0f};
            const float spread = HeightSpread(world, c, span);
            if (spread < bestSpread) {
                bestSpread = spread;
                best = c;
            }
        }
    }
    return best;
}

}  // namespace shiptest
