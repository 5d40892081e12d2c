// map_shapes.h: the small colour and shape helpers shared by the chunk
// builder and the ruin builder: colour scaling and mixing, lit boxes and
// boulders for the baked map, and the wrapping integer arithmetic of the
// seeded formulas (their cosine and sine come with world/rounded_trig.h).
#pragma once
#include <cmath>
#include <cstdint>
#include "raylib.h"
#include "world/map_builder.h"
#include "world/rounded_trig.h"

namespace chunkgen {

// k * a + b in wrapping 32-bit arithmetic, as the hash coordinates need.
constexpr int WrapMulAdd(int k, int a, int b) {
    return static_cast<int>(static_cast<uint32_t>(k) * static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

constexpr int WrapAdd(int a, int b) {
    return WrapMulAdd(1, a, b);
}

// A 32-bit hash passed on as a hash coordinate, plus a wrapping offset.
constexpr int HashCoord(uint32_t h, uint32_t offset = 0u) {
    return static_cast<int>(h + offset);
}

// R, G and B times f, clamped to 0..255 and truncated; alpha unchanged.
Color Scale(Color c, float f);

// a toward b by t (clamped to 0..1), every channel including alpha, truncated.
Color Mix(Color a, Color b, float t);

// A box as six lit faces: +x, -x, top, bottom, +z, -z, each slightly shaded
// (of which only the top and the bottom cover any pixel of the map).
void AddBox(const MapBuilder& builder, Vector3 centre, Vector3 half, Color c);

// A five-sided rock: a jittered ring of five points around its base and an
// apex, drawn as five lit triangles.
void BuildBoulder(const MapBuilder& builder, Vector3 base, float radius, float height, Color c, uint32_t hash);

}  // namespace chunkgen
