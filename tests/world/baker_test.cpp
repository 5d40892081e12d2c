// baker_test.cpp: the top-down rasteriser and the map lighting: clear colour,
// coverage and shared edges, clipping, height tint, blending and the shading
// of faces by their winding; and the fast rasteriser checked byte for byte
// against a plain per-pixel one over many random triangles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>
#include "support/image_guards.h"
#include "support/kernel_guards.h"
#include "world/cpu_features.h"
#include "world/map_builder.h"
#include "world/top_down_baker.h"

namespace {

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba&) const = default;
};

void PrintTo(const Rgba& c, std::ostream* os) {
    *os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

Rgba PixelOf(const TopDownBaker& baker, int k, int r) {
    const uint32_t p =
        baker.pixels[static_cast<size_t>(r) * static_cast<size_t>(baker.resolution) + static_cast<size_t>(k)];
    // Memory order R, G, B, A.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&p);
    return Rgba{bytes[0], bytes[1], bytes[2], bytes[3]};
}

constexpr Rgba kClear{14, 18, 26, 255};
constexpr uint32_t kClearPixelWord = 14u | (18u << 8) | (26u << 16) | (255u << 24);
constexpr Color kRed{255, 0, 0, 255};
constexpr Color kGreen{0, 255, 0, 255};
constexpr Color kWhite{255, 255, 255, 255};
// At or below this height the tint is exactly 0.9.
constexpr float kLow = -10.0f;

int CountClear(const TopDownBaker& baker) {
    int count = 0;
    for (int r = 0; r < baker.resolution; r++) {
        for (int k = 0; k < baker.resolution; k++) {
            count += PixelOf(baker, k, r) == kClear ? 1 : 0;
        }
    }
    return count;
}

// The rasteriser written the plain way: every pixel of the bounding box goes
// through the coverage test, colours are read straight from the corners.
struct ReferenceBaker {
    std::vector<uint32_t> pixels;
    Vector2 origin{};
    float pixelsPerUnit = 0.0f;
    int resolution = 0;
    bool blend = false;

    void Begin(Vector2 newOrigin, float size, int newResolution) {
        origin = newOrigin;
        blend = false;
        resolution = newResolution <= 0 ? 1 : newResolution;
        pixelsPerUnit = static_cast<float>(resolution) / size;
        pixels.assign(static_cast<size_t>(resolution) * static_cast<size_t>(resolution),
                      14u | (18u << 8) | (26u << 16) | (255u << 24));
    }

    static int Bound(float v, int res) {
        const float hi = static_cast<float>(res - 1);
        v = v < hi ? v : hi;
        v = v > 0.0f ? v : 0.0f;
        return static_cast<int>(v);
    }

    static int Mix(unsigned char a, unsigned char b, unsigned char c, float wa, float wb, float wc) {
        const float v = (static_cast<float>(b) * wb + static_cast<float>(a) * wa) + static_cast<float>(c) * wc;
        return static_cast<int>(std::min(v, 255.0f));
    }

    static int Tint(int channel, float tint) {
        return static_cast<int>(std::min(static_cast<float>(channel) * tint, 255.0f));
    }

    static int Over(uint32_t pixel, int shift, int value, float f) {
        const int old = static_cast<int>((pixel >> shift) & 0xFFu);
        return static_cast<int>(static_cast<float>(old) * (1.0f - f) + static_cast<float>(value) * f);
    }

    void Triangle(Vector3 a, Vector3 b, Vector3 c, Color ca, Color cb, Color cc) {
        if (resolution <= 0) {
            return;
        }
        const float aX = (a.x - origin.x) * pixelsPerUnit;
        const float aZ = (a.z - origin.y) * pixelsPerUnit;
        const float bX = (b.x - origin.x) * pixelsPerUnit;
        const float bZ = (b.z - origin.y) * pixelsPerUnit;
        const float cX = (c.x - origin.x) * pixelsPerUnit;
        const float cZ = (c.z - origin.y) * pixelsPerUnit;
        const float area = (bX - aX) * (cZ - aZ) - (cX - aX) * (bZ - aZ);
        if (!(std::fabs(area) >= 0.000001f) || !std::isfinite(area)) {
            return;
        }
        const int x0 = Bound(std::floor(std::min({aX, bX, cX}) - 0.5f), resolution);
        const int x1 = Bound(std::floor(std::max({aX, bX, cX}) + 0.5f), resolution);
        const int z0 = Bound(std::floor(std::min({aZ, bZ, cZ}) - 0.5f), resolution);
        const int z1 = Bound(std::floor(std::max({aZ, bZ, cZ}) + 0.5f), resolution);
        for (int r = z0; r <= z1; r++) {
            for (int k = x0; k <= x1; k++) {
                const float px = static_cast<float>(k) + 0.5f;
                const float pz = static_cast<float>(r) + 0.5f;
                const float wa = ((bX - px) * (cZ - pz) - (cX - px) * (bZ - pz)) / area;
                const float wb = ((cX - px) * (aZ - pz) - (aX - px) * (cZ - pz)) / area;
                const float wc = (1.0f - wa) - wb;
                if (!(wa >= -0.0001f && wb >= -0.0001f && wc >= -0.0001f)) {
                    continue;
                }
                const float y = (b.y * wb + a.y * wa) + c.y * wc;
                const float hn = (y + 6.0f) / 140.0f;
                const float tint = hn <= 0.0f ? 0.9f : (hn >= 1.0f ? 1.28f : hn * 0.38f + 0.9f);
                int red = Tint(Mix(ca.r, cb.r, cc.r, wa, wb, wc), tint);
                int green = Tint(Mix(ca.g, cb.g, cc.g, wa, wb, wc), tint);
                int blue = Tint(Mix(ca.b, cb.b, cc.b, wa, wb, wc), tint);
                int alpha = Mix(ca.a, cb.a, cc.a, wa, wb, wc);
                uint32_t& pixel =
                    pixels[static_cast<size_t>(r) * static_cast<size_t>(resolution) + static_cast<size_t>(k)];
                if (alpha != 255 && blend) {
                    const float f = static_cast<float>(alpha) / 255.0f;
                    red = Over(pixel, 0, red, f);
                    green = Over(pixel, 8, green, f);
                    blue = Over(pixel, 16, blue, f);
                    alpha = 255;
                }
                pixel = static_cast<uint32_t>(red) | (static_cast<uint32_t>(green) << 8) |
                        (static_cast<uint32_t>(blue) << 16) | (static_cast<uint32_t>(alpha) << 24);
            }
        }
    }
};

// Random triangles of every kind the rasteriser may meet, in pixel space.
class TriangleSource {
public:
    explicit TriangleSource(uint32_t seed) : engine_(seed) {}

    // Uniform in [0, 1) from the top 24 bits, the same on every platform.
    float Unit() { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }
    float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
    int Pick(int count) { return static_cast<int>(engine_() % static_cast<uint32_t>(count)); }

    Color RandomColour() {
        const auto byte = [this] { return static_cast<unsigned char>(engine_() & 0xFFu); };
        // Opaque half of the time, so both blend paths are taken.
        const unsigned char alpha = Pick(2) == 0 ? 255 : byte();
        return Color{byte(), byte(), byte(), alpha};
    }

    // Corners in pixel units around an image of side res: (x, z) pairs.
    void Corners(float res, float out[6]) {
        const int kind = Pick(10);
        const float cx = Range(-0.25f * res, 1.25f * res);
        const float cz = Range(-0.25f * res, 1.25f * res);
        float size = 1.0f;
        switch (kind) {
            case 0:  // sub-pixel
                size = Range(0.01f, 1.5f);
                break;
            case 1:  // terrain-sized
            case 2: size = Range(1.0f, 12.0f); break;
            case 3:  // large
                size = Range(10.0f, 2.0f * res + 10.0f);
                break;
            case 4:  // huge, far beyond the image on every side
                size = Range(1e3f, 1e7f);
                break;
            default: break;
        }
        for (int i = 0; i < 3; i++) {
            out[2 * i] = cx + Range(-size, size);
            out[2 * i + 1] = cz + Range(-size, size);
        }
        if (kind == 5) {
            // On pixel corners, centres and quarter points, where the
            // tolerance of the coverage test decides.
            for (int i = 0; i < 6; i++) {
                out[i] = std::round(Range(-2.0f, res + 2.0f) * 4.0f) * 0.25f;
            }
        } else if (kind == 6) {
            // Degenerate or nearly so: the third corner on or just beside the
            // line through the other two, or two corners shared.
            const float t = Range(-1.0f, 2.0f);
            const float nudge = Pick(3) == 0 ? 0.0f : Range(-1e-3f, 1e-3f);
            out[4] = out[0] + (out[2] - out[0]) * t + nudge;
            out[5] = out[1] + (out[3] - out[1]) * t;
            if (Pick(4) == 0) {
                out[2] = out[0];
                out[3] = out[1];
            }
        } else if (kind == 7) {
            // Long slivers across the image.
            const float len = Range(res * 0.5f, res * 3.0f);
            const float dir = Range(0.0f, 6.2831853f);
            const float w = Range(1e-4f, 0.8f);
            out[2] = out[0] + len * std::cos(dir);
            out[3] = out[1] + len * std::sin(dir);
            out[4] = out[0] + w * std::sin(dir) + Range(-len, len) * std::cos(dir) * 0.01f;
            out[5] = out[1] - w * std::cos(dir);
        } else if (kind == 8) {
            // Far away where the edge products overflow, or just off the image.
            const float far = Pick(2) == 0 ? Range(1e18f, 1e20f) : Range(res + 1.0f, res + 40.0f);
            const float sign = Pick(2) == 0 ? 1.0f : -1.0f;
            for (int i = 0; i < 6; i++) {
                out[i] = sign * far + Range(-far, far) * (Pick(2) == 0 ? 1e-6f : 1e-2f);
            }
        }
        if (kind == 9) {
            // One edge passes a pixel centre just at the coverage tolerance:
            // its weight there is -0.0001 to within float rounding.
            const float px = std::floor(Range(0.0f, res)) + 0.5f;
            const float pz = std::floor(Range(0.0f, res)) + 0.5f;
            const float dir = Range(0.0f, 6.2831853f);
            const float ux = std::cos(dir), uz = std::sin(dir);
            const float height = Range(0.5f, 40.0f);
            const float offset = 0.0001f * height * (1.0f + Range(-2e-3f, 2e-3f));
            const float ex = px + uz * offset, ez = pz - ux * offset;
            out[0] = ex - ux * Range(0.5f, 30.0f);
            out[1] = ez - uz * Range(0.5f, 30.0f);
            out[2] = ex + ux * Range(0.5f, 30.0f);
            out[3] = ez + uz * Range(0.5f, 30.0f);
            out[4] = px - uz * height + ux * Range(-20.0f, 20.0f);
            out[5] = pz + ux * height + uz * Range(-20.0f, 20.0f);
        }
        if (Pick(2) == 0) {
            // The other winding.
            std::swap(out[2], out[4]);
            std::swap(out[3], out[5]);
        }
    }

private:
    std::mt19937 engine_;
};

}  // namespace

