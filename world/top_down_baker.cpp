// top_down_baker.cpp: the triangle rasteriser behind the chunks' ground
// pictures: barycentric fill over a bounding box, vertex colours, a height
// tint and optional alpha blending. Rows are trimmed to the columns that can
// be covered and filled several pixels at a time (eight with AVX2 when the
// CPU has it, four with SSE2 otherwise), with the same float results.
#include "world/top_down_baker.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <xmmintrin.h>
#include "world/cpu_features.h"

namespace {

// Night blue of ground nothing was drawn on.
constexpr uint32_t kClearPixel = 14u | (18u << 8) | (26u << 16) | (255u << 24);

// Bounding-box edge as a pixel index within 0..resolution - 1. Clamped while
// still a float so far-away geometry cannot overflow the conversion.
int PixelBound(float v, int resolution) {
    const float hi = static_cast<float>(resolution - 1);
    v = v < hi ? v : hi;
    v = v > 0.0f ? v : 0.0f;
    return static_cast<int>(v);
}

// A pixel counts as covered when none of its weights is below this.
constexpr float kEdgeTolerance = -0.0001f;

// One triangle's corners in pixel space and its colours as floats, fixed for
// all of its pixels.
struct Setup {
    float aX, aZ, bX, bZ, cX, cZ, area;
    float aY, bY, cY;
    float ca[4], cb[4], cc[4];
};

// The per-row window of columns that may pass the coverage test. The weights
// are linear in the column; evaluated in double precision with a margin far
// wider than the rounding of the single-precision test, the window is never
// narrower than the set of columns that test accepts. It only saves work: each
// column inside it still goes through the exact test.
struct RowWindow {
    double l0[3];       // weights at the box's first column and first row
    double stepX[3];    // change per column
    double stepZ[3];    // change per row
    double perStep[3];  // 1 / stepX, or 0 where the weight is constant along a row
    double limit;       // lowest weight a covered pixel can have, margin included
    int width;          // box columns minus one
};

void ChannelsOf(Color colour, float out[4]) {
    out[0] = static_cast<float>(colour.r);
    out[1] = static_cast<float>(colour.g);
    out[2] = static_cast<float>(colour.b);
    out[3] = static_cast<float>(colour.a);
}

double Largest(double a, double b) {
    return a > b ? a : b;
}

RowWindow MakeWindow(const Setup& s, int x0, int x1, int z0, int z1) {
    const double aX = static_cast<double>(s.aX), aZ = static_cast<double>(s.aZ);
    const double bX = static_cast<double>(s.bX), bZ = static_cast<double>(s.bZ);
    const double cX = static_cast<double>(s.cX), cZ = static_cast<double>(s.cZ);
    const double area = static_cast<double>(s.area);
    const double px0 = x0 + 0.5, px1 = x1 + 0.5, pz0 = z0 + 0.5, pz1 = z1 + 0.5;
    // Largest magnitude of each product the single-precision test forms
    // anywhere in the box: its rounding error scales with these.
    const auto spanX = [&](double v) { return Largest(std::fabs(v - px0), std::fabs(v - px1)); };
    const auto spanZ = [&](double v) { return Largest(std::fabs(v - pz0), std::fabs(v - pz1)); };
    const double products = Largest(spanX(bX) * spanZ(cZ) + spanX(cX) * spanZ(bZ),
                                    spanX(cX) * spanZ(aZ) + spanX(aX) * spanZ(cZ));
    RowWindow w{};
    w.limit = static_cast<double>(kEdgeTolerance) - (1e-6 + 1e-6 * products / std::fabs(area));
    w.width = x1 - x0;
    w.l0[0] = ((bX - px0) * (cZ - pz0) - (cX - px0) * (bZ - pz0)) / area;
    w.l0[1] = ((cX - px0) * (aZ - pz0) - (aX - px0) * (cZ - pz0)) / area;
    w.l0[2] = (1.0 - w.l0[0]) - w.l0[1];
    w.stepX[0] = (bZ - cZ) / area;
    w.stepX[1] = (cZ - aZ) / area;
    w.stepX[2] = -(w.stepX[0] + w.stepX[1]);
    w.stepZ[0] = (cX - bX) / area;
    w.stepZ[1] = (aX - cX) / area;
    w.stepZ[2] = -(w.stepZ[0] + w.stepZ[1]);
    for (int e = 0; e < 3; e++) {
        w.perStep[e] = w.stepX[e] == 0.0 ? 0.0 : 1.0 / w.stepX[e];
    }
    return w;
}

// Columns first..last (relative to the box) of row dz that may be covered;
// first > last when none can be.
void RowSpan(const RowWindow& w, int dz, int& first, int& last) {
    // A thousandth of a pixel of slack absorbs the rounding of the window's
    // own arithmetic.
    constexpr double kSlack = 0.001;
    double lo = 0.0;
    double hi = static_cast<double>(w.width);
    for (int e = 0; e < 3; e++) {
        const double l = w.l0[e] + w.stepZ[e] * static_cast<double>(dz);
        const double s = w.stepX[e];
        if (s == 0.0) {
            if (l < w.limit) {
                first = 1;
                last = 0;
                return;
            }
            continue;
        }
        const double t = (w.limit - l) * w.perStep[e];
        if (s > 0.0) {
            lo = Largest(lo, t - kSlack);
        } else {
            hi = std::min(hi, t + kSlack);
        }
    }
    if (!(lo <= hi)) {
        first = 1;
        last = 0;
        return;
    }
    first = static_cast<int>(std::ceil(lo));
    last = static_cast<int>(std::floor(hi));
}

// The triangle's pixel box and what the fill needs to know of the baker.
struct Box {
    int x0, x1, z0, z1;
    int resolution;
    bool blend;
};

// Neighbouring pixels of a row are worked on together, one per lane. Each
// lane goes through exactly the single-precision operations of one pixel, in
// the same order, so the results are those of a pixel-by-pixel loop.
using Float4 = float __attribute__((vector_size(16)));
using Int4 = int __attribute__((vector_size(16)));
using Float8 = float __attribute__((vector_size(32)));
using Int8 = int __attribute__((vector_size(32)));

// The helpers below are always inlined, so the same source becomes SSE2 code
// in the four-lane fill and AVX2 code in the eight-lane one. Results go out
// through references: no wide vector crosses a call.
template <typename I>
[[gnu::always_inline]] inline bool AnyLane(const I& mask) {
    if constexpr (sizeof(I) == sizeof(Int8)) {
        const Int4 low = __builtin_shufflevector(mask, mask, 0, 1, 2, 3);
        const Int4 high = __builtin_shufflevector(mask, mask, 4, 5, 6, 7);
        const Int4 halves = low | high;
        return _mm_movemask_ps(reinterpret_cast<__m128>(halves)) != 0;
    } else {
        return _mm_movemask_ps(reinterpret_cast<__m128>(mask)) != 0;
    }
}

// Lane numbers 0, 1, 2, ...
template <typename I>
[[gnu::always_inline]] inline void Iota(I& out) {
    if constexpr (sizeof(I) == sizeof(Int8)) {
        out = Int8{0, 1, 2, 3, 4, 5, 6, 7};
    } else {
        out = Int4{0, 1, 2, 3};
    }
}

// min(v, 255) as std::min writes it (v unless 255 < v), truncated.
template <typename F, typename I>
[[gnu::always_inline]] inline void TruncateBelow255(const F& v, I& out) {
    const F top = F{} + 255.0f;
    out = __builtin_convertvector(top < v ? top : v, I);
}

template <typename F, typename I>
[[gnu::always_inline]] inline void Interpolate(float a, float b, float c, const F& wa, const F& wb, const F& wc,
                                               I& out) {
    TruncateBelow255<F, I>((b * wb + a * wa) + c * wc, out);
}

template <typename F, typename I>
[[gnu::always_inline]] inline void Tint(const F& tint, I& channel) {
    TruncateBelow255<F, I>(__builtin_convertvector(channel, F) * tint, channel);
}

// old * (1 - f) + new * f, truncated, for one channel of packed pixels,
// added into out at its place.
template <typename F, typename I>
[[gnu::always_inline]] inline void Over(const I& old, int shift, const I& value, const F& f, I& out) {
    const F keep = 1.0f - f;
    const I mixed = __builtin_convertvector(
        __builtin_convertvector((old >> shift) & 0xFF, F) * keep + __builtin_convertvector(value, F) * f, I);
    out |= mixed << shift;
}

// Colours, height tint and the write of the covered pixels among columns
// k .. k + lanes - 1 of one row, given their weights. Pixels hold the bytes
// R, G, B, A in memory order (little-endian words).
template <typename F, typename I>
[[gnu::always_inline]] inline void Paint(const Setup& s, const Box& box, uint32_t* row, int k, const F& wa, const F& wb,
                                         const F& wc, const I& covered) {
    constexpr int kLanes = static_cast<int>(sizeof(I) / sizeof(int));
    // Higher ground is drawn lighter.
    const F y = (s.bY * wb + s.aY * wa) + s.cY * wc;
    const F hn = (y + 6.0f) / 140.0f;
    F tint = hn * 0.38f + 0.9f;
    tint = hn >= 1.0f ? F{} + 1.28f : tint;
    tint = hn <= 0.0f ? F{} + 0.9f : tint;

    I red, green, blue, alpha;
    Interpolate<F, I>(s.ca[0], s.cb[0], s.cc[0], wa, wb, wc, red);
    Interpolate<F, I>(s.ca[1], s.cb[1], s.cc[1], wa, wb, wc, green);
    Interpolate<F, I>(s.ca[2], s.cb[2], s.cc[2], wa, wb, wc, blue);
    Interpolate<F, I>(s.ca[3], s.cb[3], s.cc[3], wa, wb, wc, alpha);
    Tint<F, I>(tint, red);
    Tint<F, I>(tint, green);
    Tint<F, I>(tint, blue);

    // The row's last few pixels are copied through a whole group.
    const int inImage = box.resolution - k;
    I old{};
    if (inImage >= kLanes) {
        std::memcpy(&old, row + k, sizeof(I));
    } else {
        std::memcpy(&old, row + k, static_cast<size_t>(inImage) * sizeof(uint32_t));
    }

    I result = red | (green << 8) | (blue << 16) | (alpha << 24);
    if (box.blend) {
        // An unblended translucent triangle stores its own alpha; a blended
        // one mixes over the pixel and leaves it opaque.
        const I mixed = (alpha != 255) & covered;
        if (AnyLane(mixed)) {
            const F f = __builtin_convertvector(alpha, F) / 255.0f;
            I over = I{} + (255 << 24);
            Over<F, I>(old, 0, red, f, over);
            Over<F, I>(old, 8, green, f, over);
            Over<F, I>(old, 16, blue, f, over);
            result = mixed ? over : result;
        }
    }
    result = covered ? result : old;
    if (inImage >= kLanes) {
        std::memcpy(row + k, &result, sizeof(I));
    } else {
        std::memcpy(row + k, &result, static_cast<size_t>(inImage) * sizeof(uint32_t));
    }
}

// The pixels of columns k .. k + lanes - 1 of one row, of which those up to
// last may be covered.
template <typename F, typename I>
[[gnu::always_inline]] inline void FillGroup(const Setup& s, const Box& box, uint32_t* row, int k, int last, float aZp,
                                             float bZp, float cZp) {
    I column;
    Iota<I>(column);
    column += k;
    const F px = __builtin_convertvector(column, F) + 0.5f;
    const F wa = ((s.bX - px) * cZp - (s.cX - px) * bZp) / s.area;
    const F wb = ((s.cX - px) * aZp - (s.aX - px) * cZp) / s.area;
    const F wc = (1.0f - wa) - wb;
    // Written so that a NaN weight (an edge product overflowed on a far-away
    // triangle) leaves the pixel alone.
    const I covered = (wa >= kEdgeTolerance) & (wb >= kEdgeTolerance) & (wc >= kEdgeTolerance) & (column <= last);
    if (AnyLane(covered)) {
        Paint<F, I>(s, box, row, k, wa, wb, wc, covered);
    }
}

// What a fill needs of the baker.
struct Target {
    uint32_t* pixels;
    Vector2 origin;
    float pixelsPerUnit;
    int resolution;
    bool blend;
};

struct Corners {
    Vector3 a, b, c;
    Color ca, cb, cc;
};

// Rows of the box filled a group at a time. With every line of the setup
// inside, the AVX2 copy also rounds the box with its own instructions.
template <typename F, typename I>
[[gnu::always_inline]] inline void Fill(const Target& target, const Corners& t) {
    constexpr int kLanes = static_cast<int>(sizeof(I) / sizeof(int));
    Setup s;
    s.aX = (t.a.x - target.origin.x) * target.pixelsPerUnit;
    s.aZ = (t.a.z - target.origin.y) * target.pixelsPerUnit;
    s.bX = (t.b.x - target.origin.x) * target.pixelsPerUnit;
    s.bZ = (t.b.z - target.origin.y) * target.pixelsPerUnit;
    s.cX = (t.c.x - target.origin.x) * target.pixelsPerUnit;
    s.cZ = (t.c.z - target.origin.y) * target.pixelsPerUnit;

    s.area = (s.bX - s.aX) * (s.cZ - s.aZ) - (s.cX - s.aX) * (s.bZ - s.aZ);
    // Flat triangles are skipped, and so are ones whose area overflowed or is
    // NaN: their weights would mean nothing.
    if (!(std::fabs(s.area) >= 0.000001f) || !std::isfinite(s.area)) {
        return;
    }

    const int resolution = target.resolution;
    const Box box{PixelBound(std::floor(std::min({s.aX, s.bX, s.cX}) - 0.5f), resolution),
                  PixelBound(std::floor(std::max({s.aX, s.bX, s.cX}) + 0.5f), resolution),
                  PixelBound(std::floor(std::min({s.aZ, s.bZ, s.cZ}) - 0.5f), resolution),
                  PixelBound(std::floor(std::max({s.aZ, s.bZ, s.cZ}) + 0.5f), resolution),
                  resolution,
                  target.blend};

    s.aY = t.a.y;
    s.bY = t.b.y;
    s.cY = t.c.y;
    ChannelsOf(t.ca, s.ca);
    ChannelsOf(t.cb, s.cb);
    ChannelsOf(t.cc, s.cc);

    // A box no wider than one group is filled a row at a time without the
    // window: the coverage test alone decides, as it does inside the window.
    const bool narrow = box.x1 - box.x0 < kLanes;
    RowWindow window;
    if (!narrow) {
        window = MakeWindow(s, box.x0, box.x1, box.z0, box.z1);
    }
    for (int r = box.z0; r <= box.z1; r++) {
        int first = box.x0;
        int last = box.x1;
        if (!narrow) {
            RowSpan(window, r - box.z0, first, last);
            if (first > last) {
                continue;
            }
            first += box.x0;
            last += box.x0;
        }
        const float pz = static_cast<float>(r) + 0.5f;
        const float aZp = s.aZ - pz;
        const float bZp = s.bZ - pz;
        const float cZp = s.cZ - pz;
        uint32_t* row = target.pixels + static_cast<size_t>(r) * static_cast<size_t>(resolution);
        for (int k = first; k <= last; k += kLanes) {
            FillGroup<F, I>(s, box, row, k, last, aZp, bZp, cZp);
        }
    }
}

void FillSse2(const Target& target, const Corners& t) {
    Fill<Float4, Int4>(target, t);
}

// No FMA: only AVX2 is enabled here, and contraction is off everywhere.
__attribute__((target("avx2"))) void FillAvx2(const Target& target, const Corners& t) {
    Fill<Float8, Int8>(target, t);
}

// ---- Grid cells ----
// A quad whose corners land on whole pixels at (X, Z), (X, Z + n),
// (X + n, Z + n) and (X + n, Z), a cell of the terrain grid, has the same
// weights at each pixel of its box wherever it lies: with every corner and
// pixel centre a small multiple of 0.5, each difference and product of the
// coverage test is exact in single precision and the division is correctly
// rounded. So the weights of a cell size are computed once, by those very
// operations, and only the colours are worked out per cell.
constexpr int kCellBox = 8;  // the box of a cell of up to 6 pixels, one more on each side
constexpr int kLargestCell = kCellBox - 2;

struct CellWeights {
    bool ready;
    // [triangle][box row][box column]; columns past the box are uncovered.
    float wa[2][kCellBox][kCellBox];
    float wb[2][kCellBox][kCellBox];
    float wc[2][kCellBox][kCellBox];
    int covered[2][kCellBox][kCellBox];  // -1 or 0, as a vector compare gives
};

// The weights of triangles (0, 1, 2) and (0, 2, 3) of a cell of n pixels
// with corner 0 at pixel (0, 0), by the rasteriser's own arithmetic.
const CellWeights& WeightsOfCell(int n) {
    static CellWeights cells[kLargestCell + 1];
    CellWeights& w = cells[n];
    if (w.ready) {
        return w;
    }
    const float size = static_cast<float>(n);
    const float corners[2][6] = {{0.0f, 0.0f, 0.0f, size, size, size}, {0.0f, 0.0f, size, size, size, 0.0f}};
    for (int t = 0; t < 2; t++) {
        const float aX = corners[t][0], aZ = corners[t][1], bX = corners[t][2];
        const float bZ = corners[t][3], cX = corners[t][4], cZ = corners[t][5];
        const float area = (bX - aX) * (cZ - aZ) - (cX - aX) * (bZ - aZ);
        for (int v = 0; v < kCellBox; v++) {
            const float pz = static_cast<float>(v - 1) + 0.5f;
            const float aZp = aZ - pz;
            const float bZp = bZ - pz;
            const float cZp = cZ - pz;
            for (int u = 0; u < kCellBox; u++) {
                const float px = static_cast<float>(u - 1) + 0.5f;
                const float wa = ((bX - px) * cZp - (cX - px) * bZp) / area;
                const float wb = ((cX - px) * aZp - (aX - px) * cZp) / area;
                const float wc = (1.0f - wa) - wb;
                const bool inBox = u <= n + 1 && v <= n + 1;
                w.wa[t][v][u] = wa;
                w.wb[t][v][u] = wb;
                w.wc[t][v][u] = wc;
                w.covered[t][v][u] = inBox && wa >= kEdgeTolerance && wb >= kEdgeTolerance && wc >= kEdgeTolerance ? -1
                                                                                                                   : 0;
            }
        }
    }
    w.ready = true;
    return w;
}

// Corner 0 of a cell lying wholly inside the image, and its size; false for
// any other quad.
bool AsCell(const Target& target, const Vector3 p[4], int& x, int& z, int& n) {
    float xs[4], zs[4];
    for (int i = 0; i < 4; i++) {
        xs[i] = (p[i].x - target.origin.x) * target.pixelsPerUnit;
        zs[i] = (p[i].z - target.origin.y) * target.pixelsPerUnit;
    }
    const float size = xs[3] - xs[0];
    if (!(xs[1] == xs[0] && xs[2] == xs[3] && zs[3] == zs[0] && zs[2] == zs[1] && zs[1] - zs[0] == size)) {
        return false;
    }
    // The box, one pixel around the cell, must lie in the image.
    const float last = static_cast<float>(target.resolution - 1);
    if (!(size >= 1.0f && size <= static_cast<float>(kLargestCell) && xs[0] >= 1.0f && zs[0] >= 1.0f &&
          xs[0] + size <= last && zs[0] + size <= last)) {
        return false;
    }
    if (std::floor(xs[0]) != xs[0] || std::floor(zs[0]) != zs[0] || std::floor(size) != size) {
        return false;
    }
    x = static_cast<int>(xs[0]);
    z = static_cast<int>(zs[0]);
    n = static_cast<int>(size);
    return true;
}

template <typename F, typename I>
[[gnu::always_inline]] inline void FillCell(const Target& target, const CellWeights& w, int x, int z, int n,
                                            const Vector3 p[4], const Color c[4]) {
    constexpr int kLanes = static_cast<int>(sizeof(I) / sizeof(int));
    const Box box{0, 0, 0, 0, target.resolution, target.blend};
    const int triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (int t = 0; t < 2; t++) {
        Setup s;
        s.aY = p[triangles[t][0]].y;
        s.bY = p[triangles[t][1]].y;
        s.cY = p[triangles[t][2]].y;
        ChannelsOf(c[triangles[t][0]], s.ca);
        ChannelsOf(c[triangles[t][1]], s.cb);
        ChannelsOf(c[triangles[t][2]], s.cc);
        for (int v = 0; v <= n + 1; v++) {
            uint32_t* row = target.pixels + static_cast<size_t>(z - 1 + v) * static_cast<size_t>(target.resolution);
            for (int g = 0; g < n + 2; g += kLanes) {
                F wa, wb, wc;
                I covered;
                std::memcpy(&wa, &w.wa[t][v][g], sizeof(F));
                std::memcpy(&wb, &w.wb[t][v][g], sizeof(F));
                std::memcpy(&wc, &w.wc[t][v][g], sizeof(F));
                std::memcpy(&covered, &w.covered[t][v][g], sizeof(I));
                if (AnyLane(covered)) {
                    Paint<F, I>(s, box, row, x - 1 + g, wa, wb, wc, covered);
                }
            }
        }
    }
}

void FillCellSse2(const Target& target, const CellWeights& w, int x, int z, int n, const Vector3 p[4],
                  const Color c[4]) {
    FillCell<Float4, Int4>(target, w, x, z, n, p, c);
}

__attribute__((target("avx2"))) void FillCellAvx2(const Target& target, const CellWeights& w, int x, int z, int n,
                                                  const Vector3 p[4], const Color c[4]) {
    FillCell<Float8, Int8>(target, w, x, z, n, p, c);
}

BakerKernel& KernelInUse() {
    static BakerKernel kernel = CpuHasAvx2() ? BakerKernel::Avx2 : BakerKernel::Sse2;
    return kernel;
}

bool WideLanes() {
    return KernelInUse() == BakerKernel::Avx2;
}

}  // namespace

