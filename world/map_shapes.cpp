// map_shapes.cpp: colour helpers, lit boxes and boulders for the baked map.
#include "world/map_shapes.h"

#include "world/clamps.h"
#include "world/full_turn.h"
#include "world/noise.h"

namespace chunkgen {

namespace {

unsigned char ScaleChannel(unsigned char v, float f) {
    return ClampToByte(static_cast<float>(v) * f);
}

unsigned char MixChannel(unsigned char a, unsigned char b, float t) {
    const float fa = static_cast<float>(a);
    return static_cast<unsigned char>(fa + (static_cast<float>(b) - fa) * t);
}

}  // namespace

Color Scale(Color c, float f) {
    return Color{ScaleChannel(c.r, f), ScaleChannel(c.g, f), ScaleChannel(c.b, f), c.a};
}

Color Mix(Color a, Color b, float t) {
    t = Clamp01(t);
    return Color{MixChannel(a.r, b.r, t), MixChannel(a.g, b.g, t), MixChannel(a.b, b.b, t), MixChannel(a.a, b.a, t)};
}

void AddBox(const MapBuilder& builder, Vector3 centre, Vector3 half, Color c) {
    const float xp = centre.x + half.x, xm = centre.x - half.x;
    const float yp = centre.y + half.y, ym = centre.y - half.y;
    const float zp = centre.z + half.z, zm = centre.z - half.z;

    // Corners wound so that each face normal points outward (the bottom's
    // down). Seen from straight above the side faces are edge-on and cover no
    // pixel; the bottom, drawn after the top, covers the top's footprint.
    const Vector3 plusX[4] = {{xp, ym, zm}, {xp, yp, zm}, {xp, yp, zp}, {xp, ym, zp}};
    const Vector3 minusX[4] = {{xm, ym, zp}, {xm, yp, zp}, {xm, yp, zm}, {xm, ym, zm}};
    const Vector3 top[4] = {{xm, yp, zm}, {xm, yp, zp}, {xp, yp, zp}, {xp, yp, zm}};
    const Vector3 bottom[4] = {{xm, ym, zp}, {xm, ym, zm}, {xp, ym, zm}, {xp, ym, zp}};
    const Vector3 plusZ[4] = {{xm, ym, zp}, {xp, ym, zp}, {xp, yp, zp}, {xm, yp, zp}};
    const Vector3 minusZ[4] = {{xp, ym, zm}, {xm, ym, zm}, {xm, yp, zm}, {xp, yp, zm}};
    builder.AddFlatQuad(plusX, c);
    builder.AddFlatQuad(minusX, Scale(c, 0.95f));
    builder.AddFlatQuad(top, Scale(c, 1.05f));
    builder.AddFlatQuad(bottom, Scale(c, 0.9f));
    builder.AddFlatQuad(plusZ, Scale(c, 0.97f));
    builder.AddFlatQuad(minusZ, Scale(c, 0.93f));
}

void BuildBoulder(const MapBuilder& builder, Vector3 base, float radius, float height, Color c, uint32_t hash) {
    Vector3 ring[5];
    for (int k = 0; k < 5; ++k) {
        const int hk = HashCoord(hash, static_cast<uint32_t>(k));
        const float angle = static_cast<float>(k) * kFullTurn / 5.0f;
        const float f = 0.7f + 0.5f * NoiseHash01(hk, 8, 27u);
        ring[k] = Vector3{base.x + CosF(angle) * radius * f, base.y + (NoiseHash01(hk, 9, 45u) - 0.3f) * height * 0.35f,
                          base.z + SinF(angle) * radius * f};
    }
    const int h0 = HashCoord(hash);
    const Vector3 apex{base.x + (NoiseHash01(h0, 10, 63u) - 0.5f) * radius * 0.5f, base.y + height,
                       base.z + (NoiseHash01(h0, 11, 78u) - 0.5f) * radius * 0.5f};
    for (int k = 0; k < 5; ++k) {
        const int hk = HashCoord(hash, static_cast<uint32_t>(k));
        const Color shade = Scale(c, 0.88f + 0.24f * NoiseHash01(hk, 12, 90u));
        builder.AddTriangle(ring[(k + 1) % 5], ring[k], apex, shade);
    }
}

}  // namespace chunkgen