TEST(TopDownBaker, BeginClampsResolutionAndFinishHandsOutTheClearImage) {
    TopDownBaker baker;
    for (int resolution : {0, -5}) {
        baker.Begin(Vector2{0.0f, 0.0f}, 10.0f, resolution);
        EXPECT_EQ(baker.resolution, 1);
        EXPECT_FLOAT_EQ(baker.pixelsPerUnit, 0.1f);
        Image image = baker.Finish();
        const testsupport::ImageGuard imageGuard(image);
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(image.width, 1);
        EXPECT_EQ(image.height, 1);
        EXPECT_EQ(image.mipmaps, 1);
        EXPECT_EQ(image.format, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
        const auto* bytes = static_cast<const unsigned char*>(image.data);
        EXPECT_EQ((Rgba{bytes[0], bytes[1], bytes[2], bytes[3]}), kClear);
    }
}

TEST(TopDownBaker, FinishEmptiesTheBakerAndLaterCallsDoNothing) {
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 8.0f, 8);
    baker.blend = true;
    Image image = baker.Finish();
    EXPECT_EQ(image.width, 8);
    UnloadImage(image);
    EXPECT_EQ(baker.resolution, 0);
    EXPECT_TRUE(baker.pixels.empty());

    baker.Triangle(Vector3{0, 0, 0}, Vector3{8, 0, 0}, Vector3{0, 0, 8}, kRed, kRed, kRed);
    Image empty = baker.Finish();
    EXPECT_EQ(empty.data, nullptr);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);

    // A reused baker starts clean and unblended.
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    EXPECT_FALSE(baker.blend);
    EXPECT_EQ(CountClear(baker), 16);
}

