// top_down_baker.cpp: the triangle rasteriser behind the chunks' ground
// pictures: barycentric fill over a bounding box, vertex colours, a height
// tint and optional alpha blending. Rows are trimmed to the columns that can
// be covered and filled four pixels at a time, with the same float results.
#include "world/top_down_baker.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Night blue of ground nothing was drawn on.
constexpr uint32_t kClearPixel = 14u | (18u << 8) | (26u << 16) | (255u << 24);

// Pixels hold the bytes R, G, B, A in memory order (little-endian words).
uint32_t Pack(int r, int g, int b, int a)
{
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16) |
           (static_cast<uint32_t>(a) << 24);
}

int Channel(uint32_t pixel, int shift)
{
    return static_cast<int>((pixel >> shift) & 0xFFu);
}

// Bounding-box edge as a pixel index within 0..resolution - 1. Clamped while
// still a float so far-away geometry cannot overflow the conversion.
int PixelBound(float v, int resolution)
{
    const float hi = static_cast<float>(resolution - 1);
    v = v < hi ? v : hi;
    v = v > 0.0f ? v : 0.0f;
    return static_cast<int>(v);
}

// Four neighbouring pixels of a row are worked on together. Each lane goes
// through exactly the single-precision operations of one pixel, in the same
// order, so the results are those of a pixel-by-pixel loop.
using Float4 = float __attribute__((vector_size(16)));
using Int4 = int __attribute__((vector_size(16)));

Float4 Splat(float v)
{
    return Float4{v, v, v, v};
}

// min(v, 255) as std::min writes it: v unless 255 < v.
Int4 TruncateBelow255(Float4 v)
{
    const Float4 top = Splat(255.0f);
    return __builtin_convertvector(top < v ? top : v, Int4);
}

Int4 Interpolate(float a, float b, float c, Float4 wa, Float4 wb, Float4 wc)
{
    return TruncateBelow255((b * wb + a * wa) + c * wc);
}

Int4 Tinted(Int4 channel, Float4 tint)
{
    return TruncateBelow255(__builtin_convertvector(channel, Float4) * tint);
}

