// map_builder.h: lights quads and triangles with the map's fixed sun and feeds
// them to a TopDownBaker as coloured triangles.
#pragma once
#include "raylib.h"
#include "world/top_down_baker.h"

// The map's fixed lighting of a colour on a surface with normal n: ambient,
// sky and sun, warmer where lit and cooler in shade; alpha unchanged.
Color ShadeForMap(Color colour, Vector3 n);

struct MapBuilder {
    // Corner colours shaded by their own normals; triangles (0,1,2), (0,2,3).
    void AddSmoothQuad(const Vector3 positions[4], const Vector3 normals[4], const Color colours[4]) const;
    // One face normal from corners 0, 1, 2 and one shaded colour for the quad.
    void AddFlatQuad(const Vector3 positions[4], Color colour) const;
    // One face-lit triangle.
    void AddTriangle(Vector3 a, Vector3 b, Vector3 c, Color colour) const;
    // An unshaded triangle straight to the baker.
    void PushTriangle(Vector3 a, Vector3 b, Vector3 c, Color ca, Color cb, Color cc) const;
    // Unshaded triangles (0,1,2) and (0,2,3) straight to the baker.
    void PushQuad(const Vector3 positions[4], const Color colours[4]) const;

    TopDownBaker* baker;
};