TEST(TopDownBaker, OnlyTheInsideOfRealTrianglesIsDrawn) {
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 10.0f, 10);
    // Three corners on one line.
    baker.Triangle(Vector3{0, 0, 0}, Vector3{5, 0, 5}, Vector3{10, 0, 10}, kRed, kRed, kRed);
    // Wholly outside, on every side, and absurdly far away.
    baker.Triangle(Vector3{20, 0, 0}, Vector3{30, 0, 0}, Vector3{20, 0, 10}, kRed, kRed, kRed);
    baker.Triangle(Vector3{-20, 0, -20}, Vector3{-11, 0, -20}, Vector3{-20, 0, -11}, kRed, kRed, kRed);
    baker.Triangle(Vector3{1e30f, 0, 1e30f}, Vector3{2e30f, 0, 1e30f}, Vector3{1e30f, 0, 2e30f}, kRed, kRed, kRed);
    baker.Triangle(Vector3{NAN, 0, 0}, Vector3{5, 0, 0}, Vector3{0, 0, 5}, kRed, kRed, kRed);
    EXPECT_EQ(CountClear(baker), 100);

    // A square from (-5, -5) to (5, 5) covers only the image's top-left quarter.
    baker.Triangle(Vector3{-5, kLow, -5}, Vector3{5, kLow, -5}, Vector3{5, kLow, 5}, kRed, kRed, kRed);
    baker.Triangle(Vector3{-5, kLow, -5}, Vector3{5, kLow, 5}, Vector3{-5, kLow, 5}, kRed, kRed, kRed);
    EXPECT_EQ(CountClear(baker), 75);
    EXPECT_EQ(PixelOf(baker, 4, 4), (Rgba{229, 0, 0, 255}));
    EXPECT_EQ(PixelOf(baker, 5, 4), kClear);
}

