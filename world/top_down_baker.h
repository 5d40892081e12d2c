// top_down_baker.h: a CPU rasteriser of coloured triangles seen straight from
// above, used to bake each chunk's ground picture into an image. No depth
// buffer, no culling: later triangles cover earlier ones.
#pragma once
#include <cstdint>
#include <vector>
#include "raylib.h"

// The rasteriser's row kernels: eight pixels at a time with AVX2, four with
// SSE2. Auto takes AVX2 when the CPU has it. Every kernel gives the same bytes.
enum class BakerKernel { Auto, Sse2, Avx2 };

// Chooses the kernel (tests force each in turn); Avx2 on a CPU without it
// falls back to Sse2. Returns the kernel now in use.
BakerKernel SetBakerKernel(BakerKernel kernel);

class TopDownBaker {
public:
    // Starts a bake of a size x size world-unit square at origin (x, z) into
    // resolution x resolution pixels (at least 1), cleared to the night blue.
    void Begin(Vector2 origin, float size, int resolution);
    // Rasterises one triangle with interpolated vertex colours and height tint.
    void Triangle(Vector3 a, Vector3 b, Vector3 c, Color ca, Color cb, Color cc);
    // Triangles (p0, p1, p2) and (p0, p2, p3) with the matching corner
    // colours, exactly as two Triangle calls draw them; quicker for a cell of
    // an axis-aligned grid on whole pixels, such as the terrain's.
    void Quad(const Vector3 p[4], const Color c[4]);
    // Hands the pixels out as a raylib image (MemAlloc'd; the caller unloads
    // it) and leaves the baker empty until the next Begin.
    Image Finish();

    std::vector<uint32_t> pixels;
    Vector2 origin{};
    float pixelsPerUnit = 0.0f;
    int resolution = 0;
    bool blend = false;
};
