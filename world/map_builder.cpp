// map_builder.cpp: the map's fixed lighting and the conversion of lit quads
// and triangles into baker triangles.
#include "world/map_builder.h"

#include <algorithm>
#include <cmath>
#include "world/clamps.h"

namespace {

// Direction toward the map's sun, low in the north-west.
constexpr Vector3 kMapSun{-0.6222441f, 0.3010859f, -0.7226061f};

}  // namespace

// Ambient, sky and sun light; lit faces turn warmer, shaded ones cooler, and
// blue takes half the warm shift.
Color ShadeForMap(Color colour, Vector3 n) {
    const float d = (kMapSun.x * n.x + kMapSun.y * n.y) + kMapSun.z * n.z;
    const float light = (std::max(n.y, 0.0f) * 0.07f + 0.46f) + std::max(d, 0.0f) * 0.62f;
    const float warm = (light - 0.5f) * 18.0f;
    const auto base = [light](unsigned char channel) {
        return static_cast<float>(static_cast<int>(std::min(static_cast<float>(channel) * light, 255.0f)));
    };
    Color out;
    out.r = ClampToByte(base(colour.r) + warm);
    out.g = ClampToByte(base(colour.g) + warm);
    out.b = ClampToByte((base(colour.b) - 0.5f * warm) + warm);
    out.a = colour.a;
    return out;
}

namespace {

Vector3 FaceNormal(Vector3 p0, Vector3 p1, Vector3 p2) {
    const Vector3 e1{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
    const Vector3 e2{p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
    const Vector3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
    const float length = std::sqrt((n.x * n.x + n.y * n.y) + n.z * n.z);
    if (length < 0.000001f) {
        return Vector3{0.0f, 1.0f, 0.0f};
    }
    const float inv = 1.0f / length;
    return Vector3{n.x * inv, n.y * inv, n.z * inv};
}

}  // namespace

void MapBuilder::AddSmoothQuad(const Vector3 positions[4], const Vector3 normals[4], const Color colours[4]) const {
    if (baker == nullptr) {
        return;
    }
    Color lit[4];
    for (int i = 0; i < 4; i++) {
        lit[i] = ShadeForMap(colours[i], normals[i]);
    }
    baker->Quad(positions, lit);
}

void MapBuilder::AddFlatQuad(const Vector3 positions[4], Color colour) const {
    if (baker == nullptr) {
        return;
    }
    const Color lit = ShadeForMap(colour, FaceNormal(positions[0], positions[1], positions[2]));
    baker->Triangle(positions[0], positions[1], positions[2], lit, lit, lit);
    baker->Triangle(positions[0], positions[2], positions[3], lit, lit, lit);
}

void MapBuilder::AddTriangle(Vector3 a, Vector3 b, Vector3 c, Color colour) const {
    if (baker == nullptr) {
        return;
    }
    const Color lit = ShadeForMap(colour, FaceNormal(a, b, c));
    baker->Triangle(a, b, c, lit, lit, lit);
}

void MapBuilder::PushTriangle(Vector3 a, Vector3 b, Vector3 c, Color ca, Color cb, Color cc) const {
    if (baker == nullptr) {
        return;
    }
    baker->Triangle(a, b, c, ca, cb, cc);
}

void MapBuilder::PushQuad(const Vector3 positions[4], const Color colours[4]) const {
    if (baker == nullptr) {
        return;
    }
    baker->Quad(positions, colours);
}