TEST(TopDownBaker, SharedEdgeLeavesNoGapAndLaterTriangleWins) {
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 10.0f, 10);
    // Counter-clockwise and clockwise halves of one square: both windings draw.
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{10, kLow, 0}, Vector3{10, kLow, 10}, kRed, kRed, kRed);
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{0, kLow, 10}, Vector3{10, kLow, 10}, kGreen, kGreen, kGreen);
    for (int r = 0; r < 10; r++) {
        for (int k = 0; k < 10; k++) {
            // Pixel centres on the diagonal lie on both triangles. The weights
            // of a pixel need not sum to exactly 1, so 255 * 0.9 may land on
            // 228 and the alpha on 254.
            const Rgba p = PixelOf(baker, k, r);
            const int winner = k > r ? p.r : p.g;
            const int loser = k > r ? p.g : p.r;
            EXPECT_GE(winner, 228) << k << "," << r;
            EXPECT_EQ(loser, 0) << k << "," << r;
            EXPECT_GE(p.a, 254) << k << "," << r;
        }
    }
}

TEST(TopDownBaker, JitteredQuadGridCoversEveryPixel) {
    // A terrain-like mesh: 2-unit quads at 3 pixels per unit whose inner
    // corners are pushed off the pixel grid, split as (0,1,2) and (0,2,3).
    TopDownBaker baker;
    const float size = 24.0f;
    baker.Begin(Vector2{100.0f, -50.0f}, size, 72);
    const auto corner = [](int i, int j) {
        const bool border = i == 0 || j == 0 || i == 12 || j == 12;
        const float jx = border ? 0.0f : 0.37f * std::sin(static_cast<float>(i * 7 + j * 3));
        const float jz = border ? 0.0f : 0.41f * std::cos(static_cast<float>(i * 5 - j * 11));
        return Vector3{100.0f + 2.0f * static_cast<float>(i) + jx, 0.0f, -50.0f + 2.0f * static_cast<float>(j) + jz};
    };
    const Color grey{120, 120, 120, 255};
    for (int j = 0; j < 12; j++) {
        for (int i = 0; i < 12; i++) {
            const Vector3 p0 = corner(i, j), p1 = corner(i, j + 1), p2 = corner(i + 1, j + 1), p3 = corner(i + 1, j);
            baker.Triangle(p0, p1, p2, grey, grey, grey);
            baker.Triangle(p0, p2, p3, grey, grey, grey);
        }
    }
    EXPECT_EQ(CountClear(baker), 0);
}