int Blended(int oldValue, int newValue, float f)
{
    return static_cast<int>(static_cast<float>(oldValue) * (1.0f - f) + static_cast<float>(newValue) * f);
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

void ChannelsOf(Color colour, float out[4])
{
    out[0] = static_cast<float>(colour.r);
    out[1] = static_cast<float>(colour.g);
    out[2] = static_cast<float>(colour.b);
    out[3] = static_cast<float>(colour.a);
}

double Largest(double a, double b)
{
    return a > b ? a : b;
}

RowWindow MakeWindow(const Setup& s, int x0, int x1, int z0, int z1)
{
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
void RowSpan(const RowWindow& w, int dz, int& first, int& last)
{
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

}  // namespace

void TopDownBaker::Begin(Vector2 newOrigin, float size, int newResolution)
{
    origin = newOrigin;
    blend = false;
    resolution = newResolution <= 0 ? 1 : newResolution;
    pixelsPerUnit = static_cast<float>(resolution) / size;
    pixels.assign(static_cast<size_t>(resolution) * static_cast<size_t>(resolution), kClearPixel);
}

void TopDownBaker::Triangle(Vector3 a, Vector3 b, Vector3 c, Color ca, Color cb, Color cc)
{
    if (resolution <= 0) {
        return;
    }
    Setup s{};
    s.aX = (a.x - origin.x) * pixelsPerUnit;
    s.aZ = (a.z - origin.y) * pixelsPerUnit;
    s.bX = (b.x - origin.x) * pixelsPerUnit;
    s.bZ = (b.z - origin.y) * pixelsPerUnit;
    s.cX = (c.x - origin.x) * pixelsPerUnit;
    s.cZ = (c.z - origin.y) * pixelsPerUnit;

    s.area = (s.bX - s.aX) * (s.cZ - s.aZ) - (s.cX - s.aX) * (s.bZ - s.aZ);
    // Flat triangles are skipped, and so are ones whose area overflowed or is
    // NaN: their weights would mean nothing.
    if (!(std::fabs(s.area) >= 0.000001f) || !std::isfinite(s.area)) {
        return;
    }

    const int x0 = PixelBound(std::floor(std::min({s.aX, s.bX, s.cX}) - 0.5f), resolution);
    const int x1 = PixelBound(std::floor(std::max({s.aX, s.bX, s.cX}) + 0.5f), resolution);
    const int z0 = PixelBound(std::floor(std::min({s.aZ, s.bZ, s.cZ}) - 0.5f), resolution);
    const int z1 = PixelBound(std::floor(std::max({s.aZ, s.bZ, s.cZ}) + 0.5f), resolution);

    s.aY = a.y;
    s.bY = b.y;
    s.cY = c.y;
    ChannelsOf(ca, s.ca);
    ChannelsOf(cb, s.cb);
    ChannelsOf(cc, s.cc);
    const RowWindow window = MakeWindow(s, x0, x1, z0, z1);

    for (int r = z0; r <= z1; r++) {
        int first = 0;
        int last = 0;
        RowSpan(window, r - z0, first, last);
        if (first > last) {
            continue;
        }
        const float pz = static_cast<float>(r) + 0.5f;
        const float aZp = s.aZ - pz;
        const float bZp = s.bZ - pz;
        const float cZp = s.cZ - pz;
        uint32_t* row = pixels.data() + static_cast<size_t>(r) * static_cast<size_t>(resolution);
        for (int k = x0 + first; k <= x0 + last; k += 4) {
            const Int4 column = Int4{k, k + 1, k + 2, k + 3};
            const Float4 px = __builtin_convertvector(column, Float4) + 0.5f;
            const Float4 wa = ((s.bX - px) * cZp - (s.cX - px) * bZp) / s.area;
            const Float4 wb = ((s.cX - px) * aZp - (s.aX - px) * cZp) / s.area;
            const Float4 wc = (1.0f - wa) - wb;
            // Written so that a NaN weight (an edge product overflowed on a
            // far-away triangle) leaves the pixel alone.
            const Int4 covered = (wa >= kEdgeTolerance) & (wb >= kEdgeTolerance) & (wc >= kEdgeTolerance) &
                                 (column <= x0 + last);
            if ((covered[0] | covered[1] | covered[2] | covered[3]) == 0) {
                continue;
            }

            // Higher ground is drawn lighter.
            const Float4 y = (s.bY * wb + s.aY * wa) + s.cY * wc;
            const Float4 hn = (y + 6.0f) / 140.0f;
            Float4 tint = hn * 0.38f + 0.9f;
            tint = hn >= 1.0f ? Splat(1.28f) : tint;
            tint = hn <= 0.0f ? Splat(0.9f) : tint;

            const Int4 red = Tinted(Interpolate(s.ca[0], s.cb[0], s.cc[0], wa, wb, wc), tint);
            const Int4 green = Tinted(Interpolate(s.ca[1], s.cb[1], s.cc[1], wa, wb, wc), tint);
            const Int4 blue = Tinted(Interpolate(s.ca[2], s.cb[2], s.cc[2], wa, wb, wc), tint);
            const Int4 alpha = Interpolate(s.ca[3], s.cb[3], s.cc[3], wa, wb, wc);

            for (int lane = 0; lane < 4; lane++) {
                if (covered[lane] == 0) {
                    continue;
                }
                uint32_t& pixel = row[k + lane];
                if (alpha[lane] != 255 && blend) {
                    const float f = static_cast<float>(alpha[lane]) / 255.0f;
                    pixel = Pack(Blended(Channel(pixel, 0), red[lane], f), Blended(Channel(pixel, 8), green[lane], f),
                                 Blended(Channel(pixel, 16), blue[lane], f), 255);
                } else {
                    pixel = Pack(red[lane], green[lane], blue[lane], alpha[lane]);
                }
            }
        }
    }
}

Image TopDownBaker::Finish()
{
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