BakerKernel SetBakerKernel(BakerKernel kernel) {
    const bool avx2 = CpuHasAvx2();
    if (kernel == BakerKernel::Auto || (kernel == BakerKernel::Avx2 && !avx2)) {
        kernel = avx2 ? BakerKernel::Avx2 : BakerKernel::Sse2;
    }
    KernelInUse() = kernel;
    return kernel;
}

void TopDownBaker::Begin(Vector2 newOrigin, float size, int newResolution) {
    origin = newOrigin;
    blend = false;
    resolution = newResolution <= 0 ? 1 : newResolution;
    pixelsPerUnit = static_cast<float>(resolution) / size;
    pixels.assign(static_cast<size_t>(resolution) * static_cast<size_t>(resolution), kClearPixel);
}

void TopDownBaker::Triangle(Vector3 a, Vector3 b, Vector3 c, Color ca, Color cb, Color cc) {
    if (resolution <= 0) {
        return;
    }
    const Target target{pixels.data(), origin, pixelsPerUnit, resolution, blend};
    const Corners corners{a, b, c, ca, cb, cc};
    if (WideLanes()) {
        FillAvx2(target, corners);
    } else {
        FillSse2(target, corners);
    }
}

void TopDownBaker::Quad(const Vector3 p[4], const Color c[4]) {
    if (resolution <= 0) {
        return;
    }
    const Target target{pixels.data(), origin, pixelsPerUnit, resolution, blend};
    int x = 0;
    int z = 0;
    int n = 0;
    if (!AsCell(target, p, x, z, n)) {
        Triangle(p[0], p[1], p[2], c[0], c[1], c[2]);
        Triangle(p[0], p[2], p[3], c[0], c[2], c[3]);
        return;
    }
    const CellWeights& weights = WeightsOfCell(n);
    if (WideLanes()) {
        FillCellAvx2(target, weights, x, z, n, p, c);
    } else {
        FillCellSse2(target, weights, x, z, n, p, c);
    }
}

Image TopDownBaker::Finish() {
    Image image{};
    if (resolution <= 0) {
        return image;
    }
    const size_t bytes = pixels.size() * sizeof(uint32_t);
    void* data = MemAlloc(static_cast<unsigned int>(bytes));
    if (data != nullptr) {
        std::memcpy(data, pixels.data(), bytes);
        image.data = data;
        image.width = resolution;
        image.height = resolution;
        image.mipmaps = 1;
        image.format = PIXELFORMAT_UNCOMPRESSED_R8G8B8A8;
    }
    pixels.clear();
    resolution = 0;
    return image;
}