TEST(TopDownBaker, HeightTintFromLowToHighGround) {
    const Color grey{100, 100, 100, 255};
    struct Case {
        float y;
        int expected;
    };
    // 0.9 at -6 and below, 1.28 at 134 and above, linear between (at 64 the
    // single-precision tint 1.09 is just below, so 100 becomes 108).
    for (const Case& c : {Case{-6.0f, 90}, Case{-50.0f, 90}, Case{64.0f, 108}, Case{134.0f, 128}, Case{900.0f, 128}}) {
        TopDownBaker baker;
        baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
        baker.Triangle(Vector3{0, c.y, 0}, Vector3{4, c.y, 0}, Vector3{0, c.y, 4}, grey, grey, grey);
        EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{c.expected, c.expected, c.expected, 255})) << c.y;
    }
    // The tint never lifts a channel past 255, and alpha is never tinted.
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    const Color bright{250, 10, 0, 200};
    baker.Triangle(Vector3{0, 500, 0}, Vector3{4, 500, 0}, Vector3{0, 500, 4}, bright, bright, bright);
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{255, 12, 0, 200}));
}

TEST(TopDownBaker, TranslucentTrianglesBlendOnlyWhenAsked) {
    const Color glass{200, 100, 50, 128};
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{4, kLow, 0}, Vector3{0, kLow, 4}, glass, glass, glass);
    // Unblended: the triangle's own colour and alpha are stored.
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{180, 90, 45, 128}));

    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    baker.blend = true;
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{4, kLow, 0}, Vector3{0, kLow, 4}, glass, glass, glass);
    // Half and half over the clear colour, alpha made opaque.
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{97, 54, 35, 255}));

    // Opaque triangles overwrite even with blending on.
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{4, kLow, 0}, Vector3{0, kLow, 4}, kRed, kRed, kRed);
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{229, 0, 0, 255}));
}

namespace {

// Draws one triangle in random colours with the kernel and with the plain
// rasteriser, which must agree byte for byte; adds the pixels it changed to
// `drawn`.
testing::AssertionResult DrawsAlike(TopDownBaker& fast, ReferenceBaker& plain, TriangleSource& source,
                                    const Vector3 (&p)[3], const float (&corners)[6], long& drawn) {
    const Color ca = source.RandomColour(), cb = source.RandomColour(), cc = source.RandomColour();
    const std::vector<uint32_t> before = plain.pixels;
    fast.Triangle(p[0], p[1], p[2], ca, cb, cc);
    plain.Triangle(p[0], p[1], p[2], ca, cb, cc);
    for (size_t i = 0; i < before.size(); i++) {
        drawn += before[i] != plain.pixels[i] ? 1 : 0;
    }
    if (std::memcmp(fast.pixels.data(), plain.pixels.data(), plain.pixels.size() * sizeof(uint32_t)) == 0) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "pixels differ for corners " << corners[0] << "," << corners[1] << " "
                                       << corners[2] << "," << corners[3] << " " << corners[4] << "," << corners[5];
}

}  // namespace

// The row kernels, each in turn; one the CPU lacks is skipped.
class TopDownBakerKernel : public testing::TestWithParam<BakerKernel> {
protected:
    void SetUp() override {
        if (GetParam() == BakerKernel::Avx2 && !CpuHasAvx2()) {
            GTEST_SKIP() << "this CPU has no AVX2";
        }
        ASSERT_EQ(SetBakerKernel(GetParam()), GetParam());
    }

    // Hands the kernel back to the CPU's choice however the test ends.
    const testsupport::BakerKernelGuard kernelGuard_;
};

// Each row kernel against the plain rasteriser on random triangles.
TEST_P(TopDownBakerKernel, MatchesThePlainRasteriserByteForByte) {
    TriangleSource source(20261113u);
    TopDownBaker fast;
    ReferenceBaker plain;
    long drawn = 0;
    long triangles = 0;
    for (int trial = 0; trial < 900; trial++) {
        const int resolutions[] = {1, 3, 16, 37, 64, 264};
        const int res = resolutions[source.Pick(6)];
        // Odd scales and origins, so world units do not land on pixel edges.
        const Vector2 origin{source.Range(-5000.0f, 5000.0f), source.Range(-5000.0f, 5000.0f)};
        const float size = source.Range(0.5f, 2.0f) * static_cast<float>(res);
        fast.Begin(origin, size, res);
        plain.Begin(origin, size, res);
        const bool blend = source.Pick(3) == 0;
        fast.blend = blend;
        plain.blend = blend;
        for (int t = 0; t < 12; t++) {
            float corners[6];
            source.Corners(static_cast<float>(res), corners);
            Vector3 p[3];
            for (int i = 0; i < 3; i++) {
                // Back to world units; the round trip is part of what both see.
                p[i] = Vector3{origin.x + corners[2 * i] / fast.pixelsPerUnit, source.Range(-60.0f, 200.0f),
                               origin.y + corners[2 * i + 1] / fast.pixelsPerUnit};
            }
            triangles++;
            ASSERT_TRUE(DrawsAlike(fast, plain, source, p, corners, drawn))
                << "kernel " << static_cast<int>(GetParam()) << " trial " << trial << " triangle " << t;
        }
    }
    // The comparison only means something if plenty was drawn.
    EXPECT_EQ(triangles, 900 * 12);
    EXPECT_GT(drawn, 1000000);
}

// Triangles whose edges pass pixel centres right at the coverage tolerance,
// where only the rounding of the single-precision test decides: edges level
// or nearly so (the weight then changes so little along a row that the row
// window's slack of a thousandth of a column covers almost no rounding),
// corners far off the image and slivers of tiny area, whose large products
// make that rounding large. Only the row window's error margin keeps such
// pixels inside it. The images lie at the origin at one pixel per unit, so
// the corners reach the baker exactly as drawn here.
TEST_P(TopDownBakerKernel, RowWindowKeepsEveryPixelOnTheCoverageEdge) {
    TriangleSource source(4099u);
    TopDownBaker fast;
    ReferenceBaker plain;
    // Powers of ten, log-uniform between 10^lo and 10^hi.
    const auto decades = [&source](float lo, float hi) { return std::pow(10.0f, source.Range(lo, hi)); };
    long drawn = 0;
    for (int trial = 0; trial < 1500; trial++) {
        const int res = source.Pick(2) == 0 ? 9 : 24;
        const float side = static_cast<float>(res);
        fast.Begin(Vector2{0.0f, 0.0f}, side, res);
        plain.Begin(Vector2{0.0f, 0.0f}, side, res);
        for (int t = 0; t < 16; t++) {
            // The pixel centre the edge passes, just outside the triangle.
            const float px = std::floor(source.Range(0.0f, side)) + 0.5f;
            const float pz = std::floor(source.Range(0.0f, side)) + 0.5f;
            // Level, or tilted by up to a third of a radian, either way along the row.
            const float tilt = source.Pick(8) == 0 ? 0.0f : source.Range(-1.0f, 1.0f) * decades(-3.0f, -0.5f);
            const float ux = (source.Pick(2) == 0 ? 1.0f : -1.0f) * std::cos(tilt);
            const float uz = std::sin(tilt);
            // Apex distance from the edge: slivers of a hundredth of a
            // pixel up to broad triangles.
            const float height = decades(-2.0f, 1.5f);
            // The edge runs far off the image on one side or both.
            float back = decades(-0.3f, 6.0f);
            float ahead = decades(3.0f, 6.3f);
            if (source.Pick(2) == 0) {
                std::swap(back, ahead);
            }
            const float gap = 0.0001f * height;
            const float ex = px + uz * gap;
            const float ez = pz - ux * gap;
            const float bX = ex - ux * back, bZ = ez - uz * back;
            const float cX = ex + ux * ahead, cZ = ez + uz * ahead;
            // The apex near the image, placed so that the centre's exact
            // weight is the tolerance itself or off it by anything from
            // a rounding's worth to a hundredth.
            const double tolerance = static_cast<double>(-0.0001f);
            const double target = tolerance +
                                  (source.Pick(4) == 0 ? 0.0 : source.Range(-1.0f, 1.0f) * decades(-10.0f, -2.0f));
            const float aX = px - uz * height + ux * source.Range(-20.0f, 20.0f);
            const double centreArea = (static_cast<double>(bX) - px) * (static_cast<double>(cZ) - pz) -
                                      (static_cast<double>(cX) - px) * (static_cast<double>(bZ) - pz);
            const double k = (static_cast<double>(bX) - aX) * cZ - (static_cast<double>(cX) - aX) * bZ;
            const float aZ = static_cast<float>((k - centreArea / target) / (static_cast<double>(bX) - cX));
            float corners[6] = {aX, aZ, bX, bZ, cX, cZ};
            // Any corner may be the apex, in either winding.
            const int turn = source.Pick(3);
            std::rotate(corners, corners + 2 * turn, corners + 6);
            if (source.Pick(2) == 0) {
                std::swap(corners[2], corners[4]);
                std::swap(corners[3], corners[5]);
            }
            Vector3 p[3];
            for (int i = 0; i < 3; i++) {
                p[i] = Vector3{corners[2 * i], source.Range(-60.0f, 200.0f), corners[2 * i + 1]};
            }
            ASSERT_TRUE(DrawsAlike(fast, plain, source, p, corners, drawn))
                << "kernel " << static_cast<int>(GetParam()) << " trial " << trial << " triangle " << t;
        }
    }
    EXPECT_GT(drawn, 400000);
}

// A quad draws what its two triangles draw. Mostly cells of grids laid on
// whole pixels, as the terrain's are, with cells of 1 to 7 pixels, partly
// off the image; some grids off the pixel lattice and some skewed quads.
TEST_P(TopDownBakerKernel, QuadMatchesItsTwoTriangles) {
    TriangleSource source(7u);
    TopDownBaker fast;
    ReferenceBaker plain;
    long drawn = 0;
    long quads = 0;
    long cells = 0;
    for (int trial = 0; trial < 300; trial++) {
        const int res = source.Pick(2) == 0 ? 264 : 40;
        // Three pixels per unit and cells of 2 units, as the chunks have;
        // or 1, 2 or 4 pixels per unit and cells of 1 to 7 pixels; or an
        // odd scale.
        const int kind = source.Pick(5);
        float perUnit = kind == 0 ? 3.0f : static_cast<float>(1 << (kind - 1));
        if (kind == 4) {
            perUnit = source.Range(0.7f, 4.0f);
        }
        const float size = static_cast<float>(res) / perUnit;
        const Vector2 origin{2.0f * std::round(source.Range(-1500.0f, 1500.0f)),
                             2.0f * std::round(source.Range(-1500.0f, 1500.0f))};
        fast.Begin(origin, size, res);
        plain.Begin(origin, size, res);
        const bool blend = source.Pick(3) == 0;
        fast.blend = blend;
        plain.blend = blend;
        const float unit = kind == 0 ? 2.0f : 1.0f / perUnit;
        const float cell = kind == 0 ? 2.0f : static_cast<float>(1 + source.Pick(7)) * unit;
        const int side = 2 + source.Pick(24);
        // Grid corner on the lattice of the cells, now and then off it.
        const float shift = source.Pick(5) == 0 ? 0.37f * unit : 0.0f;
        const float lattice = kind == 0 ? unit : 2.0f * unit;
        const float gx = origin.x + static_cast<float>(source.Pick(res / 2 + 8) - 4) * lattice + shift;
        const float gz = origin.y + static_cast<float>(source.Pick(res / 2 + 8) - 4) * lattice;
        std::vector<Vector3> points;
        std::vector<Color> colours;
        for (int m = 0; m <= side; m++) {
            for (int k = 0; k <= side; k++) {
                points.push_back(Vector3{gx + cell * static_cast<float>(k), source.Range(-20.0f, 160.0f),
                                         gz + cell * static_cast<float>(m)});
                colours.push_back(source.RandomColour());
            }
        }
        const bool skewed = source.Pick(8) == 0;
        for (int m = 0; m < side; m++) {
            for (int k = 0; k < side; k++) {
                const size_t i0 = static_cast<size_t>(m * (side + 1) + k);
                const size_t order[4] = {i0, i0 + static_cast<size_t>(side) + 1, i0 + static_cast<size_t>(side) + 2,
                                         i0 + 1};
                Vector3 p[4];
                Color c[4];
                for (int i = 0; i < 4; i++) {
                    p[i] = points[order[i]];
                    c[i] = colours[order[i]];
                }
                if (skewed) {
                    p[2].x += source.Range(-0.5f, 0.5f);
                }
                // Whole cells of at most 6 pixels with a pixel to spare
                // around them take the quick way.
                const float x = (p[0].x - origin.x) * fast.pixelsPerUnit;
                const float z = (p[0].z - origin.y) * fast.pixelsPerUnit;
                const float n = (p[3].x - p[0].x) * fast.pixelsPerUnit;
                cells += !skewed && x == std::floor(x) && z == std::floor(z) && n == std::floor(n) && n <= 6.0f &&
                                 x >= 1.0f && z >= 1.0f && x + n <= static_cast<float>(res - 1) &&
                                 z + n <= static_cast<float>(res - 1)
                             ? 1
                             : 0;
                quads++;
                fast.Quad(p, c);
                plain.Triangle(p[0], p[1], p[2], c[0], c[1], c[2]);
                plain.Triangle(p[0], p[2], p[3], c[0], c[2], c[3]);
            }
        }
        for (size_t i = 0; i < plain.pixels.size(); i++) {
            drawn += plain.pixels[i] != kClearPixelWord ? 1 : 0;
        }
        ASSERT_EQ(fast.pixels, plain.pixels) << "kernel " << static_cast<int>(GetParam()) << " trial " << trial;
    }
    EXPECT_GT(drawn, 200000);
    // Both ways were taken often.
    EXPECT_GT(cells, quads / 8);
    EXPECT_GT(quads - cells, quads / 10);
}

INSTANTIATE_TEST_SUITE_P(BothKernels, TopDownBakerKernel, testing::Values(BakerKernel::Sse2, BakerKernel::Avx2),
                         [](const testing::TestParamInfo<BakerKernel>& paramInfo) {
                             return paramInfo.param == BakerKernel::Avx2 ? std::string("Avx2") : std::string("Sse2");
                         });

TEST(TopDownBaker, FarAwayTriangleWithOverflowingEdgesDrawsNothing) {
    // The area is finite, but each pixel's edge products overflow to
    // infinity and their difference is NaN: no pixel may take such weights.
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 8.0f, 8);
    baker.blend = true;
    const Color glass{200, 100, 50, 128};
    baker.Triangle(Vector3{1e20f, 0, 1e20f}, Vector3{1e20f + 1e13f, 0, 1e20f}, Vector3{1e20f, 0, 1e20f + 1e13f}, glass,
                   glass, glass);
    baker.blend = false;
    baker.Triangle(Vector3{1e20f, 0, 1e20f}, Vector3{1e20f + 1e13f, 0, 1e20f}, Vector3{1e20f, 0, 1e20f + 1e13f}, kRed,
                   kRed, kRed);
    EXPECT_EQ(CountClear(baker), 64);
}

TEST(MapBuilder, ShadeOfUpwardFacesNeverReachesWhite) {
    TopDownBaker baker;
    MapBuilder builder{&baker};
    // (a, b, c) wound so that the face normal points up.
    const Vector3 a{0, kLow, 0}, b{0, kLow, 4}, c{4, kLow, 0};
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    builder.AddTriangle(a, b, c, kWhite);
    // Shade gives (185, 185, 183); the low-ground tint 0.9 follows.
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{166, 166, 164, 255}));

    builder.AddTriangle(a, b, c, Color{128, 128, 128, 255});
    // Shade gives (94, 94, 92).
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{84, 84, 82, 255}));

    // The other winding turns the normal down, away from sun and sky.
    builder.AddTriangle(a, c, b, kWhite);
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{104, 104, 104, 255}));
}

TEST(MapBuilder, QuadsShadeTheirCornersBeforeDrawing) {
    TopDownBaker baker;
    MapBuilder builder{&baker};
    const Vector3 quad[4] = {{0, kLow, 0}, {0, kLow, 4}, {4, kLow, 4}, {4, kLow, 0}};
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    builder.AddFlatQuad(quad, kWhite);
    for (int r = 0; r < 4; r++) {
        for (int k = 0; k < 4; k++) {
            EXPECT_EQ(PixelOf(baker, k, r), (Rgba{166, 166, 164, 255}));
        }
    }

    const Vector3 down[4] = {{0, -1, 0}, {0, -1, 0}, {0, -1, 0}, {0, -1, 0}};
    const Color white4[4] = {kWhite, kWhite, kWhite, kWhite};
    builder.AddSmoothQuad(quad, down, white4);
    EXPECT_EQ(PixelOf(baker, 1, 2), (Rgba{104, 104, 104, 255}));

    // Unshaded triangles only take the height tint.
    builder.PushTriangle(quad[0], quad[1], quad[2], kWhite, kWhite, kWhite);
    EXPECT_EQ(PixelOf(baker, 0, 3), (Rgba{229, 229, 229, 255}));
}

TEST(MapBuilder, DegenerateFaceIsLitAsIfFacingUp) {
    TopDownBaker baker;
    MapBuilder builder{&baker};
    baker.Begin(Vector2{0.0f, 0.0f}, 10.0f, 10);
    // Corners 0, 1, 2 on one line: the face normal falls back to (0, 1, 0),
    // although triangle (0, 2, 3) alone would face down.
    const Vector3 quad[4] = {{0, kLow, 0}, {5, kLow, 5}, {10, kLow, 10}, {0, kLow, 10}};
    builder.AddFlatQuad(quad, kWhite);
    EXPECT_EQ(PixelOf(baker, 1, 8), (Rgba{166, 166, 164, 255}));
    EXPECT_EQ(PixelOf(baker, 8, 1), kClear);
}
